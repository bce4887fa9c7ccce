#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace testenv {

void table(const QStringList &rows)
{
    QTest::addColumn<QStringList>("f");
    for (const QString &row : rows) {
        QStringList fields = row.split(QLatin1Char('|'));
        for (QString &field : fields)
            field = field.trimmed();
        QTest::newRow(qPrintable(fields.takeFirst())) << fields;
    }
}

QString writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList fileNames(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void populate(const QString &folder, const QString &names)
{
    QDir().mkpath(folder);
    for (const QString &name : names.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (name.endsWith(QLatin1Char('/')))
            QDir(folder).mkpath(name);
        else
            writeFile(folder + QLatin1Char('/') + name);
    }
}

QList<QStringList> fakeConverterCalls(const QString &logPath)
{
    QList<QStringList> calls;
    const QString log = QString::fromUtf8(readFile(logPath));
    for (const QString &line : log.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        calls << line.split(QChar(0x1f));
    return calls;
}

} // namespace testenv

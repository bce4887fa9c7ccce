#ifndef VELINOR_TESTENV_H
#define VELINOR_TESTENV_H

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

// Sets an environment variable for one scope and puts the old value back afterwards.
class ScopedEnv
{
    const QByteArray name, old;
    const bool had;

public:
    ScopedEnv(const char *n, const QByteArray &value)
        : name(n), old(qgetenv(n)), had(qEnvironmentVariableIsSet(n))
    {
        qputenv(n, value);
    }
    ScopedEnv(const ScopedEnv &) = delete;
    ~ScopedEnv() { had ? void(qputenv(name.constData(), old)) : void(qunsetenv(name.constData())); }
};

namespace testenv {

// A test's table written a row a line, "name | field | field ...": one column, "f", holding the
// fields trimmed, read back with QFETCH(QStringList, f).
inline void table(const QStringList &rows)
{
    QTest::addColumn<QStringList>("f");
    for (const QString &row : rows) {
        QStringList fields = row.split(QLatin1Char('|'));
        for (QString &field : fields)
            field = field.trimmed();
        QTest::newRow(qPrintable(fields.takeFirst())) << fields;
    }
}

// Writes a file, creating its folders; returns its path.
inline QString writeFile(const QString &path, const QByteArray &content = QByteArray("x"))
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return path;
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Names of the plain files in a folder, sorted.
inline QStringList fileNames(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Fills a folder with the files named, and folders for names ending in "/".
inline void populate(const QString &folder, const QString &names)
{
    QDir().mkpath(folder);
    for (const QString &name : names.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (name.endsWith(QLatin1Char('/')))
            QDir(folder).mkpath(name);
        else
            writeFile(folder + QLatin1Char('/') + name);
    }
}

// The calls that tests/fakes/convert recorded in its FAKE_CONVERT_LOG file, one argument list
// per call, in call order.
inline QList<QStringList> fakeConverterCalls(const QString &logPath)
{
    QList<QStringList> calls;
    const QString log = QString::fromUtf8(readFile(logPath));
    for (const QString &line : log.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        calls << line.split(QChar(0x1f));
    return calls;
}

} // namespace testenv

#endif

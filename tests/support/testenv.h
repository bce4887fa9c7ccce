#ifndef VELINOR_TESTENV_H
#define VELINOR_TESTENV_H

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <tuple>

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

// A data table whose rows are each one value of the suite's own type, a tuple of its fields:
// the function returned adds one, row("tag", field...), and fetch() reads it back whole,
// const auto [source, pages] = testenv::fetch<Row>();
template <typename Row> auto rows()
{
    QTest::addColumn<Row>("row");
    return [](const char *tag, const auto &...fields) { QTest::newRow(tag) << Row(fields...); };
}

template <typename Row> Row fetch()
{
    return *static_cast<const Row *>(QTest::qData("row", qMetaTypeId<Row>()));
}

// One row of a data table, its values in column order and of the columns' own types.
inline const auto row = [](const char *tag, const auto &...values) {
    (QTest::newRow(tag) << ... << values);
};

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

#ifndef VELINOR_TESTENV_H
#define VELINOR_TESTENV_H

#include <QByteArray>
#include <QString>
#include <QStringList>

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
void table(const QStringList &rows);

// Writes a file, creating its folders; returns its path.
QString writeFile(const QString &path, const QByteArray &content = QByteArray("x"));
QByteArray readFile(const QString &path);
// Names of the plain files in a folder, sorted.
QStringList fileNames(const QString &folder);

// Fills a folder with the files named, and folders for names ending in "/".
void populate(const QString &folder, const QString &names);

// The calls that tests/fakes/convert recorded in its FAKE_CONVERT_LOG file, one argument list
// per call, in call order.
QList<QStringList> fakeConverterCalls(const QString &logPath);

} // namespace testenv

#endif

#ifndef VELINOR_TESTENV_H
#define VELINOR_TESTENV_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// Sets an environment variable for one scope and puts the old value back afterwards.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QByteArray &value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    QByteArray name;
    QByteArray old;
    bool had;
};

namespace testenv {

// Writes a file, creating its folders; returns its path.
QString writeFile(const QString &path, const QByteArray &content = QByteArray("x"));
QByteArray readFile(const QString &path);
// Names of the plain files in a folder, sorted.
QStringList fileNames(const QString &folder);

// The calls that tests/fakes/convert recorded in its FAKE_CONVERT_LOG file, one argument list
// per call, in call order.
QList<QStringList> fakeConverterCalls(const QString &logPath);

} // namespace testenv

#endif

#ifndef VELINOR_CLIDRIVER_H
#define VELINOR_CLIDRIVER_H

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

// Runs the built velinor-cli as a user would and keeps what it said.
namespace cli {

inline QString program()
{
    return QStringLiteral(VELINOR_RUNTIME_DIR "/velinor-cli");
}

// The tests' environment in a language without a translation file, so the French texts show.
inline QProcessEnvironment environment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("LANGUAGE"));
    return env;
}

struct Result
{
    int exitCode = -1; // -1 also when it crashed or did not end in time
    QString out;
    QString err;
};

// inChild runs in the child before velinor-cli starts, its standard streams already set up.
inline Result run(const QStringList &arguments, const QString &workingDir,
                  const QProcessEnvironment &env = environment(), int timeoutMs = 120000,
                  const std::function<void()> &inChild = {})
{
    QProcess p;
    p.setProcessEnvironment(env);
    if (inChild)
        p.setChildProcessModifier(inChild);
    p.setWorkingDirectory(workingDir);
    p.start(program(), arguments);
    Result r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    if (p.exitStatus() == QProcess::NormalExit)
        r.exitCode = p.exitCode();
    return r;
}

} // namespace cli

#endif

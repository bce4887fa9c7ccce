#ifndef VELINOR_CLIDRIVER_H
#define VELINOR_CLIDRIVER_H

#include "processes.h"
#include "testenv.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// velinor-cli run from a shell, as users run it.
namespace cli {

// Runs a shell script in a new temporary folder, the built velinor-cli first on PATH, in a language
// without a translation file so that the French texts show. Returns all it wrote, errors included,
// then the processes it started that are still there two seconds later, which should be none.
inline QString sh(const QString &script,
                  QProcessEnvironment env = QProcessEnvironment::systemEnvironment())
{
    const QTemporaryDir dir;
    env.insert("PATH", VELINOR_RUNTIME_DIR ":" + env.value("PATH"));
    env.insert("LC_ALL", "C.UTF-8");
    env.insert("VELINOR_TEST_MARK", dir.path()); // inherited by all the script starts
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.path());
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("/bin/sh", {"-c", script});
    p.waitForFinished(60000) || (p.kill(), p.waitForFinished());
    const auto left = [&] { return processes::marked("VELINOR_TEST_MARK", dir.path()); };
    const QString said = p.readAll();
    const QStringList stayed =
        QTest::qWaitFor([&] { return left().isEmpty(); }, 2000) ? QStringList() : left();
    for (const QString &process : stayed) // a velinor-cli that hangs must not outlive its test
        ::kill(process.section(':', 0, 0).toInt(), SIGKILL);
    return said + stayed.join(' ');
}

using testenv::row;

} // namespace cli

#endif

#ifndef VELINOR_CLIDRIVER_H
#define VELINOR_CLIDRIVER_H

#include "processes.h"

#include <QProcess>
#include <QTest>

// velinor-cli run from a shell, as users run it.
namespace cli {

// Runs a shell script from `dir`, the built velinor-cli first on PATH, in a language without a
// translation file so that the French texts show; returns all it wrote, errors included.
inline QString sh(const QString &script, const QString &dir,
                  QProcessEnvironment env = QProcessEnvironment::systemEnvironment())
{
    env.insert("PATH", VELINOR_RUNTIME_DIR ":" + env.value("PATH"));
    env.insert("LC_ALL", "C.UTF-8");
    env.insert("VELINOR_TEST_MARK", dir); // inherited by all it starts, for leftBehind(dir)
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("/bin/sh", {"-c", script});
    p.waitForFinished(60000) || (p.kill(), p.waitForFinished());
    return p.readAll();
}

// The processes that a script run from `dir` started and that are still there.
inline QStringList leftBehind(const QString &dir)
{
    return processes::marked("VELINOR_TEST_MARK", dir);
}

// One row of a data table, its values in column order.
template <typename... Values> void row(const char *tag, const Values &...values)
{
    (QTest::newRow(tag) << ... << values);
}

} // namespace cli

#endif

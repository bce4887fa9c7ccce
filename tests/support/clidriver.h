#ifndef VELINOR_CLIDRIVER_H
#define VELINOR_CLIDRIVER_H

#include "processes.h"

#include <QProcess>
#include <QTest>

// velinor-cli run from a shell, as users run it.
namespace cli {

// Runs a shell script from `dir`, the built velinor-cli first on PATH, in a language without a
// translation file so that the French texts show. Returns all it wrote, errors included, then the
// processes it started that are still there a few seconds later, which should be none.
inline QString sh(const QString &script, const QString &dir,
                  QProcessEnvironment env = QProcessEnvironment::systemEnvironment())
{
    env.insert("PATH", VELINOR_RUNTIME_DIR ":" + env.value("PATH"));
    env.insert("LC_ALL", "C.UTF-8");
    env.insert("VELINOR_TEST_MARK", dir); // inherited by all the script starts
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("/bin/sh", {"-c", script});
    p.waitForFinished(60000) || (p.kill(), p.waitForFinished());
    const QString said = p.readAll();
    for (int i = 0; i < 50 && !processes::marked("VELINOR_TEST_MARK", dir).isEmpty(); ++i)
        QTest::qWait(100);
    return said + processes::marked("VELINOR_TEST_MARK", dir).join(' ');
}

// One row of a data table, its values in column order.
template <typename... Values> void row(const char *tag, const Values &...values)
{
    (QTest::newRow(tag) << ... << values);
}

} // namespace cli

#endif

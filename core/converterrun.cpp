#include "converterrun.h"

#include "childprocess.h"

#include <QProcess>
#include <QTemporaryDir>

namespace velinor {

int runConverter(const QString &program, const QStringList &arguments,
                 const QString &workingDirectory)
{
    // QProcess::execute, which cannot be given a working folder.
    QProcess process;
    const std::unique_ptr<QTemporaryDir> scratch = prepareChild(process);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.error() == QProcess::FailedToStart)
        return -2;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace velinor

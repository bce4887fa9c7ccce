#include "childprocess.h"

#include "scratchfolders.h"

#include <QElapsedTimer>
#include <QProcess>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace velinor {

namespace {

// Long enough not to cost anything, short enough for a stop to feel immediate.
constexpr int waitSliceMs = 100;
constexpr int errorTailBytes = 16 * 1024;

#ifdef Q_OS_UNIX
// Runs in the child before exec, which Qt starts as vfork does: in velinor's own memory while its
// other threads go on. Hence only async-signal-safe calls on data prepared before the start.
void enterOwnGroup(pid_t velinor)
{
    ::setpgid(0, 0);
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    ::sigaction(SIGINT, &byDefault, nullptr);
    ::sigaction(SIGTERM, &byDefault, nullptr);
#ifdef Q_OS_LINUX
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    // velinor may have ended before the request above could take effect.
    if (::getppid() != velinor)
        ::_exit(127);
}
#endif

} // namespace

void StopRequest::escalate()
{
    int level = current.load();
    while (level < Kill && !current.compare_exchange_weak(level, level + 1)) {
    }
}

ChildGuard::ChildGuard(QProcess &process) : process(process)
{
#ifdef Q_OS_UNIX
    const pid_t velinor = ::getpid();
    process.setChildProcessModifier([velinor] { enterOwnGroup(velinor); });
#endif
    const ScratchFolder folder = takeScratchFolder();
    slot = folder.slot;
    if (slot >= 0)
        process.setProcessEnvironment(folder.environment);
    // Qt forgets the process id once the process has ended, before the guard's end needs it.
    started = QObject::connect(&process, &QProcess::started,
                               [this] { leader = this->process.processId(); });
}

ChildGuard::~ChildGuard()
{
    QObject::disconnect(started);
#ifdef Q_OS_UNIX
    // What the program started may outlive it: Ghostscript under a converter that crashed or was
    // killed. The group keeps its number for as long as one of them is left, so this reaches
    // them alone; with none left, the number names no group until the pids wrap round.
    if (leader > 0)
        ::kill(-pid_t(leader), SIGKILL);
#endif
    // ImageMagick removes its own files when it ends well.
    const bool tidy = leader > 0 && process.state() == QProcess::NotRunning &&
                      process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (slot >= 0)
        giveBackScratchFolder(slot, tidy);
}

void signalChild(QProcess &process, StopRequest::Level level)
{
    if (level == StopRequest::None)
        return;
#ifdef Q_OS_UNIX
    const qint64 pid = process.processId();
    if (pid <= 0)
        return;
    const int signalNumber = level == StopRequest::Kill ? SIGKILL : SIGTERM;
    ::kill(-pid_t(pid), signalNumber);
    // The leader may not have entered its group yet.
    ::kill(pid_t(pid), signalNumber);
#else
    if (level == StopRequest::Kill)
        process.kill();
    else
        process.terminate();
#endif
}

ToolRun runTool(const QString &program, const QStringList &arguments, int timeoutMs,
                const StopRequest *stop, const QString &workingDirectory, bool keepErrors)
{
    QProcess process;
    const ChildGuard guard(process);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!keepErrors)
        process.setStandardErrorFile(QProcess::nullDevice());
    ToolRun run;
    process.start(program, arguments);
    if (!process.waitForStarted())
        return run;

    QElapsedTimer clock;
    clock.start();
    QElapsedTimer sinceTerminate;
    const auto collect = [&] {
        run.output += process.readAllStandardOutput();
        // Enough for the last lines that a failure shows.
        run.errors = (run.errors + process.readAllStandardError()).right(errorTailBytes);
    };
    while (!process.waitForFinished(waitSliceMs)) {
        collect();
        const StopRequest::Level asked = stop ? stop->level() : StopRequest::None;
        if (asked == StopRequest::Kill || clock.elapsed() > timeoutMs ||
            (sinceTerminate.isValid() && sinceTerminate.elapsed() > terminateGraceMs)) {
            signalChild(process, StopRequest::Kill);
            process.waitForFinished(-1);
            run.ending =
                asked == StopRequest::None ? ToolRun::Ending::Crashed : ToolRun::Ending::Stopped;
            return run;
        }
        if (asked == StopRequest::Terminate && !sinceTerminate.isValid()) {
            signalChild(process, StopRequest::Terminate);
            sinceTerminate.start();
        }
    }
    collect();
    run.exitCode = process.exitCode();
    run.ending = sinceTerminate.isValid() || (stop && stop->level() != StopRequest::None)
                     ? ToolRun::Ending::Stopped
                 : process.exitStatus() != QProcess::NormalExit ? ToolRun::Ending::Crashed
                                                                : ToolRun::Ending::Exited;
    return run;
}

QByteArray toolOutput(const QString &program, const QStringList &arguments, int timeoutMs,
                      const StopRequest *stop, const QString &workingDirectory)
{
    const ToolRun run = runTool(program, arguments, timeoutMs, stop, workingDirectory, false);
    return run.succeeded() ? run.output : QByteArray();
}

} // namespace velinor

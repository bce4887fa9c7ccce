#include "childprocess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <csignal>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace velinor {

namespace {

// Long enough not to cost anything, short enough for a stop to feel immediate.
constexpr int waitSliceMs = 100;

#ifdef Q_OS_UNIX
void closeAll()
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    if (::close_range(0, ~0U, 0) == 0)
        return;
#endif
    struct rlimit files = {};
    const rlim_t open = ::getrlimit(RLIMIT_NOFILE, &files) == 0 ? files.rlim_cur : 1024;
    for (rlim_t fd = 0; fd < open && fd < 65536; ++fd)
        ::close(int(fd));
}

// Runs in the child between fork and exec, so only async-signal-safe calls. The child becomes
// the leader of a group of its own; a watcher forked into the group ends the whole group as
// soon as the leader is gone, so that a Ghostscript left behind by a killed converter goes too.
void enterOwnGroup(pid_t velinor)
{
    ::setpgid(0, 0);
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    ::sigaction(SIGINT, &byDefault, nullptr);
    ::sigaction(SIGTERM, &byDefault, nullptr);

    const pid_t leader = ::getpid();
    if (::fork() == 0) {
        // A stop signals the whole group; the watcher must outlive it to end what ignores it.
        struct sigaction ignored = {};
        ignored.sa_handler = SIG_IGN;
        for (int s : {SIGINT, SIGTERM, SIGHUP})
            ::sigaction(s, &ignored, nullptr);
        // The watcher must not hold the pipes of the leader open past its end.
        closeAll();
        const struct timespec slice = {0, 200 * 1000 * 1000};
        while (::getppid() == leader)
            ::nanosleep(&slice, nullptr);
        ::kill(0, SIGKILL);
        ::_exit(0);
    }
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

std::unique_ptr<QTemporaryDir> prepareChild(QProcess &process)
{
#ifdef Q_OS_UNIX
    const pid_t velinor = ::getpid();
    process.setChildProcessModifier([velinor] { enterOwnGroup(velinor); });
#endif
    auto scratch = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                   QStringLiteral("/velinor-magick-XXXXXX"));
    if (!scratch->isValid())
        return nullptr;
    QProcessEnvironment environment = process.processEnvironment();
    if (environment.isEmpty())
        environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MAGICK_TEMPORARY_PATH"), scratch->path());
    process.setProcessEnvironment(environment);
    return scratch;
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

QByteArray toolOutput(const QString &program, const QStringList &arguments, int timeoutMs,
                      const StopRequest *stop, const QString &workingDirectory)
{
    QProcess process;
    const std::unique_ptr<QTemporaryDir> scratch = prepareChild(process);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted())
        return QByteArray();

    QElapsedTimer clock;
    clock.start();
    QElapsedTimer sinceTerminate;
    QByteArray output;
    bool failed = false;
    while (!process.waitForFinished(waitSliceMs)) {
        output += process.readAllStandardOutput();
        const StopRequest::Level asked = stop ? stop->level() : StopRequest::None;
        if (asked == StopRequest::Kill || clock.elapsed() > timeoutMs ||
            (sinceTerminate.isValid() && sinceTerminate.elapsed() > terminateGraceMs)) {
            signalChild(process, StopRequest::Kill);
            process.waitForFinished(-1);
            return QByteArray();
        }
        if (asked == StopRequest::Terminate && !sinceTerminate.isValid()) {
            signalChild(process, StopRequest::Terminate);
            sinceTerminate.start();
            failed = true;
        }
    }
    if (failed || (stop && stop->level() != StopRequest::None) ||
        process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QByteArray();
    return output + process.readAllStandardOutput();
}

} // namespace velinor

#include "converterprocess.h"

#include "scratchfolders.h"

#include <QFile>
#include <QMetaObject>

#if defined(Q_OS_LINUX) && defined(__GLIBC__) &&                                                   \
    (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 29))
#define VELINOR_SPAWN 1
#endif

#ifdef VELINOR_SPAWN
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>
#else
#include <QProcess>
#endif

namespace velinor {

namespace {

// Enough of a converter's standard error to hold its last lines, however much it writes.
constexpr qsizetype errorTailBytes = 16 * 1024;

void keepTail(QByteArray &tail, const QByteArray &more)
{
    tail += more;
    if (tail.size() > errorTailBytes)
        tail.remove(0, tail.size() - errorTailBytes);
}

} // namespace

#ifdef VELINOR_SPAWN

namespace {

// Kept open for as long as velinor runs: one descriptor for every call's input and output.
int nullDevice()
{
    static const int fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    return fd;
}

// Where the kernel has no process descriptors (before Linux 5.3), the end is polled for.
constexpr int exitPollMs = 10;

struct Spawned
{
    pid_t pid = 0;
    int errorEnd = -1; // reading end of its standard error
    int error = 0;     // why it did not start
};

Spawned spawn(const QByteArray &program, std::vector<char *> &argv, const QByteArray &folder,
              char **environment)
{
    Spawned spawned;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        spawned.error = errno;
        return spawned;
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, nullDevice(), STDIN_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, nullDevice(), STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, ends[1], STDERR_FILENO);
    if (!folder.isEmpty())
        ::posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    // Its own group, which a stop reaches whole; the signals a stop sends handled by default
    // even where velinor was started ignoring them (nohup, a background job).
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    ::posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t chosen;
    sigemptyset(&chosen);
    sigaddset(&chosen, SIGINT);
    sigaddset(&chosen, SIGTERM);
    ::posix_spawnattr_setsigdefault(&attributes, &chosen);
    sigemptyset(&chosen);
    ::posix_spawnattr_setsigmask(&attributes, &chosen);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF |
                                                POSIX_SPAWN_SETSIGMASK);
    spawned.error = ::posix_spawn(&spawned.pid, program.constData(), &actions, &attributes,
                                  argv.data(), environment);
    ::posix_spawnattr_destroy(&attributes);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    if (spawned.error != 0) {
        ::close(ends[0]);
        spawned.pid = 0;
    } else {
        spawned.errorEnd = ends[0];
    }
    return spawned;
}

} // namespace

struct ConverterProcess::Private
{
    ConverterProcess *q;
    pid_t pid = 0;   // until reaped
    pid_t group = 0; // until its leftovers are killed
    int errorEnd = -1;
    int exitFd = -1;
    int slot = -1;
    QSocketNotifier *errors = nullptr;
    QSocketNotifier *exits = nullptr;
    QTimer *exitPoll = nullptr;
    QByteArray tail;

    void readErrors();
    void reap();
    void over(Ending ending, int exitCode);
    void release(bool tidy);
};

void ConverterProcess::Private::readErrors()
{
    char buffer[4096];
    ssize_t count;
    while ((count = ::read(errorEnd, buffer, sizeof buffer)) > 0)
        keepTail(tail, QByteArray(buffer, qsizetype(count)));
    // At its end, or Ghostscript's, the pipe stays empty: no more wake-ups for it.
    if (count == 0 && errors)
        errors->setEnabled(false);
}

void ConverterProcess::Private::reap()
{
    int status = 0;
    const pid_t found = ::waitpid(pid, &status, WNOHANG);
    if (found == 0 || (found < 0 && errno == EINTR))
        return;
    pid = 0;
    readErrors(); // what it wrote last; a program it left running may write on, unheard
    if (found < 0)
        over(Ending::Crashed, 0);
    else if (WIFSIGNALED(status))
        over(Ending::Crashed, WTERMSIG(status));
    else
        over(Ending::Exited, WEXITSTATUS(status));
}

void ConverterProcess::Private::over(Ending ending, int exitCode)
{
    release(ending == Ending::Exited && exitCode == 0);
    emit q->ended(ending, exitCode);
}

void ConverterProcess::Private::release(bool tidy)
{
    // What it started may outlive it: Ghostscript under a converter that crashed or was killed.
    if (group > 0)
        ::kill(-group, SIGKILL);
    group = 0;
    // Their own signals may have brought velinor here: they go with the call, disabled.
    for (QSocketNotifier *notifier : {errors, exits}) {
        if (notifier)
            notifier->setEnabled(false);
    }
    if (exitPoll)
        exitPoll->stop();
    for (int *fd : {&errorEnd, &exitFd}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    if (slot >= 0)
        giveBackScratchFolder(slot, tidy);
    slot = -1;
}

ConverterProcess::ConverterProcess(QObject *parent)
    : QObject(parent), d(std::make_unique<Private>())
{
    d->q = this;
}

ConverterProcess::~ConverterProcess()
{
    if (d->pid > 0) {
        ::kill(-d->pid, SIGKILL);
        ::kill(d->pid, SIGKILL);
        int status = 0;
        while (::waitpid(d->pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    d->release(false);
}

void ConverterProcess::start(const QString &program, const QStringList &arguments,
                             const QString &workingDirectory)
{
    const ScratchFolder folder = takeScratchFolder();
    d->slot = folder.slot;
    QList<QByteArray> bytes{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        bytes << QFile::encodeName(argument);
    std::vector<char *> argv, environment;
    for (QByteArray &argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    for (const QByteArray &variable : folder.variables)
        environment.push_back(const_cast<char *>(variable.constData()));
    environment.push_back(nullptr);

    const Spawned spawned = spawn(bytes.first(), argv, QFile::encodeName(workingDirectory),
                                  folder.slot >= 0 ? environment.data() : environ);
    if (spawned.pid <= 0) {
        d->release(false);
        QMetaObject::invokeMethod(
            this, [this] { emit ended(Ending::NotStarted, 0); }, Qt::QueuedConnection);
        return;
    }
    d->pid = d->group = spawned.pid;
    d->errorEnd = spawned.errorEnd;
    d->errors = new QSocketNotifier(d->errorEnd, QSocketNotifier::Read, this);
    connect(d->errors, &QSocketNotifier::activated, this, [this] { d->readErrors(); });
    d->exitFd = int(::syscall(SYS_pidfd_open, spawned.pid, 0));
    if (d->exitFd >= 0) {
        ::fcntl(d->exitFd, F_SETFD, FD_CLOEXEC);
        d->exits = new QSocketNotifier(d->exitFd, QSocketNotifier::Read, this);
        connect(d->exits, &QSocketNotifier::activated, this, [this] { d->reap(); });
    } else {
        d->exitPoll = new QTimer(this);
        connect(d->exitPoll, &QTimer::timeout, this, [this] { d->reap(); });
        d->exitPoll->start(exitPollMs);
    }
}

void ConverterProcess::signal(StopRequest::Level level)
{
    if (level == StopRequest::None || d->pid <= 0)
        return;
    const int signalNumber = level == StopRequest::Kill ? SIGKILL : SIGTERM;
    ::kill(-d->pid, signalNumber);
}

#else

struct ConverterProcess::Private
{
    QProcess process;
    std::unique_ptr<ChildGuard> guard;
    QByteArray tail;
};

ConverterProcess::ConverterProcess(QObject *parent)
    : QObject(parent), d(std::make_unique<Private>())
{
    d->guard = std::make_unique<ChildGuard>(d->process);
}

ConverterProcess::~ConverterProcess()
{
    if (d->process.state() != QProcess::NotRunning) {
        d->process.kill();
        d->process.waitForFinished(-1);
    }
}

void ConverterProcess::start(const QString &program, const QStringList &arguments,
                             const QString &workingDirectory)
{
    QProcess &process = d->process;
    process.setWorkingDirectory(workingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    connect(&process, &QProcess::readyReadStandardError, this,
            [this] { keepTail(d->tail, d->process.readAllStandardError()); });
    connect(&process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        keepTail(d->tail, d->process.readAllStandardError());
        emit ended(status == QProcess::CrashExit ? Ending::Crashed : Ending::Exited, code);
    });
    connect(&process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        // Only a converter that never started goes without finished().
        if (error == QProcess::FailedToStart)
            QMetaObject::invokeMethod(
                this, [this] { emit ended(Ending::NotStarted, 0); }, Qt::QueuedConnection);
    });
    process.start(program, arguments);
}

void ConverterProcess::signal(StopRequest::Level level)
{
    signalChild(d->process, level);
}

#endif

QByteArray ConverterProcess::errorTail() const
{
    return d->tail;
}

} // namespace velinor

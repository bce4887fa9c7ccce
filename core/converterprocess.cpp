#include "converterprocess.h"

#include "nativenames.h"
#include "scratchfolders.h"
#include "spawn.h"

#include <QFile>
#include <QMetaObject>
#include <QStringEncoder>

#ifdef Q_OS_LINUX
#define VELINOR_SPAWN 1
#endif

#ifdef VELINOR_SPAWN
#include <QDir>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
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

} // namespace

#ifdef VELINOR_SPAWN

namespace {

// Where a call writes its standard error: an unnamed file rather than a pipe, so that nothing
// wakes velinor before the call has ended, and only a call that failed has it read. Making one
// costs more than the call of a converter that does nothing, so an emptied one serves the next
// calls: what a call left running in its group is killed before its file is given back.
std::mutex errorFilesMutex;
std::vector<int> errorFiles;

// Appended to, wherever the last call left the offset that it shares with it. -1 when no file can
// be made in the temporary folder: the call's words are then lost.
int takeErrorFile()
{
    {
        const std::lock_guard<std::mutex> lock(errorFilesMutex);
        if (!errorFiles.empty()) {
            const int fd = errorFiles.back();
            errorFiles.pop_back();
            return fd;
        }
    }
    const QByteArray folder = QFile::encodeName(QDir::tempPath());
    int fd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    // File systems without unnamed files (overlayfs before Linux 6.6).
    QByteArray name = folder + "/velinor-errors-XXXXXX";
    fd = ::mkostemp(name.data(), O_APPEND | O_CLOEXEC);
    if (fd >= 0)
        ::unlink(name.constData());
    return fd;
}

// Emptying a file costs a journal entry even when there is nothing in it, which most calls
// leave.
bool emptied(int fd)
{
    struct stat status = {};
    return ::fstat(fd, &status) == 0 && (status.st_size == 0 || ::ftruncate(fd, 0) == 0);
}

void giveBackErrorFile(int fd)
{
    if (!emptied(fd)) {
        ::close(fd);
        return;
    }
    const std::lock_guard<std::mutex> lock(errorFilesMutex);
    errorFiles.push_back(fd);
}

// Where the kernel gives no descriptor for a process's end (before Linux 5.2), it is polled for.
constexpr int exitPollMs = 10;

} // namespace

struct ConverterProcess::Private
{
    ConverterProcess *q;
    pid_t pid = 0;   // until reaped
    pid_t group = 0; // until its leftovers are killed
    int errors = -1; // its standard error, for as long as this lives
    int exitFd = -1;
    int slot = -1;
    QSocketNotifier *exits = nullptr;
    QTimer *exitPoll = nullptr;

    void reap();
    void over(Ending ending, int exitCode);
    void release(bool tidy);
};

void ConverterProcess::Private::reap()
{
    int status = 0;
    const pid_t found = ::waitpid(pid, &status, WNOHANG);
    if (found == 0 || (found < 0 && errno == EINTR))
        return;
    pid = 0;
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
    // Its own signal may have brought velinor here: it goes with the call, disabled.
    if (exits)
        exits->setEnabled(false);
    if (exitPoll)
        exitPoll->stop();
    if (exitFd >= 0)
        ::close(exitFd);
    exitFd = -1;
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
    if (d->errors >= 0)
        giveBackErrorFile(d->errors);
}

void ConverterProcess::start(const QString &program, const QStringList &arguments,
                             const QString &workingDirectory)
{
    const ScratchFolder folder = takeScratchFolder();
    d->slot = folder.slot;
    // nameBytes() of each, all in one block: UTF-8, as Qt 6 takes names on Linux.
    QStringEncoder utf8(QStringEncoder::Utf8);
    qsizetype room = utf8.requiredSpace(program.size()) + 1;
    for (const QString &argument : arguments)
        room += utf8.requiredSpace(argument.size()) + 1;
    QByteArray bytes(room, Qt::Uninitialized);
    std::vector<char *> argv, environment;
    argv.reserve(size_t(arguments.size()) + 2);
    char *out = bytes.data();
    const auto append = [&](const QString &argument) {
        argv.push_back(out);
        out = utf8.appendToBuffer(out, argument);
        *out++ = '\0';
    };
    append(program);
    for (const QString &argument : arguments)
        append(argument);
    argv.push_back(nullptr);
    environment.reserve(size_t(folder.variables.size()) + 1);
    for (const QByteArray &variable : folder.variables)
        environment.push_back(const_cast<char *>(variable.constData()));
    environment.push_back(nullptr);

    // The last call's words are kept until the next call, and its file serves that call.
    if (d->errors >= 0 && !emptied(d->errors)) {
        ::close(d->errors);
        d->errors = -1;
    }
    if (d->errors < 0)
        d->errors = takeErrorFile();
    const QByteArray folderName = nameBytes(workingDirectory);
    SpawnRequest request;
    request.program = argv.front();
    request.arguments = argv.data();
    request.environment = folder.slot >= 0 ? environment.data() : environ;
    request.folder = folderName.isEmpty() ? nullptr : folderName.constData();
    request.errors = d->errors;
    const Spawned spawned = spawnProgram(request);
    if (spawned.pid <= 0) {
        d->release(false);
        QMetaObject::invokeMethod(
            this, [this] { emit ended(Ending::NotStarted, 0); }, Qt::QueuedConnection);
        return;
    }
    d->pid = d->group = spawned.pid;
    d->exitFd = spawned.exitFd;
    if (d->exitFd >= 0) {
        if (!d->exits) {
            d->exits = new QSocketNotifier(QSocketNotifier::Read, this);
            connect(d->exits, &QSocketNotifier::activated, this, [this] { d->reap(); });
        }
        d->exits->setSocket(d->exitFd);
        d->exits->setEnabled(true);
    } else {
        if (!d->exitPoll) {
            d->exitPoll = new QTimer(this);
            connect(d->exitPoll, &QTimer::timeout, this, [this] { d->reap(); });
        }
        d->exitPoll->start(exitPollMs);
    }
}

QByteArray ConverterProcess::errorTail() const
{
    struct stat status = {};
    if (d->errors < 0 || ::fstat(d->errors, &status) != 0)
        return QByteArray();
    const off_t from = std::max<off_t>(0, status.st_size - errorTailBytes);
    QByteArray tail(qsizetype(status.st_size - from), Qt::Uninitialized);
    const ssize_t read = ::pread(d->errors, tail.data(), size_t(tail.size()), from);
    tail.truncate(std::max<qsizetype>(0, read));
    return tail;
}

void ConverterProcess::signal(StopRequest::Level level)
{
    if (level == StopRequest::None || d->pid <= 0)
        return;
    const int signalNumber = level == StopRequest::Kill ? SIGKILL : SIGTERM;
    ::kill(-d->pid, signalNumber);
}

#else

namespace {

void keepTail(QByteArray &tail, const QByteArray &more)
{
    tail += more;
    if (tail.size() > errorTailBytes)
        tail.remove(0, tail.size() - errorTailBytes);
}

} // namespace

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

QByteArray ConverterProcess::errorTail() const
{
    return d->tail;
}

#endif

} // namespace velinor

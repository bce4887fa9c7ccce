#include "spawn.h"

#ifdef Q_OS_LINUX
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velinor {

namespace {

// What the child reads, all made before it starts: it may not allocate, nor open anything.
struct ChildPlan
{
    const SpawnRequest *request;
    int input, output, errors;
    bool resetStopHandlers;
    int failure; // errno of the step that failed, written by the child
};

std::atomic<bool> ownStopHandlers{false};
std::atomic<pid_t> velinorPid{0};

// The kernel's own signal set and action: glibc's calls would not let the set hold every signal,
// and a sanitizer's stand-ins for them keep velinor's handlers in memory that the child shares.
constexpr unsigned long allSignals = ~0UL;
constexpr unsigned long noSignal = 0UL;
struct KernelAction
{
    void (*handler)(int);
    unsigned long flags;
    void (*restorer)();
    unsigned long mask;
};

void setMask(const unsigned long *mask, unsigned long *previous)
{
    ::syscall(SYS_rt_sigprocmask, SIG_SETMASK, mask, previous, sizeof *mask);
}

[[noreturn]] void childFailed(ChildPlan *plan)
{
    plan->failure = errno != 0 ? errno : EINVAL;
    ::syscall(SYS_exit_group, 127);
    __builtin_unreachable();
}

bool placeAt(int from, int to)
{
    // The same number already (velinor started without it): only close-on-exec is to be undone.
    if (from == to)
        return ::syscall(SYS_fcntl, to, F_SETFD, 0) == 0;
    return ::syscall(SYS_dup3, from, to, 0) == to;
}

void resetSignals()
{
    // The signals a stop sends are handled by default even where velinor was started ignoring
    // them (a background job); a hang-up ignored under nohup stays ignored.
    const KernelAction byDefault = {SIG_DFL, 0, nullptr, 0};
    KernelAction hangUp = {};
    ::syscall(SYS_rt_sigaction, SIGINT, &byDefault, nullptr, sizeof(unsigned long));
    ::syscall(SYS_rt_sigaction, SIGTERM, &byDefault, nullptr, sizeof(unsigned long));
    if (::syscall(SYS_rt_sigaction, SIGHUP, nullptr, &hangUp, sizeof(unsigned long)) == 0 &&
        hangUp.handler != SIG_IGN)
        ::syscall(SYS_rt_sigaction, SIGHUP, &byDefault, nullptr, sizeof(unsigned long));
}

// Runs in the child, in velinor's memory and on the starting thread's stack, while that thread
// waits for the exec. A handler of velinor's that ran here would tell velinor of a stop it was
// never asked for: either velinor's own handlers end the child instead (endStartingChild), or
// every signal stays blocked until just before the exec and the handlers are reset first.
extern "C" int startChild(void *data)
{
    auto *plan = static_cast<ChildPlan *>(data);
    const SpawnRequest &request = *plan->request;
    // Before anything can be signalled to the group it was started in, such as a Ctrl-C.
    if (request.ownGroup && ::syscall(SYS_setpgid, 0, 0) != 0)
        childFailed(plan);
    if (plan->resetStopHandlers)
        resetSignals();
    if (!placeAt(plan->input, STDIN_FILENO) || !placeAt(plan->output, STDOUT_FILENO) ||
        !placeAt(plan->errors, STDERR_FILENO))
        childFailed(plan);
        // Best effort: before Linux 5.9 they stay, as they would for any other program.
#ifdef SYS_close_range
    if (request.closeOthers)
        ::syscall(SYS_close_range, STDERR_FILENO + 1, ~0U, 0);
#endif
    if (request.folder && ::syscall(SYS_chdir, request.folder) != 0)
        childFailed(plan);
    // Also what the starting thread blocked: the program gets none of it.
    setMask(&noSignal, nullptr);
    ::syscall(SYS_execve, request.program, request.arguments, request.environment);
    childFailed(plan);
}

} // namespace

void setOwnStopHandlers(bool installed)
{
    if (installed)
        velinorPid.store(::getpid());
    ownStopHandlers.store(installed);
}

bool endStartingChild(int signalNumber)
{
    const pid_t self = pid_t(::syscall(SYS_getpid));
    const pid_t velinor = velinorPid.load();
    if (velinor == 0 || self == velinor)
        return false;
    const KernelAction byDefault = {SIG_DFL, 0, nullptr, 0};
    ::syscall(SYS_rt_sigaction, signalNumber, &byDefault, nullptr, sizeof(unsigned long));
    // Held while its handler runs, it takes effect as the handler returns.
    ::syscall(SYS_kill, self, signalNumber);
    return true;
}

int nullDevice()
{
    static const int fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    return fd;
}

// glibc's posix_spawn resets all 64 signal handlers in the child, one system call or two each,
// which costs more than a converter that does nothing; only velinor's own need it, and not even
// those while they end a child themselves: each system call here is paid on every call. The
// child borrows this frame for its stack: the thread is suspended until it has exec'd or ended.
Spawned spawnProgram(const SpawnRequest &request)
{
    const auto orNull = [](int fd) { return fd >= 0 ? fd : nullDevice(); };
    const bool reset = !ownStopHandlers.load();
    ChildPlan plan{
        &request, orNull(request.input), orNull(request.output), orNull(request.errors), reset, 0};
    alignas(16) char stack[16 * 1024];
    char *const top = stack + sizeof stack;
    unsigned long previous = 0;
    if (reset)
        setMask(&allSignals, &previous);
    int exitFd = -1;
    // The end's descriptor comes with the child, before its number can be given to another.
    const int flags = CLONE_VM | CLONE_VFORK | SIGCHLD;
    pid_t pid = request.exitDescriptor
                    ? ::clone(startChild, top, flags | CLONE_PIDFD, &plan, &exitFd)
                    : ::clone(startChild, top, flags, &plan);
    if (pid < 0 && errno == EINVAL && request.exitDescriptor) { // before Linux 5.2
        exitFd = -1;
        pid = ::clone(startChild, top, flags, &plan);
    }
    if (reset)
        setMask(&previous, nullptr);
    if (pid <= 0)
        return {};
    if (plan.failure != 0) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (exitFd >= 0)
            ::close(exitFd);
        return {};
    }
    return {pid, exitFd};
}

} // namespace velinor

#endif

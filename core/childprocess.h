#ifndef VELINOR_CHILDPROCESS_H
#define VELINOR_CHILDPROCESS_H

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>

class QProcess;

// How velinor starts the programs it runs (the converter, identify, Ghostscript) and ends them.
// ImageMagick starts Ghostscript in turn and leaves partial renders in its temporary folder, so
// each program gets a process group of its own, which a stop reaches whole, and a temporary
// folder that no other running program uses, emptied once it has ended whatever happened.
namespace velinor {

// A request to stop, made from the thread that drives a run and read by the threads that wait
// on programs. The first request asks the programs to end, the second ends them at once.
class StopRequest
{
public:
    enum Level { None, Terminate, Kill };
    void escalate();
    Level level() const { return Level(current.load()); }

private:
    std::atomic<int> current{None};
};

// Prepares a process before its start: its own process group, the default handling of SIGINT
// and SIGTERM, its end when velinor ends (even killed; Linux), and MAGICK_TEMPORARY_PATH in a
// folder of its own (see scratchfolders.h). Once it has ended, or when it still runs, the guard's
// end kills what is left of its group and gives the folder back. It must not outlive the process.
class ChildGuard
{
public:
    explicit ChildGuard(QProcess &process);
    ~ChildGuard();
    ChildGuard(const ChildGuard &) = delete;
    ChildGuard &operator=(const ChildGuard &) = delete;

private:
    QProcess &process;
    QMetaObject::Connection started;
    qint64 leader = 0;
    int slot = -1;
};

// Sends the process group of a running child SIGTERM, or SIGKILL; off Unix, terminate() or
// kill(). A child that has ended but is not reaped yet still holds its process id.
void signalChild(QProcess &process, StopRequest::Level level);

// How long a program asked to end may take before it is killed.
constexpr int terminateGraceMs = 5000;

// How a program that runTool waited for ended, and what it wrote.
struct ToolRun
{
    // Crashed also when it took longer than it was given and was killed for it.
    enum class Ending { Exited, Crashed, NotStarted, Stopped };
    Ending ending = Ending::NotStarted;
    int exitCode = 0;
    QByteArray output;
    QByteArray errors; // the end of its standard error, when kept

    bool succeeded() const { return ending == Ending::Exited && exitCode == 0; }
};

// Runs a program from a thread that may wait for it: a stop request ends it (SIGTERM, SIGKILL
// after terminateGraceMs or at a second request), and so does a run longer than timeoutMs.
ToolRun runTool(const QString &program, const QStringList &arguments, int timeoutMs,
                const StopRequest *stop, const QString &workingDirectory, bool keepErrors);

// Runs a program that only reads (identify, Ghostscript, the converter's listings) and returns
// its standard output, or nothing when it failed, took longer than timeoutMs, or was stopped.
QByteArray toolOutput(const QString &program, const QStringList &arguments, int timeoutMs,
                      const StopRequest *stop = nullptr,
                      const QString &workingDirectory = QString());

} // namespace velinor

#endif

#ifndef VELINOR_CHILDPROCESS_H
#define VELINOR_CHILDPROCESS_H

#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class QProcess;
class QTemporaryDir;

// How velinor starts the programs it runs (the converter, identify, Ghostscript) and ends them.
// ImageMagick starts Ghostscript in turn and leaves partial renders in its temporary folder, so
// each program gets a process group of its own, which a stop reaches whole, and a temporary
// folder of its own, removed once it has ended whatever happened.
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
// fresh folder that the caller keeps for as long as the program runs. Returns that folder, or
// nullptr when none could be made (ImageMagick then uses its default).
std::unique_ptr<QTemporaryDir> prepareChild(QProcess &process);

// Sends the process group of a running child SIGTERM, or SIGKILL; off Unix, terminate() or
// kill(). A child that has ended but is not reaped yet still holds its process id.
void signalChild(QProcess &process, StopRequest::Level level);

// How long a program asked to end may take before it is killed.
constexpr int terminateGraceMs = 5000;

// Runs a program that only reads (identify, Ghostscript, the converter's listings) and returns
// its standard output, or nothing when it failed, took longer than timeoutMs, or was stopped:
// a stop request ends it (SIGTERM, SIGKILL after terminateGraceMs or at a second request).
QByteArray toolOutput(const QString &program, const QStringList &arguments, int timeoutMs,
                      const StopRequest *stop = nullptr,
                      const QString &workingDirectory = QString());

} // namespace velinor

#endif

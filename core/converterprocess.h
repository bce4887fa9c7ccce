#ifndef VELINOR_CONVERTERPROCESS_H
#define VELINOR_CONVERTERPROCESS_H

#include "childprocess.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace velinor {

// One converter call, its standard input and output /dev/null. It keeps ChildGuard's promises
// (a process group and a temporary folder of its own, nothing of the group left once it has
// ended); a run makes hundreds of calls, so on Linux it is spawned and awaited without QProcess,
// whose pipes, descriptors and wake-ups cost more than a converter that has nothing to do.
class ConverterProcess : public QObject
{
    Q_OBJECT

public:
    enum class Ending { Exited, Crashed, NotStarted };
    Q_ENUM(Ending)

    explicit ConverterProcess(QObject *parent = nullptr);
    // A call still running is killed with its group, and waited for.
    ~ConverterProcess() override;

    // ended() comes from the event loop, never from inside start(). Once ended, it may be
    // started again, even from a slot of its ended(); errorTail() tells of the last call until
    // then.
    void start(const QString &program, const QStringList &arguments,
               const QString &workingDirectory);
    void signal(StopRequest::Level level);
    // The last bytes written on its standard error, enough for its last lines.
    QByteArray errorTail() const;

signals:
    void ended(velinor::ConverterProcess::Ending ending, int exitCode);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace velinor

#endif

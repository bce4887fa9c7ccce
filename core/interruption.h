#ifndef VELINOR_INTERRUPTION_H
#define VELINOR_INTERRUPTION_H

#include <QObject>

class QSocketNotifier;

namespace velinor {

// Turns SIGHUP (a closed terminal, a dropped ssh), SIGINT and SIGTERM into a Qt signal delivered
// by the event loop, so that an ending of either front end stops its run as the user's own stop
// does. The handler itself only writes the signal number into a pipe, the one thing a signal
// handler may safely do here. A SIGHUP ignored from the start (nohup) stays ignored. One instance
// at a time; the earlier handling comes back when it is destroyed. Unix only, once its pipe is
// made: elsewhere, or without one, the signals keep their default effect.
class Interruption : public QObject
{
    Q_OBJECT

public:
    explicit Interruption(QObject *parent = nullptr);
    ~Interruption() override;

signals:
    void requested(int signalNumber);

private:
    void drain();

    QSocketNotifier *notifier = nullptr;
};

} // namespace velinor

#endif

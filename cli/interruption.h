#ifndef VELINOR_CLI_INTERRUPTION_H
#define VELINOR_CLI_INTERRUPTION_H

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal delivered by the event loop. The handler itself only
// writes the signal number into a pipe, the one thing a signal handler may safely do here.
// One instance at a time; the default handling comes back when it is destroyed. Unix only:
// elsewhere Ctrl-C keeps its default effect.
class Interruption : public QObject
{
    Q_OBJECT

public:
    explicit Interruption(QObject *parent = nullptr);
    ~Interruption() override;

    // False when the pipe could not be made, or off Unix: the signals keep their default effect.
    bool isActive() const { return notifier != nullptr; }

signals:
    void requested(int signalNumber);

private:
    void drain();

    QSocketNotifier *notifier = nullptr;
};

#endif

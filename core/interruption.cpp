#include "interruption.h"

#include "spawn.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace {

int pipeEnds[2] = {-1, -1};
const int handledSignals[] = {SIGHUP, SIGINT, SIGTERM};
struct sigaction previous[std::size(handledSignals)];

extern "C" void onSignal(int signalNumber)
{
    const int savedErrno = errno;
#ifdef Q_OS_LINUX
    if (velinor::endStartingChild(signalNumber)) {
        errno = savedErrno;
        return;
    }
#endif
    const char byte = char(signalNumber);
    // A full pipe already holds enough requests; the byte may be lost without harm.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

} // namespace
#endif

namespace velinor {

Interruption::Interruption(QObject *parent) : QObject(parent)
{
#ifdef Q_OS_UNIX
    // Close-on-exec, so that the converters do not keep the pipe; non-blocking, so that neither
    // the handler nor the drain can ever wait on it.
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &Interruption::drain);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(handledSignals); ++i) {
        ::sigaction(handledSignals[i], nullptr, &previous[i]);
        // Started by nohup, velinor must outlive its terminal as asked.
        if (handledSignals[i] != SIGHUP || previous[i].sa_handler != SIG_IGN)
            ::sigaction(handledSignals[i], &action, nullptr);
    }
#ifdef Q_OS_LINUX
    velinor::setOwnStopHandlers(true);
#endif
#endif
}

Interruption::~Interruption()
{
#ifdef Q_OS_UNIX
    if (!notifier)
        return;
#ifdef Q_OS_LINUX
    velinor::setOwnStopHandlers(false);
#endif
    for (size_t i = 0; i < std::size(handledSignals); ++i)
        ::sigaction(handledSignals[i], &previous[i], nullptr);
    delete notifier;
    notifier = nullptr;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
#endif
}

void Interruption::drain()
{
#ifdef Q_OS_UNIX
    char bytes[16];
    ssize_t count;
    while ((count = ::read(pipeEnds[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            emit requested(int(bytes[i]));
    }
#endif
}

} // namespace velinor

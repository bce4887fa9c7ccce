#ifndef VELINOR_SPAWN_H
#define VELINOR_SPAWN_H

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/types.h>

// How velinor starts the programs it runs on Linux: in its own memory, as vfork does, with nothing
// in the child but system calls on what was made before it started.
namespace velinor {

struct SpawnRequest
{
    const char *program = nullptr;
    char *const *arguments = nullptr;
    char *const *environment = nullptr;
    const char *folder = nullptr; // nullptr: velinor's own
    // -1: /dev/null.
    int input = -1;
    int output = -1;
    int errors = -1;
    bool ownGroup = true;     // a group of its own, which a stop reaches whole
    bool closeOthers = false; // even the descriptors velinor was given open
    bool exitDescriptor = true;
};

struct Spawned
{
    pid_t pid = 0;   // 0: not started
    int exitFd = -1; // readable once it has ended; -1 where the kernel gives none
};

Spawned spawnProgram(const SpawnRequest &request);

// /dev/null, open for as long as velinor runs.
int nullDevice();

// Told by Interruption while velinor's own handlers hold SIGHUP, SIGINT and SIGTERM (SIGHUP may
// stay ignored under nohup). A child then leaves them as they are: its exec gives them their
// default effect, and one caught before the exec ends the child (endStartingChild).
void setOwnStopHandlers(bool installed);

// For those handlers: caught in a program velinor is starting, before its exec, in velinor's
// memory, a signal is that program's to die of, not velinor's to be told of. Then the signal is
// given its default effect there and true returned. Only system calls: safe in a handler.
bool endStartingChild(int signalNumber);

} // namespace velinor

#endif

#endif

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

} // namespace velinor

#endif

#endif

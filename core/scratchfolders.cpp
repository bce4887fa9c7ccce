#include "scratchfolders.h"

#include "nativenames.h"
#include "spawn.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <mutex>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velinor {

namespace {

const QLatin1String folderPrefix("velinor-magick-");

struct Slot
{
    QString path; // empty while not made
    QProcessEnvironment environment;
    QList<QByteArray> variables; // the same, as a program is given them
    bool busy = false;
};

// Shared by the threads that count pages and the one that runs the converters.
struct Pool
{
    std::mutex mutex;
    std::vector<Slot> folders;
    int runs = 0;
    bool watched = false;
};

Pool &pool()
{
    static Pool instance;
    return instance;
}

#ifdef Q_OS_UNIX
// Where the folders are made (scratchTemplate), as the watcher and the search for leftovers name
// it to the system.
QByteArray temporaryFolder()
{
    return nameBytes(QDir(QDir::tempPath()).absolutePath());
}
#endif

#ifdef Q_OS_LINUX
// $1 is the temporary folder, $2 velinor's process id. Standard input is a pipe that velinor
// alone holds open and never writes to: its end is velinor's end. Whatever runs with one of the
// folders as MAGICK_TEMPORARY_PATH is velinor's, however far down (Ghostscript under a converter
// that died with velinor); a clean end has removed the folders, and then nothing is left to do.
// The environment of a process being killed can still be read, hence the rounds.
constexpr char watcherScript[] = R"sh(trap '' HUP INT TERM
while read -r _; do :; done
mark="MAGICK_TEMPORARY_PATH=$1/velinor-magick-$2-"
set -- "$1/velinor-magick-$2-"*
[ -e "$1" ] || exit 0
i=0
while [ $i -lt 50 ]; do
    found=$(grep -lzF -e "$mark" /proc/[0-9]*/environ 2>/dev/null)
    [ -n "$found" ] || break
    for f in $found; do f=${f#/proc/}; kill -KILL "${f%/environ}"; done
    i=$((i + 1))
done
rm -rf -- "$@"
)sh";

// Started as the converters are, safe from any thread. The watcher gets none of velinor's files
// and a plain environment, so that it is never taken for one of the programs velinor runs; it
// stays in velinor's group, whose stops it ignores.
void startWatcher()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return;
    QByteArray folder = temporaryFolder();
    QByteArray pid = QByteArray::number(QCoreApplication::applicationPid());
    char shell[] = "sh", dashC[] = "-c", name[] = "velinor-watcher", path[] = "PATH=/usr/bin:/bin",
         locale[] = "LC_ALL=C";
    char *arguments[] = {shell,      dashC,  const_cast<char *>(watcherScript), name, folder.data(),
                         pid.data(), nullptr};
    char *environment[] = {path, locale, nullptr};
    SpawnRequest request;
    request.program = "/bin/sh";
    request.arguments = arguments;
    request.environment = environment;
    request.input = ends[0];
    request.ownGroup = false;
    request.closeOthers = true;
    request.exitDescriptor = false;
    const Spawned watcher = spawnProgram(request);
    ::close(ends[0]);
    if (watcher.pid <= 0)
        ::close(ends[1]);
    // Otherwise the writing end stays open, unused, for as long as velinor runs.
}
#endif

bool make(Slot &slot)
{
    QTemporaryDir folder(scratchTemplate());
    if (!folder.isValid())
        return false;
    folder.setAutoRemove(false);
    slot.path = folder.path();
    slot.environment = QProcessEnvironment::systemEnvironment();
    slot.environment.insert(QStringLiteral("MAGICK_TEMPORARY_PATH"),
                            QDir::toNativeSeparators(slot.path));
    for (const QString &variable : slot.environment.toStringList())
        slot.variables << QFile::encodeName(variable);
    return true;
}

void remove(Slot &slot)
{
    if (slot.path.isEmpty()) // QDir would take it for the working folder
        return;
    QDir(slot.path).removeRecursively();
    slot.path.clear();
    slot.environment = QProcessEnvironment();
    slot.variables.clear();
}

void empty(const QString &path)
{
    QDirIterator entries(path,
                         QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        const QString entry = entries.next();
        if (entries.fileInfo().isDir() && !entries.fileInfo().isSymLink())
            QDir(entry).removeRecursively();
        else
            QFile::remove(entry);
    }
}

// Only velinor's own folders, of a process that no longer exists, and only real folders of this
// user: a link under such a name is not followed. The temporary folder may hold thousands of
// entries, looked at by name alone here at every start, as Qt's listing would not.
void removeLeftovers()
{
#ifdef Q_OS_UNIX
    const QByteArray temporary = temporaryFolder();
    DIR *folder = ::opendir(temporary.constData());
    if (!folder)
        return;
    const QByteArray prefix = QByteArray(folderPrefix.data(), folderPrefix.size());
    const pid_t self = ::getpid();
    while (const dirent *entry = ::readdir(folder)) {
        const char *name = entry->d_name;
        if (std::strncmp(name, prefix.constData(), size_t(prefix.size())) != 0)
            continue;
        const char *number = name + prefix.size();
        char *end = nullptr;
        errno = 0;
        const long pid = std::strtol(number, &end, 10);
        if (end == number || *end != '-' || errno != 0 || pid <= 0 || pid == self ||
            ::kill(pid_t(pid), 0) == 0 || errno != ESRCH)
            continue;
        struct stat status = {};
        if (::fstatat(::dirfd(folder), name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISDIR(status.st_mode) && status.st_uid == ::getuid())
            QDir(QFile::decodeName(temporary + '/' + name)).removeRecursively();
    }
    ::closedir(folder);
#endif
}

} // namespace

ScratchRun::ScratchRun()
{
    Pool &shared = pool();
    const std::lock_guard<std::mutex> lock(shared.mutex);
    if (shared.runs++ == 0)
        removeLeftovers();
}

ScratchRun::~ScratchRun()
{
    Pool &shared = pool();
    const std::lock_guard<std::mutex> lock(shared.mutex);
    if (--shared.runs > 0)
        return;
    for (Slot &slot : shared.folders) {
        if (!slot.busy && !slot.path.isEmpty())
            remove(slot);
    }
}

ScratchFolder takeScratchFolder()
{
    Pool &shared = pool();
    const std::lock_guard<std::mutex> lock(shared.mutex);
    // A folder made already first: making one costs more than the program that does nothing.
    size_t chosen = shared.folders.size();
    for (size_t i = 0; i < shared.folders.size(); ++i) {
        if (shared.folders[i].busy)
            continue;
        if (!shared.folders[i].path.isEmpty()) {
            chosen = i;
            break;
        }
        chosen = std::min(chosen, i);
    }
    if (chosen == shared.folders.size())
        shared.folders.emplace_back();
    Slot &slot = shared.folders[chosen];
    if (slot.path.isEmpty() && !make(slot))
        return {};
#ifdef Q_OS_LINUX
    if (!shared.watched)
        startWatcher();
#endif
    shared.watched = true;
    slot.busy = true;
    return {int(chosen), slot.environment, slot.variables};
}

void giveBackScratchFolder(int slot, bool tidy)
{
    Pool &shared = pool();
    const std::lock_guard<std::mutex> lock(shared.mutex);
    Slot &given = shared.folders.at(size_t(slot));
    given.busy = false;
    if (shared.runs == 0)
        remove(given);
    else if (!tidy)
        empty(given.path);
}

QString scratchTemplate()
{
    return QDir(QDir::tempPath())
        .absoluteFilePath(folderPrefix + QString::number(QCoreApplication::applicationPid()) +
                          QStringLiteral("-XXXXXX"));
}

} // namespace velinor

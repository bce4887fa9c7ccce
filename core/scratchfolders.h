#ifndef VELINOR_SCRATCHFOLDERS_H
#define VELINOR_SCRATCHFOLDERS_H

#include <QProcessEnvironment>
#include <QString>

// Where the programs velinor runs keep their temporary files: ImageMagick, and Ghostscript under
// it, leave their partial renders there when they are killed. The folders are named
// velinor-magick-<pid>-XXXXXX in the system's temporary folder, one for each program running at
// once, kept from one program to the next while a run goes on and removed when it ends. On
// Linux a watcher started with the first folder ends the programs still using them and removes
// them once velinor is gone, even killed; a run removes those of a velinor whose process is gone.
namespace velinor {

// Keeps the folders made while it lives ready for the next programs, and makes the environment
// that names them from velinor's own once. The first of several at once removes the leftovers.
class ScratchRun
{
public:
    ScratchRun();
    ~ScratchRun();
    ScratchRun(const ScratchRun &) = delete;
    ScratchRun &operator=(const ScratchRun &) = delete;
};

// A folder that no other running program uses, and velinor's environment with
// MAGICK_TEMPORARY_PATH naming it. slot is -1 when none could be made.
struct ScratchFolder
{
    int slot = -1;
    QProcessEnvironment environment;
    QList<QByteArray> variables; // the environment as "NAME=value"
};

ScratchFolder takeScratchFolder();
// Empties the folder for the next program unless the last one left it tidy, or removes it when
// no run keeps it.
void giveBackScratchFolder(int slot, bool tidy);

// The template of velinor's other temporary folders, for QTemporaryDir: named like these, they
// are removed as these are when velinor cannot remove them itself.
QString scratchTemplate();

} // namespace velinor

#endif

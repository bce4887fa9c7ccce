#ifndef VELINOR_SOURCEPROTECTION_H
#define VELINOR_SOURCEPROTECTION_H

#include "filenamecase.h"

#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

namespace velinor {

struct ConversionCall;

// True when writing the output path would replace the source file itself, as converting
// "img.png" to PNG into its own folder would. Spellings of one path ("./", "..", doubled "/",
// letter case where the output's folder ignores it) count as the same file, and so do symbolic
// links once both exist.
bool wouldOverwriteSource(const QString &source, const QString &outputPath,
                          Qt::CaseSensitivity outputCase = fileNameCase);

// Why a listed file is left alone before any converter runs.
enum class SourceRefusal {
    None,
    Unreadable,     // missing, or not a file that can be read
    ReplacesSource, // an image of it would replace a listed source (SourceVerdict::replaced)
};

struct SourceVerdict
{
    SourceRefusal refusal = SourceRefusal::None;
    QString replaced; // the listed source an image would replace
};

// The files of one run, known by what they are rather than how they are spelled (a symbolic or
// hard link, a bind mount, a linked folder), so that nothing the run writes or renames can be
// one of them. Where a folder ignores letter case, its names are compared as it compares them
// too: exfat-fuse gives each spelling of one file an inode number of its own.
class SourceGuard
{
public:
    SourceGuard() = default;
    // Looks once through the destination for names that are listed sources in disguise; the
    // destination compares names as destinationCase says (folderNameCase).
    explicit SourceGuard(const QStringList &sources, const QString &destination = QString(),
                         Qt::CaseSensitivity destinationCase = fileNameCase);

    // Before a file is converted: only a regular file that can be read is, and none of the
    // names its calls can write (its images, its pieces when cut into screens, then their
    // ".tns" names when renamed, or its .cbz.tns when packed) may be a listed source.
    SourceVerdict check(const QString &source, const ConversionCall &call, bool tns,
                        bool cbz = false, bool screens = false) const;
    // The same for a file found a readable regular file a moment ago, as a run finds each file
    // while reading its kind: every file of a run comes here.
    SourceVerdict checkReadable(const QString &source, const ConversionCall &call, bool tns,
                                bool cbz, bool screens) const;
    // Whether the file at this path is one of the listed sources, under any name; folderCase
    // tells how the path's folder compares names.
    bool isListed(const QString &path, Qt::CaseSensitivity folderCase = fileNameCase) const;

private:
    Qt::CaseSensitivity destinationCase = fileNameCase;
    QSet<QString> identities;
    QSet<QString> foldedPaths; // of the sources, for folders that ignore case
    // Names in the destination under which a listed source lies, with that source.
    QList<QPair<QString, QString>> exposed;
};

} // namespace velinor

#endif

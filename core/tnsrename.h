#ifndef VELINOR_TNSRENAME_H
#define VELINOR_TNSRENAME_H

#include "filenamecase.h"
#include "sourceprotection.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <set>
#include <utility>

namespace velinor {

struct ConversionCall;

// A text as a QDir name filter that matches it literally: "[", "]", "*" and "?" are wrapped in
// one-character classes, so a base name such as "cours[1]" only finds its own images.
QString escapeNameFilter(const QString &text);

enum class TnsDirection { ToTns, FromTns };

// The rename buttons for one listed source: in the source's own folder, the PNG and JPEG
// images whose names begin with its base name get ".tns" appended, or the ".png.tns" and
// ".jpg.tns" files whose names begin with it lose their ".tns". An existing file is never replaced,
// a missing folder is skipped, and a file that is itself listed (an image given to convert) keeps
// its name. Returns how many files were renamed.
int renameImagesOfSource(const QString &sourcePath, TnsDirection direction,
                         const SourceGuard &listed = SourceGuard());

// Whether a file name is one the converter writes for this base name and extension: exactly
// base + extension, or base + "-" + page number + extension. Unlike the prefix rule of
// TnsRename::ByPrefix, "chapitre.png" is not an image of "chap".
bool isOwnImage(const QString &fileName, const QString &baseName, const QString &extension,
                Qt::CaseSensitivity nameCase = fileNameCase);

// The paths of the images that one file's calls wrote into the destination, in page order:
// base + extension for one image, the page names numbered from 0 for more. images is how many
// they wrote, 0 when not counted: they are then looked for as the renamer looks for them after a
// file, the page names as long as they follow one another.
QStringList writtenImages(const QString &destination, const ConversionCall &file, int images);

// How the images are renamed to ".tns" right after each file. The window takes every image
// whose name begins with the base name and ends with the extension, letter case ignored, as it
// always has; velinor-cli only the file's own (isOwnImage), so that conversions sharing a
// destination never rename each other's images.
enum class TnsRename { None, ByPrefix, OwnImages };

// The renames after each file of one run into one destination. Each image found gets ".tns"
// appended, replacing an older file of that name; with ByPrefix a listed file is left alone,
// under either name. The destination is listed once, at the first file: later files look their
// names up in that listing and among the names their own calls can write. Nothing else can
// appear under the names a file's rule takes, since files whose images one another's rule takes
// never run at once (Engine), so a long run stays linear.
class TnsRenamer
{
public:
    TnsRenamer(const QString &destination, TnsRename rule,
               Qt::CaseSensitivity nameCase = fileNameCase,
               const SourceGuard &listed = SourceGuard());

    // After one file, whose calls numbered their pages from these (0 always counts), and which
    // also left these images (paths: its pieces, cut into screens): whether any image was found
    // to rename; none means the conversion left none.
    bool renameAfter(const ConversionCall &file, const QList<int> &firstPages = {},
                     const QStringList &images = {});

private:
    using Entry = std::pair<QString, QString>; // the name case-folded, then as it is

    void listOnce(const QString &extension);
    bool takes(const QString &name, const ConversionCall &file) const;
    QStringList candidates(const ConversionCall &file, QList<int> firstPages,
                           const QStringList &images) const;

    QString destination;
    TnsRename rule;
    Qt::CaseSensitivity nameCase;
    SourceGuard listed;
    bool listedYet = false;
    QString listedExtension;
    std::set<Entry> names; // in the destination with that extension, but those renamed since
};

} // namespace velinor

#endif

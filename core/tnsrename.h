#ifndef VELINOR_TNSRENAME_H
#define VELINOR_TNSRENAME_H

#include "sourceprotection.h"

#include <QString>

namespace velinor {

// A text as a QDir name filter that matches it literally: "[", "]", "*" and "?" are wrapped in
// one-character classes, so a base name such as "cours[1]" only finds its own images.
QString escapeNameFilter(const QString &text);

// After one source is converted: every file of the destination folder named base name, any run
// of characters, extension (letter case ignored) gets ".tns" appended, replacing an older file
// of that name; a listed file is left alone, under either name. Returns whether any file was
// renamed; none means the conversion left no image to rename.
bool renameOutputsToTns(const QString &destination, const QString &baseName,
                        const QString &extension, const SourceGuard &listed = SourceGuard());

enum class TnsDirection { ToTns, FromTns };

// The rename buttons for one listed source: in the source's own folder, the PNG and JPEG
// images whose names begin with its base name get ".tns" appended, or the ".png.tns" and
// ".jpg.tns" files whose names begin with it lose their ".tns". An existing file is never replaced,
// a missing folder is skipped, and a file that is itself listed (an image given to convert) keeps
// its name. Returns how many files were renamed.
int renameImagesOfSource(const QString &sourcePath, TnsDirection direction,
                         const SourceGuard &listed = SourceGuard());

// Whether a file name is one the converter writes for this base name and extension: exactly
// base + extension, or base + "-" + page number + extension. Unlike the prefix patterns above,
// "chapitre.png" is not an image of "chap".
bool isOwnImage(const QString &fileName, const QString &baseName, const QString &extension);

// renameOutputsToTns restricted to isOwnImage, so that conversions sharing a destination never
// rename each other's images.
bool renameOwnImagesToTns(const QString &destination, const QString &baseName,
                          const QString &extension);

} // namespace velinor

#endif

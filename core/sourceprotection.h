#ifndef VELINOR_SOURCEPROTECTION_H
#define VELINOR_SOURCEPROTECTION_H

#include <QString>

namespace velinor {

// True when writing the output path would replace the source file itself, as converting
// "img.png" to PNG into its own folder would. Spellings of one path ("./", "..", doubled "/",
// letter case on Windows) count as the same file, and so do symbolic links once both exist.
bool wouldOverwriteSource(const QString &source, const QString &outputPath);

} // namespace velinor

#endif

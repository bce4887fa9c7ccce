#ifndef VELINOR_FILENAMECASE_H
#define VELINOR_FILENAMECASE_H

#include <QString>

namespace velinor {

// Whether two spellings of a file name can be two different files. Windows folders ignore case;
// elsewhere the usual file systems keep "A.png" and "a.png" apart.
#ifdef Q_OS_WIN
inline constexpr Qt::CaseSensitivity fileNameCase = Qt::CaseInsensitive;
#else
inline constexpr Qt::CaseSensitivity fileNameCase = Qt::CaseSensitive;
#endif

// Whether the file system holding this folder keeps names apart that differ only in case: an
// exFAT or FAT memory card does not, even on Linux. It is asked by creating a file and looking
// it up under another case, in the folder or, until it exists, in its nearest existing
// ancestor, where it will be made. fileNameCase when the folder cannot be written to.
Qt::CaseSensitivity folderNameCase(const QString &folder);

} // namespace velinor

#endif

#ifndef VELINOR_FILENAMECASE_H
#define VELINOR_FILENAMECASE_H

#include <QtGlobal>

namespace velinor {

// Whether two spellings of a file name can be two different files. Windows folders ignore case;
// elsewhere the usual file systems keep "A.png" and "a.png" apart.
#ifdef Q_OS_WIN
inline constexpr Qt::CaseSensitivity fileNameCase = Qt::CaseInsensitive;
#else
inline constexpr Qt::CaseSensitivity fileNameCase = Qt::CaseSensitive;
#endif

} // namespace velinor

#endif

#include "sourceprotection.h"

#include "filenamecase.h"

#include <QDir>
#include <QFileInfo>

namespace velinor {

bool wouldOverwriteSource(const QString &source, const QString &outputPath)
{
    const QFileInfo in(source);
    const QFileInfo out(outputPath);
    if (QDir::cleanPath(in.absoluteFilePath())
            .compare(QDir::cleanPath(out.absoluteFilePath()), fileNameCase) == 0)
        return true;
    // Only an existing output can be the source under another name; a missing one has no
    // canonical path, and an empty canonical path must not match another empty one.
    const QString canonicalIn = in.canonicalFilePath();
    const QString canonicalOut = out.canonicalFilePath();
    return !canonicalIn.isEmpty() && canonicalIn.compare(canonicalOut, fileNameCase) == 0;
}

} // namespace velinor

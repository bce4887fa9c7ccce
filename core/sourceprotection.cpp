#include "sourceprotection.h"

#include "arguments.h"
#include "filenamecase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace velinor {

namespace {

// A name for the file itself: device and inode where there are some, so that hard links, bind
// mounts and symbolic links all meet; the canonical path otherwise. Empty for a missing file.
QString identityOf(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return QString();
    return QStringLiteral("%1:%2").arg(quint64(status.st_dev)).arg(quint64(status.st_ino));
#else
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return fileNameCase == Qt::CaseInsensitive ? canonical.toLower() : canonical;
#endif
}

} // namespace

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

SourceGuard::SourceGuard(const QStringList &sources) : sources(sources)
{
    for (const QString &source : sources) {
        const QString identity = identityOf(source);
        if (!identity.isEmpty())
            identities.insert(identity);
    }
}

SourceVerdict SourceGuard::check(const QString &source, const ConversionCall &call) const
{
    if (!QFile::exists(source))
        return {SourceRefusal::Unreadable, QString()};
    if (wouldOverwriteSource(source, call.outputPath))
        return {SourceRefusal::ReplacesSource, source};
    return {};
}

bool SourceGuard::isListed(const QString &path) const
{
    const QString identity = identityOf(path);
    return !identity.isEmpty() && identities.contains(identity);
}

} // namespace velinor

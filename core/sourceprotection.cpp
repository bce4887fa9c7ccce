#include "sourceprotection.h"

#include "arguments.h"
#include "cbz.h"
#include "filenamecase.h"
#include "nativenames.h"
#include "paths.h"
#include "pdfpages.h"
#include "screens.h"
#include "tnsrename.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

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
    if (::stat(nameBytes(path).constData(), &status) != 0)
        return QString();
    return QString::number(quint64(status.st_dev)) + QLatin1Char(':') +
           QString::number(quint64(status.st_ino));
#else
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return fileNameCase == Qt::CaseInsensitive ? canonical.toLower() : canonical;
#endif
}

QString cleanAbsolute(const QString &path)
{
#ifdef Q_OS_UNIX
    // What QFileInfo gives an absolute path, cleaned already, without the file-system entry it
    // builds: every file of a run comes here several times.
    if (path.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(path);
#endif
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

bool wouldOverwriteSource(const QString &source, const QString &outputPath,
                          Qt::CaseSensitivity outputCase)
{
    if (cleanAbsolute(source).compare(cleanAbsolute(outputPath), outputCase) == 0)
        return true;
    // Only an existing output can be the source under another name; a missing one has no
    // canonical path, and an empty canonical path must not match another empty one. Asking
    // first spares each image of a run a look at every folder of both paths.
    if (!QFileInfo::exists(outputPath))
        return false;
    const QString canonicalIn = QFileInfo(source).canonicalFilePath();
    const QString canonicalOut = QFileInfo(outputPath).canonicalFilePath();
    return !canonicalIn.isEmpty() && canonicalIn.compare(canonicalOut, outputCase) == 0;
}

SourceGuard::SourceGuard(const QStringList &sources, const QString &destination,
                         Qt::CaseSensitivity destinationCase)
    : destinationCase(destinationCase)
{
    QHash<QString, QString> byIdentity;
    const QString foldedDestination = cleanAbsolute(destination).toCaseFolded();
    for (const QString &source : sources) {
        const QString identity = identityOf(source);
        if (!identity.isEmpty() && !byIdentity.contains(identity))
            byIdentity.insert(identity, source);
        const QString folded = cleanAbsolute(source).toCaseFolded();
        foldedPaths.insert(folded);
        // Its name as the destination spells it may not be the one the listing below gives.
        if (destinationCase == Qt::CaseInsensitive && !identity.isEmpty() &&
            !destination.isEmpty() &&
            QDir::cleanPath(QFileInfo(source).absolutePath()).toCaseFolded() == foldedDestination)
            exposed.append({fileName(source), source});
    }
    identities = QSet<QString>(byIdentity.keyBegin(), byIdentity.keyEnd());
    if (destination.isEmpty() || identities.isEmpty())
        return;
    const QDir folder(destination);
    const QStringList names = folder.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QString &name : names) {
        const auto found = byIdentity.constFind(identityOf(folder.filePath(name)));
        if (found != byIdentity.cend())
            exposed.append({name, found.value()});
    }
}

SourceVerdict SourceGuard::check(const QString &source, const ConversionCall &call, bool tns,
                                 bool cbz, bool screens) const
{
    // Readable as a run finds it, by the read of its first bytes.
    if (!readableKind(source))
        return {SourceRefusal::Unreadable, QString()};
    return checkReadable(source, call, tns, cbz, screens);
}

SourceVerdict SourceGuard::checkReadable(const QString &source, const ConversionCall &call,
                                         bool tns, bool cbz, bool screens) const
{
    if (wouldOverwriteSource(source, call.outputPath, destinationCase))
        return {SourceRefusal::ReplacesSource, source};
    const QLatin1String tnsSuffix(".tns");
    for (const auto &[name, listed] : exposed) {
        QString image = name;
        if (tns && image.endsWith(tnsSuffix, destinationCase))
            image.chop(tnsSuffix.size());
        if (isOwnImage(image, call.baseName, call.extension, destinationCase) ||
            (screens && isOwnPiece(image, call.baseName, call.extension, destinationCase)) ||
            (cbz && name.compare(cbzName(call.baseName), destinationCase) == 0))
            return {SourceRefusal::ReplacesSource, listed};
    }
    return {};
}

bool SourceGuard::isListed(const QString &path, Qt::CaseSensitivity folderCase) const
{
    const QString identity = identityOf(path);
    if (!identity.isEmpty() && identities.contains(identity))
        return true;
    return folderCase == Qt::CaseInsensitive &&
           foldedPaths.contains(cleanAbsolute(path).toCaseFolded());
}

} // namespace velinor

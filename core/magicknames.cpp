#include "magicknames.h"

#include "paths.h"
#include "scratchfolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>

namespace velinor {

namespace {

// A drive letter's colon is the only one ImageMagick does not take for a format's.
bool holdsFormatColon(const QString &path)
{
    const bool drive = path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter();
    return path.indexOf(QLatin1Char(':'), drive ? 2 : 0) >= 0;
}

// An empty file, or false; never one that was there.
bool createEmpty(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

// "%%", "%[", "%d", "%3o", "%03x"…; "%-d", "%X" or a lone "%" are not: ImageMagick leaves those
// as they are. Read by hand rather than by a regular expression, whose first use costs more than
// a converter call that does nothing.
bool holdsFrameTemplate(const QString &path)
{
    for (qsizetype at = path.indexOf(QLatin1Char('%')); at >= 0;
         at = path.indexOf(QLatin1Char('%'), at + 1)) {
        qsizetype next = at + 1;
        if (next < path.size() &&
            (path.at(next) == QLatin1Char('%') || path.at(next) == QLatin1Char('[')))
            return true;
        while (next < path.size() && path.at(next).isDigit() && path.at(next).unicode() < 128)
            ++next;
        if (next < path.size() && QStringView(u"dox").contains(path.at(next)))
            return true;
    }
    return false;
}

} // namespace

bool isWildcardName(const QString &fileName)
{
    return std::any_of(fileName.cbegin(), fileName.cend(),
                       [](QChar c) { return QStringView(u"*?[]{}").contains(c); });
}

bool writesUnderOwnName(const QString &outputPath)
{
    const QString name = fileName(outputPath);
    const bool extensionAlone = name.lastIndexOf(QLatin1Char('.')) == 0;
    return !extensionAlone && !holdsFrameTemplate(outputPath);
}

QString literalOutput(const QString &outputPath, bool severalImages)
{
    QString escaped = outputPath;
    escaped.replace(QLatin1Char('%'), QLatin1String("%%"));
    if (!severalImages)
        return escaped;
    // A name holding a frame number gets no "-N" of ImageMagick's own, so it is written out.
    const qsizetype dot = escaped.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = escaped.lastIndexOf(QLatin1Char('/'));
    const qsizetype at = dot > slash ? dot : escaped.size();
    return escaped.insert(at, QLatin1String("-%d"));
}

QString absoluteForMagick(const QString &path)
{
#ifdef Q_OS_UNIX
    // Asked of every call's paths, nearly all absolute already: QDir would build a QFileInfo.
    if (path.startsWith(QLatin1Char('/')))
        return path;
#endif
    return QDir::isRelativePath(path) ? QDir::current().absoluteFilePath(path) : path;
}

LiteralNames::LiteralNames(const QString &input, const QString &output)
{
    QStringList patterns;
    for (const QString &path : {input, output}) {
        const QString name = fileName(path);
        if (!path.isEmpty() && isWildcardName(name))
            patterns << name;
    }
    if (!patterns.isEmpty()) {
        scratch = std::make_unique<QTemporaryDir>(scratchTemplate());
        ready = scratch->isValid();
        for (const QString &name : std::as_const(patterns)) {
            // Not QDir::filePath, which would take a name beginning with ":" for a resource.
            const QString path = scratch->path() + QLatin1Char('/') + name;
            ready = ready && (QFileInfo::exists(path) || createEmpty(path));
        }
    }
    // The converter's own output replaces the empty file, or writes numbered pages beside it.
    if (!output.isEmpty() && holdsFormatColon(output) && createEmpty(output))
        placeholder = output;
}

LiteralNames::~LiteralNames()
{
    if (placeholder.isEmpty())
        return;
    const QFileInfo left(placeholder);
    if (left.isFile() && left.size() == 0)
        QFile::remove(placeholder);
}

QString LiteralNames::workingDirectory() const
{
    return scratch ? scratch->path() : QString();
}

} // namespace velinor

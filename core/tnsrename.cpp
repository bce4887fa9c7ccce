#include "tnsrename.h"

#include "filenamecase.h"
#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace velinor {

namespace {

const QLatin1String tns(".tns");

QFileInfoList outputsOf(const QString &folder, const QString &baseName, const QString &extension,
                        QDir::Filters filters)
{
    const QString pattern =
        escapeNameFilter(baseName) + QLatin1Char('*') + escapeNameFilter(extension);
    return QDir(folder).entryInfoList(QStringList{pattern}, filters, QDir::NoSort);
}

// A fresh conversion supersedes the ".tns" file an earlier run left, hence the removal.
void replaceWithTns(const QFileInfo &image)
{
    const QString target = image.absoluteFilePath() + tns;
    if (QFile::exists(target))
        QFile::remove(target);
    QFile::rename(image.absoluteFilePath(), target);
}

} // namespace

QString escapeNameFilter(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('[') || c == QLatin1Char(']') || c == QLatin1Char('*') ||
            c == QLatin1Char('?')) {
            escaped += QLatin1Char('[');
            escaped += c;
            escaped += QLatin1Char(']');
        } else {
            escaped += c;
        }
    }
    return escaped;
}

bool renameOutputsToTns(const QString &destination, const QString &baseName,
                        const QString &extension, const SourceGuard &listed)
{
    bool any = false;
    for (const QFileInfo &image : outputsOf(destination, baseName, extension, QDir::Files)) {
        // The prefix takes in other files' names too, and a listed source must keep its own.
        if (listed.isListed(image.absoluteFilePath()) ||
            listed.isListed(image.absoluteFilePath() + tns))
            continue;
        replaceWithTns(image);
        any = true;
    }
    return any;
}

int renameImagesOfSource(const QString &sourcePath, TnsDirection direction,
                         const SourceGuard &listed)
{
    const QString folder = folderPart(sourcePath);
    if (!QDir(folder).exists())
        return 0;
    const QString base = escapeNameFilter(baseName(fileName(sourcePath)));
    const QStringList patterns =
        direction == TnsDirection::ToTns
            ? QStringList{base + QLatin1String("*.png"), base + QLatin1String("*.jpg")}
            // Only images wear ".tns" over their own extension: a calculator document such as
            // "cours.tns" would become a file nothing can open.
            : QStringList{base + QLatin1String("*.png.tns"), base + QLatin1String("*.jpg.tns")};
    int renamed = 0;
    const QFileInfoList files = QDir(folder).entryInfoList(patterns, QDir::Files, QDir::NoSort);
    for (const QFileInfo &file : files) {
        const QString from = file.absoluteFilePath();
        // A listed image lies where its own images are looked for and bears their names.
        if (listed.isListed(from))
            continue;
        const QString to =
            direction == TnsDirection::ToTns ? from + tns : from.section(QLatin1Char('.'), 0, -2);
        // QFile::rename refuses an existing target: a file already there keeps its content.
        if (QFile::rename(from, to))
            ++renamed;
    }
    return renamed;
}

bool isOwnImage(const QString &fileName, const QString &baseName, const QString &extension)
{
    if (!fileName.startsWith(baseName, fileNameCase) || !fileName.endsWith(extension, fileNameCase))
        return false;
    const qsizetype pageLength = fileName.size() - baseName.size() - extension.size();
    if (pageLength == 0)
        return true;
    // A page number needs the "-" and at least one digit.
    if (pageLength < 2 || fileName.at(baseName.size()) != QLatin1Char('-'))
        return false;
    const QStringView page = QStringView(fileName).mid(baseName.size() + 1, pageLength - 1);
    for (const QChar c : page) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

bool renameOwnImagesToTns(const QString &destination, const QString &baseName,
                          const QString &extension)
{
    // An empty base name makes ".png" an own image, which Unix lists only among hidden files.
    const QFileInfoList candidates =
        outputsOf(destination, baseName, extension, QDir::Files | QDir::Hidden);
    bool any = false;
    for (const QFileInfo &image : candidates) {
        if (isOwnImage(image.fileName(), baseName, extension)) {
            replaceWithTns(image);
            any = true;
        }
    }
    return any;
}

} // namespace velinor

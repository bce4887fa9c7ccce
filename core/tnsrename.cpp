#include "tnsrename.h"

#include "arguments.h"
#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <optional>

namespace velinor {

namespace {

const QLatin1String tns(".tns");

// A fresh conversion supersedes the ".tns" file an earlier run left, hence the removal.
bool replaceWithTns(const QString &image)
{
    const QString target = image + tns;
    if (QFile::exists(target))
        QFile::remove(target);
    return QFile::rename(image, target);
}

QString pageName(const ConversionCall &file, int page)
{
    return file.baseName + QLatin1Char('-') + QString::number(page) + file.extension;
}

// The page names that lie in the folder from this page on, up to the first missing one.
QStringList pagesFrom(const QDir &folder, const ConversionCall &file, int first)
{
    QStringList names;
    for (int page = first; QFileInfo::exists(folder.filePath(pageName(file, page))); ++page)
        names << pageName(file, page);
    return names;
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
    // How the folder compares names matters only to a name that is a listed file's but for its
    // letter case: only then is the folder asked.
    std::optional<Qt::CaseSensitivity> folderCase;
    const auto isListed = [&](const QString &path) {
        if (listed.isListed(path))
            return true;
        if (!listed.isListed(path, Qt::CaseInsensitive))
            return false;
        if (!folderCase)
            folderCase = folderNameCase(folder);
        return *folderCase == Qt::CaseInsensitive;
    };
    int renamed = 0;
    const QFileInfoList files = QDir(folder).entryInfoList(patterns, QDir::Files, QDir::NoSort);
    for (const QFileInfo &file : files) {
        const QString from = file.absoluteFilePath();
        // A listed image lies where its own images are looked for and bears their names.
        if (isListed(from))
            continue;
        const QString to =
            direction == TnsDirection::ToTns ? from + tns : from.section(QLatin1Char('.'), 0, -2);
        // QFile::rename refuses an existing target: a file already there keeps its content.
        if (QFile::rename(from, to))
            ++renamed;
    }
    return renamed;
}

bool isOwnImage(const QString &fileName, const QString &baseName, const QString &extension,
                Qt::CaseSensitivity nameCase)
{
    if (!fileName.startsWith(baseName, nameCase) || !fileName.endsWith(extension, nameCase))
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

TnsRenamer::TnsRenamer(const QString &destination, TnsRename rule, Qt::CaseSensitivity nameCase,
                       const SourceGuard &listed)
    : destination(destination), rule(rule), nameCase(nameCase), listed(listed)
{}

void TnsRenamer::listOnce(const QString &extension)
{
    if (listedYet && extension == listedExtension)
        return;
    listedYet = true;
    listedExtension = extension;
    names.clear();
    const QStringList all = QDir(destination).entryList(QDir::Files | QDir::Hidden, QDir::NoSort);
    for (const QString &name : all) {
        // Whatever either rule takes ends with the extension, letter case ignored.
        if (name.endsWith(extension, Qt::CaseInsensitive))
            names.insert({name.toCaseFolded(), name});
    }
}

// The window's rule was a QDir name filter, which ignores case; velinor-cli's is the converter's.
bool TnsRenamer::takes(const QString &name, const ConversionCall &file) const
{
    if (rule == TnsRename::OwnImages)
        return isOwnImage(name, file.baseName, file.extension, nameCase);
    return name.size() >= file.baseName.size() + file.extension.size() &&
           name.startsWith(file.baseName, Qt::CaseInsensitive) &&
           name.endsWith(file.extension, Qt::CaseInsensitive);
}

QStringList TnsRenamer::candidates(const ConversionCall &file, QList<int> firstPages,
                                   const QStringList &images) const
{
    QStringList found;
    QSet<QString> seen;
    const auto add = [&](const QString &name, bool own = false) {
        const QString key = nameCase == Qt::CaseInsensitive ? name.toCaseFolded() : name;
        if (!seen.contains(key) && (own || takes(name, file))) {
            seen.insert(key);
            found << name;
        }
    };
    // Those listed first: they keep the spelling the folder gave them.
    const QString prefix = file.baseName.toCaseFolded();
    for (auto at = names.lower_bound({prefix, QString()});
         at != names.end() && at->first.startsWith(prefix); ++at)
        add(at->second);
    const QDir folder(destination);
    add(file.baseName + file.extension);
    if (!firstPages.contains(0))
        firstPages.prepend(0);
    for (const int first : firstPages) {
        for (const QString &name : pagesFrom(folder, file, first))
            add(name);
    }
    for (const QString &image : images)
        add(fileName(image), true);
    return found;
}

bool TnsRenamer::renameAfter(const ConversionCall &file, const QList<int> &firstPages,
                             const QStringList &images)
{
    listOnce(file.extension);
    bool any = false;
    const QDir folder(destination);
    for (const QString &name : candidates(file, firstPages, images)) {
        const QFileInfo image(folder.filePath(name));
        // As the folder's listing with QDir::Files gave them: hidden files only to OwnImages.
        if (!image.isFile() || (rule == TnsRename::ByPrefix && image.isHidden()))
            continue;
        const QString path = image.absoluteFilePath();
        // The prefix takes in other files' names too, and a listed source must keep its own.
        if (rule == TnsRename::ByPrefix &&
            (listed.isListed(path, nameCase) || listed.isListed(path + tns, nameCase)))
            continue;
        any = true;
        const Entry entry{name.toCaseFolded(), name};
        if (replaceWithTns(path))
            names.erase(entry);
        else // still there for the rule of a later file, as a listing would find it
            names.insert(entry);
    }
    return any;
}

QStringList writtenImages(const QString &destination, const ConversionCall &file, int images)
{
    const QDir folder(destination);
    const QString own = file.baseName + file.extension;
    QStringList pages;
    if (images > 1) {
        for (int page = 0; page < images; ++page)
            pages << folder.filePath(pageName(file, page));
        return pages;
    }
    if (images == 0) {
        pages = pagesFrom(folder, file, 0);
        // Where both are there, one is left from an earlier conversion of another kind of file
        // of that name: the call wrote the newer.
        const QFileInfo single(folder.filePath(own));
        if (!pages.isEmpty() &&
            (!single.exists() ||
             QFileInfo(folder.filePath(pages.first())).lastModified() >= single.lastModified())) {
            for (QString &page : pages)
                page = folder.filePath(page);
            return pages;
        }
    }
    return {folder.filePath(own)};
}

} // namespace velinor

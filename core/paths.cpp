#include "paths.h"

#include <QDir>
#include <QUrl>

namespace velinor {

QString fileName(const QString &path)
{
    return path.section(QLatin1Char('/'), -1, -1);
}

QString folderPart(const QString &path)
{
    return path.section(QLatin1Char('/'), 0, -2);
}

QString folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.left(slash);
}

QString dropPath(const QUrl &url)
{
#ifdef Q_OS_WIN
    return url.path().mid(1);
#else
    return url.path();
#endif
}

QString baseName(const QString &fileName)
{
    return fileName.section(QLatin1Char('.'), 0, -2);
}

QString joinPath(const QString &folder, const QString &name)
{
    // QDir takes a name beginning with ":" for a resource path and would return it alone, which
    // would read another file and write outside the folder; such a name is joined like any other.
    if (name.startsWith(QLatin1Char(':'))) {
        const QString joined = QDir(folder).filePath(QStringLiteral("_"));
        return joined.left(joined.size() - 1) + name;
    }
    return QDir(folder).filePath(name);
}

} // namespace velinor

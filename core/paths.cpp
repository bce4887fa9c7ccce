#include "paths.h"

#include <QDir>
#include <QUrl>

namespace velinor {

// Every file of a run passes here several times: QString::section would split the whole path
// into a list each time for the one piece wanted.
QString fileName(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString folderPart(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash);
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
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.left(dot);
}

QString joinPath(const QString &folder, const QString &name)
{
    // QDir takes a name beginning with ":" for a resource path and would return it alone, which
    // would read another file and write outside the folder; such a name is joined like any other.
    if (name.startsWith(QLatin1Char(':'))) {
        const QString joined = QDir(folder).filePath(QStringLiteral("_"));
        return joined.left(joined.size() - 1) + name;
    }
#ifdef Q_OS_UNIX
    // QDir's own rule for the common case, without the QDir it builds: once per file and call.
    if (folder.startsWith(QLatin1Char('/')) && !name.isEmpty() &&
        !name.startsWith(QLatin1Char('/'))) {
        const bool trailing = folder.size() > 1 && folder.endsWith(QLatin1Char('/'));
        QString joined = folder.left(folder.size() - (trailing ? 1 : 0));
        if (!joined.endsWith(QLatin1Char('/')))
            joined += QLatin1Char('/');
        return joined + name;
    }
#endif
    return QDir(folder).filePath(name);
}

} // namespace velinor

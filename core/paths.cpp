#include "paths.h"

#include <QDir>

namespace velinor {

QString fileName(const QString &path)
{
    return path.section(QLatin1Char('/'), -1, -1);
}

QString folderPart(const QString &path)
{
    return path.section(QLatin1Char('/'), 0, -2);
}

QString baseName(const QString &fileName)
{
    return fileName.section(QLatin1Char('.'), 0, -2);
}

QString joinPath(const QString &folder, const QString &name)
{
    return QDir(folder).filePath(name);
}

} // namespace velinor

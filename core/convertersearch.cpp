#include "convertersearch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace velinor {

ConverterSearch searchInstallFolders(const QStringList &baseFolders, const QString &folderPattern,
                                     const QString &programName)
{
    if (baseFolders.isEmpty())
        return ConverterSearch{};
    // The last base folder is taken untested: a missing one just lists nothing and leaves the
    // user's dialog to open somewhere sensible.
    QDir folder(baseFolders.value(baseFolders.size() - 1));
    for (qsizetype i = 0; i + 1 < baseFolders.size(); ++i) {
        if (QDir(baseFolders.at(i)).exists()) {
            folder.setPath(baseFolders.at(i));
            break;
        }
    }

    const QStringList installs =
        folder.entryList(QStringList{folderPattern}, QDir::Dirs, QDir::Name);
    if (!installs.isEmpty()) {
        folder.cd(installs.last());
        const QStringList programs =
            folder.entryList(QStringList{programName}, QDir::Files, QDir::NoSort);
        if (!programs.isEmpty()) {
            const QString path = folder.absolutePath() + QLatin1Char('/') + programs.last();
            if (QFile::exists(path))
                return ConverterSearch{path, QString()};
        }
    }
    return ConverterSearch{QString(), folder.absolutePath()};
}

QString findOnPath(const QStringList &programNames)
{
    for (const QString &name : programNames) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return QFileInfo(found).absoluteFilePath();
    }
    return QString();
}

ConverterSearch searchConverter()
{
#ifdef Q_OS_WIN
    return searchInstallFolders(
        QStringList{QStringLiteral("C:/Program Files (x86)/"), QStringLiteral("C:/Program Files/")},
        QStringLiteral("ImageMagick*"), QStringLiteral("convert.exe"));
#else
    // ImageMagick 7 may install only "magick", which converts when given the same arguments.
    const QString path =
        findOnPath(QStringList{QStringLiteral("convert"), QStringLiteral("magick")});
    return ConverterSearch{path, path.isEmpty() ? QStringLiteral("/usr/bin") : QString()};
#endif
}

QString findConverter()
{
    return searchConverter().path;
}

} // namespace velinor

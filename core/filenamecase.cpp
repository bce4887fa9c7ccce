#include "filenamecase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace velinor {

Qt::CaseSensitivity folderNameCase(const QString &folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return fileNameCase;
#else
    if (folder.isEmpty())
        return fileNameCase;
    QString existing = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo(existing).isDir()) {
        const QString parent = QFileInfo(existing).absolutePath();
        if (parent == existing)
            return fileNameCase;
        existing = parent;
    }
    // Lower-case letters, so that the upper-case spelling differs; random, so that it names no
    // file of the user's.
    const QString name =
        QStringLiteral(".velinor-case-%1")
            .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
    QFile probe(QDir(existing).filePath(name));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fileNameCase;
    const bool folds = QFileInfo::exists(QDir(existing).filePath(name.toUpper()));
    probe.remove();
    return folds ? Qt::CaseInsensitive : Qt::CaseSensitive;
#endif
}

} // namespace velinor

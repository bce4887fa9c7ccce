#include "runsetup.h"

#include "paths.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

namespace velinor {

QString defaultDestination(const QStringList &listed)
{
    if (listed.isEmpty())
        return QString();
    // A file at the root has its folder there, not nowhere.
    const QString folder = folderOf(listed.last());
    return folder.isEmpty() && listed.last().startsWith(QLatin1Char('/')) ? QStringLiteral("/")
                                                                          : folder;
}

int jobCount(int asked)
{
    return asked > 0 ? asked : std::max(1, QThread::idealThreadCount());
}

DestinationFolder createDestination(const QString &folder)
{
    if (QDir(folder).exists() || QDir().mkpath(folder))
        return {};
    // The nearest part of the path that is there tells why: "/" always is.
    QString blocking = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo::exists(blocking) && blocking != QFileInfo(blocking).absolutePath())
        blocking = QFileInfo(blocking).absolutePath();
    const QFileInfo found(blocking);
    using Outcome = DestinationFolder::Outcome;
    const Outcome outcome = !found.isDir()        ? Outcome::NotAFolder
                            : !found.isWritable() ? Outcome::NotWritable
                                                  : Outcome::Refused;
    return {outcome, blocking};
}

} // namespace velinor

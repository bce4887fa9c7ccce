#include "processes.h"

#include <QDir>
#include <QFile>

namespace processes {

QStringList marked(const QString &name, const QString &value)
{
    QStringList found;
    const QByteArray wanted = (name + QLatin1Char('=') + value).toUtf8();
    const QDir proc(QStringLiteral("/proc"));
    for (const QString &pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile environ(proc.filePath(pid + QStringLiteral("/environ")));
        if (!environ.open(QIODevice::ReadOnly) || !environ.readAll().split('\0').contains(wanted))
            continue;
        QFile comm(proc.filePath(pid + QStringLiteral("/comm")));
        comm.open(QIODevice::ReadOnly);
        found << pid + QLatin1Char(':') + QString::fromUtf8(comm.readAll().trimmed());
    }
    return found;
}

} // namespace processes

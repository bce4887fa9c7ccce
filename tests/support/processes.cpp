#include "processes.h"

#include "testenv.h"

#include <QDir>

QStringList processes::marked(const QString &name, const QString &value)
{
    QStringList found;
    const QByteArray wanted = (name + '=' + value).toUtf8();
    for (const QString &pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (testenv::readFile("/proc/" + pid + "/environ").split('\0').contains(wanted))
            found << pid + ':' + testenv::readFile("/proc/" + pid + "/comm").trimmed();
    return found;
}

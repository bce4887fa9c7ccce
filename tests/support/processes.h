#ifndef VELINOR_TEST_PROCESSES_H
#define VELINOR_TEST_PROCESSES_H

#include "testenv.h"

namespace processes {

// "pid:command" of every process whose environment holds name=value: a test marks the programs
// it starts this way, and whatever they start inherits the mark.
inline QStringList marked(const QString &name, const QString &value)
{
    QStringList found;
    const QByteArray wanted = (name + '=' + value).toUtf8();
    for (const QString &pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (testenv::readFile("/proc/" + pid + "/environ").split('\0').contains(wanted))
            found << pid + ':' + testenv::readFile("/proc/" + pid + "/comm").trimmed();
    return found;
}

} // namespace processes

#endif

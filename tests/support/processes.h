#ifndef VELINOR_TEST_PROCESSES_H
#define VELINOR_TEST_PROCESSES_H

#include <QStringList>

namespace processes {

// "pid:command" of every process whose environment holds name=value: a test marks the programs
// it starts this way, and whatever they start inherits the mark.
QStringList marked(const QString &name, const QString &value);

} // namespace processes

#endif

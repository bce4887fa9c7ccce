#ifndef VELINOR_CONVERTERRUN_H
#define VELINOR_CONVERTERRUN_H

#include <QString>
#include <QStringList>

namespace velinor {

// Runs the converter on one file and waits for it: no shell, each element one argument as is,
// in workingDirectory when one is given. Returns its exit code, -2 when it cannot be started,
// -1 when it crashed; only 0 is a success.
int runConverter(const QString &program, const QStringList &arguments,
                 const QString &workingDirectory = QString());

} // namespace velinor

#endif

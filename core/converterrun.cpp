#include "converterrun.h"

#include <QProcess>

namespace velinor {

int runConverter(const QString &program, const QStringList &arguments)
{
    return QProcess::execute(program, arguments);
}

} // namespace velinor

// Makes the converter calls of bench/cli-and-window.sh the way velinor makes them, one after the
// other, and nothing else: no checks of the files, no plans, no reports. Timed against the shell
// loop, it shows what starting and ending a call costs velinor; velinor-cli's own time on top of
// it is the rest of what velinor does for a file.
//   velinor-bench-calls CONVERTER DESTINATION FILE...
#include "converterprocess.h"
#include "interruption.h"
#include "scratchfolders.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    // As velinor-cli waits: in Qt's own loop, its stop handlers in place.
    const bool noGlibGiven = qEnvironmentVariableIsSet("QT_NO_GLIB");
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication application(argc, argv);
    if (!noGlibGiven)
        qunsetenv("QT_NO_GLIB");
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fputs("usage: velinor-bench-calls CONVERTER DESTINATION FILE...\n", stderr);
        return 2;
    }
    const velinor::Interruption handlers;
    const velinor::ScratchRun scratch;
    velinor::ConverterProcess process;
    const QString converter = args.at(1), destination = args.at(2);
    qsizetype next = 3;
    int failed = 0;
    const auto startNext = [&] {
        if (next == args.size()) {
            QCoreApplication::exit(failed > 0 ? 1 : 0);
            return;
        }
        const QString source = args.at(next++);
        process.start(converter,
                      {QStringLiteral("-density"), QStringLiteral("150"), source,
                       QStringLiteral("-quality"), QStringLiteral("95"), QStringLiteral("-type"),
                       QStringLiteral("GrayScale"), QStringLiteral("-depth"), QStringLiteral("4"),
                       QStringLiteral("-alpha"), QStringLiteral("remove"),
                       destination + QLatin1Char('/') + QFileInfo(source).completeBaseName() +
                           QStringLiteral(".png")},
                      QString());
    };
    QObject::connect(&process, &velinor::ConverterProcess::ended,
                     [&](velinor::ConverterProcess::Ending ending, int code) {
                         failed += ending != velinor::ConverterProcess::Ending::Exited || code;
                         startNext();
                     });
    QTimer::singleShot(0, startNext);
    return QCoreApplication::exec();
}

// velinor-cli: the window's conversion from the command line, several files at once.
#include "batch.h"
#include "commandline.h"
#include "interruption.h"
#include "shellquote.h"

#include "arguments.h"
#include "convertersearch.h"
#include "paths.h"
#include "translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QTranslator>

#include <algorithm>
#include <cstdio>

namespace {

enum ExitStatus { AllConverted = 0, SomeFailed = 1, UsageError = 2 };

void print(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

int usageError(const QString &error)
{
    print(stderr,
          QCoreApplication::translate("velinor-cli", "velinor-cli : %1").arg(error) +
              QLatin1Char('\n') +
              QCoreApplication::translate("velinor-cli", "Pour l'aide : velinor-cli --help") +
              QLatin1Char('\n'));
    return UsageError;
}

// A path is taken as it stands; a bare name is looked for on PATH, as a shell would.
QString converterFrom(const QString &given)
{
    if (!given.contains(QLatin1Char('/')))
        return velinor::findOnPath(QStringList{given});
    const QFileInfo info(given);
    return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
}

// The window lists what drops give, absolute paths, and removes later duplicates; "a.pdf" and
// "./a.pdf" are thus one file here too.
QList<SourceFile> sourceList(const QStringList &given)
{
    QList<SourceFile> files;
    QStringList paths;
    for (const QString &name : given) {
        // An empty name must stay a missing file, not become the working folder.
        const QString path = name.isEmpty() ? name : QFileInfo(name).absoluteFilePath();
        if (paths.contains(path))
            continue;
        paths << path;
        files << SourceFile{name, path};
    }
    return files;
}

int dryRun(const QString &converter, const QString &destination,
           const velinor::ConversionOptions &options, bool tns, const QList<SourceFile> &files)
{
    Progress progress(int(files.size()), true);
    bool anyRefused = false;
    QStringList paths;
    for (const SourceFile &file : files)
        paths << file.path;
    const velinor::SourceGuard listed(paths, destination);
    for (const SourceFile &file : files) {
        const velinor::ConversionCall call =
            velinor::buildConversion(file.path, destination, options);
        const QString refused = refusal(listed, file, call, tns);
        if (refused.isEmpty()) {
            print(stdout, shellCommandLine(converter, call.arguments) + QLatin1Char('\n'));
        } else {
            anyRefused = true;
        }
        progress.fileDone(file.given, refused.isEmpty() ? QStringList() : QStringList{refused});
    }
    return anyRefused ? SomeFailed : AllConverted;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velinor-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELINOR_VERSION));
    QTranslator translator;
    velinor::installTranslator(application, translator);

    const CommandLine line = parseCommandLine(QCoreApplication::arguments().mid(1));
    switch (line.action) {
    case CommandLine::Action::UsageError:
        return usageError(line.error);
    case CommandLine::Action::Help:
        print(stdout, helpText());
        return AllConverted;
    case CommandLine::Action::Version:
        print(stdout, QStringLiteral("velinor-cli " VELINOR_VERSION "\n"));
        return AllConverted;
    case CommandLine::Action::Convert:
    case CommandLine::Action::DryRun:
        break;
    }

    const QString converter =
        line.converter.isEmpty() ? velinor::findConverter() : converterFrom(line.converter);
    if (converter.isEmpty()) {
        print(stderr,
              line.converter.isEmpty()
                  ? QCoreApplication::translate("velinor-cli",
                                                "ImageMagick est introuvable : installez-le, ou "
                                                "indiquez le convertisseur avec --converter.\n")
                  : QCoreApplication::translate(
                        "velinor-cli", "Le convertisseur « %1 » est introuvable ou ne peut pas "
                                       "être lancé.\n")
                        .arg(line.converter));
        return UsageError;
    }

    const QList<SourceFile> files = sourceList(line.files);
    const QString destination =
        line.destination.isEmpty() ? velinor::folderOf(files.last().path) : line.destination;

    if (line.action == CommandLine::Action::DryRun)
        return dryRun(converter, destination, line.options, line.tns, files);

    if (!QDir(destination).exists() && !QDir().mkpath(destination)) {
        print(stderr, QCoreApplication::translate(
                          "velinor-cli", "Impossible de créer le dossier de destination « %1 ».\n")
                          .arg(destination));
        return SomeFailed;
    }

    BatchSettings settings;
    settings.converter = converter;
    settings.destination = destination;
    settings.options = line.options;
    settings.tns = line.tns;
    settings.quiet = line.quiet;
    settings.jobs = line.jobs > 0 ? line.jobs : std::max(1, QThread::idealThreadCount());

    Batch batch(settings, files);
    Interruption interruption;
    QObject::connect(&interruption, &Interruption::requested, &batch, &Batch::interrupt);
    QObject::connect(&batch, &Batch::finished, &application, &QCoreApplication::exit);
    // From inside the event loop: a batch with nothing to run ends at once, and an exit()
    // before exec() would be lost.
    QMetaObject::invokeMethod(&batch, &Batch::start, Qt::QueuedConnection);
    return application.exec();
}

#include "batch.h"

#include "magickpolicy.h"
#include "pdfpages.h"
#include "reasons.h"
#include "shellquote.h"

#include <QCoreApplication>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#else
#include <io.h>
#define STDERR_FILENO 2
#define isatty _isatty
#endif

namespace {

void writeError(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace

Progress::Progress(int total, bool quiet)
    : total(total), quiet(quiet), terminal(::isatty(STDERR_FILENO) == 1)
{}

void Progress::pagesDone(const QString &name, int pagesDone, int pages)
{
    if (!terminal || quiet)
        return;
    writeError(
        QStringLiteral("\r[%1/%2] %3 ").arg(done + 1).arg(total).arg(name) +
        QCoreApplication::translate("velinor-cli", "(%1 pages sur %2)").arg(pagesDone).arg(pages) +
        QLatin1String("\033[K"));
    lineOpen = true;
}

void Progress::fileDone(const QString &name, const QStringList &problems)
{
    ++done;
    if (lineOpen)
        writeError(QStringLiteral("\r\033[K"));
    lineOpen = false;
    if (quiet && problems.isEmpty())
        return;
    QString text =
        QStringLiteral("[%1/%2] %3\n").arg(QString::number(done), QString::number(total), name);
    for (const QString &problem : problems)
        text += problem + QLatin1Char('\n');
    writeError(text);
}

// Why a single image is not made, in words that name velinor-cli's own options.
static QString tooTallAdvice(const velinor::StackedImage &image)
{
    return image.lowerSupersampling
               ? QCoreApplication::translate("velinor-cli",
                                             "Choisissez un --supersampling plus bas, ou retirez "
                                             "--single-image pour obtenir une image par page.")
               : QCoreApplication::translate(
                     "velinor-cli", "Retirez --single-image pour obtenir une image par page.");
}

Batch::Batch(const BatchSettings &settings, const QList<SourceFile> &files, QObject *parent)
    : QObject(parent), files(files),
      // The commands go to standard output; only the files refused are told beside them.
      progress(int(files.size()), settings.quiet || settings.dryRun), converter(settings.converter),
      dryRun(settings.dryRun)
{
    velinor::EngineSettings engineSettings;
    engineSettings.converter = settings.converter;
    engineSettings.destination = settings.destination;
    engineSettings.options = settings.options;
    // Only each file's own images: files converted at the same time never rename each other's.
    engineSettings.tns = settings.tns ? velinor::TnsRename::OwnImages : velinor::TnsRename::None;
    engineSettings.jobs = settings.jobs;
    engineSettings.dryRun = settings.dryRun;
    QStringList paths;
    for (const SourceFile &file : files)
        paths << file.path;
    engine = std::make_unique<velinor::Engine>(engineSettings, paths);
    connect(engine.get(), &velinor::Engine::fileDone, this, &Batch::fileDone);
    connect(engine.get(), &velinor::Engine::fileProgress, this,
            [this](int index, int done, int pages) {
                progress.pagesDone(this->files.at(index).given, done, pages);
            });
    // Only an interruption stops the engine.
    connect(engine.get(), &velinor::Engine::finished, this, [this] {
        // Asked only now: reading every source first to find a PDF costs a run of small files.
        if (!failedPdf.isEmpty() && velinor::pdfRefused(converter, {failedPdf}))
            writeError(QCoreApplication::translate(
                "velinor-cli", "ImageMagick refuse de lire les PDF sur cet ordinateur (ses "
                               "réglages de sécurité). Pour les autoriser pour votre compte "
                               "seulement : velinor-cli --allow-pdf\n"));
        emit finished(interruptedBy ? 128 + interruptedBy : anyFailed ? 1 : 0);
    });
}

Batch::~Batch() = default;

void Batch::start()
{
    engine->start();
}

void Batch::fileDone(int index, const velinor::FileResult &result)
{
    using Outcome = velinor::FileResult::Outcome;
    for (const QStringList &call : result.calls)
        emit callPlanned(call);
    const SourceFile &file = files.at(index);
    QStringList problems;
    if (result.refused() && !file.unrepresentable.isEmpty())
        problems << velinor::unrepresentableText(file.unrepresentable, displayName);
    else if (result.outcome != Outcome::Converted)
        // Quoted like the progress line: a newline in a name must not fake a line of its own.
        problems << velinor::outcomeText(result, file.path, displayName);
    if (result.outcome == Outcome::TooTall)
        problems.last() += QLatin1Char(' ') + tooTallAdvice(result.image);
    if (result.outcome == Outcome::NotStarted || result.outcome == Outcome::Failed ||
        result.outcome == Outcome::Crashed) {
        if (!dryRun && failedPdf.isEmpty() &&
            velinor::documentKind(file.path) == velinor::DocumentKind::Pdf)
            failedPdf = file.path;
        for (const QString &line : velinor::failureDetails(result))
            problems << (problems.size() > 1 ? QLatin1String("    ") + line : line);
    }
    if (result.outcome == Outcome::PackFailed)
        problems << velinor::packDetails(result);
    if (result.renameFailed)
        problems << velinor::renameFailedText();
    anyFailed = anyFailed || !problems.isEmpty();
    progress.fileDone(file.given, problems);
}

void Batch::interrupt(int signalNumber)
{
    if (!interruptedBy) {
        writeError(QCoreApplication::translate(
            "velinor-cli", "Interrompu : aucune autre conversion ne commence, celles en cours "
                           "sont arrêtées.\n"));
        interruptedBy = signalNumber;
    }
    engine->stop();
}

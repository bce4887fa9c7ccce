#include "batch.h"

#include "nativenames.h"
#include "paths.h"
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
    QString text = QStringLiteral("[%1/%2] %3\n").arg(done).arg(total).arg(name);
    for (const QString &problem : problems)
        text += problem + QLatin1Char('\n');
    writeError(text);
}

static QString refusalText(const velinor::FileResult &result)
{
    if (result.outcome == velinor::FileResult::Outcome::Unreadable)
        return QCoreApplication::translate("velinor-cli", "Le fichier spécifié n'existe pas !");
    return QCoreApplication::translate("velinor-cli",
                                       "Conversion impossible de \"%1\" : l'image remplacerait "
                                       "le fichier source. Choisissez un autre dossier de "
                                       "destination.")
        .arg(displayName(velinor::fileName(result.replaced)));
}

QString unrepresentableText(const QByteArray &bytes)
{
    return QCoreApplication::translate("velinor-cli",
                                       "Le nom « %1 » n'est pas en UTF-8, le codage du système : "
                                       "velinor ne peut pas l'utiliser tel quel et ne lira ni "
                                       "n'écrira rien sous un autre nom.")
        .arg(displayName(velinor::escapedName(bytes)));
}

QString tooTallText(const QString &fileName, const velinor::StackedImage &image)
{
    const QString advice =
        image.lowerSupersampling
            ? QCoreApplication::translate("velinor-cli",
                                          "Choisissez un --supersampling plus bas, ou retirez "
                                          "--single-image pour obtenir une image par page.")
            : QCoreApplication::translate(
                  "velinor-cli", "Retirez --single-image pour obtenir une image par page.");
    return QCoreApplication::translate(
               "velinor-cli",
               "Impossible de créer une seule image de \"%1\" : ses %2 pages empilées feraient "
               "%3 pixels de haut, plus que les %4 pixels qu'accepte ImageMagick. %5")
        .arg(fileName)
        .arg(image.pages)
        .arg(image.height)
        .arg(image.limit)
        .arg(advice);
}

Batch::Batch(const BatchSettings &settings, const QList<SourceFile> &files, QObject *parent)
    : QObject(parent), files(files),
      // The commands go to standard output; only the files refused are told beside them.
      progress(int(files.size()), settings.quiet || settings.dryRun),
      pdfRefused(settings.pdfRefused)
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
        if (pdfFailed)
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
    // Quoted like the progress line: a newline in a name must not fake a line of its own.
    const QString fileName = displayName(velinor::fileName(files.at(index).path));
    QStringList problems;
    switch (result.outcome) {
    case Outcome::Converted:
        break;
    case Outcome::Unreadable:
    case Outcome::ReplacesSource:
        problems << (files.at(index).unrepresentable.isEmpty()
                         ? refusalText(result)
                         : unrepresentableText(files.at(index).unrepresentable));
        break;
    case Outcome::TooTall:
        problems << tooTallText(fileName, result.image);
        break;
    case Outcome::InvalidPdf:
        problems << QCoreApplication::translate("velinor-cli",
                                                "Le fichier « %1 » n'est pas un PDF valide : son "
                                                "arbre des pages annonce plus de pages qu'il n'en "
                                                "contient.")
                        .arg(fileName);
        break;
    case Outcome::NotStarted:
    case Outcome::Failed:
    case Outcome::Crashed:
        problems << QCoreApplication::translate("velinor-cli",
                                                "Erreur durant la conversion de \"%1\".")
                        .arg(fileName);
        pdfFailed = pdfFailed || (pdfRefused && velinor::documentKind(files.at(index).path) ==
                                                    velinor::DocumentKind::Pdf);
        for (const QString &line : velinor::failureDetails(result))
            problems << (problems.size() > 1 ? QLatin1String("    ") + line : line);
        break;
    case Outcome::PackFailed:
        problems << velinor::packFailure(fileName, result);
        break;
    }
    if (result.renameFailed)
        problems << QCoreApplication::translate("velinor-cli",
                                                "L'opération de renommage en .tns a échoué.");
    anyFailed = anyFailed || !problems.isEmpty();
    progress.fileDone(files.at(index).given, problems);
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

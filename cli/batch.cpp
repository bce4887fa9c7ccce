#include "batch.h"

#include "chunking.h"
#include "magicknames.h"
#include "paths.h"
#include "sourceprotection.h"
#include "tnsrename.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// Enough of a converter's standard error to hold its last lines, however much it writes.
const qsizetype errorTailBytes = 16 * 1024;
const int errorTailLines = 5;
// How far past a file held back by a name clash the scheduler looks for one it can start.
const int lookaheadPerJob = 8;

void writeError(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// Two files clash when a name that one of them writes can be a name that the other writes: the
// same base name, or one base name being the other's page name ("a-1" and the second page of
// "a"). Renaming to ".tns" picks images by those same names.
bool clash(const velinor::ConversionCall &a, const velinor::ConversionCall &b)
{
    return velinor::isOwnImage(a.baseName + a.extension, b.baseName, b.extension) ||
           velinor::isOwnImage(b.baseName + b.extension, a.baseName, a.extension);
}

QStringList lastLines(const QByteArray &output)
{
    QStringList lines = QString::fromLocal8Bit(output).split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.mid(std::max<qsizetype>(0, lines.size() - errorTailLines));
}

} // namespace

void Progress::fileDone(const QString &name, const QStringList &problems)
{
    ++done;
    if (quiet && problems.isEmpty())
        return;
    QString text = QStringLiteral("[%1/%2] %3\n").arg(done).arg(total).arg(name);
    for (const QString &problem : problems)
        text += problem + QLatin1Char('\n');
    writeError(text);
}

QString refusal(const velinor::SourceGuard &listed, const SourceFile &file,
                const velinor::ConversionCall &call, bool tns)
{
    const velinor::SourceVerdict verdict = listed.check(file.path, call, tns);
    switch (verdict.refusal) {
    case velinor::SourceRefusal::None:
        break;
    case velinor::SourceRefusal::Unreadable:
        return QCoreApplication::translate("velinor-cli", "Le fichier spécifié n'existe pas !");
    case velinor::SourceRefusal::ReplacesSource:
        return QCoreApplication::translate("velinor-cli", "Conversion impossible de \"") +
               velinor::fileName(verdict.replaced) +
               QCoreApplication::translate("velinor-cli",
                                           "\" : l'image remplacerait le fichier source. "
                                           "Choisissez un autre dossier de destination.");
    }
    return QString();
}

QString tooTallText(const QString &fileName, const velinor::StackedImage &image)
{
    return QCoreApplication::translate(
               "velinor-cli",
               "Impossible de créer une seule image de \"%1\" : ses %2 pages empilées feraient "
               "%3 pixels de haut, plus que les %4 pixels qu'accepte ImageMagick. Choisissez un "
               "--supersampling plus bas, ou retirez --single-image pour obtenir une image par "
               "page.")
        .arg(fileName)
        .arg(image.pages)
        .arg(image.height)
        .arg(image.limit);
}

Batch::Batch(const BatchSettings &settings, const QList<SourceFile> &files, QObject *parent)
    : QObject(parent), settings(settings), progress(int(files.size()), settings.quiet)
{
    QStringList paths;
    for (const SourceFile &file : files)
        paths << file.path;
    listed = velinor::SourceGuard(paths, settings.destination);
    jobs.reserve(size_t(files.size()));
    for (const SourceFile &file : files) {
        Job job;
        job.file = file;
        job.call = velinor::buildConversion(file.path, settings.destination, settings.options);
        jobs.push_back(std::move(job));
        waiting.push_back(int(jobs.size()) - 1);
    }
    planners.setMaxThreadCount(std::max(1, settings.jobs));
    killTimer.setSingleShot(true);
    connect(&killTimer, &QTimer::timeout, this, [this] {
        stop.escalate();
        stopConverters(velinor::StopRequest::Kill);
    });
}

Batch::~Batch()
{
    planners.waitForDone();
}

void Batch::start()
{
    schedule();
    endIfIdle();
}

void Batch::schedule()
{
    if (interrupted)
        return;
    // Files passed over because they clash with a running one: a later file that clashes with
    // one of them must wait as well, or it would overtake it and change the outcome.
    QList<int> held;
    const qsizetype lookahead = qsizetype(settings.jobs) * lookaheadPerJob;
    auto it = waiting.begin();
    while (it != waiting.end() && active.size() < settings.jobs && held.size() < lookahead) {
        const velinor::ConversionCall &call = jobs[size_t(*it)].call;
        const auto clashesWith = [&](int other) { return clash(call, jobs[size_t(other)].call); };
        if (std::any_of(active.cbegin(), active.cend(), clashesWith) ||
            std::any_of(held.cbegin(), held.cend(), clashesWith)) {
            held << *it;
            ++it;
            continue;
        }
        const int index = *it;
        it = waiting.erase(it);
        if (begin(index))
            active << index;
    }
}

bool Batch::begin(int index)
{
    Job &job = jobs[size_t(index)];
    const QString refused = refusal(listed, job.file, job.call, settings.tns);
    if (!refused.isEmpty()) {
        job.problems << refused;
        complete(index);
        return false;
    }
    // Counting pages reads the document, which must not hold up the converters that are already
    // running. Either way the calls start from the event loop, never from inside schedule().
    if (!velinor::countsImages(job.call, settings.options)) {
        QMetaObject::invokeMethod(
            this,
            [this, index] {
                const Job &queued = jobs[size_t(index)];
                planned(index, velinor::planFile(settings.converter, queued.file.path, queued.call,
                                                 settings.options));
            },
            Qt::QueuedConnection);
        return true;
    }
    planners.start([this, index, converter = settings.converter, source = job.file.path,
                    call = job.call, options = settings.options] {
        const velinor::Plan plan = velinor::planFile(converter, source, call, options, &stop);
        QMetaObject::invokeMethod(
            this, [this, index, plan] { planned(index, plan); }, Qt::QueuedConnection);
    });
    return true;
}

void Batch::planned(int index, const velinor::Plan &plan)
{
    if (interrupted) {
        active.removeOne(index);
        endIfIdle();
        return;
    }
    Job &job = jobs[size_t(index)];
    if (plan.outcome == velinor::Plan::Outcome::TooTall) {
        job.problems << tooTallText(job.call.fileName, plan.image);
        active.removeOne(index);
        complete(index);
        schedule();
        endIfIdle();
        return;
    }
    const QList<QStringList> &runs = plan.calls;
    job.runs = runs;
    if (!runs.isEmpty())
        job.names = std::make_unique<velinor::LiteralNames>(
            velinor::absoluteForMagick(job.file.path), runs.first().last());
    if (!job.names || !job.names->isReady()) {
        runEnded(index, QCoreApplication::translate("velinor-cli",
                                                    "Le convertisseur n'a pas pu être lancé."));
        return;
    }
    startRun(index);
}

void Batch::startRun(int index)
{
    Job &job = jobs[size_t(index)];
    auto *process = new QProcess(this);
    job.process = process;
    job.errorTail.clear();
    process->setProgram(settings.converter);
    process->setArguments(job.runs.at(job.nextRun));
    process->setWorkingDirectory(job.names->workingDirectory());
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    job.scratch = velinor::prepareChild(*process);
    connect(process, &QProcess::readyReadStandardError, this,
            [this, index] { keepErrorTail(index); });
    connect(process, &QProcess::finished, this,
            [this, index](int exitCode, QProcess::ExitStatus status) {
                if (status == QProcess::CrashExit)
                    runEnded(index,
                             QCoreApplication::translate(
                                 "velinor-cli", "Le convertisseur s'est arrêté brutalement."));
                else if (exitCode != 0)
                    runEnded(index, QCoreApplication::translate(
                                        "velinor-cli", "Code de sortie du convertisseur : %1")
                                        .arg(exitCode));
                else
                    runEnded(index, QString());
            });
    connect(process, &QProcess::errorOccurred, this, [this, index](QProcess::ProcessError error) {
        // Only a converter that never started goes without finished().
        if (error == QProcess::FailedToStart)
            runEnded(index, QCoreApplication::translate("velinor-cli",
                                                        "Le convertisseur n'a pas pu être lancé."));
    });
    process->start();
}

void Batch::keepErrorTail(int index)
{
    Job &job = jobs[size_t(index)];
    if (!job.process)
        return;
    job.errorTail += job.process->readAllStandardError();
    if (job.errorTail.size() > errorTailBytes)
        job.errorTail.remove(0, job.errorTail.size() - errorTailBytes);
}

void Batch::runEnded(int index, const QString &failure)
{
    Job &job = jobs[size_t(index)];
    keepErrorTail(index);
    if (job.process)
        job.process->deleteLater();
    job.process = nullptr;
    job.scratch.reset();

    if (interrupted) {
        job.names.reset();
        // An interrupted file is neither done nor failed: it is not reported, and its partial
        // images are not renamed.
        active.removeOne(index);
        endIfIdle();
        return;
    }
    if (failure.isEmpty() && ++job.nextRun < job.runs.size()) {
        startRun(index);
        return;
    }
    // Before the rename, which must not take an empty file of its own for an image.
    job.names.reset();
    if (!failure.isEmpty()) {
        job.problems << QCoreApplication::translate("velinor-cli",
                                                    "Erreur durant la conversion de \"") +
                            job.call.fileName + QLatin1String("\".")
                     << failure;
        for (const QString &line : lastLines(job.errorTail))
            job.problems << QLatin1String("    ") + line;
    }
    // As in the window, a failed conversion is still followed by the rename, which finds
    // whatever images it did write; only this file's own names are taken, so that the files
    // converted meanwhile are left alone.
    if (settings.tns &&
        !velinor::renameOwnImagesToTns(settings.destination, job.call.baseName, job.call.extension))
        job.problems << QCoreApplication::translate("velinor-cli",
                                                    "L'opération de renommage en .tns a échoué.");
    active.removeOne(index);
    complete(index);
    schedule();
    endIfIdle();
}

void Batch::complete(int index)
{
    const Job &job = jobs[size_t(index)];
    anyFailed = anyFailed || !job.problems.isEmpty();
    progress.fileDone(job.file.given, job.problems);
}

void Batch::endIfIdle()
{
    if (ended || !active.isEmpty() || (!interrupted && !waiting.empty()))
        return;
    ended = true;
    killTimer.stop();
    emit finished(interrupted ? 130 : anyFailed ? 1 : 0);
}

void Batch::interrupt()
{
    stop.escalate();
    if (interrupted) {
        stopConverters(velinor::StopRequest::Kill);
        return;
    }
    interrupted = true;
    waiting.clear();
    writeError(QCoreApplication::translate(
        "velinor-cli", "Interrompu : aucune autre conversion ne commence, celles en cours "
                       "sont arrêtées.\n"));
    stopConverters(velinor::StopRequest::Terminate);
    killTimer.start(velinor::terminateGraceMs);
    endIfIdle();
}

void Batch::stopConverters(velinor::StopRequest::Level how)
{
    for (int index : std::as_const(active)) {
        if (QProcess *process = jobs[size_t(index)].process)
            velinor::signalChild(*process, how);
    }
}

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arguments.h"
#include "engine.h"
#include "magickpolicy.h"
#include "paths.h"
#include "preview.h"
#include "reasons.h"
#include "runsetup.h"

#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>

velinor::ConversionOptions MainWindow::currentOptions() const
{
    using Options = velinor::ConversionOptions;
    Options o;
    if (form->radioQualiteMoyenne->isChecked())
        o.supersampling = Options::Supersampling::Medium;
    else if (form->radioQualiteHaute->isChecked())
        o.supersampling = Options::Supersampling::High;
    else
        o.supersampling = Options::Supersampling::Low;

    if (form->radioNoirEtBlanc->isChecked())
        o.colourMode = Options::ColourMode::BlackWhite;
    else if (form->radioGrayscale4->isChecked())
        o.colourMode = Options::ColourMode::Grey4;
    else if (form->radioGrayscale8->isChecked())
        o.colourMode = Options::ColourMode::Grey8;
    else if (form->radioCouleurs4->isChecked())
        o.colourMode = Options::ColourMode::Colour4;
    else if (form->radioCouleurs8->isChecked())
        o.colourMode = Options::ColourMode::Colour8;
    else
        o.colourMode = Options::ColourMode::None;

    o.png = form->choixPNG->isChecked();
    o.compression = form->spinCompression->value();
    o.resize = form->choixRedim->isChecked();
    o.append = form->choixAppend->isChecked();
    // The list offers whole screens, one to three, in that order.
    if (form->choixEcran->isChecked())
        o.fitWidth = velinor::screenWidth * (form->comboLargeur->currentIndex() + 1);
    o.screens = form->choixDecoupe->isChecked();
    o.cbz = form->choixCbz->isChecked();
    return o;
}

// The renames block the event loop while they work, so a changed value must be painted at once
// or the user would see nothing move until the end: the bar repaints itself at once whenever
// what it shows changes, unless it was painted just before (see progressPainting).
void MainWindow::showProgress(int value)
{
    progressPainting.aboutToChange();
    form->progressBar->setValue(value);
}

QString MainWindow::tooTallAdvice(const velinor::StackedImage &image) const
{
    return image.lowerSupersampling ? tr("Choisissez un super sampling plus bas, ou décochez "
                                         "\"Créer une seule image\" pour obtenir une image par "
                                         "page.")
                                    : tr("Décochez \"Créer une seule image\" pour obtenir une "
                                         "image par page.");
}

// A box of the run: what went wrong in its text, why under "Show Details...".
void MainWindow::showError(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                           const QString &details)
{
    QMessageBox box(icon, tr("Erreur"), text, QMessageBox::Ok, parent);
    box.setDetailedText(details);
    box.exec();
}

// Debian's ImageMagick refuses PDF by a policy of the whole system; the user may lift it for
// their own account, once: no later run asks again. Refused, the PDFs fail with the reason.
void MainWindow::allowPdfIfRefused()
{
    if (pdfAllowed || !velinor::pdfRefused(converter, files))
        return;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("Autoriser les PDF ?"),
        tr("ImageMagick, qui convertit les fichiers, refuse de lire les PDF sur cet ordinateur : "
           "ses réglages de sécurité l'interdisent.\n\nvelinor peut les autoriser pour votre "
           "compte seulement, en écrivant le fichier « %1 ». Rien ne change pour le reste du "
           "système.\n\nAutoriser ImageMagick à lire les PDF ?")
            .arg(QDir::toNativeSeparators(velinor::userPolicyPath())));
    if (answer != QMessageBox::Yes)
        return;
    const velinor::PolicyChange change = velinor::allowPdf();
    pdfAllowed = change.granted();
    if (!pdfAllowed)
        showError(this, QMessageBox::Warning, velinor::policyChangeText(change));
}

// Says with a box that no converter is known, if none is.
bool MainWindow::converterKnown()
{
    if (converter.isEmpty()) {
        QMessageBox::warning(this, tr("Erreur"),
                             tr("Erreur : Chemin vers \"convert.exe\" invalide.\nAllez dans le "
                                "menu Fichier pour le re-détecter."));
        return false;
    }
    return true;
}

// Says with a box what keeps the run from starting, if anything does.
bool MainWindow::readyToConvert()
{
    if (!converterKnown())
        return false;
    if (destination.isEmpty()) {
        QMessageBox::warning(this, tr("Erreur"), tr("Aucun répertoire de sortie n'est défini."));
        return false;
    }
    return true;
}

void MainWindow::on_boutonConvertir_clicked()
{
    if (!readyToConvert())
        return;
    allowPdfIfRefused();
    setRunning(true);
    showStatus(tr("La conversion a commencé..."));
    // Unlike velinor-cli's, the run goes on without its folder (see createDestination).
    const velinor::DestinationFolder folder = velinor::createDestination(destination);
    const QString unmade =
        folder.ready() ? QString()
                       : velinor::uncreatableText(
                             velinor::escapeControls(QDir::toNativeSeparators(destination))) +
                             QLatin1Char('\n') + velinor::uncreatableReason(folder);
    const bool stopped = convertFiles(unmade);
    showProgress(0);
    setRunning(false);
    showStatus(stopped ? tr("Conversion arrêtée.") : tr("Fini !"));
    if (closeAfterRun)
        close();
}

// The listed files converted, each told about with the bar and the status, and a box when it
// went wrong (after a destination that could not be made, unmade says why); whether the run was
// stopped.
bool MainWindow::convertFiles(const QString &unmade)
{
    velinor::EngineSettings settings;
    settings.converter = converter;
    settings.destination = destination;
    settings.options = currentOptions();
    settings.tns =
        form->choixTNS->isChecked() ? velinor::TnsRename::ByPrefix : velinor::TnsRename::None;
    settings.jobs = velinor::jobCount();
    velinor::Engine engine(settings, files);
    const int n = int(files.size());
    int fileStart = 0; // where the bar stood once the file's quarter step was made
    connect(&engine, &velinor::Engine::fileStarted, this, [this, n, &fileStart](int index) {
        fileStart = form->progressBar->value() + (100 / n) / 4;
        showProgress(fileStart);
        showStatus(tr("Conversion de \"%1\"").arg(velinor::fileName(files.at(index))));
    });
    // Within the file's share, so that the bar never goes back when the file is over.
    connect(&engine, &velinor::Engine::fileProgress, this,
            [this, n, &fileStart](int index, int done, int pages) {
                const int end = (index + 1) * 100 / n;
                const int value = fileStart + int(qint64(end - fileStart) * done / pages);
                if (value > form->progressBar->value())
                    showProgress(value);
            });
    connect(&engine, &velinor::Engine::fileDone, this,
            [this, n, unmade](int index, const velinor::FileResult &result) {
                showResult(files.at(index), result, unmade);
                if (!result.refused())
                    showProgress((index + 1) * 100 / n);
                if (result.renameFailed)
                    QMessageBox::warning(this, tr("Erreur"), velinor::renameFailedText());
            });
    return runToEnd(engine);
}

// The click returns when the run is over, as it always has; the window lives on meanwhile.
bool MainWindow::runToEnd(velinor::Engine &engine)
{
    QEventLoop loop;
    bool stopped = false;
    connect(&engine, &velinor::Engine::finished, &loop, [&loop, &stopped](bool wasStopped) {
        stopped = wasStopped;
        loop.quit();
    });
    running = &engine;
    // From inside the loop: a run that ends at once must not quit it before it runs.
    QMetaObject::invokeMethod(&engine, &velinor::Engine::start, Qt::QueuedConnection);
    loop.exec();
    running = nullptr;
    return stopped;
}

// The window names files as they are; only details escape what could garble them.
static QString asItIs(const QString &name)
{
    return name;
}

// A failure after a destination that could not be made (unmade: why) tells that first.
void MainWindow::showResult(const QString &path, const velinor::FileResult &result,
                            const QString &unmade)
{
    using Outcome = velinor::FileResult::Outcome;
    QString text = velinor::outcomeText(result, path, asItIs);
    QString details;
    switch (result.outcome) {
    case Outcome::Converted:
        return;
    case Outcome::Unreadable:
        showError(nullptr, QMessageBox::Warning, text, velinor::unreadableDetails(path));
        return;
    case Outcome::ReplacesSource:
        details = velinor::escapeControls(QDir::toNativeSeparators(result.replaced));
        break;
    case Outcome::TooTall:
        text += QLatin1Char('\n') + tooTallAdvice(result.image);
        break;
    case Outcome::InvalidPdf:
        break;
    case Outcome::NotStarted:
    case Outcome::Failed:
    case Outcome::Crashed: {
        QStringList lines = velinor::failureDetails(result);
        if (!unmade.isEmpty())
            lines.prepend(unmade);
        details = lines.join(QLatin1Char('\n'));
        break;
    }
    case Outcome::PackFailed:
        details = velinor::packDetails(result);
        break;
    }
    showError(this, QMessageBox::Critical, text, details);
}

void MainWindow::setRunning(bool on)
{
    // Nothing that would change the run while it goes on; the stop button instead.
    for (QWidget *input :
         {static_cast<QWidget *>(form->listeFichiersChoisis),
          static_cast<QWidget *>(form->boutonSelectFichiers),
          static_cast<QWidget *>(form->lineChemin), static_cast<QWidget *>(form->boutonChoisirDest),
          static_cast<QWidget *>(form->tabWidget), static_cast<QWidget *>(form->boutonConvertir),
          static_cast<QWidget *>(form->boutonRenommerTNS),
          static_cast<QWidget *>(form->boutonRenommerIMG),
          static_cast<QWidget *>(form->boutonApercu)})
        input->setEnabled(!on);
    form->actionVider_la_liste->setEnabled(!on);
    form->actionD_tecter_convert_exe->setEnabled(!on);
    setAcceptDrops(!on);
    form->progressBar->setVisible(on);
    form->boutonArreter->setVisible(on);
    form->boutonArreter->setEnabled(on);
    // Lay the window out now: the bar would otherwise get its place only after the run. Painted
    // at once at the start, before the engine is made (long for a long list); at the end, once,
    // with the status that follows, rather than first with the status of the last file.
    form->centralWidget->layout()->activate();
    if (on)
        repaint();
    else
        update();
}

void MainWindow::on_boutonArreter_clicked()
{
    if (running)
        running->stop();
}

// Closing the window ends the run, so the user says first whether the run may go. The safe
// answer, going on, is the one Escape gives.
bool MainWindow::stopRunToQuit()
{
    QMessageBox box(QMessageBox::Question, tr("Conversion en cours"),
                    tr("Une conversion est en cours. Voulez-vous l'arrêter et quitter velinor ? "
                       "Les images en cours d'écriture seront incomplètes."),
                    QMessageBox::NoButton, this);
    QPushButton *stop = box.addButton(tr("Arrêter et quitter"), QMessageBox::DestructiveRole);
    QPushButton *goOn = box.addButton(tr("Continuer la conversion"), QMessageBox::RejectRole);
    box.setDefaultButton(goOn);
    box.setEscapeButton(goOn);
    box.exec();
    return box.clickedButton() == stop;
}

void MainWindow::closeWithoutAsking()
{
    closeAfterRun = true;
    if (running)
        running->stop();
    else
        close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The run ends first, its converters with it; the window closes once it is over.
    if (running) {
        event->ignore();
        if (closeAfterRun || stopRunToQuit()) {
            closeAfterRun = true;
            running->stop();
        }
        return;
    }
    QMainWindow::closeEvent(event);
}

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arguments.h"
#include "engine.h"
#include "magickpolicy.h"
#include "paths.h"
#include "reasons.h"

#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

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
    return o;
}

// The renames block the event loop while they work, so a changed value must be painted at once
// or the user would see nothing move until the end: the bar repaints itself at once whenever
// what it shows changes. Painting it more would cost more than a file whose conversion is quick.
void MainWindow::showProgress(int value)
{
    form->progressBar->setValue(value);
}

QString MainWindow::tooTallText(const QString &fileName, const velinor::StackedImage &image) const
{
    const QString advice = image.lowerSupersampling
                               ? tr("Choisissez un super sampling plus bas, ou décochez \"Créer "
                                    "une seule image\" pour obtenir une image par page.")
                               : tr("Décochez \"Créer une seule image\" pour obtenir une image "
                                    "par page.");
    return tr("Impossible de créer une seule image de \"%1\" : ses %2 pages empilées feraient "
              "%3 pixels de haut, plus que les %4 pixels qu'accepte ImageMagick.\n%5")
        .arg(fileName)
        .arg(image.pages)
        .arg(image.height)
        .arg(image.limit)
        .arg(advice);
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

void MainWindow::on_boutonConvertir_clicked()
{
    if (converter.isEmpty()) {
        QMessageBox::warning(this, tr("Erreur"),
                             tr("Erreur : Chemin vers \"convert.exe\" invalide.\nAllez dans le "
                                "menu Fichier pour le re-détecter."));
        return;
    }
    if (destination.isEmpty()) {
        QMessageBox::warning(this, tr("Erreur"), tr("Aucun répertoire de sortie n'est défini."));
        return;
    }

    allowPdfIfRefused();
    setRunning(true);
    showStatus(tr("La conversion a commencé..."));
    QDir folder(destination);
    if (!folder.exists())
        folder.mkpath(QStringLiteral("."));

    velinor::EngineSettings settings;
    settings.converter = converter;
    settings.destination = destination;
    settings.options = currentOptions();
    settings.tns =
        form->choixTNS->isChecked() ? velinor::TnsRename::ByPrefix : velinor::TnsRename::None;
    settings.jobs = QThread::idealThreadCount();
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
            [this, n](int index, const velinor::FileResult &result) {
                showResult(files.at(index), result);
                if (!result.refused())
                    showProgress((index + 1) * 100 / n);
                if (result.renameFailed)
                    QMessageBox::warning(this, tr("Erreur"),
                                         tr("L'opération de renommage en .tns a échoué."));
            });
    // The click returns when the run is over, as it always has; the window lives on meanwhile.
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

    showProgress(0);
    setRunning(false);
    showStatus(stopped ? tr("Conversion arrêtée.") : tr("Fini !"));
    if (closeAfterRun)
        close();
}

void MainWindow::showResult(const QString &path, const velinor::FileResult &result)
{
    const QString fileName = velinor::fileName(path);
    using Outcome = velinor::FileResult::Outcome;
    switch (result.outcome) {
    case Outcome::Converted:
        break;
    case Outcome::Unreadable:
        showError(nullptr, QMessageBox::Warning, tr("Le fichier spécifié n'existe pas !"),
                  velinor::unreadableDetails(path));
        break;
    case Outcome::ReplacesSource:
        showError(this, QMessageBox::Critical,
                  tr("Conversion impossible de \"%1\" : l'image remplacerait le fichier source. "
                     "Choisissez un autre dossier de destination.")
                      .arg(velinor::fileName(result.replaced)),
                  velinor::escapeControls(QDir::toNativeSeparators(result.replaced)));
        break;
    case Outcome::TooTall:
        showError(this, QMessageBox::Critical, tooTallText(fileName, result.image));
        break;
    case Outcome::InvalidPdf:
        showError(this, QMessageBox::Critical,
                  tr("Le fichier « %1 » n'est pas un PDF valide : son arbre des pages annonce "
                     "plus de pages qu'il n'en contient.")
                      .arg(fileName));
        break;
    case Outcome::NotStarted:
    case Outcome::Failed:
    case Outcome::Crashed:
        showError(this, QMessageBox::Critical,
                  tr("Erreur durant la conversion de \"%1\".").arg(fileName),
                  velinor::failureDetails(result).join(QLatin1Char('\n')));
        break;
    case Outcome::PackFailed: {
        const QStringList lines = velinor::packFailure(fileName, result);
        showError(this, QMessageBox::Critical, lines.value(0), lines.value(1));
        break;
    }
    }
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
          static_cast<QWidget *>(form->boutonRenommerIMG)})
        input->setEnabled(!on);
    form->actionVider_la_liste->setEnabled(!on);
    form->actionD_tecter_convert_exe->setEnabled(!on);
    setAcceptDrops(!on);
    form->progressBar->setVisible(on);
    form->boutonArreter->setVisible(on);
    form->boutonArreter->setEnabled(on);
    // Lay the window out now: the bar would otherwise get its place only after the run.
    form->centralWidget->layout()->activate();
    repaint();
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

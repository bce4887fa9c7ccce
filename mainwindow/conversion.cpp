#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arguments.h"
#include "chunking.h"
#include "paths.h"
#include "sourceprotection.h"
#include "tnsrename.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>

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

// The run blocks the event loop while each converter works, so a changed value must be painted
// at once or the user would see nothing move until the end.
void MainWindow::showProgress(int value)
{
    form->progressBar->setValue(value);
    form->progressBar->repaint();
}

QString MainWindow::tooTallText(const QString &fileName, const velinor::StackedImage &image) const
{
    return tr("Impossible de créer une seule image de \"%1\" : ses %2 pages empilées feraient "
              "%3 pixels de haut, plus que les %4 pixels qu'accepte ImageMagick.\nChoisissez un "
              "super sampling plus bas, ou décochez \"Créer une seule image\" pour obtenir une "
              "image par page.")
        .arg(fileName)
        .arg(image.pages)
        .arg(image.height)
        .arg(image.limit);
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
    const QString program = converter;

    form->progressBar->setVisible(true);
    // Lay the window out now: the bar would otherwise get its place only after the run.
    form->centralWidget->layout()->activate();
    repaint();
    showStatus(tr("La conversion a commencé..."));

    QDir folder(destination);
    if (!folder.exists())
        folder.mkpath(QStringLiteral("."));

    const bool tns = form->choixTNS->isChecked();
    const velinor::SourceGuard listed(files, destination);
    const int n = int(files.size());
    for (int i = 0; i < n; ++i) {
        const QString source = files.at(i);
        const velinor::ConversionOptions options = currentOptions();
        const velinor::ConversionCall call = velinor::buildConversion(source, destination, options);
        const velinor::SourceVerdict verdict = listed.check(source, call, tns);
        if (verdict.refusal == velinor::SourceRefusal::Unreadable) {
            QMessageBox::warning(nullptr, tr("Erreur"), tr("Le fichier spécifié n'existe pas !"));
            continue;
        }
        if (verdict.refusal == velinor::SourceRefusal::ReplacesSource) {
            QMessageBox::critical(
                this, tr("Erreur"),
                tr("Conversion impossible de \"") + velinor::fileName(verdict.replaced) +
                    tr("\" : l'image remplacerait le fichier source. Choisissez un autre "
                       "dossier de destination."));
            continue;
        }
        showProgress(form->progressBar->value() + (100 / n) / 4);
        showStatus(tr("Conversion de \"") + call.fileName + QLatin1String("\""));

        const velinor::Plan plan = velinor::planFile(program, source, call, options);
        if (plan.outcome == velinor::Plan::Outcome::TooTall) {
            QMessageBox::critical(this, tr("Erreur"), tooTallText(call.fileName, plan.image));
            showProgress((i + 1) * 100 / n);
            continue;
        }
        if (velinor::runPlannedCalls(program, source, plan.calls) != 0)
            QMessageBox::critical(this, tr("Erreur"),
                                  tr("Erreur durant la conversion de \"") + call.fileName +
                                      QLatin1String("\"."));
        showProgress((i + 1) * 100 / n);

        if (tns && !velinor::renameOutputsToTns(destination, call.baseName, call.extension, listed))
            QMessageBox::warning(this, tr("Erreur"),
                                 tr("L'opération de renommage en .tns a échoué."));
    }

    showProgress(0);
    form->progressBar->setVisible(false);
    showStatus(tr("Fini !"));
}

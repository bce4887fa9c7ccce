#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "nativenames.h"
#include "paths.h"
#include "reasons.h"
#include "runsetup.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QModelIndex>
#include <QStringListModel>
#include <QUrl>

// More URLs than this in one drop are left out without a word.
static const int maxDroppedUrls = 32;

void MainWindow::on_boutonSelectFichiers_clicked()
{
#ifdef Q_OS_WIN
    const QString filter =
        tr("Fichiers PDF (*.pdf);;Images (*.jpg; *.png; *.gif; *.psd; *.tiff; *.svg; *.bmp);;"
           "Tous les fichiers (*.*)");
#else
    // Qt's own dialog, used here, splits patterns at blanks only: "*.jpg;" would match no file,
    // and "*.*" would hide every name without a dot.
    const QString filter =
        tr("Fichiers PDF (*.pdf);;Images (*.jpg *.png *.gif *.psd *.tiff *.svg *.bmp);;"
           "Tous les fichiers (*)");
#endif
    const QStringList chosen = QFileDialog::getOpenFileNames(
        this, tr("Sélectionnez les fichiers à convertir"), sourceFolder, filter);
    for (const QString &path : chosen) {
        const QByteArray misdecoded = velinor::misdecodedPath(path);
        if (misdecoded.isEmpty())
            files << path;
        else
            refuseName(misdecoded);
    }
    filesAdded();
}

void MainWindow::refuseName(const QByteArray &bytes)
{
    showError(this, QMessageBox::Critical,
              velinor::unrepresentableText(bytes, velinor::escapeControls));
}

// Any drag is welcome: what it carries is only looked at when it is dropped.
void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    showStatus(tr("Droppez les fichiers pour les ajouter."));
    event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent *event)
{
    event->acceptProposedAction();
}

void MainWindow::dragLeaveEvent(QDragLeaveEvent *event)
{
    showStatus(QLatin1String(""));
    event->accept();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    if (data->hasUrls()) {
        const QList<QUrl> urls = data->urls();
        QList<QByteArray> refused;
        for (qsizetype i = 0; i < urls.size() && i < maxDroppedUrls; ++i) {
            const QByteArray bytes = velinor::droppedBytes(urls.at(i));
            if (velinor::representableName(bytes))
                files.append(velinor::dropPath(urls.at(i)));
            else
                refused << bytes;
        }
        // Once the drop is over: the program the files come from waits for its end.
        refuseLater(refused);
    }
    // Even a drop that brought nothing recomputes the source folder and reports success.
    filesAdded();
    showStatus(tr("Fichiers ajoutés avec succès."));
}

void MainWindow::addFiles(const QStringList &paths, const QList<QByteArray> &refused)
{
    files += paths;
    filesAdded();
    refuseLater(refused);
}

void MainWindow::refuseLater(const QList<QByteArray> &names)
{
    QMetaObject::invokeMethod(
        this,
        [this, names] {
            for (const QByteArray &bytes : names)
                refuseName(bytes);
        },
        Qt::QueuedConnection);
}

void MainWindow::filesAdded()
{
    files.removeDuplicates();
    if (!files.isEmpty()) {
        sourceFolder = velinor::folderOf(files.last());
        // A destination the user typed or chose is never overridden by new sources.
        if (destination.isEmpty()) {
            destination = velinor::defaultDestination(files);
            form->lineChemin->setText(destination);
        }
    }
    filesModel->setStringList(files);
}

void MainWindow::on_listeFichiersChoisis_doubleClicked(const QModelIndex &index)
{
    files.removeAll(index.data(Qt::DisplayRole).toString());
    filesModel->setStringList(files);
}

// The source folder survives, so the next dialog still opens where the user last took files.
void MainWindow::on_actionVider_la_liste_triggered()
{
    files.clear();
    filesModel->setStringList(files);
}

void MainWindow::on_boutonChoisirDest_clicked()
{
    const QString start = destination.isEmpty() ? sourceFolder : destination;
    // A cancelled dialog empties the destination too, like clearing the field by hand, and so
    // does a folder whose name cannot be represented.
    destination = QFileDialog::getExistingDirectory(
        this, tr("Choisissez un dossier de destination"), start, QFileDialog::ShowDirsOnly);
    const QByteArray misdecoded = velinor::misdecodedPath(destination);
    if (!misdecoded.isEmpty()) {
        destination.clear();
        refuseName(misdecoded);
    }
    form->lineChemin->setText(destination);
}

void MainWindow::on_lineChemin_textChanged(const QString &arg1)
{
    destination = arg1;
}

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "sourceprotection.h"
#include "tnsrename.h"

void MainWindow::on_boutonRenommerTNS_clicked()
{
    renameImages(velinor::TnsDirection::ToTns);
}

void MainWindow::on_boutonRenommerIMG_clicked()
{
    renameImages(velinor::TnsDirection::FromTns);
}

void MainWindow::renameImages(velinor::TnsDirection direction)
{
    form->progressBar->setVisible(true);
    showProgress(1);
    showStatus(tr("Le renommage a commencé..."));
    const velinor::SourceGuard listed(files);
    const int n = int(files.size());
    for (int i = 0; i < n; ++i) {
        showProgress(90 * (i + 1) / n + 5);
        velinor::renameImagesOfSource(files.at(i), direction, listed);
    }
    showProgress(0);
    form->progressBar->setVisible(false);
    showStatus(tr("Fini !"));
}

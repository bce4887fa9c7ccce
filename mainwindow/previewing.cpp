#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arguments.h"
#include "screenpreview.h"

// The selected file, else the first listed: the one a student is most likely to be looking at.
void MainWindow::on_boutonApercu_clicked()
{
    if (files.isEmpty() || !converterKnown())
        return;
    const QModelIndex selected = form->listeFichiersChoisis->currentIndex();
    const QString source = files.value(selected.isValid() ? selected.row() : 0, files.first());
    allowPdfIfRefused();
    auto *preview = new ScreenPreview(converter, source, currentOptions(), this);
    preview->show();
}

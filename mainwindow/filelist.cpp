#include "mainwindow.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QModelIndex>

void MainWindow::on_boutonSelectFichiers_clicked() {}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    QMainWindow::dragEnterEvent(event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent *event)
{
    QMainWindow::dragMoveEvent(event);
}

void MainWindow::dragLeaveEvent(QDragLeaveEvent *event)
{
    QMainWindow::dragLeaveEvent(event);
}

void MainWindow::dropEvent(QDropEvent *event)
{
    QMainWindow::dropEvent(event);
}

void MainWindow::on_listeFichiersChoisis_doubleClicked(const QModelIndex &index)
{
    Q_UNUSED(index);
}

void MainWindow::on_actionVider_la_liste_triggered() {}

void MainWindow::on_boutonChoisirDest_clicked() {}

void MainWindow::on_lineChemin_textChanged(const QString &arg1)
{
    Q_UNUSED(arg1);
}

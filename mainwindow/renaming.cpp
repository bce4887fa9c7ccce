#include "mainwindow.h"

void MainWindow::on_boutonRenommerTNS_clicked() {}

void MainWindow::on_boutonRenommerIMG_clicked() {}

#include "mainwindow.h"

void MainWindow::on_boutonConvertir_clicked() {}

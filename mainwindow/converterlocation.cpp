#include "mainwindow.h"

void MainWindow::on_actionD_tecter_convert_exe_triggered() {}

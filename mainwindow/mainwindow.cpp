#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QStringListModel>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), form(new Ui::MainWindow), filesModel(new QStringListModel),
      sourceFolder(QLatin1String("")), destination(QLatin1String(""))
{
    form->setupUi(this);
    setAcceptDrops(true);
    form->listeFichiersChoisis->setAttribute(Qt::WA_MouseTracking, true);
    showStatus(tr("velinor par pivolette"));
    form->progressBar->setVisible(false);
    form->listeFichiersChoisis->setModel(filesModel);
}

MainWindow::~MainWindow()
{
    delete form;
    delete filesModel;
}

void MainWindow::showStatus(const QString &message)
{
    form->statusBar->showMessage(message, 0);
}

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QStringListModel>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), form(new Ui::MainWindow), filesModel(new QStringListModel),
      sourceFolder(QLatin1String("")), destination(QLatin1String(""))
{
    form->setupUi(this);
    progressPainting.watch(form->progressBar);
    progressPainting.watch(form->statusBar);
    setAcceptDrops(true);
    form->listeFichiersChoisis->setAttribute(Qt::WA_MouseTracking, true);
    showStatus(tr("velinor par pivolette"));
    form->progressBar->setVisible(false);
    form->boutonArreter->setVisible(false);
    form->listeFichiersChoisis->setModel(filesModel);
    // Last, since a failed search asks the user before the window is even shown.
    searchConverter();
}

MainWindow::~MainWindow()
{
    delete form;
    delete filesModel;
}

// The status bar paints a new message itself, at once unless one was painted just before (see
// progressPainting).
void MainWindow::showStatus(const QString &message)
{
    progressPainting.aboutToChange();
    form->statusBar->showMessage(message, 0);
}

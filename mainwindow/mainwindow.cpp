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

// Painted at once, as the renames block the event loop: the status bar paints a new message
// itself, and painting it again would cost more than a file whose conversion is quick.
void MainWindow::showStatus(const QString &message)
{
    form->statusBar->showMessage(message, 0);
}

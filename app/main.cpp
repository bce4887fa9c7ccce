#include "mainwindow/mainwindow.h"
#include "mainwindow/platformfit.h"
#include "translation.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QTranslator translator;
    velinor::installTranslator(application, translator);
    QTranslator qtTranslator;
    velinor::installQtTranslator(application, qtTranslator);

    MainWindow window;
    velinor::fitFormToPlatform(window);
    window.show();
    return application.exec();
}

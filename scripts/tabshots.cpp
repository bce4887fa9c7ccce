// Pictures of the window, one per tab page, as velinor shows it at start-up: for the README and
// for checking by eye that every text shows whole. Usage: tabshots FOLDER (writes tab-1.png ...).
#include "mainwindow/mainwindow.h"
#include "mainwindow/platformfit.h"
#include "translation.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTest>
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
    if (argc < 2 || !QTest::qWaitForWindowExposed(&window))
        return 1;
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        QTest::qWait(200);
        const QString file = QDir(QString::fromLocal8Bit(argv[1]))
                                 .filePath(QStringLiteral("tab-%1.png").arg(page + 1));
        if (!window.grab().save(file))
            return 1;
    }
    return 0;
}

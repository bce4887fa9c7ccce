// Pictures of the window, one per tab page, as velinor shows it at start-up: for the README and
// for checking by eye that every text shows whole. Usage: tabshots FOLDER [DOCUMENT] (writes
// tab-1.png ...; with a document, also preview.png: "Aperçu..." of it fitted to two screens).
#include "mainwindow/mainwindow.h"
#include "mainwindow/platformfit.h"
#include "translation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTranslator>

// The preview as a student first sees it, once its page has come.
static bool previewShot(MainWindow &window, const QString &document, const QString &file)
{
    window.addFiles({document});
    window.findChild<QAbstractButton *>(QStringLiteral("choixEcran"))->setChecked(true);
    window.findChild<QAbstractButton *>(QStringLiteral("boutonApercu"))->click();
    auto *preview = window.findChild<QDialog *>(QStringLiteral("apercuEcran"));
    const auto shown = [preview] {
        return !preview->findChild<QLabel *>(QStringLiteral("labelEcran"))->pixmap().isNull();
    };
    if (!preview || !QTest::qWaitFor(shown, 30000) || !QTest::qWaitForWindowExposed(preview))
        return false;
    QTest::qWait(300); // for the dialog to take the size of the text below its screen
    return preview->grab().save(file);
}

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
    return argc < 3 || previewShot(window, QString::fromLocal8Bit(argv[2]),
                                   QDir(QString::fromLocal8Bit(argv[1]))
                                       .filePath(QStringLiteral("preview.png")))
               ? 0
               : 1;
}

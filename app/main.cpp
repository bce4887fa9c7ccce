#include "interruption.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/platformfit.h"
#include "nativenames.h"
#include "translation.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // The menu entry's name: it ties the windows to the entry and its icon under Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELINOR_DESKTOP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(VELINOR_DESKTOP_ID),
                                                 QIcon(QStringLiteral(":/icons/velinor.png"))));
    QTranslator translator;
    velinor::installTranslator(application, translator);
    QTranslator qtTranslator;
    velinor::installQtTranslator(application, qtTranslator);

    MainWindow window;
    velinor::fitFormToPlatform(window);
    // What is left once Qt took its own options: the files of "Open with velinor", by their bytes
    // where the system names files so.
    QStringList files;
    QList<QByteArray> refused;
#ifdef Q_OS_UNIX
    for (int i = 1; i < argc; ++i) {
        const QByteArray name(argv[i]);
        if (velinor::representableName(name))
            files << QFileInfo(QFile::decodeName(name)).absoluteFilePath();
        else
            refused << name;
    }
#else
    for (const QString &argument : QCoreApplication::arguments().mid(1))
        files << QFileInfo(argument).absoluteFilePath();
#endif
    if (!files.isEmpty() || !refused.isEmpty())
        window.addFiles(files, refused);
    // A session that ends, or a kill, closes the window as the user would, its run stopped.
    velinor::Interruption interruption;
    int endedBy = 0;
    QObject::connect(&interruption, &velinor::Interruption::requested, &window,
                     [&window, &endedBy](int signalNumber) {
                         endedBy = endedBy ? endedBy : signalNumber;
                         window.closeWithoutAsking();
                     });
    window.show();
    const int status = application.exec();
    return endedBy ? 128 + endedBy : status;
}

// Starts like the real program, prints what the user would see first, then closes the window
// and returns the event loop's exit code.
#include "mainwindow/mainwindow.h"
#include "translation.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QTranslator translator;
    velinor::installTranslator(application, translator);
    QTranslator qtTranslator;
    velinor::installQtTranslator(application, qtTranslator);

    MainWindow window;
    window.show();
    auto say = [](const char *key, const QString &value) {
        std::printf("%s=%s\n", key, value.toUtf8().constData());
    };
    say("title", window.windowTitle());
    say("status", window.statusBar()->currentMessage());
    say("progress", window.findChild<QProgressBar *>()->isVisible() ? "shown" : "hidden");
    say("convert", window.findChild<QPushButton *>(QStringLiteral("boutonConvertir"))->text());
    say("source", window.findChild<QLabel *>(QStringLiteral("labelSource"))->text());
    // Qt's own file dialog, as the file and folder buttons show it on Linux.
    QFileDialog dialog(&window);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    say("lookIn", dialog.findChild<QLabel *>(QStringLiteral("lookInLabel"))->text());
    say("cancel", dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->text());
    std::fflush(stdout);
    QTimer::singleShot(0, &window, &QWidget::close);
    return application.exec();
}

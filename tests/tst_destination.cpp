// The destination: typed text kept as it is, filled in from the sources only while empty, and
// the folder dialog, whose cancel empties it.
#include "filelistdriver.h"
#include "mainwindow/mainwindow.h"
#include "modalanswerer.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestDestination : public QObject
{
    Q_OBJECT

private:
    static QLineEdit *field(MainWindow &w)
    {
        return w.findChild<QLineEdit *>(QStringLiteral("lineChemin"));
    }

private slots:
    void typed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("blanks around") << "  /tmp/out dir  ";
        QTest::newRow("backslashes") << "C:\\Docs\\out\\";
        QTest::newRow("relative") << "../out";
        QTest::newRow("trailing slash") << "/tmp/out/";
        QTest::newRow("emptied") << "";
    }
    void typed()
    {
        QFETCH(QString, text);
        MainWindow window;
        window.show();
        filelist::dropFiles(&window, {"/x/first.pdf"});
        QCOMPARE(window.destinationPath(), QStringLiteral("/x"));

        field(window)->clear();
        QTest::keyClicks(field(window), text);
        QCOMPARE(window.destinationPath(), text);

        // Only an empty destination takes the folder of the list's last entry.
        filelist::dropFiles(&window, {"/d/a.pdf", "/e/b.pdf"});
        const QString expected = text.isEmpty() ? QStringLiteral("/e") : text;
        QCOMPARE(window.destinationPath(), expected);
        QCOMPARE(field(window)->text(), expected);
    }

    void dialog_data()
    {
        QTest::addColumn<bool>("typed"); // a destination set before the dialog
        QTest::addColumn<bool>("choose");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("result");

        QTest::newRow("choose, opens at the destination") << true << true << "dest"
                                                          << "chosen";
        QTest::newRow("choose, opens at the source folder") << false << true << "src"
                                                            << "chosen";
        QTest::newRow("cancel empties the destination") << true << false << "dest"
                                                        << "";
        QTest::newRow("cancel with none set") << false << false << "src"
                                              << "";
    }
    void dialog()
    {
        QFETCH(bool, typed);
        QFETCH(bool, choose);
        QFETCH(QString, start);
        QFETCH(QString, result);

        QTemporaryDir tmp;
        const auto in = [&](const QString &name) {
            return name.isEmpty() ? name : tmp.path() + QLatin1Char('/') + name;
        };
        for (const char *folder : {"dest", "src", "chosen", "more"})
            QDir(tmp.path()).mkpath(QString::fromLatin1(folder));

        MainWindow window;
        filelist::dropFiles(&window, {in("src/a.pdf")});
        field(window)->setText(typed ? in("dest") : QString());

        ModalAnswerer answerer;
        if (choose)
            answerer.choose(in("chosen"));
        else
            answerer.cancel();
        window.findChild<QPushButton *>(QStringLiteral("boutonChoisirDest"))->click();

        QCOMPARE(answerer.records().size(), 1);
        const ModalRecord &record = answerer.records().first();
        QCOMPARE(record.className, QStringLiteral("QFileDialog"));
        QCOMPARE(record.title, QStringLiteral("Choisissez un dossier de destination"));
        QCOMPARE(record.parent, &window);
        QCOMPARE(record.fileMode, QFileDialog::Directory);
        QCOMPARE(record.options, QFileDialog::Options(QFileDialog::ShowDirsOnly));
        QCOMPARE(record.directory, in(start));
        QCOMPARE(window.destinationPath(), in(result));
        QCOMPARE(field(window)->text(), in(result));

        // Files added afterwards fill in only an emptied destination.
        filelist::dropFiles(&window, {in("more/b.pdf")});
        QCOMPARE(window.destinationPath(), choose ? in(result) : in("more"));
    }
};

QTEST_MAIN(TestDestination)
#include "tst_destination.moc"

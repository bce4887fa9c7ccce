// The window's converter search, at construction and from the menu: silent when PATH has a
// converter, otherwise one box, then one file dialog whose answer is kept as it is.
#include "mainwindow/mainwindow.h"
#include "modalanswerer.h"
#include "testenv.h"

#include <QAction>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestConverterLocation : public QObject
{
    Q_OBJECT

private slots:
    void search_data()
    {
        QTest::addColumn<bool>("redetect");  // a first, successful search at construction
        QTest::addColumn<bool>("installed"); // the fake converter on PATH
        QTest::addColumn<bool>("choose");    // the dialog's answer when asked

        for (bool redetect : {false, true}) {
            const char *when = redetect ? "re-detection" : "construction";
            QTest::addRow("%s, found", when) << redetect << true << false;
            QTest::addRow("%s, missing, cancelled", when) << redetect << false << false;
            QTest::addRow("%s, missing, chosen", when) << redetect << false << true;
        }
    }
    void search()
    {
        QFETCH(bool, redetect);
        QFETCH(bool, installed);
        QFETCH(bool, choose);

        const QString fake = QStringLiteral(VELINOR_FAKE_CONVERT);
        QTemporaryDir empty;
        // Any file will do: the user's choice is not checked.
        const QString picked = testenv::writeFile(empty.path() + "/picked/not a converter.txt");
        const QByteArray searched =
            installed ? QFileInfo(fake).absolutePath().toLocal8Bit() : empty.path().toLocal8Bit();

        ModalAnswerer answerer;
        std::unique_ptr<MainWindow> window;
        if (redetect) {
            window = std::make_unique<MainWindow>();
            QCOMPARE(window->converterPath(), fake);
        }
        ScopedEnv path("PATH", searched);
        if (!installed) {
            answerer.clickOk();
            if (choose)
                answerer.choose(picked);
            else
                answerer.cancel();
        }
        if (redetect)
            window->findChild<QAction *>(QStringLiteral("actionD_tecter_convert_exe"))->trigger();
        else
            window = std::make_unique<MainWindow>();

        QCOMPARE(answerer.unexpected(), 0);
        QCOMPARE(answerer.pending(), 0);
        if (installed) {
            QCOMPARE(answerer.records().size(), 0);
            QCOMPARE(window->converterPath(), fake);
            return;
        }
        QCOMPARE(answerer.records().size(), 2);
        const ModalRecord box = answerer.records().at(0);
        QCOMPARE(box.className, QStringLiteral("QMessageBox"));
        QCOMPARE(box.title, QStringLiteral("Lien vers convert.exe..."));
        QCOMPARE(box.text,
                 QStringLiteral("La recherche automatique de ImageMagick a échoué. Si vous l'avez "
                                "installé (nécessaire pour convertir), veuillez indiquer où se "
                                "trouve l'exécutable \"convert\".\nHabituellement, il se trouve "
                                "dans :\n/usr/bin/convert"));
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box.buttonCount, 1);
        QCOMPARE(box.parent, window.get());

        const ModalRecord dialog = answerer.records().at(1);
        QCOMPARE(dialog.className, QStringLiteral("QFileDialog"));
        QCOMPARE(dialog.title, QStringLiteral("Indiquez où se trouve convert.exe"));
        QCOMPARE(dialog.parent, window.get());
        QCOMPARE(dialog.fileMode, QFileDialog::ExistingFile);
        QCOMPARE(dialog.directory, QStringLiteral("/usr/bin"));
        QCOMPARE(dialog.nameFilters,
                 (QStringList{"convert (convert magick)", "Tous les fichiers (*)"}));
        QCOMPARE(dialog.selectedNameFilter, QStringLiteral("convert (convert magick)"));

        // A cancel forgets even the converter that an earlier search had found.
        QCOMPARE(window->converterPath(), choose ? picked : QString());
    }
};

QTEST_MAIN(TestConverterLocation)
#include "tst_converterlocation.moc"

// The help and about boxes: title, text, icon, one OK button, nothing changed afterwards.
#include "mainwindow/mainwindow.h"
#include "modalanswerer.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void boxes_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("fragments");
        QTest::addColumn<bool>("rich");

        QTest::newRow("help")
            << "actionAide"
            << "Aide..."
            << QStringList{"Afin d'obtenir de l'aide pour les différentes options, survollez-les "
                           "et lisez les info-bulles.<br/>Afin d'obtenir une aide plus "
                           "approfondie, allez sur le forum ou sur le chat de <a href=\"",
                           "\">Calcarium</a>.<br/>Un topic est consacré à la conversion des pdf : "
                           "<a href=\"",
                           "\">ici</a>."}
            << true;
        QTest::newRow("about") << "actionA_propos"
                               << "A propos..."
                               << QStringList{"velinor", "v2.0", "pivolette", "\n", "PDF"} << false;
        QTest::newRow("ghostscript")
            << "actionA_propos_de_Ghostscript"
            << "A propos de Ghostscript..."
            << QStringList{"Ghostscript est un logiciel permettant la manipulation des PDF.<br "
                           "/>Pour plus d'informations : <a "
                           "href=\"https://www.ghostscript.com/\">site web</a> (EN)"}
            << true;
        QTest::newRow("imagemagick")
            << "actionA_propos_de_ImageMagick"
            << "A propos de ImageMagick..."
            << QStringList{"ImageMagick est une suite de logiciel permettant la manipulation "
                           "d'images dans plus de 100 formats.<br />Pour plus d'informations : <a "
                           "href=\"https://imagemagick.org/\">site web</a> (EN)"}
            << true;
    }
    void boxes()
    {
        QFETCH(QString, action);
        QFETCH(QString, title);
        QFETCH(QStringList, fragments);
        QFETCH(bool, rich);

        MainWindow window;
        window.show();
        auto *destination = window.findChild<QLineEdit *>(QStringLiteral("lineChemin"));
        destination->setText(QStringLiteral("/tmp/somewhere"));
        window.statusBar()->showMessage(QStringLiteral("before"));

        ModalAnswerer answerer;
        answerer.clickOk();
        window.findChild<QAction *>(action)->trigger();

        QCOMPARE(answerer.records().size(), 1);
        const ModalRecord &box = answerer.records().first();
        QCOMPARE(box.className, QStringLiteral("QMessageBox"));
        QCOMPARE(box.title, title);
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box.buttonCount, 1);
        QCOMPARE(box.parent, &window);
        int from = 0;
        for (const QString &f : fragments) {
            const int at = box.text.indexOf(f, from);
            QVERIFY2(at >= 0, qPrintable(f));
            from = at + f.size();
        }
        QCOMPARE(Qt::mightBeRichText(box.text), rich);
        if (!rich)
            QVERIFY(!box.text.contains(QLatin1Char('<')));

        QCOMPARE(destination->text(), QStringLiteral("/tmp/somewhere"));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("before"));
        QVERIFY(!window.findChild<QProgressBar *>(QStringLiteral("progressBar"))->isVisible());
        QCOMPARE(window.findChild<QListView *>()->model()->rowCount(), 0);
    }

    void aboutQt()
    {
        MainWindow window;
        window.show();
        ModalAnswerer answerer;
        answerer.clickOk();
        window.findChild<QAction *>(QStringLiteral("actionA_propos_de_Qt"))->trigger();
        QCOMPARE(answerer.records().size(), 1);
        QCOMPARE(answerer.records().first().className, QStringLiteral("QMessageBox"));
        QVERIFY(answerer.records().first().title.contains(QLatin1String("Qt")));
        QCOMPARE(answerer.unexpected(), 0);
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"

// Switching between PNG and JPEG relabels the compression scale, resets it, and locks or frees
// the 4-bpp colour modes.
#include "mainwindow/mainwindow.h"

#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

class TestFormatSwitch : public QObject
{
    Q_OBJECT

private:
    MainWindow *window = nullptr;
    QRadioButton *radio(const char *name)
    {
        return window->findChild<QRadioButton *>(QString::fromLatin1(name));
    }
    QString checkedMode()
    {
        for (const char *n : {"radioNoirEtBlanc", "radioGrayscale4", "radioGrayscale8",
                              "radioCouleurs4", "radioCouleurs8"})
            if (radio(n)->isChecked())
                return QString::fromLatin1(n);
        return QString();
    }
    QString label(const char *name)
    {
        return window->findChild<QLabel *>(QString::fromLatin1(name))->text();
    }
    int compression()
    {
        const int spin = window->findChild<QSpinBox *>(QStringLiteral("spinCompression"))->value();
        const int slider =
            window->findChild<QSlider *>(QStringLiteral("sliderCompression"))->value();
        return spin == slider ? spin : -1;
    }
    void click(const char *name)
    {
        // A real click on the page where the button stands: the JPEG slot must follow the
        // button's toggling, not a direct call.
        QRadioButton *button = radio(name);
        auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("tabWidget"));
        tabs->setCurrentWidget(button->parentWidget());
        QTest::mouseClick(button, Qt::LeftButton);
    }

private slots:
    void init()
    {
        window = new MainWindow;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup()
    {
        delete window;
        window = nullptr;
    }

    // Each row: a colour mode picked first, a compression moved by hand, then a sequence of
    // format clicks; the state after the last click.
    void sequences_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("userCompression");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("expectedMode");
        QTest::addColumn<bool>("jpeg");
        QTest::addColumn<int>("expectedCompression");

        const QStringList toJpeg{"choixJPEG"};
        const QStringList roundTrip{"choixJPEG", "choixPNG"};
        QTest::newRow("default grey4 to JPEG")
            << "radioGrayscale4" << -1 << toJpeg << "radioCouleurs8" << true << 5;
        QTest::newRow("colour4 to JPEG")
            << "radioCouleurs4" << -1 << toJpeg << "radioCouleurs8" << true << 5;
        QTest::newRow("bw stays") << "radioNoirEtBlanc" << -1 << toJpeg << "radioNoirEtBlanc"
                                  << true << 5;
        QTest::newRow("grey8 stays")
            << "radioGrayscale8" << -1 << toJpeg << "radioGrayscale8" << true << 5;
        QTest::newRow("colour8 stays")
            << "radioCouleurs8" << -1 << toJpeg << "radioCouleurs8" << true << 5;
        QTest::newRow("back to PNG keeps colour8")
            << "radioGrayscale4" << -1 << roundTrip << "radioCouleurs8" << false << 9;
        QTest::newRow("back to PNG keeps bw")
            << "radioNoirEtBlanc" << -1 << roundTrip << "radioNoirEtBlanc" << false << 9;
        QTest::newRow("user value overwritten by JPEG")
            << "radioGrayscale8" << 2 << toJpeg << "radioGrayscale8" << true << 5;
        QTest::newRow("user value overwritten by PNG")
            << "radioGrayscale8" << 2 << roundTrip << "radioGrayscale8" << false << 9;
        QTest::newRow("user value kept without switch")
            << "radioGrayscale8" << 3 << QStringList() << "radioGrayscale8" << false << 3;
        QTest::newRow("PNG click while PNG runs nothing")
            << "radioGrayscale4" << 4 << QStringList{"choixPNG"} << "radioGrayscale4" << false << 4;
        QTest::newRow("JPEG twice")
            << "radioGrayscale4" << -1 << QStringList{"choixJPEG", "choixJPEG"} << "radioCouleurs8"
            << true << 5;
    }
    void sequences()
    {
        QFETCH(QString, mode);
        QFETCH(int, userCompression);
        QFETCH(QStringList, clicks);
        QFETCH(QString, expectedMode);
        QFETCH(bool, jpeg);
        QFETCH(int, expectedCompression);

        radio(qPrintable(mode))->setChecked(true);
        if (userCompression >= 0)
            window->findChild<QSlider *>(QStringLiteral("sliderCompression"))
                ->setValue(userCompression);
        for (const QString &c : clicks)
            click(qPrintable(c));

        QCOMPARE(checkedMode(), expectedMode);
        QCOMPARE(radio("choixJPEG")->isChecked(), jpeg);
        QCOMPARE(radio("choixPNG")->isChecked(), !jpeg);
        QCOMPARE(compression(), expectedCompression);
        QCOMPARE(label("labelCompressionFaible"),
                 jpeg ? QStringLiteral("Léger mais mauvaise qualité")
                      : QStringLiteral("Rapide mais lourd"));
        QCOMPARE(label("labelCompressionHaute"), jpeg ? QStringLiteral("Lourd mais bonne qualité")
                                                      : QStringLiteral("Lent mais léger"));
        for (const char *n : {"radioCouleurs4", "radioGrayscale4"}) {
            QCOMPARE(radio(n)->isEnabled(), !jpeg);
            QCOMPARE(radio(n)->isCheckable(), !jpeg);
        }
        for (const char *n : {"radioNoirEtBlanc", "radioGrayscale8", "radioCouleurs8"})
            QVERIFY(radio(n)->isEnabled());
    }

    void lockedModesCannotBeChosen()
    {
        click("choixJPEG");
        click("radioGrayscale4");
        click("radioCouleurs4");
        QCOMPARE(checkedMode(), QStringLiteral("radioCouleurs8"));
    }

    void freedModesCanBeChosenAgain()
    {
        click("choixJPEG");
        click("choixPNG");
        click("radioGrayscale4");
        QCOMPARE(checkedMode(), QStringLiteral("radioGrayscale4"));
        click("radioCouleurs4");
        QCOMPARE(checkedMode(), QStringLiteral("radioCouleurs4"));
    }

    void qualityGroupIndependent()
    {
        click("radioQualiteHaute");
        click("choixJPEG");
        QVERIFY(radio("radioQualiteHaute")->isChecked());
        click("choixPNG");
        QVERIFY(radio("radioQualiteHaute")->isChecked());
    }
};

QTEST_MAIN(TestFormatSwitch)
#include "tst_formatswitch.moc"

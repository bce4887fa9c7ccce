// Every text of the window shows whole at the platform's font: no caption, button, check box,
// radio button or spin box is given less room than it asks for.
#include "mainwindow/mainwindow.h"
#include "mainwindow/platformfit.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

class TestWholeTexts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows keeps the form exactly as drawn, for its own dialog font.");
#endif
    }

    void sizeHints_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<qreal>("pointSize"); // 0: the platform's own font size

        const char *pages[] = {"Mode couleur", "Compression", "Super sampling", "Format", "Divers"};
        for (int page = 0; page < 5; ++page) {
            QTest::addRow("%s, platform font", pages[page]) << page << qreal(0);
            // A desktop with a larger font, as GNOME's 11 pt Cantarell and more.
            QTest::addRow("%s, 13 pt", pages[page]) << page << qreal(13);
        }
    }
    void sizeHints()
    {
        QFETCH(int, page);
        QFETCH(qreal, pointSize);

        MainWindow window;
        if (pointSize > 0) {
            QFont larger = window.font();
            larger.setPointSizeF(pointSize);
            window.setFont(larger);
        }
        velinor::fitFormToPlatform(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.findChild<QTabWidget *>(QStringLiteral("tabWidget"))->setCurrentIndex(page);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);

        int checked = 0;
        QStringList cut;
        for (QWidget *widget : window.findChildren<QWidget *>()) {
            const bool shown = qobject_cast<QLabel *>(widget) ||
                               qobject_cast<QAbstractButton *>(widget) ||
                               qobject_cast<QAbstractSpinBox *>(widget);
            if (!shown || !widget->isVisible())
                continue;
            ++checked;
            const QSize hint = widget->sizeHint();
            if (widget->width() < hint.width() || widget->height() < hint.height())
                cut << QStringLiteral("%1 is %2×%3, asks for %4×%5")
                           .arg(widget->objectName())
                           .arg(widget->width())
                           .arg(widget->height())
                           .arg(hint.width())
                           .arg(hint.height());
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
        // The central area's captions and buttons, and at least one option of the page.
        QVERIFY2(checked >= 8, qPrintable(QString::number(checked)));
    }

    // Qt 6 reads the form's heading weight, 75 on Qt 4's scale, as thinner than thin.
    void headings()
    {
        MainWindow window;
        velinor::fitFormToPlatform(window);
        window.ensurePolished();
        for (const char *name : {"labelSource", "labelDest"}) {
            const QFont font = window.findChild<QLabel *>(QLatin1String(name))->font();
            QCOMPARE(font.weight(), QFont::Bold);
            QVERIFY(font.underline());
            QCOMPARE(font.pointSizeF(), window.font().pointSizeF());
        }
    }
};

QTEST_MAIN(TestWholeTexts)
#include "tst_wholetexts.moc"

// The window's widget tree, its initial state and its slot table.
#include "mainwindow/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QProgressBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

class TestForm : public QObject
{
    Q_OBJECT

private:
    MainWindow *window = nullptr;
    template <typename T = QObject> T *child(const QString &name)
    {
        return window->findChild<T *>(name);
    }

private slots:
    void init()
    {
        // A slot bound during setupUi without a matching signal, or run by an initial state,
        // would show up as a warning here.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("connectSlotsByName|No matching")));
        window = new MainWindow;
    }
    void cleanup()
    {
        delete window;
        window = nullptr;
    }

    void placement_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QString>("layoutName");
        QTest::addColumn<QString>("position"); // box item (1-based) or "row,column"

        auto row = [](const char *n, const char *c, const char *p, const char *l, const char *pos) {
            QTest::newRow(n) << QString::fromLatin1(n) << QString::fromLatin1(c)
                             << QString::fromLatin1(p) << QString::fromLatin1(l)
                             << QString::fromLatin1(pos);
        };
        row("centralWidget", "QWidget", "MainWindow", "", "");
        row("labelSource", "QLabel", "centralWidget", "horizontalLayout", "1");
        row("label_2", "QLabel", "centralWidget", "horizontalLayout", "3");
        row("listeFichiersChoisis", "QListView", "centralWidget", "verticalLayout_2", "2");
        row("labelDest", "QLabel", "centralWidget", "horizontalLayout_2", "1");
        row("boutonSelectFichiers", "QPushButton", "centralWidget", "horizontalLayout_2", "3");
        row("lineChemin", "QLineEdit", "centralWidget", "layoutChemin", "1");
        row("boutonChoisirDest", "QPushButton", "centralWidget", "layoutChemin", "2");
        row("tabWidget", "QTabWidget", "centralWidget", "verticalLayout_2", "5");
        row("radioCouleurs8", "QRadioButton", "tab_3", "gridLayout", "1,2");
        row("radioGrayscale8", "QRadioButton", "tab_3", "gridLayout", "1,1");
        row("radioCouleurs4", "QRadioButton", "tab_3", "gridLayout", "0,2");
        row("radioGrayscale4", "QRadioButton", "tab_3", "gridLayout", "0,1");
        row("radioNoirEtBlanc", "QRadioButton", "tab_3", "gridLayout", "0,0");
        row("labelCompressionFaible", "QLabel", "tab_7", "horizontalLayout_4", "1");
        row("labelCompressionHaute", "QLabel", "tab_7", "horizontalLayout_4", "3");
        row("sliderCompression", "QSlider", "tab_7", "horizontalLayout_3", "1");
        row("spinCompression", "QSpinBox", "tab_7", "horizontalLayout_3", "2");
        row("label", "QLabel", "tab_4", "verticalLayout", "1");
        row("radioQualiteBasse", "QRadioButton", "tab_4", "horizontalLayout_8", "1");
        row("radioQualiteMoyenne", "QRadioButton", "tab_4", "horizontalLayout_8", "2");
        row("radioQualiteHaute", "QRadioButton", "tab_4", "horizontalLayout_8", "3");
        row("choixRedim", "QCheckBox", "tab_4", "horizontalLayout_8", "5");
        row("choixJPEG", "QRadioButton", "tab_2", "gridLayout_4", "2,0");
        row("choixPNG", "QRadioButton", "tab_2", "gridLayout_4", "0,0");
        row("choixAppend", "QCheckBox", "tab", "gridLayout_2", "0,2");
        row("choixTNS", "QCheckBox", "tab", "gridLayout_2", "0,0");
        row("boutonConvertir", "QPushButton", "centralWidget", "layoutConvertir", "1");
        row("boutonRenommerTNS", "QPushButton", "centralWidget", "layoutConvertir", "2");
        row("boutonRenommerIMG", "QPushButton", "centralWidget", "layoutConvertir", "3");
        row("menuBar", "QMenuBar", "MainWindow", "", "");
        row("menuFichier", "QMenu", "menuBar", "", "");
        row("menu", "QMenu", "menuBar", "", "");
        row("statusBar", "QStatusBar", "MainWindow", "", "");
    }
    void placement()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QString, parentName);
        QFETCH(QString, layoutName);
        QFETCH(QString, position);

        QWidget *w = child<QWidget>(name);
        QVERIFY2(w, qPrintable(name));
        QCOMPARE(QString::fromLatin1(w->metaObject()->className()), className);
        QCOMPARE(w->parentWidget()->objectName(), parentName);
        if (layoutName.isEmpty())
            return;
        QLayout *layout = child<QLayout>(layoutName);
        QVERIFY(layout);
        const int index = layout->indexOf(w);
        QVERIFY2(index >= 0, "not in that layout");
        if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
            int r, c, rs, cs;
            grid->getItemPosition(index, &r, &c, &rs, &cs);
            QCOMPARE(QStringLiteral("%1,%2").arg(r).arg(c), position);
            QCOMPARE(rs, 1);
            QCOMPARE(cs, 1);
        } else {
            QCOMPARE(QString::number(index + 1), position);
        }
    }

    void layouts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("owner"); // the widget it is set on, or the layout holding it
        QTest::addColumn<int>("item"); // position in the holding layout, 0 when set on a widget
        QTest::addColumn<int>("spacing");
        QTest::addColumn<int>("margin");
        QTest::addColumn<int>("spacers");
        QTest::newRow("verticalLayout_2") << "verticalLayout_2"
                                          << "centralWidget" << 0 << 4 << 6 << 0;
        QTest::newRow("horizontalLayout") << "horizontalLayout"
                                          << "verticalLayout_2" << 1 << 6 << 0 << 1;
        QTest::newRow("horizontalLayout_2") << "horizontalLayout_2"
                                            << "verticalLayout_2" << 3 << 6 << 0 << 1;
        QTest::newRow("layoutChemin") << "layoutChemin"
                                      << "verticalLayout_2" << 4 << 6 << 0 << 0;
        QTest::newRow("layoutConvertir") << "layoutConvertir"
                                         << "verticalLayout_2" << 6 << 6 << 0 << 1;
        QTest::newRow("gridLayout") << "gridLayout"
                                    << "tab_3" << 0 << 6 << 11 << 1;
        QTest::newRow("verticalLayout_3") << "verticalLayout_3"
                                          << "tab_7" << 0 << 6 << 11 << 0;
        QTest::newRow("horizontalLayout_4") << "horizontalLayout_4"
                                            << "verticalLayout_3" << 1 << 6 << 0 << 1;
        QTest::newRow("horizontalLayout_3") << "horizontalLayout_3"
                                            << "verticalLayout_3" << 2 << 6 << 0 << 0;
        QTest::newRow("verticalLayout") << "verticalLayout"
                                        << "tab_4" << 0 << 6 << 11 << 0;
        QTest::newRow("horizontalLayout_8") << "horizontalLayout_8"
                                            << "verticalLayout" << 2 << 6 << 0 << 1;
        QTest::newRow("gridLayout_4") << "gridLayout_4"
                                      << "tab_2" << 0 << 6 << 11 << 1;
        QTest::newRow("gridLayout_2") << "gridLayout_2"
                                      << "tab" << 0 << 6 << 11 << 1;
    }
    void layouts()
    {
        QFETCH(QString, name);
        QFETCH(QString, owner);
        QFETCH(int, item);
        QFETCH(int, spacing);
        QFETCH(int, margin);
        QFETCH(int, spacers);

        QLayout *layout = child<QLayout>(name);
        QVERIFY(layout);
        QCOMPARE(layout->spacing(), spacing);
        QCOMPARE(layout->contentsMargins(), QMargins(margin, margin, margin, margin));
        if (item == 0) {
            QCOMPARE(layout->parentWidget()->objectName(), owner);
            QCOMPARE(layout->parentWidget()->layout(), layout);
        } else {
            auto *holder = qobject_cast<QLayout *>(layout->parent());
            QVERIFY(holder);
            QCOMPARE(holder->objectName(), owner);
            QCOMPARE(holder->indexOf(layout) + 1, item);
        }
        int found = 0;
        for (int i = 0; i < layout->count(); ++i) {
            if (QSpacerItem *s = layout->itemAt(i)->spacerItem()) {
                ++found;
                QCOMPARE(s->sizeHint(), QSize(40, 20));
                QCOMPARE(s->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
                QCOMPARE(s->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
            }
        }
        QCOMPARE(found, spacers);
    }

    void tabPages()
    {
        auto *tabs = child<QTabWidget>(QStringLiteral("tabWidget"));
        const QStringList pages{"tab_3", "tab_7", "tab_4", "tab_2", "tab"};
        QCOMPARE(tabs->count(), pages.size());
        for (int i = 0; i < pages.size(); ++i)
            QCOMPARE(tabs->widget(i)->objectName(), pages.at(i));
        QCOMPARE(tabs->currentIndex(), 0);
    }

    void initialState_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("value");
        auto row = [](const char *tag, const char *n, const char *p, const QVariant &v) {
            QTest::newRow(tag) << QString::fromLatin1(n) << QByteArray(p) << v;
        };
        row("grey4 checked", "radioGrayscale4", "checked", true);
        row("bw", "radioNoirEtBlanc", "checked", false);
        row("grey8", "radioGrayscale8", "checked", false);
        row("colour4", "radioCouleurs4", "checked", false);
        row("colour8", "radioCouleurs8", "checked", false);
        row("colour4 enabled", "radioCouleurs4", "enabled", true);
        row("grey4 checkable", "radioGrayscale4", "checkable", true);
        row("slider min", "sliderCompression", "minimum", 0);
        row("slider max", "sliderCompression", "maximum", 9);
        row("slider value", "sliderCompression", "value", 9);
        row("slider step", "sliderCompression", "singleStep", 1);
        row("slider page", "sliderCompression", "pageStep", 1);
        row("slider orientation", "sliderCompression", "orientation", int(Qt::Horizontal));
        row("spin min", "spinCompression", "minimum", 0);
        row("spin max", "spinCompression", "maximum", 9);
        row("spin value", "spinCompression", "value", 9);
        row("spin suffix", "spinCompression", "suffix", QStringLiteral("/9"));
        row("spin text", "spinCompression", "text", QStringLiteral("9/9"));
        row("quality low", "radioQualiteBasse", "checked", false);
        row("quality medium", "radioQualiteMoyenne", "checked", true);
        row("quality high", "radioQualiteHaute", "checked", false);
        row("resize", "choixRedim", "checked", false);
        row("png", "choixPNG", "checked", true);
        row("jpeg", "choixJPEG", "checked", false);
        row("tns", "choixTNS", "checked", false);
        row("append", "choixAppend", "checked", false);
        row("destination", "lineChemin", "text", QString());
        row("list edit", "listeFichiersChoisis", "editTriggers",
            int(QAbstractItemView::NoEditTriggers));
        row("list drop", "listeFichiersChoisis", "dragDropMode", int(QAbstractItemView::DropOnly));
        row("list action", "listeFichiersChoisis", "defaultDropAction", int(Qt::LinkAction));
        row("list selection", "listeFichiersChoisis", "selectionMode",
            int(QAbstractItemView::MultiSelection));
        row("tabs max", "tabWidget", "maximumSize", QSize(16777215, 80));
        row("browse max", "boutonChoisirDest", "maximumSize", QSize(40, 16777215));
        row("tns max", "choixTNS", "maximumSize", QSize(110, 16777215));
        row("menu bar", "menuBar", "geometry", QRect(0, 0, 516, 21));
        const QString heading =
            QStringLiteral("font: 75 8pt \"MS Shell Dlg 2\";\ntext-decoration: underline;");
        row("source heading", "labelSource", "styleSheet", heading);
        row("destination heading", "labelDest", "styleSheet", heading);
        row("plain label", "label_2", "styleSheet", QString());
        row("list tracking", "listeFichiersChoisis", "mouseTracking", true);
        row("window drops", "MainWindow", "acceptDrops", true);
        row("window size", "MainWindow", "size", QSize(516, 500));
    }
    void initialState()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, property);
        QFETCH(QVariant, value);
        QObject *o = name == QLatin1String("MainWindow") ? window : child(name);
        QVERIFY2(o, qPrintable(name));
        QVariant actual = o->property(property.constData());
        if (value.typeId() == QMetaType::Int && actual.typeId() != QMetaType::Int)
            actual = actual.toInt();
        QCOMPARE(actual, value);
    }

    void everythingEnabled()
    {
        // The tab bar's own scroll buttons are disabled while nothing needs scrolling.
        for (QWidget *w : window->findChildren<QWidget *>()) {
            if (w->objectName().startsWith(QLatin1String("Scroll")))
                continue;
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
        }
    }

    void startState()
    {
        QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
        QCOMPARE(child<QStatusBar>(QStringLiteral("statusBar"))->currentMessage(),
                 QStringLiteral("velinor par pivolette"));
        QVERIFY(!child<QProgressBar>(QStringLiteral("progressBar"))->isVisibleTo(window));
        auto *list = child<QListView>(QStringLiteral("listeFichiersChoisis"));
        QVERIFY(list->model());
        QCOMPARE(list->model()->rowCount(), 0);
        QCOMPARE(window->menuBar()->objectName(), QStringLiteral("menuBar"));
        QCOMPARE(window->statusBar()->objectName(), QStringLiteral("statusBar"));
        QCOMPARE(window->centralWidget()->objectName(), QStringLiteral("centralWidget"));
    }

    void menus()
    {
        const QList<QAction *> bar = window->menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar.at(0)->menu(), child<QMenu>(QStringLiteral("menuFichier")));
        QCOMPARE(bar.at(1)->menu(), child<QMenu>(QStringLiteral("menu")));

        auto names = [](QMenu *m) {
            QStringList out;
            for (QAction *a : m->actions())
                out << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
            return out;
        };
        QCOMPARE(names(child<QMenu>(QStringLiteral("menuFichier"))),
                 (QStringList{"actionD_tecter_convert_exe", "|", "actionVider_la_liste", "|",
                              "actionQuitter"}));
        QCOMPARE(names(child<QMenu>(QStringLiteral("menu"))),
                 (QStringList{"actionAide", "|", "actionA_propos", "actionA_propos_de_Qt",
                              "actionA_propos_de_Ghostscript", "actionA_propos_de_ImageMagick"}));
        for (QAction *a : window->findChildren<QAction *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (a->objectName().startsWith(QLatin1String("action"))) {
                QCOMPARE(a->parent(), window);
                QVERIFY(a->shortcut().isEmpty());
                QVERIFY(a->icon().isNull());
                QVERIFY(a->statusTip().isEmpty());
            }
        }
    }

    void sizeLimits()
    {
        window->resize(1600, 1200);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(child<QWidget>(QStringLiteral("tabWidget"))->height() <= 80);
        QVERIFY(child<QWidget>(QStringLiteral("boutonChoisirDest"))->width() <= 40);
        QVERIFY(child<QWidget>(QStringLiteral("choixTNS"))->width() <= 110);
        QVERIFY(child<QWidget>(QStringLiteral("lineChemin"))->width() > 1000);
    }

    void focusChain()
    {
        const QStringList expected{"listeFichiersChoisis",
                                   "boutonSelectFichiers",
                                   "lineChemin",
                                   "boutonChoisirDest",
                                   "tabWidget",
                                   "boutonConvertir",
                                   "radioNoirEtBlanc",
                                   "radioGrayscale4",
                                   "radioGrayscale8",
                                   "radioCouleurs4",
                                   "radioCouleurs8",
                                   "sliderCompression",
                                   "spinCompression",
                                   "radioQualiteBasse",
                                   "radioQualiteMoyenne",
                                   "radioQualiteHaute",
                                   "choixRedim",
                                   "choixTNS",
                                   "choixAppend"};
        QStringList visited;
        QWidget *w = child<QWidget>(expected.first());
        for (int guard = 0; guard < 500 && visited.size() < expected.size(); ++guard) {
            // Compound widgets (the spin box's line edit) stand in the chain for their owner.
            QWidget *named = w;
            while (named && !expected.contains(named->objectName()))
                named = named->parentWidget();
            if (named && (visited.isEmpty() || visited.last() != named->objectName()))
                visited << named->objectName();
            w = w->nextInFocusChain();
        }
        QCOMPARE(visited, expected);
    }

    void sliderAndSpinStayEqual_data()
    {
        QTest::addColumn<bool>("viaSlider");
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("expected");
        QTest::newRow("slider 3") << true << 3 << 3;
        QTest::newRow("spin 7") << false << 7 << 7;
        QTest::newRow("slider 0") << true << 0 << 0;
        QTest::newRow("spin above") << false << 12 << 9;
        QTest::newRow("slider below") << true << -4 << 0;
        QTest::newRow("spin below") << false << -1 << 0;
    }
    void sliderAndSpinStayEqual()
    {
        QFETCH(bool, viaSlider);
        QFETCH(int, set);
        QFETCH(int, expected);
        auto *slider = child<QSlider>(QStringLiteral("sliderCompression"));
        auto *spin = child<QSpinBox>(QStringLiteral("spinCompression"));
        if (viaSlider)
            slider->setValue(set);
        else
            spin->setValue(set);
        QCOMPARE(slider->value(), expected);
        QCOMPARE(spin->value(), expected);
        QCOMPARE(spin->text(), QStringLiteral("%1/9").arg(expected));
    }

    void typingInSpinMovesSlider()
    {
        auto *spin = child<QSpinBox>(QStringLiteral("spinCompression"));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        spin->selectAll();
        QTest::keyClicks(spin, QStringLiteral("7"));
        QCOMPARE(child<QSlider>(QStringLiteral("sliderCompression"))->value(), 7);
    }

    void quitCloses()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        child<QAction>(QStringLiteral("actionQuitter"))->trigger();
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(TestForm)
#include "tst_form.moc"

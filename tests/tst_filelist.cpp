// The file list: additions by dialog and by drop, duplicates, the source folder, removal by double
// click and clearing, with the status texts of a drag.
#include "filelistdriver.h"
#include "mainwindow/mainwindow.h"
#include "modalanswerer.h"
#include "paths.h"
#include "testenv.h"

#include <QAction>
#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

static const QString added = QStringLiteral("Fichiers ajoutés avec succès.");

// Local paths /d/f0.pdf ... in order.
static QStringList numbered(int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << QStringLiteral("/d/f%1.pdf").arg(i);
    return paths;
}

static QList<QUrl> localUrls(const QStringList &paths)
{
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls << QUrl::fromLocalFile(p);
    return urls;
}

class TestFileList : public QObject
{
    Q_OBJECT

private:
    static QLineEdit *destination(MainWindow &w)
    {
        return w.findChild<QLineEdit *>(QStringLiteral("lineChemin"));
    }
    static void clickSelect(MainWindow &w)
    {
        w.findChild<QPushButton *>(QStringLiteral("boutonSelectFichiers"))->click();
    }
    // Where the file dialog opens, which is the source folder once one is known.
    static QString sourceFolder(MainWindow &w)
    {
        ModalAnswerer answerer;
        answerer.cancel();
        clickSelect(w);
        return answerer.records().value(0).directory;
    }

private slots:
    void folderOf_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::newRow("file") << "C:/Docs/a.pdf"
                              << "C:/Docs";
        QTest::newRow("drive root") << "C:/a.pdf"
                                    << "C:";
        QTest::newRow("unix root") << "/a.pdf"
                                   << "";
        QTest::newRow("trailing slash") << "/tmp/dir/"
                                        << "/tmp/dir";
        QTest::newRow("no slash") << "a.pdf"
                                  << "a.pdf";
        QTest::newRow("backslashes are no separator") << "C:\\Docs\\a.pdf"
                                                      << "C:\\Docs\\a.pdf";
        QTest::newRow("empty") << ""
                               << "";
    }
    void folderOf()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QCOMPARE(velinor::folderOf(path), folder);
    }

    void dropPath_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<QString>("path");
        QTest::newRow("local file") << QUrl::fromLocalFile("/tmp/a b.pdf") << "/tmp/a b.pdf";
        QTest::newRow("decoded") << QUrl("file:///tmp/%C3%A9t%C3%A9%20x.pdf") << "/tmp/été x.pdf";
        QTest::newRow("host dropped") << QUrl("file://server/share/a.pdf") << "/share/a.pdf";
        QTest::newRow("any scheme, no query")
            << QUrl("http://example.org/x.pdf?a=1#top") << "/x.pdf";
        QTest::newRow("empty path") << QUrl("file:") << "";
    }
    void dropPath()
    {
        QFETCH(QUrl, url);
        QFETCH(QString, path);
#ifdef Q_OS_WIN
        path = path.mid(1); // file URLs there read /C:/...
#endif
        QCOMPARE(velinor::dropPath(url), path);
    }

    void drop_data()
    {
        QTest::addColumn<QStringList>("before"); // dropped first, as local files
        QTest::addColumn<QList<QUrl>>("urls");   // none: a drop of plain text
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("destination");

        QTest::newRow("into an empty list") << QStringList{} << localUrls({"/d/a.pdf", "/e/b.pdf"})
                                            << QStringList{"/d/a.pdf", "/e/b.pdf"} << "/e";
        QTest::newRow("some listed already")
            << QStringList{"/d/a.pdf", "/e/b.pdf"}
            << localUrls({"/e/b.pdf", "/f/c.pdf", "/d/a.pdf", "/f/c.pdf", "/g/d.pdf"})
            << QStringList{"/d/a.pdf", "/e/b.pdf", "/f/c.pdf", "/g/d.pdf"} << "/e";
        QTest::newRow("only duplicates")
            << QStringList{"/d/a.pdf", "/e/b.pdf"} << localUrls({"/e/b.pdf", "/d/a.pdf"})
            << QStringList{"/d/a.pdf", "/e/b.pdf"} << "/e";
        QTest::newRow("letter case counts")
            << QStringList{"/d/a.pdf"} << localUrls({"/d/A.pdf", "/D/a.pdf"})
            << QStringList{"/d/a.pdf", "/d/A.pdf", "/D/a.pdf"} << "/d";
        QTest::newRow("40 files, first 32 kept")
            << QStringList{} << localUrls(numbered(40)) << numbered(32) << "/d";
        QTest::newRow("no URLs") << QStringList{"/d/a.pdf"} << QList<QUrl>{}
                                 << QStringList{"/d/a.pdf"} << "/d";
        QTest::newRow("folder") << QStringList{} << localUrls({"/d/sub"}) << QStringList{"/d/sub"}
                                << "/d";
        QTest::newRow("other schemes too")
            << QStringList{} << QList<QUrl>{QUrl("https://example.org/doc.pdf")}
            << QStringList{"/doc.pdf"} << "";
        QTest::newRow("empty path")
            << QStringList{} << QList<QUrl>{QUrl("file:")} << QStringList{""} << "";
    }
    void drop()
    {
        QFETCH(QStringList, before);
        QFETCH(QList<QUrl>, urls);
        QFETCH(QStringList, after);
        QFETCH(QString, destination);

        MainWindow window;
        if (!before.isEmpty())
            filelist::dropFiles(&window, before);
        window.statusBar()->showMessage(QStringLiteral("before"));
        filelist::drop(&window, urls);

        QCOMPARE(filelist::entries(&window), after);
        QCOMPARE(TestFileList::destination(window)->text(), destination);
        QCOMPARE(window.statusBar()->currentMessage(), added);
    }

    void dragStatus()
    {
        MainWindow window;
        QMimeData data;
        data.setText(QStringLiteral("anything"));

        QDragEnterEvent enter(QPoint(5, 5), Qt::LinkAction | Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        enter.setAccepted(false);
        enter.setDropAction(Qt::LinkAction); // the proposed one is Copy
        QCoreApplication::sendEvent(&window, &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
        QCOMPARE(window.statusBar()->currentMessage(),
                 QStringLiteral("Droppez les fichiers pour les ajouter."));

        QDragMoveEvent move(QPoint(9, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        move.setAccepted(false);
        QCoreApplication::sendEvent(&window, &move);
        QVERIFY(move.isAccepted());

        QDragLeaveEvent leave;
        leave.setAccepted(false);
        QCoreApplication::sendEvent(&window, &leave);
        QVERIFY(leave.isAccepted());
        QCOMPARE(window.statusBar()->currentMessage(), QString());
        QVERIFY(filelist::entries(&window).isEmpty());
    }

    // Dialog additions keep the dialog's order, drop duplicates, and each dialog opens in the
    // folder of the entry added last.
    void dialog()
    {
        QTemporaryDir tmp;
        const QString one = tmp.path() + "/one", two = tmp.path() + "/two";
        const QString a = testenv::writeFile(one + "/a.pdf"),
                      b = testenv::writeFile(one + "/b.pdf");
        const QString c = testenv::writeFile(two + "/c.pdf");

        MainWindow window;
        ModalAnswerer answerer;
        answerer.choose({b, a}).choose({c, b}).cancel();
        clickSelect(window);
        QCOMPARE(filelist::entries(&window), (QStringList{b, a}));
        QCOMPARE(destination(window)->text(), one);

        const ModalRecord first = answerer.records().value(0);
        QCOMPARE(first.className, QStringLiteral("QFileDialog"));
        QCOMPARE(first.title, QStringLiteral("Sélectionnez les fichiers à convertir"));
        QCOMPARE(first.parent, &window);
        QCOMPARE(first.fileMode, QFileDialog::ExistingFiles);
        QCOMPARE(first.nameFilters.size(), 3);
        QCOMPARE(first.selectedNameFilter, QStringLiteral("Fichiers PDF (*.pdf)"));
        QVERIFY(first.nameFilters.at(1).startsWith(QLatin1String("Images (")));
        QVERIFY(first.nameFilters.at(2).startsWith(QLatin1String("Tous les fichiers (")));
        // Each filter must let the dialog show the files it names.
        QFileDialog probe;
        probe.setOption(QFileDialog::DontUseNativeDialog);
        probe.setNameFilters(first.nameFilters);
        auto *model = probe.findChild<QFileSystemModel *>();
        QVERIFY(model);
        const QList<QStringList> shown{
            {"cours.pdf", "COURS.PDF"},
            {"a.jpg", "a.png", "a.gif", "a.psd", "a.tiff", "a.svg", "a.bmp"},
            {"a.pdf", "a.jpg", "notes"}};
        for (int f = 0; f < 3; ++f) {
            probe.selectNameFilter(first.nameFilters.at(f));
            for (const QString &name : shown.at(f))
                QVERIFY2(QDir::match(model->nameFilters(), name),
                         qPrintable(first.nameFilters.at(f) + " hides " + name));
        }
        probe.selectNameFilter(first.nameFilters.at(0));
        QVERIFY(!QDir::match(model->nameFilters(), QStringLiteral("a.png")));

        clickSelect(window);
        QCOMPARE(answerer.records().value(1).directory, one);
        QCOMPARE(filelist::entries(&window), (QStringList{b, a, c}));
        QCOMPARE(destination(window)->text(), one); // set already, so kept

        // Even a cancelled dialog gives an emptied destination the last entry's folder.
        destination(window)->clear();
        clickSelect(window);
        QCOMPARE(answerer.records().value(2).directory, two);
        QCOMPARE(filelist::entries(&window), (QStringList{b, a, c}));
        QCOMPARE(destination(window)->text(), two);
        QCOMPARE(answerer.unexpected(), 0);
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("velinor par pivolette"));
    }

    void removal_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("first") << 0 << QStringList{"b.pdf", "c.pdf"};
        QTest::newRow("middle") << 1 << QStringList{"a.pdf", "c.pdf"};
        QTest::newRow("last added") << 2 << QStringList{"a.pdf", "b.pdf"};
    }
    void removal()
    {
        QFETCH(int, row);
        QFETCH(QStringList, left);

        QTemporaryDir tmp;
        const QString one = tmp.path() + "/one", two = tmp.path() + "/two";
        MainWindow window;
        filelist::dropFiles(&window, {one + "/a.pdf", one + "/b.pdf"});
        filelist::dropFiles(&window, {two + "/c.pdf"});
        QDir().mkpath(two);

        QListView *view = filelist::view(&window);
        emit view->doubleClicked(view->model()->index(row, 0));

        QStringList names;
        for (const QString &entry : filelist::entries(&window))
            names << velinor::fileName(entry);
        QCOMPARE(names, left);
        QCOMPARE(destination(window)->text(), one);
        QCOMPARE(sourceFolder(window), two);
    }

    void clearing()
    {
        QTemporaryDir tmp;
        MainWindow window;
        QAction *clear = window.findChild<QAction *>(QStringLiteral("actionVider_la_liste"));
        clear->trigger();
        QVERIFY(filelist::entries(&window).isEmpty());

        filelist::dropFiles(&window, {tmp.path() + "/a.pdf", tmp.path() + "/b.pdf"});
        window.statusBar()->showMessage(QStringLiteral("before"));
        clear->trigger();
        QVERIFY(filelist::entries(&window).isEmpty());
        QCOMPARE(destination(window)->text(), tmp.path());
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("before"));
        QCOMPARE(sourceFolder(window), tmp.path());

        // A cleared list starts again from nothing: earlier entries are no duplicates.
        filelist::dropFiles(&window, {tmp.path() + "/b.pdf"});
        QCOMPARE(filelist::entries(&window), QStringList{tmp.path() + "/b.pdf"});
    }
};

QTEST_MAIN(TestFileList)
#include "tst_filelist.moc"

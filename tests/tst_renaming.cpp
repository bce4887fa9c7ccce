// The two rename buttons through the real window: progress, status texts, no box, and which
// files of each source's own folder change name.
#include "filelistdriver.h"
#include "modalanswerer.h"
#include "testenv.h"
#include "windowdriver.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using testenv::fileNames;
using testenv::writeFile;

class TestRenaming : public QObject
{
    Q_OBJECT

private slots:
    void progress_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<QList<int>>("values");
        QTest::newRow("none") << 0 << QList<int>{1, 0};
        QTest::newRow("one") << 1 << QList<int>{1, 95, 0};
        QTest::newRow("three") << 3 << QList<int>{1, 35, 65, 95, 0};
        QTest::newRow("four") << 4 << QList<int>{1, 27, 50, 72, 95, 0};
    }
    void progress()
    {
        QFETCH(int, entries);
        QFETCH(QList<int>, values);
        QTemporaryDir dir;
        MainWindow w;
        QStringList paths;
        for (int i = 0; i < entries; ++i)
            paths << dir.filePath(QStringLiteral("doc%1.pdf").arg(i));
        if (!paths.isEmpty())
            filelist::dropFiles(&w, paths); // missing sources still count for the progress
        for (const char *button : {"boutonRenommerTNS", "boutonRenommerIMG"}) {
            w.findChild<QProgressBar *>()->setValue(0);
            ModalAnswerer answerer;
            RunRecorder rec(&w);
            window::click(&w, button);
            QCOMPARE(rec.progress, values);
            QVERIFY(!rec.hiddenDuringChange);
            QCOMPARE(rec.messages, (QStringList{QStringLiteral("Le renommage a commencé..."),
                                                QStringLiteral("Fini !")}));
            QVERIFY(w.findChild<QProgressBar *>()->isHidden());
            QCOMPARE(answerer.records().size(), 0);
        }
    }

    // Each row: sources listed (in the folder "d" unless they name another), files lying in
    // "d" before, the names after "Renommer en .tns", then after "Renommer en image".
    void buttons_data()
    {
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("afterTns");
        QTest::addColumn<QStringList>("afterImage");

        QTest::newRow("pages and jpg")
            << QStringList{"a.pdf"} << QStringList{"a-0.png", "a-1.png", "a.jpg", "b.png"}
            << QStringList{"a-0.png.tns", "a-1.png.tns", "a.jpg.tns", "b.png"}
            << QStringList{"a-0.png", "a-1.png", "a.jpg", "b.png"};
        QTest::newRow("prefix match") << QStringList{"a.pdf"} << QStringList{"ab.png"}
                                      << QStringList{"ab.png.tns"} << QStringList{"ab.png"};
        QTest::newRow("no dot in the source name")
            << QStringList{"notes"} << QStringList{"x.png", "y.jpg", "z.txt"}
            << QStringList{"x.png.tns", "y.jpg.tns", "z.txt"}
            << QStringList{"x.png", "y.jpg", "z.txt"};
        QTest::newRow("calculator documents keep their extension")
            << QStringList{"cours.pdf"}
            << QStringList{"cours-exercices.tns", "cours.png", "cours.tns", "coursB.tns"}
            << QStringList{"cours-exercices.tns", "cours.png.tns", "cours.tns", "coursB.tns"}
            << QStringList{"cours-exercices.tns", "cours.png", "cours.tns", "coursB.tns"};
        QTest::newRow("both names exist")
            << QStringList{"a.pdf"} << QStringList{"a-0.png", "a-0.png.tns"}
            << QStringList{"a-0.png", "a-0.png.tns"} << QStringList{"a-0.png", "a-0.png.tns"};
        QTest::newRow("upper case")
            << QStringList{"a.pdf"} << QStringList{"A-0.PNG", "A.JPG"}
            << QStringList{"A-0.PNG.tns", "A.JPG.tns"} << QStringList{"A-0.PNG", "A.JPG"};
        QTest::newRow("missing source folder skipped")
            << QStringList{"gone/a.pdf", "b.pdf"} << QStringList{"a.png", "b.png"}
            << QStringList{"a.png", "b.png.tns"} << QStringList{"a.png", "b.png"};
        QTest::newRow("brackets are literal")
            << QStringList{"cours[1].pdf"} << QStringList{"cours1.png", "cours[1]-0.png"}
            << QStringList{"cours1.png", "cours[1]-0.png.tns"}
            << QStringList{"cours1.png", "cours[1]-0.png"};
        QTest::newRow("overlapping sources")
            << QStringList{"chap.pdf", "chapitre.pdf"} << QStringList{"chap.png", "chapitre.png"}
            << QStringList{"chap.png.tns", "chapitre.png.tns"}
            << QStringList{"chap.png", "chapitre.png"};
        // A listed file is something to convert, never one of the images to rename.
        QTest::newRow("listed images keep their names")
            << QStringList{"schema.png", "photo-carte.jpg"}
            << QStringList{"photo-carte.jpg", "photo-carte.png", "schema-0.png", "schema.png"}
            << QStringList{"photo-carte.jpg", "photo-carte.png.tns", "schema-0.png.tns",
                           "schema.png"}
            << QStringList{"photo-carte.jpg", "photo-carte.png", "schema-0.png", "schema.png"};
        QTest::newRow("a listed .tns file keeps its name")
            << QStringList{"a.pdf", "a-1.png.tns"} << QStringList{"a-0.png", "a-1.png.tns"}
            << QStringList{"a-0.png.tns", "a-1.png.tns"} << QStringList{"a-0.png", "a-1.png.tns"};
    }
    void buttons()
    {
        QFETCH(QStringList, sources);
        QFETCH(QStringList, before);
        QFETCH(QStringList, afterTns);
        QFETCH(QStringList, afterImage);

        QTemporaryDir root;
        const QString d = root.filePath(QStringLiteral("d"));
        for (const QString &b : before)
            writeFile(d + QLatin1Char('/') + b, b.toUtf8());
        QStringList paths;
        for (const QString &s : sources)
            paths << d + QLatin1Char('/') + s;
        MainWindow w;
        filelist::dropFiles(&w, paths);
        window::setDestination(&w, root.filePath(QStringLiteral("elsewhere")));
        ModalAnswerer answerer;

        window::click(&w, "boutonRenommerTNS");
        QCOMPARE(fileNames(d), afterTns);
        window::click(&w, "boutonRenommerTNS"); // a second time changes nothing
        QCOMPARE(fileNames(d), afterTns);
        window::click(&w, "boutonRenommerIMG");
        QCOMPARE(fileNames(d), afterImage);
        window::click(&w, "boutonRenommerIMG");
        QCOMPARE(fileNames(d), afterImage);

        // Every file kept its content: names moved, nothing was overwritten.
        for (const QString &name : afterImage)
            QVERIFY(before.contains(name) || before.contains(name + QStringLiteral(".tns")));
        QCOMPARE(answerer.records().size(), 0);
        QVERIFY(!QDir(root.filePath(QStringLiteral("elsewhere"))).exists());
    }
};

QTEST_MAIN(TestRenaming)
#include "tst_renaming.moc"

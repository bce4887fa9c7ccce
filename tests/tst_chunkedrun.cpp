// Long documents through the real window, with the fake converter and identify on PATH: the run
// shows what it shows for one call per file while the converter works on page ranges.
#include "filelistdriver.h"
#include "modalanswerer.h"
#include "testenv.h"
#include "windowdriver.h"

#include <QDir>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using testenv::fakeConverterCalls;

namespace {

// The images a document of `pages` pages gives, pages first to last, sorted as a folder lists them.
QStringList images(const QString &base, int first, int last, const QString &suffix)
{
    QStringList names;
    for (int i = first; i <= last; ++i)
        names << QStringLiteral("%1-%2%3").arg(base).arg(i).arg(suffix);
    return names;
}

QStringList sorted(QStringList list)
{
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

class TestChunkedRun : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (const char *v : {"FAKE_CONVERT_LOG", "FAKE_CONVERT_PAGES", "FAKE_CONVERT_FAIL"})
            qunsetenv(v);
    }

    // Two documents of 20 pages at the form's defaults: 8 pages a call.
    void run_data()
    {
        QTest::addColumn<QString>("fail"); // the input of the call the converter fails on
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("outputs");

        const QStringList allOfB = images("b", 0, 19, ".png.tns");
        QTest::newRow("both converted")
            << "" << QStringList{"a.pdf[0-7]", "a.pdf[8-15]", "a.pdf[16-19]",
                                 "b.pdf[0-7]", "b.pdf[8-15]", "b.pdf[16-19]"}
            << QStringList{} << sorted(images("a", 0, 19, ".png.tns") + allOfB);
        QTest::newRow("the last range fails")
            << "a.pdf[16-19]" << QStringList{"a.pdf[0-7]", "a.pdf[8-15]", "a.pdf[16-19]",
                                             "b.pdf[0-7]", "b.pdf[8-15]", "b.pdf[16-19]"}
            << QStringList{"Erreur durant la conversion de \"a.pdf\"."}
            << sorted(images("a", 0, 15, ".png.tns") + allOfB);
    }
    void run()
    {
        QFETCH(QString, fail);
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, outputs);

        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("calls.log"));
        const QString out = dir.filePath(QStringLiteral("out"));
        const QString a =
            testenv::writeFile(dir.filePath(QStringLiteral("in/a.pdf")), "%PDF-1.4\n");
        const QString b =
            testenv::writeFile(dir.filePath(QStringLiteral("in/b.pdf")), "%PDF-1.4\n");
        qputenv("FAKE_CONVERT_LOG", log.toUtf8());
        qputenv("FAKE_CONVERT_PAGES", "20");
        if (!fail.isEmpty())
            qputenv("FAKE_CONVERT_FAIL", fail.toUtf8());

        MainWindow w;
        filelist::dropFiles(&w, {a, b});
        window::setDestination(&w, out);
        window::setChecked(&w, "choixTNS");
        w.findChild<QProgressBar *>()->setValue(0);
        ModalAnswerer answerer;
        for (int i = 0; i < boxes.size(); ++i)
            answerer.clickOk();
        RunRecorder rec(&w);
        window::click(&w, "boutonConvertir");

        QStringList seenInputs;
        for (const QStringList &args : fakeConverterCalls(log))
            seenInputs << QDir(args.value(2)).dirName();
        // Ranges run side by side, so only the set of calls is fixed.
        QCOMPARE(sorted(seenInputs), sorted(inputs));
        QStringList seenBoxes;
        for (const ModalRecord &r : answerer.records()) {
            QCOMPARE(r.icon, QMessageBox::Critical);
            seenBoxes << r.text;
        }
        QCOMPARE(seenBoxes, boxes);
        QCOMPARE(rec.progress, (QList<int>{12, 50, 62, 100, 0}));
        QCOMPARE(rec.messages,
                 (QStringList{"La conversion a commencé...", "Conversion de \"a.pdf\"",
                              "Conversion de \"b.pdf\"", "Fini !"}));
        QCOMPARE(sorted(testenv::fileNames(out)), outputs);
    }

    // A short document, or one image per document, keeps its one call as it always had.
    void oneCall_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("checks");
        QTest::addColumn<QStringList>("outputs");

        QTest::newRow("three pages at high")
            << 3 << QStringList{"radioQualiteHaute"} << images("doc", 0, 2, ".png");
        QTest::newRow("one image of 200 pages")
            << 200 << QStringList{"choixAppend"} << QStringList{"doc.png"};
    }
    void oneCall()
    {
        QFETCH(int, pages);
        QFETCH(QStringList, checks);
        QFETCH(QStringList, outputs);

        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("calls.log"));
        const QString out = dir.filePath(QStringLiteral("out"));
        const QString doc =
            testenv::writeFile(dir.filePath(QStringLiteral("in/doc.pdf")), "%PDF-1.4\n");
        qputenv("FAKE_CONVERT_LOG", log.toUtf8());
        qputenv("FAKE_CONVERT_PAGES", QByteArray::number(pages));

        MainWindow w;
        for (const QString &c : checks)
            window::setChecked(&w, qPrintable(c));
        filelist::dropFiles(&w, {doc});
        window::setDestination(&w, out);
        ModalAnswerer answerer;
        window::click(&w, "boutonConvertir");

        const QList<QStringList> calls = fakeConverterCalls(log);
        QCOMPARE(calls.size(), 1);
        QVERIFY(calls.first().contains(doc));
        QVERIFY(!calls.first().contains(QStringLiteral("-scene")));
        QCOMPARE(sorted(testenv::fileNames(out)), sorted(outputs));
        QCOMPARE(answerer.records().size(), 0);
    }
};

QTEST_MAIN(TestChunkedRun)
#include "tst_chunkedrun.moc"

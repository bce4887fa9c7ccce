// The conversion run through the real window, with the fake converter on PATH: refusals,
// progress, status texts, boxes, the ".tns" rename after each file, and the source protection.
#include "filelistdriver.h"
#include "invariants.h"
#include "modalanswerer.h"
#include "testenv.h"
#include "windowdriver.h"

#include <QAbstractButton>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using testenv::fakeConverterCalls;
using testenv::fileNames;
using testenv::readFile;
using testenv::writeFile;

namespace {
const QString errorTitle = QStringLiteral("Erreur");
const QString started = QStringLiteral("La conversion a commencé...");
const QString finished = QStringLiteral("Fini !");
QString converting(const QString &name)
{
    return QStringLiteral("Conversion de \"%1\"").arg(name);
}
QString failed(const QString &name)
{
    return QStringLiteral("Erreur durant la conversion de \"%1\".").arg(name);
}
} // namespace

// The bar starts in its reset state (-1) and every run leaves it at 0; the values below are those
// of a run that starts from 0.
static void barAtZero(MainWindow *w)
{
    w->findChild<QProgressBar *>()->setValue(0);
}

class TestConversion : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    QString log;
    QString in;  // folder of the sources
    QString out; // destination

    // Every source as it was before the run, to prove that none was touched.
    QHash<QString, QByteArray> sources;
    QString source(const QString &name, const QByteArray &content = "%PDF-1.4 fake")
    {
        const QString path = writeFile(in + QLatin1Char('/') + name, content);
        sources.insert(path, content);
        return path;
    }

private slots:
    void init()
    {
        QVERIFY(tmp.isValid());
        const QString root = tmp.path() + QLatin1Char('/') + QTest::currentTestFunction() +
                             QString::fromLatin1(QTest::currentDataTag())
                                 .replace(QLatin1Char(' '), QLatin1Char('_'));
        in = root + QStringLiteral("/in");
        out = root + QStringLiteral("/out");
        log = root + QStringLiteral("/calls.log");
        QDir().mkpath(in);
        sources.clear();
        qputenv("FAKE_CONVERT_LOG", log.toUtf8());
    }
    void cleanup()
    {
        for (auto it = sources.cbegin(); it != sources.cend(); ++it)
            QCOMPARE(readFile(it.key()), it.value());
        for (const char *v : {"FAKE_CONVERT_LOG", "FAKE_CONVERT_PAGES", "FAKE_CONVERT_EXIT",
                              "FAKE_CONVERT_FAIL", "FAKE_CONVERT_CRASH", "FAKE_CONVERT_NOWRITE"})
            qunsetenv(v);
    }

    void refusals_data()
    {
        QTest::addColumn<bool>("converterKnown");
        QTest::addColumn<bool>("destinationSet");
        QTest::addColumn<QString>("text");
        const QString noConverter =
            QStringLiteral("Erreur : Chemin vers \"convert.exe\" invalide.\nAllez dans le menu "
                           "Fichier pour le re-détecter.");
        QTest::newRow("neither") << false << false << noConverter;
        QTest::newRow("no converter") << false << true << noConverter;
        QTest::newRow("no destination")
            << true << false << "Aucun répertoire de sortie n'est défini.";
    }
    void refusals()
    {
        QFETCH(bool, converterKnown);
        QFETCH(bool, destinationSet);
        QFETCH(QString, text);

        QTemporaryDir emptyPath;
        ModalAnswerer answerer;
        std::unique_ptr<MainWindow> w;
        if (converterKnown) {
            w = std::make_unique<MainWindow>();
        } else {
            ScopedEnv path("PATH", emptyPath.path().toUtf8());
            answerer.clickOk().cancel();
            w = std::make_unique<MainWindow>();
            QVERIFY(w->converterPath().isEmpty());
        }
        filelist::dropFiles(w.get(), {source(QStringLiteral("a.pdf"))});
        if (!destinationSet)
            window::setDestination(w.get(), QString());
        else
            window::setDestination(w.get(), out);
        answerer.clear();
        answerer.clickOk();
        RunRecorder rec(w.get());
        window::click(w.get(), "boutonConvertir");

        QCOMPARE(answerer.records().size(), 1);
        QCOMPARE(answerer.records().at(0).icon, QMessageBox::Warning);
        QCOMPARE(answerer.records().at(0).title, errorTitle);
        QCOMPARE(answerer.records().at(0).text, text);
        QCOMPARE(answerer.records().at(0).parent, w.get());
        QVERIFY(rec.progress.isEmpty());
        QVERIFY(rec.messages.isEmpty());
        QVERIFY(!w->findChild<QProgressBar *>()->isVisible());
        QVERIFY(fakeConverterCalls(log).isEmpty());
        QVERIFY(!QFileInfo::exists(out));
    }

    void emptyList()
    {
        MainWindow w;
        window::setDestination(&w, out + QStringLiteral("/deep/er"));
        ModalAnswerer answerer;
        RunRecorder rec(&w);
        window::click(&w, "boutonConvertir");
        QCOMPARE(rec.messages, (QStringList{started, finished}));
        QCOMPARE(rec.progress, QList<int>{0}); // from the reset state straight to 0
        QVERIFY(QFileInfo(out + QStringLiteral("/deep/er")).isDir());
        QVERIFY(answerer.records().isEmpty());
        QVERIFY(fakeConverterCalls(log).isEmpty());
        QVERIFY(!w.findChild<QProgressBar *>()->isVisible());
    }

    // Names of sources: "-" marks a file that is not there; "!" one the converter fails on.
    void run_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("progress");
        QTest::addColumn<QStringList>("boxes"); // icon letter + text; "0" prefix: no parent
        QTest::addColumn<QStringList>("converted");

        QTest::newRow("one") << QStringList{"a.pdf"} << QList<int>{25, 100, 0} << QStringList()
                             << QStringList{"a.png"};
        QTest::newRow("three") << QStringList{"a.pdf", "b.pdf", "c.pdf"}
                               << QList<int>{8, 33, 41, 66, 74, 100, 0} << QStringList()
                               << QStringList{"a.png", "b.png", "c.png"};
        QTest::newRow("missing in the middle")
            << QStringList{"a.pdf", "-gone.pdf", "c.pdf"} << QList<int>{8, 33, 41, 100, 0}
            << QStringList{"0W:Le fichier spécifié n'existe pas !"}
            << QStringList{"a.png", "c.png"};
        QTest::newRow("failure then success")
            << QStringList{"!bad.pdf", "good.pdf"} << QList<int>{12, 50, 62, 100, 0}
            << QStringList{"C:" + failed("bad.pdf")} << QStringList{"good.png"};
    }
    void run()
    {
        QFETCH(QStringList, names);
        QFETCH(QList<int>, progress);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, converted);

        qputenv("FAKE_CONVERT_FAIL", "bad");
        MainWindow w;
        QStringList paths;
        QStringList expectedMessages{started};
        for (QString name : names) {
            if (name.startsWith(QLatin1Char('-'))) {
                paths << in + QLatin1Char('/') + name.mid(1);
                continue;
            }
            if (name.startsWith(QLatin1Char('!')))
                name = name.mid(1);
            paths << source(name);
            expectedMessages << converting(name);
        }
        expectedMessages << finished;
        filelist::dropFiles(&w, paths);
        window::setDestination(&w, out);

        ModalAnswerer answerer;
        for (int i = 0; i < boxes.size(); ++i)
            answerer.clickOk();
        barAtZero(&w);
        RunRecorder rec(&w);
        window::click(&w, "boutonConvertir");

        QCOMPARE(rec.progress, progress);
        QVERIFY(!rec.hiddenDuringChange);
        QCOMPARE(rec.messages, expectedMessages);
        QStringList seen;
        for (const ModalRecord &r : answerer.records()) {
            QCOMPARE(r.title, errorTitle);
            seen << QString::fromLatin1(r.parent ? "" : "0") +
                        (r.icon == QMessageBox::Critical ? QStringLiteral("C:")
                                                         : QStringLiteral("W:")) +
                        r.text;
        }
        QCOMPARE(seen, boxes);
        QCOMPARE(fileNames(out), converted);
        QVERIFY(!w.findChild<QProgressBar *>()->isVisible());
        QCOMPARE(w.statusBar()->currentMessage(), finished);
        QCOMPARE(filelist::entries(&w), paths);
    }

    void manyFilesProgress()
    {
        // Above 100 files the quarter step is 0 and the bar moves only by whole files.
        MainWindow w;
        QStringList paths;
        for (int i = 0; i < 120; ++i)
            paths << source(QStringLiteral("f%1.pdf").arg(i));
        for (int i = 0; i < paths.size(); i += 32)
            filelist::dropFiles(&w, paths.mid(i, 32));
        window::setDestination(&w, out);
        barAtZero(&w);
        RunRecorder rec(&w);
        window::click(&w, "boutonConvertir");
        QList<int> expected;
        for (int i = 0; i < 120; ++i)
            if ((i + 1) * 100 / 120 != (i ? i * 100 / 120 : 0))
                expected << (i + 1) * 100 / 120;
        expected << 0;
        QCOMPARE(rec.progress, expected);
        QCOMPARE(fakeConverterCalls(log).size(), 120);
    }

    void crashAndUnstartable_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::newRow("crash") << QByteArray("FAKE_CONVERT_CRASH");
        QTest::newRow("non-zero exit") << QByteArray("FAKE_CONVERT_EXIT");
        QTest::newRow("cannot start") << QByteArray();
    }
    void crashAndUnstartable()
    {
        QFETCH(QByteArray, variable);
        std::unique_ptr<MainWindow> w;
        ModalAnswerer answerer;
        QTemporaryDir bin;
        if (variable.isEmpty()) {
            // A converter that was found and then removed.
            const QString gone = bin.path() + QStringLiteral("/convert");
            QFile::copy(QStringLiteral(VELINOR_FAKE_CONVERT), gone);
            ScopedEnv path("PATH", bin.path().toUtf8());
            w = std::make_unique<MainWindow>();
            QCOMPARE(w->converterPath(), gone);
            QFile::remove(gone);
        } else {
            qputenv(variable.constData(), "3");
            w = std::make_unique<MainWindow>();
        }
        filelist::dropFiles(w.get(), {source(QStringLiteral("doc.pdf"))});
        window::setDestination(w.get(), out);
        answerer.clickOk();
        window::click(w.get(), "boutonConvertir");
        QCOMPARE(answerer.records().size(), 1);
        QCOMPARE(answerer.records().at(0).icon, QMessageBox::Critical);
        QCOMPARE(answerer.records().at(0).text, failed(QStringLiteral("doc.pdf")));
        QCOMPARE(answerer.records().at(0).parent, w.get());
        QCOMPARE(w->statusBar()->currentMessage(), finished);
    }

    void destinationCreatedWithParents()
    {
        MainWindow w;
        filelist::dropFiles(&w, {source(QStringLiteral("a.pdf"))});
        const QString deep = out + QStringLiteral("/x/y/z");
        window::setDestination(&w, deep);
        window::click(&w, "boutonConvertir");
        QCOMPARE(fileNames(deep), QStringList{"a.png"});
    }

    void uncreatableDestination()
    {
        MainWindow w;
        filelist::dropFiles(&w, {source(QStringLiteral("a.pdf"))});
        const QString blocker = writeFile(out + QStringLiteral("/file"));
        window::setDestination(&w, blocker + QStringLiteral("/sub"));
        window::setChecked(&w, "choixTNS");
        qputenv("FAKE_CONVERT_EXIT", "1");
        ModalAnswerer answerer;
        answerer.clickOk().clickOk();
        window::click(&w, "boutonConvertir");
        QCOMPARE(answerer.records().size(), 2);
        QCOMPARE(answerer.records().at(0).icon, QMessageBox::Critical);
        QCOMPARE(answerer.records().at(1).text,
                 QStringLiteral("L'opération de renommage en .tns a échoué."));
        QCOMPARE(answerer.records().at(1).icon, QMessageBox::Warning);
    }

    // The ".tns" rename after each file, with what the destination held before the run.
    void tnsAfterConversion_data()
    {
        QTest::addColumn<QString>("sourceName");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("nothingMatched");

        QTest::newRow("one page") << "chap.pdf" << 1 << QStringList() << QStringList{"chap.png.tns"}
                                  << false;
        QTest::newRow("several pages")
            << "cours.pdf" << 3 << QStringList()
            << QStringList{"cours-0.png.tns", "cours-1.png.tns", "cours-2.png.tns"} << false;
        QTest::newRow("existing tns replaced") << "chap.pdf" << 1 << QStringList{"chap.png.tns"}
                                               << QStringList{"chap.png.tns"} << false;
        QTest::newRow("chapitre caught by chap")
            << "chap.pdf" << 1 << QStringList{"chapitre.png", "autre.png"}
            << QStringList{"autre.png", "chap.png.tns", "chapitre.png.tns"} << false;
        // The output ".png" is a hidden file here and, like every hidden file, not listed.
        QTest::newRow("empty base name renames every png")
            << "notes" << 1 << QStringList{"x.png", "y.jpg"}
            << QStringList{".png", "x.png.tns", "y.jpg"} << false;
        QTest::newRow("brackets are literal")
            << "cours[1].pdf" << 2 << QStringList{"cours1.png"}
            << QStringList{"cours1.png", "cours[1]-0.png.tns", "cours[1]-1.png.tns"} << false;
    }
    void tnsAfterConversion()
    {
        QFETCH(QString, sourceName);
        QFETCH(int, pages);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(bool, nothingMatched);

        for (const QString &b : before)
            writeFile(out + QLatin1Char('/') + b, "old");
        qputenv("FAKE_CONVERT_PAGES", QByteArray::number(pages));
        MainWindow w;
        filelist::dropFiles(&w, {source(sourceName)});
        window::setDestination(&w, out);
        window::setChecked(&w, "choixTNS");
        ModalAnswerer answerer;
        window::click(&w, "boutonConvertir");
        QCOMPARE(fileNames(out), after);
        QCOMPARE(answerer.records().size(), nothingMatched ? 1 : 0);
        if (before.contains(QStringLiteral("chap.png.tns")))
            QVERIFY(readFile(out + QStringLiteral("/chap.png.tns")) != "old");
    }

    // The rename after each file takes other names by their prefix, but never a listed file.
    void tnsLeavesListedImages()
    {
        const QString listedImage = writeFile(out + QStringLiteral("/chapitre.png"), "mine");
        MainWindow w;
        filelist::dropFiles(&w, {source(QStringLiteral("chap.pdf")), listedImage});
        window::setDestination(&w, out);
        window::setChecked(&w, "choixTNS");
        ModalAnswerer answerer;
        answerer.clickOk(); // chapitre.png would replace itself
        window::click(&w, "boutonConvertir");
        QCOMPARE(fileNames(out), (QStringList{"chap.png.tns", "chapitre.png"}));
        QCOMPARE(readFile(listedImage), QByteArray("mine"));
    }

    // During a run the window answers, its inputs wait, and the run can be ended by "Arrêter"
    // or by closing the window: no box, nothing renamed, no converter left.
    void stopDuringRun_data()
    {
        QTest::addColumn<bool>("byClosing");
        QTest::newRow("Arrêter") << false;
        QTest::newRow("closing the window") << true;
    }
    void stopDuringRun()
    {
        QFETCH(bool, byClosing);
        const ScopedEnv slow("FAKE_CONVERT_SLEEP", "30");
        const ScopedEnv mark("VELINOR_STOP_MARK", out.toUtf8());
        MainWindow w;
        w.show();
        filelist::dropFiles(&w, {source(QStringLiteral("a.pdf")), source(QStringLiteral("b.pdf")),
                                 source(QStringLiteral("c.pdf"))});
        window::setDestination(&w, out);
        window::setChecked(&w, "choixTNS");
        ModalAnswerer answerer;
        auto *stop = w.findChild<QAbstractButton *>(QStringLiteral("boutonArreter"));
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&ticks] { ++ticks; });
        timer.start(20);
        QStringList enabledDuring;
        QTimer::singleShot(600, &w, [&] {
            for (const char *name : {"boutonConvertir", "boutonRenommerTNS", "boutonSelectFichiers",
                                     "listeFichiersChoisis", "lineChemin", "tabWidget"})
                if (w.findChild<QWidget *>(QString::fromLatin1(name))->isEnabled())
                    enabledDuring << QString::fromLatin1(name);
            if (stop->isHidden())
                enabledDuring << QStringLiteral("no stop button");
            if (byClosing)
                w.close();
            else
                stop->click();
        });
        RunRecorder rec(&w);
        QElapsedTimer clock;
        clock.start();
        window::click(&w, "boutonConvertir");

        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(ticks >= 15, qPrintable(QString::number(ticks)));
        QCOMPARE(enabledDuring, QStringList());
        QCOMPARE(answerer.records().size(), 0);
        QCOMPARE(rec.messages.last(), QStringLiteral("Conversion arrêtée."));
        QVERIFY(stop->isHidden());
        QVERIFY(w.findChild<QWidget *>(QStringLiteral("boutonConvertir"))->isEnabled());
        QCOMPARE(w.isVisible(), !byClosing);
        QCOMPARE(fileNames(out), QStringList());
        QStringList left;
        QTRY_VERIFY2_WITH_TIMEOUT(
            (left = invariants::processesMarked(QStringLiteral("VELINOR_STOP_MARK"), out))
                .isEmpty(),
            qPrintable(left.join(QLatin1Char(' '))), 3000);
    }

    void tnsNothingWritten()
    {
        qputenv("FAKE_CONVERT_NOWRITE", "1");
        MainWindow w;
        filelist::dropFiles(&w, {source(QStringLiteral("a.pdf")), source(QStringLiteral("b.pdf"))});
        window::setDestination(&w, out);
        window::setChecked(&w, "choixTNS");
        ModalAnswerer answerer;
        answerer.clickOk().clickOk();
        window::click(&w, "boutonConvertir");
        QCOMPARE(answerer.records().size(), 2);
        for (const ModalRecord &r : answerer.records()) {
            QCOMPARE(r.icon, QMessageBox::Warning);
            QCOMPARE(r.text, QStringLiteral("L'opération de renommage en .tns a échoué."));
            QCOMPARE(r.parent, &w);
        }
    }

    // An image converted into its own folder with its own extension would replace itself.
    void sourceNeverOverwritten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("jpeg");
        QTest::addColumn<bool>("refused");
        QTest::newRow("png to png") << "photo.png" << false << true;
        QTest::newRow("jpg to jpeg") << "photo.jpg" << true << true;
        QTest::newRow("png to jpeg") << "photo.png" << true << false;
        QTest::newRow("pdf to png") << "photo.pdf" << false << false;
    }
    void sourceNeverOverwritten()
    {
        QFETCH(QString, name);
        QFETCH(bool, jpeg);
        QFETCH(bool, refused);
        MainWindow w;
        const QString photo = source(name, "original picture");
        const QString other = source(QStringLiteral("other.pdf"));
        filelist::dropFiles(&w, {photo, other}); // the destination becomes their own folder
        QCOMPARE(w.destinationPath(), in);
        if (jpeg)
            window::setChecked(&w, "choixJPEG");
        ModalAnswerer answerer;
        answerer.clickOk();
        barAtZero(&w);
        RunRecorder rec(&w);
        window::click(&w, "boutonConvertir");

        const QList<QStringList> calls = fakeConverterCalls(log);
        QCOMPARE(calls.size(), refused ? 1 : 2);
        QCOMPARE(answerer.records().size(), refused ? 1 : 0);
        if (refused) {
            const ModalRecord &box = answerer.records().first();
            QCOMPARE(box.icon, QMessageBox::Critical);
            QCOMPARE(box.title, errorTitle);
            QCOMPARE(box.parent, &w);
            QCOMPARE(
                box.text,
                QStringLiteral("Conversion impossible de \"%1\" : l'image remplacerait le fichier "
                               "source. Choisissez un autre dossier de destination.")
                    .arg(name));
            QCOMPARE(rec.progress, (QList<int>{12, 100, 0}));
        }
    }

    // The window passes exactly what the core builder makes of its widgets.
    void argumentsFromWidgets_data()
    {
        QTest::addColumn<QStringList>("checks");
        QTest::addColumn<int>("compression");
        QTest::addColumn<QStringList>("middle"); // between the input and the output
        QTest::addColumn<QString>("extension");
        QTest::newRow("defaults") << QStringList() << -1
                                  << QStringList{"-quality", "95", "-type",  "GrayScale",
                                                 "-depth",   "4",  "-alpha", "remove"}
                                  << ".png";
        QTest::newRow("jpeg colour high resize append")
            << QStringList{"choixJPEG", "radioQualiteHaute", "choixRedim", "choixAppend"} << -1
            << QStringList{"-quality", "55", "-depth", "8", "-resize", "25%", "-append"} << ".jpg";
        QTest::newRow("bw low resize compression 0")
            << QStringList{"radioNoirEtBlanc", "radioQualiteBasse", "choixRedim"} << 0
            << QStringList{"-quality", "05", "-type", "BiLevel", "-alpha", "remove"} << ".png";
        QTest::newRow("colour4 png")
            << QStringList{"radioCouleurs4"} << 3
            << QStringList{"-quality", "35", "-define", "png:format=png8"} << ".png";
    }
    void argumentsFromWidgets()
    {
        QFETCH(QStringList, checks);
        QFETCH(int, compression);
        QFETCH(QStringList, middle);
        QFETCH(QString, extension);
        MainWindow w;
        for (const QString &c : checks)
            window::setChecked(&w, qPrintable(c));
        if (compression >= 0)
            w.findChild<QSpinBox *>(QStringLiteral("spinCompression"))->setValue(compression);
        const QString doc = source(QStringLiteral("doc.v2.pdf"));
        filelist::dropFiles(&w, {doc});
        window::setDestination(&w, out);
        window::click(&w, "boutonConvertir");
        const QList<QStringList> calls = fakeConverterCalls(log);
        QCOMPARE(calls.size(), 1);
        QStringList expected;
        if (checks.contains(QStringLiteral("radioQualiteHaute")))
            expected << "-density"
                     << "320";
        else if (!checks.contains(QStringLiteral("radioQualiteBasse")))
            expected << "-density"
                     << "150";
        expected << doc << "-background"
                 << "white"
                 << "-alpha"
                 << "remove" << middle << out + QStringLiteral("/doc.v2") + extension;
        QCOMPARE(calls.first(), expected);
    }

    void firstRunStartsFromTheResetBar()
    {
        MainWindow w;
        filelist::dropFiles(&w, {source(QStringLiteral("a.pdf"))});
        window::setDestination(&w, out);
        RunRecorder rec(&w);
        window::click(&w, "boutonConvertir");
        window::click(&w, "boutonConvertir");
        QCOMPARE(rec.progress, (QList<int>{24, 100, 0, 25, 100, 0}));
    }

    void secondRunConvertsAgain()
    {
        MainWindow w;
        filelist::dropFiles(&w, {source(QStringLiteral("a.pdf"))});
        window::setDestination(&w, out);
        window::click(&w, "boutonConvertir");
        window::click(&w, "boutonConvertir");
        QCOMPARE(fakeConverterCalls(log).size(), 2);
        QCOMPARE(filelist::entries(&w).size(), 1);
        QCOMPARE(w.destinationPath(), out);
    }
};

QTEST_MAIN(TestConversion)
#include "tst_conversion.moc"

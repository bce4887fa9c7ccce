// Hostile file names, sources, converters, destinations and long lists thrown at the real window
// and at velinor-cli, with the real ImageMagick and Ghostscript. Every scenario ends with the
// same check: no user file lost or altered, nothing written where the scenario had no business,
// and a window that still converts. The figures are printed at the end.
#include "chunking.h"
#include "clidriver.h"
#include "filelistdriver.h"
#include "imagemagick.h"
#include "invariants.h"
#include "modalanswerer.h"
#include "testenv.h"
#include "windowdriver.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using invariants::Snapshot;
using testenv::fileNames;
using testenv::writeFile;

namespace {

const QString failedText = QStringLiteral("C:Erreur durant la conversion de \"%1\".");
const QString renameFailed = QStringLiteral("W:L'opération de renommage en .tns a échoué.");
const QString missingText = QStringLiteral("0W:Le fichier spécifié n'existe pas !");

// A box as the tables write it: "0" when it has no parent, the icon's letter, its text.
QStringList boxes(const ModalAnswerer &answerer)
{
    QStringList seen;
    for (const ModalRecord &r : answerer.records())
        seen << QLatin1String(r.parent ? "" : "0") +
                    QLatin1String(r.icon == QMessageBox::Critical ? "C:" : "W:") + r.text;
    return seen;
}

// The images of a document of `pages` pages as the converter names them.
QStringList pageImages(const QString &stem, int pages, const QString &suffix)
{
    QStringList names;
    for (int i = 0; i < pages; ++i)
        names << QStringLiteral("%1-%2%3").arg(stem).arg(i).arg(suffix);
    return names;
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

// A UTF-8 name of exactly `bytes` bytes ending in ".pdf", accented letters included.
QString longName(int bytes)
{
    QString name;
    while (name.toUtf8().size() + 4 + 2 <= bytes)
        name += QStringLiteral("é");
    while (name.toUtf8().size() + 4 < bytes)
        name += QLatin1Char('x');
    return name + QStringLiteral(".pdf");
}

// The hostile names, with the stem of their images and neighbours that a mangled name could hit.
struct HostileName
{
    const char *tag;
    QString name;
    QString stem;
    QStringList neighbours;
};

QList<HostileName> hostileNames()
{
    return {
        {"blanks", "cours de maths.pdf", "cours de maths", {"cours.png"}},
        {"accents", "Résumé élève ÇÀ.pdf", "Résumé élève ÇÀ", {}},
        {"other scripts", "講義 ノート Ελληνικά.pdf", "講義 ノート Ελληνικά", {}},
        {"quotes", "l'été \"final\".pdf", "l'été \"final\"", {}},
        {"brackets", "cours[1].pdf", "cours[1]", {"cours1.png", "cours1.pdf"}},
        {"wildcards", "a*b?{c}.pdf", "a*b?{c}", {"axbyc.png", "ab{c}.png"}},
        {"frame number", "doc%d.pdf", "doc%d", {"doc0.png", "doc1.png"}},
        {"percent", "50%.pdf", "50%", {"50.png"}},
        {"escaped percent", "x%%.pdf", "x%%", {"x%.png"}},
        {"percent bracket", "p%[w].pdf", "p%[w]", {"p[w].png"}},
        {"colon", "a:b.pdf", "a:b", {"b-0.png", "b.png"}},
        {"format prefix", "png:x.pdf", "png:x", {"x.png", "x-0.png"}},
        {"leading dash", "-rapport.pdf", "-rapport", {}},
        {"hash", "#1 sujet.pdf", "#1 sujet", {}},
        {"several dots", "cours.v2.final.pdf", "cours.v2.final", {"cours.v2.png"}},
        {"upper-case extension", "SCAN.PDF", "SCAN", {}},
        {"250 bytes", longName(250), longName(250).chopped(4), {}},
        {"no extension", "notes", "", {"notes.txt"}},
    };
}

} // namespace

class TestReliability : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    std::unique_ptr<imagemagick::RealConverter> real;
    QString fivePages; // half-inch pages, quick to render even at 320 dpi
    QString onePage;
    QString root; // the scenario's own folder

    QString copyOf(const QString &pdf, const QString &path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile::copy(pdf, path);
        return path;
    }

    // The end of every scenario: the files, then a run through the same window.
    void scenarioOver(const Snapshot &snapshot, MainWindow *w = nullptr,
                      ModalAnswerer *answerer = nullptr)
    {
        const QStringList violations = snapshot.violations();
        QVERIFY2(violations.isEmpty(), qPrintable(violations.join(QLatin1Char('\n'))));
        if (w && answerer) {
            invariants::tally().boxes += int(answerer->records().size());
            // A scenario may have left the window with a broken converter: look again.
            w->findChild<QAction *>(QStringLiteral("actionD_tecter_convert_exe"))->trigger();
            const QString problem = invariants::windowResponds(w, *answerer, tmp.path());
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
    }

    // velinor-cli with the real converter and the PDF policy, from the scenario's folder.
    cli::Result runCli(const QStringList &arguments)
    {
        const cli::Result r = cli::run(arguments, root, cli::environment());
        if (r.exitCode == -1)
            ++invariants::tally().crashes;
        return r;
    }

private slots:
    void initTestCase()
    {
        REQUIRE_IMAGEMAGICK();
        real = std::make_unique<imagemagick::RealConverter>();
        fivePages = tmp.filePath(QStringLiteral("five.pdf"));
        onePage = tmp.filePath(QStringLiteral("one.pdf"));
        QVERIFY(imagemagick::makePdf(fivePages, 5, 36, 36));
        QVERIFY(imagemagick::makePdf(onePage, 1, 36, 36));
    }
    void init()
    {
        ++invariants::tally().scenarios;
        root = tmp.filePath(QString::fromLatin1(QTest::currentTestFunction()) + QLatin1Char('-') +
                            QString::number(invariants::tally().scenarios));
        QDir().mkpath(root);
    }
    void cleanupTestCase() { qInfo("%s", qPrintable(invariants::summary("reliability"))); }

    // Through a drop and a run with ".tns" at "Haut", where the five pages take two calls,
    // then converted beside the source and through both rename buttons. Neighbours lie in both
    // folders; none may change.
    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QStringList>("neighbours");
        for (const HostileName &h : hostileNames())
            QTest::newRow(h.tag) << h.name << h.stem << h.neighbours;
    }
    void names()
    {
        QFETCH(QString, name);
        QFETCH(QString, stem);
        QFETCH(QStringList, neighbours);

        const QString in = root + QStringLiteral("/in");
        const QString out = root + QStringLiteral("/out");
        const QString source = copyOf(fivePages, in + QLatin1Char('/') + name);
        QStringList kept{source};
        for (const QString &n : neighbours)
            kept << writeFile(in + QLatin1Char('/') + n, "neighbour")
                 << writeFile(out + QLatin1Char('/') + n, "neighbour");
        Snapshot snapshot(root, kept);
        snapshot.allowChangesIn(out);
        snapshot.allowChangesIn(in);

        QCOMPARE(velinor::pageCount(imagemagick::converter(), source), 5);
        // Every image name of ".tns" must fit the 255 bytes of a file name, or it stays.
        const bool tnsFits = (stem + QStringLiteral("-0.png.tns")).toUtf8().size() <= 255;
        const QStringList images = pageImages(stem, 5, QStringLiteral(".png"));
        const QStringList renamed = pageImages(stem, 5, tnsFits ? ".png.tns" : ".png");

        ModalAnswerer answerer;
        MainWindow w;
        window::setChecked(&w, "radioQualiteHaute");
        window::setChecked(&w, "choixTNS");
        filelist::dropFiles(&w, {source});
        QCOMPARE(filelist::entries(&w), QStringList{source});
        window::setDestination(&w, out);
        window::click(&w, "boutonConvertir");
        QCOMPARE(boxes(answerer), QStringList());
        QCOMPARE(fileNames(out), sorted(renamed + neighbours));
        // Qt reads it: identify would take a name such as "a*b?{c}" for a pattern.
        QImageReader image(out + QLatin1Char('/') + renamed.last());
        image.setDecideFormatFromContent(true);
        QCOMPARE(image.format(), QByteArray("png"));
        QCOMPARE(image.size(), QSize(160, 160));

        window::setChecked(&w, "choixTNS", false);
        window::setDestination(&w, in);
        window::click(&w, "boutonConvertir");
        const QStringList names = sorted(neighbours + QStringList{name});
        QCOMPARE(fileNames(in), sorted(names + images));
        window::click(&w, "boutonRenommerTNS");
        QCOMPARE(fileNames(in), sorted(names + renamed));
        window::click(&w, "boutonRenommerIMG");
        QCOMPARE(fileNames(in), sorted(names + images));
        QCOMPARE(boxes(answerer), QStringList());
        scenarioOver(snapshot, &w, &answerer);
    }

    // Each bad source comes first, a good PDF after it: the run reports the bad one with its
    // box and goes on.
    void sources_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("destination"); // "in" for the source's own folder
        QTest::addColumn<QStringList>("expectedBoxes");
        QTest::addColumn<QStringList>("images"); // of the bad source

        QTest::newRow("missing") << "missing"
                                 << "parti.pdf"
                                 << "out" << QStringList{missingText} << QStringList();
        QTest::newRow("a folder") << "folder"
                                  << "chapitres.pdf"
                                  << "out" << QStringList{missingText} << QStringList();
        QTest::newRow("a named pipe") << "fifo"
                                      << "tube.pdf"
                                      << "out" << QStringList{missingText} << QStringList();
        QTest::newRow("empty file")
            << "empty"
            << "vide.pdf"
            << "out" << QStringList{failedText.arg("vide.pdf")} << QStringList();
        QTest::newRow("corrupt PDF")
            << "corrupt"
            << "abîmé.pdf"
            << "out" << QStringList{failedText.arg("abîmé.pdf")} << QStringList();
        // 130 by 35 cm at 320 dpi: wider than ImageMagick's limit of 16,000 pixels.
        QTest::newRow("page far larger than A4 at Haut")
            << "huge"
            << "affiche.pdf"
            << "out" << QStringList{failedText.arg("affiche.pdf")} << QStringList();
        QTest::newRow("PNG") << "png"
                             << "photo.png"
                             << "out" << QStringList() << QStringList{"photo.png"};
        QTest::newRow("JPEG") << "jpeg"
                              << "photo.jpg"
                              << "out" << QStringList() << QStringList{"photo.png"};
        QTest::newRow("image that would be overwritten")
            << "png"
            << "photo.png"
            << "in"
            << QStringList{"C:Conversion impossible de \"photo.png\" : l'image remplacerait le "
                           "fichier source. Choisissez un autre dossier de destination."}
            << QStringList();
        // ImageMagick reads the content of a file named as a pattern as more arguments.
        QTest::newRow("pattern name, arguments inside")
            << "arguments"
            << "liste[1].png"
            << "out" << QStringList{failedText.arg("liste[1].png")} << QStringList();
    }
    void sources()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, destination);
        QFETCH(QStringList, expectedBoxes);
        QFETCH(QStringList, images);

        const QString in = root + QStringLiteral("/in");
        const QString out = destination == QLatin1String("in") ? in : root + QStringLiteral("/out");
        const QString bad = in + QLatin1Char('/') + name;
        QDir().mkpath(in);
        if (kind == QLatin1String("folder"))
            QDir().mkpath(bad);
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(bad).constData(), 0600), 0);
        else if (kind == QLatin1String("empty"))
            writeFile(bad, QByteArray());
        else if (kind == QLatin1String("corrupt"))
            writeFile(bad, "%PDF-1.4\n1 0 obj << /Pages 9 0 R >> endobj\n%%EOF\n");
        else if (kind == QLatin1String("huge"))
            QVERIFY(imagemagick::makePdf(bad, 1, 3700, 1000));
        else if (kind == QLatin1String("png") || kind == QLatin1String("jpeg")) {
            QImage picture(40, 30, QImage::Format_RGB32);
            picture.fill(Qt::blue);
            QVERIFY(picture.save(bad));
        } else if (kind == QLatin1String("arguments"))
            writeFile(bad, (copyOf(onePage, root + QStringLiteral("/other.pdf")) +
                            QStringLiteral("\n-write\n") + root + QStringLiteral("/written.png\n"))
                               .toUtf8());
        const QString good = copyOf(onePage, in + QStringLiteral("/bon.pdf"));
        QStringList kept{good};
        if (QFileInfo(bad).isFile())
            kept << bad;
        Snapshot snapshot(root, kept);
        snapshot.allowChangesIn(out);

        ModalAnswerer answerer;
        MainWindow w;
        window::setChecked(&w, "radioQualiteHaute");
        filelist::dropFiles(&w, {bad, good});
        window::setDestination(&w, out);
        QElapsedTimer clock;
        clock.start();
        window::click(&w, "boutonConvertir");
        qInfo("%s: %lld ms", QTest::currentDataTag(), clock.elapsed());
        QCOMPARE(boxes(answerer), expectedBoxes);
        QStringList expected = images + QStringList{"bon.png"};
        if (out == in)
            expected << name << "bon.pdf";
        QCOMPARE(fileNames(out), sorted(expected));
        scenarioOver(snapshot, &w, &answerer);
    }

    // Converters that break in every way a program can, each put on PATH before the window
    // looks for it. A second search finds the real one again for the closing run.
    void converters_data()
    {
        QTest::addColumn<QByteArray>("script"); // the body of bin/convert
        QTest::addColumn<QString>("afterSearch");
        QTest::addColumn<QStringList>("expectedBoxes");
        QTest::addColumn<QStringList>("images");

        const QStringList failed{failedText.arg("doc.pdf"), renameFailed};
        QTest::newRow("removed after it was found")
            << QByteArray("exit 0") << "remove" << failed << QStringList();
        QTest::newRow("no longer executable")
            << QByteArray("exit 0") << "chmod" << failed << QStringList();
        QTest::newRow("crashes") << QByteArray("kill -SEGV $$") << "" << failed << QStringList();
        QTest::newRow("exits non-zero") << QByteArray("exit 3") << "" << failed << QStringList();
        QTest::newRow("exits 0, writes nothing")
            << QByteArray("exit 0") << "" << QStringList{renameFailed} << QStringList();
        // A folder where the image should be and a file nobody asked for.
        QTest::newRow("writes something unexpected")
            << QByteArray("for a; do last=$a; done\nmkdir \"$last\"\necho x > \"${last%.*}.txt\"")
            << "" << QStringList{renameFailed} << QStringList{"doc.txt"};
    }
    void converters()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, afterSearch);
        QFETCH(QStringList, expectedBoxes);
        QFETCH(QStringList, images);

        const QString bin = root + QStringLiteral("/bin");
        const QString convert = writeFile(bin + QStringLiteral("/convert"), "#!/bin/sh\n" + script);
        QFile::setPermissions(convert, QFile::permissions(convert) | QFile::ExeOwner);
        const QString source = copyOf(onePage, root + QStringLiteral("/in/doc.pdf"));
        const QString out = root + QStringLiteral("/out");
        Snapshot snapshot(root, {source});
        snapshot.allowChangesIn(out);
        snapshot.allowChangesIn(bin);

        ModalAnswerer answerer;
        std::unique_ptr<MainWindow> w;
        {
            ScopedEnv path("PATH", bin.toUtf8());
            w = std::make_unique<MainWindow>();
        }
        QCOMPARE(w->converterPath(), convert);
        if (afterSearch == QLatin1String("remove"))
            QFile::remove(convert);
        else if (afterSearch == QLatin1String("chmod"))
            QFile::setPermissions(convert, QFile::ReadOwner | QFile::WriteOwner);
        window::setChecked(w.get(), "choixTNS");
        filelist::dropFiles(w.get(), {source});
        window::setDestination(w.get(), out);
        window::click(w.get(), "boutonConvertir");
        QCOMPARE(boxes(answerer), expectedBoxes);
        QCOMPARE(fileNames(out), images);
        QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("Fini !"));
        scenarioOver(snapshot, w.get(), &answerer);
    }

    // A name with a frame number needs the count of its images; when identify cannot give it,
    // the file fails with the box rather than have all its pages written under one name.
    void frameNumberUncountable()
    {
        const QString fakes = QDir::cleanPath(QStringLiteral(VELINOR_TESTS_DIR "/fakes"));
        // PostScript, which only identify counts.
        const QString source =
            writeFile(root + QStringLiteral("/in/doc%d.pdf"), "%!PS\nshowpage\n");
        const QString out = root + QStringLiteral("/out");
        const QString log = root + QStringLiteral("/calls.log");
        Snapshot snapshot(root, {source});
        snapshot.allowChangesIn(out);
        ModalAnswerer answerer;
        std::unique_ptr<MainWindow> w;
        {
            ScopedEnv path("PATH", fakes.toUtf8());
            w = std::make_unique<MainWindow>();
        }
        ScopedEnv logTo("FAKE_CONVERT_LOG", log.toUtf8());
        ScopedEnv identifyFails("FAKE_IDENTIFY_EXIT", "1");
        filelist::dropFiles(w.get(), {source});
        window::setDestination(w.get(), out);
        window::click(w.get(), "boutonConvertir");
        QCOMPARE(boxes(answerer), QStringList{failedText.arg("doc%d.pdf")});
        QVERIFY(testenv::fakeConverterCalls(log).isEmpty());
        scenarioOver(snapshot, w.get(), &answerer);
    }

    // Destinations given relative to the working folder are relative to the scenario's folder.
    void destinations_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("imagesIn"); // empty when the conversion must fail
        QTest::addColumn<QStringList>("expectedBoxes");

        const QStringList failed{failedText.arg("doc.pdf")};
        QTest::newRow("below a regular file") << "@/fichier/sous-dossier"
                                              << "" << failed;
        QTest::newRow("a regular file") << "@/fichier"
                                        << "" << failed;
        QTest::newRow("relative") << "images relatives"
                                  << "@/images relatives" << QStringList();
        QTest::newRow("relative, a format's name before a colon") << "png:out"
                                                                  << "@/png:out" << QStringList();
        QTest::newRow("relative, leading dash") << "-images"
                                                << "@/-images" << QStringList();
        QTest::newRow("relative, leading at sign") << "@images"
                                                   << "@/@images" << QStringList();
        QTest::newRow("blanks and accents") << "@/Mes images/été 2024"
                                            << "@/Mes images/été 2024" << QStringList();
        QTest::newRow("colon in a folder") << "@/cours: maths"
                                           << "@/cours: maths" << QStringList();
        QTest::newRow("trailing slash") << "@/out/"
                                        << "@/out" << QStringList();
        QTest::newRow("doubled slashes") << "@//out//"
                                         << "@/out" << QStringList();
        QTest::newRow("trailing dot") << "@/out/."
                                      << "@/out" << QStringList();
    }
    void destinations()
    {
        QFETCH(QString, destination);
        QFETCH(QString, imagesIn);
        QFETCH(QStringList, expectedBoxes);
        // "@/" stands for the scenario's folder, where the decoys lie.
        destination.replace(QStringLiteral("@/"), root + QLatin1Char('/'));
        imagesIn.replace(QStringLiteral("@/"), root + QLatin1Char('/'));

        const QString source = copyOf(fivePages, root + QStringLiteral("/in/doc.pdf"));
        const QStringList kept{source, writeFile(root + QStringLiteral("/fichier"), "mine"),
                               writeFile(root + QStringLiteral("/out/doc.png"), "mine"),
                               writeFile(root + QStringLiteral("/images/doc.png"), "mine")};
        Snapshot snapshot(root, kept);
        if (!imagesIn.isEmpty())
            snapshot.allowChangesIn(imagesIn);
        const QString before = QDir::currentPath();
        QDir::setCurrent(root);

        ModalAnswerer answerer;
        MainWindow w;
        filelist::dropFiles(&w, {source});
        window::setDestination(&w, destination);
        window::click(&w, "boutonConvertir");
        QDir::setCurrent(before);
        QCOMPARE(boxes(answerer), expectedBoxes);
        if (!imagesIn.isEmpty())
            QCOMPARE(sorted(fileNames(imagesIn)).filter(QStringLiteral("doc-")),
                     pageImages("doc", 5, ".png"));
        scenarioOver(snapshot, &w, &answerer);
    }

    // 10,000 files chosen at once in the dialog, then rows removed and the list emptied.
    void tenThousandFilesByDialog()
    {
        const QString in = root + QStringLiteral("/in");
        QStringList paths;
        for (int i = 0; i < 10000; ++i)
            paths << writeFile(in + QStringLiteral("/f%1.pdf").arg(i, 5, 10, QLatin1Char('0')));
        Snapshot snapshot(root, {});
        ModalAnswerer answerer;
        answerer.choose(paths);
        MainWindow w;
        QElapsedTimer clock;
        clock.start();
        window::click(&w, "boutonSelectFichiers");
        QCOMPARE(filelist::entries(&w), paths);
        QCOMPARE(w.destinationPath(), in);
        for (int row : {9999, 5000, 0}) {
            auto *view = filelist::view(&w);
            emit view->doubleClicked(view->model()->index(row, 0));
            paths.removeAt(row);
        }
        QCOMPARE(filelist::entries(&w), paths);
        w.findChild<QAction *>(QStringLiteral("actionVider_la_liste"))->trigger();
        QCOMPARE(filelist::entries(&w), QStringList());
        qInfo("added, removed and cleared in %lld ms", clock.elapsed());
        QCOMPARE(answerer.records().size(), 1); // the dialog
        answerer.clear();
        scenarioOver(snapshot, &w, &answerer);
    }

    // One drop of 40 hostile names in one folder: the first 32 are listed and converted side
    // by side into one destination, each into its own images only.
    void fortyHostileNamesDropped()
    {
        const QString in = root + QStringLiteral("/in");
        const QString out = root + QStringLiteral("/out");
        QStringList dropped;
        QStringList expected;
        const QList<HostileName> names = hostileNames();
        for (int i = 0; i < 40; ++i) {
            const HostileName &h = names.at(i % names.size());
            // Names that differ from the first letter on, so that no prefix is another's.
            const QString prefix =
                QString(QChar(char16_t(u'A' + i / 18))) + QChar(char16_t(u'a' + i % 26));
            const QString stem = h.stem.isEmpty() ? QString() : prefix + h.stem;
            dropped << copyOf(onePage,
                              in + QLatin1Char('/') +
                                  (h.stem.isEmpty() ? prefix : stem + h.name.mid(h.stem.size())));
            const bool tnsFits = (stem + QStringLiteral(".png.tns")).toUtf8().size() <= 255;
            if (i < 32 && !stem.isEmpty())
                expected << stem + QLatin1String(tnsFits ? ".png.tns" : ".png");
        }
        Snapshot snapshot(root, dropped);
        snapshot.allowChangesIn(out);
        ModalAnswerer answerer;
        MainWindow w;
        window::setChecked(&w, "radioQualiteBasse");
        window::setChecked(&w, "choixTNS");
        filelist::dropFiles(&w, dropped);
        QCOMPARE(filelist::entries(&w), dropped.mid(0, 32));
        window::setDestination(&w, out);
        window::click(&w, "boutonConvertir");
        // A name without extension gives ".png", hidden from every listing; its rename finds
        // the image of the 250-byte name before it, which ".tns" would make too long.
        QCOMPARE(fileNames(out), sorted(expected + QStringList{".png"}));
        QCOMPARE(boxes(answerer), QStringList());
        scenarioOver(snapshot, &w, &answerer);
    }

    // velinor-cli with every hostile name at once, two conversions at a time.
    void cliHostileNames()
    {
        const QString in = root + QStringLiteral("/in");
        const QString out = root + QStringLiteral("/out");
        QStringList arguments{"-q", "-j2", "--tns", "--supersampling", "high", "-d", out, "--"};
        QStringList kept;
        QStringList expected;
        for (const HostileName &h : hostileNames()) {
            if (h.stem.isEmpty())
                continue; // its ".png" would be hidden, and every PNG its own
            arguments << copyOf(fivePages, in + QLatin1Char('/') + h.name);
            kept << arguments.last();
            const bool tnsFits = (h.stem + QStringLiteral("-0.png.tns")).toUtf8().size() <= 255;
            expected << pageImages(h.stem, 5, tnsFits ? ".png.tns" : ".png");
            for (const QString &n : h.neighbours)
                kept << writeFile(out + QLatin1Char('/') + n, "neighbour");
            expected << h.neighbours;
        }
        expected.removeDuplicates();
        Snapshot snapshot(root, kept);
        snapshot.allowChangesIn(out);
        const cli::Result r = runCli(arguments);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(fileNames(out), sorted(expected));
        scenarioOver(snapshot);
    }

    // Sources at risk and interruptions, through velinor-cli. Each row: how the scenario is set
    // up, the signal sent after `afterMs` (0: none), the exit status, a text stderr must hold, and
    // how long the exit may take after the signal (after the start without one).
    void cliNoLoss_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<int>("afterMs");
        QTest::addColumn<int>("exitCode"); // -1: killed
        QTest::addColumn<QString>("reported");
        QTest::addColumn<int>("withinMs");

        const QString replaces = QStringLiteral("Conversion impossible de \"%1\" : l'image "
                                                "remplacerait le fichier source.");
        QTest::newRow("another file's image, then its .tns name, on a listed image")
            << "pdf beside png" << 0 << 0 << 1 << replaces.arg("cours.png") << 60000;
        QTest::newRow("a page name linked to the source")
            << "symlink" << 0 << 0 << 1 << replaces.arg("doc.pdf") << 60000;
        QTest::newRow("a page name hard-linked to the source")
            << "hard link" << 0 << 0 << 1 << replaces.arg("doc.pdf") << 60000;
        QTest::newRow("the source folder through a linked folder")
            << "linked folder" << 0 << 0 << 1 << replaces.arg("cours.png") << 60000;
        QTest::newRow("a named pipe and a device")
            << "fifo" << 0 << 0 << 1 << "tube.pdf\nLe fichier spécifié n'existe pas !" << 60000;
        QTest::newRow("SIGTERM while pages are counted")
            << "endless PostScript" << SIGTERM << 2000 << 130 << "Interrompu" << 6000;
        QTest::newRow("SIGTERM while converting, nothing left in TMPDIR")
            << "slow" << SIGTERM << 2500 << 130 << "Interrompu" << 6000;
        QTest::newRow("SIGKILL while converting, no converter outlives it")
            << "slow" << SIGKILL << 2500 << -1 << "" << 1000;
    }
    void cliNoLoss()
    {
        QFETCH(QString, setup);
        QFETCH(int, signalNumber);
        QFETCH(int, afterMs);
        QFETCH(int, exitCode);
        QFETCH(QString, reported);
        QFETCH(int, withinMs);

        const QString in = root + QStringLiteral("/in");
        const QString out = root + QStringLiteral("/out");
        const QString temporary = root + QStringLiteral("/tmp");
        QDir().mkpath(out);
        QDir().mkpath(temporary);
        QStringList kept;
        QStringList arguments{"-j2", "--tns", "-d", out};
        QProcessEnvironment env = cli::environment();
        if (setup == QLatin1String("pdf beside png") || setup == QLatin1String("linked folder")) {
            QImage picture(40, 30, QImage::Format_RGB32);
            picture.fill(Qt::blue);
            QDir().mkpath(in);
            QVERIFY(picture.save(in + QStringLiteral("/cours.png")));
            kept << in + QStringLiteral("/cours.png")
                 << copyOf(onePage, in + QStringLiteral("/cours.pdf"));
            if (setup == QLatin1String("linked folder")) {
                QDir(out).removeRecursively();
                QVERIFY(QFile::link(in, out));
            }
            // The image is refused, and so is the document listed before it, whose image
            // (then renamed to ".tns") would take its place.
            arguments << kept.at(1) << kept.at(0);
            arguments.replace(3, setup == QLatin1String("linked folder") ? out : in);
        } else if (setup == QLatin1String("symlink") || setup == QLatin1String("hard link")) {
            kept << copyOf(fivePages, in + QStringLiteral("/doc.pdf"));
            const QByteArray page = QFile::encodeName(out + QStringLiteral("/doc-1.png"));
            if (setup == QLatin1String("symlink"))
                QCOMPARE(::symlink("../in/doc.pdf", page.constData()), 0);
            else
                QCOMPARE(::link(QFile::encodeName(kept.first()).constData(), page.constData()), 0);
            arguments << kept;
        } else if (setup == QLatin1String("fifo")) {
            QDir().mkpath(in);
            const QString pipe = in + QStringLiteral("/tube.pdf");
            QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
            kept << copyOf(onePage, in + QStringLiteral("/doc.pdf"));
            arguments << pipe << "/dev/zero" << kept;
        } else if (setup == QLatin1String("endless PostScript")) {
            // identify runs it through Ghostscript, which never ends on its own.
            kept << writeFile(in + QStringLiteral("/boucle.ps"), "%!PS\n{ 1 pop } loop\n");
            writeFile(root + QStringLiteral("/config/ImageMagick/policy.xml"),
                      "<policymap><policy domain=\"coder\" rights=\"read|write\" "
                      "pattern=\"{PDF,PS}\" /></policymap>\n");
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
            arguments << kept;
        } else if (setup == QLatin1String("slow")) {
            const QString pdf = in + QStringLiteral("/long.pdf");
            QDir().mkpath(in);
            QVERIFY(imagemagick::makePdf(pdf, 8));
            kept << pdf;
            arguments << "--supersampling"
                      << "high" << kept;
        }
        // Whatever the run starts carries this mark, so that it can be found after the run.
        const QString mark = QStringLiteral("VELINOR_RELIABILITY_MARK");
        env.insert(mark, root);
        env.insert(QStringLiteral("TMPDIR"), temporary);
        Snapshot snapshot(root, kept);
        snapshot.allowChangesIn(out);
        snapshot.allowChangesIn(temporary);

        QProcess cli;
        cli.setProcessEnvironment(env);
        cli.setWorkingDirectory(root);
        QElapsedTimer clock;
        clock.start();
        cli.start(cli::program(), arguments);
        QVERIFY(cli.waitForStarted());
        if (signalNumber != 0) {
            QVERIFY2(!cli.waitForFinished(afterMs), "ended before the signal");
            clock.restart();
            ::kill(pid_t(cli.processId()), signalNumber);
        }
        QVERIFY2(cli.waitForFinished(withinMs + 5000), "still running");
        const qint64 took = clock.elapsed();
        qInfo("%s: ended %lld ms after %s", QTest::currentDataTag(), took,
              signalNumber ? "the signal" : "its start");
        QVERIFY2(took <= withinMs, qPrintable(QString::number(took)));
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        QCOMPARE(cli.exitStatus() == QProcess::CrashExit ? -1 : cli.exitCode(), exitCode);
        QVERIFY2(err.contains(reported), qPrintable(err));

        // The watchers of a process group take a moment to see it is over.
        QStringList left;
        QTRY_VERIFY2_WITH_TIMEOUT((left = invariants::processesMarked(mark, root)).isEmpty(),
                                  qPrintable(left.join(QLatin1Char(' '))), 3000);
        if (signalNumber != SIGKILL)
            QCOMPARE(QDir(temporary).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList());
        scenarioOver(snapshot);
    }

    void cliFailures_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "@/" is the scenario's folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("reported"); // lines that stderr must hold
        QTest::addColumn<QString>("imagesIn");
        QTest::addColumn<QByteArray>("identifyExit"); // of the tests' fake identify

        QTest::newRow("bad sources")
            << QStringList{"-d",
                           "@/out",
                           "@/in/parti.pdf",
                           "@/in/dossier.pdf",
                           "@/in/vide.pdf",
                           "@/in/doc.pdf"}
            << 1
            << QStringList{"parti.pdf\nLe fichier spécifié n'existe pas !",
                           "dossier.pdf\nLe fichier spécifié n'existe pas !",
                           "Erreur durant la conversion de \"vide.pdf\"."}
            << "@/out" << QByteArray();
        QTest::newRow("crashing converter")
            << QStringList{"--converter", "@/bin/convert", "-d", "@/out", "@/in/doc.pdf"} << 1
            << QStringList{"Le convertisseur s'est arrêté brutalement."} << "" << QByteArray();
        QTest::newRow("relative destination, a format's name before a colon")
            << QStringList{"-d", "png:out", "@/in/doc.pdf"} << 0 << QStringList() << "@/png:out"
            << QByteArray();
        QTest::newRow("frame number, pages uncountable")
            << QStringList{"--converter", VELINOR_FAKE_CONVERT, "-d", "@/out", "@/in/doc%d.pdf"}
            << 1
            << QStringList{"Erreur durant la conversion de \"doc%d.pdf\".",
                           "Le convertisseur n'a pas pu être lancé."}
            << "" << QByteArray("1");
    }
    void cliFailures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, reported);
        QFETCH(QString, imagesIn);
        QFETCH(QByteArray, identifyExit);
        const ScopedEnv identify("FAKE_IDENTIFY_EXIT", identifyExit);
        for (QString &a : arguments)
            a.replace(QStringLiteral("@/"), root + QLatin1Char('/'));
        imagesIn.replace(QStringLiteral("@/"), root + QLatin1Char('/'));
        const QString convert =
            writeFile(root + QStringLiteral("/bin/convert"), "#!/bin/sh\nkill -SEGV $$\n");
        QFile::setPermissions(convert, QFile::permissions(convert) | QFile::ExeOwner);
        QDir().mkpath(root + QStringLiteral("/in/dossier.pdf"));
        const QStringList kept{
            copyOf(onePage, root + QStringLiteral("/in/doc.pdf")),
            // PostScript: Ghostscript's page count of a PDF would not fail.
            writeFile(root + QStringLiteral("/in/doc%d.pdf"), "%!PS\nshowpage\n"),
            writeFile(root + QStringLiteral("/in/vide.pdf"), QByteArray()),
            writeFile(root + QStringLiteral("/out/doc.png"), "mine")};
        Snapshot snapshot(root, imagesIn.isEmpty() ? kept : kept.mid(0, 3));
        if (!imagesIn.isEmpty())
            snapshot.allowChangesIn(imagesIn);

        const cli::Result r = runCli(QStringList{"-q", "-j2"} + arguments);
        QCOMPARE(r.exitCode, exitCode);
        for (const QString &line : reported)
            QVERIFY2(r.err.contains(line), qPrintable(r.err));
        if (!imagesIn.isEmpty())
            QCOMPARE(fileNames(imagesIn), QStringList{"doc.png"});
        scenarioOver(snapshot);
    }
};

QTEST_MAIN(TestReliability)
#include "tst_reliability.moc"

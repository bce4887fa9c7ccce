// Real conversions through the window with ImageMagick and Ghostscript: PDFs made at test time,
// images checked with identify.
#include "filelistdriver.h"
#include "imagemagick.h"
#include "modalanswerer.h"
#include "testenv.h"
#include "windowdriver.h"

#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestEndToEnd : public QObject
{
    Q_OBJECT

    std::unique_ptr<imagemagick::RealConverter> imageMagick;

private slots:
    void initTestCase()
    {
        REQUIRE_IMAGEMAGICK();
        imageMagick = std::make_unique<imagemagick::RealConverter>();
    }
    void cleanupTestCase() { imageMagick.reset(); }

    void convert_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("checks");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("format"); // identify -format, applied to every file
        QTest::addColumn<QString>("expected");

        const QString size = QStringLiteral("%m %wx%h");
        const QString grey =
            QStringLiteral("%m %wx%h %[png:IHDR.color-type-orig] %[png:IHDR.bit-depth-orig]");
        QTest::newRow("defaults: grey 4 bpp, one image a page")
            << 3 << QStringList() << QStringList{"doc-0.png", "doc-1.png", "doc-2.png"} << grey
            << "PNG 1240x1754 0 4";
        QTest::newRow("jpeg") << 2 << QStringList{"choixJPEG"}
                              << QStringList{"doc-0.jpg", "doc-1.jpg"} << size << "JPEG 1240x1754";
        QTest::newRow("one image three pages tall")
            << 3 << QStringList{"choixAppend"} << QStringList{"doc.png"} << size << "PNG 1240x5262";
        QTest::newRow("resize halves at medium")
            << 2 << QStringList{"choixRedim"} << QStringList{"doc-0.png", "doc-1.png"} << size
            << "PNG 620x877";
        QTest::newRow("low ignores resize") << 1 << QStringList{"radioQualiteBasse", "choixRedim"}
                                            << QStringList{"doc.png"} << size << "PNG 595x842";
        QTest::newRow("high with resize quarters 320 dpi")
            << 1 << QStringList{"radioQualiteHaute", "choixRedim"} << QStringList{"doc.png"} << size
            << "PNG 661x936";
        QTest::newRow("tns") << 2 << QStringList{"choixTNS"}
                             << QStringList{"doc-0.png.tns", "doc-1.png.tns"} << size
                             << "PNG 1240x1754";
    }
    void convert()
    {
        QFETCH(int, pages);
        QFETCH(QStringList, checks);
        QFETCH(QStringList, files);
        QFETCH(QString, format);
        QFETCH(QString, expected);

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("src/doc.pdf"));
        QDir().mkpath(dir.filePath(QStringLiteral("src")));
        QVERIFY(imagemagick::makePdf(pdf, pages));
        const QByteArray original = testenv::readFile(pdf);
        const QString out = dir.filePath(QStringLiteral("out"));

        ModalAnswerer answerer;
        MainWindow w;
        QCOMPARE(w.converterPath(), imagemagick::converter());
        window::convert(&w, {pdf}, out, checks);

        QCOMPARE(answerer.records().size(), 0);
        QCOMPARE(testenv::fileNames(out), files);
        for (const QString &f : files)
            QCOMPARE(imagemagick::identifyFormat(QDir(out).filePath(f), format), expected);
        QCOMPARE(testenv::readFile(pdf), original);
    }

    // What each colour mode shows of a page with smoothed text, ten shades of grey, a red square
    // and a white margin.
    void pictures_data()
    {
        QTest::addColumn<QStringList>("checks");
        QTest::addColumn<QString>("kind"); // %[type], then the PNG's colour type and bit depth
        QTest::addColumn<int>("minColours");
        QTest::addColumn<int>("maxColours");
        QTest::addColumn<bool>("redSquare"); // still red, or turned grey

        // The page's own shades and its white make 11 colours: the grey modes must add the
        // smoothing of the text to them, within what their depth can hold.
        QTest::newRow("black and white png")
            << QStringList{"radioNoirEtBlanc"} << "Bilevel 0 1" << 2 << 2 << false;
        QTest::newRow("grey 4 bpp png (defaults)")
            << QStringList() << "Grayscale 0 4" << 12 << 16 << false;
        QTest::newRow("grey 8 bpp png")
            << QStringList{"radioGrayscale8"} << "Grayscale 0 8" << 17 << 256 << false;
        QTest::newRow("colour 4 bpp png is a palette")
            << QStringList{"radioCouleurs4"} << "Palette 3 8" << 17 << 256 << true;
        QTest::newRow("colour 8 bpp png")
            << QStringList{"radioCouleurs8"} << "" << 17 << (1 << 24) << true;
        // JPEG blurs every edge into a few more levels, but keeps greys grey.
        QTest::newRow("black and white jpeg")
            << QStringList{"radioNoirEtBlanc", "choixJPEG"} << "Grayscale" << 2 << 256 << false;
        QTest::newRow("grey 8 bpp jpeg")
            << QStringList{"radioGrayscale8", "choixJPEG"} << "Grayscale" << 17 << 256 << false;
        QTest::newRow("colour 8 bpp jpeg")
            << QStringList{"radioCouleurs8", "choixJPEG"} << "" << 17 << (1 << 24) << true;
    }
    void pictures()
    {
        QFETCH(QStringList, checks);
        QFETCH(QString, kind);
        QFETCH(int, minColours);
        QFETCH(int, maxColours);
        QFETCH(bool, redSquare);

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("doc.pdf"));
        QVERIFY(imagemagick::makePdf(pdf, 1));
        const QString out = dir.filePath(QStringLiteral("out"));
        ModalAnswerer answerer;
        MainWindow w;
        window::convert(&w, {pdf}, out, checks);
        QCOMPARE(answerer.records().size(), 0);
        const bool png = !checks.contains(QStringLiteral("choixJPEG"));
        const QString image = QDir(out).filePath(png ? "doc.png" : "doc.jpg");

        const int colours = imagemagick::identifyFormat(image, QStringLiteral("%k")).toInt();
        QVERIFY2(colours >= minColours && colours <= maxColours,
                 qPrintable(QString::number(colours)));
        // No transparent pixel anywhere, a white margin, and the square in the mode's colours
        // (centre of the square at 150 dots per inch).
        QCOMPARE(imagemagick::identifyFormat(image,
                                             QStringLiteral("%[opaque] %[fx:p{0,0}.intensity>0.98] "
                                                            "%[fx:p{937,192}.r-p{937,192}.g>0.8]")),
                 QStringLiteral("true 1 %1").arg(int(redSquare)));
        if (!kind.isEmpty()) {
            const QString format = png ? QStringLiteral("%[type] %[png:IHDR.color-type-orig] "
                                                        "%[png:IHDR.bit-depth-orig]")
                                       : QStringLiteral("%[type]");
            QCOMPARE(imagemagick::identifyFormat(image, format), kind);
        }
    }

    // One image of a whole document is refused before anything is written when it would be taller
    // than the converter allows, and made when it just fits.
    void singleImageHeight_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("refused");
        // A4 at the converter's own 72 dots per inch is 842 pixels tall.
        QTest::newRow("3 pages: 2526 pixels fit") << 3 << false;
        QTest::newRow("4 pages: 3368 pixels do not") << 4 << true;
    }
    void singleImageHeight()
    {
        QFETCH(int, pages);
        QFETCH(bool, refused);
        const ScopedEnv limit("MAGICK_HEIGHT_LIMIT", "3000");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("doc.pdf"));
        QVERIFY(imagemagick::makePdf(pdf, pages));
        const QString out = dir.filePath(QStringLiteral("out"));
        ModalAnswerer answerer;
        if (refused)
            answerer.clickOk();
        MainWindow w;
        window::convert(&w, {pdf}, out, {"radioQualiteBasse", "choixAppend"});

        if (!refused) {
            QCOMPARE(answerer.records().size(), 0);
            QCOMPARE(
                imagemagick::identifyFormat(QDir(out).filePath("doc.png"), QStringLiteral("%wx%h")),
                QStringLiteral("595x2526"));
            return;
        }
        QCOMPARE(answerer.records().size(), 1);
        QCOMPARE(answerer.records().first().icon, QMessageBox::Critical);
        QCOMPARE(
            answerer.records().first().text,
            QStringLiteral("Impossible de créer une seule image de \"doc.pdf\" : ses 4 pages "
                           "empilées feraient 3368 pixels de haut, plus que les 3000 pixels "
                           "qu'accepte ImageMagick.\nChoisissez un super sampling plus bas, ou "
                           "décochez \"Créer une seule image\" pour obtenir une image par "
                           "page."));
        QCOMPARE(testenv::fileNames(out), QStringList());
    }

    void corruptPdfReported()
    {
        QTemporaryDir dir;
        const QString bad =
            testenv::writeFile(dir.filePath(QStringLiteral("bad.pdf")), "%PDF-1.4 nothing");
        const QString good = dir.filePath(QStringLiteral("good.pdf"));
        QVERIFY(imagemagick::makePdf(good, 1));
        MainWindow w;
        filelist::dropFiles(&w, {bad, good});
        window::setDestination(&w, dir.filePath(QStringLiteral("out")));
        ModalAnswerer answerer;
        answerer.clickOk();
        window::click(&w, "boutonConvertir");
        QCOMPARE(answerer.records().size(), 1);
        QCOMPARE(answerer.records().first().text,
                 QStringLiteral("Erreur durant la conversion de \"bad.pdf\"."));
        QVERIFY(testenv::fileNames(dir.filePath(QStringLiteral("out")))
                    .contains(QStringLiteral("good.png")));
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"

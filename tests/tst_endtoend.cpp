// Real conversions through the window with ImageMagick and Ghostscript: PDFs made at test time,
// images checked with identify.
#include "filelistdriver.h"
#include "imagemagick.h"
#include "modalanswerer.h"
#include "testenv.h"
#include "windowdriver.h"

#include <QDir>
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
        QTest::newRow("grey 8 bpp") << 1 << QStringList{"radioGrayscale8"} << QStringList{"doc.png"}
                                    << grey << "PNG 1240x1754 0 8";
        QTest::newRow("black and white") << 1 << QStringList{"radioNoirEtBlanc"}
                                         << QStringList{"doc.png"} << grey << "PNG 1240x1754 0 1";
        QTest::newRow("colour 4 bpp is a palette")
            << 1 << QStringList{"radioCouleurs4"} << QStringList{"doc.png"}
            << QStringLiteral("%m %[png:IHDR.color-type-orig]") << "PNG 3";
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

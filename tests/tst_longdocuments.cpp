// Long PDFs with the real ImageMagick under the system's resource limits (only PDF reading is
// granted, per user): converted completely, a few pages a call, into the images one call gives.
#include "arguments.h"
#include "chunking.h"
#include "engine.h"
#include "filelistdriver.h"
#include "imagemagick.h"
#include "modalanswerer.h"
#include "testenv.h"
#include "windowdriver.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using velinor::ConversionOptions;

Q_DECLARE_METATYPE(velinor::ConversionOptions)

namespace {

// The converter may hold at most this much, in kilobytes as getrusage counts.
constexpr long peakLimitKb = 400 * 1000;

// Ghostscript's -c takes about 2000 characters, so the pages come from a loop.
bool makeLongPdf(const QString &path, int pages)
{
    const QString program =
        QStringLiteral("<</PageSize [595 842]>> setpagedevice /Helvetica findfont 200 scalefont "
                       "setfont 1 1 %1 { 0 1 9 { dup 10 div setgray 50 mul 50 add 50 40 40 "
                       "rectfill } for 1 0 0 setrgbcolor 400 700 100 100 rectfill 0 setgray "
                       "150 400 moveto 10 string cvs show showpage } for")
            .arg(pages);
    QProcess gs;
    gs.start(imagemagick::ghostscript(),
             {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dBATCH"),
              QStringLiteral("-dSAFER"), QStringLiteral("-sDEVICE=pdfwrite"),
              QStringLiteral("-sOutputFile=") + path, QStringLiteral("-c"), program});
    return gs.waitForFinished(120000) && gs.exitStatus() == QProcess::NormalExit &&
           gs.exitCode() == 0;
}

QStringList pageImages(const QString &base, int pages, const QString &extension)
{
    QStringList names;
    for (int i = 0; i < pages; ++i)
        names << QStringLiteral("%1-%2%3").arg(base).arg(i).arg(extension);
    std::sort(names.begin(), names.end());
    return names;
}

QStringList sortedFiles(const QString &folder)
{
    QStringList names = testenv::fileNames(folder);
    std::sort(names.begin(), names.end());
    return names;
}

// The largest resident set of any converter (or Ghostscript) this test has waited for, in kB.
long childrenPeakKb()
{
#ifdef Q_OS_UNIX
    struct rusage usage = {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
#else
    return 0;
#endif
}

QString signature(const QString &image)
{
    return imagemagick::identifyFormat(image, QStringLiteral("%#"));
}

} // namespace

class TestLongDocuments : public QObject
{
    Q_OBJECT

    std::unique_ptr<imagemagick::RealConverter> imageMagick;

    // Converts one PDF through the window, with the form's defaults but for `checks`.
    void convertInWindow(const QString &pdf, const QString &out, const QStringList &checks)
    {
        ModalAnswerer answerer;
        MainWindow w;
        QCOMPARE(w.converterPath(), imagemagick::converter());
        window::convert(&w, {pdf}, out, checks);
        QCOMPARE(answerer.records().size(), 0);
    }

private slots:
    void initTestCase()
    {
        REQUIRE_IMAGEMAGICK();
        imageMagick = std::make_unique<imagemagick::RealConverter>();
    }
    void cleanupTestCase() { imageMagick.reset(); }

    // The memory checks come first: the peak counts every child this process has waited for, and
    // the single calls of the later tests hold whole documents.
    void longDocumentAtTheDefaults()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("cours.pdf"));
        QVERIFY(makeLongPdf(pdf, 120));
        const QString out = dir.filePath(QStringLiteral("out"));
        convertInWindow(pdf, out, {});

        QCOMPARE(sortedFiles(out),
                 pageImages(QStringLiteral("cours"), 120, QStringLiteral(".png")));
        const long peak = childrenPeakKb();
        QVERIFY2(peak < peakLimitKb, qPrintable(QStringLiteral("peak %1 kB").arg(peak)));
    }

    // An odd count, so that the last call holds three of these heaviest pages.
    void longDocumentAtHighSupersampling()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("td.pdf"));
        QVERIFY(makeLongPdf(pdf, 31));
        const QString out = dir.filePath(QStringLiteral("out"));
        convertInWindow(pdf, out, {QStringLiteral("radioQualiteHaute")});

        const QStringList files = pageImages(QStringLiteral("td"), 31, QStringLiteral(".png"));
        QCOMPARE(sortedFiles(out), files);
        for (const QString &f : {files.first(), files.last()})
            QCOMPARE(imagemagick::identifyFormat(QDir(out).filePath(f), QStringLiteral("%wx%h")),
                     QStringLiteral("2644x3742"));
        const long peak = childrenPeakKb();
        QVERIFY2(peak < peakLimitKb, qPrintable(QStringLiteral("peak %1 kB").arg(peak)));
    }

    void sameImagesAsOneCall_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<ConversionOptions>("options");

        ConversionOptions o;
        QTest::newRow("defaults") << 12 << o;
        o.colourMode = ConversionOptions::ColourMode::Colour8;
        o.png = false;
        o.compression = 5;
        o.resize = true;
        QTest::newRow("jpeg resized") << 12 << o;
        o = ConversionOptions();
        o.supersampling = ConversionOptions::Supersampling::High;
        o.colourMode = ConversionOptions::ColourMode::Grey8;
        o.resize = true;
        QTest::newRow("high, three pages in the last call") << 5 << o;
    }
    void sameImagesAsOneCall()
    {
        QFETCH(int, pages);
        QFETCH(ConversionOptions, options);

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("doc.pdf"));
        QVERIFY(makeLongPdf(pdf, pages));
        const QString converter = imagemagick::converter();
        const QString split = dir.filePath(QStringLiteral("split"));
        const QString whole = dir.filePath(QStringLiteral("whole"));
        QDir().mkpath(split);
        QDir().mkpath(whole);

        const velinor::ConversionCall splitCall = velinor::buildConversion(pdf, split, options);
        QCOMPARE(velinor::pageCount(converter, pdf), pages);
        QVERIFY(velinor::converterCalls(splitCall, options, pages).size() > 1);
        // Two jobs: the ranges run side by side, as they do for the user.
        velinor::EngineSettings settings;
        settings.converter = converter;
        settings.destination = split;
        settings.options = options;
        settings.jobs = 2;
        const QList<velinor::FileResult> results = testenv::runEngine(settings, {pdf});
        QCOMPARE(results.size(), 1);
        QCOMPARE(results.first().outcome, velinor::FileResult::Outcome::Converted);

        const velinor::ConversionCall wholeCall = velinor::buildConversion(pdf, whole, options);
        QCOMPARE(QProcess::execute(converter, wholeCall.arguments), 0);

        const QStringList names = sortedFiles(whole);
        QCOMPARE(names, pageImages(QStringLiteral("doc"), pages, splitCall.extension));
        QCOMPARE(sortedFiles(split), names);
        for (const QString &name : names) {
            const QString expected = signature(QDir(whole).filePath(name));
            QVERIFY(!expected.isEmpty());
            QCOMPARE(signature(QDir(split).filePath(name)), expected);
        }
    }
};

QTEST_MAIN(TestLongDocuments)
#include "tst_longdocuments.moc"

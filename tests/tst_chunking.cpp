// Long documents converted a few pages at a time: the page ranges, the calls derived from the
// single call, how the identify is found and read, and the calls run for one file (with the
// fake converter and identify of tests/fakes).
#include "arguments.h"
#include "chunking.h"
#include "engine.h"
#include "paths.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using velinor::ConversionOptions;
using velinor::PageRange;
using Supersampling = ConversionOptions::Supersampling;
using ColourMode = ConversionOptions::ColourMode;
using Calls = QList<QStringList>;

Q_DECLARE_METATYPE(velinor::ConversionOptions)

namespace {

const QString fakes = QStringLiteral(VELINOR_TESTS_DIR "/fakes");
const QString fakeConvert = QStringLiteral(VELINOR_FAKE_CONVERT);

QString describe(const QList<PageRange> &ranges)
{
    QStringList parts;
    for (const PageRange &r : ranges)
        parts << QStringLiteral("%1-%2").arg(r.first).arg(r.last);
    return parts.join(QLatin1Char(' '));
}

ConversionOptions options(Supersampling s = Supersampling::Medium,
                          ColourMode mode = ColourMode::Grey4, bool png = true, bool resize = false,
                          bool append = false)
{
    ConversionOptions o;
    o.supersampling = s;
    o.colourMode = mode;
    o.png = png;
    o.resize = resize;
    o.append = append;
    return o;
}

// The form's defaults around an input (with its page range, if any) and an output.
QStringList defaults(const QString &input, const QString &output, int scene = -1)
{
    QStringList args{"-density",  "150",    input,      "-background", "white",
                     "-alpha",    "remove", "-quality", "95",          "-type",
                     "GrayScale", "-depth", "4",        "-alpha",      "remove"};
    if (scene >= 0)
        args << "-scene" << QString::number(scene);
    return args << output;
}

QString makeExecutable(const QString &path, const QByteArray &script = "#!/bin/sh\nexit 0\n")
{
    testenv::writeFile(path, script);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace

class TestChunking : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;

private slots:
    void cleanup()
    {
        for (const char *v :
             {"FAKE_CONVERT_LOG", "FAKE_CONVERT_PAGES", "FAKE_CONVERT_FAIL", "FAKE_CONVERT_EXIT",
              "FAKE_IDENTIFY_LOG", "FAKE_IDENTIFY_OUTPUT", "FAKE_IDENTIFY_EXIT"})
            qunsetenv(v);
    }

    void fileRanges_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("perCall");
        QTest::addColumn<QString>("ranges");

        QTest::newRow("unknown") << 0 << 8 << "";
        QTest::newRow("one page") << 1 << 8 << "0-0";
        QTest::newRow("three pages, two a call: no page left alone") << 3 << 2 << "0-2";
        QTest::newRow("one under the size") << 7 << 8 << "0-6";
        QTest::newRow("the size") << 8 << 8 << "0-7";
        QTest::newRow("one over the size joins") << 9 << 8 << "0-8";
        QTest::newRow("two over the size split") << 10 << 8 << "0-7 8-9";
        QTest::newRow("a last single page joins") << 17 << 8 << "0-7 8-16";
        QTest::newRow("five pages two a call") << 5 << 2 << "0-1 2-4";
        QTest::newRow("one a call would number nothing") << 4 << 1 << "0-1 2-3";
        QTest::newRow("301 pages, 32 a call")
            << 301 << 32
            << "0-31 32-63 64-95 96-127 128-159 160-191 192-223 224-255 256-287 288-300";
    }
    void fileRanges()
    {
        QFETCH(int, pages);
        QFETCH(int, perCall);
        QFETCH(QString, ranges);
        QCOMPARE(describe(velinor::pageRanges(pages, perCall)), ranges);
    }

    // Every page in exactly one range, in order, none alone, none larger than one page over.
    void rangesCoverEveryPage_data()
    {
        QTest::addColumn<int>("perCall");
        for (Supersampling s : {Supersampling::Low, Supersampling::Medium, Supersampling::High})
            QTest::addRow("%d a call", velinor::pagesPerCall(s)) << velinor::pagesPerCall(s);
    }
    void rangesCoverEveryPage()
    {
        QFETCH(int, perCall);
        for (int pages = 1; pages <= 301; ++pages) {
            const QList<PageRange> ranges = velinor::pageRanges(pages, perCall);
            int next = 0;
            for (const PageRange &r : ranges) {
                const int size = r.last - r.first + 1;
                QVERIFY2(
                    r.first == next && size <= perCall + 1 && (size >= 2 || pages == 1),
                    qPrintable(QStringLiteral("%1 pages: %2").arg(pages).arg(describe(ranges))));
                next = r.last + 1;
            }
            QCOMPARE(next, pages);
        }
    }

    void calls_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<ConversionOptions>("options");
        QTest::addColumn<int>("pages");
        QTest::addColumn<Calls>("calls");

        const QString src = "/cours/chap.1.pdf";
        const QString out = "/images/chap.1.png";
        QTest::newRow("unknown page count: the single call")
            << src << "/images" << options() << 0 << Calls{defaults(src, out)};
        QTest::newRow("one page") << src << "/images" << options() << 1
                                  << Calls{defaults(src, out)};
        QTest::newRow("fits in one call with a joined last page")
            << src << "/images" << options() << 9 << Calls{defaults(src, out)};
        QTest::newRow("twenty pages at medium")
            << src << "/images" << options() << 20
            << Calls{defaults(src + "[0-7]", out, 0), defaults(src + "[8-15]", out, 8),
                     defaults(src + "[16-19]", out, 16)};
        QTest::newRow("low: no density before the input")
            << src << "/images" << options(Supersampling::Low, ColourMode::Colour8) << 65
            << Calls{{src + "[0-31]", "-background", "white", "-alpha", "remove", "-quality", "95",
                      "-depth", "8", "-scene", "0", out},
                     {src + "[32-64]", "-background", "white", "-alpha", "remove", "-quality", "95",
                      "-depth", "8", "-scene", "32", out}};
        QTest::newRow("high, JPEG, resized: the last single page joins")
            << src << "/images" << options(Supersampling::High, ColourMode::Colour8, false, true)
            << 5
            << Calls{{"-density", "320", src + "[0-1]", "-background", "white", "-alpha", "remove",
                      "-quality", "95", "-depth", "8", "-resize", "25%", "-scene", "0",
                      "/images/chap.1.jpg"},
                     {"-density", "320", src + "[2-4]", "-background", "white", "-alpha", "remove",
                      "-quality", "95", "-depth", "8", "-resize", "25%", "-scene", "2",
                      "/images/chap.1.jpg"}};
        QTest::newRow("one image per document is never split")
            << src << "/images"
            << options(Supersampling::Medium, ColourMode::Grey4, true, false, true) << 300
            << Calls{{"-density", "150", src, "-background", "white", "-alpha", "remove",
                      "-quality", "95", "-type", "GrayScale", "-depth", "4", "-alpha", "remove",
                      "-append", out}};
        QTest::newRow("a % in the name is a frame template")
            << "/cours/td%d.pdf"
            << "/images" << options() << 40
            << Calls{defaults("/cours/td%d.pdf", "/images/td%d.png")};
        QTest::newRow("a % in the destination") << src << "/images/100%" << options() << 40
                                                << Calls{defaults(src, "/images/100%/chap.1.png")};
        QTest::newRow("a bracket in the name")
            << "/cours/chap[2].pdf"
            << "/images" << options() << 40
            << Calls{defaults("/cours/chap[2].pdf", "/images/chap[2].png")};
        QTest::newRow("a bracket in a folder of the source")
            << "/cours [2024]/chap.pdf"
            << "/images" << options() << 40
            << Calls{defaults("/cours [2024]/chap.pdf", "/images/chap.png")};
        QTest::newRow("a bracket in the destination is written as is")
            << src << "/images [a]" << options() << 10
            << Calls{defaults(src + "[0-7]", "/images [a]/chap.1.png", 0),
                     defaults(src + "[8-9]", "/images [a]/chap.1.png", 8)};
    }
    void calls()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(ConversionOptions, options);
        QFETCH(int, pages);
        QFETCH(Calls, calls);

        const velinor::ConversionCall call = velinor::buildConversion(source, destination, options);
        QCOMPARE(velinor::converterCalls(call, options, pages), calls);
    }

    void identifyLookup_data()
    {
        QTest::addColumn<QString>("converter"); // relative to a fresh folder
        QTest::addColumn<QStringList>("files"); // executables made in that folder
        QTest::addColumn<bool>("identifyOnPath");
        QTest::addColumn<QStringList>("command"); // "@" stands for the folder

        QTest::newRow("beside convert")
            << "bin/convert" << QStringList{"bin/convert", "bin/identify"} << true
            << QStringList{"@/bin/identify"};
        QTest::newRow("windows names")
            << "IM/convert.exe" << QStringList{"IM/convert.exe", "IM/identify.exe"} << false
            << QStringList{"@/IM/identify.exe"};
        QTest::newRow("debian's versioned names")
            << "bin/convert-im6.q16" << QStringList{"bin/convert-im6.q16", "bin/identify-im6.q16"}
            << false << QStringList{"@/bin/identify-im6.q16"};
        QTest::newRow("imagemagick 7") << "bin/magick" << QStringList{"bin/magick"} << true
                                       << QStringList{"@/bin/magick", "identify"};
        QTest::newRow("imagemagick 7 on windows")
            << "IM/MAGICK.EXE" << QStringList{"IM/MAGICK.EXE"} << false
            << QStringList{"@/IM/MAGICK.EXE", "identify"};
        QTest::newRow("a wrapper with no identify beside: the one on PATH")
            << "wrap/convert" << QStringList{"wrap/convert"} << true
            << QStringList{"@/path/identify"};
        QTest::newRow("a wrapper of another name")
            << "wrap/im-convert" << QStringList{"wrap/im-convert"} << true
            << QStringList{"@/path/identify"};
        QTest::newRow("no identify anywhere")
            << "bin/convert" << QStringList{"bin/convert"} << false << QStringList{};
    }
    void identifyLookup()
    {
        QFETCH(QString, converter);
        QFETCH(QStringList, files);
        QFETCH(bool, identifyOnPath);
        QFETCH(QStringList, command);

        QTemporaryDir dir;
        for (const QString &f : files)
            makeExecutable(dir.filePath(f));
        QDir().mkpath(dir.filePath("path"));
        if (identifyOnPath)
            makeExecutable(dir.filePath("path/identify"));
        ScopedEnv path("PATH", dir.filePath("path").toUtf8());

        command.replaceInStrings("@", dir.path());
        QCOMPARE(velinor::identifyCommand(dir.filePath(converter)), command);
    }

    void pageCount_data()
    {
        QTest::addColumn<QByteArray>("content"); // of the source file
        QTest::addColumn<QByteArray>("output");  // empty: the fake prints FAKE_CONVERT_PAGES
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("asked"); // whether identify ran

        const QByteArray pdf("%PDF-1.4\n");
        QTest::newRow("one line a page") << pdf << QByteArray() << 0 << 120 << true;
        QTest::newRow("first line only") << pdf << QByteArray("7\n9\n") << 0 << 7 << true;
        QTest::newRow("no newline") << pdf << QByteArray("12") << 0 << 12 << true;
        QTest::newRow("blanks around") << pdf << QByteArray(" 12 \r\n") << 0 << 12 << true;
        QTest::newRow("nothing printed") << pdf << QByteArray("\n") << 0 << 0 << true;
        QTest::newRow("not a number") << pdf << QByteArray("12 pages\n") << 0 << 0 << true;
        QTest::newRow("failed, whatever it printed") << pdf << QByteArray("5\n") << 1 << 0 << true;
        QTest::newRow("header after some bytes")
            << QByteArray(600, ' ') + pdf << QByteArray() << 0 << 120 << true;
        QTest::newRow("PostScript")
            << QByteArray("%!PS-Adobe-3.0\n") << QByteArray() << 0 << 120 << true;
        QTest::newRow("an image is never counted")
            << QByteArray("\x89PNG\r\n\x1a\n") << QByteArray() << 0 << 0 << false;
        QTest::newRow("a missing file is never counted")
            << QByteArray() << QByteArray() << 0 << 0 << false;
    }
    void pageCount()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, output);
        QFETCH(int, exitCode);
        QFETCH(int, pages);
        QFETCH(bool, asked);

        const QString source =
            tmp.filePath(QStringLiteral("cours %1/a b.pdf").arg(QTest::currentDataTag()));
        if (!content.isEmpty())
            testenv::writeFile(source, content);
        const QString log =
            tmp.filePath(QStringLiteral("identify-%1.log").arg(QTest::currentDataTag()));
        qputenv("FAKE_IDENTIFY_LOG", log.toUtf8());
        qputenv("FAKE_CONVERT_PAGES", "120");
        if (!output.isEmpty())
            qputenv("FAKE_IDENTIFY_OUTPUT", output);
        qputenv("FAKE_IDENTIFY_EXIT", QByteArray::number(exitCode));

        QCOMPARE(velinor::pageCount(fakeConvert, source), pages);
        const Calls expected = asked ? Calls{{"-ping", "-format", "%n\\n", source}} : Calls();
        QCOMPARE(testenv::fakeConverterCalls(log), expected);
    }

    void pageCountImageMagick7()
    {
        QTemporaryDir dir;
        const QString magick = dir.filePath("magick");
        QVERIFY(QFile::link(fakes + "/identify", magick));
        const QString log = dir.filePath("identify.log");
        qputenv("FAKE_IDENTIFY_LOG", log.toUtf8());
        qputenv("FAKE_CONVERT_PAGES", "31");
        const QString pdf = testenv::writeFile(dir.filePath("a.pdf"), "%PDF-1.7\n");
        QCOMPARE(velinor::pageCount(magick, pdf), 31);
        QCOMPARE(testenv::fakeConverterCalls(log),
                 (Calls{{"identify", "-ping", "-format", "%n\\n", pdf}}));
    }

    // One file through the engine: its ranges in order, and the stop at the first failing one.
    void oneFile_data()
    {
        QTest::addColumn<ConversionOptions>("options");
        QTest::addColumn<QString>("sourceName");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("fail");       // FAKE_CONVERT_FAIL
        QTest::addColumn<int>("result");         // 0: converted, 1: failed
        QTest::addColumn<QStringList>("inputs"); // of the converter calls, in order
        QTest::addColumn<int>("identifyCalls");
        QTest::addColumn<int>("images");

        const ConversionOptions append =
            options(Supersampling::Medium, ColourMode::Grey4, true, false, true);
        QTest::newRow("split") << options() << "doc.pdf" << 20 << "" << 0
                               << QStringList{"doc.pdf[0-7]", "doc.pdf[8-15]", "doc.pdf[16-19]"}
                               << 1 << 20;
        QTest::newRow("stops at the failing range")
            << options() << "doc.pdf" << 20 << "[8-15]" << 1
            << QStringList{"doc.pdf[0-7]", "doc.pdf[8-15]"} << 1 << 8;
        QTest::newRow("first range fails") << options() << "doc.pdf" << 20 << "[0-7]" << 1
                                           << QStringList{"doc.pdf[0-7]"} << 1 << 0;
        QTest::newRow("short document: one call")
            << options() << "doc.pdf" << 3 << "" << 0 << QStringList{"doc.pdf"} << 1 << 3;
        QTest::newRow("single call failing")
            << options() << "doc.pdf" << 3 << "doc" << 1 << QStringList{"doc.pdf"} << 1 << 0;
        QTest::newRow("append: no count")
            << append << "doc.pdf" << 20 << "" << 0 << QStringList{"doc.pdf"} << 0 << 1;
        QTest::newRow("% in the name: no count")
            << options() << "doc%.pdf" << 20 << "" << 0 << QStringList{"doc%.pdf"} << 0 << 20;
    }
    void oneFile()
    {
        QFETCH(ConversionOptions, options);
        QFETCH(QString, sourceName);
        QFETCH(int, pages);
        QFETCH(QString, fail);
        QFETCH(int, result);
        QFETCH(QStringList, inputs);
        QFETCH(int, identifyCalls);
        QFETCH(int, images);

        QTemporaryDir dir;
        const QString source = testenv::writeFile(dir.filePath("in/" + sourceName), "%PDF-1.4\n");
        const QString out = dir.filePath("out");
        QDir().mkpath(out);
        qputenv("FAKE_CONVERT_LOG", dir.filePath("convert.log").toUtf8());
        qputenv("FAKE_IDENTIFY_LOG", dir.filePath("identify.log").toUtf8());
        qputenv("FAKE_CONVERT_PAGES", QByteArray::number(pages));
        if (!fail.isEmpty())
            qputenv("FAKE_CONVERT_FAIL", fail.toUtf8());

        // One job, so that the ranges run one after the other and the failing one is the last.
        velinor::EngineSettings settings;
        settings.converter = fakeConvert;
        settings.destination = out;
        settings.options = options;
        const QList<velinor::FileResult> results = testenv::runEngine(settings, {source});
        QCOMPARE(results.size(), 1);
        QCOMPARE(int(results.first().outcome != velinor::FileResult::Outcome::Converted), result);

        QStringList seen;
        for (const QStringList &args : testenv::fakeConverterCalls(dir.filePath("convert.log")))
            seen << velinor::fileName(args.value(args.indexOf(QStringLiteral("-background")) - 1));
        QCOMPARE(seen, inputs);
        QCOMPARE(testenv::fakeConverterCalls(dir.filePath("identify.log")).size(), identifyCalls);
        QCOMPARE(testenv::fileNames(out).size(), images);
    }
};

QTEST_MAIN(TestChunking)
#include "tst_chunking.moc"

// The converter's calls: its arguments for each branch of the options, the names taken from the
// paths, long documents converted a few pages a call, where identify is found, and how tall a
// single image of a whole document would be.
#include "chunking.h"
#include "singleimage.h"
#include "testenv.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using velinor::ConversionOptions;
using S = ConversionOptions::Supersampling;
using M = ConversionOptions::ColourMode;

class TestCalls : public QObject
{
    Q_OBJECT

private slots:
    // supersampling (0 low, 1 medium, 2 high) | colour mode (0 none, 1 two levels, 2 grey 4,
    // 3 grey 8, 4 colour 4, 5 colour 8) | png | compression | resize | append | the arguments,
    // "IN" the source and "OUT" the image without its extension; the white page comes first.
    void arguments_data()
    {
        testenv::table({
            "defaults | 1|2|1|9|0|0 | -density 150 IN W -quality 95 -type GrayScale -depth 4 "
            "-alpha remove OUT.png",
            "two levels | 0|1|1|9|0|0 | IN W -quality 95 -type BiLevel -alpha remove OUT.png",
            "grey 8 | 0|3|1|9|0|0 | IN W -quality 95 -type GrayScale -depth 8 -alpha remove "
            "OUT.png",
            "colour 4 | 0|4|1|9|0|0 | IN W -quality 95 -define png:format=png8 OUT.png",
            "colour 4 in JPEG | 0|4|0|9|0|0 | IN W -quality 95 -depth 4 OUT.jpg",
            "colour 8 | 0|5|1|9|0|0 | IN W -quality 95 -depth 8 OUT.png",
            "compression 0 | 0|0|1|0|0|0 | IN W -quality 05 OUT.png",
            "low resized | 0|0|1|9|1|0 | IN W -quality 95 OUT.png",
            "medium resized | 1|0|1|9|1|0 | -density 150 IN W -quality 95 -resize 50% OUT.png",
            "high resized one JPEG | 2|5|0|5|1|1 | -density 320 IN W -quality 55 -depth 8 "
            "-resize 25% -append OUT.jpg",
        });
    }
    void arguments()
    {
        QFETCH(QStringList, f);
        const ConversionOptions options{S(f[0].toInt()), M(f[1].toInt()), f[2] == "1",
                                        f[3].toInt(),    f[4] == "1",     f[5] == "1"};
        const auto call = velinor::buildConversion("/cours/chap.1.pdf", "/img", options);
        QCOMPARE(call.command.arguments().join(' '),
                 f[6].replace("IN", "/cours/chap.1.pdf")
                     .replace("OUT", "/img/chap.1")
                     .replace(" W ", " -background white -alpha remove "));
        QCOMPARE(call.outputPath, call.command.arguments().last());
    }

    // source | destination | base name | image
    void names_data()
    {
        testenv::table({
            "a dot in the folder only | /v1.2/notes | /img/ | | /img/.png",
            // QDir would take ":n.png" for a resource and drop the folder.
            "leading colon | /c/:n.pdf | /img | :n | /img/:n.png",
        });
    }
    void names()
    {
        QFETCH(QStringList, f);
        const auto call = velinor::buildConversion(f[0], f[1], ConversionOptions());
        QCOMPARE(call.baseName, f[2]);
        QCOMPARE(call.outputPath, f[3]);
        QCOMPARE(call.command.arguments().at(2), f[0]);
    }

    // source | destination | supersampling | pages | the calls' ranges, none when the one call
    // is kept. Each call reads its range and numbers its images from its first page.
    void calls_data()
    {
        testenv::table({"medium | /c/a.pdf | /i | 1 | 20 | 0-7 8-15 16-19",
                        "low: the input first | /c/a.pdf | /i | 0 | 65 | 0-31 32-64",
                        "high | /c/a.pdf | /i | 2 | 5 | 0-1 2-4",
                        "a frame template | /c/t%d.pdf | /i | 1 | 40 |",
                        "% in the destination | /c/a.pdf | /1% | 1 | 40 |",
                        "[ in the name | /c/a[2].pdf | /i | 1 | 40 |",
                        "[ in the destination | /c/a.pdf | /i [a] | 1 | 10 | 0-7 8-9"});
    }
    void calls()
    {
        QFETCH(QStringList, f);
        ConversionOptions options;
        options.supersampling = S(f[2].toInt());
        const auto call = velinor::buildConversion(f[0], f[1], options);
        QList<QStringList> expected;
        for (const QString &range : f[4].split(' ', Qt::SkipEmptyParts)) {
            QStringList arguments = call.command.arguments();
            arguments.replace(arguments.indexOf(f[0]), f[0] + '[' + range + ']');
            arguments.insert(arguments.size() - 1, "-scene");
            arguments.insert(arguments.size() - 1, range.section('-', 0, 0));
            expected << arguments;
        }
        const velinor::ConverterCalls calls = velinor::converterCalls(call, options, f[3].toInt());
        QList<QStringList> made;
        for (int i = 0; i < calls.size(); ++i)
            made << calls.at(i).arguments();
        QCOMPARE(made, expected.isEmpty() ? QList<QStringList>{call.command.arguments()} : expected);
    }

    // converter | made beside it | identify's command, "@" the folder
    void identify_data()
    {
        testenv::table({"Debian | convert-im6.q16 | identify-im6.q16 | @/identify-im6.q16",
                        "ImageMagick 7 | magick | | @/magick identify",
                        "ImageMagick 7 on Windows | MAGICK.EXE | | @/MAGICK.EXE identify",
                        "a wrapper: the one on PATH | im-convert | | @/path/identify"});
    }
    void identify()
    {
        QFETCH(QStringList, f);
        QTemporaryDir dir;
        for (const QString &name : QStringList{f[0], f[1], "path/identify"}) {
            if (!name.isEmpty())
                QFile(testenv::writeFile(dir.filePath(name))).setPermissions(QFile::ExeOwner);
        }
        ScopedEnv path("PATH", dir.filePath("path").toUtf8());
        QCOMPARE(velinor::identifyCommand(dir.filePath(f[0])).join(' '),
                 f[2].replace("@", dir.path()));
    }

    // supersampling | resize | height of a single image of two A4 pages and a landscape one
    void height_data()
    {
        testenv::table(
            {"low | 0 | 1 | 2279", "medium | 1 | 0 | 4748", "high resized | 2 | 1 | 2533"});
    }
    void height()
    {
        QFETCH(QStringList, f);
        ConversionOptions options;
        options.supersampling = S(f[0].toInt());
        options.resize = f[1] == "1";
        QCOMPARE(velinor::stackedHeight({{595, 842}, {595, 842}, {842, 595}}, options),
                 f[2].toLongLong());
    }
};

QTEST_GUILESS_MAIN(TestCalls)
#include "tst_calls.moc"

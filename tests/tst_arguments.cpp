// The converter's arguments for each branch of the options, and the names taken from the paths.
#include "arguments.h"
#include "testenv.h"

#include <QTest>

using velinor::ConversionOptions;

class TestArguments : public QObject
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
        const ConversionOptions options{ConversionOptions::Supersampling(f[0].toInt()),
                                        ConversionOptions::ColourMode(f[1].toInt()),
                                        f[2] == "1",
                                        f[3].toInt(),
                                        f[4] == "1",
                                        f[5] == "1"};
        const auto call = velinor::buildConversion("/cours/chap.1.pdf", "/img", options);
        QCOMPARE(call.arguments.join(' '),
                 f[6].replace("IN", "/cours/chap.1.pdf")
                     .replace("OUT", "/img/chap.1")
                     .replace(" W ", " -background white -alpha remove "));
        QCOMPARE(call.outputPath, call.arguments.last());
    }

    // source | destination | base name | image
    void names_data()
    {
        testenv::table({
            "several dots | /c/a.b.pdf | /img | a.b | /img/a.b.png",
            "no dot | /c/notes | /img | | /img/.png",
            "a dot in the folder only | /v1.2/notes | /img | | /img/.png",
            "blanks | /Mes cours/a 1.pdf | /Mes img | a 1 | /Mes img/a 1.png",
            "trailing slash | /c/x.pdf | /img/ | x | /img/x.png",
            "root | /c/x.pdf | / | x | /x.png",
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
        QCOMPARE(call.arguments.at(2), f[0]);
    }
};

QTEST_GUILESS_MAIN(TestArguments)
#include "tst_arguments.moc"

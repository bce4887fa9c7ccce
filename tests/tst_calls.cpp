// The converter's calls: its arguments for each branch of the options, the names taken from the
// paths, long documents converted a few pages a call, where the converter and identify are found,
// and how tall a single image of a whole document would be.
#include "chunking.h"
#include "convertersearch.h"
#include "engine.h"
#include "inkbox.h"
#include "pdfpages.h"
#include "reasons.h"
#include "runsetup.h"
#include "screens.h"
#include "singleimage.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using velinor::ConversionOptions;
using S = ConversionOptions::Supersampling;
using M = ConversionOptions::ColourMode;
using Arguments = std::tuple<ConversionOptions, QString>;
using Names = std::tuple<QString, QString, QString, QString>;
using Calls = std::tuple<QString, QString, S, int, QString>;
using Identify = std::tuple<QString, QString, QString>;
using Search = std::tuple<QString, QString, QString>;
using Height = std::tuple<S, bool, int, QRect, qint64>;
using Ink = std::tuple<QByteArray, double, QString>;
using Destination = std::tuple<QString, QString>;
using Screens = std::tuple<QString, QString>;
using Kind = std::tuple<QByteArray, velinor::DocumentKind>;

class TestCalls : public QObject
{
    Q_OBJECT

private slots:
    // The options and their arguments, "IN" the source and "OUT" the image without its
    // extension; the white page comes first.
    void arguments_data()
    {
        using O = ConversionOptions;
        const auto row = testenv::rows<Arguments>();
        row("defaults", O{S::Medium, M::Grey4, true, 9, false, false},
            "-density 150 IN W -quality 95 -type GrayScale -depth 4 -alpha remove OUT.png");
        row("two levels", O{S::Low, M::BlackWhite, true, 9, false, false},
            "IN W -quality 95 -type BiLevel -alpha remove OUT.png");
        row("grey 8", O{S::Low, M::Grey8, true, 9, false, false},
            "IN W -quality 95 -type GrayScale -depth 8 -alpha remove OUT.png");
        row("colour 4", O{S::Low, M::Colour4, true, 9, false, false},
            "IN W -quality 95 -define png:format=png8 OUT.png");
        row("colour 4 in JPEG", O{S::Low, M::Colour4, false, 9, false, false},
            "IN W -quality 95 -depth 4 OUT.jpg");
        row("colour 8", O{S::Low, M::Colour8, true, 9, false, false},
            "IN W -quality 95 -depth 8 OUT.png");
        row("compression 0", O{S::Low, M::None, true, 0, false, false}, "IN W -quality 05 OUT.png");
        row("low resized", O{S::Low, M::None, true, 9, true, false}, "IN W -quality 95 OUT.png");
        row("medium resized", O{S::Medium, M::None, true, 9, true, false},
            "-density 150 IN W -quality 95 -resize 50% OUT.png");
        row("high resized one JPEG", O{S::High, M::Colour8, false, 5, true, true},
            "-density 320 IN W -quality 55 -depth 8 -resize 25% -append OUT.jpg");
        row("fitted, resize ignored", O{S::High, M::Grey8, true, 9, true, true, false, 640},
            "-density 320 IN -resize 640x W -quality 95 -type GrayScale -depth 8 -alpha remove "
            "-append OUT.png");
    }
    void arguments()
    {
        auto [options, arguments] = testenv::fetch<Arguments>();
        const auto call = velinor::buildConversion("/cours/chap.1.pdf", "/img", options);
        QCOMPARE(call.command.arguments().join(' '),
                 arguments.replace("IN", "/cours/chap.1.pdf")
                     .replace("OUT", "/img/chap.1")
                     .replace(" W ", " -background white -alpha remove "));
        QCOMPARE(call.outputPath, call.command.arguments().last());
    }

    void names_data()
    {
        const auto row = testenv::rows<Names>();
        row("a dot in the folder only", "/v1.2/notes", "/img/", "", "/img/.png");
        // QDir would take ":n.png" for a resource and drop the folder.
        row("leading colon", "/c/:n.pdf", "/img", ":n", "/img/:n.png");
    }
    void names()
    {
        const auto [source, destination, base, image] = testenv::fetch<Names>();
        const auto call = velinor::buildConversion(source, destination, ConversionOptions());
        QCOMPARE(call.baseName, base);
        QCOMPARE(call.outputPath, image);
        QCOMPARE(call.command.arguments().at(2), source);
    }

    // source, destination, supersampling, pages, the calls' ranges, none when the one call is
    // kept. Each call reads its range and numbers its images from its first page.
    void calls_data()
    {
        const auto row = testenv::rows<Calls>();
        row("medium", "/c/a.pdf", "/i", S::Medium, 20, "0-7 8-15 16-19");
        row("low: the input first", "/c/a.pdf", "/i", S::Low, 65, "0-31 32-64");
        row("high", "/c/a.pdf", "/i", S::High, 5, "0-1 2-4");
        row("a frame template", "/c/t%d.pdf", "/i", S::Medium, 40, "");
        row("% in the destination", "/c/a.pdf", "/1%", S::Medium, 40, "");
        row("[ in the name", "/c/a[2].pdf", "/i", S::Medium, 40, "");
        row("[ in the destination", "/c/a.pdf", "/i [a]", S::Medium, 10, "0-7 8-9");
    }
    void calls()
    {
        const auto [source, destination, supersampling, pages, ranges] = testenv::fetch<Calls>();
        ConversionOptions options;
        options.supersampling = supersampling;
        const auto call = velinor::buildConversion(source, destination, options);
        QList<QStringList> expected;
        for (const QString &range : ranges.split(' ', Qt::SkipEmptyParts)) {
            QStringList arguments = call.command.arguments();
            arguments.replace(arguments.indexOf(source), source + '[' + range + ']');
            arguments.insert(arguments.size() - 1, "-scene");
            arguments.insert(arguments.size() - 1, range.section('-', 0, 0));
            expected << arguments;
        }
        const velinor::ConverterCalls calls = velinor::converterCalls(call, options, pages);
        QList<QStringList> made;
        for (int i = 0; i < calls.size(); ++i)
            made << calls.at(i).arguments();
        QCOMPARE(made,
                 expected.isEmpty() ? QList<QStringList>{call.command.arguments()} : expected);
    }

    // What the file holds ("<pipe>", "<folder>" and "<none>" are not regular files) and the kind
    // it is taken for. A pipe with no writer must not hold the reader up, and no file stays open:
    // a run reads every file it is given.
    void kind_data()
    {
        using K = velinor::DocumentKind;
        const auto row = testenv::rows<Kind>();
        row("a PDF", "%PDF-1.4\n%\xe2\xe3\n", K::Pdf);
        row("a PDF after some junk", QByteArray(1000, 'x') + "%PDF-1.7", K::Pdf);
        row("too far in", QByteArray(1020, 'x') + "%PDF-1.7", K::Other);
        row("PostScript", "%!PS-Adobe-3.0\n", K::PostScript);
        row("PostScript begins", " %!PS", K::Other);
        row("an image", "\x89PNG\r\n\x1a\n", K::Other);
        row("empty", "", K::Other);
        row("a pipe", "<pipe>", K::Other);
        row("a folder", "<folder>", K::Other);
        row("missing", "<none>", K::Other);
    }
    void kind()
    {
        const auto [content, expected] = testenv::fetch<Kind>();
        QTemporaryDir dir;
        const QString path = dir.filePath("d.pdf");
        if (content == "<pipe>")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (content == "<folder>")
            QVERIFY(QDir().mkpath(path));
        else if (content != "<none>")
            testenv::writeFile(path, content);
        const auto openFiles = [] { return QDir("/proc/self/fd").count(); };
        const uint before = openFiles();
        QCOMPARE(velinor::documentKind(path), expected);
        QCOMPARE(openFiles(), before);
    }

    // converter, made beside it, identify's command, "@" the folder
    void identify_data()
    {
        const auto row = testenv::rows<Identify>();
        row("Debian", "convert-im6.q16", "identify-im6.q16", "@/identify-im6.q16");
        row("ImageMagick 7", "magick", "", "@/magick identify");
        row("ImageMagick 7 on Windows", "MAGICK.EXE", "", "@/MAGICK.EXE identify");
        row("a wrapper: the one on PATH", "im-convert", "", "@/path/identify");
    }
    void identify()
    {
        auto [converter, beside, command] = testenv::fetch<Identify>();
        QTemporaryDir dir;
        for (const QString &name : QStringList{converter, beside, "path/identify"}) {
            if (!name.isEmpty())
                QFile(testenv::writeFile(dir.filePath(name))).setPermissions(QFile::ExeOwner);
        }
        ScopedEnv path("PATH", dir.filePath("path").toUtf8());
        QCOMPARE(velinor::identifyCommand(dir.filePath(converter)).join(' '),
                 command.replace("@", dir.path()));
    }

    // Windows' program folders, "x86" before "pf": what is there, the converter found, else the
    // folder the user is asked from.
    void search_data()
    {
        const auto row = testenv::rows<Search>();
        row("the highest of the first folder",
            "x86/ImageMagick-6.8.9/convert.exe x86/ImageMagick-6.10.0/convert.exe "
            "pf/ImageMagick-7/convert.exe",
            "x86/ImageMagick-6.8.9/convert.exe", "");
        row("the last folder", "pf/ImageMagick-6/convert.exe", "pf/ImageMagick-6/convert.exe", "");
        row("none in the highest", "pf/ImageMagick-6/convert.exe pf/ImageMagick-7/", "",
            "pf/ImageMagick-7");
        row("a folder of the program's name", "pf/ImageMagick-7/convert.exe/", "",
            "pf/ImageMagick-7");
        row("no installation", "pf/GIMP/convert.exe", "", "pf");
    }
    void search()
    {
        const auto [made, found, folder] = testenv::fetch<Search>();
        QTemporaryDir dir;
        testenv::populate(dir.path(), made);
        const auto at = [&](const QString &name) {
            return name.isEmpty() ? name : dir.filePath(name);
        };
        const velinor::ConverterSearch search = velinor::searchInstallFolders(
            {dir.filePath("x86"), dir.filePath("pf")}, "ImageMagick*", "convert.exe");
        QCOMPARE(search.path, at(found));
        QCOMPARE(search.startFolder, at(folder));
    }

    // The last listed file's folder, as the window fills it in, and the words that name it.
    void destination_data()
    {
        const auto row = testenv::rows<Destination>();
        row("a folder", "/cours/a%2.pdf", "/cours");
        row("the root", "/a%2.pdf", "/");
    }
    void destination()
    {
        const auto [source, folder] = testenv::fetch<Destination>();
        QCOMPARE(velinor::defaultDestination({"/x.pdf", source}), folder);
        velinor::FileResult tall;
        tall.outcome = velinor::FileResult::Outcome::TooTall;
        tall.image.pages = 7;
        const QString said = velinor::outcomeText(tall, source, [](const QString &n) { return n; });
        QVERIFY2(said.contains("\"a%2.pdf\" : ses 7 pages"), qPrintable(said));
    }

    // What the converter prints of the ink of each page, the scale from its pixels to the
    // rendered pages', and the fitted call to 320 pixels that follows, "" when nothing was read.
    void ink_data()
    {
        const auto row = testenv::rows<Ink>();
        row("the union of the pages", "50x40+10+20 298 421\n30x10+5+100 298 421\n", 1,
            "-extent 59x94+3+18");
        row("a blank page adds nothing", "0x0+298+421 298 421\n50x40+0+0 298 421\n", 1,
            "-extent 54x44-2-2");
        row("every page blank: all of them", "0x0+298+421 298 421\n0x0+200+100 200 100\n", 1,
            "-extent 310x433-6-6");
        row("from 36 to 150 dpi", "36x72+36+72 298 421\n", 150 / 36.0, "-extent 156x306+147+297");
        row("nothing read", "convert: no images defined\n", 1, "");
    }
    void ink()
    {
        const auto [listing, scale, extent] = testenv::fetch<Ink>();
        const QRect measured = velinor::parseInkBoxes(listing);
        velinor::ConverterCall call{0, "IN", {}, {}, {"OPTIONS"}, "OUT"};
        call.fit = {velinor::renderedBox(measured, scale), 320};
        QCOMPARE(measured.isValid() ? call.arguments().join(' ') : QString(),
                 extent.isEmpty()
                     ? ""
                     : "IN -background white " + extent + " +repage -resize 320x OPTIONS OUT");
    }

    // A page's width, height and rows of ink ("x": its last row missing from the listing), and
    // its pieces, top+height, "" when the listing is not the page's; the margin is 10 rows.
    void screens_data()
    {
        const auto row = testenv::rows<Screens>();
        row("shorter than a screen", "620 200 50-60 100-120", "40+91");
        row("cut between lines", "620 600 10-109 130-229 250-349 370-469", "0+240 240+240");
        row("a single blank row, shared", "620 301 0-119 121-300", "0+121 120+181");
        row("a blank band dropped", "620 1000 10-100 700-750", "0+111 690+71");
        row("a figure taller than a screen", "620 800 100-599", "90+240 330+240 570+40");
        row("no blank row", "620 500 0-499", "0+240 240+240 480+20");
        row("blank", "620 300", "0+240");
        row("a row missing", "620 300 5-9 x", "");
    }
    void screens()
    {
        const auto [page, pieces] = testenv::fetch<Screens>();
        const QStringList words = page.split(' ');
        std::vector<bool> ink(size_t(words[1].toInt()));
        for (const QString &range : words.mid(2))
            for (int r = range.section('-', 0, 0).toInt(); r <= range.section('-', 1).toInt(); ++r)
                ink[size_t(r)] = true;
        QByteArray listing = (words[0] + ' ' + words[1] + "\n# ImageMagick pixel\n").toUtf8();
        for (size_t r = 0; r + words.endsWith("x") < ink.size(); ++r)
            listing +=
                QString("0,%1: (%2,%2,%2)  #0000  gray(0)\n").arg(r).arg(ink[r] * 33).toUtf8();
        const velinor::RowProfile profile = velinor::parseRowProfile(listing);
        QStringList made;
        for (const velinor::Piece &piece : velinor::screenPieces(profile))
            made << QString("%1+%2").arg(piece.top).arg(piece.height);
        QCOMPARE(profile.ink.empty() ? "" : made.join(' '), pieces);
        const auto call = velinor::buildConversion("/c/cours.pdf", "/i", ConversionOptions());
        QCOMPARE(velinor::pieceName(call, 2, 1000, 0, 5), "cours-p0003-01.png");
        QVERIFY(velinor::isOwnPiece("cours-p3-100.png", "cours", ".png", Qt::CaseSensitive));
        QVERIFY(!velinor::isOwnPiece("cours-p3.png", "cours", ".png", Qt::CaseSensitive));
    }

    // supersampling, resize, fitting width and box, height of a single image of two A4 pages
    // and a landscape one
    void height_data()
    {
        const auto row = testenv::rows<Height>();
        row("low", S::Low, true, 0, QRect(), 2279);
        row("medium", S::Medium, false, 0, QRect(), 4748);
        row("high resized", S::High, true, 0, QRect(), 2533);
        row("fitted: the box's shape", S::High, true, 320, QRect(9, 9, 640, 480), 720);
        row("fitted unmeasured: whole pages", S::Low, false, 320, QRect(), 1132);
    }
    void height()
    {
        const auto [supersampling, resize, width, box, height] = testenv::fetch<Height>();
        ConversionOptions options;
        options.supersampling = supersampling;
        options.resize = resize;
        options.fitWidth = width;
        QCOMPARE(
            velinor::stackedHeight({{595, 842}, {595, 842}, {842, 595}}, options, {box, width}),
            height);
    }
};

QTEST_GUILESS_MAIN(TestCalls)
#include "tst_calls.moc"

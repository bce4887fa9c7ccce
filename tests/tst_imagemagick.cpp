// The real ImageMagick and Ghostscript through velinor-cli, on PDFs made here: the pixels of each
// colour mode, names ImageMagick could misread, long documents converted a few pages at a time.
#include "imagemagick.h"
#include "testenv.h"

#include <QTemporaryDir>

// Files that a misread name could reach, beside the source and its images; they must stay.
static const QStringList decoys{"cours 1.pdf", "cours 1-0.png", "axby.pdf", "axby-0.png",
                                "p0-0.png",    "p1-1.png",      "x.pdf",    "x-0.png"};

class TestImageMagick : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { REQUIRE_IMAGEMAGICK(); }

    // Each image must show its own page by the bar along its bottom edge, be opaque and white
    // in its top left corner, and have the colours of the row: "fewest most", and whether the
    // red square stays red. MAGICK_HEIGHT_LIMIT is 1000 pixels, three pages make 1251.
    void convert_data()
    {
        for (const char *column : {"name", "options", "colours", "said"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<int>("pages");
        const char *grey = "12 16 0";
        cli::row("black and white", "doc.pdf", "--mode bw", "2 2 0", "0\n", 1);
        cli::row("grey 8 bpp", "doc.pdf", "--mode gray8", "100 256 0", "0\n", 1);
        cli::row("colour palette", "doc.pdf", "--mode color4", "100 256 1", "0\n", 1);
        cli::row("colour 8 bpp", "doc.pdf", "--mode color8", "257 16777216 1", "0\n", 1);
        cli::row("grey jpeg", "doc.pdf", "--mode gray8 --format jpeg", "100 256 0", "0\n", 1);
        cli::row("grey 4 bpp, ten pages in two calls", "doc.pdf", "", grey, "0\n", 10);
        cli::row("brackets", "cours [1].pdf", "", grey, "0\n", 2);
        cli::row("wildcards", "a*b?.pdf", "", grey, "0\n", 2);
        cli::row("frame number", "p%d.pdf", "", grey, "0\n", 2);
        cli::row("format prefix", "png:x.pdf", "", grey, "0\n", 2);
        cli::row("leading dash", "-r.pdf", "", grey, "0\n", 1);
        cli::row("single image too tall", "t.pdf", "--single-image", "",
                 "[1/1] t.pdf\nImpossible de créer une seule image de \"t.pdf\" : ses 3 pages "
                 "empilées feraient 1251 pixels de haut, plus que les 1000 pixels qu'accepte "
                 "ImageMagick. Choisissez un --supersampling plus bas, ou retirez --single-image "
                 "pour obtenir une image par page.\n1\n",
                 3);
    }
    void convert()
    {
        QFETCH(QString, name);
        QFETCH(QString, options);
        QFETCH(QString, colours);
        QFETCH(QString, said);
        QFETCH(int, pages);
        QTemporaryDir root;
        for (const QString &decoy : decoys)
            testenv::writeFile(root.filePath("in/" + decoy)),
                testenv::writeFile(root.filePath("out/" + decoy));
        // Ghostscript would read "%d" in the name of what it writes.
        QVERIFY(imagemagick::makePdf(root.filePath("in/doc"), pages));
        QVERIFY(QFile::rename(root.filePath("in/doc"), root.filePath("in/" + name)));
        QProcessEnvironment env = imagemagick::environment();
        env.insert("MAGICK_HEIGHT_LIMIT", "1000");
        env.insert("NAME", name);
        QCOMPARE(cli::sh(QString("before=$(%1); velinor-cli -q -d ../out %2 -- \"$NAME\"; echo $?; "
                                 "[ \"$(%1)\" = \"$before\" ] || echo changed")
                             .arg(imagemagick::snapshot, options),
                         root.filePath("in"), env),
                 said);
        QStringList images = decoys;
        const QString stem = name.chopped(4), type = options.contains("jpeg") ? ".jpg" : ".png";
        for (int i = 0; said == "0\n" && i < pages; ++i)
            images << (pages == 1 ? stem + type : QString("%1-%2%3").arg(stem).arg(i).arg(type));
        images.sort();
        QCOMPARE(testenv::fileNames(root.filePath("out")), images);
        const QStringList want = colours.split(' ');
        for (const QString &image : images) {
            if (decoys.contains(image))
                continue;
            const double page = image.section('-', -1).section('.', 0, 0).toInt() + 1;
            const QString bar = " %[fx:p{%1*w/16,h-4}.intensity<0.5]";
            const QStringList seen =
                imagemagick::identify(root.filePath("out/" + image),
                                      "%k %[opaque] %[fx:p{0,0}.intensity>0.98] "
                                      "%[fx:p{0.775*w,0.225*h}.r-p{0.775*w,0.225*h}.g>0.8]" +
                                          bar.arg(page - 0.5) +
                                          bar.arg(page + 0.5).replace('<', '>'))
                    .split(' ');
            QVERIFY2(seen[0].toInt() >= want[0].toInt() && seen[0].toInt() <= want[1].toInt(),
                     qPrintable(seen[0]));
            QCOMPARE(seen.mid(1), (QStringList{"true", "1", want[2], "1", "1"}));
        }
    }
};

QTEST_MAIN(TestImageMagick)
#include "tst_imagemagick.moc"

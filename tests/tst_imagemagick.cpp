// The real ImageMagick and Ghostscript through velinor-cli, on PDFs made here: the pixels of each
// colour mode, names ImageMagick could misread, long documents converted a few pages at a time.
#include "imagemagick.h"

class TestImageMagick : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { REQUIRE_IMAGEMAGICK(); }

    // The images expected, and what identify says of each: its colours as 3 (two), 2 (up to 16),
    // 1 (up to 256) or 0 (more), whether it is opaque, white in its top left corner, red where
    // the page is, and, in sixteenths of its width, where the bar along its bottom edge ends.
    void convert_data()
    {
        for (const char *column : {"name", "options", "images", "look"})
            QTest::addColumn<QString>(column);
        const char *grey = "2 true 1 0 ";
        cli::row("black and white", "doc.pdf", "--mode bw", "doc.png", "3 true 1 0 ");
        cli::row("grey 8 bpp", "doc.pdf", "--mode gray8", "doc.png", "1 true 1 0 ");
        cli::row("colour palette", "doc.pdf", "--mode color4", "doc.png", "1 true 1 1 ");
        cli::row("colour 8 bpp", "doc.pdf", "--mode color8", "doc.png", "0 true 1 1 ");
        cli::row("grey jpeg", "doc.pdf", "--mode gray8 --format jpeg", "doc.jpg", "1 true 1 0 ");
        cli::row("grey 4 bpp, in two calls", "doc.pdf", "--supersampling high",
                 "doc-0.png|doc-1.png|doc-2.png|doc-3.png", grey);
        cli::row("brackets", "cours[1].pdf", "", "cours[1]-0.png|cours[1]-1.png", grey);
        cli::row("wildcards", "a*b?.pdf", "", "a*b?-0.png|a*b?-1.png", grey);
        cli::row("frame number", "p%d.pdf", "", "p%d-0.png|p%d-1.png", grey);
        cli::row("format prefix", "png:x.pdf", "", "png:x-0.png|png:x-1.png", grey);
        cli::row("leading dash, blank", "-r s.pdf", "", "-r s.png", grey);
    }
    void convert()
    {
        QFETCH(QString, name);
        QFETCH(QString, options);
        QFETCH(QString, images);
        QFETCH(QString, look);
        const QStringList made = images.split('|');
        QString said = "0\n";
        for (int i = 0; i < made.size(); ++i)
            said += made[i] + '\n' + look + QString(i + 1, '1').leftJustified(16, '0') + '\n';
        // Beside the source and its images lie files that a misread name could reach; they must
        // stay as they are. identify reads each image from its standard input, as it could
        // misread its name too.
        const QString script = R"sh(mkdir in out; d='cours1.pdf cours1-0.png axby.pdf axby-0.png'
        cd out; touch $d p0-0.png p1-1.png x-0.png; cd ../in; touch $d x.pdf; cd ..
        pdf 'in/%1' %2; before=$(list); velinor-cli -q -d out %3 'in/%1'; echo $?
        [ "$(list)" = "$before" ] || echo changed; cd out
        f='%k %[opaque] %[fx:p{0,0}.intensity>.98] %[fx:p{.775*w,.225*h}.r-p{.775*w,.225*h}.g>.8] '
        for i in $(seq 0 15); do f="$f%[fx:p{$i.5*w/16,h-4}.intensity<0.5]"; done
        for i in *; do
            [ -s "$i" ] && echo "$i" && identify -format "$f\n" - <"$i" |
                awk '{ $1 = ($1 <= 2) + ($1 <= 16) + ($1 <= 256) } 1'
        done)sh";
        QCOMPARE(imagemagick::sh(script.arg(name, QString::number(made.size()), options)), said);
    }

    // A course fitted: the images, in name order, each as wide as asked, none with ink on its outer
    // rows and columns; then whether, over all pages, the closest ink lies within 3 % of the width
    // from the left, top, right and bottom sides, and whether every image has one size.
    void fit_data()
    {
        for (const char *column : {"source", "pages", "options", "said"})
            QTest::addColumn<QString>(column);
        const QString three = "c-0.png %1 uncut\nc-1.png %1 uncut\nc-2.png %1 uncut\n";
        const QString sides = "sides 1111 one size\n";
        QTest::newRow("one screen") << "c.pdf"
                                    << "3"
                                    << "--fit 320" << three.arg(320) + sides;
        QTest::newRow("two, at high, resize ignored")
            << "c.pdf"
            << "3"
            << "--fit 640 --supersampling high --resize" << three.arg(640) + sides;
        QTest::newRow("three, at 72 dpi")
            << "c.pdf"
            << "3"
            << "--fit 960 --supersampling low" << three.arg(960) + sides;
        QTest::newRow("one box for two calls")
            << "c.pdf"
            << "5"
            << "--fit 640 --supersampling high"
            << three.arg(640) + "c-3.png 640 uncut\nc-4.png 640 uncut\n" + sides;
        // The stack's top is the first page's, its bottom the last's, which hold no mark there.
        QTest::newRow("single image") << "c.pdf"
                                      << "3"
                                      << "--fit 320 --single-image"
                                      << "c.png 320 uncut\nsides 1010 one size\n";
        QTest::newRow("an image") << "c.png"
                                  << "1"
                                  << "--fit 320"
                                  << "c.png 320 uncut\n" + sides;
    }
    void fit()
    {
        QFETCH(QString, source);
        QFETCH(QString, pages);
        QFETCH(QString, options);
        QFETCH(QString, said);
        const QString script = R"sh(course c.pdf %2
        [ %1 = c.png ] && convert -density 100 c.pdf -background white -alpha remove c.png
        velinor-cli -q -d out %3 %1; echo $?; cd out
        for i in *; do identify -format '%f %w %h %@\n' "$i"; done | awk '
            { split($4, g, /[x+]/); w = $2; l = g[3]; t = g[4]; r = w - l - g[1]; b = $3 - t - g[2]
              print $1, w, (l > 0 && t > 0 && r > 0 && b > 0 ? "uncut" : "cut"); size[w "x" $3]
              if (NR == 1 || l < L) L = l; if (NR == 1 || t < T) T = t
              if (NR == 1 || r < R) R = r; if (NR == 1 || b < B) B = b }
            END { n = 0; for (s in size) n++; m = .03 * w
                  print "sides", (L <= m) (T <= m) (R <= m) (B <= m), n == 1 ? "one size" : n }')sh";
        QCOMPARE(imagemagick::sh(script.arg(source, pages, options)), "0\n" + said);
    }

    // A course cut into screens: no piece taller than a screen or with ink on its first or last
    // row, and the pieces (unpacked from the archive, if any), in name order, hold the ink rows
    // of the pages converted whole, in order.
    void screens_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("said");
        QTest::newRow("whole pages") << ""
                                     << "";
        QTest::newRow("fitted") << "--fit 640"
                                << "";
        QTest::newRow("packed") << "--fit 640 --cbz"
                                << "c.cbz.tns\n";
        QTest::newRow("one image") << "--fit 320 --single-image"
                                   << "";
    }
    void screens()
    {
        QFETCH(QString, options);
        QFETCH(QString, said);
        const QString script = R"sh(course c.pdf 3; o='%1'; velinor-cli -q -d ref ${o%--cbz} c.pdf
        velinor-cli -q -d out --screens %1 c.pdf; echo $?; mkdir p; cd p
        if [ -f ../out/c.cbz.tns ]; then ls ../out; unzip -q ../out/c.cbz.tns; else cp ../out/* .; fi
        rows() { convert "$@" -colorspace gray -threshold 95% -negate -scale '1x!' -depth 16 txt:- |
            awk -F'[(,]' 'NR > 1 { print $3 }'; }
        for i in *; do rows "$i" | awk -v i="$i" 'NR == 1 { f = $1 } { l = $1 }
            END { if (NR > 240 || f || l) print "bad", i, NR, f, l }'; done
        a=$(rows * -append | grep -v '^0$'); b=$(rows ../ref/* -append | grep -v '^0$')
        [ "$a" = "$b" ] && [ $(ls | wc -l) -gt $(ls ../ref | wc -l) ] && echo same)sh";
        QCOMPARE(imagemagick::sh(script.arg(options)), "0\n" + said + "same\n");
    }

    // A course of 12 pages, converted in two calls, becomes one archive of its pages stored as
    // they are, in page order: each entry, in the archive's order, shows the bar of its page.
    void cbz()
    {
        QString said = "0\ncours.cbz.tns\n";
        for (int page = 1; page <= 12; ++page)
            said += QString::asprintf("stor cours-p%04d.png ", page) +
                    QString(page, '1').leftJustified(16, '0') + '\n';
        QCOMPARE(imagemagick::sh(R"sh(pdf cours.pdf 12; velinor-cli -q --cbz -d out cours.pdf
            echo $?; ls out
            f=; for i in $(seq 0 15); do f="$f%[fx:p{$i.5*w/16,h-4}.intensity<0.5]"; done
            unzip -Z out/cours.cbz.tns | awk '/^-/ { print $6, $9 }' | while read -r how name; do
                echo "$how $name $(unzip -p out/cours.cbz.tns "$name" | identify -format "$f" -)"
            done)sh"),
                 said);
    }
};

QTEST_MAIN(TestImageMagick)
#include "tst_imagemagick.moc"

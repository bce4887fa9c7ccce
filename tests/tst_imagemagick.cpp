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

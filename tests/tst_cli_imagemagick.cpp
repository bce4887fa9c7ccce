// velinor-cli with the real ImageMagick and Ghostscript: running files at once changes neither
// the names nor the pixels of the images, two files with one base name included.
#include "clidriver.h"
#include "imagemagick.h"
#include "testenv.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestCliImageMagick : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    std::unique_ptr<imagemagick::PdfPolicy> policy;
    QStringList sources;

private slots:
    void initTestCase()
    {
        REQUIRE_IMAGEMAGICK();
        policy = std::make_unique<imagemagick::PdfPolicy>();
        // Small pages keep the suite quick: 2 by 3 inches, 3 by 2 for the second "chap".
        struct Pdf
        {
            const char *name;
            int pages, width, height;
        };
        for (const Pdf &pdf : {Pdf{"x/chap.pdf", 3, 144, 216}, Pdf{"x/chapitre.pdf", 2, 144, 216},
                               Pdf{"x/notes.pdf", 2, 144, 216}, Pdf{"y/chap.pdf", 1, 216, 144}}) {
            const QString path = tmp.filePath(QString::fromLatin1(pdf.name));
            QDir().mkpath(QFileInfo(path).absolutePath());
            QVERIFY(imagemagick::makePdf(path, pdf.pages, pdf.width, pdf.height));
            sources << path;
        }
    }

    void jobsChangeNothing_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QString>("lastChap"); // the image that y/chap.pdf, listed last, wrote
        QTest::addColumn<QString>("size");

        QTest::newRow("defaults") << QStringList{}
                                  << QStringList{"chap-0.png",  "chap-1.png",     "chap-2.png",
                                                 "chap.png",    "chapitre-0.png", "chapitre-1.png",
                                                 "notes-0.png", "notes-1.png"}
                                  << "chap.png"
                                  << "450x300";
        QTest::newRow("jpeg colour, one image a document")
            << QStringList{"--format", "jpeg", "--mode", "color8", "--single-image"}
            << QStringList{"chap.jpg", "chapitre.jpg", "notes.jpg"} << "chap.jpg"
            << "450x300";
        QTest::newRow("black and white, high and resized, tns")
            << QStringList{"--mode", "bw", "--supersampling", "high", "--resize", "--tns"}
            << QStringList{"chap-0.png.tns",  "chap-1.png.tns",     "chap-2.png.tns",
                           "chap.png.tns",    "chapitre-0.png.tns", "chapitre-1.png.tns",
                           "notes-0.png.tns", "notes-1.png.tns"}
            << "chap.png.tns"
            << "240x160";
    }
    void jobsChangeNothing()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, images);
        QFETCH(QString, lastChap);
        QFETCH(QString, size);

        QProcessEnvironment env = cli::environment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), policy->path());
        env.insert(QStringLiteral("PATH"), QString::fromLocal8Bit(imagemagick::pathWithoutFakes()));
        QTemporaryDir out;
        QHash<QString, QString> signatures; // image name -> pixel signature with -j1
        for (const char *jobs : {"-j1", "-j2"}) {
            const QString folder = out.filePath(QString::fromLatin1(jobs));
            const cli::Result r =
                cli::run(options +
                             QStringList{QString::fromLatin1(jobs), QStringLiteral("-q"),
                                         QStringLiteral("--converter"), imagemagick::converter(),
                                         QStringLiteral("-d"), folder} +
                             sources,
                         out.path(), env);
            QVERIFY2(r.exitCode == 0, qPrintable(r.err));
            QCOMPARE(testenv::fileNames(folder), images);
            QCOMPARE(imagemagick::identifyFormat(folder + QLatin1Char('/') + lastChap,
                                                 QStringLiteral("%wx%h")),
                     size);
            for (const QString &image : images) {
                // PNG stores its creation time, so the files differ; the pixels must not.
                const QString signature = imagemagick::identifyFormat(
                    folder + QLatin1Char('/') + image, QStringLiteral("%#"));
                QVERIFY2(!signature.isEmpty(), qPrintable(image));
                if (signatures.contains(image))
                    QCOMPARE(signature, signatures.value(image));
                else
                    signatures.insert(image, signature);
            }
        }
    }

    // A single image taller than the converter allows: said and refused, the other files go on.
    void singleImageTooTall()
    {
        QProcessEnvironment env = cli::environment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), policy->path());
        env.insert(QStringLiteral("PATH"), QString::fromLocal8Bit(imagemagick::pathWithoutFakes()));
        env.insert(QStringLiteral("MAGICK_HEIGHT_LIMIT"), QStringLiteral("1000"));
        QTemporaryDir out;
        // x/chap.pdf: 3 pages of 450 pixels at 150 dots per inch; y/chap.pdf: one page.
        const cli::Result r =
            cli::run({QStringLiteral("--single-image"), QStringLiteral("-q"),
                      QStringLiteral("--converter"), imagemagick::converter(), QStringLiteral("-d"),
                      out.path(), sources.at(0), sources.at(3)},
                     out.path(), env);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QStringLiteral("ses 3 pages empilées feraient 1350 pixels de haut, "
                                               "plus que les 1000 pixels")),
                 qPrintable(r.err));
        QVERIFY2(r.err.contains(QStringLiteral("--supersampling")), qPrintable(r.err));
        QCOMPARE(testenv::fileNames(out.path()), QStringList{QStringLiteral("chap.png")});
        QCOMPARE(imagemagick::identifyFormat(out.filePath(QStringLiteral("chap.png")),
                                             QStringLiteral("%wx%h")),
                 QStringLiteral("450x300"));
    }
};

QTEST_MAIN(TestCliImageMagick)
#include "tst_cli_imagemagick.moc"

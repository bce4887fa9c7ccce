// The height of one image made of a whole document, and the converter's limits it is held to.
#include "singleimage.h"

#include <QTest>

using velinor::ConversionOptions;
using Supersampling = ConversionOptions::Supersampling;

class TestSingleImage : public QObject
{
    Q_OBJECT

private slots:
    void limits_data()
    {
        QTest::addColumn<QByteArray>("listing");
        QTest::addColumn<qint64>("width");
        QTest::addColumn<qint64>("height");
        QTest::newRow("Debian's policy")
            << QByteArray("Resource limits:\n  Width: 16KP\n  Height: 16KP\n  Area: 128MP\n"
                          "  Memory: 256MiB\n")
            << qint64(16000) << qint64(16000);
        QTest::newRow("rounded, and one axis only")
            << QByteArray("  Height: 3.46KP\n  List length: 18.45EP\n") << qint64(0)
            << qint64(3460);
        QTest::newRow("plain pixels")
            << QByteArray("  Width: 500P\n  Height: 2MP\n") << qint64(500) << qint64(2000000);
        QTest::newRow("no limit said")
            << QByteArray("  Width: unlimited\n  Height: 18.45EP\n") << qint64(0) << qint64(0);
    }
    void limits()
    {
        QFETCH(QByteArray, listing);
        const velinor::PixelLimits limits = velinor::parsePixelLimits(listing);
        QTEST(limits.width, "width");
        QTEST(limits.height, "height");
    }

    void height_data()
    {
        QTest::addColumn<int>("supersampling");
        QTest::addColumn<bool>("resize");
        QTest::addColumn<qint64>("height");
        // Two A4 pages and a landscape one (595 by 842 points, then 842 by 595).
        QTest::newRow("low") << int(Supersampling::Low) << true << qint64(842 + 842 + 595);
        QTest::newRow("medium") << int(Supersampling::Medium) << false
                                << qint64(1754 + 1754 + 1240);
        QTest::newRow("medium resized")
            << int(Supersampling::Medium) << true << qint64(877 + 877 + 620);
        QTest::newRow("high resized")
            << int(Supersampling::High) << true << qint64(936 + 936 + 661);
    }
    void height()
    {
        QFETCH(int, supersampling);
        QFETCH(bool, resize);
        ConversionOptions options;
        options.supersampling = Supersampling(supersampling);
        options.resize = resize;
        QTEST(
            velinor::stackedHeight({QSizeF(595, 842), QSizeF(595, 842), QSizeF(842, 595)}, options),
            "height");
    }
};

QTEST_APPLESS_MAIN(TestSingleImage)
#include "tst_singleimage.moc"

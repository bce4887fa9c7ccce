// The core rules over many generated file names: whatever a user's files are called, splitting
// never loses a piece, the output lands in the destination (split into page ranges and
// spelled out for ImageMagick too), and a file's own images are always found by its rename
// patterns and only they are.
#include "arguments.h"
#include "chunking.h"
#include "magicknames.h"
#include "paths.h"
#include "sourceprotection.h"
#include "testenv.h"
#include "tnsrename.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Characters users put in names, hostile ones included; never "/" or NUL, which no file name
// on Linux can hold.
const QString alphabet = QStringLiteral("abcXYZ019 .-_[]*?%:#'\"`$&;!()\\{}~@+=,éèàçüöÉ日本語ñ\t");

QString randomName(QRandomGenerator &random, int maxLength)
{
    const int length = 1 + int(random.bounded(maxLength));
    QString name;
    for (int i = 0; i < length; ++i)
        name += alphabet.at(int(random.bounded(alphabet.size())));
    return name;
}

velinor::ConversionOptions randomOptions(QRandomGenerator &random)
{
    using O = velinor::ConversionOptions;
    O o;
    o.supersampling = O::Supersampling(random.bounded(3));
    o.colourMode = O::ColourMode(random.bounded(6));
    o.png = random.bounded(2) == 0;
    o.compression = int(random.bounded(10));
    o.resize = random.bounded(2) == 0;
    o.append = random.bounded(2) == 0;
    return o;
}

quint32 seed()
{
    const QByteArray given = qgetenv("VELINOR_PROPERTY_SEED");
    return given.isEmpty() ? 20261206u : given.toUInt();
}

} // namespace

class TestProperties : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qInfo("seed %u (set VELINOR_PROPERTY_SEED to replay)", seed()); }

    void splittingLosesNothing()
    {
        QRandomGenerator random(seed());
        for (int n = 0; n < 20000; ++n) {
            const QString folder = QLatin1Char('/') + randomName(random, 20);
            const QString name = randomName(random, 60);
            const QString path = folder + QLatin1Char('/') + name;
            QCOMPARE(velinor::fileName(path), name);
            QCOMPARE(velinor::folderPart(path), folder);
            QCOMPARE(velinor::folderOf(path), folder);
            const QString base = velinor::baseName(name);
            QVERIFY2(name.startsWith(base), qPrintable(name));
            if (name.contains(QLatin1Char('.'))) {
                const QString extension = name.mid(base.size());
                QVERIFY(extension.startsWith(QLatin1Char('.')));
                QVERIFY(!extension.mid(1).contains(QLatin1Char('.')));
            } else {
                QVERIFY(base.isEmpty());
            }
        }
    }

    void outputLandsInTheDestination()
    {
        QRandomGenerator random(seed() + 1);
        QTemporaryDir tmp;
        for (int n = 0; n < 20000; ++n) {
            const QString destination = tmp.path() + QLatin1Char('/') + randomName(random, 12);
            const QString source = QStringLiteral("/src/") + randomName(random, 60);
            const velinor::ConversionOptions options = randomOptions(random);
            const velinor::ConversionCall call =
                velinor::buildConversion(source, destination, options);

            QVERIFY(!call.arguments.isEmpty());
            QCOMPARE(call.arguments.last(), call.outputPath);
            QVERIFY2(call.arguments.contains(source),
                     qPrintable(source + " => " + call.arguments.join("|")));
            QCOMPARE(call.extension, QLatin1String(options.png ? ".png" : ".jpg"));
            QCOMPARE(call.outputPath,
                     QDir(destination).path() + QLatin1Char('/') + call.baseName + call.extension);
            QCOMPARE(QFileInfo(call.outputPath).absolutePath(), QDir(destination).absolutePath());
            QVERIFY(!velinor::wouldOverwriteSource(source, call.outputPath) ||
                    velinor::folderPart(source) == QDir(destination).path());
        }
    }

    // Pure matching over many names, then the same on disk for a sample.
    void ownImagesMatchTheirPattern()
    {
        QRandomGenerator random(seed() + 2);
        for (int n = 0; n < 20000; ++n) {
            const QString base = randomName(random, 40);
            const QString extension =
                random.bounded(2) ? QStringLiteral(".png") : QStringLiteral(".jpg");
            const QStringList filter{velinor::escapeNameFilter(base) + QLatin1Char('*') +
                                     extension};
            const QStringList own{base + extension, base + QStringLiteral("-0") + extension,
                                  base + QStringLiteral("-117") + extension};
            for (const QString &name : own) {
                QVERIFY2(QDir::match(filter, name), qPrintable(filter.first() + " / " + name));
                QVERIFY(velinor::isOwnImage(name, base, extension));
            }
            // A name that does not begin with the base name is never caught.
            const QString other = randomName(random, 40) + extension;
            if (!other.startsWith(base, Qt::CaseInsensitive))
                QVERIFY2(!QDir::match(filter, other), qPrintable(filter.first() + " / " + other));
            QVERIFY(!velinor::isOwnImage(base + QStringLiteral("x") + extension, base, extension));
        }
    }

    void renamesOnDisk()
    {
        QRandomGenerator random(seed() + 3);
        QTemporaryDir tmp;
        for (int n = 0; n < 300; ++n) {
            const QString dir = tmp.path() + QStringLiteral("/%1").arg(n);
            QDir().mkpath(dir);
            QString base;
            do
                base = randomName(random, 30).remove(QLatin1Char('\t'));
            while (base.startsWith(QLatin1Char('.'))); // hidden files are never listed
            const QString source = dir + QLatin1Char('/') + base + QStringLiteral(".pdf");
            const QStringList own{base + QStringLiteral(".png"), base + QStringLiteral("-0.png"),
                                  base + QStringLiteral("-1.jpg")};
            const QString decoy = QStringLiteral("zz") + base + QStringLiteral(".png");
            for (const QString &f : own + QStringList{decoy})
                testenv::writeFile(dir + QLatin1Char('/') + f);

            QCOMPARE(velinor::renameImagesOfSource(source, velinor::TnsDirection::ToTns),
                     own.size());
            QStringList expected{decoy};
            for (const QString &f : own)
                expected << f + QStringLiteral(".tns");
            expected.sort();
            QCOMPARE(testenv::fileNames(dir), expected);
            QCOMPARE(velinor::renameImagesOfSource(source, velinor::TnsDirection::FromTns),
                     own.size());
            QStringList back = own + QStringList{decoy};
            back.sort();
            QCOMPARE(testenv::fileNames(dir), back);
        }
    }

    // Every page in exactly one range, in order, numbered from its own page, and every call
    // writing into the destination under the one output name; the name as ImageMagick gets it,
    // "%" read back, still names a file of the destination.
    void splitCallsStayInTheDestination()
    {
        QRandomGenerator random(seed() + 4);
        static const QRegularExpression range(QStringLiteral("\\[(\\d+)-(\\d+)\\]$"));
        for (int n = 0; n < 5000; ++n) {
            const QString destination = QStringLiteral("/dest/") + randomName(random, 12);
            const QString source = QStringLiteral("/src/") + randomName(random, 60);
            const velinor::ConversionOptions options = randomOptions(random);
            const velinor::ConversionCall call =
                velinor::buildConversion(source, destination, options);
            const int pages = int(random.bounded(300));
            const QList<QStringList> calls = velinor::converterCalls(call, options, pages);
            QVERIFY(!calls.isEmpty());
            int nextPage = 0;
            for (const QStringList &arguments : calls) {
                QCOMPARE(arguments.last(), call.outputPath);
                QCOMPARE(QFileInfo(arguments.last()).absolutePath(),
                         QDir(destination).absolutePath());
                if (calls.size() == 1) {
                    QCOMPARE(arguments, call.arguments);
                    continue;
                }
                // Split inputs hold no "[", so the range is the only one.
                const QStringList ranged = arguments.filter(range);
                QCOMPARE(ranged.size(), 1);
                QVERIFY(ranged.first().startsWith(source));
                const QRegularExpressionMatch pagesOfCall = range.match(ranged.first());
                QCOMPARE(pagesOfCall.capturedStart(), source.size());
                QCOMPARE(pagesOfCall.captured(1).toInt(), nextPage);
                QCOMPARE(arguments.at(arguments.size() - 2), QString::number(nextPage));
                nextPage = pagesOfCall.captured(2).toInt() + 1;
            }
            if (calls.size() > 1)
                QCOMPARE(nextPage, pages);

            const QString literal = velinor::literalOutput(call.outputPath, random.bounded(2) == 0);
            const QString readBack =
                QString(literal).replace(QLatin1String("%%"), QLatin1String("%"));
            QCOMPARE(velinor::folderPart(readBack), velinor::folderPart(call.outputPath));
            QVERIFY(velinor::fileName(readBack).startsWith(call.baseName));
        }
    }

    // Whatever the input and output are called, their working folder can be made, and the empty
    // file that stands for an output with ":" goes away once the converter has not used it.
    void literalNamesForAnyName()
    {
        QRandomGenerator random(seed() + 5);
        QTemporaryDir tmp;
        for (int n = 0; n < 300; ++n) {
            const QString input = tmp.filePath(QStringLiteral("in/")) + randomName(random, 40);
            const QString output =
                tmp.filePath(QStringLiteral("out%1/").arg(n)) + randomName(random, 40) + ".png";
            QDir().mkpath(velinor::folderPart(output));
            {
                const velinor::LiteralNames names(input, output);
                QVERIFY(names.isReady());
                for (const QString &path : {input, output}) {
                    const QString name = velinor::fileName(path);
                    if (velinor::isWildcardName(name))
                        QVERIFY2(
                            QFileInfo::exists(names.workingDirectory() + QLatin1Char('/') + name),
                            qPrintable(name));
                }
                QCOMPARE(QFileInfo::exists(output), output.contains(QLatin1Char(':')));
            }
            QVERIFY2(!QFileInfo::exists(output), qPrintable(output));
        }
    }
};

QTEST_GUILESS_MAIN(TestProperties)
#include "tst_properties.moc"

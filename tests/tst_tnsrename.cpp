// The ".tns" renames on real folders: after a conversion, from the rename buttons, and by exact
// names; base names holding wildcard characters must only ever find their own images.
#include "testenv.h"
#include "tnsrename.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using velinor::TnsDirection;

Q_DECLARE_METATYPE(velinor::TnsDirection)

namespace {

// Fills a folder: a name ending in "/" is a sub-folder, any other a file holding its own name,
// so that a later snapshot tells where each file came from.
void populate(const QString &folder, const QStringList &entries)
{
    QDir().mkpath(folder);
    for (const QString &entry : entries) {
        if (entry.endsWith(QLatin1Char('/')))
            QDir(folder).mkpath(entry);
        else
            testenv::writeFile(QDir(folder).filePath(entry), entry.toUtf8());
    }
}

// The folder's entries, sorted: "name/" for a sub-folder, "name" for a file that still holds
// its own name, "name<old" for a file whose content says it was called old.
QStringList snapshot(const QString &folder)
{
    QStringList entries;
    const QFileInfoList infos = QDir(folder).entryInfoList(
        QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &info : infos) {
        if (info.isDir()) {
            entries << info.fileName() + QLatin1Char('/');
            continue;
        }
        const QString content = QString::fromUtf8(testenv::readFile(info.absoluteFilePath()));
        entries << (content == info.fileName() ? content : info.fileName() + '<' + content);
    }
    return entries;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TestTnsRename : public QObject
{
    Q_OBJECT

private slots:
    void outputsToTns_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("matched");

        QTest::newRow("one image") << QStringList{"chap.png"} << "chap"
                                   << ".png" << QStringList{"chap.png.tns<chap.png"} << true;
        QTest::newRow("several pages")
            << QStringList{"chap-0.png", "chap-1.png", "chap-2.png"} << "chap"
            << ".png"
            << QStringList{"chap-0.png.tns<chap-0.png", "chap-1.png.tns<chap-1.png",
                           "chap-2.png.tns<chap-2.png"}
            << true;
        QTest::newRow("older tns replaced")
            << QStringList{"chap.png", "chap.png.tns"} << "chap"
            << ".png" << QStringList{"chap.png.tns<chap.png"} << true;
        QTest::newRow("prefix catches a longer name")
            << QStringList{"chap.png", "chapitre.png"} << "chap"
            << ".png" << QStringList{"chap.png.tns<chap.png", "chapitre.png.tns<chapitre.png"}
            << true;
        QTest::newRow("only the output extension")
            << QStringList{"chap.png", "chap.jpg", "chap.pdf"} << "chap"
            << ".jpg" << QStringList{"chap.jpg.tns<chap.jpg", "chap.pdf", "chap.png"} << true;
        QTest::newRow("letter case ignored")
            << QStringList{"CHAP-0.PNG"} << "chap"
            << ".png" << QStringList{"CHAP-0.PNG.tns<CHAP-0.PNG"} << true;
        QTest::newRow("empty base name takes every image of the extension")
            << QStringList{"a.png", "b-1.png", "c.jpg"} << ""
            << ".png" << QStringList{"a.png.tns<a.png", "b-1.png.tns<b-1.png", "c.jpg"} << true;
        QTest::newRow("folders are not renamed") << QStringList{"chap.png/"} << "chap"
                                                 << ".png" << QStringList{"chap.png/"} << false;
        QTest::newRow("nothing matched") << QStringList{"other.png", "chap.jpg"} << "chap"
                                         << ".png" << QStringList{"chap.jpg", "other.png"} << false;
    }

    void outputsToTns()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, baseName);
        QFETCH(QString, extension);
        QFETCH(QStringList, after);
        QTemporaryDir dir;
        populate(dir.path(), before);

        QTEST(velinor::renameOutputsToTns(dir.path(), baseName, extension), "matched");
        QCOMPARE(snapshot(dir.path()), sorted(after));
    }

    void outputsToTnsMissingFolder()
    {
        QTemporaryDir dir;
        QVERIFY(!velinor::renameOutputsToTns(dir.filePath("missing"), "chap", ".png"));
        QVERIFY(!QDir(dir.filePath("missing")).exists());
    }

    void imagesOfSource_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<TnsDirection>("direction");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("renamed");

        const TnsDirection to = TnsDirection::ToTns;
        const TnsDirection back = TnsDirection::FromTns;
        QTest::newRow("pages and jpeg to tns")
            << "a.pdf" << to << QStringList{"a-0.png", "a-1.png", "a.jpg", "a.pdf", "a.gif"}
            << QStringList{"a-0.png.tns<a-0.png", "a-1.png.tns<a-1.png", "a.gif", "a.jpg.tns<a.jpg",
                           "a.pdf"}
            << 3;
        QTest::newRow("pages and jpeg back")
            << "a.pdf" << back << QStringList{"a-0.png.tns", "a-1.png.tns", "a.jpg.tns", "a.pdf"}
            << QStringList{"a-0.png<a-0.png.tns", "a-1.png<a-1.png.tns", "a.jpg<a.jpg.tns", "a.pdf"}
            << 3;
        QTest::newRow("prefix match") << "a.pdf" << to << QStringList{"ab.png", "b.png"}
                                      << QStringList{"ab.png.tns<ab.png", "b.png"} << 1;
        // Only ".png.tns" and ".jpg.tns" were images: the calculator's own documents keep ".tns".
        QTest::newRow("calculator documents keep their extension")
            << "cours.pdf" << back
            << QStringList{"cours.tns",       "cours-exercices.tns", "coursB.tns",
                           "cours-1.png.tns", "cours.Jpg.Tns",       "cours.gif.tns"}
            << QStringList{"cours-1.png<cours-1.png.tns",
                           "cours-exercices.tns",
                           "cours.Jpg<cours.Jpg.Tns",
                           "cours.gif.tns",
                           "cours.tns",
                           "coursB.tns"}
            << 2;
        QTest::newRow("no dot in the source name to tns")
            << "notes" << to << QStringList{"notes", "x.png", "y-2.jpg", "z.gif"}
            << QStringList{"notes", "x.png.tns<x.png", "y-2.jpg.tns<y-2.jpg", "z.gif"} << 2;
        QTest::newRow("no dot in the source name back")
            << "notes" << back << QStringList{"notes", "x.png.tns", "calc.tns"}
            << QStringList{"calc.tns", "notes", "x.png<x.png.tns"} << 1;
        QTest::newRow("both names exist, to tns")
            << "a.pdf" << to << QStringList{"a-0.png", "a-0.png.tns"}
            << QStringList{"a-0.png", "a-0.png.tns"} << 0;
        QTest::newRow("both names exist, back")
            << "a.pdf" << back << QStringList{"a-0.png", "a-0.png.tns"}
            << QStringList{"a-0.png", "a-0.png.tns"} << 0;
        QTest::newRow("upper case to tns")
            << "a.pdf" << to << QStringList{"A-0.PNG"} << QStringList{"A-0.PNG.tns<A-0.PNG"} << 1;
        QTest::newRow("upper case back")
            << "a.pdf" << back << QStringList{"A-0.PNG.TNS", "A.PNG.TNS", "A.TNS"}
            << QStringList{"A-0.PNG<A-0.PNG.TNS", "A.PNG<A.PNG.TNS", "A.TNS"} << 2;
        QTest::newRow("folders are not renamed")
            << "a.pdf" << to << QStringList{"a-0.png/"} << QStringList{"a-0.png/"} << 0;
    }

    // Each row runs twice: a second click in the same direction must find nothing more to do.
    void imagesOfSource()
    {
        QFETCH(QString, source);
        QFETCH(TnsDirection, direction);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QTemporaryDir dir;
        populate(dir.path(), before);
        const QString sourcePath = dir.filePath(source);

        QTEST(velinor::renameImagesOfSource(sourcePath, direction), "renamed");
        QCOMPARE(snapshot(dir.path()), sorted(after));

        QCOMPARE(velinor::renameImagesOfSource(sourcePath, direction), 0);
        QCOMPARE(snapshot(dir.path()), sorted(after));
    }

    void imagesOfSourceInDottedFolder()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("v1.2");
        populate(folder, {"a-0.png.tns", "a.jpg"});

        QCOMPARE(velinor::renameImagesOfSource(folder + "/a.pdf", TnsDirection::FromTns), 1);
        QCOMPARE(snapshot(folder), QStringList({"a-0.png<a-0.png.tns", "a.jpg"}));
    }

    void imagesOfSourceMissingFolder()
    {
        QTemporaryDir dir;
        populate(dir.path(), {"a-0.png"});

        QCOMPARE(velinor::renameImagesOfSource(dir.filePath("gone/a.pdf"), TnsDirection::ToTns), 0);
        QCOMPARE(snapshot(dir.path()), QStringList{"a-0.png"});
    }

    // Wildcard characters of a base name stand for themselves in every rule, while the "*"
    // the rules add after it still matches the page numbers.
    void literalBaseNames_data()
    {
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");

        QTest::newRow("brackets") << "cours[1]"
                                  << QStringList{"cours[1]-0.png", "cours1-0.png", "coursx.png"}
                                  << QStringList{"cours1-0.png",
                                                 "cours[1]-0.png.tns<cours[1]-0.png", "coursx.png"};
        QTest::newRow("opening bracket alone") << "a[b" << QStringList{"a[b.png", "ab.png"}
                                               << QStringList{"a[b.png.tns<a[b.png", "ab.png"};
        QTest::newRow("closing bracket alone")
            << "a]b" << QStringList{"a]b-3.png", "ab-3.png"}
            << QStringList{"a]b-3.png.tns<a]b-3.png", "ab-3.png"};
        QTest::newRow("negated class") << "[!a]" << QStringList{"[!a].png", "b.png", "!.png"}
                                       << QStringList{"!.png", "[!a].png.tns<[!a].png", "b.png"};
        QTest::newRow("empty brackets") << "x[]" << QStringList{"x[].png", "x.png"}
                                        << QStringList{"x.png", "x[].png.tns<x[].png"};
        // Windows forbids "*" and "?" in file names, so only other systems can hold these.
#ifndef Q_OS_WIN
        QTest::newRow("star") << "a*b" << QStringList{"a*b.png", "axyb.png", "ab.png"}
                              << QStringList{"a*b.png.tns<a*b.png", "ab.png", "axyb.png"};
        QTest::newRow("question mark") << "a?b" << QStringList{"a?b-0.png", "axb-0.png"}
                                       << QStringList{"a?b-0.png.tns<a?b-0.png", "axb-0.png"};
        QTest::newRow("backslash") << "a\\b" << QStringList{"a\\b.png", "ab.png"}
                                   << QStringList{"a\\b.png.tns<a\\b.png", "ab.png"};
#endif
    }

    void literalBaseNames()
    {
        QFETCH(QString, baseName);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QTemporaryDir dir;
        const QString afterConversion = dir.filePath("conversion");
        const QString buttons = dir.filePath("buttons");
        const QString exact = dir.filePath("exact");
        populate(afterConversion, before);
        populate(buttons, before);
        populate(exact, before);

        QVERIFY(velinor::renameOutputsToTns(afterConversion, baseName, ".png"));
        QCOMPARE(snapshot(afterConversion), sorted(after));
        QCOMPARE(
            velinor::renameImagesOfSource(buttons + '/' + baseName + ".pdf", TnsDirection::ToTns),
            1);
        QCOMPARE(snapshot(buttons), sorted(after));
        QVERIFY(velinor::renameOwnImagesToTns(exact, baseName, ".png"));
        QCOMPARE(snapshot(exact), sorted(after));
    }

    void isOwnImage_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("own");

        QTest::newRow("single image") << "chap.png"
                                      << "chap"
                                      << ".png" << true;
        QTest::newRow("page 0") << "chap-0.png"
                                << "chap"
                                << ".png" << true;
        QTest::newRow("page 12") << "chap-12.png"
                                 << "chap"
                                 << ".png" << true;
        QTest::newRow("longer name") << "chapitre.png"
                                     << "chap"
                                     << ".png" << false;
        QTest::newRow("hyphen without number") << "chap-.png"
                                               << "chap"
                                               << ".png" << false;
        QTest::newRow("letters after the number") << "chap-1a.png"
                                                  << "chap"
                                                  << ".png" << false;
        QTest::newRow("two hyphens") << "chap--1.png"
                                     << "chap"
                                     << ".png" << false;
        QTest::newRow("other extension") << "chap.jpg"
                                         << "chap"
                                         << ".png" << false;
        QTest::newRow("dotted base") << "chap.1.png"
                                     << "chap.1"
                                     << ".png" << true;
        QTest::newRow("base and extension overlap") << "a.png"
                                                    << "a.p"
                                                    << ".png" << false;
        QTest::newRow("empty base") << ".png"
                                    << ""
                                    << ".png" << true;
        QTest::newRow("empty base page") << "-3.png"
                                         << ""
                                         << ".png" << true;
        QTest::newRow("empty base other name") << "a.png"
                                               << ""
                                               << ".png" << false;
        QTest::newRow("brackets") << "cours[1]-0.png"
                                  << "cours[1]"
                                  << ".png" << true;
        QTest::newRow("brackets not a class") << "cours1-0.png"
                                              << "cours[1]"
                                              << ".png" << false;
        // Letter case only tells two files apart where the file system does.
#ifdef Q_OS_WIN
        const bool caseBlind = true;
#else
        const bool caseBlind = false;
#endif
        QTest::newRow("upper-case name") << "CHAP-0.PNG"
                                         << "chap"
                                         << ".png" << caseBlind;
    }

    void isOwnImage()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, baseName);
        QFETCH(QString, extension);
        QTEST(velinor::isOwnImage(fileName, baseName, extension), "own");
    }

    void ownImagesToTns_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("matched");

        QTest::newRow("chap beside chapitre")
            << QStringList{"chap.png", "chap-0.png", "chapitre.png", "chapitre-0.png"} << "chap"
            << QStringList{"chap-0.png.tns<chap-0.png", "chap.png.tns<chap.png", "chapitre-0.png",
                           "chapitre.png"}
            << true;
        QTest::newRow("older tns replaced") << QStringList{"chap.png", "chap.png.tns"} << "chap"
                                            << QStringList{"chap.png.tns<chap.png"} << true;
        QTest::newRow("empty base name")
            << QStringList{".png", "-1.png", "a.png"} << ""
            << QStringList{"-1.png.tns<-1.png", ".png.tns<.png", "a.png"} << true;
        QTest::newRow("only longer names")
            << QStringList{"chapitre.png"} << "chap" << QStringList{"chapitre.png"} << false;
    }

    void ownImagesToTns()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, baseName);
        QFETCH(QStringList, after);
        QTemporaryDir dir;
        populate(dir.path(), before);

        QTEST(velinor::renameOwnImagesToTns(dir.path(), baseName, ".png"), "matched");
        QCOMPARE(snapshot(dir.path()), sorted(after));
    }
};

QTEST_GUILESS_MAIN(TestTnsRename)
#include "tst_tnsrename.moc"

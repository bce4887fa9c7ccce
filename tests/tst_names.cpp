// File names: which images become ".tns" files and back, the sources an image must never replace,
// and Qt's own words in the user's language.
#include "arguments.h"
#include "sourceprotection.h"
#include "testenv.h"
#include "tnsrename.h"
#include "translation.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <sys/stat.h>
#include <unistd.h>

class TestNames : public QObject
{
    Q_OBJECT

private slots:
    // how: "prefix" after a conversion in the window, "own" in velinor-cli, "to" and "back" the
    // two buttons for the source "<base>.pdf", a.png being listed | base | before | after | files
    // renamed, or 1 for any | "i" where the folder ignores letter case
    void renames_data()
    {
        testenv::table({
            "prefix | prefix | ch | ch.png ch-1.png chap.png ch.jpg ch.png.tns | "
            "ch-1.png.tns ch.jpg ch.png.tns chap.png.tns | 1",
            "brackets are letters | prefix | c[1] | c[1].png c1.png | c1.png c[1].png.tns | 1",
            "own images | own | ch | ch.png ch-10.png chap.png ch-.png ch-1a.png ch--1.png CH.png "
            "| "
            "CH.png ch--1.png ch-.png ch-10.png.tns ch-1a.png ch.png.tns chap.png | 1",
            "own images in any case | own | ch | CH.png Ch-1.png ch-2.png chap.png | "
            "CH.png.tns Ch-1.png.tns ch-2.png.tns chap.png | 1 | i",
            "own images of no name | own | | .png -3.png a.png | -3.png.tns .png.tns a.png | 1",
            "to | to | a | a-0.png a.jpg a.pdf a.gif ab.png b.png | "
            "a-0.png.tns a.gif a.jpg.tns a.pdf ab.png.tns b.png | 3",
            "back: calculator documents stay | back | a | a.tns a-1.png.tns a.Jpg.Tns a.gif.tns | "
            "a-1.png a.Jpg a.gif.tns a.tns | 2",
            "both names there | to | a | a-0.png a-0.png.tns | a-0.png a-0.png.tns | 0",
        });
    }
    void renames()
    {
        QFETCH(QStringList, f);
        QTemporaryDir dir;
        testenv::populate(dir.path(), f[2]);
        const velinor::SourceGuard listed({dir.filePath("a.png")});
        const auto click = [&] {
            return velinor::renameImagesOfSource(dir.filePath(f[1] + ".pdf"),
                                                 f[0] == "to" ? velinor::TnsDirection::ToTns
                                                              : velinor::TnsDirection::FromTns,
                                                 listed);
        };
        velinor::TnsRenamer renamer(
            dir.path(),
            f[0] == "prefix" ? velinor::TnsRename::ByPrefix : velinor::TnsRename::OwnImages,
            f.value(5) == "i" ? Qt::CaseInsensitive : Qt::CaseSensitive, listed);
        const int renamed = f[0] == "prefix" || f[0] == "own"
                                ? renamer.renameAfter(velinor::buildConversion(
                                      dir.filePath(f[1] + ".pdf"), dir.path(), {}))
                                : click();
        QCOMPARE(renamed, f[4].toInt());
        QCOMPARE(testenv::fileNames(dir.path()).join(' '), f[3]);
        if (f[0] == "to" || f[0] == "back")
            QCOMPARE(click(), 0); // a second click finds nothing more to do
    }

    // source converted into out/, a.png listed too | a link to a.png in out/, "s" symbolic, "h"
    // hard | renamed to ".tns" | refusal: 0 none, 1 unreadable, 2 it would replace a.png | "i"
    // where out/ ignores letter case
    void guard_data()
    {
        testenv::table(
            {"fine | b.pdf | sd.png | 0 | 0", "missing | none.pdf | | 0 | 1",
             "a folder | dir.pdf | | 0 | 1", "a pipe | fifo.pdf | | 0 | 1",
             "symbolic page | b.pdf | sb-2.png | 0 | 2", "hard link | b.pdf | hb.png | 0 | 2",
             "its .tns name | b.pdf | sb.png.tns | 1 | 2",
             "not renamed | b.pdf | sb.png.tns | 0 | 0", "the source itself | out/c.png | | 0 | 2",
             "its image in another case, folded | out/e.PNG | | 0 | 2 | i"});
    }
    void guard()
    {
        QFETCH(QStringList, f);
        QTemporaryDir dir;
        testenv::populate(dir.path(), "a.png b.pdf dir.pdf/ out/c.png out/e.PNG");
        ::mkfifo(QFile::encodeName(dir.filePath("fifo.pdf")).constData(), 0600);
        const QByteArray a = QFile::encodeName(dir.filePath("a.png"));
        const QByteArray link = QFile::encodeName(dir.filePath("out/" + f[1].mid(1)));
        if (!f[1].isEmpty())
            QCOMPARE(f[1][0] == 's' ? ::symlink(a, link) : ::link(a, link), 0);
        if (f[1].startsWith('s'))
            QVERIFY(velinor::wouldOverwriteSource(QFile::decodeName(a), QFile::decodeName(link)));
        const QString path = dir.filePath(f[0]);
        const velinor::SourceGuard guard({dir.filePath("a.png"), path}, dir.filePath("out"),
                                         f.value(4) == "i" ? Qt::CaseInsensitive
                                                           : Qt::CaseSensitive);
        const velinor::SourceVerdict verdict =
            guard.check(path, velinor::buildConversion(path, dir.filePath("out"), {}), f[2] == "1");
        QCOMPARE(int(verdict.refusal), f[3].toInt());
        QCOMPARE(verdict.replaced, f[3] != "2" ? QString() : f[1].isEmpty() ? path : QString(a));
    }

    // Qt's own words (the file dialog's among them) in French for a French user: the suite runs
    // under LC_ALL=fr_FR.UTF-8.
    void qtInFrench()
    {
        QTranslator qt;
        velinor::installQtTranslator(*qApp, qt);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Annuler"));
    }
};

QTEST_GUILESS_MAIN(TestNames)
#include "tst_names.moc"

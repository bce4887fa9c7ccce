// File names: which images become ".tns" files and back, the sources an image must never replace,
// what ImageMagick would read into a name, and Qt's own words in the user's language.
#include "arguments.h"
#include "filenamecase.h"
#include "magicknames.h"
#include "paths.h"
#include "sourceprotection.h"
#include "testenv.h"
#include "tnsrename.h"
#include "translation.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <sys/stat.h>
#include <unistd.h>

enum class How { Prefix, Own, To, Back };
using Renames = std::tuple<How, QString, QString, QString, int, bool>;
using Guard = std::tuple<QString, QString, bool, velinor::SourceRefusal, bool>;
using Readings = std::tuple<QString, bool, bool>;
// a folder and a name, the path they make
using Joined = std::tuple<QString, QString, QString>;

class TestNames : public QObject
{
    Q_OBJECT

private slots:
    // How: by prefix after a conversion in the window, own images in velinor-cli, or either
    // button, To and Back, for the source "<base>.pdf", a.png being listed; the names before and
    // after; how many were renamed (1 for any); whether the folder ignores letter case.
    void renames_data()
    {
        const auto row = testenv::rows<Renames>();
        row("prefix", How::Prefix, "ch", "ch.png ch-1.png chap.png ch.jpg ch.png.tns",
            "ch-1.png.tns ch.jpg ch.png.tns chap.png.tns", 1, false);
        row("brackets are letters", How::Prefix, "c[1]", "c[1].png c1.png", "c1.png c[1].png.tns",
            1, false);
        row("own images", How::Own, "ch",
            "ch.png ch-10.png chap.png ch-.png ch-1a.png ch--1.png CH.png",
            "CH.png ch--1.png ch-.png ch-10.png.tns ch-1a.png ch.png.tns chap.png", 1, false);
        row("own images in any case", How::Own, "ch", "CH.png Ch-1.png ch-2.png chap.png",
            "CH.png.tns Ch-1.png.tns ch-2.png.tns chap.png", 1, true);
        row("own images of no name", How::Own, "", ".png -3.png a.png", "-3.png.tns .png.tns a.png",
            1, false);
        row("to", How::To, "a", "a-0.png a.jpg a.pdf a.gif ab.png b.png",
            "a-0.png.tns a.gif a.jpg.tns a.pdf ab.png.tns b.png", 3, false);
        row("back: calculator documents stay", How::Back, "a",
            "a.tns a-1.png.tns a.Jpg.Tns a.gif.tns", "a-1.png a.Jpg a.gif.tns a.tns", 2, false);
        row("both names there", How::To, "a", "a-0.png a-0.png.tns", "a-0.png a-0.png.tns", 0,
            false);
        row("the listed name in another case", How::To, "A", "A.png", "A.png.tns", 1, false);
    }
    void renames()
    {
        const auto [how, base, before, after, renamed, folded] = testenv::fetch<Renames>();
        QTemporaryDir dir;
        testenv::populate(dir.path(), before);
        const velinor::SourceGuard listed({dir.filePath("a.png")});
        const QString source = dir.filePath(base + ".pdf");
        const auto click = [&] {
            return velinor::renameImagesOfSource(source,
                                                 how == How::To ? velinor::TnsDirection::ToTns
                                                                : velinor::TnsDirection::FromTns,
                                                 listed);
        };
        const bool afterConversion = how == How::Prefix || how == How::Own;
        velinor::TnsRenamer renamer(dir.path(),
                                    how == How::Prefix ? velinor::TnsRename::ByPrefix
                                                       : velinor::TnsRename::OwnImages,
                                    folded ? Qt::CaseInsensitive : Qt::CaseSensitive, listed);
        QCOMPARE(afterConversion
                     ? renamer.renameAfter(velinor::buildConversion(source, dir.path(), {}))
                     : click(),
                 renamed);
        QCOMPARE(testenv::fileNames(dir.path()).join(' '), after);
        if (!afterConversion)
            QCOMPARE(click(), 0); // a second click finds nothing more to do
    }

    // The source converted into out/, a.png listed too; a link to a.png in out/, "s" symbolic,
    // "h" hard; whether renamed to ".tns"; the refusal; whether out/ ignores letter case.
    void guard_data()
    {
        using R = velinor::SourceRefusal;
        const auto row = testenv::rows<Guard>();
        row("fine", "b.pdf", "sd.png", false, R::None, false);
        row("missing", "none.pdf", "", false, R::Unreadable, false);
        row("a folder", "dir.pdf", "", false, R::Unreadable, false);
        row("a pipe", "fifo.pdf", "", false, R::Unreadable, false);
        row("symbolic page", "b.pdf", "sb-2.png", false, R::ReplacesSource, false);
        row("hard link", "b.pdf", "hb.png", false, R::ReplacesSource, false);
        row("its .tns name", "b.pdf", "sb.png.tns", true, R::ReplacesSource, false);
        row("not renamed", "b.pdf", "sb.png.tns", false, R::None, false);
        row("its piece, cut into screens", "b.pdf", "sb-p002-01.png.tns", true, R::ReplacesSource,
            false);
        row("its piece, not cut", "b.pdf", "sb-p002-01.png", false, R::None, false);
        row("the source itself", "out/c.png", "", false, R::ReplacesSource, false);
        row("its image in another case, folded", "out/e.PNG", "", false, R::ReplacesSource, true);
    }
    void guard()
    {
        const auto [source, linked, tns, refusal, folded] = testenv::fetch<Guard>();
        QTemporaryDir dir;
        testenv::populate(dir.path(), "a.png b.pdf dir.pdf/ out/c.png out/e.PNG");
        ::mkfifo(QFile::encodeName(dir.filePath("fifo.pdf")).constData(), 0600);
        const QByteArray a = QFile::encodeName(dir.filePath("a.png"));
        const QByteArray link = QFile::encodeName(dir.filePath("out/" + linked.mid(1)));
        if (!linked.isEmpty())
            QCOMPARE(linked[0] == 's' ? ::symlink(a, link) : ::link(a, link), 0);
        if (linked.startsWith('s'))
            QVERIFY(velinor::wouldOverwriteSource(QFile::decodeName(a), QFile::decodeName(link)));
        const QString path = dir.filePath(source);
        const velinor::SourceGuard guard({dir.filePath("a.png"), path}, dir.filePath("out"),
                                         folded ? Qt::CaseInsensitive : Qt::CaseSensitive);
        const velinor::SourceVerdict verdict =
            guard.check(path, velinor::buildConversion(path, dir.filePath("out"), {}), tns, false,
                        QString(QTest::currentDataTag()).contains("cut into screens"));
        QCOMPARE(verdict.refusal, refusal);
        QCOMPARE(verdict.replaced, refusal != velinor::SourceRefusal::ReplacesSource ? QString()
                                   : linked.isEmpty()                                ? path
                                                                                     : QString(a));
    }

    // A name; whether ImageMagick would take it for a pattern; whether an image written under it
    // keeps that name rather than ImageMagick's numbering of frames.
    void readings_data()
    {
        const auto row = testenv::rows<Readings>();
        row("plain", "/d/cours.png", false, true);
        row("brackets", "cours[1].png", true, true);
        row("braces, star and question mark", "a{b}*?.png", true, true);
        row("a frame number", "/d/p%d.png", false, false);
        row("padded, octal and hexadecimal", "p%03o.png", false, false);
        row("hexadecimal", "p%x.png", false, false);
        row("a percent sign written twice", "100%%.png", false, false);
        row("a percent sign and a bracket", "a%[x].png", true, false);
        row("a frame number in the folder", "/d%2d/x.png", false, false);
        row("a lone percent sign", "100%.png", false, true);
        row("at the very end", "/d/p%", false, true);
        row("digits and nothing after", "/d/p%12", false, true);
        row("a flag", "p%-d.png", false, true);
        row("a capital", "p%X.png", false, true);
        row("a digit that is not ASCII", "p%\u0663d.png", false, true);
        row("a later frame number", "a%b%5d.png", false, false);
        row("the extension alone", "/d/.png", false, false);
    }
    void readings()
    {
        const auto [name, pattern, ownName] = testenv::fetch<Readings>();
        QCOMPARE(velinor::isWildcardName(name), pattern);
        QCOMPARE(velinor::writesUnderOwnName(name), ownName);
    }

    // Every image's path is a folder and a name joined by QDir's rule, whichever way it is made.
    void joined_data()
    {
        const auto row = testenv::rows<Joined>();
        row("plain", "/d", "a.png", "/d/a.png");
        row("a trailing slash", "/d/", "a.png", "/d/a.png");
        row("two trailing slashes", "/d//", "a.png", "/d/a.png");
        row("the root", "/", "a.png", "/a.png");
        row("a name of a folder's", "/d", "x/a.png", "/d/x/a.png");
        row("an absolute name", "/d", "/a.png", "/a.png");
        row("a colon first, not a resource", "/d", ":a.png", "/d/:a.png");
        row("the extension alone", "/d", ".png", "/d/.png");
        row("a relative folder", "d/e", "a.png", "d/e/a.png");
        row("no folder", "", "a.png", "./a.png");
        row("the working folder", ".", "a.png", "./a.png");
    }
    void joined()
    {
        const auto [folder, name, path] = testenv::fetch<Joined>();
        QCOMPARE(velinor::joinPath(folder, name), path);
    }

    // A destination still to be made is probed in the folder it will be made in, and the probe
    // does not stay there: this suite's temporary folder tells letters apart.
    void destinationCase()
    {
        QTemporaryDir dir;
        QCOMPARE(velinor::folderNameCase(dir.filePath("out/new")), Qt::CaseSensitive);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
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

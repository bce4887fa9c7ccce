// velinor-cli with the real converter against hostile set-ups: the sources keep every byte,
// nothing is written outside the destination, nothing it started outlives it, and its temporary
// folder is emptied even when it is stopped.
#include "imagemagick.h"

#include <QTemporaryDir>

// Each script runs in a folder holding in/doc.pdf, in/long.pdf and out, the destination, where
// "snap" lists the files outside "out", listed again at the end, and "stop SIGNAL" signals
// velinor-cli once it runs a converter.
static const QString prelude =
    "exec 2>/dev/null; mkdir out; cp -r \"$PDFS\" in; snap() { before=$(" +
    QString(imagemagick::snapshot) +
    "); }\nstop() { until pgrep -P $! convert; do sleep 0.1; done >/dev/null; kill -$1 $!; wait "
    "$!; "
    "echo $?; }\n";

class TestReliability : public QObject
{
    Q_OBJECT

    QTemporaryDir pdfs;

private slots:
    void initTestCase()
    {
        REQUIRE_IMAGEMAGICK();
        QVERIFY(imagemagick::makePdf(pdfs.filePath("doc.pdf"), 3));
        QVERIFY(imagemagick::makePdf(pdfs.filePath("long.pdf"), 40));
    }

    void noLoss_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("said");
        const QString doc = "; snap; velinor-cli -d out in/doc.pdf; echo $?; ls out",
                      stopped = "snap; velinor-cli --supersampling high -d out in/long.pdf & stop ";
        cli::row("a page name linked to the source", "ln -s ../in/doc.pdf out/doc-1.png" + doc,
                 "1\ndoc-1.png\n");
        cli::row("a page name hard-linked to the source", "ln in/doc.pdf out/doc-1.png" + doc,
                 "1\ndoc-1.png\n");
        cli::row("the sources' folder through a link",
                 "rmdir out; ln -s in out; cp in/doc.pdf in/doc-0.png; snap; "
                 "velinor-cli -d out in/doc.pdf in/doc-0.png; echo $?",
                 "1\n");
        cli::row("a pipe and a device",
                 "mkfifo in/p.pdf; snap; velinor-cli -d out in/p.pdf /dev/zero in/doc.pdf; "
                 "echo $?; ls out",
                 "1\ndoc-0.png\ndoc-1.png\ndoc-2.png\n");
        cli::row("SIGTERM", stopped + "TERM; ls -A $TMPDIR", "130\n");
        cli::row("SIGKILL", stopped + "KILL", "137\n");
    }
    void noLoss()
    {
        QFETCH(QString, script);
        QFETCH(QString, said);
        QTemporaryDir root, tmp;
        QProcessEnvironment env = imagemagick::environment();
        env.insert("TMPDIR", tmp.path());
        env.insert("PDFS", pdfs.path());
        QCOMPARE(cli::sh(prelude + script + "\n[ \"$(" + imagemagick::snapshot +
                             ")\" = \"$before\" ] || echo changed",
                         root.path(), env),
                 said);
        QTRY_COMPARE(cli::leftBehind(root.path()), QStringList());
    }
};

QTEST_MAIN(TestReliability)
#include "tst_reliability.moc"

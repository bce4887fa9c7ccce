// velinor-cli with the real converter against hostile set-ups: the sources keep every byte,
// nothing is written outside the destination, nothing it started outlives it, and its temporary
// folder is emptied even when it is stopped.
#include "imagemagick.h"

class TestReliability : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { REQUIRE_IMAGEMAGICK(); }

    // Each script runs in a folder holding "out", the destination, and in "in" a named pipe
    // p.pdf, long.pdf (40 pages, a few seconds for each converter call), doc.pdf (3 pages) and a
    // copy of it named doc-0.png, which must not change. "stop SIGNAL" signals velinor-cli once it
    // runs a converter; "exfat FOLDER" mounts a new exFAT file system there, which ignores letter
    // case as memory cards do, until the script ends.
    void noLoss_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("said");
        const QString doc = "; velinor-cli -d out in/doc.pdf; echo $?; ls out";
        const QString stopped = "mkdir -p out/t; TMPDIR=$PWD/out/t velinor-cli --supersampling "
                                "high -d out in/long.pdf & stop ";
        cli::row("a page name linked to the source", "ln -s ../in/doc.pdf out/doc-1.png" + doc,
                 "1\ndoc-1.png\n");
        cli::row("a page name hard-linked to the source", "ln in/doc.pdf out/doc-1.png" + doc,
                 "1\ndoc-1.png\n");
        cli::row("the sources' folder through a link",
                 "rmdir out; ln -s in out; velinor-cli -d out in/doc.pdf in/doc-0.png; echo $?",
                 "1\n");
        cli::row("a pipe and a device",
                 "velinor-cli -d out in/p.pdf /dev/zero in/doc.pdf; echo $?; ls out",
                 "1\ndoc-0.png\ndoc-1.png\ndoc-2.png\n");
        cli::row("a single image too tall (3 pages of 417 pixels)",
                 "MAGICK_HEIGHT_LIMIT=1000 velinor-cli --single-image -d out in/doc.pdf; echo $?; "
                 "MAGICK_HEIGHT_LIMIT=500 velinor-cli --single-image --supersampling low -d out "
                 "in/doc.pdf 2>&1 | grep -o 'Choisissez\\|Retirez'; ls out",
                 "1\nRetirez\n");
        cli::row(
            "an image into its own folder on exFAT",
            "exfat in/stick; convert rose: in/stick/IMG.JPG; before=$(list); "
            "velinor-cli --format jpeg --mode gray8 in/stick/IMG.JPG 2>&1; echo $?",
            "[1/1] in/stick/IMG.JPG\nConversion impossible de \"IMG.JPG\" : l'image "
            "remplacerait le fichier source. Choisissez un autre dossier de destination.\n1\n");
        // The first listed takes longer, so that it would end last if both ran at once.
        cli::row(
            "Cours.pdf then cours.pdf into exFAT, -j1 and -j2",
            "exfat out; mkdir in/x in/y; pdf in/x/Cours.pdf 2 1000; pdf in/y/cours.pdf 2; "
            "before=$(list); for j in 1 2; do velinor-cli -j$j -d out in/x/Cours.pdf "
            "in/y/cours.pdf; echo $?; remount; identify -format '%f %w\n' out/*; rm out/*; done",
            QString("0\nCours-0.png 417\nCours-1.png 417\n").repeated(2));
        cli::row("SIGTERM", stopped + "TERM; ls -A out/t", "130\n");
        cli::row("SIGKILL", stopped + "KILL", "137\n");
    }
    void noLoss()
    {
        QFETCH(QString, script);
        QFETCH(QString, said);
        const QString out = imagemagick::sh(R"sh(exec 2>/dev/null; mkdir in out; mkfifo in/p.pdf
            pdf in/long.pdf 40 600; pdf in/doc.pdf 3; cp in/doc.pdf in/doc-0.png; before=$(list)
            stop() { until pgrep -P $! convert >/dev/null; do sleep 0.1; done; kill -$1 $!; wait $!
                echo $?; }
            exfat() { stick=$1 img=$(mktemp); trap "umount $1; rm $img" EXIT; mkdir -p $1
                truncate -s 16M $img && mkfs.exfat $img >/dev/null && remount || {
                    echo no exFAT; exit; }; }
            # exfat-fuse caches each spelling of a file apart: a new mount shows what is there.
            remount() { umount $stick; mount -o loop -t exfat-fuse $img $stick; }
            )sh" + script + R"sh(
            [ -z "$stick" ] || remount
            [ "$(list)" = "$before" ] || echo changed)sh");
        // Under CI a file system that cannot be mounted is a fault of the set-up.
        if (out == "no exFAT\n" && !qEnvironmentVariableIsSet("CI"))
            QSKIP("no exFAT file system can be mounted here");
        QCOMPARE(out, said);
    }
};

QTEST_MAIN(TestReliability)
#include "tst_reliability.moc"

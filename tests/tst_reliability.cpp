// velinor-cli with the real converter against hostile set-ups: the sources keep every byte,
// nothing is written outside the destination, nothing it started outlives it, and its temporary
// folders are removed however it ends.
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
        // 1.4 KB whose page tree repeats one node ten times a level: 10^8 pages. The memory bound
        // keeps a velinor-cli that would plan them all from taking the machine's memory.
        cli::row(
            "a page tree that repeats its nodes",
            R"(awk 'BEGIN { o[1] = "/Type /Catalog /Pages 2 0 R"
            for (i = 2; i < 10; i++) { k = ""; for (j = 0; j < 10; j++) k = k " " i + 1 " 0 R"
                o[i] = "/Type /Pages /Kids [" k " ] /Count " 10 ^ (10 - i) }
            o[10] = "/Type /Page /MediaBox [0 0 200 200]"; s = "%PDF-1.4\n"
            for (i = 1; i <= 10; i++) { x[i] = length(s); s = s i " 0 obj << " o[i] " >> endobj\n" }
            printf "%sxref\n0 11\n0000000000 65535 f \n", s
            for (i = 1; i <= 10; i++) printf "%010d 00000 n \n", x[i]
            printf "trailer << /Size 11 /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n", length(s)
            }' >in/b.pdf
            before=$(list); [ -n "$ASAN_OPTIONS" ] || ulimit -v 2000000 # ASan needs room to map
            /usr/bin/time -o t -f '%M %e' velinor-cli -d out in/b.pdf 2>&1; echo $?
            tail -1 t | awk '{ print $1 < 100000 && $2 < 5 ? "small, quick" : $0 }'; rm t; ls out)",
            "[1/1] in/b.pdf\nLe fichier « b.pdf » n'est pas un PDF valide : son arbre des pages "
            "annonce plus de pages qu'il n'en contient.\n1\nsmall, quick\n");
        // A name that is not UTF-8 would be written and read under the text Qt makes of it.
        const QString notUtf8 = " n'est pas en UTF-8, le codage du système : velinor ne peut pas "
                                "l'utiliser tel quel et ne lira ni n'écrira rien sous un autre "
                                "nom.\n1\n";
        cli::row("names that are not UTF-8",
                 "cp in/doc.pdf \"$(printf 'in/caf\\351.pdf')\"; before=$(list); velinor-cli -d "
                 "\"$(printf 'out/d\\351')\" in/doc.pdf 2>&1; echo $?; velinor-cli -d out "
                 "\"$(printf 'in/caf\\351.pdf')\" 2>&1; echo $?; ls out",
                 "Le nom « out/d\\xe9 »" + notUtf8 +
                     "[1/1] in/caf\\xe9.pdf\nLe nom « in/caf\\xe9.pdf »" + notUtf8);
        cli::row("SIGTERM", stopped + "TERM; ls -A out/t", "143\n");
        cli::row("SIGHUP", stopped + "HUP; ls -A out/t", "129\n");
        cli::row("SIGKILL",
                 stopped +
                     "KILL; for i in $(seq 50); do [ \"$(ls -A out/t)\" ] && sleep 0.1; done; "
                     "ls -A out/t",
                 "137\n");
        cli::row("leftovers of a velinor killed, another's that runs",
                 "sh -c : & dead=$!; wait; sleep 30 & live=$!; mkdir -p out/t/keep "
                 "out/t/velinor-magick-$dead-a out/t/velinor-magick-$live-b; touch out/t/keep/x; "
                 "ln -s keep out/t/velinor-magick-$dead-c; TMPDIR=$PWD/out/t velinor-cli -d out "
                 "in/doc.pdf; kill $live; find out/t | sed \"s/$dead/DEAD/; s/$live/LIVE/\" | sort",
                 "out/t\nout/t/keep\nout/t/keep/x\nout/t/velinor-magick-DEAD-c\n"
                 "out/t/velinor-magick-LIVE-b\n");
        // LeakSanitizer cannot work under a tracer.
        cli::row("no program forks before its exec",
                 "ASAN_OPTIONS=$ASAN_OPTIONS:detect_leaks=0 strace -f -qq -o out/trace -e "
                 "trace=execve,clone,clone3,fork,vfork velinor-cli -d out in/doc.pdf; echo $?; awk "
                 "'$2 ~ /^(clone|fork|vfork)/ && !($1 in run) { "
                 "early[$1]++ } $2 ~ /^execve/ && !($1 in run) { n += early[$1]; run[$1] } "
                 "END { print n + 0 }' out/trace",
                 "0\n0\n");
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

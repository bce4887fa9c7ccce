// velinor-cli: its parser in-process, then the program run from a shell with the fake converter
// for what only a process shows: exit statuses, what it says and prints, signals and limits.
#include "clidriver.h"
#include "commandline.h"

using M = velinor::ConversionOptions::ColourMode;
using S = velinor::ConversionOptions::Supersampling;
using Change = void (*)(CommandLine &);
using Parse = std::tuple<QString, Change>;

// What a command line asks for, one "key=value" per field.
static QString fields(const CommandLine &l)
{
    return QString::asprintf(
        "action=%d mode=%d png=%d compression=%d supersampling=%d resize=%d append=%d tns=%d "
        "quiet=%d jobs=%d d=%s converter=%s files=%s cbz=%d fit=%d screens=%d",
        int(l.action), int(l.options.colourMode), l.options.png, l.options.compression,
        int(l.options.supersampling), l.options.resize, l.options.append, l.tns, l.quiet, l.jobs,
        qPrintable(l.destination), qPrintable(l.converter), qPrintable(l.files.join(',')),
        l.options.cbz, l.options.fitWidth, l.options.screens);
}

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    // The arguments, split at blanks; a part of the usage error they make, or what they change
    // from the defaults, a.pdf given.
    void parse_data()
    {
        using A = CommandLine::Action;
        const auto row = testenv::rows<Parse>();
        const Change none = [](CommandLine &) {};
        row("--mode bw --mode gray4 --supersampling medium --format jpeg --format png a.pdf", "",
            none);
        row("-dout --mode=bw --supersampling low --resize --single-image a.pdf", "",
            [](CommandLine &l) {
                l.destination = "out", l.options = {S::Low, M::BlackWhite, true, 9, true, true};
            });
        row("-d o --mode gray8 --supersampling high --tns -q a.pdf", "", [](CommandLine &l) {
            l.destination = "o", l.options = {S::High, M::Grey8}, l.tns = l.quiet = true;
        });
        row("--destination=o=k --mode color4 --quiet --dry-run -j 3 a.pdf", "", [](CommandLine &l) {
            l.destination = "o=k", l.options.colourMode = M::Colour4, l.quiet = true;
            l.action = A::DryRun, l.jobs = 3;
        });
        row("--mode color8 --converter /x/convert --jobs=999999 --compression=0 - -- -q a.pdf", "",
            [](CommandLine &l) {
                l.options = {S::Medium, M::Colour8, true, 0}, l.converter = "/x/convert";
                l.jobs = 999999, l.files = QStringList{"-", "-q", "a.pdf"};
            });
        row("--format jpeg --mode gray8 a.pdf", "", [](CommandLine &l) {
            l.options = {S::Medium, M::Grey8, false, 5};
        });
        row("--cbz a.pdf", "", [](CommandLine &l) { l.options.cbz = true; });
        row("--fit 320 --fit=2000 --resize a.pdf", "",
            [](CommandLine &l) { l.options.fitWidth = 2000, l.options.resize = true; });
        row("--fit=160 a.pdf", "", [](CommandLine &l) { l.options.fitWidth = 160; });
        row("--screens a.pdf", "", [](CommandLine &l) { l.options.screens = true; });
        row("--screens=1 a.pdf", "l'option --screens ne prend pas de valeur", none);
        row("--compression 3 --format jpeg --mode bw a.pdf", "", [](CommandLine &l) {
            l.options = {S::Medium, M::BlackWhite, false, 3};
        });
        row("-h -V --bogus", "", [](CommandLine &l) { l.action = A::Help, l.files.clear(); });
        row("--version --help", "", [](CommandLine &l) { l.action = A::Version, l.files.clear(); });
        row("--", "aucun fichier à convertir", none);
        row("--bogus -h a.pdf", "option inconnue : --bogus", none);
        row("-qV a.pdf", "option inconnue : -qV", none);
        row("--resize=yes a.pdf", "l'option --resize ne prend pas de valeur", none);
        row("a.pdf --mode", "l'option --mode demande une valeur", none);
        row("--mode rainbow a.pdf", "valeur invalide pour --mode : « rainbow » (au choix : bw",
            none);
        row("--format gif a.pdf", "valeur invalide pour --format : « gif »", none);
        row("--compression 10 a.pdf", "la compression va de 0 à 9, pas « 10 »", none);
        row("--compression=+ a.pdf", "la compression va de 0 à 9, pas « + »", none);
        row("-j0 a.pdf", "entier positif, pas « 0 »", none);
        row("--jobs=1000000 a.pdf", "entier positif, pas « 1000000 »", none);
        row("--jobs +2 a.pdf", "entier positif, pas « +2 »", none);
        row("--fit 159 a.pdf", "de 160 à 2000 pixels (320 : un écran), pas « 159 »", none);
        row("--fit 2001 a.pdf", "pas « 2001 »", none);
        row("--fit +640 a.pdf", "pas « +640 »", none);
        row("--fit 640px a.pdf", "pas « 640px »", none);
        row("--format jpeg a.pdf", "le mode gray4 n'existe pas en JPEG", none);
        row("--mode color4 --format=jpeg a.pdf", "le mode color4 n'existe pas en JPEG", none);
        row("--destination= a.pdf", "l'option --destination demande un chemin non vide", none);
    }
    void parse()
    {
        const auto [error, change] = testenv::fetch<Parse>();
        const CommandLine line = parseCommandLine(QString(QTest::currentDataTag()).split(' '));
        CommandLine expected;
        expected.files = QStringList{"a.pdf"};
        change(expected);
        QVERIFY2(!error.isEmpty()
                     ? line.action == CommandLine::Action::UsageError && line.error.contains(error)
                     : fields(line) == fields(expected),
                 qPrintable(fields(line) + line.error));
    }

    // Each script runs from a folder holding a.pdf, b.pdf and c.pdf, with the fake converter
    // first on PATH.
    void program_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("said");
        const QString failed = "Erreur durant la conversion de \"%1\".\n",
                      tns = "L'opération de renommage en .tns a échoué.\n",
                      output = "Impossible d'écrire sur la sortie standard : ";
        // ./convert fails on a.pdf, crashes on b.pdf and hands the rest to the fake.
        cli::row(
            "every outcome of a file",
            "printf '#!/bin/sh\\ncase $* in *a.pdf*) printf \" o\\\\033[2Jops  \\\\n\" >&2; exit "
            "3;; *b.pdf*) "
            "kill -SEGV $$;; esac\\nexec convert \"$@\"' >convert; chmod +x convert; mkdir out; "
            "cp a.pdf out/d.png; velinor-cli --tns --converter ./convert -d out a.pdf b.pdf "
            "./a.pdf gone.pdf out/d.png c.pdf; echo $?; ls out",
            "[1/5] a.pdf\n" + failed.arg("a.pdf") +
                "Code de sortie du convertisseur : 3\n    o\\x1b[2Jops\n" + tns + "[2/5] b.pdf\n" +
                failed.arg("b.pdf") + "Le convertisseur s'est arrêté brutalement.\n" + tns +
                "[3/5] gone.pdf\nLe fichier spécifié n'existe pas !\n[4/5] out/d.png\n"
                "Conversion impossible de \"d.png\" : l'image remplacerait le fichier "
                "source. Choisissez un autre dossier de destination.\n[5/5] c.pdf\n1\n"
                "c.png.tns\nd.png\n");
        cli::row("quiet, a long document stops at its failing range",
                 "FAKE_CONVERT_PAGES=20 FAKE_CONVERT_FAIL='a.pdf[8-15]' velinor-cli -q -j1 -d out "
                 "a.pdf b.pdf; echo $?; ls out | cut -c1 | uniq -c",
                 "[1/2] a.pdf\n" + failed.arg("a.pdf") +
                     "Code de sortie du convertisseur : 1\n1\n      8 a\n     20 b\n");
        cli::row("PDF refused until --allow-pdf",
                 "export FAKE_CONVERT_POLICY=refuse XDG_CONFIG_HOME=$PWD/c; { velinor-cli -d out "
                 "a.pdf; echo $?; velinor-cli --allow-pdf -d out a.pdf; echo $?; velinor-cli "
                 "--allow-pdf; echo $?; ls out; } 2>&1 | sed \"s|$PWD|.|\"",
                 "[1/1] a.pdf\n" + failed.arg("a.pdf") +
                     "Code de sortie du convertisseur : 1\n    convert: attempt to perform an "
                     "operation not allowed by the security policy `PDF'.\nImageMagick refuse de "
                     "lire les PDF sur cet ordinateur (ses réglages de sécurité). Pour les "
                     "autoriser pour votre compte seulement : velinor-cli --allow-pdf\n1\n"
                     "ImageMagick peut désormais lire les PDF pour votre compte : velinor a écrit "
                     "« ./c/ImageMagick/policy.xml ».\n[1/1] a.pdf\n0\n« ./c/ImageMagick/"
                     "policy.xml » autorise déjà ImageMagick à lire les PDF pour votre compte.\n0\n"
                     "a.png\n");
        // On a terminal only; R and E stand for the carriage return and the escape.
        cli::row("a long document's pages on a terminal",
                 "FAKE_CONVERT_PAGES=24 script -qec 'velinor-cli -j1 -d out a.pdf' /dev/null | tr "
                 "'\\r\\033' RE; FAKE_CONVERT_PAGES=24 velinor-cli -j1 -d out b.pdf 2>&1 | cat",
                 "R[1/1] a.pdf (8 pages sur 24)E[KR[1/1] a.pdf (16 pages sur 24)E[KRE[K[1/1] "
                 "a.pdfR\n[1/1] b.pdf\n");
        cli::row(
            "nothing converted, or written",
            "velinor-cli --colour a.pdf; echo $?; velinor-cli --converter tools/convert a.pdf; "
            "echo $?; velinor-cli -d a.pdf/out a.pdf; echo $?; velinor-cli -V | cut -c-12; "
            "velinor-cli -V >&-; echo $?; velinor-cli --dry-run a.pdf >/dev/full; echo $?",
            "velinor-cli : option inconnue : --colour\nPour l'aide : velinor-cli --help\n2\n"
            "Le convertisseur « tools/convert » est introuvable ou ne peut pas être lancé.\n2\n"
            "Impossible de créer le dossier de destination « a.pdf/out ».\n1\nvelinor-cli \n" +
                output + "Bad file descriptor.\n1\n" + output + "No space left on device.\n1\n");
        // The commands run through sh, and the fake converter writes which input it got.
        cli::row(
            "dry run",
            R"x(mkdir out; touch "l'x\$HOME.pdf"; velinor-cli --dry-run -d out "l'x\$HOME.pdf" )x"
            R"x("$(printf 'gone\t\033\n\r\\\047\342\200\256.pdf')" >cmds; echo $?; sh cmds; )x"
            R"x(sed "s|$PWD/||" out/l*; ls out)x",
            R"x([2/2] $'gone\t\x1b\n\r\\\'\u202e.pdf')x"
            "\nLe fichier spécifié n'existe pas !\n1\nimage of l'x$HOME.pdf\nl'x$HOME.png\n");
        // The commands printed, run through sh, give the fake converter the very calls of a run.
        cli::row("a dry run's commands are the run's calls",
                 "mkdir out; export FAKE_CONVERT_PAGES=20; velinor-cli -j2 --tns --dry-run -d out "
                 "a.pdf b.pdf "
                 "gone.pdf >cmds; echo $?; ls out | wc -l; grep -c -- '-scene [0-9]* ' cmds; "
                 "FAKE_CONVERT_LOG=dry sh cmds; FAKE_CONVERT_LOG=ran velinor-cli -q -j2 -d out "
                 "a.pdf b.pdf gone.pdf; sort dry >d; sort ran >r; cmp d r && echo same",
                 "[3/3] gone.pdf\nLe fichier spécifié n'existe pas !\n1\n0\n6\n[3/3] gone.pdf\n"
                 "Le fichier spécifié n'existe pas !\nsame\n");
        // The ink measured once, then the box in each range's call.
        cli::row("a dry run fitted",
                 "FAKE_CONVERT_PAGES=20 FAKE_CONVERT_LOG=log FAKE_CONVERT_INK='36x72+36+72 298 "
                 "421\\n0x0+298+421 298 421\\n' velinor-cli --dry-run --fit 320 a.pdf | cut "
                 "-d' ' -f5-11 | uniq -c; grep -c info: log",
                 "      3 -background white -extent 156x306+147+297 +repage -resize 320x\n1\n");
        cli::row(
            "one .cbz.tns a document, or its images kept and renamed",
            "mkdir -p out/b.cbz.tns; FAKE_CONVERT_PAGES=3 velinor-cli --cbz --tns -d out a.pdf "
            "b.pdf; echo $?; ls out",
            "[1/2] a.pdf\n[2/2] b.pdf\nLes images de « b.pdf » n'ont pas pu être réunies en "
            "un fichier .cbz.tns : elles restent telles quelles.\nImpossible d'écrire "
            "« out/b.cbz.tns » : Filename refers to a directory\n1\na.cbz.tns\n"
            "b-0.png.tns\nb-1.png.tns\nb-2.png.tns\nb.cbz.tns\n");
        cli::row("jobs held under the open-file limit",
                 "for i in $(seq 10 25); do touch f$i.pdf; done; ulimit -n 64; FAKE_CONVERT_SLEEP="
                 "0.2 velinor-cli -q -j 100000 -d out f*.pdf 2>err; echo $?; "
                 "sed 's/[0-9]* conv/N conv/' err; ls out | wc -l",
                 "0\nAu plus N conversions simultanées au lieu de 100000 : le système limite "
                 "velinor-cli à 64 fichiers ouverts.\n16\n");
        // The empty file that keeps ImageMagick from reading "x:" as a format is no image.
        cli::row("a name holding a colon, nothing written",
                 "cp a.pdf x:y.pdf; FAKE_CONVERT_NOWRITE=1 velinor-cli -q --tns -d out x:y.pdf; "
                 "echo $?; ls -A out",
                 "[1/1] x:y.pdf\n" + tns + "1\n");
        cli::row("SIGTERM once two converters run",
                 "FAKE_CONVERT_SLEEP=30 FAKE_CONVERT_LOG=log velinor-cli -j2 -d out a.pdf b.pdf "
                 "c.pdf & until [ $(wc -l <log) = 2 ]; do sleep 0.1; done 2>/dev/null; kill $!; "
                 "wait $!; echo $?; ls out",
                 "Interrompu : aucune autre conversion ne commence, celles en cours sont "
                 "arrêtées.\n143\n");
    }
    void program()
    {
        QFETCH(QString, script);
        QFETCH(QString, said);
        // A chroot without /dev/pts has no terminal to lend; CI always has one.
        if (script.contains("script -qec") &&
            cli::sh("script -qec true /dev/null; echo $?") != "0\n") {
            QVERIFY2(!qEnvironmentVariableIsSet("CI"), "no pseudo-terminal");
            QSKIP("no pseudo-terminal");
        }
        QCOMPARE(cli::sh("echo %PDF-1.4 | tee a.pdf b.pdf >c.pdf\n" + script), said);
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"

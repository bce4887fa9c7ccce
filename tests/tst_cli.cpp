// velinor-cli run as a program with the fake converter: usage errors, the command lines it would
// run against the core builder's and the window's, exit statuses, ".tns" renames and name
// clashes between files converted at once, and interruption.
#include "clidriver.h"
#include "filelistdriver.h"
#include "modalanswerer.h"
#include "testenv.h"
#include "windowdriver.h"

#include "arguments.h"

#include <algorithm>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

Q_DECLARE_METATYPE(velinor::ConversionOptions)

using Options = velinor::ConversionOptions;
using testenv::fakeConverterCalls;
using testenv::fileNames;
using testenv::readFile;
using testenv::writeFile;

namespace {

const QString fake = QStringLiteral(VELINOR_FAKE_CONVERT);

QString writeScript(const QString &path, const QByteArray &body)
{
    writeFile(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    return path;
}

// Runs command lines through a POSIX shell with the fake converter logging instead of writing:
// the argument lists that the shell really passes, so that the quoting is checked as well.
QList<QStringList> throughShell(const QString &lines, const QString &log)
{
    QFile::remove(log);
    QProcess sh;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FAKE_CONVERT_LOG"), log);
    env.insert(QStringLiteral("FAKE_CONVERT_NOWRITE"), QStringLiteral("1"));
    sh.setProcessEnvironment(env);
    sh.start(QStringLiteral("/bin/sh"), {QStringLiteral("-e"), QStringLiteral("-c"), lines});
    if (!sh.waitForFinished(30000) || sh.exitCode() != 0)
        return {};
    return fakeConverterCalls(log);
}

Options options(Options::ColourMode mode, Options::Supersampling supersampling, bool png,
                int compression, bool resize, bool append)
{
    Options o;
    o.colourMode = mode;
    o.supersampling = supersampling;
    o.png = png;
    o.compression = compression;
    o.resize = resize;
    o.append = append;
    return o;
}

// How many times the fake converter started. Fakes running at once interleave the arguments they
// log, but each call ends its line with the one newline it writes.
int callCount(const QString &log)
{
    return int(readFile(log).count('\n'));
}

// Processes still alive whose command line holds the text (zombies have none).
QStringList processesMentioning(const QString &text)
{
    QStringList found;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &pid : pids) {
        bool numeric = false;
        pid.toInt(&numeric);
        if (!numeric)
            continue;
        QByteArray command = readFile(QStringLiteral("/proc/%1/cmdline").arg(pid));
        command.replace('\0', ' ');
        if (command.contains(text.toUtf8()))
            found << pid + QLatin1Char(' ') + QString::fromUtf8(command);
    }
    return found;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    QString root; // a fresh folder for each test function and row
    QString log;

    QProcessEnvironment env(const QStringList &settings = {}) const
    {
        QProcessEnvironment e = cli::environment();
        e.insert(QStringLiteral("FAKE_CONVERT_LOG"), log);
        for (const QString &s : settings)
            e.insert(s.section(QLatin1Char('='), 0, 0), s.section(QLatin1Char('='), 1));
        return e;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(cli::program()).isExecutable(), qPrintable(cli::program()));
    }
    void init()
    {
        QVERIFY(tmp.isValid());
        root = tmp.filePath(QString::fromLatin1(QTest::currentTestFunction()) + QLatin1Char('-') +
                            QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_'));
        QVERIFY(QDir().mkpath(root));
        log = root + QStringLiteral("/calls.log");
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");

        QTest::newRow("nothing at all") << QStringList{} << "aucun fichier à convertir";
        QTest::newRow("unknown long option")
            << QStringList{"--colour", "a.pdf"} << "option inconnue : --colour";
        QTest::newRow("unknown short option")
            << QStringList{"-x", "a.pdf"} << "option inconnue : -x";
        QTest::newRow("short flags are not bundled")
            << QStringList{"-qV", "a.pdf"} << "option inconnue : -qV";
        QTest::newRow("flag given a value")
            << QStringList{"--resize=yes", "a.pdf"} << "l'option --resize ne prend pas de valeur";
        QTest::newRow("value missing at the end")
            << QStringList{"a.pdf", "--mode"} << "l'option --mode demande une valeur";
        QTest::newRow("unknown mode") << QStringList{"--mode", "rainbow", "a.pdf"}
                                      << "valeur invalide pour --mode : « rainbow »";
        QTest::newRow("unknown format")
            << QStringList{"--format=gif", "a.pdf"} << "valeur invalide pour --format : « gif »";
        QTest::newRow("compression 10") << QStringList{"--compression", "10", "a.pdf"}
                                        << "la compression va de 0 à 9, pas « 10 »";
        QTest::newRow("compression -1") << QStringList{"--compression", "-1", "a.pdf"}
                                        << "la compression va de 0 à 9, pas « -1 »";
        QTest::newRow("no jobs")
            << QStringList{"-j0", "a.pdf"}
            << "le nombre de conversions simultanées doit être un entier positif, pas « 0 »";
        QTest::newRow("jpeg keeps the grey 4 bpp default")
            << QStringList{"--format", "jpeg", "a.pdf"} << "le mode gray4 n'existe pas en JPEG";
        QTest::newRow("colour 4 bpp in jpeg, either order")
            << QStringList{"--format", "jpeg", "--dry-run", "--mode", "color4", "a.pdf"}
            << "le mode color4 n'existe pas en JPEG";
        QTest::newRow("empty destination")
            << QStringList{"-d", "", "a.pdf"} << "l'option -d demande un chemin non vide";
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        writeFile(root + QStringLiteral("/a.pdf"));

        const cli::Result r = cli::run(arguments, root, env());
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.startsWith(QStringLiteral("velinor-cli : ") + error), qPrintable(r.err));
        QVERIFY(r.err.contains(QStringLiteral("velinor-cli --help")));
        QCOMPARE(r.out, QString());
        QVERIFY(fakeConverterCalls(log).isEmpty());
        QCOMPARE(fileNames(root), QStringList{"a.pdf"});
    }

    void converterRefused_data()
    {
        QTest::addColumn<QString>("converter"); // --converter, relative to the test folder
        QTest::addColumn<QString>("error");
        QTest::newRow("none on PATH") << QString() << "ImageMagick est introuvable";
        QTest::newRow("missing file") << "tools/convert"
                                      << "Le convertisseur « tools/convert » est introuvable";
        QTest::newRow("not executable") << "plain/convert"
                                        << "Le convertisseur « plain/convert » est introuvable";
        QTest::newRow("bare name not on PATH") << "magick"
                                               << "Le convertisseur « magick » est introuvable";
    }
    void converterRefused()
    {
        QFETCH(QString, converter);
        QFETCH(QString, error);
        writeFile(root + QStringLiteral("/a.pdf"));
        writeFile(root + QStringLiteral("/plain/convert"));
        QProcessEnvironment e = env();
        e.insert(QStringLiteral("PATH"), root + QStringLiteral("/tools"));
        QStringList arguments{QStringLiteral("a.pdf")};
        if (!converter.isEmpty())
            arguments << QStringLiteral("--converter") << converter;

        const cli::Result r = cli::run(arguments, root, e);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.startsWith(error), qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/a.png")));
    }

    // The command lines of --dry-run, read back through a shell, are the core builder's lists
    // and the calls that the window makes with the same option states.
    void dryRunIsTheWindowsCall_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("checks"); // the window's buttons, in this order
        QTest::addColumn<int>("spin");           // -1: the form's value after the checks
        QTest::addColumn<Options>("options");

        using M = Options::ColourMode;
        using S = Options::Supersampling;
        QTest::newRow("defaults") << QStringList{} << QStringList{} << -1
                                  << options(M::Grey4, S::Medium, true, 9, false, false);
        QTest::newRow("black and white, high, resized")
            << QStringList{"--mode", "bw", "--supersampling", "high", "--resize"}
            << QStringList{"radioNoirEtBlanc", "radioQualiteHaute", "choixRedim"} << -1
            << options(M::BlackWhite, S::High, true, 9, true, false);
        QTest::newRow("jpeg takes its own default compression")
            << QStringList{"--format", "jpeg", "--mode", "color8"}
            << QStringList{"choixJPEG", "radioCouleurs8"} << -1
            << options(M::Colour8, S::Medium, false, 5, false, false);
        QTest::newRow("jpeg, grey 8, single image, compression 3, tns")
            << QStringList{"--compression=3", "--format=jpeg", "--mode=gray8", "--single-image",
                           "--tns"}
            << QStringList{"choixJPEG", "radioGrayscale8", "choixAppend", "choixTNS"} << 3
            << options(M::Grey8, S::Medium, false, 3, false, true);
        QTest::newRow("palette png, low supersampling ignores resize")
            << QStringList{"--mode", "color4", "--supersampling", "low", "--resize"}
            << QStringList{"radioCouleurs4", "radioQualiteBasse", "choixRedim"} << -1
            << options(M::Colour4, S::Low, true, 9, true, false);
        QTest::newRow("compression 0, medium resize, jobs")
            << QStringList{"--compression", "0", "--resize", "-j", "3", "-q"}
            << QStringList{"choixRedim"} << 0 << options(M::Grey4, S::Medium, true, 0, true, false);
    }
    void dryRunIsTheWindowsCall()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, checks);
        QFETCH(int, spin);
        QFETCH(Options, options);

        // Names that a shell would mangle if the quoting were wrong.
        const QStringList names{
            "cours.pdf", "d'été $HOME (v2).pdf", "a.b.c.pdf", "sans extension", "*.pdf", "-n.pdf"};
        const QString in = root + QStringLiteral("/in");
        for (const QString &name : names)
            writeFile(in + QLatin1Char('/') + name);
        const QString out = root + QStringLiteral("/sortie \"finale\"");

        QList<QStringList> built;
        QStringList sources;
        for (const QString &name : names) {
            sources << in + QLatin1Char('/') + name;
            built << velinor::buildConversion(sources.last(), out, options).arguments;
        }

        // Relative names, which velinor-cli lists as the window does: absolute.
        QStringList relative{QStringLiteral("--")};
        for (const QString &name : names)
            relative << name;
        const cli::Result r = cli::run(
            arguments + QStringList{"--dry-run", "--converter", fake, "-d", out} + relative, in,
            env());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QString());
        QVERIFY(fakeConverterCalls(log).isEmpty()); // a dry run converts nothing
        QVERIFY(!QFileInfo::exists(out));
        QCOMPARE(r.out.count(QLatin1Char('\n')), names.size());
        QCOMPARE(throughShell(r.out, root + QStringLiteral("/shell.log")), built);

        ModalAnswerer answerer;
        MainWindow w;
        QCOMPARE(w.converterPath(), fake);
        for (const QString &c : checks)
            window::setChecked(&w, qPrintable(c));
        if (spin >= 0)
            w.findChild<QSpinBox *>(QStringLiteral("spinCompression"))->setValue(spin);
        filelist::dropFiles(&w, sources);
        window::setDestination(&w, out);
        const QString windowLog = root + QStringLiteral("/window.log");
        {
            ScopedEnv logTo("FAKE_CONVERT_LOG", windowLog.toUtf8());
            ScopedEnv noWrite("FAKE_CONVERT_NOWRITE", "1");
            answerer.clickOk(); // the ".tns" row finds nothing to rename once
            window::click(&w, "boutonConvertir");
        }
        // The window runs its files side by side: the same calls, in any order.
        QList<QStringList> windowCalls = fakeConverterCalls(windowLog);
        std::sort(windowCalls.begin(), windowCalls.end());
        std::sort(built.begin(), built.end());
        QCOMPARE(windowCalls, built);
    }

    // The list of the window: duplicates go (the first keeps its place), missing files are
    // reported and skipped, and the last file's folder is the destination unless one is given.
    void fileList_data()
    {
        QTest::addColumn<QStringList>("arguments"); // files relative to the test folder
        QTest::addColumn<QStringList>("calls");     // "input > output", relative as well
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error");

        QTest::newRow("duplicates keep their first place")
            << QStringList{"x/b.pdf", "y/a.pdf", "x/b.pdf"}
            << QStringList{"x/b.pdf > y/b.png", "y/a.pdf > y/a.png"} << 0 << QString();
        QTest::newRow("spellings of one file")
            << QStringList{"x/b.pdf", "./x/b.pdf", "y/../x/b.pdf", "x//b.pdf"}
            << QStringList{"x/b.pdf > x/b.png"} << 0 << QString();
        QTest::newRow("the last file counts even when missing")
            << QStringList{"x/b.pdf", "y/missing.pdf"} << QStringList{"x/b.pdf > y/b.png"} << 1
            << "[2/2] y/missing.pdf\nLe fichier spécifié n'existe pas !\n";
        QTest::newRow("given destination")
            << QStringList{"-d", "z/out", "y/a.pdf", "x/b.pdf"}
            << QStringList{"y/a.pdf > z/out/a.png", "x/b.pdf > z/out/b.png"} << 0 << QString();
        // A name cannot fake a line of its own, or anything else a terminal would act on.
        QTest::newRow("control characters in a name")
            << QStringList{"y/gone\t\x1b[2J\n[2/2] x/b.pdf", "x/b.pdf"}
            << QStringList{"x/b.pdf > x/b.png"} << 1
            << "[1/2] $'y/gone\\t\\x1b[2J\\n[2/2] x/b.pdf'\nLe fichier spécifié n'existe pas !\n";
        QTest::newRow("an image left where it would be overwritten")
            << QStringList{"x/b.pdf", "x/c.png"} << QStringList{"x/b.pdf > x/b.png"} << 1
            << "[2/2] x/c.png\nConversion impossible de \"c.png\" : l'image remplacerait le "
               "fichier source. Choisissez un autre dossier de destination.\n";
    }
    void fileList()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, calls);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        for (const char *f : {"x/b.pdf", "y/a.pdf", "x/c.png"})
            writeFile(root + QLatin1Char('/') + QLatin1String(f));

        const cli::Result r = cli::run(QStringList{"--dry-run"} + arguments, root, env());
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.err, error);
        QStringList seen;
        const QString prefix = root + QLatin1Char('/');
        for (const QStringList &call : throughShell(r.out, root + QStringLiteral("/shell.log")))
            seen << QString(call.at(2)).remove(prefix) + " > " +
                        QString(call.last()).remove(prefix);
        QCOMPARE(seen, calls);
    }

    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("arguments"); // files are made unless named missing*
        // Environment of the fake converter, and how velinor-cli is started: STDOUT=closed or
        // STDOUT=file, NOFILE=its limit of open files.
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QByteArray>("converter"); // a script of the test's own instead
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QStringList>("notSaid");
        QTest::addColumn<QStringList>("images");

        QTest::newRow("all converted") << QStringList{"a.pdf", "b.pdf"} << QStringList{}
                                       << QByteArray() << 0 << QStringList{"[1/2] ", "[2/2] "}
                                       << QStringList{"Erreur"} << QStringList{"a.png", "b.png"};
        QTest::newRow("quiet success says nothing")
            << QStringList{"-q", "a.pdf", "b.pdf"} << QStringList{} << QByteArray() << 0
            << QStringList{} << QStringList{"["} << QStringList{"a.png", "b.png"};
        QTest::newRow("a missing file")
            << QStringList{"-q", "a.pdf", "missing.pdf", "b.pdf"} << QStringList{} << QByteArray()
            << 1 << QStringList{"missing.pdf\nLe fichier spécifié n'existe pas !\n"}
            << QStringList{"a.pdf"} << QStringList{"a.png", "b.png"};
        QTest::newRow("a converter failure")
            << QStringList{"a.pdf", "b.pdf"} << QStringList{"FAKE_CONVERT_FAIL=b.pdf"}
            << QByteArray() << 1
            << QStringList{"b.pdf\nErreur durant la conversion de \"b.pdf\".\n"
                           "Code de sortie du convertisseur : 1\n"}
            << QStringList{} << QStringList{"a.png"};
        QTest::newRow("a crash") << QStringList{"a.pdf"} << QStringList{"FAKE_CONVERT_CRASH=1"}
                                 << QByteArray() << 1
                                 << QStringList{"Erreur durant la conversion de \"a.pdf\".\n"
                                                "Le convertisseur s'est arrêté brutalement.\n"}
                                 << QStringList{} << QStringList{};
        QTest::newRow("the last lines of the converter's errors")
            << QStringList{"a.pdf"} << QStringList{}
            << QByteArray(
                   "for i in 1 2 3 4 5 6 7; do echo \"  complaint $i  \" >&2; echo >&2; done\n"
                   "exit 3\n")
            << 1
            << QStringList{"Code de sortie du convertisseur : 3\n    complaint 3\n    complaint 4\n"
                           "    complaint 5\n    complaint 6\n    complaint 7\n"}
            << QStringList{"complaint 2"} << QStringList{};
        QTest::newRow("nothing to rename to tns")
            << QStringList{"--tns", "a.pdf"} << QStringList{"FAKE_CONVERT_NOWRITE=1"}
            << QByteArray() << 1
            << QStringList{"[1/1] a.pdf\nL'opération de renommage en .tns a échoué.\n"}
            << QStringList{"Erreur durant"} << QStringList{};
        QTest::newRow("dry run into a full disk")
            << QStringList{"--dry-run", "a.pdf"} << QStringList{"STDOUT=/dev/full"} << QByteArray()
            << 1 << QStringList{"Impossible d'écrire sur la sortie standard"} << QStringList{}
            << QStringList{};
        QTest::newRow("dry run with standard output closed")
            << QStringList{"--dry-run", "a.pdf"} << QStringList{"STDOUT=closed"} << QByteArray()
            << 1 << QStringList{"Impossible d'écrire sur la sortie standard"} << QStringList{}
            << QStringList{};
        // Converters that cannot start for want of descriptors would fail their files.
        QStringList many{"-q", "-j", "100000"};
        QStringList manyImages;
        for (int i = 10; i < 50; ++i) {
            many << QStringLiteral("f%1.pdf").arg(i);
            manyImages << QStringLiteral("f%1.png").arg(i);
        }
        QTest::newRow("jobs held to the open-file limit")
            << many << QStringList{"NOFILE=64", "FAKE_CONVERT_SLEEP=0.3"} << QByteArray() << 0
            << QStringList{"conversions simultanées au lieu de 100000 : le système limite "
                           "velinor-cli à 64 fichiers ouverts."}
            << QStringList{"Erreur"} << manyImages;
        QTest::newRow("a destination that cannot be made")
            << QStringList{"-d", "a.pdf/out", "a.pdf"} << QStringList{} << QByteArray() << 1
            << QStringList{"Impossible de créer le dossier de destination « a.pdf/out »."}
            << QStringList{"[1/1]"} << QStringList{};
    }
    void exitStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, settings);
        QFETCH(QByteArray, converter);
        QFETCH(int, exitCode);
        QFETCH(QStringList, said);
        QFETCH(QStringList, notSaid);
        QFETCH(QStringList, images);

        const QString in = root + QStringLiteral("/in");
        QDir().mkpath(in);
        for (const QString &a : arguments) {
            if (a.endsWith(QLatin1String(".pdf")) && !a.startsWith(QLatin1String("missing")))
                writeFile(in + QLatin1Char('/') + a);
        }
        QStringList extra{QStringLiteral("-d"), root + QStringLiteral("/out")};
        if (arguments.contains(QStringLiteral("-d")))
            extra.clear();
        if (!converter.isEmpty())
            extra << QStringLiteral("--converter")
                  << writeScript(root + QStringLiteral("/converter"), converter);

        QByteArray output;
        rlim_t openFiles = 0;
        for (const QString &s : std::as_const(settings)) {
            if (s.startsWith(QLatin1String("STDOUT=")))
                output = s.mid(7).toUtf8();
            else if (s.startsWith(QLatin1String("NOFILE=")))
                openFiles = s.mid(7).toUInt();
        }
        const auto inChild = [output, openFiles] {
            if (output == "closed")
                ::close(STDOUT_FILENO);
            else if (!output.isEmpty())
                ::dup2(::open(output.constData(), O_WRONLY), STDOUT_FILENO);
            const rlimit limit{openFiles, openFiles};
            if (openFiles > 0)
                ::setrlimit(RLIMIT_NOFILE, &limit);
        };
        const cli::Result r = cli::run(extra + arguments, in, env(settings), 120000, inChild);
        QCOMPARE(r.exitCode, exitCode);
        for (const QString &s : said)
            QVERIFY2(r.err.contains(s), qPrintable(r.err));
        for (const QString &s : notSaid)
            QVERIFY2(!r.err.contains(s), qPrintable(r.err));
        QCOMPARE(r.out, QString());
        QCOMPARE(fileNames(root + QStringLiteral("/out")), images);
    }

    // Only a file's own names get ".tns": chap.png and chap-N.png are chap's, chapitre.png is
    // not, so that two conversions running at once never rename each other's images.
    void tnsExactNames_data()
    {
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("before"); // already in the destination
        QTest::addColumn<QStringList>("after");

        QTest::newRow("chap and chapitre at once")
            << QStringList{"chap.pdf", "chapitre.pdf"} << 3 << QStringList{}
            << QStringList{"chap-0.png.tns",     "chap-1.png.tns",     "chap-2.png.tns",
                           "chapitre-0.png.tns", "chapitre-1.png.tns", "chapitre-2.png.tns"};
        QTest::newRow("one page each, chapitre listed first")
            << QStringList{"chapitre.pdf", "chap.pdf"} << 1 << QStringList{}
            << QStringList{"chap.png.tns", "chapitre.png.tns"};
        QTest::newRow("other images left alone, an old tns replaced")
            << QStringList{"chap.pdf"} << 2
            << QStringList{"chapitre.png", "chap-1a.png", "chap-.png",
                           "Chap-0.png",   "chap-0.jpg",  "chap-0.png.tns"}
            << QStringList{"Chap-0.png",     "chap-.png",   "chap-0.jpg",  "chap-0.png.tns",
                           "chap-1.png.tns", "chap-1a.png", "chapitre.png"};
    }
    void tnsExactNames()
    {
        QFETCH(QStringList, sources);
        QFETCH(int, pages);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);

        const QString out = root + QStringLiteral("/out");
        for (const QString &b : before)
            writeFile(out + QLatin1Char('/') + b, "old");
        QStringList arguments{QStringLiteral("--tns"), QStringLiteral("-j2"), QStringLiteral("-d"),
                              out};
        for (const QString &s : sources)
            arguments << writeFile(root + QLatin1Char('/') + s);

        const cli::Result r = cli::run(arguments, root,
                                       env({QStringLiteral("FAKE_CONVERT_PAGES=%1").arg(pages),
                                            QStringLiteral("FAKE_CONVERT_SLEEP=0.2")}));
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(fileNames(out), after);
        // The images made now, not the ones the folder held, end in ".tns".
        for (const QString &name : fileNames(out)) {
            if (name.endsWith(QLatin1String(".tns")))
                QVERIFY2(!readFile(out + QLatin1Char('/') + name).startsWith("old"),
                         qPrintable(name));
        }
        QCOMPARE(callCount(log), sources.size());
    }

    // A long document goes to the converter a few pages at a time (8 at medium supersampling);
    // the images and their renaming are those of one call, and the pages are counted only when
    // the call can be split at all.
    void longDocuments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("fail"); // the input of the call the converter fails on
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("calls");
        QTest::addColumn<int>("pageCounts");
        QTest::addColumn<QStringList>("images");

        auto pages = [](const QString &base, int last) {
            QStringList names;
            for (int i = 0; i <= last; ++i)
                names << QStringLiteral("%1-%2.png.tns").arg(base).arg(i);
            return names;
        };
        QStringList both = pages("a", 19) + pages("b", 19);
        both.sort();
        QStringList failed = pages("a", 7) + pages("b", 19);
        failed.sort();
        QTest::newRow("three calls each") << QStringList{} << QString() << 0 << 6 << 2 << both;
        // One job: side by side, the range after the failing one may have begun already.
        QTest::newRow("a middle range fails: the rest of that file is skipped")
            << QStringList{"-j1"} << "a.pdf[8-15]" << 1 << 5 << 2 << failed;
        QTest::newRow("one image a document is never split")
            << QStringList{"--single-image"} << QString() << 0 << 2 << 0
            << QStringList{"a.png.tns", "b.png.tns"};
    }
    void longDocuments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, fail);
        QFETCH(int, exitCode);
        QFETCH(int, calls);
        QFETCH(int, pageCounts);
        QFETCH(QStringList, images);

        const QString out = root + QStringLiteral("/out");
        if (!arguments.contains(QStringLiteral("-j1")))
            arguments << QStringLiteral("-j2");
        arguments << QStringLiteral("--tns") << QStringLiteral("-d") << out
                  << writeFile(root + QStringLiteral("/a.pdf"), "%PDF-1.4\n")
                  << writeFile(root + QStringLiteral("/b.pdf"), "%PDF-1.4\n");
        const QString identifyLog = root + QStringLiteral("/identify.log");
        QStringList settings{QStringLiteral("FAKE_CONVERT_PAGES=20"),
                             QStringLiteral("FAKE_IDENTIFY_LOG=") + identifyLog};
        if (!fail.isEmpty())
            settings << QStringLiteral("FAKE_CONVERT_FAIL=") + fail;

        const cli::Result r = cli::run(arguments, root, env(settings));
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(callCount(log), calls);
        QCOMPARE(callCount(identifyLog), pageCounts);
        QCOMPARE(fileNames(out), images);
        QCOMPARE(r.err.contains(QStringLiteral("Erreur durant la conversion de \"a.pdf\".")),
                 !fail.isEmpty());
    }

    // Files whose images could bear the same names run one after the other, in list order, so
    // the last listed wins as it does file after file; the others still run at once.
    void clashingNamesTakeTurns()
    {
        const QString spans = root + QStringLiteral("/spans.log");
        const QString converter =
            writeScript(root + QStringLiteral("/converter"),
                        "echo \"+$3\" >> \"$SPANS\"\nsleep 0.3\n\"$FAKE\" \"$@\"\nrc=$?\n"
                        "echo \"-$3\" >> \"$SPANS\"\nexit $rc\n");
        QStringList arguments{QStringLiteral("-j3"), QStringLiteral("--converter"), converter,
                              QStringLiteral("-d"), root + QStringLiteral("/out")};
        // x/a and y/a write a.png; a-1 writes a-1.png, the name of a's second page; a-1-2
        // writes the second page of a-1 but no name of a's, so only a-1 holds it back.
        const QStringList names{"x/a.pdf", "b.pdf", "a-1.pdf", "y/a.pdf", "a-1-2.pdf", "c.pdf"};
        for (const QString &name : names)
            arguments << writeFile(root + QLatin1Char('/') + name, name.toUtf8());

        const cli::Result r =
            cli::run(arguments, root, env({"SPANS=" + spans, QStringLiteral("FAKE=") + fake}));
        QCOMPARE(r.exitCode, 0);

        QStringList events = QString::fromUtf8(readFile(spans)).split('\n', Qt::SkipEmptyParts);
        events.replaceInStrings(root + QLatin1Char('/'), QString());
        QCOMPARE(events.size(), 2 * names.size());
        auto at = [&](const QString &event) { return events.indexOf(event); };
        const QString order = events.join(' ');
        QVERIFY2(at("-x/a.pdf") < at("+a-1.pdf"), qPrintable(order));
        QVERIFY2(at("-a-1.pdf") < at("+y/a.pdf"), qPrintable(order));
        QVERIFY2(at("-a-1.pdf") < at("+a-1-2.pdf"), qPrintable(order));
        int running = 0;
        int most = 0;
        for (const QString &e : events)
            most = std::max(most, running += e.startsWith('+') ? 1 : -1);
        QCOMPARE(most, 3);
        QCOMPARE(readFile(root + QStringLiteral("/out/a.png")),
                 QByteArray("image of " + root.toUtf8() + "/y/a.pdf\n"));
    }

    void interruption_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGTERM") << int(SIGTERM);
    }
    void interruption()
    {
        QFETCH(int, signalNumber);
        // A sleep that no other test or program is likely to be running.
        const QString sleep = QStringLiteral("37.%1").arg(signalNumber * 7919 % 1000);
        QStringList arguments{QStringLiteral("-j2"), QStringLiteral("--tns"), QStringLiteral("-d"),
                              root + QStringLiteral("/out")};
        for (const char *name : {"a.pdf", "b.pdf", "c.pdf", "d.pdf"})
            arguments << writeFile(root + QLatin1Char('/') + QLatin1String(name));

        QProcess p;
        p.setProcessEnvironment(env({QStringLiteral("FAKE_CONVERT_SLEEP=") + sleep}));
        p.start(cli::program(), arguments);
        QVERIFY(p.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(callCount(log), 2, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(processesMentioning(QStringLiteral("sleep ") + sleep).size(), 2,
                                  20000);

        QElapsedTimer clock;
        clock.start();
        ::kill(pid_t(p.processId()), signalNumber);
        QVERIFY(p.waitForFinished(20000));
        // SIGTERM was enough: the converters did not have to be killed after the grace time.
        QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 130);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("Interrompu")));

        QTRY_COMPARE_WITH_TIMEOUT(processesMentioning(QStringLiteral("sleep ") + sleep),
                                  QStringList(), 5000);
        // The watcher of each converter's group takes a moment to see that it is over.
        QTRY_COMPARE_WITH_TIMEOUT(processesMentioning(root), QStringList(), 2000);
        QCOMPARE(callCount(log), 2); // nothing new started
        QCOMPARE(fileNames(root + QStringLiteral("/out")), QStringList());
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"

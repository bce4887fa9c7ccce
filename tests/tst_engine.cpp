// The conversion engine both front ends drive, with the fake converter of tests/fakes: the ranges
// of a long document, which files may run side by side, the order files are told in, and stop.
#include "converterprocess.h"
#include "engine.h"
#include "interruption.h"
#include "paths.h"
#include "processes.h"
#include "testenv.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <dirent.h>
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

using velinor::FileResult;
using Ranges = std::tuple<QString, bool, int, QString, QString, int>;
using SideBySide = std::tuple<QString, velinor::TnsRename, bool, int>;
// the files, their pages, how long Ghostscript takes to count them (0: not asked, identify counts)
using Stop = std::tuple<QString, int, int>;
using Call = std::tuple<QString, velinor::ConverterProcess::Ending, int, QString>;
// whether velinor ignored the hang-up before its handlers, what the program checks
using Handled = std::tuple<bool, QString>;
// the scripts of the calls one process makes, what it says after each, each started from the
// end of the one before
using Again = std::tuple<QStringList, QStringList, bool>;
// Ghostscript's page count, the size of the source, the outcome, the converter's calls
using Counted = std::tuple<QByteArray, qint64, FileResult::Outcome, int>;
using Pack = velinor::PackResult::Outcome;
// source, pages, renaming, one image, dry run, in the destination first, the outcome, the pack's,
// the file not packed, the rename failed, files after, what the archive's entries hold
using Cbz = std::tuple<QString, int, velinor::TnsRename, bool, bool, QString, FileResult::Outcome,
                       Pack, QString, bool, QString, QString>;

// Qt lists a folder with opendir: every listing of this process is counted here if it is of the
// folder named.
static QByteArray countedFolder;
static int listings = 0;
extern "C" DIR *opendir(const char *name)
{
    if (countedFolder == QDir::cleanPath(name).toUtf8())
        ++listings;
    return reinterpret_cast<DIR *(*)(const char *)>(dlsym(RTLD_NEXT, "opendir"))(name);
}

class TestEngine : public QObject
{
    Q_OBJECT
    QTemporaryDir tmp;
    velinor::EngineSettings settings;
    QStringList told; // "+2" when file 2 is told started, "2" when it is told done
    QList<FileResult> results;
    QList<qint64> doneAfterMs; // of each result, since the run began
    int inherited = -1;        // open without close-on-exec, as a caller's descriptor would be

    // Runs to the end, stopping after each of the delays given.
    bool run(const QStringList &sources, const QList<int> &stopsAfterMs = {})
    {
        velinor::Engine engine(settings, sources);
        connect(&engine, &velinor::Engine::fileStarted,
                [&](int i) { told << QString("+%1").arg(i); });
        QElapsedTimer clock;
        clock.start();
        connect(&engine, &velinor::Engine::fileDone, [&](int i, const FileResult &r) {
            told << QString::number(i);
            results << r;
            doneAfterMs << clock.elapsed();
        });
        QEventLoop loop;
        bool stopped = false;
        connect(&engine, &velinor::Engine::finished, [&](bool s) { stopped = s, loop.quit(); });
        QTimer::singleShot(0, &engine, &velinor::Engine::start);
        for (int ms : stopsAfterMs)
            QTimer::singleShot(ms, &engine, &velinor::Engine::stop);
        loop.exec();
        return stopped;
    }
    QString here(const QString &name) const
    {
        return tmp.filePath(
            QString("%1-%2/%3").arg(QTest::currentTestFunction(), QTest::currentDataTag(), name));
    }
    // Each in a folder of its own, so that two may bear the same name.
    QStringList sources(const QString &names)
    {
        QStringList paths;
        for (const QString &name : names.split(' '))
            paths << testenv::writeFile(here(QString("%1/%2").arg(paths.size()).arg(name)),
                                        "%PDF-1.4\n");
        return paths;
    }

private slots:
    void initTestCase() { inherited = ::dup(STDERR_FILENO); }
    void cleanupTestCase() { ::close(inherited); }
    void init()
    {
        settings = {VELINOR_FAKE_CONVERT, here("out"), {}, velinor::TnsRename::None, 1};
        QDir().mkpath(settings.destination);
        told.clear();
        results.clear();
        doneAfterMs.clear();
    }

    // One job, so that the ranges run one after the other and the failing one is the last.
    void ranges_data()
    {
        const auto row = testenv::rows<Ranges>();
        row("split", "d.pdf", false, 20, "", "d.pdf[0-7] d.pdf[8-15] d.pdf[16-19]", 20);
        row("a last single page joins", "d.pdf", false, 17, "", "d.pdf[0-7] d.pdf[8-16]", 17);
        row("stops at the failing range", "d.pdf", false, 20, "[8-15]", "d.pdf[0-7] d.pdf[8-15]",
            8);
        row("the first range fails", "d.pdf", false, 20, "[0-7]", "d.pdf[0-7]", 0);
        row("short", "d.pdf", false, 3, "", "d.pdf", 3);
        row("one image", "d.pdf", true, 20, "", "d.pdf", 1);
        row("a % in the name", "d%.pdf", false, 20, "", "d%.pdf", 20);
        row("a frame template, one page", "d%d.pdf", false, 1, "", "d%d.pdf", 1);
        row("a format's prefix", "png:d.pdf", false, 3, "", "png:d.pdf", 3);
        row("an image, whatever identify makes of it", "d.gif", false, 3, "", "d.gif", 3);
    }
    void ranges()
    {
        const auto [source, oneImage, pages, failing, inputs, images] = testenv::fetch<Ranges>();
        const ScopedEnv log("FAKE_CONVERT_LOG", here("log").toUtf8()),
            count("FAKE_CONVERT_PAGES", QByteArray::number(pages)),
            fail("FAKE_CONVERT_FAIL", failing.toUtf8());
        const bool pdf = source.endsWith(".pdf");
        const ScopedEnv blind("FAKE_IDENTIFY_OUTPUT", pdf ? QByteArray::number(pages) + '\n' : "");
        settings.options.append = oneImage;
        run({testenv::writeFile(here(source), pdf ? "%PDF-1.4\n" : "GIF89a")});
        QCOMPARE(results.value(0).outcome,
                 failing.isEmpty() ? FileResult::Outcome::Converted : FileResult::Outcome::Failed);
        QStringList called;
        for (const QStringList &call : testenv::fakeConverterCalls(here("log")))
            called << velinor::fileName(call.value(call.indexOf("-background") - 1));
        QCOMPARE(called.join(' '), inputs);
        QCOMPARE(testenv::fileNames(settings.destination).size(), images);
    }

    // What Ghostscript says of a PDF's pages decides its calls, unless no document could hold
    // them. identify, asked only when Ghostscript cannot tell, says 20 pages. Ghostscript takes
    // its time, as it does on a real document.
    void pageCounts_data()
    {
        using O = FileResult::Outcome;
        const auto row = testenv::rows<Counted>();
        row("its count", "5", 9, O::Converted, 1);
        row("a tree that loops", "-1", 9, O::InvalidPdf, 0);
        row("beyond Ghostscript's memory", "-2", 9, O::InvalidPdf, 0);
        row("more pages than bytes", "289", 9, O::InvalidPdf, 0);
        row("as many as its bytes hold", "288", 9, O::Converted, 36);
        row("more than a count can be", "2147483648", qint64(1) << 27, O::InvalidPdf, 0);
        row("nothing told", "", 9, O::Converted, 3);
    }
    void pageCounts()
    {
        const auto [answer, size, outcome, calls] = testenv::fetch<Counted>();
        const ScopedEnv gs("FAKE_GS_PAGES", answer), log("FAKE_CONVERT_LOG", here("log").toUtf8()),
            identify("FAKE_IDENTIFY_OUTPUT", "20\n"), document("FAKE_CONVERT_PAGES", "300"),
            slow("FAKE_GS_SLEEP", "0.3");
        QFile pdf(testenv::writeFile(here("d.pdf"), "%PDF-1.4\n"));
        QVERIFY(pdf.resize(size)); // sparse
        run({pdf.fileName()});
        QCOMPARE(results.value(0).outcome, outcome);
        QCOMPARE(testenv::fakeConverterCalls(here("log")).size(), calls);
    }

    // Whether the first two calls ran at once, with two jobs.
    void sideBySide_data()
    {
        using R = velinor::TnsRename;
        const auto row = testenv::rows<SideBySide>();
        row("other names", "a.pdf b.pdf", R::ByPrefix, true, 1);
        row("a page name", "a.pdf a-1.pdf", R::None, false, 1);
        row("the same name", "a.pdf a.pdf", R::OwnImages, false, 1);
        row("a prefix, renamed by prefix", "ch.pdf chap.pdf", R::ByPrefix, false, 1);
        row("a prefix, own images", "ch.pdf chap.pdf", R::OwnImages, true, 1);
        row("the ranges of one document", "d.pdf", R::None, true, 20);
    }
    void sideBySide()
    {
        const auto [names, renaming, together, pages] = testenv::fetch<SideBySide>();
        const ScopedEnv events("FAKE_CONVERT_EVENTS", here("events").toUtf8()),
            slow("FAKE_CONVERT_SLEEP", "1"), count("FAKE_CONVERT_PAGES", QByteArray::number(pages));
        settings.tns = renaming;
        settings.jobs = 2;
        run(sources(names));
        QCOMPARE(QString(testenv::readFile(here("events"))).split('\n').value(1).startsWith('+'),
                 together);
    }

    // However many files a run renames after (by prefix, then its own images), it lists the
    // destination as often: once more for each file would make a long run quadratic.
    void renamesListOnce()
    {
        for (const auto rule : {velinor::TnsRename::ByPrefix, velinor::TnsRename::OwnImages}) {
            settings.tns = rule;
            QList<int> counts;
            for (const QString &names : QStringList{"a.pdf", "a.pdf b.pdf c.pdf d.pdf e.pdf"}) {
                settings.destination = here(QString("out%1-%2").arg(int(rule)).arg(names.size()));
                QDir().mkpath(settings.destination);
                countedFolder = settings.destination.toUtf8();
                listings = 0;
                run(sources(names));
                counts << listings;
            }
            QCOMPARE(counts.last(), counts.first());
        }
    }

    // With --cbz. In the destination first: "/" a folder, "*" listed too; older than the images.
    // The entries of x.cbz.tns, in name order.
    void cbz_data()
    {
        using O = FileResult::Outcome;
        using T = velinor::TnsRename;
        const auto row = testenv::rows<Cbz>();
        row("in order", "x.pdf", 12, T::None, false, false, "", O::Converted, Pack::Packed, "",
            false, "x.cbz.tns", "0 1 2 3 4 5 6 7 8 9 10 11");
        row("with .tns", "x.pdf", 3, T::OwnImages, false, false, "", O::Converted, Pack::Packed, "",
            false, "x.cbz.tns", "0 1 2");
        row("one image", "x.pdf", 3, T::None, true, false, "", O::Converted, Pack::Packed, "",
            false, "x.cbz.tns", "image");
        row("not counted", "x.gif", 3, T::None, false, false, "x.png", O::Converted, Pack::Packed,
            "", false, "x.cbz.tns x.png", "0 1 2");
        row("one frame", "x.gif", 1, T::None, false, false, "x-0.png", O::Converted, Pack::Packed,
            "", false, "x-0.png x.cbz.tns", "image");
        row("dry run", "x.pdf", 3, T::None, false, true, "x-0.png", O::Converted, Pack::Packed, "",
            false, "x-0.png", "");
        row("unreadable", "x.pdf", 3, T::None, false, false, "x-1.png/", O::PackFailed,
            Pack::Unreadable, "x-1.png", false, "x-0.png x-2.png", "");
        row("unwritable", "x.pdf", 1, T::OwnImages, false, false, "x.cbz.tns/", O::PackFailed,
            Pack::Unwritable, "x.cbz.tns", false, "x.png.tns", "");
        row("listed", "x.pdf", 1, T::None, false, false, "*x.cbz.tns", O::ReplacesSource,
            Pack::Packed, "", false, "x.cbz.cbz.tns x.cbz.tns", "");
    }
    void cbz()
    {
        const auto [source, pages, tns, oneImage, dryRun, first, outcome, pack, notPacked,
                    renameFailed, after, entries] = testenv::fetch<Cbz>();
        // The images written more than a clock tick after those left in the destination.
        const ScopedEnv count("FAKE_CONVERT_PAGES", QByteArray::number(pages)),
            later("FAKE_CONVERT_SLEEP", "0.05");
        settings.tns = tns;
        settings.options.append = oneImage, settings.dryRun = dryRun;
        settings.options.cbz = true;
        QStringList files{testenv::writeFile(here("in/" + source),
                                             source.endsWith(".pdf") ? "%PDF-1.4\n" : "GIF89a")};
        testenv::populate(settings.destination, QString(first).remove('*'));
        if (first.startsWith('*'))
            files << settings.destination + '/' + first.mid(1);
        run(files);
        const FileResult &r = results.value(0);
        QCOMPARE(r.outcome, outcome);
        QCOMPARE(r.pack.outcome, pack);
        QCOMPARE(velinor::fileName(r.pack.path), notPacked);
        QCOMPARE(r.renameFailed, renameFailed);
        QVERIFY(r.pack.path.isEmpty() || !r.pack.error.isEmpty());
        QCOMPARE(testenv::fileNames(settings.destination).join(' '), after);
        QProcess unzip; // nothing unless the names sort in the archive's order
        unzip.setWorkingDirectory(settings.destination);
        unzip.start("sh", {"-c", "unzip -Z1 x.cbz.tns | LC_ALL=C sort -C && unzip -p x.cbz.tns | "
                                 "sed 's/ of .*//; s/page //'"});
        unzip.waitForFinished();
        QCOMPARE(QString(unzip.readAllStandardOutput()).split('\n').join(' ').trimmed(), entries);
    }

    // The missing file is refused while the first still runs, and told after it.
    void toldInListOrder()
    {
        const ScopedEnv slow("FAKE_CONVERT_SLEEP", "0.3");
        settings.jobs = 3;
        QStringList files = sources("a.pdf b.png");
        files.insert(1, here("missing.pdf"));
        run(files);
        QCOMPARE(told.join(' '), QString("+0 0 1 +2 2"));
        QCOMPARE(results.value(1).outcome, FileResult::Outcome::Unreadable);
    }

    // A file is told done as soon as it is over, while the next one's pages are still counted.
    void toldAtOnce()
    {
        const ScopedEnv counted("FAKE_GS_PAGES", "2"), counting("FAKE_GS_SLEEP", "1");
        settings.jobs = 2;
        const QStringList files{testenv::writeFile(here("a.png"), "not a document"),
                                sources("b.pdf").constFirst()};
        run(files);
        QCOMPARE(told.join(' '), QString("+0 0 +1 1"));
        QVERIFY2(doneAfterMs.value(0) < 500, qPrintable(QString::number(doneAfterMs.value(0))));
    }

    // What is not a regular file that can be read is told so, whatever files come before it,
    // and is never handed to the converter: a pipe would hold it.
    void unreadable_data()
    {
        QTest::addColumn<QString>("make");
        QTest::newRow("missing") << "";
        QTest::newRow("a folder") << "mkdir";
        QTest::newRow("a pipe") << "mkfifo";
    }
    void unreadable()
    {
        QFETCH(QString, make);
        for (const int before : {0, 1}) {
            QStringList files = sources("a.pdf b.png");
            const QString odd = here(QString("odd%1.pdf").arg(before));
            if (!make.isEmpty())
                QCOMPARE(QProcess::execute(make, {odd}), 0);
            files.insert(before, odd);
            told.clear(), results.clear(), doneAfterMs.clear();
            run(files);
            const QStringList done = told.filter(QRegularExpression("^\\d+$"));
            QCOMPARE(results.size(), 3);
            for (qsizetype k = 0; k < results.size(); ++k)
                QCOMPARE(results[k].outcome, done[k].toInt() == before
                                                 ? FileResult::Outcome::Unreadable
                                                 : FileResult::Outcome::Converted);
        }
    }

    // Runs the script as the converter from a thread that blocks SIGINT and SIGTERM, in a velinor
    // that ignores them and the hang-up (nohup, a background job) or not the hang-up, with its
    // own handlers or not, and tells how it ended.
    std::pair<velinor::ConverterProcess::Ending, int>
    callScript(velinor::ConverterProcess &process, const QString &folder, const QString &script,
               bool handled, bool hangUpIgnored = true)
    {
        QDir().mkpath(folder);
        const QString program =
            testenv::writeFile(folder + "/convert", "#!/bin/sh\n" + script.toUtf8());
        if (!script.isEmpty())
            QFile(program).setPermissions(QFile::ExeOwner | QFile::ReadOwner);
        QEventLoop loop;
        std::pair<velinor::ConverterProcess::Ending, int> ended{{}, -1};
        connect(&process, &velinor::ConverterProcess::ended, [&](auto e, int c) {
            ended = {e, c};
            loop.quit();
        });
        struct sigaction ignore = {}, before[3];
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGINT, &ignore, &before[0]), ::sigaction(SIGTERM, &ignore, &before[1]);
        if (!hangUpIgnored)
            ignore.sa_handler = SIG_DFL;
        ::sigaction(SIGHUP, &ignore, &before[2]);
        auto handlers = handled ? std::make_unique<velinor::Interruption>() : nullptr;
        sigset_t stops, mask;
        sigemptyset(&stops), sigaddset(&stops, SIGINT), sigaddset(&stops, SIGTERM);
        ::pthread_sigmask(SIG_BLOCK, &stops, &mask);
        process.start(program, {}, folder);
        ::pthread_sigmask(SIG_SETMASK, &mask, nullptr);
        handlers.reset();
        ::sigaction(SIGINT, &before[0], nullptr), ::sigaction(SIGTERM, &before[1], nullptr);
        ::sigaction(SIGHUP, &before[2], nullptr);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        return ended;
    }

    // One converter call, a script standing for the converter: how it ended, what it said last,
    // and that what it left running in its group did not outlive it.
    void call_data()
    {
        using E = velinor::ConverterProcess::Ending;
        const auto row = testenv::rows<Call>();
        row("its words, its code", "printf 'a\\nlast' >&2; exit 3", E::Exited, 3, "a\nlast");
        row("a crash", "kill -SEGV $$", E::Crashed, 11, "");
        row("not a program", "", E::NotStarted, 0, "");
        row("its own group, its folder, nothing to read",
            "[ $(ps -o pgid= -p $$) = $$ ] || exit 4; read x && exit 5; pwd >&2", E::Exited, 0,
            "@");
        // Started from a thread that blocks SIGINT and SIGTERM, of a velinor that ignores them
        // and the hang-up (nohup, a background job).
        row("a stop's signals neither ignored nor blocked",
            "for m in SigIgn SigBlk; do s=0x$(sed -n \"s/^$m:\\t//p\" /proc/$$/status); "
            "[ $((s & 0x4002)) = 0 ] || exit 6; done",
            E::Exited, 0, "");
        row("a hang-up ignored under nohup still ignored",
            "s=0x$(sed -n 's/^SigIgn:\\t//p' /proc/$$/status); [ $((s & 1)) = 1 ] || exit 7",
            E::Exited, 0, "");
        row("what it leaves is killed", "sleep 30 & echo $! >pid; exit 0", E::Exited, 0, "");
        row("a temporary folder of velinor's, emptied after a failure",
            "case $MAGICK_TEMPORARY_PATH in \"${TMPDIR:-/tmp}\"/velinor-magick-*) ;; *) exit 6 ;; "
            "esac; : >\"$MAGICK_TEMPORARY_PATH/page\" && echo \"$MAGICK_TEMPORARY_PATH\" >scratch; "
            "exit 1",
            E::Exited, 1, "");
    }
    void call()
    {
        const auto [script, ending, code, said] = testenv::fetch<Call>();
        const QString folder = tmp.filePath(QTest::currentDataTag());
        velinor::ConverterProcess process;
        const auto [ended, exitCode] = callScript(process, folder, script, false);
        QCOMPARE(ended, ending);
        QCOMPARE(exitCode, code);
        QCOMPARE(QString::fromUtf8(process.errorTail()), QString(said).replace("@", folder + "\n"));
        const QByteArray left = testenv::readFile(folder + "/pid").trimmed();
        // Killed, it may wait a while for whoever adopted it to reap it.
        const auto gone = [&] {
            const QByteArray stat = testenv::readFile("/proc/" + left + "/stat");
            return stat.isEmpty() || stat.mid(stat.lastIndexOf(')') + 2, 1) == "Z";
        };
        if (!left.isEmpty())
            QTRY_VERIFY_WITH_TIMEOUT(gone(), 1000);
        const QString scratch = testenv::readFile(folder + "/scratch").trimmed();
        QVERIFY(scratch.isEmpty() || QDir(scratch).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                           QDir::Hidden | QDir::System));
    }

    // Where velinor's own handlers hold the stops, a call leaves them to its exec, which gives
    // the program their default effect; a hang-up ignored before them stays ignored.
    void callHandled_data()
    {
        const auto row = testenv::rows<Handled>();
        const QString free = "for m in SigIgn SigBlk; do s=0x$(sed -n \"s/^$m:\\t//p\" "
                             "/proc/$$/status); [ $((s & 0x4002)) = 0 ] || exit 6; done";
        const QString hangUp =
            "; s=0x$(sed -n 's/^SigIgn:\\t//p' /proc/$$/status); [ $((s & 1)) = ";
        row("the stops by default, the hang-up too", false, free + hangUp + "0 ]");
        row("the stops by default, the hang-up still ignored", true, free + hangUp + "1 ]");
    }
    void callHandled()
    {
        const auto [hangUpIgnored, script] = testenv::fetch<Handled>();
        velinor::ConverterProcess process;
        const auto [ended, exitCode] =
            callScript(process, tmp.filePath(QStringLiteral("handled-") + QTest::currentDataTag()),
                       script, true, hangUpIgnored);
        QCOMPARE(ended, velinor::ConverterProcess::Ending::Exited);
        QCOMPARE(exitCode, 0);
    }

    // A stop caught by another process that runs velinor's handlers, as a program being started
    // does before its exec, ends that process as the signal would, and velinor is not told.
    void stopBeforeExec()
    {
        struct sigaction byDefault = {}, before;
        byDefault.sa_handler = SIG_DFL;
        ::sigaction(SIGHUP, &byDefault, &before); // even under nohup
        const auto restore = qScopeGuard([&] { ::sigaction(SIGHUP, &before, nullptr); });
        velinor::Interruption handlers;
        int told = 0;
        connect(&handlers, &velinor::Interruption::requested, [&] { ++told; });
        for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
            const pid_t child = ::fork();
            if (child == 0) {
                ::kill(::getpid(), signalNumber);
                ::_exit(0);
            }
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFSIGNALED(status));
            QCOMPARE(WTERMSIG(status), signalNumber);
        }
        QCoreApplication::processEvents();
        ::kill(::getpid(), SIGTERM); // and velinor itself is still told
        QTRY_COMPARE(told, 1);
    }

    // A run gives each process call after call: what it says is the last call's alone, even
    // where that call said nothing, and a call can start from the end of the one before.
    void callAgain_data()
    {
        const auto row = testenv::rows<Again>();
        const QStringList scripts{"printf 'a\\nb' >&2; exit 3", "exit 0", "printf c >&2; exit 1"};
        row("after the event loop", scripts, QStringList{"a\nb", "", "c"}, false);
        row("from its own end", scripts, QStringList{"a\nb", "", "c"}, true);
        row("after a crash", QStringList{"printf x >&2; kill -SEGV $$", "printf y >&2"},
            QStringList{"x", "y"}, true);
    }
    void callAgain()
    {
        const auto [scripts, said, fromItsEnd] = testenv::fetch<Again>();
        const QString folder = tmp.filePath(QStringLiteral("again-") + QTest::currentDataTag());
        QDir().mkpath(folder);
        QStringList programs;
        for (const QString &script : scripts) {
            programs << testenv::writeFile(folder + QString("/convert%1").arg(programs.size()),
                                           "#!/bin/sh\n" + script.toUtf8());
            QFile(programs.last()).setPermissions(QFile::ExeOwner | QFile::ReadOwner);
        }
        velinor::ConverterProcess process;
        QEventLoop loop;
        QStringList tails;
        connect(&process, &velinor::ConverterProcess::ended, [&] {
            tails << QString::fromUtf8(process.errorTail());
            if (fromItsEnd && tails.size() < programs.size())
                process.start(programs.at(tails.size()), {}, folder);
            else
                loop.quit();
        });
        for (qsizetype told = -1; tails.size() < programs.size() && told < tails.size();) {
            told = tails.size(); // a call that is never told ended fails the row below
            process.start(programs.at(tails.size()), {}, folder);
            QTimer::singleShot(5000, &loop, &QEventLoop::quit);
            loop.exec();
        }
        QCOMPARE(tails, said);
    }

    // One watcher for the whole of velinor, however many programs it starts, and it keeps
    // nothing of what velinor was given open (here a copy of standard error made before any
    // program started): a caller's pipe would otherwise stay open after velinor's end, until the
    // watcher's.
    void watcherHoldsOnlyItsPipe()
    {
        run(sources("a.pdf b.pdf")); // a page count and two calls, if no test before started any
        QStringList watchers;
        const QByteArray self = QByteArray::number(QCoreApplication::applicationPid());
        for (const QString &pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QList<QByteArray> argv =
                testenv::readFile("/proc/" + pid + "/cmdline").split('\0');
            if (argv.size() > 5 && argv[3] == "velinor-watcher" && argv[5] == self)
                watchers << pid;
        }
        QCOMPARE(watchers.size(), 1);
        const QString watcher = watchers.first();
        QStringList held = QDir("/proc/" + watcher + "/fd").entryList(QDir::System);
        held.removeAll(".");
        held.removeAll("..");
        std::sort(held.begin(), held.end());
        QCOMPARE(held.join(' '), QString("0 1 2"));
        char target[64] = {};
        QVERIFY(::readlink(qPrintable("/proc/" + watcher + "/fd/0"), target, sizeof target - 1) >
                0);
        QVERIFY(QByteArray(target).startsWith("pipe:"));
    }

    // A stop ends the converters at once, a second one kills those that linger: nothing more
    // starts, nothing is written, renamed or told done, and no converter is left. A document
    // that announces millions of pages has its ranges worked out as they start, at once.
    void stop_data()
    {
        const auto row = testenv::rows<Stop>();
        row("three files", "a.pdf b.pdf c.pdf", 1, 0);
        row("20 million pages", "d.pdf", 20000000, 0);
        row("while Ghostscript counts the pages", "e.pdf", 5, 20);
    }
    void stop()
    {
        const auto [names, pages, countSeconds] = testenv::fetch<Stop>();
        const ScopedEnv slow("FAKE_CONVERT_SLEEP", "20"), stubborn("FAKE_CONVERT_STUBBORN", "1"),
            mark("VELINOR_TEST_MARK", "stop"),
            count("FAKE_IDENTIFY_OUTPUT", QByteArray::number(pages) + '\n');
        std::optional<ScopedEnv> counted, counting;
        if (countSeconds > 0) {
            counted.emplace("FAKE_GS_PAGES", QByteArray::number(pages));
            counting.emplace("FAKE_GS_SLEEP", QByteArray::number(countSeconds));
        }
        settings.jobs = 2;
        settings.tns = velinor::TnsRename::ByPrefix;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(run(sources(names), {300, 400}));
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(results.size(), 0);
        QCOMPARE(testenv::fileNames(settings.destination), QStringList());
        QTRY_COMPARE_WITH_TIMEOUT(processes::marked("VELINOR_TEST_MARK", "stop"), QStringList(),
                                  1000);
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"

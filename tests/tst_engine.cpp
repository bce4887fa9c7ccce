// The conversion engine both front ends drive, with the fake converter of tests/fakes: the ranges
// of a long document, which files may run side by side, the order files are told in, and stop.
#include "converterprocess.h"
#include "engine.h"
#include "paths.h"
#include "processes.h"
#include "testenv.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <dirent.h>
#include <dlfcn.h>

using velinor::FileResult;

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

    // Runs to the end, stopping after each of the delays given.
    bool run(const QStringList &sources, const QList<int> &stopsAfterMs = {})
    {
        velinor::Engine engine(settings, sources);
        connect(&engine, &velinor::Engine::fileStarted,
                [&](int i) { told << QString("+%1").arg(i); });
        connect(&engine, &velinor::Engine::fileDone, [&](int i, const FileResult &r) {
            told << QString::number(i);
            results << r;
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
    void init()
    {
        settings = {VELINOR_FAKE_CONVERT, here("out"), {}, velinor::TnsRename::None, 1};
        QDir().mkpath(settings.destination);
        told.clear();
        results.clear();
    }

    // source | one image | pages | FAKE_CONVERT_FAIL | the calls' inputs | images. One job, so
    // that the ranges run one after the other and the failing one is the last.
    void ranges_data()
    {
        testenv::table({"split | d.pdf | 0 | 20 | | d.pdf[0-7] d.pdf[8-15] d.pdf[16-19] | 20",
                        "a last single page joins | d.pdf | 0 | 17 | | d.pdf[0-7] d.pdf[8-16] | 17",
                        "stops at the failing range | d.pdf | 0 | 20 | [8-15] | "
                        "d.pdf[0-7] d.pdf[8-15] | 8",
                        "the first range fails | d.pdf | 0 | 20 | [0-7] | d.pdf[0-7] | 0",
                        "short | d.pdf | 0 | 3 | | d.pdf | 3",
                        "one image | d.pdf | 1 | 20 | | d.pdf | 1",
                        "a % in the name | d%.pdf | 0 | 20 | | d%.pdf | 20",
                        "a frame template, one page | d%d.pdf | 0 | 1 | | d%d.pdf | 1",
                        "a format's prefix | png:d.pdf | 0 | 3 | | png:d.pdf | 3"});
    }
    void ranges()
    {
        QFETCH(QStringList, f);
        const ScopedEnv log("FAKE_CONVERT_LOG", here("log").toUtf8()),
            pages("FAKE_CONVERT_PAGES", f[2].toUtf8()), fail("FAKE_CONVERT_FAIL", f[3].toUtf8());
        settings.options.append = f[1] == "1";
        run({testenv::writeFile(here(f[0]), "%PDF-1.4\n")});
        QCOMPARE(results.value(0).outcome,
                 f[3].isEmpty() ? FileResult::Outcome::Converted : FileResult::Outcome::Failed);
        QStringList inputs;
        for (const QStringList &call : testenv::fakeConverterCalls(here("log")))
            inputs << velinor::fileName(call.value(call.indexOf("-background") - 1));
        QCOMPARE(inputs.join(' '), f[4]);
        QCOMPARE(testenv::fileNames(settings.destination).size(), f[5].toInt());
    }

    // sources | renaming: 1 by prefix, 2 own images | whether the first two calls ran at once,
    // with two jobs | pages
    void sideBySide_data()
    {
        testenv::table({"other names | a.pdf b.pdf | 1 | 1 | 1",
                        "a page name | a.pdf a-1.pdf | 0 | 0 | 1",
                        "the same name | a.pdf a.pdf | 2 | 0 | 1",
                        "a prefix, renamed by prefix | ch.pdf chap.pdf | 1 | 0 | 1",
                        "a prefix, own images | ch.pdf chap.pdf | 2 | 1 | 1",
                        "the ranges of one document | d.pdf | 0 | 1 | 20"});
    }
    void sideBySide()
    {
        QFETCH(QStringList, f);
        const ScopedEnv events("FAKE_CONVERT_EVENTS", here("events").toUtf8()),
            slow("FAKE_CONVERT_SLEEP", "1"), pages("FAKE_CONVERT_PAGES", f[3].toUtf8());
        settings.tns = velinor::TnsRename(f[1].toInt());
        settings.jobs = 2;
        run(sources(f[0]));
        QCOMPARE(QString(testenv::readFile(here("events"))).split('\n').value(1).startsWith('+'),
                 f[2] == "1");
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

    // With --cbz: source | pages | renaming (2: own images) | one image | dry run | in the
    // destination first ("/" a folder, "*" listed too), older | the outcome, the pack's, whether
    // the rename failed, the file not packed | files after | what the entries of x.cbz.tns hold,
    // in name order
    void cbz_data()
    {
        testenv::table(
            {"in order | x.pdf | 12 | 0 | 0 | 0 | | 0 0 0 | x.cbz.tns | 0 1 2 3 4 5 6 7 8 9 10 11",
             "with .tns | x.pdf | 3 | 2 | 0 | 0 | | 0 0 0 | x.cbz.tns | 0 1 2",
             "one image | x.pdf | 3 | 0 | 1 | 0 | | 0 0 0 | x.cbz.tns | image",
             "not counted | x.gif | 3 | 0 | 0 | 0 | x.png | 0 0 0 | x.cbz.tns x.png | 0 1 2",
             "one frame | x.gif | 1 | 0 | 0 | 0 | x-0.png | 0 0 0 | x-0.png x.cbz.tns | image",
             "dry run | x.pdf | 3 | 0 | 0 | 1 | x-0.png | 0 0 0 | x-0.png | ",
             "unreadable | x.pdf | 3 | 0 | 0 | 0 | x-1.png/ | 8 1 0 x-1.png | x-0.png x-2.png | ",
             "unwritable | x.pdf | 1 | 2 | 0 | 0 | x.cbz.tns/ | 8 2 0 x.cbz.tns | x.png.tns | ",
             "listed | x.pdf | 1 | 0 | 0 | 0 | *x.cbz.tns | 2 0 0 | x.cbz.cbz.tns x.cbz.tns | "});
    }
    void cbz()
    {
        QFETCH(QStringList, f);
        // The images written more than a clock tick after those left in the destination.
        const ScopedEnv pages("FAKE_CONVERT_PAGES", f[1].toUtf8()),
            later("FAKE_CONVERT_SLEEP", "0.05");
        settings.tns = velinor::TnsRename(f[2].toInt());
        settings.options.append = f[3] == "1", settings.dryRun = f[4] == "1";
        settings.options.cbz = true;
        QStringList files{testenv::writeFile(here("in/" + f[0]),
                                             f[0].endsWith(".pdf") ? "%PDF-1.4\n" : "GIF89a")};
        testenv::populate(settings.destination, QString(f[5]).remove('*'));
        if (f[5].startsWith('*'))
            files << settings.destination + '/' + f[5].mid(1);
        run(files);
        const FileResult &r = results.value(0);
        QCOMPARE(QString::asprintf("%d %d %d %s", int(r.outcome), int(r.pack.outcome),
                                   r.renameFailed, qPrintable(velinor::fileName(r.pack.path)))
                     .trimmed(),
                 f[6]);
        QVERIFY(r.pack.path.isEmpty() || !r.pack.error.isEmpty());
        QCOMPARE(testenv::fileNames(settings.destination).join(' '), f[7]);
        QProcess unzip; // nothing unless the names sort in the archive's order
        unzip.setWorkingDirectory(settings.destination);
        unzip.start("sh", {"-c", "unzip -Z1 x.cbz.tns | LC_ALL=C sort -C && unzip -p x.cbz.tns | "
                                 "sed 's/ of .*//; s/page //'"});
        unzip.waitForFinished();
        QCOMPARE(QString(unzip.readAllStandardOutput()).split('\n').join(' ').trimmed(), f[8]);
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

    // One converter call, a script standing for the converter: how it ended, what it said last,
    // and that what it left running in its group did not outlive it.
    void call_data()
    {
        using E = velinor::ConverterProcess::Ending;
        QTest::addColumn<QString>("script");
        QTest::addColumn<E>("ending");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said");
        QTest::newRow("its words, its code")
            << "printf 'a\\nlast' >&2; exit 3" << E::Exited << 3 << "a\nlast";
        QTest::newRow("a crash") << "kill -SEGV $$" << E::Crashed << 11 << "";
        QTest::newRow("not a program") << "" << E::NotStarted << 0 << "";
        QTest::newRow("its own group, its folder, nothing to read")
            << "[ $(ps -o pgid= -p $$) = $$ ] || exit 4; read x && exit 5; pwd >&2" << E::Exited
            << 0 << "@";
        QTest::newRow("what it leaves is killed")
            << "sleep 30 & echo $! >pid; exit 0" << E::Exited << 0 << "";
    }
    void call()
    {
        QFETCH(QString, script);
        QFETCH(velinor::ConverterProcess::Ending, ending);
        QFETCH(int, code);
        QFETCH(QString, said);
        const QString folder = tmp.filePath(QTest::currentDataTag());
        QDir().mkpath(folder);
        const QString program =
            testenv::writeFile(folder + "/convert", "#!/bin/sh\n" + script.toUtf8());
        if (!script.isEmpty())
            QFile(program).setPermissions(QFile::ExeOwner | QFile::ReadOwner);
        velinor::ConverterProcess process;
        QEventLoop loop;
        velinor::ConverterProcess::Ending ended{};
        int exitCode = -1;
        connect(&process, &velinor::ConverterProcess::ended, [&](auto e, int c) {
            ended = e, exitCode = c;
            loop.quit();
        });
        process.start(program, {}, folder);
        loop.exec();
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
    }

    // A stop ends the converters at once, a second one kills those that linger: nothing more
    // starts, nothing is written, renamed or told done, and no converter is left. A document
    // that announces millions of pages has its ranges worked out as they start, at once.
    void stop_data()
    {
        testenv::table(
            {"three files | a.pdf b.pdf c.pdf | 1", "20 million pages | d.pdf | 20000000"});
    }
    void stop()
    {
        QFETCH(QStringList, f);
        const ScopedEnv slow("FAKE_CONVERT_SLEEP", "20"), stubborn("FAKE_CONVERT_STUBBORN", "1"),
            mark("VELINOR_TEST_MARK", "stop"), pages("FAKE_IDENTIFY_OUTPUT", f[1].toUtf8() + '\n');
        settings.jobs = 2;
        settings.tns = velinor::TnsRename::ByPrefix;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(run(sources(f[0]), {300, 400}));
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(results.size(), 0);
        QCOMPARE(testenv::fileNames(settings.destination), QStringList());
        QTRY_COMPARE_WITH_TIMEOUT(processes::marked("VELINOR_TEST_MARK", "stop"), QStringList(),
                                  1000);
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"

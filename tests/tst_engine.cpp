// The conversion engine both front ends drive, with the fake converter of tests/fakes: what it
// tells of each file, the ranges of a long document, which files may run side by side, and stop.
#include "engine.h"
#include "paths.h"
#include "processes.h"
#include "testenv.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using velinor::EngineSettings;
using velinor::FileResult;
using Outcome = FileResult::Outcome;
using velinor::TnsRename;

namespace {

struct Told
{
    QStringList events; // "+2" when file 2 started, "2" when it was told done
    QList<FileResult> results;
    bool stopped = false;
};

Told run(const EngineSettings &settings, const QStringList &sources, QList<int> stopsAfterMs = {})
{
    Told told;
    velinor::Engine engine(settings, sources);
    QObject::connect(&engine, &velinor::Engine::fileStarted,
                     [&](int i) { told.events << QStringLiteral("+%1").arg(i); });
    QObject::connect(&engine, &velinor::Engine::fileDone, [&](int i, const FileResult &r) {
        told.events << QString::number(i);
        told.results << r;
    });
    QEventLoop loop;
    QObject::connect(&engine, &velinor::Engine::finished, [&](bool stopped) {
        told.stopped = stopped;
        loop.quit();
    });
    QTimer::singleShot(0, &engine, &velinor::Engine::start);
    for (int ms : stopsAfterMs)
        QTimer::singleShot(ms, &engine, &velinor::Engine::stop);
    loop.exec();
    return told;
}

// One line a call: "+name" when it starts and "-name" when it ends, name that of its image.
// "slow" and "long" images take longer. A converter that must be killed ignores SIGTERM, as its
// children do.
const QByteArray timedConverter =
    "#!/bin/sh\nfor out; do :; done\nname=${out##*/}\necho \"+$name\" >> \"$ENGINE_LOG\"\n"
    "case $name in slow*) sleep 0.6 ;; long*) sleep 20 ;; stubborn*) trap '' TERM; sleep 20 ;; "
    "esac\n"
    "sleep 0.4\n"
    "\"$FAKE\" \"$@\"\necho \"-$name\" >> \"$ENGINE_LOG\"\n";

} // namespace

class TestEngine : public QObject
{
    Q_OBJECT
    QTemporaryDir tmp;
    EngineSettings settings;
    std::vector<std::unique_ptr<ScopedEnv>> env;
    QString log;

    void setEnv(const QByteArray &assignments) // "NAME=value;NAME=value"
    {
        for (const QByteArray &a : assignments.split(';')) {
            const qsizetype equals = a.indexOf('=');
            if (equals > 0)
                env.push_back(
                    std::make_unique<ScopedEnv>(a.left(equals).constData(), a.mid(equals + 1)));
        }
    }
    // A folder of the test function and row.
    QString here(const QString &name) const
    {
        return tmp.filePath(
            QString("%1-%2/%3").arg(QTest::currentTestFunction(), QTest::currentDataTag(), name));
    }
    QString timed()
    {
        log = here("timed.log");
        setEnv("ENGINE_LOG=" + log.toUtf8() + ";FAKE=" VELINOR_FAKE_CONVERT);
        const QString path = testenv::writeFile(tmp.filePath("timed/convert"), timedConverter);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        return path;
    }
    // Each in a folder of its own, so that two may bear the same name.
    QStringList sources(const QString &names)
    {
        QStringList paths;
        for (const QString &name : names.split(' '))
            paths << testenv::writeFile(here(QString("%1/%2").arg(paths.size()).arg(name)));
        return paths;
    }

private slots:
    void init()
    {
        settings = EngineSettings();
        settings.converter = VELINOR_FAKE_CONVERT;
        settings.destination = here("out");
        QDir().mkpath(settings.destination);
    }
    void cleanup() { env.clear(); }

    // variables of the fake converter | source, "@" the destination, "" a missing one | outcome |
    // exit code | last lines of its standard error | images left, renamed by prefix
    void outcomes_data()
    {
        testenv::table({"converted | | a.pdf | 0 | 0 | | a.png.tns",
                        "failed: its last lines | FAKE_CONVERT_STDERR=1\n2\n\n3\n4\n 5\n6\n7;"
                        "FAKE_CONVERT_FAIL=a | a.pdf | 5 | 1 | 3 4 5 6 7 |",
                        "crashed | FAKE_CONVERT_CRASH=1 | a.pdf | 6 | 11 | |",
                        "not started | | a.pdf | 4 | 0 | |", "missing | | | 1 | 0 | |",
                        "its image is the source | | @/a.png | 2 | 0 | | a.png",
                        "nothing to rename | FAKE_CONVERT_NOWRITE=1 | a.pdf | 0 | 0 | |"});
    }
    void outcomes()
    {
        QFETCH(QStringList, f);
        setEnv(f[0].toUtf8());
        if (QTest::currentDataTag() == QByteArray("not started"))
            settings.converter = here("none/convert");
        const QString source =
            f[1].isEmpty()
                ? here("none.pdf")
                : testenv::writeFile(f[1].startsWith('@') ? settings.destination + f[1].mid(1)
                                                          : here(f[1]),
                                     "%PDF-1.4\n");
        settings.tns = TnsRename::ByPrefix;

        const Told told = run(settings, {source});
        QCOMPARE(told.results.size(), 1);
        const FileResult r = told.results.first();
        QCOMPARE(int(r.outcome), f[2].toInt());
        QCOMPARE(r.exitCode, f[3].toInt());
        QCOMPARE(r.errorTail.join(' '), f[4]);
        QCOMPARE(r.renameFailed,
                 !r.refused() && (r.outcome != Outcome::Converted || f[0].contains("NOWRITE")));
        QCOMPARE(testenv::fileNames(settings.destination).join(' '), f[5]);
        QCOMPARE(told.events, QStringList({"+0", "0"}).mid(r.refused() ? 1 : 0));
    }

    // source | one image | pages | FAKE_CONVERT_FAIL | the calls' inputs | images. One job, so
    // that the ranges run one after the other and the failing one is the last.
    void ranges_data()
    {
        testenv::table({"split | d.pdf | 0 | 20 | | d.pdf[0-7] d.pdf[8-15] d.pdf[16-19] | 20",
                        "stops at the failing range | d.pdf | 0 | 20 | [8-15] | "
                        "d.pdf[0-7] d.pdf[8-15] | 8",
                        "the first range fails | d.pdf | 0 | 20 | [0-7] | d.pdf[0-7] | 0",
                        "short | d.pdf | 0 | 3 | | d.pdf | 3",
                        "one image | d.pdf | 1 | 20 | | d.pdf | 1",
                        "a frame template | d%.pdf | 0 | 20 | | d%.pdf | 20"});
    }
    void ranges()
    {
        QFETCH(QStringList, f);
        log = here("convert.log");
        setEnv("FAKE_CONVERT_LOG=" + log.toUtf8() + ";FAKE_CONVERT_PAGES=" + f[2].toUtf8() +
               ";FAKE_CONVERT_FAIL=" + f[3].toUtf8());
        settings.options.append = f[1] == "1";
        const Told told = run(settings, {testenv::writeFile(here(f[0]), "%PDF-1.4\n")});
        QCOMPARE(told.results.value(0).outcome,
                 f[3].isEmpty() ? Outcome::Converted : Outcome::Failed);
        QStringList inputs;
        for (const QStringList &call : testenv::fakeConverterCalls(log))
            inputs << velinor::fileName(call.value(call.indexOf("-background") - 1));
        QCOMPARE(inputs.join(' '), f[4]);
        QCOMPARE(testenv::fileNames(settings.destination).size(), f[5].toInt());
    }

    // Two jobs: files whose images could bear the same names never run at once.
    // sources | renaming: 1 by prefix, 2 own images | whether they ran at once
    void sideBySide_data()
    {
        testenv::table({"other names | a.pdf b.pdf | 1 | 1", "a page name | a.pdf a-1.pdf | 0 | 0",
                        "the same name | a.pdf a.pdf | 2 | 0",
                        "a prefix, renamed by prefix | ch.pdf chap.pdf | 1 | 0",
                        "a prefix, own images | ch.pdf chap.pdf | 2 | 1"});
    }
    void sideBySide()
    {
        QFETCH(QStringList, f);
        settings.converter = timed();
        settings.tns = TnsRename(f[1].toInt());
        settings.jobs = 2;
        QCOMPARE(run(settings, sources(f[0])).results.size(), 2);
        const QStringList calls = QString(testenv::readFile(log)).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(calls.size(), 4);
        QCOMPARE(calls.at(1).startsWith('+'), f[2] == "1");
    }

    // The slow first file ends last, and is still told first.
    void toldInListOrder()
    {
        settings.converter = timed();
        settings.jobs = 3;
        QStringList files = sources("slow.pdf b.png");
        files.insert(1, tmp.filePath("none.pdf"));
        const Told told = run(settings, files);
        QCOMPARE(told.events.join(' '), QString("+0 0 1 +2 2"));
    }

    // stops, ms after the start | sources
    void stop_data()
    {
        testenv::table({"the converters end at once | 300 | long1.pdf long2.pdf long3.pdf",
                        "a second stop kills | 300 400 | stubborn.pdf long2.pdf long3.pdf"});
    }
    void stop()
    {
        QFETCH(QStringList, f);
        QList<int> stops;
        for (const QString &ms : f[0].split(' '))
            stops << ms.toInt();
        settings.converter = timed();
        setEnv("VELINOR_TEST_MARK=" + QByteArray(QTest::currentDataTag()));
        settings.jobs = 2;
        settings.tns = TnsRename::ByPrefix;
        QElapsedTimer clock;
        clock.start();
        const Told told = run(settings, sources(f[1]), stops);
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(told.stopped);
        QCOMPARE(told.events.join(' '), QString("+0 +1"));
        QCOMPARE(testenv::fileNames(settings.destination), QStringList());
        QTRY_COMPARE_WITH_TIMEOUT(processes::marked("VELINOR_TEST_MARK", QTest::currentDataTag()),
                                  QStringList(), 1000);
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"

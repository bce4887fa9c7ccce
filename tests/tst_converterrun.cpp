// What the run of the converter hands back, and how its arguments reach it.
#include "converterrun.h"
#include "testenv.h"

#include <QTemporaryDir>
#include <QTest>

class TestConverterRun : public QObject
{
    Q_OBJECT

private slots:
    void result_data()
    {
        QTest::addColumn<QByteArray>("exitCode");
        QTest::addColumn<bool>("crash");
        QTest::addColumn<int>("expected");

        QTest::newRow("success") << QByteArray("0") << false << 0;
        QTest::newRow("exit code 3") << QByteArray("3") << false << 3;
        QTest::newRow("crash") << QByteArray("0") << true << -1;
    }

    void result()
    {
        QFETCH(QByteArray, exitCode);
        QFETCH(bool, crash);
        QTemporaryDir dir;
        ScopedEnv exit("FAKE_CONVERT_EXIT", exitCode);
        // The fake takes an empty value for unset.
        ScopedEnv crashes("FAKE_CONVERT_CRASH", crash ? QByteArray("1") : QByteArray());

        const int code = velinor::runConverter(VELINOR_FAKE_CONVERT,
                                               {dir.filePath("in.pdf"), dir.filePath("out.png")});

        QTEST(code, "expected");
    }

    void missingProgram_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("no such file") << "/nonexistent/velinor/convert";
        QTest::newRow("empty path") << "";
        QTest::newRow("a folder") << QDir::tempPath();
    }

    void missingProgram()
    {
        QFETCH(QString, program);
        QCOMPARE(velinor::runConverter(program, {"in.pdf", "out.png"}), -2);
    }

    // No shell stands between the program and its arguments: nothing is split, expanded or
    // unquoted on the way.
    void argumentsArriveUnchanged()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath("calls.log");
        ScopedEnv logTo("FAKE_CONVERT_LOG", log.toLocal8Bit());
        ScopedEnv noWrite("FAKE_CONVERT_NOWRITE", "1");
        const QStringList args{"-density",
                               "150",
                               "C:/Mes cours/chap 1.pdf",
                               "say \"hello\" it's",
                               "$HOME",
                               "*",
                               "a;b|c&d",
                               "",
                               "`id`",
                               "D:/Mes images/chap 1.png"};

        QCOMPARE(velinor::runConverter(VELINOR_FAKE_CONVERT, args), 0);

        const QList<QStringList> calls = testenv::fakeConverterCalls(log);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first(), args);
    }
};

QTEST_GUILESS_MAIN(TestConverterRun)
#include "tst_converterrun.moc"

// Start-up: the translation file is chosen from the system language and read from the working
// directory; without one the French texts show.
#include "testenv.h"
#include "translation.h"

#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT

private:
    struct Probe
    {
        QHash<QString, QString> seen;
        int exitCode = -1;
    };
    static Probe runProbe(const QByteArray &locale, const QString &workingDir)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(locale));
        env.remove(QStringLiteral("LANGUAGE"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(workingDir);
        p.start(QStringLiteral(VELINOR_TESTS_BIN_DIR "/startup_probe"), {});
        Probe out;
        if (!p.waitForFinished(30000))
            return out;
        const QStringList lines =
            QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            const int eq = line.indexOf(QLatin1Char('='));
            if (eq > 0)
                out.seen.insert(line.left(eq), line.mid(eq + 1));
        }
        out.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        return out;
    }

private slots:
    void fileName_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fr_FR") << "fr_FR"
                               << "velinor_fr";
        QTest::newRow("de_CH") << "de_CH"
                               << "velinor_de";
        QTest::newRow("en_US") << "en_US"
                               << "velinor_en";
        QTest::newRow("C") << "C"
                           << "velinor_C";
        QTest::newRow("script") << "zh_Hant_TW"
                                << "velinor_zh";
        QTest::newRow("empty") << ""
                               << "velinor_";
    }
    void fileName()
    {
        QFETCH(QString, locale);
        QFETCH(QString, expected);
        QCOMPARE(velinor::translationFileName(locale), expected);
    }

    void language_data()
    {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<bool>("inRuntimeDir");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("convert");
        QTest::addColumn<QString>("source");

        const QString frTitle = QStringLiteral("velinor par pivolette");
        QTest::newRow("English beside the .qm")
            << QByteArray("en_US.UTF-8") << true << "velinor by pivolette"
            << "velinor by pivolette"
            << "Convert!"
            << "Files to convert:";
        QTest::newRow("English elsewhere")
            << QByteArray("en_GB.UTF-8") << false << frTitle << frTitle << "Convertir !"
            << "Fichiers à convertir :";
        QTest::newRow("French") << QByteArray("fr_FR.UTF-8") << true << frTitle << frTitle
                                << "Convertir !"
                                << "Fichiers à convertir :";
        QTest::newRow("C locale") << QByteArray("C") << true << frTitle << frTitle << "Convertir !"
                                  << "Fichiers à convertir :";
    }
    void language()
    {
        QFETCH(QByteArray, locale);
        QFETCH(bool, inRuntimeDir);
        QFETCH(QString, title);
        QFETCH(QString, status);
        QFETCH(QString, convert);
        QFETCH(QString, source);

        QTemporaryDir elsewhere;
        const Probe probe =
            runProbe(locale, inRuntimeDir ? QStringLiteral(VELINOR_RUNTIME_DIR) : elsewhere.path());
        QCOMPARE(probe.exitCode, 0);
        QCOMPARE(probe.seen.value(QStringLiteral("title")), title);
        QCOMPARE(probe.seen.value(QStringLiteral("status")), status);
        QCOMPARE(probe.seen.value(QStringLiteral("convert")), convert);
        QCOMPARE(probe.seen.value(QStringLiteral("source")), source);
        QCOMPARE(probe.seen.value(QStringLiteral("progress")), QStringLiteral("hidden"));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"

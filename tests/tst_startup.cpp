// Start-up: the translation file is chosen from the system language and read from the working
// directory, the program's folder or the installed translations; without one the French texts
// show. Qt's own dialogs speak the system language.
#include "testenv.h"
#include "translation.h"

#include <QDir>
#include <QFile>
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
    // Where the probe and velinor_en.qm are when the probe starts.
    enum class Layout {
        BuildFolder,   // started from the build folder, which holds the .qm
        Elsewhere,     // started from another folder: no .qm where it looks
        ProgramFolder, // the .qm beside a copy of the program
        Installed,     // bin/probe and share/velinor/translations/velinor_en.qm
    };
    static Probe runProbe(const QByteArray &locale, Layout layout)
    {
        QTemporaryDir tree;
        QString program = QStringLiteral(VELINOR_TESTS_BIN_DIR "/startup_probe");
        QString workingDir = tree.path();
        const QString qm = QStringLiteral(VELINOR_RUNTIME_DIR "/velinor_en.qm");
        if (layout == Layout::BuildFolder) {
            workingDir = QStringLiteral(VELINOR_RUNTIME_DIR);
        } else if (layout != Layout::Elsewhere) {
            const QString bin = tree.filePath(QStringLiteral("bin"));
            const QString qmFolder =
                layout == Layout::Installed
                    ? tree.filePath(QStringLiteral("share/velinor/translations"))
                    : bin;
            if (!QDir().mkpath(bin) || !QDir().mkpath(qmFolder) ||
                !QFile::copy(program, bin + QStringLiteral("/startup_probe")) ||
                !QFile::copy(qm, qmFolder + QStringLiteral("/velinor_en.qm")))
                return {};
            program = bin + QStringLiteral("/startup_probe");
            workingDir = QStringLiteral("/");
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(locale));
        env.remove(QStringLiteral("LANGUAGE"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(workingDir);
        p.start(program, {});
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
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("convert");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("lookIn"); // Qt's texts
        QTest::addColumn<QString>("cancel");

        const QString frTitle = QStringLiteral("velinor par pivolette");
        const QString frConvert = QStringLiteral("Convertir !");
        const QString frSource = QStringLiteral("Fichiers à convertir :");
        const QString en[] = {"velinor by pivolette", "Convert!",
                              "Files to convert:", "Look in:", "Cancel"};
        QTest::newRow("English beside the .qm") << QByteArray("en_US.UTF-8") << Layout::BuildFolder
                                                << en[0] << en[1] << en[2] << en[3] << en[4];
        QTest::newRow("English beside the program")
            << QByteArray("en_US.UTF-8") << Layout::ProgramFolder << en[0] << en[1] << en[2]
            << en[3] << en[4];
        QTest::newRow("English installed") << QByteArray("en_GB.UTF-8") << Layout::Installed
                                           << en[0] << en[1] << en[2] << en[3] << en[4];
        QTest::newRow("English, no .qm found")
            << QByteArray("en_GB.UTF-8") << Layout::Elsewhere << frTitle << frConvert << frSource
            << en[3] << en[4];
        QTest::newRow("French") << QByteArray("fr_FR.UTF-8") << Layout::BuildFolder << frTitle
                                << frConvert << frSource << "Voir dans :"
                                << "Annuler";
        QTest::newRow("French installed, Canada")
            << QByteArray("fr_CA.UTF-8") << Layout::Installed << frTitle << frConvert << frSource
            << "Voir dans :"
            << "Annuler";
        QTest::newRow("C locale") << QByteArray("C") << Layout::BuildFolder << frTitle << frConvert
                                  << frSource << en[3] << en[4];
    }
    void language()
    {
        QFETCH(QByteArray, locale);
        QFETCH(Layout, layout);
        QFETCH(QString, title);
        QFETCH(QString, convert);
        QFETCH(QString, source);
        QFETCH(QString, lookIn);
        QFETCH(QString, cancel);

        const Probe probe = runProbe(locale, layout);
        QCOMPARE(probe.exitCode, 0);
        QCOMPARE(probe.seen.value(QStringLiteral("title")), title);
        QCOMPARE(probe.seen.value(QStringLiteral("status")), title);
        QCOMPARE(probe.seen.value(QStringLiteral("convert")), convert);
        QCOMPARE(probe.seen.value(QStringLiteral("source")), source);
        QCOMPARE(probe.seen.value(QStringLiteral("progress")), QStringLiteral("hidden"));
        QCOMPARE(probe.seen.value(QStringLiteral("lookIn")), lookIn);
        QCOMPARE(probe.seen.value(QStringLiteral("cancel")), cancel);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"

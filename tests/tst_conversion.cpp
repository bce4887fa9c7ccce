// Runs from "Convertir !" with the fake converter: what each file becomes and the boxes it
// brings, what the user sees of a run, the stop button, and the options the converter is given.
#include "arguments.h"
#include "processes.h"
#include "windowdriver.h"

#include <QElapsedTimer>

Q_DECLARE_METATYPE(velinor::ConversionOptions)

class TestConversion : public QObject
{
    Q_OBJECT

private slots:
    // Each row: a window::Session up to the run, its destination, then what it shows.
    void run_data()
    {
        QTest::addColumn<QStringList>("session");
        const auto row = [](const char *tag, const char *before, const char *destination,
                            const char *after) {
            QTest::newRow(tag) << QStringList{before, destination, after};
        };
        row("missing file", "drop @a.pdf !@b.pdf @c.pdf; answer", "@out/new",
            "files @out/new a.png c.png; modals W:Le fichier spécifié n'existe pas !; statuses La "
            "conversion a commencé... / Conversion de \"a.pdf\" / Conversion de \"c.pdf\" / Fini "
            "!; peak 100; is progressBar visible false");
        row("nothing listed", "", "@out", "statuses La conversion a commencé... / Fini !");
        row("would replace a source", "drop @out/photo.png @b.pdf; answer", "@out",
            "files @out b.png photo.png; modals C:Conversion impossible de \"photo.png\" : l'image "
            "remplacerait le fichier source. Choisissez un autre dossier de destination.");
        row("converter fails", "env FAKE_CONVERT_FAIL=bad; drop @bad.pdf @good.pdf; answer", "@out",
            "files @out good.png; modals C:Erreur durant la conversion de \"bad.pdf\".");
        row("converter crashes", "env FAKE_CONVERT_CRASH=1; drop @a.pdf; answer", "@out",
            "files @out; modals C:Erreur durant la conversion de \"a.pdf\".");
        row("converter gone",
            "touch @bin; install @bin/convert; new @bin; rm @bin/convert; drop @a.pdf; answer",
            "@out", "files @out; modals C:Erreur durant la conversion de \"a.pdf\".");
        row("renamed by prefix",
            "touch @out/chx.png @out/x.png; drop @ch.pdf; set choixTNS checked 1", "@out",
            "files @out ch.png.tns chx.png.tns x.png");
        row("nothing to rename",
            "env FAKE_CONVERT_NOWRITE=1; drop @a.pdf @b.pdf; answer; answer; set choixTNS checked "
            "1",
            "@out",
            "modals W:L'opération de renommage en .tns a échoué. W:L'opération de renommage en "
            ".tns a échoué.");
        row("listed image kept", "drop @out/chx.png @ch.pdf; answer; set choixTNS checked 1",
            "@out",
            "files @out ch.png.tns chx.png; modals C:Conversion impossible de \"chx.png\" : "
            "l'image remplacerait le fichier source. Choisissez un autre dossier de destination.");
        row("no converter", "answer; answer; new @none; drop @a.pdf; answer", "@out",
            "statuses; modals I: /usr/bin W:Erreur : Chemin vers \"convert.exe\" invalide.\nAllez "
            "dans le menu Fichier pour le re-détecter.");
        row("no destination", "drop @a.pdf; answer", "",
            "statuses; modals W:Aucun répertoire de sortie n'est défini.");
    }
    void run()
    {
        QFETCH(QStringList, session);
        window::Session().play(session[0] + "; set lineChemin text " + session[1] +
                               "; click boutonConvertir; " + session[2]);
    }

    // "Arrêter", or closing the window, ends the run at once: its converters are stopped,
    // nothing is written or renamed, and the inputs that waited during the run are given back.
    void stop_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Arrêter") << "boutonArreter";
        QTest::newRow("closing the window") << "actionQuitter";
    }
    void stop()
    {
        QFETCH(QString, how);
        window::Session s;
        const QString inputs = "listeFichiersChoisis boutonSelectFichiers lineChemin "
                               "boutonChoisirDest tabWidget boutonConvertir boutonRenommerTNS "
                               "boutonRenommerIMG actionVider_la_liste actionD_tecter_convert_exe";
        s.play("env FAKE_CONVERT_SLEEP=30; env VELINOR_TEST_MARK=@; drop @a.pdf; set "
               "choixTNS checked 1; set lineChemin text @out");
        const auto converters = [&s] {
            return processes::marked("VELINOR_TEST_MARK", s.tmp.path() + '/');
        };
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (converters().filter(":sleep").isEmpty())
                return; // no converter at work yet
            poll.stop();
            for (const QString &input : window::words(inputs))
                s.play("is " + input + " enabled false");
            s.play("is boutonArreter visible true; click " + how);
        });
        poll.start(20);
        QElapsedTimer clock;
        clock.start();
        s.play("click boutonConvertir; statuses Conversion arrêtée.; files @out; modals; is "
               "boutonArreter visible false");
        QVERIFY(clock.elapsed() < 5000);
        for (const QString &input : window::words(inputs))
            s.play("is " + input + " enabled true");
        s.play(QString("is centralWidget visible ") + (how == "actionQuitter" ? "false" : "true"));
        QTRY_COMPARE_WITH_TIMEOUT(converters(), QStringList(), 2000);
    }

    // The window reads each option from its widget; the call itself is the core's to build.
    void options_data()
    {
        using O = velinor::ConversionOptions;
        QTest::addColumn<QString>("widget"); // checked, or set to 3
        QTest::addColumn<O>("options");
        const auto row = [](const char *widget, void (*change)(O &)) {
            O o;
            change(o);
            QTest::newRow(widget) << QString::fromLatin1(widget) << o;
        };
        row("radioQualiteMoyenne", [](O &) {});
        row("radioQualiteBasse", [](O &o) { o.supersampling = O::Supersampling::Low; });
        row("radioQualiteHaute", [](O &o) { o.supersampling = O::Supersampling::High; });
        row("radioNoirEtBlanc", [](O &o) { o.colourMode = O::ColourMode::BlackWhite; });
        row("radioGrayscale8", [](O &o) { o.colourMode = O::ColourMode::Grey8; });
        row("radioCouleurs4", [](O &o) { o.colourMode = O::ColourMode::Colour4; });
        row("radioCouleurs8", [](O &o) { o.colourMode = O::ColourMode::Colour8; });
        row("choixJPEG",
            [](O &o) { o.png = false, o.colourMode = O::ColourMode::Colour8, o.compression = 5; });
        row("spinCompression", [](O &o) { o.compression = 3; });
        row("choixRedim", [](O &o) { o.resize = true; });
        row("choixAppend", [](O &o) { o.append = true; });
    }
    void options()
    {
        QFETCH(QString, widget);
        QFETCH(velinor::ConversionOptions, options);
        window::Session s;
        const QString log = s.tmp.filePath("calls");
        s.play("env FAKE_CONVERT_LOG=" + log + "; drop @doc.pdf; set " + widget +
               (widget.startsWith("spin") ? " value 3" : " checked 1") +
               "; set lineChemin text @out; click boutonConvertir");
        const QString doc = s.tmp.filePath("doc.pdf"), out = s.tmp.filePath("out");
        QCOMPARE(testenv::fakeConverterCalls(log),
                 QList<QStringList>{velinor::buildConversion(doc, out, options).arguments});
    }
};

QTEST_MAIN(TestConversion)
#include "tst_conversion.moc"

// Runs from "Convertir !" with the fake converter: what each file becomes and the boxes it
// brings, what the user sees of a run, the stop button, and the options the converter is given.
#include "arguments.h"
#include "imagemagick.h"
#include "processes.h"
#include "windowdriver.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

// The question asked when ImageMagick refuses PDF, with the user's folder of settings in @cfg.
static const QString asked = "Q:ImageMagick, qui convertit les fichiers, refuse de lire les PDF "
                             "sur cet ordinateur : ses réglages de sécurité l'interdisent.\n\n"
                             "velinor peut les autoriser pour votre compte seulement, en "
                             "écrivant le fichier « @cfg/ImageMagick/policy.xml ». Rien ne "
                             "change pour le reste du système.\n\nAutoriser ImageMagick à lire "
                             "les PDF ? ";

// Counts a status bar's paintings and what it showed at the last.
struct PaintSpy : QObject
{
    int paints = 0;
    QString lastPainted;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints, lastPainted = static_cast<QStatusBar *>(watched)->currentMessage();
        return false;
    }
};

class TestConversion : public QObject
{
    Q_OBJECT

private slots:
    // Each row a window::Session; the one file that is not there is in /gone.
    void session_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::newRow("missing file")
            << "drop @a.pdf /gone/b.pdf @c.pdf; answer; convert @out/new; files @out/new a.png "
               "c.png; modals W:Le fichier spécifié n'existe pas !; statuses La conversion a "
               "commencé... / Conversion de \"a.pdf\" / Conversion de \"c.pdf\" / Fini !; is "
               "progressBar visible false; is progressBar value 0; details « /gone/b.pdf » "
               "n'existe pas.";
        QTest::newRow("a folder listed")
            << "drop @dir; answer; convert @out; details « @dir » n'est pas un fichier ordinaire "
               "(un dossier, un tube ou un périphérique, par exemple).";
        QTest::newRow("would replace a source")
            << "drop @out/photo.png @b.pdf; answer; convert @out; files @out b.png photo.png; "
               "modals C:Conversion impossible de \"photo.png\" : l'image remplacerait le fichier "
               "source. Choisissez un autre dossier de destination.; details @out/photo.png";
        QTest::newRow("converter fails")
            << "env FAKE_CONVERT_FAIL=bad; env FAKE_CONVERT_STDERR=\\033[2Jgone\\n\\nlast; drop "
               "@bad.pdf @good.pdf; answer; convert @out; files @out good.png; modals C:Erreur "
               "durant la conversion de \"bad.pdf\".; details Code de sortie du convertisseur : "
               "1\n\\x1b[2Jgone\nlast";
        QTest::newRow("converter not startable")
            << "answer; answer @notes.txt; env PATH=@none; new; drop @a.pdf; answer; convert @out; "
               "modals I: /usr/bin C:Erreur durant la conversion de \"a.pdf\".";
        QTest::newRow("no converter")
            << "answer; answer; env PATH=@none; new; drop @a.pdf; answer; convert @out; statuses; "
               "modals I: /usr/bin W:Erreur : Chemin vers \"convert.exe\" invalide.\nAllez dans le "
               "menu Fichier pour le re-détecter.";
        QTest::newRow("a destination that cannot be made")
            << "env FAKE_CONVERT_NOWRITE=1; env FAKE_CONVERT_EXIT=1; drop @a.pdf; answer; convert "
               "@a.pdf/out; details Impossible de créer le dossier de destination « @a.pdf/out ».\n"
               "« @a.pdf » n'est pas un dossier.\nCode de sortie du convertisseur : 1";
        QTest::newRow("no destination") << "drop @a.pdf; answer; convert; statuses; modals W:Aucun "
                                           "répertoire de sortie n'est défini.";
        // After each file, ".tns" goes to every image of the destination whose name begins with
        // the file's base name, but never to a listed file.
        QTest::newRow("renamed by prefix")
            << "touch @out/chx.png @out/x.png; drop @ch.pdf; set choixTNS checked 1; convert @out; "
               "files @out ch.png.tns chx.png.tns x.png";
        QTest::newRow("listed image kept")
            << "drop @out/chx.png @ch.pdf; answer; set choixTNS checked 1; convert @out; files "
               "@out ch.png.tns chx.png";
        // ImageMagick refusing PDF until the user's own policy grants it, as Debian's does.
        const QString refusing = "env FAKE_CONVERT_POLICY=refuse; env XDG_CONFIG_HOME=@cfg; "
                                 "drop @a.pdf; ";
        QTest::newRow("PDF allowed for the user")
            << refusing + "answer Yes; convert @out; files @out a.png; convert @out; modals " +
                   asked + "; files @cfg/ImageMagick policy.xml";
        QTest::newRow("PDF not allowed")
            << refusing + "answer No; answer; convert @out; files @out; files @cfg; details Code "
                          "de sortie du convertisseur : 1\nconvert: attempt to perform an "
                          "operation not allowed by the security policy `PDF'.";
        QTest::newRow("a policy that cannot be merged")
            << "touch @cfg/ImageMagick/policy.xml; " + refusing +
                   "answer Yes; answer; answer; convert @out; files @out; modals " + asked +
                   "W:Votre politique d'ImageMagick n'est pas un fichier qu'il sait lire. Le "
                   "fichier « @cfg/ImageMagick/policy.xml » est resté tel quel, et ImageMagick "
                   "refuse toujours les PDF : Premature end of document. (1:0) C:Erreur durant la "
                   "conversion de "
                   "\"a.pdf\".";
        // Three ranges of 8 pages: the bar moves after each, whatever order they end in.
        QTest::newRow("a long document's progress")
            << "env FAKE_CONVERT_PAGES=24; drop @a.pdf; convert @out; progress 24 49 74 100 0";
        QTest::newRow("nothing to rename")
            << "env FAKE_CONVERT_NOWRITE=1; drop @a.pdf; answer; set choixTNS checked 1; convert "
               "@out; modals W:L'opération de renommage en .tns a échoué.";
        // The window reads each option from its widget; the call itself is the core's to build.
        using O = velinor::ConversionOptions;
        using S = O::Supersampling;
        using C = O::ColourMode;
        const auto option = [](const char *step, void (*change)(O &)) {
            O o;
            change(o);
            const QStringList call =
                velinor::buildConversion("/S/doc.pdf", "/S/out", o).command.arguments();
            QTest::newRow(step) << "drop @doc.pdf; set " + QString(step) + "; convert @out; call " +
                                       call.join(' ').replace("/S/", "@");
        };
        option("radioQualiteMoyenne checked 1", [](O &) {});
        option("radioQualiteBasse checked 1", [](O &o) { o.supersampling = S::Low; });
        option("radioQualiteHaute checked 1", [](O &o) { o.supersampling = S::High; });
        option("radioNoirEtBlanc checked 1", [](O &o) { o.colourMode = C::BlackWhite; });
        option("radioGrayscale8 checked 1", [](O &o) { o.colourMode = C::Grey8; });
        option("radioCouleurs4 checked 1", [](O &o) { o.colourMode = C::Colour4; });
        option("radioCouleurs8 checked 1", [](O &o) { o.colourMode = C::Colour8; });
        option("choixJPEG checked 1",
               [](O &o) { o.png = false, o.colourMode = C::Colour8, o.compression = 5; });
        option("spinCompression value 3", [](O &o) { o.compression = 3; });
        option("choixRedim checked 1", [](O &o) { o.resize = true; });
        option("choixAppend checked 1", [](O &o) { o.append = true; });
    }
    void session()
    {
        QFETCH(QString, steps);
        window::Session().play(steps);
    }

    // Debian's ImageMagick, with no policy of the user's: asked once, Oui lets the PDF convert
    // and no later run asks; Non writes nothing and the PDF fails.
    void realPolicy_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::newRow("Oui")
            << "answer Yes; convert @out; files @out a.png; convert @out; modals " + asked +
                   "; files @cfg/ImageMagick policy.xml";
        QTest::newRow("Non") << "answer No; answer; convert @out; files @out; files @cfg; modals " +
                                    asked + "C:Erreur durant la conversion de \"a.pdf\".";
    }
    void realPolicy()
    {
        REQUIRE_IMAGEMAGICK();
        QFETCH(QString, steps);
        window::Session s;
        imagemagick::sh("pdf " + s.tmp.filePath("a.pdf") + " 1");
        s.play(
            "env HOME=@home; env XDG_CONFIG_HOME=@cfg; env PATH=/usr/bin:/bin; new; drop @a.pdf; " +
            steps);
    }

    // The first listed file on the calculator's screen, by Debian's ImageMagick: a picture of
    // 320×240 at 1:1 that the arrow keys move and Page Down turns, nothing written but in a
    // temporary folder of its own, gone once Escape closes it.
    void preview()
    {
        REQUIRE_IMAGEMAGICK();
        window::Session s;
        imagemagick::sh("pdf " + s.tmp.filePath("a.pdf") + " 2 400"); // 834 px: 3 screens across
        s.play("touch @t; env TMPDIR=@t; env HOME=@home; env XDG_CONFIG_HOME=@cfg; env "
               "PATH=/usr/bin:/bin; new; drop @a.pdf; answer Yes; click boutonApercu");
        auto *screen = s.window()->findChild<QLabel *>("labelEcran");
        QVERIFY(screen);
        const auto picture = [&] { return screen->pixmap().toImage(); };
        const auto place = [&] { return s.window()->findChild<QLabel *>("labelPosition")->text(); };
        QTRY_VERIFY_WITH_TIMEOUT(!picture().isNull(), 10000);
        QCOMPARE(picture().size(), QSize(320, 240));
        // The page's drawing fills its bottom left quarter only.
        QImage seen = picture();
        for (const auto key :
             {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Right}) {
            QTest::keyClick(screen->window(), key);
            QVERIFY2(picture() != seen || key == Qt::Key_Down, qPrintable(place()));
            seen = picture();
        }
        QCOMPARE(place(), QString("Page 1 sur 2, écran 11 sur 12 : une ligne tient sur 3 écran(s), "
                                  "la page sur 12."));
        QTest::keyClick(screen->window(), Qt::Key_PageDown);
        QTRY_VERIFY_WITH_TIMEOUT(place().startsWith("Page 2 sur 2, écran 1 "), 10000);
        QCOMPARE(testenv::fileNames(s.tmp.path()), QStringList({"a.pdf"}));
        QTest::keyClick(screen->window(), Qt::Key_Escape);
        QTRY_COMPARE(QDir(s.tmp.filePath("t")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList());
    }

    // The calculator's page: its check box, its width and its archive reach the run; unchecked,
    // the width is not used. What came out is read by ImageMagick: names and widths.
    void calculator_data()
    {
        for (const char *column : {"steps", "written"})
            QTest::addColumn<QString>(column);
        QTest::newRow("one screen")
            << "set choixEcran checked true; set comboLargeur currentIndex 0"
            << "c-0.png 320\nc-1.png 320\n";
        QTest::newRow("the default, packed") << "set choixEcran checked true; set choixCbz checked "
                                                "true"
                                             << "c.cbz.tns: c-p0001.png 640 c-p0002.png 640\n";
        QTest::newRow("cut, one screen wide")
            << "set choixDecoupe checked true; set choixEcran "
               "checked true; set comboLargeur currentIndex 0"
            << "c-p001-01.png 320\nc-p001-02.png 320\nc-p002-01.png "
               "320\nc-p002-02.png 320\nc-p002-03.png 320\n";
        QTest::newRow("three screens, unchecked") << "set comboLargeur currentIndex 2"
                                                  << "c-0.png 1240\nc-1.png 1240\n";
    }
    void calculator()
    {
        REQUIRE_IMAGEMAGICK();
        QFETCH(QString, steps);
        QFETCH(QString, written);
        window::Session s;
        imagemagick::sh("course " + s.tmp.filePath("c.pdf") + " 2");
        s.play(
            "env HOME=@home; env XDG_CONFIG_HOME=@cfg; env PATH=/usr/bin:/bin; new; drop @c.pdf; "
            "answer Yes; " +
            steps + "; convert @out");
        QCOMPARE(imagemagick::sh("cd " + s.tmp.filePath("out") + R"sh( && for i in *; do
            case $i in
            *.cbz.tns) echo "$i:" $(for e in $(unzip -Z1 "$i"); do
                           echo "$e"; unzip -p "$i" "$e" | identify -format "%w\\n" -; done) ;;
            *) identify -format '%f %w\n' "$i" ;;
            esac; done)sh"),
                 written);
    }

    // A run of quick files paints the status bar a few times a second, not once a file, and
    // ends with its last message painted.
    void paintingHeldBack()
    {
        window::Session s;
        for (int i = 0; i < 60; ++i)
            s.play(QString("drop @f%1.pdf").arg(i));
        PaintSpy spy;
        s.window()->statusBar()->installEventFilter(&spy);
        QElapsedTimer clock;
        clock.start();
        s.play("convert @out");
        const qint64 ms = clock.elapsed();
        QTRY_COMPARE(spy.lastPainted, QString("Fini !"));
        QVERIFY2(spy.paints <= ms / 50 + 3,
                 qPrintable(QString("%1 in %2 ms").arg(spy.paints).arg(ms)));
    }

    // "Arrêter", closing the window once the user agreed, or SIGTERM ends the run at once: its
    // converter is stopped, nothing is written, renamed or left behind, and the inputs that
    // waited are given back. Going on keeps it running until stopped.
    void stop_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("closed");
        QTest::newRow("Arrêter") << "click boutonArreter" << false;
        QTest::newRow("closing the window")
            << "answer Arrêter et quitter; click actionQuitter; modals Q:Une conversion est en "
               "cours. Voulez-vous l'arrêter et quitter velinor ? Les images en cours "
               "d'écriture seront incomplètes."
            << true;
        QTest::newRow("closing, then going on")
            << "answer; click actionQuitter; is boutonArreter visible true; click boutonArreter"
            << false;
        QTest::newRow("a signal from the system") << "signal" << true;
    }
    void stop()
    {
        QFETCH(QString, how);
        QFETCH(bool, closed);
        window::Session s;
        const QString inputs = "is boutonConvertir enabled %1; is actionVider_la_liste enabled %1; "
                               "is MainWindow acceptDrops %1; is actionD_tecter_convert_exe "
                               "enabled %1; is boutonArreter visible %2";
        const QString log = s.tmp.filePath("log"); // what the converter it starts carries
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (processes::marked("FAKE_CONVERT_LOG", log).join(' ').contains(":sleep"))
                poll.stop(), s.play(inputs.arg("false", "true") + "; " + how +
                                    "; is MainWindow visible true");
        });
        poll.start(20);
        s.play("touch @t; env TMPDIR=@t; env FAKE_CONVERT_SLEEP=30; drop @a.pdf; set choixTNS "
               "checked 1; convert @out; statuses Conversion arrêtée.; files @out; " +
               inputs.arg("true", "false") + "; is centralWidget visible " +
               (closed ? "false" : "true"));
        // A process killed at the run's end may take a moment to be scheduled and die.
        QTRY_COMPARE_WITH_TIMEOUT(processes::marked("FAKE_CONVERT_LOG", log), QStringList(), 1000);
        QCOMPARE(QDir(s.tmp.filePath("t")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }
};

QTEST_MAIN(TestConversion)
#include "tst_conversion.moc"

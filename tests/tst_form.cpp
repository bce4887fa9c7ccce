// The window outside a conversion: where its converter comes from, the file list and the
// destination, the switch between PNG and JPEG, and the two rename buttons; each row a
// window::Session.
#include "windowdriver.h"

class TestForm : public QObject
{
    Q_OBJECT

private slots:
    void session_data()
    {
        QTest::addColumn<QString>("steps");
        // Without a converter on PATH a box informs and a dialog asks from /usr/bin. The answer
        // is kept unchecked; a cancel leaves no converter, not even one found before.
        QTest::newRow("missing, picked")
            << "answer; answer @x.txt; env PATH=@none; new; converter @x.txt; modals I: /usr/bin";
        QTest::newRow("gone, cancelled")
            << "env PATH=@none; answer; answer; click actionD_tecter_convert_exe; converter; "
               "modals I: /usr/bin";
        // Files join the list once, from a drop of files or the dialog, which opens in the
        // folder of the last file listed; the destination is that folder until one is set.
        QTest::newRow("dropped")
            << "is boutonArreter visible false; is progressBar visible false; drop; drop @d/a.pdf "
               "@e/b.pdf; drop @e/b.pdf @f/c.pdf @d/a.pdf; list @d/a.pdf "
               "@e/b.pdf @f/c.pdf; destination @e; is lineChemin text @e";
        QTest::newRow("dropped, not UTF-8")
            << "answer; drop @d/caf%E9.pdf @d/a.pdf; list @d/a.pdf; modals C:Le nom « "
               "@d/caf\\xe9.pdf » n'est pas en UTF-8, le codage du système : velinor ne peut pas "
               "l'utiliser tel quel et ne lira ni n'écrira rien sous un autre nom.";
        QTest::newRow("dialog") << "drop @e/x.pdf; answer @d/b.pdf @d/a.pdf; click "
                                   "boutonSelectFichiers; answer; click boutonSelectFichiers; list "
                                   "@e/x.pdf @d/b.pdf @d/a.pdf; destination @e; modals @e @d";
        QTest::newRow("removed") << "drop @d/a.pdf @d/b.pdf @d/c.pdf; unlist listeFichiersChoisis "
                                    "1; list @d/a.pdf @d/c.pdf; click actionVider_la_liste; list";
        QTest::newRow("chosen") << "touch @x; drop @d/a.pdf; set lineChemin text @x; answer @y; "
                                   "click boutonChoisirDest; destination @y; is lineChemin text "
                                   "@y; set lineChemin text; answer; click boutonChoisirDest; "
                                   "destination; drop @e/b.pdf; destination @e; modals @x @d";
        // JPEG has no 4-bit modes and reads the compression as a quality: a switch of format
        // resets the compression to the format's own and moves a 4-bit mode to colour 8 bits.
        QTest::newRow("to JPEG")
            << "set spinCompression value 2; set choixJPEG checked 1; set radioGrayscale4 checked "
               "1; is radioCouleurs8 checked true; is radioGrayscale4 enabled false; is "
               "radioCouleurs4 enabled false; is spinCompression value 5; is "
               "labelCompressionFaible "
               "text Léger mais mauvaise qualité; is labelCompressionHaute text Lourd mais bonne "
               "qualité";
        QTest::newRow("back to PNG")
            << "set radioGrayscale8 checked 1; set choixJPEG checked 1; is radioGrayscale8 checked "
               "true; set spinCompression value 2; set choixPNG checked 1; is spinCompression "
               "value 9; is labelCompressionFaible text Rapide mais lourd; is "
               "labelCompressionHaute text Lent mais léger; set radioGrayscale4 checked 1; is "
               "radioGrayscale4 checked true; set radioCouleurs4 checked 1; set "
               "choixJPEG checked 1; is radioCouleurs8 "
               "checked true";
        // In each listed file's folder the buttons rename the PNG and JPEG images whose names
        // begin with its base name to end in ".tns", and every ".png.tns" or ".jpg.tns" back; a
        // listed file keeps its name.
        QTest::newRow("renamed by prefix")
            << "touch @d/a-0.png @d/a.jpg @d/a.tns @d/ab.png @d/b.png; drop @d/a.pdf; set "
               "lineChemin text @x; click boutonRenommerTNS; files @d a-0.png.tns a.jpg.tns a.pdf "
               "a.tns ab.png.tns b.png; click boutonRenommerIMG; files @d a-0.png a.jpg a.pdf "
               "a.tns ab.png b.png; statuses Le renommage a commencé... / Fini !; is progressBar "
               "visible false";
        QTest::newRow("listed images kept")
            << "touch @d/a-0.png; drop @d/a.pdf @d/a-1.png @d/a-2.png.tns; click "
               "boutonRenommerTNS; files @d a-0.png.tns a-1.png a-2.png.tns a.pdf; click "
               "boutonRenommerIMG; files @d a-0.png a-1.png a-2.png.tns a.pdf";
        QString many; // a drop takes the first 32 files
        for (int i = 10; i < 43; ++i)
            many += QString(" @m/%1.pdf").arg(i);
        QTest::newRow("33 dropped") << "drop" + many + "; list" + many.left(many.lastIndexOf(' '));
    }
    void session()
    {
        QFETCH(QString, steps);
        window::Session().play(steps);
    }
};

QTEST_MAIN(TestForm)
#include "tst_form.moc"

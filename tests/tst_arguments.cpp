// The converter call built for one source: argument order and texts, and the names derived from
// the source and destination paths.
#include "arguments.h"

#include <QTest>

using velinor::ConversionOptions;
using Supersampling = ConversionOptions::Supersampling;
using ColourMode = ConversionOptions::ColourMode;

Q_DECLARE_METATYPE(velinor::ConversionOptions)

namespace {

ConversionOptions options(Supersampling supersampling, ColourMode mode, bool png,
                          int compression = 9, bool resize = false, bool append = false)
{
    ConversionOptions o;
    o.supersampling = supersampling;
    o.colourMode = mode;
    o.png = png;
    o.compression = compression;
    o.resize = resize;
    o.append = append;
    return o;
}

// The list of the form's default options around the given input and output.
QStringList defaultArguments(const QString &input, const QString &output)
{
    return {"-density", "150",      input,    "-background", "white",     "-alpha",
            "remove",   "-quality", "95",     "-type",       "GrayScale", "-depth",
            "4",        "-alpha",   "remove", output};
}

} // namespace

class TestArguments : public QObject
{
    Q_OBJECT

private slots:
    void build_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<ConversionOptions>("options");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("outputPath");

        const QString src = "C:/Cours/chap.1.pdf";
        const QString dest = "D:/Images";
        const QString png = "D:/Images/chap.1.png";
        const QString jpg = "D:/Images/chap.1.jpg";
        // Adds a row for the usual source and destination, where only the options vary.
        auto row = [&](const char *name, const ConversionOptions &o, const QStringList &args) {
            QTest::newRow(name) << src << dest << o << args << "chap.1.pdf"
                                << "chap.1" << (o.png ? ".png" : ".jpg") << (o.png ? png : jpg);
        };

        row("defaults of the form", ConversionOptions(), defaultArguments(src, png));
        row("jpeg colour8 high resize append",
            options(Supersampling::High, ColourMode::Colour8, false, 5, true, true),
            {"-density", "320", src, "-background", "white", "-alpha", "remove", "-quality", "55",
             "-depth", "8", "-resize", "25%", "-append", jpg});

        // Colour modes, without supersampling so that only their own arguments show.
        const Supersampling low = Supersampling::Low;
        row("black-white png", options(low, ColourMode::BlackWhite, true),
            {src, "-background", "white", "-alpha", "remove", "-quality", "95", "-type", "BiLevel",
             "-alpha", "remove", png});
        row("grey4 png", options(low, ColourMode::Grey4, true),
            {src, "-background", "white", "-alpha", "remove", "-quality", "95", "-type",
             "GrayScale", "-depth", "4", "-alpha", "remove", png});
        row("grey8 png", options(low, ColourMode::Grey8, true),
            {src, "-background", "white", "-alpha", "remove", "-quality", "95", "-type",
             "GrayScale", "-depth", "8", "-alpha", "remove", png});
        row("colour4 png", options(low, ColourMode::Colour4, true),
            {src, "-background", "white", "-alpha", "remove", "-quality", "95", "-define",
             "png:format=png8", png});
        row("colour4 jpeg", options(low, ColourMode::Colour4, false),
            {src, "-background", "white", "-alpha", "remove", "-quality", "95", "-depth", "4",
             jpg});
        row("colour8 png", options(low, ColourMode::Colour8, true),
            {src, "-background", "white", "-alpha", "remove", "-quality", "95", "-depth", "8",
             png});
        row("no colour mode jpeg", options(low, ColourMode::None, false),
            {src, "-background", "white", "-alpha", "remove", "-quality", "95", jpg});
        row("no colour mode keeps the order of the rest",
            options(Supersampling::Medium, ColourMode::None, true, 9, true, true),
            {"-density", "150", src, "-background", "white", "-alpha", "remove", "-quality", "95",
             "-resize", "50%", "-append", png});

        // Supersampling and resize read the same choice.
        const ColourMode none = ColourMode::None;
        row("low", options(low, none, true),
            {src, "-background", "white", "-alpha", "remove", "-quality", "95", png});
        row("low resize", options(low, none, true, 9, true),
            {src, "-background", "white", "-alpha", "remove", "-quality", "95", png});
        row("medium", options(Supersampling::Medium, none, true),
            {"-density", "150", src, "-background", "white", "-alpha", "remove", "-quality", "95",
             png});
        row("medium resize", options(Supersampling::Medium, none, true, 9, true),
            {"-density", "150", src, "-background", "white", "-alpha", "remove", "-quality", "95",
             "-resize", "50%", png});
        row("high", options(Supersampling::High, none, true),
            {"-density", "320", src, "-background", "white", "-alpha", "remove", "-quality", "95",
             png});
        row("high resize", options(Supersampling::High, none, true, 9, true),
            {"-density", "320", src, "-background", "white", "-alpha", "remove", "-quality", "95",
             "-resize", "25%", png});

        row("compression 0", options(low, none, true, 0),
            {src, "-background", "white", "-alpha", "remove", "-quality", "05", png});

        // Names and paths, with the default options.
        QTest::newRow("file name without dot")
            << "C:/Cours/notes" << dest << ConversionOptions()
            << defaultArguments("C:/Cours/notes", "D:/Images/.png") << "notes"
            << ""
            << ".png"
            << "D:/Images/.png";
        QTest::newRow("dot only in the folder")
            << "C:/v1.2/notes" << dest << ConversionOptions()
            << defaultArguments("C:/v1.2/notes", "D:/Images/.png") << "notes"
            << ""
            << ".png"
            << "D:/Images/.png";
        QTest::newRow("several dots")
            << "C:/Cours/a.b.c.pdf" << dest << ConversionOptions()
            << defaultArguments("C:/Cours/a.b.c.pdf", "D:/Images/a.b.c.png") << "a.b.c.pdf"
            << "a.b.c"
            << ".png"
            << "D:/Images/a.b.c.png";
        QTest::newRow("blanks in the paths")
            << "C:/Mes cours/chap 1.pdf"
            << "D:/Mes images" << ConversionOptions()
            << defaultArguments("C:/Mes cours/chap 1.pdf", "D:/Mes images/chap 1.png")
            << "chap 1.pdf"
            << "chap 1"
            << ".png"
            << "D:/Mes images/chap 1.png";
        QTest::newRow("trailing slash")
            << "C:/x.pdf"
            << "D:/Images/" << ConversionOptions()
            << defaultArguments("C:/x.pdf", "D:/Images/x.png") << "x.pdf"
            << "x"
            << ".png"
            << "D:/Images/x.png";
        QTest::newRow("drive root")
            << "C:/x.pdf"
            << "D:/" << ConversionOptions() << defaultArguments("C:/x.pdf", "D:/x.png") << "x.pdf"
            << "x"
            << ".png"
            << "D:/x.png";
        QTest::newRow("unix root")
            << "/home/x.pdf"
            << "/" << ConversionOptions() << defaultArguments("/home/x.pdf", "/x.png") << "x.pdf"
            << "x"
            << ".png"
            << "/x.png";
        // A name that begins with ":" is a Qt resource path to QDir; it is still a file here.
        QTest::newRow("name beginning with a colon")
            << "/home/:notes.pdf"
            << "/out" << ConversionOptions()
            << defaultArguments("/home/:notes.pdf", "/out/:notes.png") << ":notes.pdf"
            << ":notes"
            << ".png"
            << "/out/:notes.png";
        // QDir turns backslashes into "/" only where they separate folders, that is on Windows;
        // elsewhere a backslash is an ordinary character of a name and stays.
#ifdef Q_OS_WIN
        const QString backslashOutput = "D:/Images/x.png";
#else
        const QString backslashOutput = "D:\\Images\\/x.png";
#endif
        QTest::newRow("backslashes and trailing separator")
            << "C:/x.pdf"
            << "D:\\Images\\" << ConversionOptions()
            << defaultArguments("C:/x.pdf", backslashOutput) << "x.pdf"
            << "x"
            << ".png" << backslashOutput;
    }

    void build()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(ConversionOptions, options);

        const velinor::ConversionCall call = velinor::buildConversion(source, destination, options);

        QTEST(call.arguments, "arguments");
        QTEST(call.fileName, "fileName");
        QTEST(call.baseName, "baseName");
        QTEST(call.extension, "extension");
        QTEST(call.outputPath, "outputPath");
    }
};

QTEST_APPLESS_MAIN(TestArguments)
#include "tst_arguments.moc"

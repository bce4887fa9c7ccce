#include "arguments.h"

#include "paths.h"

namespace velinor {

namespace {

using Supersampling = ConversionOptions::Supersampling;
using ColourMode = ConversionOptions::ColourMode;

// The tens digit is the zlib level for PNG and the whole number the JPEG quality; the trailing 5
// asks PNG for adaptive row filtering, so 0 must give "05" and not "5".
QString qualityText(int compression)
{
    return QString::number(compression) + QLatin1Char('5');
}

void appendColourMode(QStringList &args, ColourMode mode, bool png)
{
    switch (mode) {
    case ColourMode::BlackWhite:
        args << QStringLiteral("-type") << QStringLiteral("BiLevel");
        break;
    case ColourMode::Grey4:
        args << QStringLiteral("-type") << QStringLiteral("GrayScale") << QStringLiteral("-depth")
             << QStringLiteral("4");
        break;
    case ColourMode::Grey8:
        args << QStringLiteral("-type") << QStringLiteral("GrayScale") << QStringLiteral("-depth")
             << QStringLiteral("8");
        break;
    case ColourMode::Colour4:
        // A palette PNG is what a 4-bpp colour screen shows best; JPEG has no palette, so the
        // depth is the nearest it gets (the form does not offer that pair, a command line may).
        if (png)
            args << QStringLiteral("-define") << QStringLiteral("png:format=png8");
        else
            args << QStringLiteral("-depth") << QStringLiteral("4");
        break;
    case ColourMode::Colour8:
        args << QStringLiteral("-depth") << QStringLiteral("8");
        break;
    case ColourMode::None:
        break;
    }
    // Grey and two-level images never carry an alpha channel, whatever the steps before leave.
    if (mode == ColourMode::BlackWhite || mode == ColourMode::Grey4 || mode == ColourMode::Grey8)
        args << QStringLiteral("-alpha") << QStringLiteral("remove");
}

} // namespace

ConversionCall buildConversion(const QString &source, const QString &destination,
                               const ConversionOptions &options)
{
    ConversionCall call;
    call.fileName = velinor::fileName(source);
    call.baseName = velinor::baseName(call.fileName);
    call.extension = options.png ? QStringLiteral(".png") : QStringLiteral(".jpg");
    call.outputPath = joinPath(destination, call.baseName + call.extension);

    QStringList &args = call.arguments;
    // The density must come before the input, or the converter reads the PDF at its own default.
    if (options.supersampling == Supersampling::Medium)
        args << QStringLiteral("-density") << QStringLiteral("150");
    else if (options.supersampling == Supersampling::High)
        args << QStringLiteral("-density") << QStringLiteral("320");
    args << joinPath(folderPart(source), call.fileName);
    // ImageMagick renders PDF pages on a transparent background, so the smoothing of text lives
    // in the opacity: reducing to grey first would meet only black and see no grey levels, and a
    // transparent page shows black in many viewers. Laying every page on white before anything
    // else keeps the greys and leaves no transparent page.
    args << QStringLiteral("-background") << QStringLiteral("white") << QStringLiteral("-alpha")
         << QStringLiteral("remove");
    args << QStringLiteral("-quality") << qualityText(options.compression);
    appendColourMode(args, options.colourMode, options.png);
    // Shrinking undoes the supersampling, so without supersampling there is nothing to undo.
    if (options.resize && options.supersampling == Supersampling::Medium)
        args << QStringLiteral("-resize") << QStringLiteral("50%");
    else if (options.resize && options.supersampling == Supersampling::High)
        args << QStringLiteral("-resize") << QStringLiteral("25%");
    if (options.append)
        args << QStringLiteral("-append");
    args << call.outputPath;
    return call;
}

} // namespace velinor

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

QString offset(int value)
{
    return (value < 0 ? QLatin1Char('-') : QLatin1Char('+')) + QString::number(qAbs(value));
}

void appendFit(QStringList &args, const FitBox &fit)
{
    if (fit.width <= 0)
        return;
    // -extent, unlike -crop, gives every page the whole box, white where the box passes the
    // page's edge, so that the text of a smaller page is scaled as the others are; and it lays
    // the page on white, as the options do next.
    if (fit.box.isValid()) {
        args << QStringLiteral("-background") << QStringLiteral("white")
             << QStringLiteral("-extent")
             << QStringLiteral("%1x%2%3%4")
                    .arg(fit.box.width())
                    .arg(fit.box.height())
                    .arg(offset(fit.box.x()), offset(fit.box.y()))
             << QStringLiteral("+repage");
    }
    args << QStringLiteral("-resize") << QString::number(fit.width) + QLatin1Char('x');
}

} // namespace

int renderDensity(ConversionOptions::Supersampling supersampling)
{
    switch (supersampling) {
    case Supersampling::Medium:
        return 150;
    case Supersampling::High:
        return 320;
    case Supersampling::Low:
        break;
    }
    return 0;
}

int resizePercent(const ConversionOptions &options)
{
    // Shrinking undoes the supersampling, so without supersampling there is nothing to undo.
    // A fitted page has its width set, whatever the density it was rendered at.
    if (options.fitWidth > 0)
        return 100;
    if (options.resize && options.supersampling == Supersampling::Medium)
        return 50;
    if (options.resize && options.supersampling == Supersampling::High)
        return 25;
    return 100;
}

QStringList ConverterCall::arguments() const
{
    QStringList arguments;
    // Before the input, or the converter reads the PDF at its own density.
    if (density > 0)
        arguments << QStringLiteral("-density") << QString::number(density);
    arguments << (pages ? input + QStringLiteral("[%1-%2]").arg(pages->first).arg(pages->last)
                        : input);
    appendFit(arguments, fit);
    arguments << options;
    // Numbers the images from the range's first page, as the whole document would have.
    if (pages)
        arguments << QStringLiteral("-scene") << QString::number(pages->first);
    arguments << output;
    return arguments;
}

QStringList outputOptions(const ConversionOptions &options)
{
    QStringList args{QStringLiteral("-quality"), qualityText(options.compression)};
    appendColourMode(args, options.colourMode, options.png);
    return args;
}

QStringList converterOptions(const ConversionOptions &options)
{
    QStringList args;
    // ImageMagick renders PDF pages on a transparent background, so the smoothing of text lives
    // in the opacity: reducing to grey first would meet only black and see no grey levels, and a
    // transparent page shows black in many viewers. Laying every page on white before anything
    // else keeps the greys and leaves no transparent page.
    args << QStringLiteral("-background") << QStringLiteral("white") << QStringLiteral("-alpha")
         << QStringLiteral("remove");
    args << outputOptions(options);
    if (const int percent = resizePercent(options); percent != 100)
        args << QStringLiteral("-resize") << QString::number(percent) + QLatin1Char('%');
    if (options.append)
        args << QStringLiteral("-append");
    return args;
}

ConversionCall buildConversion(const QString &source, const QString &destination,
                               const ConversionOptions &options)
{
    return buildConversion(source, destination, options, converterOptions(options));
}

ConversionCall buildConversion(const QString &source, const QString &destination,
                               const ConversionOptions &options, const QStringList &shared)
{
    ConversionCall call;
    call.fileName = velinor::fileName(source);
    call.baseName = velinor::baseName(call.fileName);
    call.extension = options.png ? QStringLiteral(".png") : QStringLiteral(".jpg");
    call.outputPath = joinPath(destination, call.baseName + call.extension);

    ConverterCall &command = call.command;
    command.density = renderDensity(options.supersampling);
    command.input = joinPath(folderPart(source), call.fileName);
    command.fit.width = options.fitWidth;
    command.options = shared;
    command.output = call.outputPath;
    return call;
}

} // namespace velinor

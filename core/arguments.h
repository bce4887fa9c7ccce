#ifndef VELINOR_ARGUMENTS_H
#define VELINOR_ARGUMENTS_H

#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

namespace velinor {

// The option states that shape one converter call, read from the form's widgets at the moment a
// file is converted (or, later, filled from the command line). The defaults are the form's.
struct ConversionOptions
{
    // Rendering density of the pages, tied to the shrink factor of the resize option.
    enum class Supersampling { Low, Medium, High };
    // None stands for a form where no colour-mode button is checked.
    enum class ColourMode { None, BlackWhite, Grey4, Grey8, Colour4, Colour8 };

    Supersampling supersampling = Supersampling::Medium;
    ColourMode colourMode = ColourMode::Grey4;
    bool png = true;     // PNG output; JPEG otherwise
    int compression = 9; // 0 to 9, as the compression spin box offers it
    bool resize = false; // shrink back after supersampling
    bool append = false; // one image per document instead of one per page
    bool cbz = false;    // each converted document's images packed into one NAME.cbz.tns (cbz.h)
    // Pages trimmed to the ink of the whole document and scaled to this many pixels wide
    // (inkbox.h); 0 keeps them whole. The resize option does nothing while it is set.
    int fitWidth = 0;
    // Each page, or the single image, cut into pieces of a screen's height at blank rows
    // (screens.h); its pages do not stay.
    bool screens = false;
};

// Pages of a document, counted from 0 as the converter numbers them, both ends included.
struct PageRange
{
    int first = 0;
    int last = 0;
};

// What a fitted call keeps of each rendered page, in its pixels, and the width it scales that to.
// An empty box keeps the whole page, when the ink could not be measured.
struct FitBox
{
    QRect box;
    int width = 0; // 0: no fitting
};

// One converter call as a value. Its argument list is made in one place, arguments(), so that
// no one else needs to know where each part stands in it.
struct ConverterCall
{
    int density = 0; // of the rendered pages; 0 leaves the converter's own
    QString input;
    std::optional<PageRange> pages; // the pages read, numbered from the first; all when none
    FitBox fit;                     // done to each page before the options
    QStringList options;            // what is done to the pages, in order
    QString output;

    bool isEmpty() const { return input.isEmpty(); }
    QStringList arguments() const;
};

// Everything one converter call needs, and what the ".tns" rename of its outputs reuses.
struct ConversionCall
{
    ConverterCall command;
    QString fileName;   // of the source, for the status and error texts
    QString baseName;   // of the source; empty when its file name has no "."
    QString extension;  // ".png" or ".jpg"
    QString outputPath; // destination folder joined with baseName + extension
};

// The density the pages are rendered at: 0 leaves the converter's own (72 dots per inch).
int renderDensity(ConversionOptions::Supersampling supersampling);
// The percentage the resize option shrinks the rendered pages to: 100 when it does nothing.
int resizePercent(const ConversionOptions &options);

// What sets how an image is written: its quality or compression, colours and depth.
QStringList outputOptions(const ConversionOptions &options);

// What every call of the same options passes after its input and before its output.
QStringList converterOptions(const ConversionOptions &options);

// Builds the converter call for one source file written into the destination folder; a run
// gives each of its files the converterOptions() it made once.
ConversionCall buildConversion(const QString &source, const QString &destination,
                               const ConversionOptions &options);
ConversionCall buildConversion(const QString &source, const QString &destination,
                               const ConversionOptions &options, const QStringList &shared);

} // namespace velinor

#endif

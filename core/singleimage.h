#ifndef VELINOR_SINGLEIMAGE_H
#define VELINOR_SINGLEIMAGE_H

#include "arguments.h"

#include <QList>
#include <QSizeF>
#include <QString>

namespace velinor {
class StopRequest;
}

// One image for a whole document stacks its pages, and the converter refuses an image taller
// than its pixel limits (Debian's policy: 16,000 pixels, about nine A4 pages at 150 dpi) only
// after it has rendered everything, and then writes the pages one by one anyway. So the height is
// worked out first, from the document's page sizes and the converter's own limits.
namespace velinor {

// The largest width and height, in pixels, of an image the converter will make; 0 where it
// sets none or does not say.
struct PixelLimits
{
    qint64 width = 0;
    qint64 height = 0;
};

// Reads the limits from what `convert -list resource` prints ("Height: 16KP").
PixelLimits parsePixelLimits(const QByteArray &listing);
PixelLimits pixelLimits(const QString &converterPath, const StopRequest *stop = nullptr);

// What the stacked pages of one document would measure.
struct StackedImage
{
    int pages = 0;
    qint64 height = 0; // pixels, after the resize option
    qint64 limit = 0;  // the converter's height limit
    // Whether a lower supersampling is there to advise: none is below the lowest.
    bool lowerSupersampling = false;
};

// The stacked image of these pages at these options, fitted with fit when options ask for it.
qint64 stackedHeight(const QList<QSizeF> &pagePoints, const ConversionOptions &options,
                     const FitBox &fit = {});

// Whether the single image of this source would pass the converter's height limit, with its
// measures when it would. False whenever something is not known: the conversion then goes ahead
// and the converter has the last word.
bool exceedsPixelLimits(const QString &converterPath, const QString &source,
                        const ConversionOptions &options, StackedImage *image,
                        const StopRequest *stop = nullptr, const FitBox &fit = {});

} // namespace velinor

#endif

#include "singleimage.h"

#include "childprocess.h"
#include "inkbox.h"
#include "pdfpages.h"

#include <QHash>
#include <QMutex>
#include <QRegularExpression>

#include <cmath>

namespace velinor {

namespace {

// The converter lists its resources at once; anything slower is a stuck program.
constexpr int listingTimeoutMs = 30000;

} // namespace

PixelLimits parsePixelLimits(const QByteArray &listing)
{
    // "16KP", "3.46KP", "500P": SI multiples of pixels; "0P" or "unlimited" means no limit.
    // Older releases wrote the same figures with a "B".
    static const QRegularExpression line(
        QStringLiteral("^\\s*(Width|Height):\\s*([0-9.]+)\\s*([KMGTPE]?)[PB]\\s*$"),
        QRegularExpression::MultilineOption);
    PixelLimits limits;
    auto matches = line.globalMatch(QString::fromLatin1(listing));
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const double value = match.captured(2).toDouble();
        const int power = QStringLiteral(" KMGTPE").indexOf(
            match.captured(3).isEmpty() ? QStringLiteral(" ") : match.captured(3));
        const double exact = value * std::pow(1000.0, power);
        // Beyond what an image could ever measure is as good as no limit.
        const qint64 pixels = exact < 1e15 ? qint64(std::llround(exact)) : 0;
        (match.captured(1) == QLatin1String("Width") ? limits.width : limits.height) = pixels;
    }
    return limits;
}

PixelLimits pixelLimits(const QString &converterPath, const StopRequest *stop)
{
    // Asked once for each converter and limits set in the environment: a run of many documents
    // would otherwise start the converter once more for each.
    static QMutex mutex;
    static QHash<QString, PixelLimits> known;
    const QString key = converterPath + QLatin1Char('\n') +
                        qEnvironmentVariable("MAGICK_WIDTH_LIMIT") + QLatin1Char('\n') +
                        qEnvironmentVariable("MAGICK_HEIGHT_LIMIT");
    {
        const QMutexLocker lock(&mutex);
        const auto found = known.constFind(key);
        if (found != known.cend())
            return found.value();
    }
    const QByteArray listing =
        toolOutput(converterPath, {QStringLiteral("-list"), QStringLiteral("resource")},
                   listingTimeoutMs, stop);
    const PixelLimits limits = parsePixelLimits(listing);
    if (!listing.isEmpty()) {
        const QMutexLocker lock(&mutex);
        known.insert(key, limits);
    }
    return limits;
}

qint64 stackedHeight(const QList<QSizeF> &pagePoints, const ConversionOptions &options,
                     const FitBox &fit)
{
    // Every fitted page has the box's shape; unmeasured, each is scaled whole to the width.
    if (options.fitWidth > 0 && fittedHeight(fit) > 0)
        return fittedHeight(fit) * pagePoints.size();
    const auto scaledWhole = [&](const QSizeF &page) {
        return qint64(std::llround(page.height() * options.fitWidth / page.width()));
    };
    const int density = renderDensity(options.supersampling);
    // The converter's own density is 72 dots per inch: a point is a pixel.
    const double scale = density ? density / 72.0 : 1.0;
    const double shrink = resizePercent(options) / 100.0;
    qint64 height = 0;
    for (const QSizeF &page : pagePoints) {
        if (options.fitWidth > 0) {
            height += scaledWhole(page);
            continue;
        }
        const qint64 rendered = qint64(std::llround(page.height() * scale));
        height += qint64(std::llround(double(rendered) * shrink));
    }
    return height;
}

bool exceedsPixelLimits(const QString &converterPath, const QString &source,
                        const ConversionOptions &options, StackedImage *image,
                        const StopRequest *stop, const FitBox &fit)
{
    if (!options.append || documentKind(source) != DocumentKind::Pdf)
        return false;
    const QList<QSizeF> pages = pdfPageSizes(source, stop);
    if (pages.size() < 2)
        return false;
    const qint64 limit = pixelLimits(converterPath, stop).height;
    const qint64 height = stackedHeight(pages, options, fit);
    if (limit <= 0 || height <= limit)
        return false;
    if (image)
        // A fitted page's height does not follow the supersampling.
        *image = StackedImage{int(pages.size()), height, limit,
                              options.fitWidth == 0 &&
                                  options.supersampling != ConversionOptions::Supersampling::Low};
    return true;
}

} // namespace velinor

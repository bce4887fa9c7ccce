#include "inkbox.h"

#include "childprocess.h"
#include "magicknames.h"

#include <QRegularExpression>

#include <cmath>

namespace velinor {

namespace {

// A coarse page takes about a megabyte in the converter: a hundred of them stay well under the
// memory a conversion call may take.
constexpr int pagesPerMeasure = 100;
// Time enough for a hundred pages of any document.
constexpr int measureTimeoutMs = 120000;

// The ink of the pages of one call, or of the whole source when range is empty.
QByteArray measureCall(const QString &converterPath, const QString &input, DocumentKind kind,
                       const QString &range, const StopRequest *stop)
{
    const LiteralNames names(input, QString());
    if (!names.isReady())
        return {};
    QStringList args;
    // A picture keeps its pixels whatever the density; a document is rendered coarse.
    if (kind != DocumentKind::Other)
        args << QStringLiteral("-density") << QString::number(measureDensity);
    // The fuzz spares a scanned page's speckles the work of widening the box.
    args << input + range << QStringLiteral("-background") << QStringLiteral("white")
         << QStringLiteral("-alpha") << QStringLiteral("remove") << QStringLiteral("-fuzz")
         << QStringLiteral("5%") << QStringLiteral("-format") << QStringLiteral("%@ %w %h\n")
         << QStringLiteral("info:");
    return toolOutput(converterPath, args, measureTimeoutMs, stop, names.workingDirectory());
}

} // namespace

QRect parseInkBoxes(const QByteArray &listing)
{
    static const QRegularExpression line(
        QStringLiteral("^(\\d+)x(\\d+)([+-]\\d+)([+-]\\d+) (\\d+) (\\d+)$"),
        QRegularExpression::MultilineOption);
    QRect ink;
    QRect pages;
    auto matches = line.globalMatch(QString::fromLatin1(listing));
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const QRect box(match.captured(3).toInt(), match.captured(4).toInt(),
                        match.captured(1).toInt(), match.captured(2).toInt());
        if (box.width() > 0 && box.height() > 0)
            ink |= box;
        pages |= QRect(0, 0, match.captured(5).toInt(), match.captured(6).toInt());
    }
    return ink.isValid() ? ink : pages;
}

QRect renderedBox(const QRect &measured, double scale)
{
    // A coarse pixel shows whatever ink touches it, so the scaled box holds all of it; one
    // pixel more on each side covers the rounding of the two renderings' page sizes.
    const int left = int(std::floor(measured.x() * scale)) - 1;
    const int top = int(std::floor(measured.y() * scale)) - 1;
    const int right = int(std::ceil((measured.x() + measured.width()) * scale)) + 1;
    const int bottom = int(std::ceil((measured.y() + measured.height()) * scale)) + 1;
    const int margin = std::max(1, int(std::lround((right - left) / 62.0)));
    return QRect(QPoint(left - margin, top - margin),
                 QPoint(right + margin - 1, bottom + margin - 1));
}

FitBox fitBox(const QString &converterPath, const QString &source, DocumentKind kind, int pages,
              const ConversionOptions &options, const StopRequest *stop)
{
    FitBox fit;
    fit.width = options.fitWidth;
    const QString input = absoluteForMagick(source);
    // A name that ImageMagick reads as a frame range or template cannot take one more.
    const bool ranges = pages > pagesPerMeasure && !input.contains(QLatin1Char('%')) &&
                        !input.contains(QLatin1Char('['));
    QByteArray listing;
    for (int first = 0; first < (ranges ? pages : 1); first += pagesPerMeasure) {
        const QString range = ranges ? QStringLiteral("[%1-%2]").arg(first).arg(
                                           std::min(pages, first + pagesPerMeasure) - 1)
                                     : QString();
        const QByteArray part = measureCall(converterPath, input, kind, range, stop);
        // One range unread would leave its ink out of the box: the pages are then kept whole.
        if (part.isEmpty())
            return fit;
        listing += part;
    }
    const QRect measured = parseInkBoxes(listing);
    if (!measured.isValid())
        return fit;
    const int density = renderDensity(options.supersampling);
    const double scale =
        kind == DocumentKind::Other ? 1.0 : (density ? density : 72) / double(measureDensity);
    fit.box = renderedBox(measured, scale);
    return fit;
}

qint64 fittedHeight(const FitBox &fit)
{
    if (fit.width <= 0 || !fit.box.isValid())
        return 0;
    return std::max<qint64>(1,
                            std::llround(double(fit.box.height()) * fit.width / fit.box.width()));
}

} // namespace velinor

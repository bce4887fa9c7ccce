#include "singleimage.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cmath>

namespace velinor {

namespace {

// A page list or a resource listing is quick to produce; anything slower is a stuck program.
constexpr int toolTimeoutMs = 30000;

QByteArray outputOf(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(toolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return QByteArray();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QByteArray();
    return process.readAllStandardOutput();
}

QString ghostscript()
{
#ifdef Q_OS_WIN
    for (const char *name : {"gswin64c", "gswin32c"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
#else
    return QStandardPaths::findExecutable(QStringLiteral("gs"));
#endif
}

// The density the pages are rendered at; the converter's own default is 72 dots per inch.
double renderDensity(ConversionOptions::Supersampling supersampling)
{
    switch (supersampling) {
    case ConversionOptions::Supersampling::Medium:
        return 150;
    case ConversionOptions::Supersampling::High:
        return 320;
    case ConversionOptions::Supersampling::Low:
        break;
    }
    return 72;
}

double resizeFactor(const ConversionOptions &options)
{
    if (!options.resize)
        return 1;
    switch (options.supersampling) {
    case ConversionOptions::Supersampling::Medium:
        return 0.5;
    case ConversionOptions::Supersampling::High:
        return 0.25;
    case ConversionOptions::Supersampling::Low:
        break;
    }
    return 1;
}

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

PixelLimits pixelLimits(const QString &converterPath)
{
    return parsePixelLimits(
        outputOf(converterPath, {QStringLiteral("-list"), QStringLiteral("resource")}));
}

QList<QSizeF> pdfPageSizes(const QString &source)
{
    const QString gs = ghostscript();
    if (gs.isEmpty())
        return {};
    const QString path = QFileInfo(source).absoluteFilePath();
    // The document's name travels as a hexadecimal string, so that no character of it can end
    // the string early; SAFER mode lets Ghostscript read that one file and nothing else.
    const QString program =
        QStringLiteral("<%1> (r) file runpdfbegin 1 1 pdfpagecount { pdfgetpage dup /MediaBox "
                       "pget { aload pop exch 4 -1 roll sub 3 1 roll exch sub } { 0 0 } ifelse "
                       "3 -1 roll /Rotate pget not { 0 } if 90 idiv 2 mod 0 ne { exch } if "
                       "== == } for quit")
            .arg(QString::fromLatin1(path.toUtf8().toHex()));
    const QByteArray output =
        outputOf(gs, {QStringLiteral("-q"), QStringLiteral("-dNODISPLAY"),
                      QStringLiteral("-dSAFER"), QStringLiteral("-dNOPAUSE"),
                      QStringLiteral("--permit-file-read=") + path, QStringLiteral("-c"), program});
    const QList<QByteArray> numbers = output.simplified().split(' ');
    QList<QSizeF> sizes;
    for (qsizetype i = 0; i + 1 < numbers.size(); i += 2) {
        bool okHeight = false, okWidth = false;
        const double height = numbers.at(i).toDouble(&okHeight);
        const double width = numbers.at(i + 1).toDouble(&okWidth);
        if (!okHeight || !okWidth || width <= 0 || height <= 0)
            return {};
        sizes.append(QSizeF(width, height));
    }
    return sizes;
}

qint64 stackedHeight(const QList<QSizeF> &pagePoints, const ConversionOptions &options)
{
    const double scale = renderDensity(options.supersampling) / 72.0;
    const double shrink = resizeFactor(options);
    qint64 height = 0;
    for (const QSizeF &page : pagePoints) {
        const qint64 rendered = qint64(std::llround(page.height() * scale));
        height += qint64(std::llround(double(rendered) * shrink));
    }
    return height;
}

bool exceedsPixelLimits(const QString &converterPath, const QString &source,
                        const ConversionOptions &options, StackedImage *image)
{
    if (!options.append)
        return false;
    const QList<QSizeF> pages = pdfPageSizes(source);
    if (pages.size() < 2)
        return false;
    const qint64 limit = pixelLimits(converterPath).height;
    const qint64 height = stackedHeight(pages, options);
    if (limit <= 0 || height <= limit)
        return false;
    if (image)
        *image = StackedImage{int(pages.size()), height, limit};
    return true;
}

} // namespace velinor

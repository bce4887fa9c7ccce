#include "chunking.h"

#include "childprocess.h"
#include "magicknames.h"
#include "pdfpages.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace velinor {

namespace {

// How long a page count may take before the file is converted in one call as it always was.
constexpr int identifyTimeoutMs = 120000;

QString executableOrEmpty(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable() ? path : QString();
}

// convert, convert.exe or Debian's convert-im6.q16 have identify, identify.exe and
// identify-im6.q16 beside them.
QString identifyBeside(const QString &converterPath)
{
    const QFileInfo info(converterPath);
    const QString name = info.fileName();
    const QString convert = QStringLiteral("convert");
    if (!name.startsWith(convert, Qt::CaseInsensitive))
        return QString();
    return executableOrEmpty(
        info.dir().filePath(QStringLiteral("identify") + name.mid(convert.size())));
}

// Where the input stands in the argument list: first, or right after the density pair.
int inputIndex(const QStringList &arguments)
{
    return arguments.value(0) == QLatin1String("-density") ? 2 : 0;
}

// ImageMagick reads "%" in a name as a frame-number template and a bracket as the start of a
// frame range or a wildcard; a page range appended to such a name would not mean what it says.
// A one-image append has nothing to split.
bool splittable(const ConversionCall &call, const ConversionOptions &options)
{
    const QString input = call.arguments.value(inputIndex(call.arguments));
    return !options.append && !call.arguments.isEmpty() && !input.contains(QLatin1Char('%')) &&
           !input.contains(QLatin1Char('[')) && !call.outputPath.contains(QLatin1Char('%'));
}

} // namespace

int pagesPerCall(ConversionOptions::Supersampling supersampling)
{
    // Peak resident memory of convert 6.9.11 (Q16) on A4 pages, which must stay under 400 MB
    // with one page more than this, the last single page joining a call: about 5 MB a page at
    // 72 dpi (40 two-level pages, the heaviest mode: 346 MB), 35 MB a page at 150 dpi (10 pages:
    // 357 MB grey, 378 MB two-level; 11 pages: 416 MB), 97 MB a page at 320 dpi (3 grey pages:
    // 361 MB). Two-level at 320 dpi goes past it whatever the split: 298 MB for one page alone,
    // 400 MB for two, 497 MB for three.
    switch (supersampling) {
    case ConversionOptions::Supersampling::Low:
        return 32;
    case ConversionOptions::Supersampling::Medium:
        return 8;
    case ConversionOptions::Supersampling::High:
        return 2;
    }
    return 2;
}

QList<PageRange> pageRanges(int pages, int perCall)
{
    QList<PageRange> ranges;
    if (pages <= 0)
        return ranges;
    // Ranges of one page would give unnumbered images all along.
    perCall = qMax(perCall, 2);
    for (int first = 0; first < pages; first += perCall)
        ranges.append({first, qMin(first + perCall, pages) - 1});
    if (ranges.size() > 1 && ranges.last().first == ranges.last().last) {
        ranges.removeLast();
        ranges.last().last = pages - 1;
    }
    return ranges;
}

QStringList identifyCommand(const QString &converterPath)
{
    const QFileInfo info(converterPath);
    const QString name = info.fileName();
    if (name.compare(QLatin1String("magick"), Qt::CaseInsensitive) == 0 ||
        name.compare(QLatin1String("magick.exe"), Qt::CaseInsensitive) == 0)
        return {converterPath, QStringLiteral("identify")};

    QString identify = identifyBeside(converterPath);
    // A wrapper script standing for convert leaves the identify of the installation on PATH.
    if (identify.isEmpty())
        identify = QStandardPaths::findExecutable(QStringLiteral("identify"));
    if (identify.isEmpty())
        return {};
    return {identify};
}

int imageCount(const QString &converterPath, const QString &source, const StopRequest *stop)
{
    if (documentKind(source) == DocumentKind::Pdf) {
        const int pages = pdfPageCount(source, stop);
        if (pages > 0 || (stop && stop->level() != StopRequest::None))
            return pages;
    }
    QStringList command = identifyCommand(converterPath);
    if (command.isEmpty())
        return 0;
    const QString program = command.takeFirst();
    const QString input = absoluteForMagick(source);
    const LiteralNames names(input, QString());
    if (!names.isReady())
        return 0;
    // "%n" is printed once for every page: the first line is enough.
    const QByteArray output =
        toolOutput(program,
                   command << QStringLiteral("-ping") << QStringLiteral("-format")
                           << QStringLiteral("%n\n") << input,
                   identifyTimeoutMs, stop, names.workingDirectory());
    bool ok = false;
    const int pages = output.split('\n').value(0).trimmed().toInt(&ok);
    return ok && pages > 0 ? pages : 0;
}

int pageCount(const QString &converterPath, const QString &source, const StopRequest *stop)
{
    // Only PDF and PostScript hold pages worth counting. Counting costs a process, so images and
    // anything else are spared it: they are converted in one call as before.
    return documentKind(source) != DocumentKind::Other ? imageCount(converterPath, source, stop)
                                                       : 0;
}

QList<QStringList> converterCalls(const ConversionCall &call, const ConversionOptions &options,
                                  int pages)
{
    const QList<PageRange> ranges = splittable(call, options)
                                        ? pageRanges(pages, pagesPerCall(options.supersampling))
                                        : QList<PageRange>();
    if (ranges.size() < 2)
        return {call.arguments};

    const int input = inputIndex(call.arguments);
    QList<QStringList> calls;
    for (const PageRange &range : ranges) {
        QStringList arguments = call.arguments;
        arguments[input] += QStringLiteral("[%1-%2]").arg(range.first).arg(range.last);
        // Numbers the images from the range's first page, as the whole document would have.
        arguments.insert(arguments.size() - 1, QStringLiteral("-scene"));
        arguments.insert(arguments.size() - 1, QString::number(range.first));
        calls.append(arguments);
    }
    return calls;
}

bool countsImages(const ConversionCall &call, const ConversionOptions &options)
{
    // A single image has its height worked out from the document's pages (singleimage.h).
    return options.append || splittable(call, options) ||
           (!options.append && !writesUnderOwnName(absoluteForMagick(call.outputPath)));
}

QList<QStringList> plannedCalls(const QString &converterPath, const QString &source,
                                const ConversionCall &call, const ConversionOptions &options,
                                const StopRequest *stop, int *pagesCounted)
{
    if (call.arguments.isEmpty())
        return {};
    const QString output = absoluteForMagick(call.outputPath);
    const bool escaped = !writesUnderOwnName(output);
    int pages = 0;
    if (escaped && !options.append) {
        // Spelling the names out needs to know whether one image is written or several;
        // guessing wrong would put every page under one name.
        pages = imageCount(converterPath, source, stop);
        if (pages == 0)
            return {};
    } else if (splittable(call, options)) {
        pages = pageCount(converterPath, source, stop);
    }
    if (pagesCounted)
        *pagesCounted = pages;
    QList<QStringList> calls = converterCalls(call, options, pages);
    const bool severalImages = calls.size() > 1 || (!options.append && pages > 1);
    const int input = inputIndex(call.arguments);
    for (QStringList &arguments : calls) {
        arguments[input] = absoluteForMagick(arguments[input]);
        arguments.last() = escaped ? literalOutput(output, severalImages) : output;
    }
    return calls;
}

Plan planFile(const QString &converterPath, const QString &source, const ConversionCall &call,
              const ConversionOptions &options, const StopRequest *stop)
{
    Plan plan;
    if (exceedsPixelLimits(converterPath, source, options, &plan.image, stop)) {
        plan.outcome = Plan::Outcome::TooTall;
        return plan;
    }
    int pages = 0;
    plan.calls = plannedCalls(converterPath, source, call, options, stop, &pages);
    if (plan.calls.size() > 1)
        plan.ranges = pageRanges(pages, pagesPerCall(options.supersampling));
    if (plan.calls.isEmpty())
        plan.outcome = Plan::Outcome::Unplannable;
    return plan;
}

} // namespace velinor

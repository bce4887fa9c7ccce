#include "chunking.h"

#include "childprocess.h"
#include "inkbox.h"
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

// ImageMagick reads "%" in a name as a frame-number template and a bracket as the start of a
// frame range or a wildcard; a page range appended to such a name would not mean what it says.
// A one-image append has nothing to split.
bool splittable(const ConversionCall &call, const ConversionOptions &options)
{
    const QString &input = call.command.input;
    return !options.append && !call.command.isEmpty() && !input.contains(QLatin1Char('%')) &&
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

int ConverterCalls::size() const
{
    if (whole.isEmpty())
        return 0;
    // Ranges of one page would give unnumbered images all along.
    const int each = qMax(perCall, 2);
    const int ranges = perCall > 0 && pages > 0 ? (pages - 1) / each + 1 : 1;
    return ranges > 1 && pages % each == 1 ? ranges - 1 : ranges;
}

PageRange ConverterCalls::range(int index) const
{
    const int each = qMax(perCall, 2);
    const int first = index * each;
    return {first, index + 1 == size() ? pages - 1 : first + each - 1};
}

ConverterCall ConverterCalls::at(int index) const
{
    ConverterCall call = whole;
    if (size() > 1)
        call.pages = range(index);
    return call;
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

int imageCount(const QString &converterPath, const QString &source, const PageCount &pdf,
               const StopRequest *stop)
{
    if (pdf.tree != PageCount::Tree::Unread || (stop && stop->level() != StopRequest::None))
        return pdf.pages;
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

ConverterCalls converterCalls(const ConversionCall &call, const ConversionOptions &options,
                              int pages)
{
    return {call.command, pages,
            splittable(call, options) ? pagesPerCall(options.supersampling) : 0};
}

bool countsImages(const ConversionCall &call, const ConversionOptions &options, DocumentKind kind)
{
    // A single image of a PDF has its height worked out from the pages' sizes (singleimage.h);
    // names spelt out need the count of a document's images, unless they make a single one.
    // Fitting measures the ink of any file.
    return options.fitWidth > 0 || kind == DocumentKind::Pdf ||
           (kind == DocumentKind::PostScript && splittable(call, options)) ||
           (!options.append && !writesUnderOwnName(absoluteForMagick(call.outputPath)));
}

ConverterCalls plannedCalls(const QString &converterPath, const QString &source, DocumentKind kind,
                            const ConversionCall &call, const ConversionOptions &options,
                            const PageCount &pdf, const StopRequest *stop)
{
    if (call.command.isEmpty())
        return {};
    const QString output = absoluteForMagick(call.outputPath);
    const bool escaped = !writesUnderOwnName(output);
    int pages = 0;
    if (escaped && !options.append) {
        // Spelling the names out needs to know whether one image is written or several;
        // guessing wrong would put every page under one name.
        pages = imageCount(converterPath, source, pdf, stop);
        if (pages == 0)
            return {};
    } else if (splittable(call, options) && kind != DocumentKind::Other) {
        // Only PDF and PostScript hold pages worth counting. Counting costs a process, so
        // images and anything else are spared it: they are converted in one call as before.
        pages = imageCount(converterPath, source, pdf, stop);
    }
    ConverterCalls calls = converterCalls(call, options, pages);
    const bool severalImages = calls.size() > 1 || (!options.append && pages > 1);
    calls.whole.input = absoluteForMagick(calls.whole.input);
    calls.whole.output = escaped ? literalOutput(output, severalImages) : output;
    return calls;
}

Plan planFile(const QString &converterPath, const QString &source, DocumentKind kind,
              const ConversionCall &call, const ConversionOptions &options, const StopRequest *stop)
{
    Plan plan;
    const PageCount pdf = kind == DocumentKind::Pdf ? pdfPageCount(source, stop) : PageCount();
    if (pdf.tree == PageCount::Tree::Impossible) {
        plan.outcome = Plan::Outcome::InvalidPdf;
        return plan;
    }
    // Once for the document: every range gets the same box, and the height of a single image
    // is that of its fitted pages.
    FitBox fit;
    if (options.fitWidth > 0)
        fit = fitBox(converterPath, source, kind, pdf.pages, options, stop);
    if (exceedsPixelLimits(converterPath, source, options, &plan.image, stop, fit)) {
        plan.outcome = Plan::Outcome::TooTall;
        return plan;
    }
    plan.calls = plannedCalls(converterPath, source, kind, call, options, pdf, stop);
    if (options.fitWidth > 0)
        plan.calls.whole.fit = fit;
    if (plan.calls.size() == 0)
        plan.outcome = Plan::Outcome::Unplannable;
    return plan;
}

} // namespace velinor

#include "preview.h"

#include <QDir>
#include <QFileInfo>

namespace velinor {

PreviewPlan planPreview(const QString &converterPath, const QString &source, const QString &folder,
                        ConversionOptions options, const StopRequest *stop)
{
    options.append = false;
    options.cbz = false;
    const ConversionCall call = buildConversion(source, folder, options);
    const Plan plan = planFile(converterPath, source, documentKind(source), call, options, stop);
    PreviewPlan preview;
    preview.outcome = plan.outcome;
    preview.calls = plan.calls;
    // A name of ours: the source's may hold what ImageMagick would take for a pattern.
    preview.image = QDir(folder).absoluteFilePath(QStringLiteral("page") + call.extension);
    return preview;
}

ConverterCall previewCall(const PreviewPlan &plan, int page)
{
    ConverterCall call = plan.calls.whole;
    // Where the run reads ranges, one page is read alone; otherwise the file is converted whole,
    // as the run does, and its first image shown.
    if (plan.calls.perCall > 0)
        call.pages = PageRange{page, page};
    call.output = plan.image;
    return call;
}

QString writtenPreview(const PreviewPlan &plan)
{
    if (QFileInfo::exists(plan.image))
        return plan.image;
    const QFileInfo image(plan.image);
    return image.path() + QStringLiteral("/page-0.") + image.suffix();
}

int screensAcross(int width)
{
    return width <= 0 ? 0 : (width + screenWidth - 1) / screenWidth;
}

int screensDown(int height)
{
    return height <= 0 ? 0 : (height + screenHeight - 1) / screenHeight;
}

} // namespace velinor

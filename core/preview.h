#ifndef VELINOR_PREVIEW_H
#define VELINOR_PREVIEW_H

#include "chunking.h"

// What the calculator screen will show of a file: one page at a time, rendered into a folder of
// the preview's own by the calls a run with the same options makes.
namespace velinor {

class StopRequest;

// The calculator's screen, in pixels.
constexpr int screenWidth = 320;
constexpr int screenHeight = 240;

struct PreviewPlan
{
    Plan::Outcome outcome = Plan::Outcome::Ready;
    ConverterCalls calls; // the run's, written into the preview's folder
    QString image;        // where previewCall() writes its page (see writtenPreview)

    int pages() const { return calls.perCall > 0 && calls.pages > 1 ? calls.pages : 1; }
};

// A page is shown as it is written: one image a page, packed nowhere.
PreviewPlan planPreview(const QString &converterPath, const QString &source, const QString &folder,
                        ConversionOptions options, const StopRequest *stop = nullptr);

// The call that writes page (from 0) of the plan into plan.image, or the whole file when the run
// reads it whole, its images then numbered from plan.image as ImageMagick numbers them.
ConverterCall previewCall(const PreviewPlan &plan, int page);
// The image previewCall() wrote first.
QString writtenPreview(const PreviewPlan &plan);

// Screens of a page of this size: across a line, down the page.
int screensAcross(int width);
int screensDown(int height);

} // namespace velinor

#endif

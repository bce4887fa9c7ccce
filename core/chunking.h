#ifndef VELINOR_CHUNKING_H
#define VELINOR_CHUNKING_H

#include "arguments.h"
#include "singleimage.h"

namespace velinor {
class StopRequest;
}

#include <QList>
#include <QString>
#include <QStringList>

// One converter call keeps every page of its input in memory until it writes the first image,
// so a long document is converted a few pages at a time: the same call on consecutive page
// ranges, numbered so that the images get the names a single call would give them.
namespace velinor {

// Pages of a document, counted from 0 as the converter numbers them, both ends included.
struct PageRange
{
    int first = 0;
    int last = 0;
    bool operator==(const PageRange &other) const
    {
        return first == other.first && last == other.last;
    }
};

// Most pages one call is given at this supersampling before a last single page joins them.
int pagesPerCall(ConversionOptions::Supersampling supersampling);

// Pages 0 to pages - 1 in consecutive ranges of at most perCall pages; a last single page joins
// the range before it, since a call that writes one image does not number it. Empty when there
// are no pages.
QList<PageRange> pageRanges(int pages, int perCall);

// The program and leading arguments that run the identify of this converter: `magick identify`
// for ImageMagick 7, the identify beside convert otherwise (the one on PATH when there is none
// beside it). Empty when there is none.
QStringList identifyCommand(const QString &converterPath);

// Images in a file of any kind (pages of a document, frames of an animation): Ghostscript's
// count for a PDF, the converter's identify otherwise; 0 when unknown or stopped.
int imageCount(const QString &converterPath, const QString &source,
               const StopRequest *stop = nullptr);

// Pages of a PDF or PostScript document as imageCount tells them; 0 when unknown and for any
// other file, which is then converted in one call.
int pageCount(const QString &converterPath, const QString &source,
              const StopRequest *stop = nullptr);

// The argument lists to run one after the other for one file: one element (call.arguments)
// unless the document is split.
QList<QStringList> converterCalls(const ConversionCall &call, const ConversionOptions &options,
                                  int pages);

// Whether planning this file (planFile) runs a program that reads it: identify for its pages, or
// Ghostscript for the page sizes of a single image.
bool countsImages(const ConversionCall &call, const ConversionOptions &options);

// The calls of converterCalls as ImageMagick must get them to read and write exactly the files
// named (see magicknames.h): paths made absolute, the output escaped. Counts pages when
// countsImages(). Empty when the file cannot be converted under its own name: the images of an
// output that ImageMagick would not name itself could not be counted. The pages counted, if
// any, go to *pages.
QList<QStringList> plannedCalls(const QString &converterPath, const QString &source,
                                const ConversionCall &call, const ConversionOptions &options,
                                const StopRequest *stop = nullptr, int *pages = nullptr);

// What planning one file gives: the calls to run, or why none may run.
struct Plan
{
    enum class Outcome {
        Ready,
        Unplannable, // the calls could not be worked out (see plannedCalls)
        TooTall,     // its single image would pass the converter's pixel limits (see image)
    };
    Outcome outcome = Outcome::Ready;
    QList<QStringList> calls;
    // The pages of each call when the document is split, so that a run can tell how far into
    // it it is; empty otherwise.
    QList<PageRange> ranges;
    StackedImage image;
};

// plannedCalls, after refusing a single image that the converter could not make.
Plan planFile(const QString &converterPath, const QString &source, const ConversionCall &call,
              const ConversionOptions &options, const StopRequest *stop = nullptr);

} // namespace velinor

#endif

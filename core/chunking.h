#ifndef VELINOR_CHUNKING_H
#define VELINOR_CHUNKING_H

#include "arguments.h"
#include "pdfpages.h"
#include "singleimage.h"

namespace velinor {
class StopRequest;
}

#include <QString>
#include <QStringList>

// One converter call keeps every page of its input in memory until it writes the first image,
// so a long document is converted a few pages at a time: the same call on consecutive page
// ranges, numbered so that the images get the names a single call would give them.
namespace velinor {

// Most pages one call is given at this supersampling before a last single page joins them.
int pagesPerCall(ConversionOptions::Supersampling supersampling);

// The argument lists to run one after the other for one file: the call on the whole file or,
// for a long document, that call on consecutive page ranges of at most perCall pages, a last
// single page joining the range before it, since a call that writes one image does not number
// it. Each is worked out when it is about to run: a document may announce millions of pages.
struct ConverterCalls
{
    ConverterCall whole; // empty when no call may run
    int pages = 0;
    int perCall = 0; // 0: the document is not split

    int size() const;
    PageRange range(int index) const;
    ConverterCall at(int index) const;
};

// The program and leading arguments that run the identify of this converter: `magick identify`
// for ImageMagick 7, the identify beside convert otherwise (the one on PATH when there is none
// beside it). Empty when there is none.
QStringList identifyCommand(const QString &converterPath);

// Images in a file of any kind (pages of a document, frames of an animation): the count of a
// PDF's page tree when Ghostscript read it (pdf), the converter's identify otherwise; 0 when
// unknown or stopped.
int imageCount(const QString &converterPath, const QString &source, const PageCount &pdf,
               const StopRequest *stop = nullptr);

// The calls for one file: one (call.command) unless the document is split.
ConverterCalls converterCalls(const ConversionCall &call, const ConversionOptions &options,
                              int pages);

// Whether planning this file (planFile) runs a program that reads it: Ghostscript for the page
// tree of any PDF, identify for the pages of another document, Ghostscript for the page sizes
// of a single image, or the converter for the ink of pages fitted. kind is the source's
// (documentKind).
bool countsImages(const ConversionCall &call, const ConversionOptions &options, DocumentKind kind);

// The calls of converterCalls as ImageMagick must get them to read and write exactly the files
// named (see magicknames.h): paths made absolute, the output escaped. Counts pages when
// countsImages(), taking a PDF's from pdf. Empty when the file cannot be converted under its own
// name: the images of an output that ImageMagick would not name itself could not be counted.
ConverterCalls plannedCalls(const QString &converterPath, const QString &source, DocumentKind kind,
                            const ConversionCall &call, const ConversionOptions &options,
                            const PageCount &pdf, const StopRequest *stop = nullptr);

// What planning one file gives: the calls to run, or why none may run.
struct Plan
{
    enum class Outcome {
        Ready,
        Unplannable, // the calls could not be worked out (see plannedCalls)
        TooTall,     // its single image would pass the converter's pixel limits (see image)
        InvalidPdf,  // its page tree cannot be that of a real document (PageCount::Impossible)
    };
    Outcome outcome = Outcome::Ready;
    ConverterCalls calls;
    StackedImage image;
};

// plannedCalls, after refusing a PDF whose page tree is impossible and a single image that the
// converter could not make; with fitting, the ink measured once for all the calls (inkbox.h).
Plan planFile(const QString &converterPath, const QString &source, DocumentKind kind,
              const ConversionCall &call, const ConversionOptions &options,
              const StopRequest *stop = nullptr);

} // namespace velinor

#endif

#ifndef VELINOR_INKBOX_H
#define VELINOR_INKBOX_H

#include "arguments.h"
#include "pdfpages.h"

#include <QByteArray>
#include <QRect>
#include <QString>

namespace velinor {
class StopRequest;
}

// A page fitted to the calculator's screen keeps only the part of it that holds ink, and the
// same part of every page of a document, so that its text keeps one size from page to page.
// The converter finds that part on pages rendered coarsely, which costs little beside the
// conversion itself; velinor only reads the boxes it prints and scales them to the pages that
// the conversion renders.
namespace velinor {

// The density the ink is looked for at: one of its pixels is two points of the page.
constexpr int measureDensity = 36;

// The union of the boxes of ink that the converter prints, a line a page, as "%@ %w %h"
// ("204x331+50+40 298 421"); a blank page ("0x0+298+421 298 421") adds nothing, unless every
// page is blank: the whole pages are then kept. Empty when no line could be read.
QRect parseInkBoxes(const QByteArray &listing);

// The box of the rendered pages that holds the measured one, `scale` times as large, with an
// even margin around it of about a sixty-second of its width.
QRect renderedBox(const QRect &measured, double scale);

// The fitting of every page of this source at these options: its box, or an empty box when
// the ink could not be measured (the pages are then scaled whole). pages is the count planning
// knows, 0 when unknown.
FitBox fitBox(const QString &converterPath, const QString &source, DocumentKind kind, int pages,
              const ConversionOptions &options, const StopRequest *stop = nullptr);

// The height of one fitted page, in pixels; 0 when its box is not known.
qint64 fittedHeight(const FitBox &fit);

} // namespace velinor

#endif

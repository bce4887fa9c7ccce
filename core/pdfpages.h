#ifndef VELINOR_PDFPAGES_H
#define VELINOR_PDFPAGES_H

#include <QList>
#include <QSizeF>
#include <QString>

// What Ghostscript reads of a PDF's page tree without rendering anything. It holds at any
// length, where identify gives up from 600 pages on (ImageMagick 6: "recursion depth").
namespace velinor {

class StopRequest;

// Whether the file is a regular file that begins like a PDF (the header may follow up to 1024
// bytes of anything). Reading a pipe or a device would block, so nothing else is opened.
bool isPdfFile(const QString &source);

// The pages of a PDF document in points, turned as they are shown; empty when Ghostscript is
// missing, cannot read the document, or was stopped.
QList<QSizeF> pdfPageSizes(const QString &source, const StopRequest *stop = nullptr);

// The number of pages of a PDF document; 0 when it cannot be told.
int pdfPageCount(const QString &source, const StopRequest *stop = nullptr);

} // namespace velinor

#endif

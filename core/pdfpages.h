#ifndef VELINOR_PDFPAGES_H
#define VELINOR_PDFPAGES_H

#include <QList>
#include <QSizeF>
#include <QString>

#include <optional>

// What Ghostscript reads of a PDF's page tree without rendering anything. It holds at any
// length, where identify gives up from 600 pages on (ImageMagick 6: "recursion depth").
namespace velinor {

class StopRequest;

enum class DocumentKind { Other, Pdf, PostScript };

// What a file holds by its first bytes (a PDF header may follow up to 1024 bytes of anything).
// Only a regular file is opened: reading a pipe or a device would block.
DocumentKind documentKind(const QString &source);
// The same, and nothing for what documentKind takes for Other because it could not read it: a
// missing file, a folder, a pipe, a file this user may not read.
std::optional<DocumentKind> readableKind(const QString &source);

// The pages of a PDF document in points, turned as they are shown; empty when Ghostscript is
// missing, cannot read the document, or was stopped.
QList<QSizeF> pdfPageSizes(const QString &source, const StopRequest *stop = nullptr);

// The pages of a PDF document as its page tree tells them.
struct PageCount
{
    enum class Tree {
        Unread,     // Ghostscript is missing, was stopped, or cannot read the document
        Sound,      // pages holds the count
        Impossible, // the tree reaches a page twice, or announces more pages than the file holds
    };
    Tree tree = Tree::Unread;
    int pages = 0;
};

PageCount pdfPageCount(const QString &source, const StopRequest *stop = nullptr);

} // namespace velinor

#endif

#include "pdfpages.h"

#include "childprocess.h"
#include "nativenames.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <limits>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velinor {

namespace {

// Reading a page tree is quick even for thousands of pages; anything slower is a stuck program.
constexpr int ghostscriptTimeoutMs = 120000;

// A real page takes bytes of its own in the file: its object, at the least
// "<</Type/Page/Parent 2 0 R>>", its place in a Kids array and in the cross-reference, some 40
// bytes that Flate, the tightest packing a PDF has, shrinks at most 1032 times. No document
// holds more than 26 pages a byte; one that announces more lies about its page tree.
constexpr qint64 mostPagesPerByte = 32;
// Ghostscript's own memory before it reads the document, with room to spare (it takes 20 MB).
constexpr qint64 ghostscriptBaseKiB = 64 * 1024;
// What Ghostscript keeps for each byte of the document when it reads its page tree: 4 bytes
// for each page announced and about 50 for each object, which at most pages a byte and
// objects of a few bytes each stays well under this. Beyond it the tree is impossible.
constexpr qint64 ghostscriptBytesPerByte = 256;

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

// Runs a PostScript program on the document, whose name travels as a hexadecimal string so
// that no character of it can end the string early; SAFER mode lets Ghostscript read that one
// file and nothing else. The program finds the open document and "pdfpagecount" defined.
QList<QByteArray> askGhostscript(const QString &source, const QString &program,
                                 const StopRequest *stop)
{
    const QString gs = ghostscript();
    if (gs.isEmpty())
        return {};
    const QFileInfo file(source);
    const QString path = file.absoluteFilePath();
    // Ghostscript sets aside memory for every page a document announces before it reads any:
    // 400 MB for the 100 million of a 1.4 KB file whose tree repeats its nodes.
    const qint64 memoryKiB = ghostscriptBaseKiB + file.size() * ghostscriptBytesPerByte / 1024;
    const QString whole = QStringLiteral("<%1> (r) file runpdfbegin %2 quit")
                              .arg(QString::fromLatin1(path.toUtf8().toHex()), program);
    return toolOutput(gs,
                      {QStringLiteral("-q"), QStringLiteral("-K%1").arg(memoryKiB),
                       QStringLiteral("-dNODISPLAY"), QStringLiteral("-dSAFER"),
                       QStringLiteral("-dNOPAUSE"), QStringLiteral("--permit-file-read=") + path,
                       QStringLiteral("-c"), whole},
                      ghostscriptTimeoutMs, stop)
        .simplified()
        .split(' ');
}

// Nothing for anything but a regular file that can be read, which a named pipe or a device must
// not be taken for: opening one could hold velinor until something writes to it. Each file of a
// run is read here while the call before it runs, so its cost, as few system calls as can be, is
// on every call.
std::optional<QByteArray> firstBytes(const QString &source, qsizetype count)
{
#ifdef Q_OS_UNIX
    const QByteArray name = nameBytes(source);
    struct stat status = {};
    if (::stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    // Replaced by something else meanwhile, it is still not waited for: a pipe, a socket or a
    // terminal refuses pread, and nothing here waits.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    QByteArray head(count, Qt::Uninitialized);
    const ssize_t read = ::pread(fd, head.data(), size_t(count), 0);
    ::close(fd);
    head.truncate(std::max<qsizetype>(0, read));
    return head;
#else
    QFile file(source);
    if (!QFileInfo(source).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(count);
#endif
}

} // namespace

DocumentKind documentKind(const QString &source)
{
    return readableKind(source).value_or(DocumentKind::Other);
}

std::optional<DocumentKind> readableKind(const QString &source)
{
    const std::optional<QByteArray> head = firstBytes(source, 1024);
    if (!head)
        return std::nullopt;
    if (head->contains("%PDF-"))
        return DocumentKind::Pdf;
    return head->startsWith("%!") ? DocumentKind::PostScript : DocumentKind::Other;
}

QList<QSizeF> pdfPageSizes(const QString &source, const StopRequest *stop)
{
    // Height then width of every page, its MediaBox turned by its Rotate.
    const QList<QByteArray> numbers = askGhostscript(
        source,
        QStringLiteral("1 1 pdfpagecount { pdfgetpage dup /MediaBox pget { aload pop exch 4 -1 "
                       "roll sub 3 1 roll exch sub } { 0 0 } ifelse 3 -1 roll /Rotate pget not "
                       "{ 0 } if 90 idiv 2 mod 0 ne { exch } if == == } for"),
        stop);
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

PageCount pdfPageCount(const QString &source, const StopRequest *stop)
{
    // -2 when Ghostscript could not even set the pages aside within the memory bound, -1 when
    // the way to the last page meets a node already passed: a tree that repeats one node ten
    // times a level announces 10^8 pages in 1.4 KB. Ghostscript prints its own complaints before.
    const QList<QByteArray> output = askGhostscript(
        source,
        QStringLiteral("$error /errorname get /VMerror eq { -2 } { pdfpagecount dup 0 gt { dup "
                       "pdfgetpage null eq $error /errorname get /pdf_circular_reference eq and "
                       "{ pop -1 } if } if } ifelse =="),
        stop);
    bool ok = false;
    const qint64 pages = output.value(output.size() - 1).toLongLong(&ok);
    if (!ok || pages == 0)
        return {};
    if (pages < 0 || pages > std::numeric_limits<int>::max() ||
        pages > QFileInfo(source).size() * mostPagesPerByte)
        return {PageCount::Tree::Impossible, 0};
    return {PageCount::Tree::Sound, int(pages)};
}

} // namespace velinor

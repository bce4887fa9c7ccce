#include "pdfpages.h"

#include "childprocess.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace velinor {

namespace {

// Reading a page tree is quick even for thousands of pages; anything slower is a stuck program.
constexpr int ghostscriptTimeoutMs = 120000;

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
    const QString path = QFileInfo(source).absoluteFilePath();
    const QString whole = QStringLiteral("<%1> (r) file runpdfbegin %2 quit")
                              .arg(QString::fromLatin1(path.toUtf8().toHex()), program);
    return toolOutput(gs,
                      {QStringLiteral("-q"), QStringLiteral("-dNODISPLAY"),
                       QStringLiteral("-dSAFER"), QStringLiteral("-dNOPAUSE"),
                       QStringLiteral("--permit-file-read=") + path, QStringLiteral("-c"), whole},
                      ghostscriptTimeoutMs, stop)
        .simplified()
        .split(' ');
}

} // namespace

DocumentKind documentKind(const QString &source)
{
    if (!QFileInfo(source).isFile())
        return DocumentKind::Other;
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return DocumentKind::Other;
    const QByteArray head = file.read(1024);
    if (head.contains("%PDF-"))
        return DocumentKind::Pdf;
    return head.startsWith("%!") ? DocumentKind::PostScript : DocumentKind::Other;
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

int pdfPageCount(const QString &source, const StopRequest *stop)
{
    const QList<QByteArray> output =
        askGhostscript(source, QStringLiteral("pdfpagecount =="), stop);
    bool ok = false;
    const int pages = output.size() == 1 ? output.first().toInt(&ok) : 0;
    return ok && pages > 0 ? pages : 0;
}

} // namespace velinor

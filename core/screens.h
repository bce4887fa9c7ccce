#ifndef VELINOR_SCREENS_H
#define VELINOR_SCREENS_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// A page is read on the calculator a screen at a time: cut into pieces no taller than its
// screen, it is turned like a book's pages instead of scrolled. velinor cuts only between lines
// of text, where a whole row is blank: the converter prints how much ink each row of a rendered
// page holds, velinor chooses the rows, and the converter cuts.
namespace velinor {

struct ConversionCall;

constexpr int screenHeight = 240;

// The rows of one rendered page: true where a row holds ink.
struct RowProfile
{
    int width = 0;
    std::vector<bool> ink; // empty when the listing could not be read
};

// One piece of a page: its first row and its height.
struct Piece
{
    int top = 0;
    int height = 0;
};

// The arguments that make the converter print a page's profile: its "%w %h", then one line a
// row of the page scaled to one pixel wide, "0,Y: (V…", V above 0 where the row holds a pixel
// darker than 95 % white.
QStringList profileArguments(const QString &page);

// The profile of that listing; empty ink when its rows are not the page's, in order.
RowProfile parseRowProfile(const QByteArray &listing);

// Where to cut: pieces of at most screenHeight rows, in reading order. Each cut lies in a blank
// band between lines, the bands at the cuts kept to the margin that fitting leaves around the
// page (a sixty-second of its width); a band with no ink near it in reach is dropped, so no
// piece is blank. Ink taller than a screen with no blank row in reach (a figure) is cut at the
// screen's height. A page without ink gives its top screen.
QList<Piece> screenPieces(const RowProfile &profile);

// The arguments that write each piece of a page under its name (absolute), with the output
// options of the pages, and nothing else.
QStringList cutArguments(const QString &page, int width, const QList<Piece> &pieces,
                         const QStringList &outputOptions, const QStringList &names);

// "cours-p003-01.png": the second number is the piece's on its page, both counted from 1 and
// padded (pages to 3 digits at least, pieces to 2) so that sorting the names gives the reading
// order. A single image is page 1 of 1.
QString pieceName(const ConversionCall &file, int page, int pages, int piece, int pieces);

// Whether a file name is one of the piece names of this base name and extension.
bool isOwnPiece(const QString &fileName, const QString &baseName, const QString &extension,
                Qt::CaseSensitivity nameCase);

} // namespace velinor

#endif

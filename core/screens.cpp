#include "screens.h"

#include "arguments.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace velinor {

namespace {

// Where each row's value stands in a line "0,12: (0,0,0)  #000000000000  gray(0)".
bool readRow(const QByteArray &line, int row, bool &ink)
{
    const qsizetype colon = line.indexOf(':');
    const qsizetype open = line.indexOf('(', colon);
    if (colon < 0 || open < 0 || line.left(colon) != "0," + QByteArray::number(row))
        return false;
    qsizetype end = open + 1;
    while (end < line.size() && (std::isdigit(uchar(line.at(end))) || line.at(end) == '.'))
        ++end;
    bool ok = false;
    const double value = line.mid(open + 1, end - open - 1).toDouble(&ok);
    ink = value > 0;
    return ok;
}

QString padded(int number, int count, int least)
{
    const int width = std::max<int>(least, int(QString::number(count).size()));
    return QString::number(number).rightJustified(width, QLatin1Char('0'));
}

bool allDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

} // namespace

QStringList profileArguments(const QString &page)
{
    // Sixteen bits a row: one dark pixel in a row thousands of pixels wide must not round to 0.
    return {page,
            QStringLiteral("-print"),
            QStringLiteral("%w %h\\n"),
            QStringLiteral("-colorspace"),
            QStringLiteral("gray"),
            QStringLiteral("-threshold"),
            QStringLiteral("95%"),
            QStringLiteral("-negate"),
            QStringLiteral("-scale"),
            QStringLiteral("1x!"),
            QStringLiteral("-depth"),
            QStringLiteral("16"),
            QStringLiteral("txt:-")};
}

RowProfile parseRowProfile(const QByteArray &listing)
{
    const QList<QByteArray> lines = listing.split('\n');
    const QList<QByteArray> size = lines.value(0).trimmed().split(' ');
    RowProfile profile;
    const int height = size.value(1).toInt();
    profile.width = size.value(0).toInt();
    if (size.size() != 2 || profile.width <= 0 || height <= 0)
        return {};
    profile.ink.reserve(size_t(height));
    for (qsizetype at = 1; at < lines.size(); ++at) {
        const QByteArray &line = lines.at(at);
        bool ink = false;
        if (line.startsWith('#') || line.isEmpty())
            continue;
        if (!readRow(line, int(profile.ink.size()), ink))
            return {};
        profile.ink.push_back(ink);
    }
    if (int(profile.ink.size()) != height)
        return {};
    return profile;
}

QList<Piece> screenPieces(const RowProfile &profile)
{
    const std::vector<bool> &ink = profile.ink;
    const int rows = int(ink.size());
    const int margin = std::max(1, int(std::lround(profile.width / 62.0)));
    const auto inkFrom = [&](int row) {
        return int(std::find(ink.begin() + std::min(row, rows), ink.end(), true) - ink.begin());
    };
    const int last = int(ink.rend() - std::find(ink.rbegin(), ink.rend(), true)) - 1;
    if (last < 0)
        return {{0, std::min(rows, screenHeight)}};
    QList<Piece> pieces;
    int floor = 0; // the first row the next piece may take
    for (int next = inkFrom(0); next <= last;) {
        const int top = std::max(floor, next - margin);
        const int limit = top + screenHeight - 1;
        if (last <= limit) {
            pieces.append({top, std::min({rows - 1, limit, last + margin}) - top + 1});
            break;
        }
        int cut = limit;
        while (cut > next && ink[size_t(cut)])
            --cut;
        if (cut == next) { // no blank row in reach: cut at the screen's height
            pieces.append({top, screenHeight});
            floor = limit + 1;
            next = inkFrom(floor);
            continue;
        }
        int inkEnd = cut;
        while (!ink[size_t(inkEnd)])
            --inkEnd;
        pieces.append({top, std::min(cut, inkEnd + margin) - top + 1});
        // The next piece may take the band's blank rows again, never its ink.
        floor = inkEnd + 1;
        next = inkFrom(cut);
    }
    return pieces;
}

QStringList cutArguments(const QString &page, int width, const QList<Piece> &pieces,
                         const QStringList &outputOptions, const QStringList &names)
{
    QStringList args{page, QStringLiteral("+repage")};
    for (int i = 0; i < pieces.size(); ++i) {
        // A name holding "%" would otherwise be read as a frame number's template.
        QString name = names.at(i);
        name.replace(QLatin1Char('%'), QLatin1String("%%"));
        args << QStringLiteral("(") << QStringLiteral("+clone") << QStringLiteral("-crop")
             << QStringLiteral("%1x%2+0+%3")
                    .arg(width)
                    .arg(pieces.at(i).height)
                    .arg(pieces.at(i).top)
             << QStringLiteral("+repage") << outputOptions << QStringLiteral("-write") << name
             << QStringLiteral("+delete") << QStringLiteral(")");
    }
    return args << QStringLiteral("null:");
}

QString pieceName(const ConversionCall &file, int page, int pages, int piece, int pieces)
{
    return file.baseName + QLatin1String("-p") + padded(page + 1, pages, 3) + QLatin1Char('-') +
           padded(piece + 1, pieces, 2) + file.extension;
}

bool isOwnPiece(const QString &fileName, const QString &baseName, const QString &extension,
                Qt::CaseSensitivity nameCase)
{
    const QString head = baseName + QLatin1String("-p");
    if (!fileName.startsWith(head, nameCase) || !fileName.endsWith(extension, nameCase))
        return false;
    const QStringView numbers =
        QStringView(fileName).mid(head.size(), fileName.size() - head.size() - extension.size());
    const qsizetype dash = numbers.indexOf(QLatin1Char('-'));
    return dash > 0 && allDigits(numbers.left(dash)) && allDigits(numbers.mid(dash + 1));
}

} // namespace velinor

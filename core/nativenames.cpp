#include "nativenames.h"

#include <QFile>
#include <QStringList>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <dirent.h>
#endif

namespace velinor {

namespace {

// How many bytes the UTF-8 sequence this byte begins takes; 0 for a byte no sequence begins with.
int sequenceLength(uchar lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xc2 && lead <= 0xdf)
        return 2;
    if (lead >= 0xe0 && lead <= 0xef)
        return 3;
    return lead >= 0xf0 && lead <= 0xf4 ? 4 : 0;
}

#ifdef Q_OS_UNIX
// The name in this folder that Qt reads as `decoded` although it cannot represent it.
QByteArray unrepresentableEntry(const QByteArray &folder, const QString &decoded)
{
    QByteArray found;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return found;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!representableName(name) && QFile::decodeName(name) == decoded) {
            found = name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}
#endif

} // namespace

QByteArray nameBytes(const QString &name)
{
#ifdef Q_OS_UNIX
    return name.toUtf8();
#else
    return QFile::encodeName(name);
#endif
}

bool representableName(const QByteArray &bytes)
{
#ifdef Q_OS_WIN
    // Windows names are text already: only a URL's path comes as bytes, and it is UTF-8.
    return QString::fromUtf8(bytes).toUtf8() == bytes;
#else
    return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
#endif
}

QString escapedName(const QByteArray &bytes)
{
    QString shown;
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = sequenceLength(uchar(bytes.at(i)));
        const QByteArray sequence = bytes.mid(i, length);
        const QString text = QString::fromUtf8(sequence);
        if (length > 0 && sequence.size() == length && text.toUtf8() == sequence) {
            shown += text;
            i += sequence.size();
        } else {
            shown += QStringLiteral("\\x%1").arg(uchar(bytes.at(i)), 2, 16, QLatin1Char('0'));
            ++i;
        }
    }
    return shown;
}

QByteArray droppedBytes(const QUrl &url)
{
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

QByteArray misdecodedPath(const QString &path)
{
#ifdef Q_OS_UNIX
    if (!path.contains(QChar::ReplacementCharacter))
        return QByteArray();
    // Each part that holds one may stand for a name of its folder that Qt could not read.
    const QStringList parts = path.split(QLatin1Char('/'));
    QByteArray bytes;
    bool misdecoded = false;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QByteArray part = QFile::encodeName(parts.at(i));
        if (parts.at(i).contains(QChar::ReplacementCharacter)) {
            const QByteArray folder = i == 0 ? "." : bytes.isEmpty() ? "/" : bytes;
            const QByteArray entry = unrepresentableEntry(folder, parts.at(i));
            misdecoded = misdecoded || !entry.isEmpty();
            part = entry.isEmpty() ? part : entry;
        }
        bytes += (i == 0 ? QByteArray() : QByteArray("/")) + part;
    }
    return misdecoded ? bytes : QByteArray();
#else
    Q_UNUSED(path);
    return QByteArray();
#endif
}

} // namespace velinor

#ifndef VELINOR_NATIVENAMES_H
#define VELINOR_NATIVENAMES_H

#include <QByteArray>
#include <QString>

class QUrl;

// File names as the system gives them, in bytes, and the text Qt makes of them. A Unix name is
// any bytes but Qt reads it as UTF-8: bytes that are not UTF-8 become replacement characters,
// and the text then names another file, or none. Such a name is refused, never approximated.
namespace velinor {

// The bytes of a name, as QFile::encodeName gives them. Qt 6 takes every name on Unix for UTF-8;
// spelt out here without the converter that encodeName sets up for each name, since every file
// of a run passes through here several times.
QByteArray nameBytes(const QString &name);

// Whether these bytes come back unchanged from text: a command-line argument, a file URL's path.
bool representableName(const QByteArray &bytes);

// The name as best it can be shown: its UTF-8 as text, every other byte as \xNN.
QString escapedName(const QByteArray &bytes);

// The bytes by which a dropped file URL names its file: its path, percent-decoded.
QByteArray droppedBytes(const QUrl &url);

// For a path Qt made from the file system's own names, as its dialogs give: the bytes of the
// file it was made from when that file's name cannot be represented; empty when it names what
// it says. Only a path holding a replacement character can be such a one.
QByteArray misdecodedPath(const QString &path);

} // namespace velinor

#endif

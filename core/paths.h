#ifndef VELINOR_PATHS_H
#define VELINOR_PATHS_H

#include <QString>

class QUrl;

// How the program splits a "/"-separated path. Every piece counts, empty ones included, so
// these never fail: an odd path only gives odd pieces.
namespace velinor {

// Text after the last "/" (the whole path when there is none).
QString fileName(const QString &path);

// Text before the last "/" (empty when there is none).
QString folderPart(const QString &path);

// Text before the last "/", the whole path when there is none: the folder that a listed file
// gives to the next dialog and, while none is set, to the destination.
QString folderOf(const QString &path);

// The path that a dropped URL adds to the file list, taken as it stands: no scheme, host or
// existence test, so a folder or an empty path is listed like a file. Windows file URLs put a
// "/" before the drive letter (/C:/Docs/a.pdf), which is dropped there.
QString dropPath(const QUrl &url);

// A file name without its last "." and what follows; empty when the name has no ".".
QString baseName(const QString &fileName);

// The folder and the name joined by QDir's rule: one "/" between them, a trailing separator of
// the folder dropped, an empty folder read as the current one (an absolute name passes as is).
QString joinPath(const QString &folder, const QString &name);

} // namespace velinor

#endif

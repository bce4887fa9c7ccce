#ifndef VELINOR_PATHS_H
#define VELINOR_PATHS_H

#include <QString>

// How the program splits a "/"-separated path. Every piece counts, empty ones included, so
// these never fail: an odd path only gives odd pieces.
namespace velinor {

// Text after the last "/" (the whole path when there is none).
QString fileName(const QString &path);

// Text before the last "/" (empty when there is none).
QString folderPart(const QString &path);

// A file name without its last "." and what follows; empty when the name has no ".".
QString baseName(const QString &fileName);

// The folder and the name joined by QDir's rule: one "/" between them, a trailing separator of
// the folder dropped, an empty folder read as the current one (an absolute name passes as is).
QString joinPath(const QString &folder, const QString &name);

} // namespace velinor

#endif

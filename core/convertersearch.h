#ifndef VELINOR_CONVERTERSEARCH_H
#define VELINOR_CONVERTERSEARCH_H

#include <QString>
#include <QStringList>

// Finding ImageMagick's converter without asking anyone: the window adds its box and dialog on
// top, the command line uses the result as it is.
namespace velinor {

struct ConverterSearch
{
    QString path;        // the converter found; empty when the search failed
    QString startFolder; // after a failure: where the user should be asked to look
};

// The Windows rule. Only one base folder is searched: the first of them that exists, or the last
// without looking. In it, only the installation folder matching the pattern whose name sorts
// highest (plain character order, so 6.8.9 beats 6.10.0) is looked into for the program; the
// search fails rather than try another installation. After a failure the start folder is the
// last folder looked into.
ConverterSearch searchInstallFolders(const QStringList &baseFolders, const QString &folderPattern,
                                     const QString &programName);

// The absolute path of the first of the programs found on PATH as a shell finds it (an executable
// file, folders in PATH order), trying each program over the whole PATH before the next; empty
// when none is there.
QString findOnPath(const QStringList &programNames);

// The search of the running platform: the fixed program folders on Windows, PATH elsewhere.
ConverterSearch searchConverter();

// The converter found by searchConverter(), or an empty string.
QString findConverter();

} // namespace velinor

#endif

#ifndef VELINOR_REASONS_H
#define VELINOR_REASONS_H

#include <QString>
#include <QStringList>

// Why a file went wrong, in the words both front ends show under their own message: a box's
// details in the window, the lines under a file in velinor-cli.
namespace velinor {

struct FileResult;
struct PolicyChange;

// Whether a character could move a terminal's cursor, clear it, or turn the text around.
bool isControl(QChar c);

// A text that came from outside (a converter's output, a file's name) with its control
// characters written out as \n, \t, \r, \xHH or \uHHHH.
QString escapeControls(const QString &text);

// The converter's fate ("Code de sortie du convertisseur : 3"), then the last lines it wrote on
// its standard error, escaped.
QStringList failureDetails(const FileResult &result);

// Why a converted document has no .cbz.tns: a line naming the file, as the front end shows its
// name, then what could not be read or written and why.
QStringList packFailure(const QString &fileName, const FileResult &result);

// Why a source is not a file that can be converted: missing, not a regular file, or not readable.
QString unreadableDetails(const QString &path);

// What granting PDF in the user's policy did, or why it left the file as it was.
QString policyChangeText(const PolicyChange &change);

} // namespace velinor

#endif

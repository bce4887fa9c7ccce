#ifndef VELINOR_REASONS_H
#define VELINOR_REASONS_H

#include <QString>
#include <QStringList>

// Why a file went wrong, in the words both front ends show under their own message: a box's
// details in the window, the lines under a file in velinor-cli.
namespace velinor {

struct DestinationFolder;
struct FileResult;
struct PolicyChange;
struct SourceVerdict;

// How a front end writes a name into its messages: the window as it is, velinor-cli quoted where
// a control character could fake a line of its own.
using NameShown = QString (*)(const QString &name);

// Whether a character could move a terminal's cursor, clear it, or turn the text around.
bool isControl(QChar c);

// A text that came from outside (a converter's output, a file's name) with its control
// characters written out as \n, \t, \r, \xHH or \uHHHH.
QString escapeControls(const QString &text);

// What became of a listed file, in the words both front ends show first, naming it (source) or
// the listed source it would replace; empty once converted. Of a single image too tall only the
// measures: the advice that follows names each front end's own controls.
QString outcomeText(const FileResult &result, const QString &source, NameShown shown);

// What is told of a source refused before any converter runs (SourceGuard::check); empty for
// none.
QString refusalText(const SourceVerdict &verdict, NameShown shown);

// Said after a file whose ".tns" rename found no image to rename.
QString renameFailedText();

// Why a name given by bytes that text cannot hold is refused.
QString unrepresentableText(const QByteArray &bytes, NameShown shown);

// A destination that could not be made (shownFolder as the front end writes it), then why.
QString uncreatableText(const QString &shownFolder);
QString uncreatableReason(const DestinationFolder &folder);

// The image whose cut into screens failed, if any, the converter's fate ("Code de sortie du
// convertisseur : 3"), then the last lines it wrote on its standard error, escaped.
QStringList failureDetails(const FileResult &result);

// Why a converted document has no .cbz.tns (outcomeText names the file): what could not be read
// or written and why.
QString packDetails(const FileResult &result);

// Why a source is not a file that can be converted: missing, not a regular file, or not readable.
QString unreadableDetails(const QString &path);

// What granting PDF in the user's policy did, or why it left the file as it was.
QString policyChangeText(const PolicyChange &change);

} // namespace velinor

#endif

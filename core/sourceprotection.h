#ifndef VELINOR_SOURCEPROTECTION_H
#define VELINOR_SOURCEPROTECTION_H

#include <QSet>
#include <QString>
#include <QStringList>

namespace velinor {

struct ConversionCall;

// True when writing the output path would replace the source file itself, as converting
// "img.png" to PNG into its own folder would. Spellings of one path ("./", "..", doubled "/",
// letter case on Windows) count as the same file, and so do symbolic links once both exist.
bool wouldOverwriteSource(const QString &source, const QString &outputPath);

// Why a listed file is left alone before any converter runs.
enum class SourceRefusal {
    None,
    Unreadable,     // missing, or not a file that can be read
    ReplacesSource, // an image of it would replace a listed source (SourceVerdict::replaced)
};

struct SourceVerdict
{
    SourceRefusal refusal = SourceRefusal::None;
    QString replaced; // the listed source an image would replace
};

// The files of one run, known by what they are rather than how they are spelled, so that
// nothing the run writes or renames can be one of them.
class SourceGuard
{
public:
    SourceGuard() = default;
    explicit SourceGuard(const QStringList &sources);

    SourceVerdict check(const QString &source, const ConversionCall &call) const;
    // Whether the file at this path is one of the listed sources, under any name.
    bool isListed(const QString &path) const;

private:
    QStringList sources;
    QSet<QString> identities;
};

} // namespace velinor

#endif

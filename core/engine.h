#ifndef VELINOR_ENGINE_H
#define VELINOR_ENGINE_H

#include "arguments.h"
#include "cbz.h"
#include "singleimage.h"
#include "tnsrename.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace velinor {

// What became of one listed file.
struct FileResult
{
    enum class Outcome {
        Converted,
        Unreadable,     // missing, or not a regular file that can be read
        ReplacesSource, // an image would replace a listed source (replaced)
        TooTall,        // its single image would pass the converter's limits (image)
        InvalidPdf,     // its page tree repeats pages or announces more than the file holds
        NotStarted,     // the calls could not be worked out, or the converter could not start
        Failed,         // the converter exited with exitCode
        Crashed,        // the converter died of a signal
        PackFailed,     // converted, but its images could not be packed (pack); they stay
    };
    Outcome outcome = Outcome::Converted;
    QString replaced;
    StackedImage image;
    int exitCode = 0;
    QStringList errorTail;     // the last lines the converter wrote on its standard error
    QString cutImage;          // of a failure cutting into screens: the image it failed on
    bool renameFailed = false; // ".tns" renaming found no image to rename
    PackResult pack;           // of PackFailed: what was not read or written
    QList<QStringList> calls;  // of a dry run: the converter's arguments for each call, in order

    bool refused() const
    {
        return outcome == Outcome::Unreadable || outcome == Outcome::ReplacesSource;
    }
};

struct EngineSettings
{
    QString converter;
    QString destination;
    ConversionOptions options;
    TnsRename tns = TnsRename::None;
    int jobs = 1;
    // Plans every file as a run would, refusals and page counts included, and tells the calls it
    // would make (FileResult::calls) instead of making them; nothing is written or renamed.
    bool dryRun = false;
};

// Converts a list of files with up to `jobs` converter calls at once. The unit it schedules is
// a page range, so that one long document uses every processor. Files whose images could bear
// the same names (and, with renaming by prefix, files whose base names begin one another) never
// run at once and keep list order, so that what ends on disk is what converting the files one
// after the other gives; names are compared as the destination compares them, letter case
// ignored on an exFAT memory card. It tells about the files in list order, whatever order they
// end in.
class Engine : public QObject
{
    Q_OBJECT

public:
    Engine(const EngineSettings &settings, const QStringList &sources, QObject *parent = nullptr);
    ~Engine() override;

    void start();
    // Nothing new starts and the running converters are asked to end (SIGTERM to their process
    // groups), killed 5 s later or at a second call. Stopped files are not told about, and their
    // images, perhaps incomplete, are not renamed. finished(true) follows once all have ended.
    void stop();

signals:
    // The file's conversion has begun: it passed the checks on its source.
    void fileStarted(int index);
    // A page range of a long document is over: pagesDone of its pages are converted. Told, in
    // list order like the rest, for the file last told started, never after its fileDone.
    void fileProgress(int index, int pagesDone, int pages);
    void fileDone(int index, const velinor::FileResult &result);
    void finished(bool stopped);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace velinor

Q_DECLARE_METATYPE(velinor::FileResult)

#endif

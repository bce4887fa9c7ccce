#ifndef VELINOR_CLI_BATCH_H
#define VELINOR_CLI_BATCH_H

#include "arguments.h"
#include "childprocess.h"
#include "chunking.h"
#include "magicknames.h"
#include "sourceprotection.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>

#include <deque>
#include <memory>
#include <vector>

class QProcess;
class QTemporaryDir;

// One file of the run: as the user wrote it, for the messages, and as the converter gets it.
struct SourceFile
{
    QString given;
    QString path;
};

struct BatchSettings
{
    QString converter;
    QString destination;
    velinor::ConversionOptions options;
    bool tns = false;
    bool quiet = false;
    int jobs = 1;
};

// Tells on standard error that a file is over, "[3/10] chap.pdf", followed by what went wrong
// with it. Quiet, it names only the files that went wrong.
class Progress
{
public:
    Progress(int total, bool quiet) : total(total), quiet(quiet) {}
    void fileDone(const QString &name, const QStringList &problems);

private:
    int done = 0;
    int total;
    bool quiet;
};

// Why a file is skipped before any converter runs (it is missing or not a regular file, or an
// image of it would replace a listed source), in the window's words; empty when it can be
// converted.
QString refusal(const velinor::SourceGuard &listed, const SourceFile &file,
                const velinor::ConversionCall &call, bool tns);

// Why a single image is not made, in words that name velinor-cli's own options.
QString tooTallText(const QString &fileName, const velinor::StackedImage &image);

// Converts the files with up to `jobs` converters running at once, each started as soon as a
// slot frees. Two files whose images could bear the same names never run at the same time, and
// run in list order, so that the outcome is the one of a conversion done file after file.
class Batch : public QObject
{
    Q_OBJECT

public:
    Batch(const BatchSettings &settings, const QList<SourceFile> &files, QObject *parent = nullptr);
    ~Batch() override;

    void start();
    // Starts nothing more and stops the running converters; finished(130) follows once they
    // have all ended. A second call does not wait for them to end on their own any longer.
    void interrupt();

signals:
    void finished(int exitStatus);

private:
    struct Job
    {
        SourceFile file;
        velinor::ConversionCall call;
        QList<QStringList> runs;                      // the converter calls, one after the other
        std::unique_ptr<velinor::LiteralNames> names; // while they run
        qsizetype nextRun = 0;
        QProcess *process = nullptr;
        std::unique_ptr<QTemporaryDir> scratch; // the running converter's temporary folder
        QByteArray errorTail;                   // the end of the running converter's standard error
        QStringList problems;
    };

    void schedule();
    bool begin(int index);
    void planned(int index, const velinor::Plan &plan);
    void startRun(int index);
    void keepErrorTail(int index);
    void runEnded(int index, const QString &failure);
    void complete(int index);
    void endIfIdle();
    void stopConverters(velinor::StopRequest::Level how);

    BatchSettings settings;
    velinor::SourceGuard listed;
    std::vector<Job> jobs;
    std::deque<int> waiting; // list order
    QList<int> active;       // being planned or converted
    Progress progress;
    QThreadPool planners;
    velinor::StopRequest stop; // read by the planners while they count pages
    QTimer killTimer;
    bool anyFailed = false;
    bool interrupted = false;
    bool ended = false;
};

#endif

#ifndef VELINOR_CLI_BATCH_H
#define VELINOR_CLI_BATCH_H

#include "arguments.h"
#include "engine.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

// One file of the run: as the user wrote it, for the messages, and as the converter gets it.
struct SourceFile
{
    QString given;
    QString path;
    // The bytes of a name that text cannot hold (see nativenames.h). Its path is then empty, a
    // file the engine refuses as missing without opening anything.
    QByteArray unrepresentable;
};

struct BatchSettings
{
    QString converter;
    QString destination;
    velinor::ConversionOptions options;
    bool tns = false;
    bool quiet = false;
    int jobs = 1;
    bool dryRun = false; // tell the calls (callPlanned), make none
};

// Tells on standard error that a file is over, "[3/10] chap.pdf", followed by what went wrong
// with it. Quiet, it names only the files that went wrong. On a terminal, the pages done of a
// long document show on the line of the file under way, rewritten in place; a pipe or a file
// gets only the finished lines, which scripts read.
class Progress
{
public:
    Progress(int total, bool quiet);
    void pagesDone(const QString &name, int done, int pages);
    void fileDone(const QString &name, const QStringList &problems);

private:
    int done = 0;
    int total;
    bool quiet;
    bool terminal;
    bool lineOpen = false; // a line of pages waits to be replaced
};

// velinor-cli's side of a run: the engine converts, this tells about each file in its words and
// turns the end into the exit status.
class Batch : public QObject
{
    Q_OBJECT

public:
    Batch(const BatchSettings &settings, const QList<SourceFile> &files, QObject *parent = nullptr);
    ~Batch() override;

    void start();
    // Starts nothing more and stops the running converters; finished(128 + the first signal's
    // number, as a shell reports a program it ended) follows once they have all ended. A second
    // call does not wait for them to end on their own any longer.
    void interrupt(int signalNumber);

signals:
    // In a dry run, each call a run would make, in list order.
    void callPlanned(const QStringList &arguments);
    void finished(int exitStatus);

private:
    void fileDone(int index, const velinor::FileResult &result);

    QList<SourceFile> files;
    Progress progress;
    std::unique_ptr<velinor::Engine> engine;
    bool anyFailed = false;
    int interruptedBy = 0; // the signal that interrupted the run
    QString converter;
    bool dryRun;
    // A PDF that failed, which names the fix at the end if ImageMagick's policy refuses PDF.
    QString failedPdf;
};

#endif

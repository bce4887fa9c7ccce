#include "engine.h"

#include "chunking.h"
#include "converterprocess.h"
#include "filenamecase.h"
#include "magicknames.h"
#include "tnsrename.h"

#include <algorithm>

namespace velinor {

namespace {

constexpr int errorTailLines = 5;
// How far past a file held back by a name clash the scheduler looks for one it can start.
constexpr int lookaheadPerJob = 8;

QStringList lastLines(const QByteArray &output)
{
    QStringList lines = QString::fromLocal8Bit(output).split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.mid(std::max<qsizetype>(0, lines.size() - errorTailLines));
}

} // namespace

struct Engine::Job
{
    enum class State { Waiting, Planning, Ready, Over };

    struct Run
    {
        ConverterProcess *process = nullptr;
        int pages = 0; // of a split document
    };

    QString source;
    ConversionCall call;
    State state = State::Waiting;
    bool started = false; // passed the checks on its source
    bool startReported = false;
    bool failed = false;
    bool stopped = false;
    ConverterCalls calls;
    int nextCall = 0;
    int pagesDone = 0;
    int pagesTold = 0;
    std::unique_ptr<LiteralNames> names; // while its calls run
    std::vector<std::unique_ptr<Run>> runs;
    FileResult result;

    bool callsLeft() const { return !failed && nextCall < calls.size(); }
};

Engine::Engine(const EngineSettings &settings, const QStringList &sources, QObject *parent)
    : QObject(parent), settings(settings), nameCase(folderNameCase(settings.destination)),
      listed(sources, settings.destination, nameCase),
      renamer(settings.destination, settings.tns, nameCase, listed)
{
    qRegisterMetaType<FileResult>();
    this->settings.jobs = std::max(1, settings.jobs);
    for (const QString &source : sources) {
        auto job = std::make_unique<Job>();
        job->source = source;
        job->call = buildConversion(source, settings.destination, settings.options);
        waiting.push_back(int(jobs.size()));
        jobs.push_back(std::move(job));
    }
    planners.setMaxThreadCount(this->settings.jobs);
    killTimer.setSingleShot(true);
    connect(&killTimer, &QTimer::timeout, this, [this] {
        stopRequest.escalate();
        signalAll(StopRequest::Kill);
    });
}

Engine::~Engine()
{
    stopRequest.escalate();
    stopRequest.escalate();
    signalAll(StopRequest::Kill);
    planners.waitForDone();
}

void Engine::start()
{
    schedule();
    endIfIdle();
}

// Two files clash when a name one of them writes can be a name the other writes: the same base
// name, or one base name being the other's page name ("a-1" and the second page of "a"), as the
// destination compares names. Renaming by prefix takes "chapitre.png" and "Chapitre.png" for
// images of "chap" as well: its rule ignores case everywhere.
static bool clash(const ConversionCall &a, const ConversionCall &b, TnsRename tns,
                  Qt::CaseSensitivity nameCase)
{
    if (isOwnImage(a.baseName + a.extension, b.baseName, b.extension, nameCase) ||
        isOwnImage(b.baseName + b.extension, a.baseName, a.extension, nameCase))
        return true;
    return tns == TnsRename::ByPrefix && (a.baseName.startsWith(b.baseName, Qt::CaseInsensitive) ||
                                          b.baseName.startsWith(a.baseName, Qt::CaseInsensitive));
}

void Engine::schedule()
{
    while (!stopping && running < settings.jobs) {
        if (startRange())
            continue;
        // Files passed over because they clash with a begun one: a later file that clashes with
        // one of them must wait as well, or it would overtake it and change the outcome.
        std::vector<int> held;
        const size_t lookahead = size_t(settings.jobs) * lookaheadPerJob;
        int chosen = -1;
        for (int index : waiting) {
            if (held.size() >= lookahead)
                break;
            const ConversionCall &call = jobs[size_t(index)]->call;
            const auto clashesWith = [&](int other) {
                return clash(call, jobs[size_t(other)]->call, settings.tns, nameCase);
            };
            if (std::any_of(active.cbegin(), active.cend(), clashesWith) ||
                std::any_of(held.cbegin(), held.cend(), clashesWith)) {
                held.push_back(index);
                continue;
            }
            chosen = index;
            break;
        }
        if (chosen < 0)
            return;
        waiting.erase(std::find(waiting.begin(), waiting.end(), chosen));
        if (!begin(chosen))
            report();
    }
}

bool Engine::startRange()
{
    // Earlier files first, so that the files end, and are told about, about in list order.
    for (int index : active) {
        Job &job = *jobs[size_t(index)];
        if (job.state == Job::State::Ready && job.callsLeft()) {
            runRange(index);
            return true;
        }
    }
    return false;
}

bool Engine::begin(int index)
{
    Job &job = *jobs[size_t(index)];
    const SourceVerdict verdict =
        listed.check(job.source, job.call, settings.tns != TnsRename::None);
    if (verdict.refusal != SourceRefusal::None) {
        job.result.outcome = verdict.refusal == SourceRefusal::Unreadable
                                 ? FileResult::Outcome::Unreadable
                                 : FileResult::Outcome::ReplacesSource;
        job.result.replaced = verdict.replaced;
        job.state = Job::State::Over;
        return false;
    }
    job.started = true;
    job.state = Job::State::Planning;
    active.insert(std::upper_bound(active.begin(), active.end(), index), index);
    ++running;
    report();
    // Counting pages reads the document, which must not hold up the converters already running.
    // Either way the calls start from the event loop, never from inside schedule().
    const DocumentKind kind = documentKind(job.source);
    if (!countsImages(job.call, settings.options, kind)) {
        QMetaObject::invokeMethod(
            this,
            [this, index, kind] {
                const Job &queued = *jobs[size_t(index)];
                planned(index, planFile(settings.converter, queued.source, kind, queued.call,
                                        settings.options, &stopRequest));
            },
            Qt::QueuedConnection);
        return true;
    }
    planners.start([this, index, kind, converter = settings.converter, source = job.source,
                    call = job.call, options = settings.options] {
        const Plan plan = planFile(converter, source, kind, call, options, &stopRequest);
        QMetaObject::invokeMethod(
            this, [this, index, plan] { planned(index, plan); }, Qt::QueuedConnection);
    });
    return true;
}

void Engine::planned(int index, const Plan &plan)
{
    Job &job = *jobs[size_t(index)];
    --running;
    job.state = Job::State::Ready;
    if (stopping) {
        fileOver(index);
        endIfIdle();
        return;
    }
    if (plan.outcome == Plan::Outcome::TooTall) {
        job.result.outcome = FileResult::Outcome::TooTall;
        job.result.image = plan.image;
        job.failed = true;
    } else if (plan.outcome == Plan::Outcome::InvalidPdf) {
        job.result.outcome = FileResult::Outcome::InvalidPdf;
        job.failed = true;
    } else if (plan.calls.size() > 0) {
        job.calls = plan.calls;
        job.names =
            std::make_unique<LiteralNames>(absoluteForMagick(job.source), plan.calls.whole.output);
    }
    if (!job.failed && (!job.names || !job.names->isReady())) {
        job.result.outcome = FileResult::Outcome::NotStarted;
        job.failed = true;
    }
    if (job.failed)
        fileOver(index);
    schedule();
    endIfIdle();
}

void Engine::runRange(int index)
{
    Job &job = *jobs[size_t(index)];
    auto run = std::make_unique<Job::Run>();
    auto *process = new ConverterProcess(this);
    run->process = process;
    if (job.calls.size() > 1) {
        const PageRange range = job.calls.range(job.nextCall);
        run->pages = range.last - range.first + 1;
    }
    connect(process, &ConverterProcess::ended, this,
            [this, index, process](ConverterProcess::Ending ending, int exitCode) {
                FileResult outcome;
                if (ending == ConverterProcess::Ending::NotStarted)
                    outcome.outcome = FileResult::Outcome::NotStarted;
                else if (ending == ConverterProcess::Ending::Crashed)
                    outcome.outcome = FileResult::Outcome::Crashed;
                else if (exitCode != 0)
                    outcome.outcome = FileResult::Outcome::Failed;
                outcome.exitCode = exitCode;
                rangeEnded(index, process, outcome);
            });
    job.runs.push_back(std::move(run));
    ++running;
    process->start(settings.converter, job.calls.at(job.nextCall++).arguments(),
                   job.names->workingDirectory());
}

void Engine::rangeEnded(int index, ConverterProcess *process, const FileResult &outcome)
{
    Job &job = *jobs[size_t(index)];
    const auto found = std::find_if(job.runs.begin(), job.runs.end(),
                                    [process](const auto &run) { return run->process == process; });
    if (found == job.runs.end())
        return;
    const QByteArray errorTail = process->errorTail();
    if (outcome.outcome == FileResult::Outcome::Converted)
        job.pagesDone += (*found)->pages;
    process->deleteLater();
    job.runs.erase(found);
    --running;

    // The first failing range is the file's failure: no later range starts.
    if (!stopping && outcome.outcome != FileResult::Outcome::Converted && !job.failed) {
        job.failed = true;
        job.result = outcome;
        job.result.errorTail = lastLines(errorTail);
    }
    if (job.runs.empty() && (stopping || !job.callsLeft()))
        fileOver(index);
    else
        report();
    schedule();
    endIfIdle();
}

void Engine::fileOver(int index)
{
    Job &job = *jobs[size_t(index)];
    job.state = Job::State::Over;
    job.stopped = stopping;
    // Before the rename, which must not take an empty placeholder for an image.
    job.names.reset();
    active.erase(std::find(active.begin(), active.end(), index));
    // As ever, a failed conversion is still followed by the rename, which finds whatever images
    // it did write (and says so when there are none); a refused file wrote nothing.
    const bool wrote = !job.stopped && job.result.outcome != FileResult::Outcome::TooTall &&
                       job.result.outcome != FileResult::Outcome::InvalidPdf;
    if (wrote && settings.tns != TnsRename::None) {
        QList<int> firstPages;
        for (int call = 0; call < job.calls.size(); ++call)
            firstPages << job.calls.range(call).first;
        job.result.renameFailed = !renamer.renameAfter(job.call, firstPages);
    }
    report();
}

void Engine::report()
{
    // A slot may open a box, whose event loop lets the run go on and come back here.
    if (reporting) {
        reportAgain = true;
        return;
    }
    reporting = true;
    do {
        reportAgain = false;
        while (reportCursor < int(jobs.size())) {
            Job &job = *jobs[size_t(reportCursor)];
            if (job.started && !job.startReported) {
                job.startReported = true;
                emit fileStarted(reportCursor);
            }
            if (job.state != Job::State::Over && !stopping && job.pagesDone > job.pagesTold) {
                job.pagesTold = job.pagesDone;
                emit fileProgress(reportCursor, job.pagesDone, job.calls.pages);
            }
            if (job.state != Job::State::Over && !(ended && stopping))
                break;
            const int index = reportCursor++;
            if (job.state == Job::State::Over && !job.stopped)
                emit fileDone(index, job.result);
        }
    } while (reportAgain);
    reporting = false;
    if (finishAfterReport) {
        finishAfterReport = false;
        emit finished(stopping);
    }
}

void Engine::endIfIdle()
{
    if (ended || running > 0 || (!stopping && (!waiting.empty() || !active.empty())))
        return;
    ended = true;
    killTimer.stop();
    while (!active.empty())
        fileOver(active.front());
    // The end comes after the last file is told about, even from inside a box it opened.
    finishAfterReport = true;
    report();
}

void Engine::stop()
{
    stopRequest.escalate();
    if (stopping) {
        signalAll(StopRequest::Kill);
        return;
    }
    stopping = true;
    waiting.clear();
    signalAll(StopRequest::Terminate);
    killTimer.start(terminateGraceMs);
    endIfIdle();
}

void Engine::signalAll(StopRequest::Level level)
{
    for (const auto &job : jobs) {
        for (const auto &run : job->runs)
            run->process->signal(level);
    }
}

} // namespace velinor

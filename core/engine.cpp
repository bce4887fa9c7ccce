#include "engine.h"

#include "chunking.h"
#include "converterprocess.h"
#include "filenamecase.h"
#include "magicknames.h"
#include "pdfpages.h"
#include "scratchfolders.h"
#include "screencut.h"
#include "screens.h"
#include "sourceprotection.h"
#include "tnsrename.h"

#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <optional>
#include <vector>

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

// Two files clash when a name one of them writes can be a name the other writes: the same base
// name, or one base name being the other's page name ("a-1" and the second page of "a"), as the
// destination compares names. Renaming by prefix takes "chapitre.png" and "Chapitre.png" for
// images of "chap" as well: its rule ignores case everywhere.
bool clash(const ConversionCall &a, const ConversionCall &b, TnsRename tns,
           Qt::CaseSensitivity nameCase)
{
    if (isOwnImage(a.baseName + a.extension, b.baseName, b.extension, nameCase) ||
        isOwnImage(b.baseName + b.extension, a.baseName, a.extension, nameCase))
        return true;
    return tns == TnsRename::ByPrefix && (a.baseName.startsWith(b.baseName, Qt::CaseInsensitive) ||
                                          b.baseName.startsWith(a.baseName, Qt::CaseInsensitive));
}

// Cut into screens, a file writes its pieces after its pages: "a" clashes with "a-p001-01", and
// with "a-p001", whose pages are pieces of "a". The pieces of two base names never meet.
bool piecesClash(const ConversionCall &a, const ConversionCall &b, Qt::CaseSensitivity nameCase)
{
    for (const auto &[one, other] : {std::pair(&a, &b), std::pair(&b, &a)}) {
        if (isOwnPiece(one->baseName + one->extension, other->baseName, other->extension,
                       nameCase) ||
            isOwnPiece(one->baseName + QLatin1String("-0") + one->extension, other->baseName,
                       other->extension, nameCase))
            return true;
    }
    return false;
}

// Without screens, the very rule that runs have always followed.
bool clash(const ConversionCall &a, const ConversionCall &b, TnsRename tns,
           Qt::CaseSensitivity nameCase, bool screens)
{
    return clash(a, b, tns, nameCase) || (screens && piecesClash(a, b, nameCase));
}

} // namespace

namespace {

// Where a listed file stands. Refused, Done and Stopped are over; a stopped file is not told.
enum class FileState { Waiting, Refused, Planning, Converting, Cutting, Done, Stopped };

// Stopping: stop() was asked and nothing new starts. Ended and Stopped: nothing runs any longer.
enum class RunState { Running, Stopping, Ended, Stopped };

struct Job
{
    struct Range
    {
        ConverterProcess *process = nullptr;
        int pages = 0; // of a split document
    };

    QString source;
    ConversionCall call;
    FileState state = FileState::Waiting;
    ConverterCalls calls;
    int nextCall = 0;
    int pagesDone = 0;
    int pagesTold = 0;
    std::optional<DocumentKind> kind;    // once its first bytes are read
    bool readable = false;               // a regular file, when they were
    std::unique_ptr<LiteralNames> names; // while its calls run
    std::vector<Range> ranges;           // running
    QStringList images;                  // cut into screens: what it left, in reading order
    FileResult result;

    bool failed() const { return result.outcome != FileResult::Outcome::Converted; }
    bool over() const
    {
        return state == FileState::Refused || state == FileState::Done ||
               state == FileState::Stopped;
    }
    bool callsLeft() const { return !failed() && nextCall < calls.size(); }
};

} // namespace

struct Engine::Private
{
    Private(Engine *q, const EngineSettings &settings, const QStringList &sources);

    void schedule();
    bool startRange();
    int nextToBegin() const;
    int readyFiles() const;
    bool plannedAtOnce(Job &job);
    bool begin(int index);
    void planned(int index, const Plan &plan);
    void applyPlan(int index, const Plan &plan);
    void runRange(int index);
    ConverterProcess *idleProcess();
    void rangeEnded(ConverterProcess *process, const FileResult &outcome);
    void rangeEnded(int index, ConverterProcess *process, const FileResult &outcome);
    void cut(int index);
    void cutEnded(int index, const ScreenCut &cut);
    void enter(int index, FileState next);
    void fileOver(int index);
    bool pack(Job &job);
    void report();
    void tell(int index);
    void endIfIdle();
    void signalAll(StopRequest::Level level);
    bool stopping() const { return run == RunState::Stopping || run == RunState::Stopped; }
    bool ended() const { return run == RunState::Ended || run == RunState::Stopped; }

    Engine *q;
    EngineSettings settings;
    ScratchRun scratch;
    Qt::CaseSensitivity nameCase; // in the destination, asked once
    SourceGuard listed;
    TnsRenamer renamer;
    std::vector<std::unique_ptr<Job>> jobs;
    std::vector<int> waiting;             // not begun, in list order
    std::vector<int> active;              // begun and not over, in list order
    std::vector<ConverterProcess *> idle; // ended, ready for another call
    int running = 0;                      // converter calls and plannings in threads under way
    RunState run = RunState::Running;
    int reportCursor = 0;
    bool cursorStartTold = false; // fileStarted told for the file at the cursor
    // A slot may open a box, whose event loop lets the run go on and come back to report().
    enum class Reporting { Idle, Busy, Again } reporting = Reporting::Idle;
    bool finishedTold = false;
    QThreadPool planners;
    StopRequest stopRequest;
    QTimer killTimer;
};

Engine::Private::Private(Engine *q, const EngineSettings &settings, const QStringList &sources)
    : q(q), settings(settings), nameCase(folderNameCase(settings.destination)),
      listed(sources, settings.destination, nameCase),
      renamer(settings.destination, settings.tns, nameCase, listed)
{
    this->settings.jobs = std::max(1, settings.jobs);
    const QStringList shared = converterOptions(settings.options);
    for (const QString &source : sources) {
        auto job = std::make_unique<Job>();
        job->source = source;
        job->call = buildConversion(source, settings.destination, settings.options, shared);
        waiting.push_back(int(jobs.size()));
        jobs.push_back(std::move(job));
    }
    planners.setMaxThreadCount(this->settings.jobs);
    killTimer.setSingleShot(true);
}

Engine::Engine(const EngineSettings &settings, const QStringList &sources, QObject *parent)
    : QObject(parent), d(std::make_unique<Private>(this, settings, sources))
{
    qRegisterMetaType<FileResult>();
    connect(&d->killTimer, &QTimer::timeout, this, [this] {
        d->stopRequest.escalate();
        d->signalAll(StopRequest::Kill);
    });
}

Engine::~Engine()
{
    // Straight to killing: a planning still under way must not wait for a program's grace.
    while (d->stopRequest.level() != StopRequest::Kill)
        d->stopRequest.escalate();
    d->signalAll(StopRequest::Kill);
    d->planners.waitForDone();
}

void Engine::start()
{
    d->schedule();
    d->endIfIdle();
}

void Engine::stop()
{
    if (d->ended())
        return;
    d->stopRequest.escalate();
    if (d->stopping()) {
        d->signalAll(StopRequest::Kill);
        return;
    }
    d->run = RunState::Stopping;
    d->waiting.clear();
    d->signalAll(StopRequest::Terminate);
    d->killTimer.start(terminateGraceMs);
    d->endIfIdle();
}

void Engine::Private::schedule()
{
    while (!stopping()) {
        const bool slotFree = running < settings.jobs;
        if (slotFree && startRange())
            continue;
        // While every slot is taken, the next files that need no program to be planned are made
        // ready, so that a call starts as soon as one ends: with a quick converter, what a file
        // costs velinor would otherwise come on top of every call.
        if (!slotFree && readyFiles() >= settings.jobs)
            return;
        const int chosen = nextToBegin();
        if (chosen < 0 || (!slotFree && !plannedAtOnce(*jobs[size_t(chosen)])))
            return;
        waiting.erase(std::find(waiting.begin(), waiting.end(), chosen));
        if (!begin(chosen))
            report();
    }
}

// Files planned whose next call waits for a slot.
int Engine::Private::readyFiles() const
{
    return int(std::count_if(active.cbegin(), active.cend(), [this](int index) {
        const Job &job = *jobs[size_t(index)];
        return job.state == FileState::Converting && job.callsLeft();
    }));
}

// Whether the file is planned without a program, which begin() then does before it returns.
bool Engine::Private::plannedAtOnce(Job &job)
{
    if (!job.kind) {
        const std::optional<DocumentKind> kind = readableKind(job.source);
        job.readable = kind.has_value();
        job.kind = kind.value_or(DocumentKind::Other);
    }
    return !countsImages(job.call, settings.options, *job.kind);
}

bool Engine::Private::startRange()
{
    // Earlier files first, so that the files end, and are told about, about in list order.
    for (int index : active) {
        const Job &job = *jobs[size_t(index)];
        if (job.state == FileState::Converting && job.callsLeft()) {
            runRange(index);
            return true;
        }
    }
    return false;
}

// The first waiting file that clashes with no begun one, or -1.
int Engine::Private::nextToBegin() const
{
    // Files passed over because they clash with a begun one: a later file that clashes with
    // one of them must wait as well, or it would overtake it and change the outcome.
    std::vector<int> held;
    const size_t lookahead = size_t(settings.jobs) * lookaheadPerJob;
    for (int index : waiting) {
        if (held.size() >= lookahead)
            break;
        const ConversionCall &call = jobs[size_t(index)]->call;
        const auto clashesWith = [&](int other) {
            return clash(call, jobs[size_t(other)]->call, settings.tns, nameCase,
                         settings.options.screens);
        };
        if (std::none_of(active.cbegin(), active.cend(), clashesWith) &&
            std::none_of(held.cbegin(), held.cend(), clashesWith))
            return index;
        held.push_back(index);
    }
    return -1;
}

bool Engine::Private::begin(int index)
{
    Job &job = *jobs[size_t(index)];
    // Its kind read, it is known readable or not: no second look for that.
    const bool atOnce = plannedAtOnce(job);
    const SourceVerdict verdict =
        job.readable ? listed.checkReadable(job.source, job.call, settings.tns != TnsRename::None,
                                            settings.options.cbz, settings.options.screens)
                     : SourceVerdict{SourceRefusal::Unreadable, QString()};
    if (verdict.refusal != SourceRefusal::None) {
        job.result.outcome = verdict.refusal == SourceRefusal::Unreadable
                                 ? FileResult::Outcome::Unreadable
                                 : FileResult::Outcome::ReplacesSource;
        job.result.replaced = verdict.replaced;
        enter(index, FileState::Refused);
        return false;
    }
    enter(index, FileState::Planning);
    report();
    const DocumentKind kind = *job.kind;
    if (atOnce) {
        applyPlan(index, planFile(settings.converter, job.source, kind, job.call, settings.options,
                                  &stopRequest));
        return true;
    }
    // Counting pages reads the document, which must not hold up the converters already running.
    ++running;
    planners.start([this, index, kind, converter = settings.converter, source = job.source,
                    call = job.call, options = settings.options] {
        const Plan plan = planFile(converter, source, kind, call, options, &stopRequest);
        QMetaObject::invokeMethod(
            q, [this, index, plan] { planned(index, plan); }, Qt::QueuedConnection);
    });
    return true;
}

void Engine::Private::planned(int index, const Plan &plan)
{
    --running;
    applyPlan(index, plan);
    schedule();
    endIfIdle();
}

void Engine::Private::applyPlan(int index, const Plan &plan)
{
    Job &job = *jobs[size_t(index)];
    // Stopped while it was planned: in a thread, or by a box that a slot opened meanwhile.
    if (stopping()) {
        fileOver(index);
        return;
    }
    using Outcome = FileResult::Outcome;
    switch (plan.outcome) {
    case Plan::Outcome::TooTall:
        job.result.outcome = Outcome::TooTall;
        job.result.image = plan.image;
        break;
    case Plan::Outcome::InvalidPdf:
        job.result.outcome = Outcome::InvalidPdf;
        break;
    case Plan::Outcome::Unplannable:
        job.result.outcome = Outcome::NotStarted;
        break;
    case Plan::Outcome::Ready:
        job.calls = plan.calls;
        break;
    }
    if (!job.failed() && !settings.dryRun) {
        job.names =
            std::make_unique<LiteralNames>(absoluteForMagick(job.source), job.calls.whole.output);
        if (!job.names->isReady())
            job.result.outcome = Outcome::NotStarted;
    }
    if (!job.failed() && settings.dryRun) {
        for (int call = 0; call < job.calls.size(); ++call)
            job.result.calls << job.calls.at(call).arguments();
    }
    enter(index, FileState::Converting);
    if (job.failed() || settings.dryRun)
        fileOver(index);
}

void Engine::Private::runRange(int index)
{
    Job &job = *jobs[size_t(index)];
    ConverterProcess *process = idleProcess();
    Job::Range range{process, 0};
    if (job.calls.size() > 1) {
        const PageRange pages = job.calls.range(job.nextCall);
        range.pages = pages.last - pages.first + 1;
    }
    job.ranges.push_back(range);
    ++running;
    process->start(settings.converter, job.calls.at(job.nextCall++).arguments(),
                   job.names->workingDirectory());
}

// A run makes hundreds of calls: each takes a process that has ended rather than a new one.
ConverterProcess *Engine::Private::idleProcess()
{
    if (!idle.empty()) {
        ConverterProcess *process = idle.back();
        idle.pop_back();
        return process;
    }
    auto *process = new ConverterProcess(q);
    connect(process, &ConverterProcess::ended, q,
            [this, process](ConverterProcess::Ending ending, int exitCode) {
                FileResult outcome;
                if (ending == ConverterProcess::Ending::NotStarted)
                    outcome.outcome = FileResult::Outcome::NotStarted;
                else if (ending == ConverterProcess::Ending::Crashed)
                    outcome.outcome = FileResult::Outcome::Crashed;
                else if (exitCode != 0)
                    outcome.outcome = FileResult::Outcome::Failed;
                outcome.exitCode = exitCode;
                rangeEnded(process, outcome);
            });
    return process;
}

void Engine::Private::rangeEnded(ConverterProcess *process, const FileResult &outcome)
{
    for (int index : active) {
        const std::vector<Job::Range> &ranges = jobs[size_t(index)]->ranges;
        if (std::any_of(ranges.cbegin(), ranges.cend(),
                        [process](const Job::Range &range) { return range.process == process; })) {
            rangeEnded(index, process, outcome);
            // Only now: the calls started meanwhile must not take the process still telling its
            // end.
            idle.push_back(process);
            return;
        }
    }
}

void Engine::Private::rangeEnded(int index, ConverterProcess *process, const FileResult &outcome)
{
    Job &job = *jobs[size_t(index)];
    const auto found =
        std::find_if(job.ranges.begin(), job.ranges.end(),
                     [process](const Job::Range &range) { return range.process == process; });
    if (found == job.ranges.end())
        return;
    if (outcome.outcome == FileResult::Outcome::Converted)
        job.pagesDone += found->pages;
    job.ranges.erase(found);
    --running;
    // The first failing range is the file's failure: no later range starts.
    if (!stopping() && outcome.outcome != FileResult::Outcome::Converted && !job.failed()) {
        job.result = outcome;
        job.result.errorTail = lastLines(process->errorTail());
    }
    const bool over = job.ranges.empty() && (stopping() || !job.callsLeft());
    if (over && !stopping() && !job.failed() && settings.options.screens) {
        cut(index); // before any other call takes the job it holds
    } else {
        // The next call first: the file's renames and its report can be done while it runs.
        schedule();
        if (over)
            fileOver(index);
        else
            report();
    }
    schedule();
    endIfIdle();
}

void Engine::Private::cut(int index)
{
    Job &job = *jobs[size_t(index)];
    enter(index, FileState::Cutting);
    ++running;
    const int images = settings.options.append ? 1 : job.calls.pages;
    // Measuring and cutting wait on the converter, which must not hold up the event loop.
    planners.start([this, index, converter = settings.converter,
                    pages = writtenImages(settings.destination, job.call, images),
                    destination = settings.destination, call = job.call,
                    options = settings.options] {
        const ScreenCut cut =
            cutIntoScreens(converter, pages, destination, call, options, &stopRequest);
        QMetaObject::invokeMethod(
            q, [this, index, cut] { cutEnded(index, cut); }, Qt::QueuedConnection);
    });
}

void Engine::Private::cutEnded(int index, const ScreenCut &cut)
{
    Job &job = *jobs[size_t(index)];
    --running;
    job.images = cut.images;
    using Outcome = FileResult::Outcome;
    if (!stopping() && cut.outcome != ScreenCut::Outcome::Cut) {
        job.result.outcome = cut.outcome == ScreenCut::Outcome::NotStarted ? Outcome::NotStarted
                             : cut.outcome == ScreenCut::Outcome::Crashed  ? Outcome::Crashed
                                                                           : Outcome::Failed;
        job.result.exitCode = cut.exitCode;
        job.result.errorTail = lastLines(cut.errors);
        job.result.cutImage = cut.page;
    }
    fileOver(index);
    schedule();
    endIfIdle();
}

// Every move of a file from one state to another, and what follows from it alone.
void Engine::Private::enter(int index, FileState next)
{
    Job &job = *jobs[size_t(index)];
    if (next == FileState::Planning)
        active.insert(std::upper_bound(active.begin(), active.end(), index), index);
    if (job.state == FileState::Planning || job.state == FileState::Converting ||
        job.state == FileState::Cutting) {
        if (next == FileState::Done || next == FileState::Stopped)
            active.erase(std::find(active.begin(), active.end(), index));
    }
    job.state = next;
}

void Engine::Private::fileOver(int index)
{
    Job &job = *jobs[size_t(index)];
    enter(index, stopping() ? FileState::Stopped : FileState::Done);
    // Before the rename, which must not take an empty placeholder for an image.
    job.names.reset();
    // As ever, a failed conversion is still followed by the rename, which finds whatever images
    // it did write (and says so when there are none); a refused file wrote nothing.
    const bool wrote = job.state == FileState::Done && !settings.dryRun &&
                       job.result.outcome != FileResult::Outcome::TooTall &&
                       job.result.outcome != FileResult::Outcome::InvalidPdf;
    // Packed, its images are gone, and the archive already bears the calculator's extension.
    const bool packed = wrote && settings.options.cbz && !job.failed() && pack(job);
    if (wrote && !packed && settings.tns != TnsRename::None) {
        QList<int> firstPages;
        for (int call = 0; call < job.calls.size(); ++call)
            firstPages << job.calls.range(call).first;
        job.result.renameFailed = !renamer.renameAfter(job.call, firstPages, job.images);
    }
    report();
}

bool Engine::Private::pack(Job &job)
{
    const int images = settings.options.append ? 1 : job.calls.pages;
    job.result.pack =
        packImages(settings.options.screens ? job.images
                                            : writtenImages(settings.destination, job.call, images),
                   settings.destination, job.call.baseName);
    if (job.result.pack.outcome == PackResult::Outcome::Packed)
        return true;
    job.result.outcome = FileResult::Outcome::PackFailed;
    return false;
}

void Engine::Private::report()
{
    if (reporting != Reporting::Idle) {
        reporting = Reporting::Again;
        return;
    }
    do {
        reporting = Reporting::Busy;
        while (reportCursor < int(jobs.size())) {
            const Job &job = *jobs[size_t(reportCursor)];
            tell(reportCursor);
            if (!job.over() && run != RunState::Stopped)
                break;
            const int index = reportCursor++;
            cursorStartTold = false;
            if (job.state == FileState::Refused || job.state == FileState::Done)
                emit q->fileDone(index, job.result);
        }
    } while (reporting == Reporting::Again);
    reporting = Reporting::Idle;
    if (ended() && !finishedTold) {
        finishedTold = true;
        emit q->finished(stopping());
    }
}

// What there is to tell of the file at the cursor before it is over.
void Engine::Private::tell(int index)
{
    Job &job = *jobs[size_t(index)];
    const bool begun = job.state != FileState::Waiting && job.state != FileState::Refused;
    if (begun && !cursorStartTold) {
        cursorStartTold = true;
        emit q->fileStarted(index);
    }
    if (!job.over() && !stopping() && job.pagesDone > job.pagesTold) {
        job.pagesTold = job.pagesDone;
        emit q->fileProgress(index, job.pagesDone, job.calls.pages);
    }
}

void Engine::Private::endIfIdle()
{
    if (ended() || running > 0 || (!stopping() && (!waiting.empty() || !active.empty())))
        return;
    killTimer.stop();
    while (!active.empty())
        fileOver(active.front());
    run = stopping() ? RunState::Stopped : RunState::Ended;
    // The end comes after the last file is told about, even from inside a box it opened.
    report();
}

void Engine::Private::signalAll(StopRequest::Level level)
{
    for (const auto &job : jobs) {
        for (const Job::Range &range : job->ranges)
            range.process->signal(level);
    }
}

} // namespace velinor

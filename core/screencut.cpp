#include "screencut.h"

#include "arguments.h"
#include "childprocess.h"
#include "magicknames.h"
#include "paths.h"
#include "screens.h"

#include <QFile>

namespace velinor {

namespace {

// Time enough for the largest page of any supersampling.
constexpr int cutTimeoutMs = 120000;

ScreenCut::Outcome outcomeOf(const ToolRun &run)
{
    switch (run.ending) {
    case ToolRun::Ending::Exited:
        break;
    case ToolRun::Ending::Crashed:
        return ScreenCut::Outcome::Crashed;
    case ToolRun::Ending::NotStarted:
        return ScreenCut::Outcome::NotStarted;
    case ToolRun::Ending::Stopped:
        return ScreenCut::Outcome::Stopped;
    }
    return ScreenCut::Outcome::Failed;
}

ScreenCut failure(const ToolRun &run, const QString &page)
{
    ScreenCut cut;
    cut.outcome = outcomeOf(run);
    cut.exitCode = run.exitCode;
    cut.errors = run.errors;
    cut.page = page;
    return cut;
}

// Where the pieces of one image go, and how they are written.
struct Pieces
{
    const ConversionCall &call;
    QString destination;
    int page;
    int pages;
    QStringList outputOptions;
};

// The pieces of one image, written; the image's failure otherwise, and the pieces it did write.
ScreenCut cutImage(const QString &converterPath, const QString &image, const Pieces &to,
                   const StopRequest *stop)
{
    const QString input = absoluteForMagick(image);
    const LiteralNames literal(input, QString());
    if (!literal.isReady())
        return failure({}, image);
    const ToolRun measured = runTool(converterPath, profileArguments(input), cutTimeoutMs, stop,
                                     literal.workingDirectory(), true);
    const RowProfile profile = parseRowProfile(measured.output);
    if (!measured.succeeded() || profile.ink.empty())
        return failure(measured, image);
    const QList<Piece> pieces = screenPieces(profile);
    QStringList paths;
    for (int piece = 0; piece < pieces.size(); ++piece)
        paths << absoluteForMagick(joinPath(
            to.destination, pieceName(to.call, to.page, to.pages, piece, int(pieces.size()))));
    const ToolRun run =
        runTool(converterPath, cutArguments(input, profile.width, pieces, to.outputOptions, paths),
                cutTimeoutMs, stop, literal.workingDirectory(), true);
    ScreenCut cut = run.succeeded() ? ScreenCut() : failure(run, image);
    for (const QString &path : std::as_const(paths)) {
        if (run.succeeded() || QFile::exists(path))
            cut.images << path;
    }
    return cut;
}

} // namespace

ScreenCut cutIntoScreens(const QString &converterPath, const QStringList &images,
                         const QString &destination, const ConversionCall &call,
                         const ConversionOptions &options, const StopRequest *stop)
{
    Pieces to{call, destination, 0, int(images.size()), outputOptions(options)};
    ScreenCut all;
    for (; to.page < images.size(); ++to.page) {
        ScreenCut cut;
        if (stop && stop->level() != StopRequest::None)
            cut.outcome = ScreenCut::Outcome::Stopped;
        else
            cut = cutImage(converterPath, images.at(to.page), to, stop);
        all.images << cut.images;
        if (cut.outcome != ScreenCut::Outcome::Cut) {
            cut.images = all.images + images.mid(to.page);
            return cut;
        }
        QFile::remove(images.at(to.page));
    }
    return all;
}

} // namespace velinor

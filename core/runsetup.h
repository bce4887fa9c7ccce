#ifndef VELINOR_RUNSETUP_H
#define VELINOR_RUNSETUP_H

#include <QString>
#include <QStringList>

// What both front ends settle before a run: where the images go and how many converters run.
namespace velinor {

// The destination while none is given: the folder of the last listed file, as the window fills
// it in.
QString defaultDestination(const QStringList &listed);

// Converter calls at once: as many as asked, one per processor when none is.
int jobCount(int asked = 0);

// A destination made ready, or why it could not be.
struct DestinationFolder
{
    enum class Outcome {
        Ready,       // there already, or created with its parents
        NotAFolder,  // blocking, part of its path, is a file
        NotWritable, // blocking, the nearest folder of its path there is, cannot be written into
        Refused,     // blocking could be written into, yet the system made nothing
    };
    Outcome outcome = Outcome::Ready;
    QString blocking;

    bool ready() const { return outcome == Outcome::Ready; }
};

// Creates the destination with its parents when it is missing. What a front end does with a
// folder that cannot be made is the one thing they differ in: the window's run goes on, each
// file failing with its box and the reason in the box's details, as the window has always done;
// velinor-cli says so once and exits with 1 before any file, since a script reads one line and
// a status better than a failure for each file.
DestinationFolder createDestination(const QString &folder);

} // namespace velinor

#endif

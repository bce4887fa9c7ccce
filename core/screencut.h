#ifndef VELINOR_SCREENCUT_H
#define VELINOR_SCREENCUT_H

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velinor {

struct ConversionCall;
struct ConversionOptions;
class StopRequest;

// What cutting one file's images into screens (screens.h) did.
struct ScreenCut
{
    enum class Outcome { Cut, NotStarted, Failed, Crashed, Stopped };
    Outcome outcome = Outcome::Cut;
    int exitCode = 0;
    QByteArray errors; // the end of the failed call's standard error
    QString page;      // the image whose cut failed
    // What the file leaves in the destination, in reading order: the pieces of the images cut,
    // then, after a failure, the images not cut.
    QStringList images;
};

// Two converter calls an image, made from the thread that waits for them: its profile, then
// its pieces, written into the destination under pieceName(); the image goes once they are
// written. images are the file's images in page order.
ScreenCut cutIntoScreens(const QString &converterPath, const QStringList &images,
                         const QString &destination, const ConversionCall &call,
                         const ConversionOptions &options, const StopRequest *stop);

} // namespace velinor

#endif

#ifndef VELINOR_CBZ_H
#define VELINOR_CBZ_H

#include <QString>
#include <QStringList>

// One document as one file on the calculator: nPDF, the Ndless reader, opens "NAME.cbz.tns", a zip
// of page images that it shows in the order of their names. A course is then one file to send
// instead of hundreds.
namespace velinor {

struct PackResult
{
    enum class Outcome {
        Packed,
        Unreadable, // an image (path) could not be read
        Unwritable, // the archive (path) could not be written
    };
    Outcome outcome = Outcome::Packed;
    QString path;
    QString error; // the system's words
};

// "cours" gives "cours.cbz.tns".
QString cbzName(const QString &baseName);

// Stores the images, in the order given and as they are, in destination/NAME.cbz.tns (NAME the
// base name), under the names NAME-p0001.png, NAME-p0002.png… (each image's own extension), so
// that sorting the names gives the order. An older archive of that name is replaced. The archive
// appears whole or not at all; only then are the images removed.
PackResult packImages(const QStringList &images, const QString &destination,
                      const QString &baseName);

} // namespace velinor

#endif

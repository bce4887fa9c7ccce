#ifndef VELINOR_INVARIANTS_H
#define VELINOR_INVARIANTS_H

#include <QHash>
#include <QString>
#include <QStringList>

class MainWindow;
class ModalAnswerer;

// What must hold after any scenario, however hostile: no user file lost or altered, nothing
// written where the scenario had no business, and a window that still converts.
namespace invariants {

// A snapshot of every file under a root, taken before a scenario.
class Snapshot
{
public:
    // protectedFiles must stay byte for byte as they are, wherever they lie (the sources, and
    // neighbours that a mangled name could hit), inside the allowed folders too.
    Snapshot(const QString &root, const QStringList &protectedFiles);

    // Files in this folder (and below) may be written, renamed or removed: the destination,
    // and the source folders for the rename buttons.
    void allowChangesIn(const QString &folder);

    // One line for every protected file missing or altered, and every file removed, altered
    // or added outside the allowed folders. Each line counts as a file lost in the tally.
    QStringList violations() const;

private:
    bool allowed(const QString &path) const;

    QString root;
    QHash<QString, QByteArray> digests; // path -> SHA-1 of the content
    QStringList protectedFiles;
    QStringList allowedFolders;
};

// A later run through the same window still works: the list is emptied, a small PNG made in
// scratchFolder is dropped, converted into a folder of its own, and must give its image and
// "Fini !" without a box. Returns what went wrong, empty when the window responded.
QString windowResponds(MainWindow *window, ModalAnswerer &answerer, const QString &scratchFolder);

// The processes whose environment holds name=value, as "pid:command": what a run left running.
// Linux only (/proc); empty elsewhere.
QStringList processesMarked(const QString &name, const QString &value);

// The figures of a suite, printed at its end as one line.
struct Tally
{
    int scenarios = 0;
    int boxes = 0;
    int filesLost = 0;
    int crashes = 0;
};
Tally &tally();
QString summary(const char *suite);

} // namespace invariants

#endif

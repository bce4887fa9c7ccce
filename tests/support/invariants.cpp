#include "invariants.h"

#include "filelistdriver.h"
#include "mainwindow/mainwindow.h"
#include "modalanswerer.h"
#include "testenv.h"
#include "windowdriver.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QStatusBar>

namespace invariants {

namespace {

QByteArray digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&file);
    return hash.result();
}

QHash<QString, QByteArray> digestsUnder(const QString &root)
{
    QHash<QString, QByteArray> found;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        // A named pipe would block the read; it holds nothing to lose anyway.
        found.insert(path, it.fileInfo().isFile() ? digest(path) : QByteArray("special"));
    }
    return found;
}

} // namespace

Snapshot::Snapshot(const QString &root, const QStringList &protectedFiles)
    : root(root), digests(digestsUnder(root)), protectedFiles(protectedFiles)
{}

void Snapshot::allowChangesIn(const QString &folder)
{
    allowedFolders << QDir::cleanPath(QDir(folder).absolutePath());
}

bool Snapshot::allowed(const QString &path) const
{
    const QString clean = QDir::cleanPath(path);
    for (const QString &folder : allowedFolders)
        if (clean.startsWith(folder + QLatin1Char('/')))
            return true;
    return false;
}

QStringList Snapshot::violations() const
{
    QStringList found;
    const QHash<QString, QByteArray> now = digestsUnder(root);
    for (const QString &file : protectedFiles) {
        if (!now.contains(file))
            found << QStringLiteral("lost: ") + file;
        else if (now.value(file) != digests.value(file))
            found << QStringLiteral("altered: ") + file;
    }
    for (auto it = digests.cbegin(); it != digests.cend(); ++it) {
        if (allowed(it.key()) || protectedFiles.contains(it.key()))
            continue;
        if (!now.contains(it.key()))
            found << QStringLiteral("removed outside: ") + it.key();
        else if (now.value(it.key()) != it.value())
            found << QStringLiteral("altered outside: ") + it.key();
    }
    for (auto it = now.cbegin(); it != now.cend(); ++it)
        if (!digests.contains(it.key()) && !allowed(it.key()))
            found << QStringLiteral("written outside: ") + it.key();
    tally().filesLost += int(found.size());
    return found;
}

QString windowResponds(MainWindow *window, ModalAnswerer &answerer, const QString &scratchFolder)
{
    static int probes = 0;
    const QString folder = scratchFolder + QStringLiteral("/probe%1").arg(++probes);
    QDir().mkpath(folder);
    const QString probe = folder + QStringLiteral("/probe.png");
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::darkGray);
    if (!image.save(probe))
        return QStringLiteral("cannot write the probe ") + probe;

    window->findChild<QAction *>(QStringLiteral("actionVider_la_liste"))->trigger();
    filelist::dropFiles(window, {probe});
    window::setChecked(window, "choixTNS", false);
    const QString out = folder + QStringLiteral("/out");
    window::setDestination(window, out);
    const qsizetype boxesBefore = answerer.records().size();
    window::click(window, "boutonConvertir");

    QStringList problems;
    if (answerer.records().size() != boxesBefore)
        problems << QStringLiteral("a box: ") + answerer.records().last().text;
    const QStringList images = testenv::fileNames(out);
    if (images != QStringList{QStringLiteral("probe.png")} &&
        images != QStringList{QStringLiteral("probe.jpg")})
        problems << QStringLiteral("images: ") + images.join(QLatin1Char('|'));
    if (window->statusBar()->currentMessage() != QStringLiteral("Fini !"))
        problems << QStringLiteral("status: ") + window->statusBar()->currentMessage();
    return problems.join(QStringLiteral("; "));
}

QStringList processesMarked(const QString &name, const QString &value)
{
    QStringList found;
    const QByteArray wanted = (name + QLatin1Char('=') + value).toUtf8();
    const QDir proc(QStringLiteral("/proc"));
    for (const QString &pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile environ(proc.filePath(pid + QStringLiteral("/environ")));
        if (!environ.open(QIODevice::ReadOnly))
            continue;
        if (!environ.readAll().split('\0').contains(wanted))
            continue;
        QFile comm(proc.filePath(pid + QStringLiteral("/comm")));
        comm.open(QIODevice::ReadOnly);
        found << pid + QLatin1Char(':') + QString::fromUtf8(comm.readAll().trimmed());
    }
    return found;
}

Tally &tally()
{
    static Tally figures;
    return figures;
}

QString summary(const char *suite)
{
    const Tally &t = tally();
    return QStringLiteral("%1: %2 scenarios, %3 boxes shown, %4 files lost, %5 crashes")
        .arg(QLatin1String(suite))
        .arg(t.scenarios)
        .arg(t.boxes)
        .arg(t.filesLost)
        .arg(t.crashes);
}

} // namespace invariants

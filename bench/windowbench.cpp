// Drives the real window for bench/cli-and-window.sh: times its conversion run, or measures what a
// long file list costs it. Needs QT_QPA_PLATFORM=offscreen and a converter that the window finds.
//   velinor-bench-window convert DESTINATION REPEATS [--single-image] [--tns] FILE...
//       prints "run_ms N" for each click on "Convertir !" over all the files, with
//       "Créer une seule image" or "Renommer en .tns" checked when asked
//   velinor-bench-window list COUNT
//       prints "empty_kb N" and "listed_kb N", the peak resident memory before and after COUNT
//       files are dropped on the window
//   velinor-bench-window stall DESTINATION FILE...
//       one run, prints "run_ms N" and "stall_ms N", the longest the event loop went without
//       serving a 5 ms timer during it
//   velinor-bench-window stop DESTINATION AFTER_MS FILE...
//       clicks "Arrêter" AFTER_MS into the run and prints "stop_ms N", the time from the click
//       until no process started by the run is left (found by VELINOR_BENCH_MARK in /proc)
//   velinor-bench-window preview [--fit] FILE
//       prints "first_screen_ms N", from the click on "Aperçu..." until its screen shows a
//       picture, with "Adapter à l'écran de la calculatrice" checked when asked
#include "windowdriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

// The peak resident memory of this process so far, in kB.
long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// A drop carries at most 32 files, so a long list takes many.
void dropAll(MainWindow *w, const QStringList &paths)
{
    for (qsizetype i = 0; i < paths.size(); i += 32)
        window::dropFiles(w, paths.mid(i, 32));
}

void click(MainWindow *w, const char *button)
{
    w->findChild<QAbstractButton *>(QString::fromLatin1(button))->click();
}

void setDestination(MainWindow *w, const QString &path)
{
    w->findChild<QLineEdit *>(QStringLiteral("lineChemin"))->setText(path);
}

// Whether a process other than this one carries the mark that this one gave its children.
bool markedProcessLeft(const QByteArray &mark)
{
    const QString self = QString::number(QCoreApplication::applicationPid());
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        if (pid == self || !pid.front().isDigit())
            continue;
        QFile environ(QStringLiteral("/proc/%1/environ").arg(pid));
        if (environ.open(QIODevice::ReadOnly) && environ.readAll().split('\0').contains(mark))
            return true;
    }
    return false;
}

int firstScreen(MainWindow &w, QStringList files)
{
    if (files.removeAll(QStringLiteral("--fit")))
        w.findChild<QAbstractButton *>(QStringLiteral("choixEcran"))->setChecked(true);
    dropAll(&w, files);
    QElapsedTimer clock;
    clock.start();
    click(&w, "boutonApercu");
    const bool shown = QTest::qWaitFor(
        [&w] {
            const auto *screen = w.findChild<QLabel *>(QStringLiteral("labelEcran"));
            return screen && !screen->pixmap().isNull();
        },
        60000);
    std::printf("first_screen_ms %lld\n", clock.elapsed());
    return shown ? 0 : 1;
}

int usage()
{
    std::fprintf(stderr, "usage: velinor-bench-window convert DESTINATION REPEATS "
                         "[--single-image] [--tns] FILE...\n"
                         "       velinor-bench-window list COUNT\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() < 2)
        return usage();

    MainWindow w;
    w.show();
    // A box would wait for a click that never comes.
    if (w.converterPath().isEmpty()) {
        std::fprintf(stderr, "velinor-bench-window: the window found no converter\n");
        return 1;
    }

    if (args.at(0) == QLatin1String("list")) {
        QStringList paths;
        const int count = args.at(1).toInt();
        for (int i = 0; i < count; ++i)
            paths << QStringLiteral("/bench/documents/chapitre-%1.pdf")
                         .arg(i, 5, 10, QLatin1Char('0'));
        std::printf("empty_kb %ld\n", peakKb());
        dropAll(&w, paths);
        if (w.findChild<QListView *>()->model()->rowCount() != count)
            return 1;
        std::printf("listed_kb %ld\n", peakKb());
        return 0;
    }

    if (args.at(0) == QLatin1String("stall") || args.at(0) == QLatin1String("stop")) {
        const bool stall = args.at(0) == QLatin1String("stall");
        const QStringList files = args.mid(stall ? 2 : 3);
        dropAll(&w, files);
        setDestination(&w, args.at(1));
        QElapsedTimer sinceTick;
        qint64 longest = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout,
                         [&] { longest = std::max(longest, sinceTick.restart()); });
        qint64 stopMs = -1;
        if (stall) {
            sinceTick.start();
            ticker.start(5);
        } else {
            const QByteArray mark =
                "VELINOR_BENCH_MARK=" + QByteArray::number(qApp->applicationPid());
            qputenv("VELINOR_BENCH_MARK", QByteArray::number(qApp->applicationPid()));
            QTimer::singleShot(args.at(2).toInt(), &w, [&w, &stopMs, mark] {
                QElapsedTimer clock;
                clock.start();
                w.findChild<QAbstractButton *>(QStringLiteral("boutonArreter"))->click();
                while (markedProcessLeft(mark))
                    QThread::msleep(5);
                stopMs = clock.elapsed();
            });
        }
        QElapsedTimer clock;
        clock.start();
        click(&w, "boutonConvertir");
        if (stall)
            std::printf("run_ms %lld\nstall_ms %lld\n", clock.elapsed(), longest);
        else
            std::printf("stop_ms %lld\n", stopMs);
        return 0;
    }

    if (args.at(0) == QLatin1String("preview"))
        return firstScreen(w, args.mid(1));

    if (args.at(0) != QLatin1String("convert") || args.size() < 4)
        return usage();
    QStringList files = args.mid(3);
    const QHash<QString, QString> checkBoxes{
        {QStringLiteral("--single-image"), QStringLiteral("choixAppend")},
        {QStringLiteral("--tns"), QStringLiteral("choixTNS")}};
    while (checkBoxes.contains(files.value(0)))
        w.findChild<QAbstractButton *>(checkBoxes.value(files.takeFirst()))->setChecked(true);
    dropAll(&w, files);
    setDestination(&w, args.at(1));
    for (int i = 0, repeats = args.at(2).toInt(); i < repeats; ++i) {
        QElapsedTimer clock;
        clock.start();
        click(&w, "boutonConvertir");
        std::printf("run_ms %.2f\n", double(clock.nsecsElapsed()) / 1e6);
        std::fflush(stdout);
    }
    return 0;
}

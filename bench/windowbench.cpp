// Drives the real window for bench/cli-and-window.sh: times its conversion run, or measures what a
// long file list costs it. Needs QT_QPA_PLATFORM=offscreen and a converter that the window finds.
//   velinor-bench-window convert DESTINATION REPEATS [--single-image] FILE...
//       prints "run_ms N" for each click on "Convertir !" over all the files, with
//       "Créer une seule image" checked when asked
//   velinor-bench-window list COUNT
//       prints "empty_kb N" and "listed_kb N", the peak resident memory before and after COUNT
//       files are dropped on the window
#include "filelistdriver.h"
#include "windowdriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

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
        filelist::dropFiles(w, paths.mid(i, 32));
}

int usage()
{
    std::fprintf(stderr, "usage: velinor-bench-window convert DESTINATION REPEATS "
                         "[--single-image] FILE...\n"
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
        if (filelist::entries(&w).size() != count)
            return 1;
        std::printf("listed_kb %ld\n", peakKb());
        return 0;
    }

    if (args.at(0) != QLatin1String("convert") || args.size() < 4)
        return usage();
    QStringList files = args.mid(3);
    if (files.value(0) == QLatin1String("--single-image")) {
        window::setChecked(&w, "choixAppend");
        files.removeFirst();
    }
    dropAll(&w, files);
    window::setDestination(&w, args.at(1));
    for (int i = 0, repeats = args.at(2).toInt(); i < repeats; ++i) {
        QElapsedTimer clock;
        clock.start();
        window::click(&w, "boutonConvertir");
        std::printf("run_ms %.2f\n", double(clock.nsecsElapsed()) / 1e6);
        std::fflush(stdout);
    }
    return 0;
}

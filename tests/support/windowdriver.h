#ifndef VELINOR_WINDOWDRIVER_H
#define VELINOR_WINDOWDRIVER_H

#include "mainwindow/mainwindow.h"
#include "modalanswerer.h"
#include "testenv.h"

#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>

#include <list>
#include <memory>

namespace window {

inline QStringList words(const QString &text)
{
    return text.split(' ', Qt::SkipEmptyParts);
}

// A drag that enters the window and drops these local files there; plain text when none.
inline void dropFiles(QWidget *w, const QStringList &paths)
{
    QMimeData data;
    data.setText(QStringLiteral("text"));
    for (const QString &path : paths)
        data.setUrls(data.urls() << QUrl::fromLocalFile(path));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &enter);
    QCoreApplication::sendEvent(w, &drop);
}

// A user's session with the window, written as steps apart with ";", each a verb and its words,
// "@" standing for the session's own folder. Steps:
//   new [FOLDER]        a new window, which looks for its converter with PATH=FOLDER if given
//   install PATH        a link to the fake converter, its folder made; rm PATH
//   env NAME=VALUE      for the rest of the session
//   drop [FILE...]      (plain text when no file)
//   answer [PATH...]    for the next box, OK; for the next file dialog, this or Cancel when none
//   click NAME          a button or a menu action
//   set NAME PROPERTY [VALUE...]; unlist ROW (a double click on a row of the file list)
// What "drop", "answer" and "touch PATH..." name in the folder is made when missing: a file
// holding its path if its name has a dot, else a folder; "!" before a path keeps it missing.
// Checks that the window shows the words given:
//   is NAME PROPERTY [VALUE...]; list; destination; converter; files FOLDER [NAME...]
//   statuses   every status since the last click, "/" between them
//   peak       the progress at its highest since the last click; -1 if it moved while hidden
//   modals     a file dialog by the folder it opened in, a box by its icon's letter and ":",
//              then its text unless it only informs
// At the end, the files made hold their path still unless moved, and nothing went unanswered.
class Session
{
public:
    QTemporaryDir tmp;
    std::unique_ptr<MainWindow> w;

    void play(const QString &script)
    {
        for (const QString &step : script.split(';')) {
            QStringList args = words(QString(step).replace('@', tmp.path() + '/'));
            const QString verb = args.isEmpty() ? QString() : args.takeFirst();
            const bool make = verb == "drop" || verb == "answer" || verb == "touch";
            for (QString &path : args) {
                if (path.startsWith('!' + tmp.path()))
                    path.remove(0, 1);
                else if (make && path.startsWith(tmp.path()) && !QFileInfo::exists(path))
                    path.section('/', -1).contains('.')
                        ? void(made << testenv::writeFile(path, path.toUtf8()))
                        : void(QDir().mkpath(path));
            }
            if (!w || verb == "new")
                open(verb == "new" && !args.isEmpty() ? args[0].toUtf8() : qgetenv("PATH"));
            QObject *named =
                w->objectName() == args.value(0) ? w.get() : w->findChild<QObject *>(args.value(0));
            auto *list = w->findChild<QListView *>(QStringLiteral("listeFichiersChoisis"));
            if (verb == "install")
                QFile::link(QStringLiteral(VELINOR_FAKE_CONVERT), args[0]);
            else if (verb == "rm")
                QFile::remove(args[0]);
            else if (verb == "env")
                env.emplace_back(qPrintable(args[0].section('=', 0, 0)),
                                 args[0].section('=', 1).toUtf8());
            else if (verb == "drop")
                dropFiles(w.get(), args);
            else if (verb == "answer")
                answerer.answer(args);
            else if (verb == "click") {
                messages.clear();
                peak = 0;
                QMetaObject::invokeMethod(named, named->inherits("QAction") ? "trigger" : "click");
            } else if (verb == "set")
                named->setProperty(qPrintable(args[1]), args.mid(2).join(' '));
            else if (verb == "unlist")
                emit list->doubleClicked(list->model()->index(args[0].toInt(), 0));
            else if (verb == "is")
                QCOMPARE(words(named->property(qPrintable(args[1])).toString()).join(' '),
                         args.mid(2).join(' '));
            else if (verb != "touch" && verb != "new")
                QCOMPARE(verb + ' ' + shows(verb, args.value(0)).join(' '),
                         verb + ' ' + args.join(' '));
        }
        for (const QString &file : made)
            if (QFileInfo::exists(file))
                QCOMPARE(testenv::readFile(file), file.toUtf8());
        QCOMPARE(answerer.unexpected, 0);
    }

private:
    ModalAnswerer answerer;
    std::list<ScopedEnv> env;
    QStringList made, messages;
    int peak = 0;

    void open(const QByteArray &path)
    {
        const ScopedEnv searched("PATH", path);
        w = std::make_unique<MainWindow>();
        w->show();
        auto *bar = w->findChild<QProgressBar *>();
        QObject::connect(bar, &QProgressBar::valueChanged, w.get(), [this, bar](int v) {
            peak = peak < 0 || (v && bar->isHidden()) ? -1 : std::max(peak, v);
        });
        QObject::connect(w->statusBar(), &QStatusBar::messageChanged, w.get(),
                         [this](const QString &m) { messages << m; });
    }

    QStringList shows(const QString &what, const QString &folder) const
    {
        auto *list = w->findChild<QListView *>(QStringLiteral("listeFichiersChoisis"));
        QStringList seen;
        if (what == "list")
            seen = qobject_cast<QStringListModel *>(list->model())->stringList();
        else if (what == "destination")
            seen << w->destinationPath();
        else if (what == "converter")
            seen << w->converterPath();
        else if (what == "files")
            seen << folder << testenv::fileNames(folder);
        else if (what == "statuses")
            seen << messages.join(" / ");
        else if (what == "peak")
            seen << QString::number(peak);
        for (const ModalRecord &r : answerer.records)
            if (what == "modals")
                seen << (r.icon ? QString("-IWC"[r.icon]) + ':' : r.directory) +
                            (r.icon > QMessageBox::Information ? r.text : QString());
        return words(seen.join(' '));
    }
};

} // namespace window

#endif

#ifndef VELINOR_WINDOWDRIVER_H
#define VELINOR_WINDOWDRIVER_H

#include "interruption.h"
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

#include <csignal>
#include <list>
#include <memory>

namespace window {

// A drag that enters the window and drops these local files there, "%XX" in a path standing
// for that byte as in a URL; plain text when none. What the drop leaves queued runs.
inline void dropFiles(QWidget *w, const QStringList &paths)
{
    QMimeData data;
    data.setText(QStringLiteral("text"));
    for (const QString &path : paths)
        data.setUrls(data.urls() << (path.contains('%') ? QUrl("file://" + path)
                                                        : QUrl::fromLocalFile(path)));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &enter);
    QCoreApplication::sendEvent(w, &drop);
    QCoreApplication::processEvents();
}

// A user's session with the window, written as steps apart with ";", each a verb and its words,
// "@" standing for the session's own folder, where what "drop", "answer" and "touch PATH..."
// name is made when missing: a file if its name has a dot (a PDF's header for "*.pdf"), else a
// folder. Steps:
//   new               a new window, which looks for its converter (the first step opens one)
//   env NAME=VALUE    for the rest of the session
//   drop [FILE...]    (plain text when no file)
//   answer [PATH...]  for the next box, OK or the button of these words; for the next file
//                     dialog, this or Cancel when none
//   click NAME        a button or a menu action; convert FOLDER: into that destination
//   signal            SIGTERM to velinor, caught as app/main.cpp has it
//   set NAME PROPERTY [VALUE...]; unlist LIST ROW (a double click on a row)
// (NAME is that of a widget, an action, or the window itself: "MainWindow")
// Checks that the window shows the words given:
//   is NAME PROPERTY [VALUE...]; list; destination; converter; files FOLDER [NAME...]
//   statuses    every status since the last click or signal, "/" between them
//   progress    every value the progress bar took since then
//   modals      a file dialog by the folder it opened in, a box by its icon's letter and ":",
//               then its text unless it only informs
//   details     the details of each box that has some, "/" between them
//   call        the first call of the fake converter
// At the end, no box or dialog may have gone unanswered.
class Session
{
public:
    QTemporaryDir tmp;
    // The fake converter logs its calls there, and what it starts carries this to be found.
    const ScopedEnv log{"FAKE_CONVERT_LOG", tmp.filePath("log").toUtf8()};

    void play(const QString &script)
    {
        for (const QString &step : script.split(';')) {
            QStringList args = words(QString(step).replace('@', tmp.path() + '/'));
            const QString verb = args.isEmpty() ? QString() : args.takeFirst();
            for (const QString &path : args)
                if (QStringList{"drop", "answer", "touch"}.contains(verb) &&
                    path.startsWith(tmp.path()) && !QFileInfo::exists(path))
                    path.section('/', -1).contains('.')
                        ? void(testenv::writeFile(path, path.endsWith(".pdf") ? "%PDF-1.4" : "x"))
                        : void(QDir().mkpath(path));
            if (!w || verb == "new") {
                w = std::make_unique<MainWindow>();
                w->show();
                QObject::connect(w->statusBar(), &QStatusBar::messageChanged, w.get(),
                                 [this](const QString &m) { messages << m; });
                QObject::connect(w->findChild<QProgressBar *>(), &QProgressBar::valueChanged,
                                 w.get(), [this](int v) { values << QString::number(v); });
            }
            QObject *named =
                w->objectName() == args.value(0) ? w.get() : w->findChild<QObject *>(args.value(0));
            if (verb == "env")
                env.emplace_back(qPrintable(args[0].section('=', 0, 0)),
                                 args[0].section('=', 1).toUtf8());
            else if (verb == "drop")
                dropFiles(w.get(), args);
            else if (verb == "answer")
                answerer.answer(args);
            else if (verb == "convert")
                play("set lineChemin text " + args.join(' ') + "; click boutonConvertir");
            else if (verb == "click" || verb == "signal") {
                messages.clear();
                values.clear();
                verb == "signal" ? terminate()
                                 : void(QMetaObject::invokeMethod(
                                       named, named->inherits("QAction") ? "trigger" : "click"));
            } else if (verb == "set")
                named->setProperty(qPrintable(args[1]), args.mid(2).join(' '));
            else if (auto *list = qobject_cast<QListView *>(named); list && verb == "unlist")
                emit list->doubleClicked(list->model()->index(args[1].toInt(), 0));
            else if (verb == "is")
                QCOMPARE(words(named->property(qPrintable(args[1])).toString()).join(' '),
                         args.mid(2).join(' '));
            else if (verb != "touch" && verb != "new")
                QCOMPARE(verb + ' ' + shows(verb, args.value(0)), verb + ' ' + args.join(' '));
        }
        QCOMPARE(answerer.unexpected, 0);
    }
    MainWindow *window() const { return w.get(); }

private:
    std::unique_ptr<MainWindow> w;
    std::unique_ptr<velinor::Interruption> interruption;
    ModalAnswerer answerer;
    std::list<ScopedEnv> env;
    QStringList messages;
    QStringList values;

    static QStringList words(const QString &s) { return s.split(' ', Qt::SkipEmptyParts); }

    // SIGTERM, caught as app/main.cpp has it.
    void terminate()
    {
        if (!interruption) { // one at a time
            interruption = std::make_unique<velinor::Interruption>();
            QObject::connect(interruption.get(), &velinor::Interruption::requested,
                             [this] { w->closeWithoutAsking(); });
        }
        ::raise(SIGTERM);
    }

    QString shows(const QString &what, const QString &folder) const
    {
        QStringList modals, details;
        for (const ModalRecord &r : answerer.records)
            if (!r.details.isEmpty())
                details << r.details;
        for (const ModalRecord &r : answerer.records)
            modals << (r.icon ? QString("-IWCQ"[r.icon]) + ':' : r.directory) +
                          (r.icon > QMessageBox::Information ? r.text : QString());
        const QHash<QString, QStringList> seen{
            {"list",
             qobject_cast<QStringListModel *>(w->findChild<QListView *>()->model())->stringList()},
            {"destination", {w->destinationPath()}},
            {"converter", {w->converterPath()}},
            {"files", QStringList{folder} + testenv::fileNames(folder)},
            {"statuses", {messages.join(" / ")}},
            {"progress", values},
            {"details", {details.join(" / ")}},
            {"modals", modals},
            {"call", testenv::fakeConverterCalls(tmp.filePath("log")).value(0)}};
        return words(seen.value(what).join(' ')).join(' ');
    }
};

} // namespace window

#endif

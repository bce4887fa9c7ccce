#ifndef VELINOR_WINDOWDRIVER_H
#define VELINOR_WINDOWDRIVER_H

#include "filelistdriver.h"
#include "mainwindow/mainwindow.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QObject>
#include <QProgressBar>
#include <QStatusBar>
#include <QStringList>

// Watches what a run shows the user: every progress value set while the bar is visible, every
// status message, and whether the bar was visible at each change.
class RunRecorder : public QObject
{
public:
    explicit RunRecorder(MainWindow *window)
    {
        auto *bar = window->findChild<QProgressBar *>(QStringLiteral("progressBar"));
        connect(bar, &QProgressBar::valueChanged, this, [this, bar](int v) {
            progress << v;
            hiddenDuringChange = hiddenDuringChange || (v != 0 && bar->isHidden());
        });
        connect(window->statusBar(), &QStatusBar::messageChanged, this,
                [this](const QString &m) { messages << m; });
    }
    QList<int> progress;
    QStringList messages;
    bool hiddenDuringChange = false;
};

namespace window {

inline void click(MainWindow *w, const char *button)
{
    w->findChild<QAbstractButton *>(QString::fromLatin1(button))->click();
}

inline void setChecked(MainWindow *w, const char *name, bool on = true)
{
    w->findChild<QAbstractButton *>(QString::fromLatin1(name))->setChecked(on);
}

inline void setDestination(MainWindow *w, const QString &path)
{
    w->findChild<QLineEdit *>(QStringLiteral("lineChemin"))->setText(path);
}

// A whole conversion as a user makes it: options checked, the files dropped, a destination
// typed, "Convertir !" clicked. Returns when the run is over.
inline void convert(MainWindow *w, const QStringList &sources, const QString &destination,
                    const QStringList &checks = {})
{
    for (const QString &c : checks)
        setChecked(w, qPrintable(c));
    filelist::dropFiles(w, sources);
    setDestination(w, destination);
    click(w, "boutonConvertir");
}

} // namespace window

#endif

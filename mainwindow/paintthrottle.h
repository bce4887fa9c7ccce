#ifndef VELINOR_PAINTTHROTTLE_H
#define VELINOR_PAINTTHROTTLE_H

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// Paints some widgets at most once an interval. Their values change at once; a change made
// within the interval after the last painting is painted once it is over, the last of them
// included. Where the event loop is blocked (the renames), the first change after the interval
// is painted at once.
class PaintThrottle : public QObject
{
public:
    PaintThrottle(int intervalMs, QObject *parent = nullptr);
    void watch(QWidget *widget);
    // Before a change of what the widgets show.
    void aboutToChange();

private:
    void release();

    int intervalMs;
    QList<QPointer<QWidget>> widgets;
    QElapsedTimer sincePainting;
    QTimer pending;
};

#endif

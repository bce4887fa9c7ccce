#include "paintthrottle.h"

PaintThrottle::PaintThrottle(int intervalMs, QObject *parent)
    : QObject(parent), intervalMs(intervalMs)
{
    pending.setSingleShot(true);
    connect(&pending, &QTimer::timeout, this, [this] {
        release();
        sincePainting.start();
    });
}

void PaintThrottle::watch(QWidget *widget)
{
    widgets << widget;
}

void PaintThrottle::aboutToChange()
{
    if (!sincePainting.isValid() || sincePainting.elapsed() >= intervalMs) {
        pending.stop();
        release();
        sincePainting.start();
        return;
    }
    // Their own painting of the change does nothing while updates are off.
    for (QWidget *widget : std::as_const(widgets)) {
        if (widget)
            widget->setUpdatesEnabled(false);
    }
    if (!pending.isActive())
        pending.start(int(intervalMs - sincePainting.elapsed()));
}

void PaintThrottle::release()
{
    // Turned on again, a widget schedules its painting.
    for (QWidget *widget : std::as_const(widgets)) {
        if (widget && !widget->updatesEnabled())
            widget->setUpdatesEnabled(true);
    }
}

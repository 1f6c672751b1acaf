#include "gantt/ganttsurface.h"

#include "accessibility/accessibleview.h"
#include "gantt/ctlgantt_p.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>

namespace Dayplex {

GanttSurface::GanttSurface(ctlGanttPrivate *d, QWidget *parent)
    : ViewSurface(lcGantt(), parent)
    , d(d)
{
    setObjectName(QStringLiteral("calpic"));
}

bool GanttSurface::viewKeyPress(int key, Qt::KeyboardModifiers modifiers)
{
    return !d->searching && d->keyPress(key, modifiers);
}

void GanttSurface::focusInEvent(QFocusEvent *event)
{
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        d->core.gestures.enteredByTab();
    update();
    QWidget::focusInEvent(event);
}

void GanttSurface::focusOutEvent(QFocusEvent *event)
{
    guard([&] { d->perform(d->core.focusLost()); });
    update();
    QWidget::focusOutEvent(event);
}

void GanttSurface::paintEvent(QPaintEvent *)
{
    if (d->q->ForPrinting)
        return;
    guard([&] {
        QPainter painter(this);
        d->paintScreen(painter);
        notifyAccessibleView(this);
    });
}

void GanttSurface::changeEvent(QEvent *event)
{
    // System colours follow the palette.
    if (event->type() == QEvent::PaletteChange)
        d->core.pictureStale = true;
    QWidget::changeEvent(event);
}

namespace {

GanttPointer pointerOf(const QMouseEvent *event)
{
    return {event->button(), event->buttons(), event->position().x(), event->position().y()};
}

} // namespace

void GanttSurface::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (d->searching)
        return;
    if (d->core.gestures.keyboardInUse())
        update(); // the focus frame goes
    guard([&] {
        d->perform(d->synced().press(pointerOf(event)),
                   event->globalPosition().toPoint());
    });
}

void GanttSurface::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (d->blnInMouseMove || d->searching)
        return;
    d->blnInMouseMove = true;
    const auto moveEnds = qScopeGuard([this] { d->blnInMouseMove = false; });
    guard([&] { d->perform(d->synced().move(pointerOf(event))); });
}

void GanttSurface::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    guard([&] { d->perform(d->synced().release(pointerOf(event))); });
}

void GanttSurface::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    guard([&] {
        d->perform(d->synced().doubleClick(pointerOf(event)));
    });
}

void GanttSurface::keyPressEvent(QKeyEvent *event)
{
    bool handled = true;
    if (!d->searching)
        guard([&] { handled = d->keyPress(event->key(), event->modifiers()); });
    if (handled)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

} // namespace Dayplex

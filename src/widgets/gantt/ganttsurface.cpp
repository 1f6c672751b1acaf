#include "gantt/ganttsurface.h"

#include "accessibility/accessibleview.h"
#include "gantt/ctlgantt_p.h"
#include "shared/tabwalkkeys.h"
#include "shared/guarded.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>

namespace Dayplex {

GanttSurface::GanttSurface(ctlGanttPrivate *d, QWidget *parent)
    : QWidget(parent)
    , d(d)
{
    setObjectName(QStringLiteral("calpic"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool GanttSurface::event(QEvent *event)
{
    const auto keyPress = [this](int key, Qt::KeyboardModifiers modifiers) {
        return !d->searching && d->keyPress(key, modifiers);
    };
    return walkBeforeQt(*event, lcGantt(), keyPress) || QWidget::event(event);
}

void GanttSurface::focusInEvent(QFocusEvent *event)
{
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        d->gestures.enteredByTab();
    update();
    QWidget::focusInEvent(event);
}

void GanttSurface::focusOutEvent(QFocusEvent *event)
{
    guarded(lcGantt(), [&] { d->perform(d->gestures.focusLost()); });
    update();
    QWidget::focusOutEvent(event);
}

void GanttSurface::paintEvent(QPaintEvent *)
{
    if (d->q->ForPrinting)
        return;
    guarded(lcGantt(), [&] {
        QPainter painter(this);
        d->paintScreen(painter);
        notifyAccessibleView(this);
    });
}

void GanttSurface::changeEvent(QEvent *event)
{
    // System colours follow the palette.
    if (event->type() == QEvent::PaletteChange)
        d->pictureStale = true;
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
    if (d->gestures.keyboardInUse())
        update(); // the focus frame goes
    guarded(lcGantt(), [&] {
        d->perform(d->gestures.press(d->gestureView(), pointerOf(event)),
                   event->globalPosition().toPoint());
    });
}

void GanttSurface::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (d->blnInMouseMove || d->searching)
        return;
    d->blnInMouseMove = true;
    const auto guard = qScopeGuard([this] { d->blnInMouseMove = false; });
    guarded(lcGantt(), [&] { d->perform(d->gestures.move(d->gestureView(), pointerOf(event))); });
}

void GanttSurface::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    guarded(lcGantt(), [&] { d->perform(d->gestures.release(d->gestureView(), pointerOf(event))); });
}

void GanttSurface::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    guarded(lcGantt(), [&] {
        d->perform(d->gestures.doubleClick(d->gestureView(), pointerOf(event)));
    });
}

void GanttSurface::keyPressEvent(QKeyEvent *event)
{
    bool handled = true;
    if (!d->searching)
        guarded(lcGantt(), [&] { handled = d->keyPress(event->key(), event->modifiers()); });
    if (handled)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

} // namespace Dayplex

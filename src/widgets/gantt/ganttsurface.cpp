#include "gantt/ganttsurface.h"

#include "accessibility/accessibleview.h"
#include "gantt/ctlgantt_p.h"
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
    // A click gives it the keyboard, so that Escape can end a move.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    if (event->key() == Qt::Key_Escape && d->gestures.moving()) {
        guarded(lcGantt(), [&] { d->perform(d->gestures.escape()); });
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace Dayplex

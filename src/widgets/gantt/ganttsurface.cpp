#include "gantt/ganttsurface.h"

#include "accessibility/accessibleview.h"
#include "gantt/ctlgantt_p.h"
#include "shared/guarded.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

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
        if (d->showFrameOnly && !d->frame.isNull()) {
            painter.drawImage(0, 0, d->frame);
        } else {
            d->paintView(&painter, width(), height());
            notifyAccessibleView(this);
        }
    });
}

void GanttSurface::mousePressEvent(QMouseEvent *event)
{
    // After Escape the held button still belongs to the cancelled move.
    if (d->escaped) {
        if ((event->buttons() & ~event->button()) != Qt::NoButton) {
            event->accept();
            return;
        }
        d->escaped = false; // its release never arrived
    }
    guarded(lcGantt(), [&] { d->mouseDown(event->button(), event->position(), event->globalPosition().toPoint()); });
    event->accept();
}

void GanttSurface::mouseMoveEvent(QMouseEvent *event)
{
    if (d->escaped && event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    d->escaped = false;
    guarded(lcGantt(), [&] { d->mouseMove(event->buttons(), event->position()); });
    event->accept();
}

void GanttSurface::mouseReleaseEvent(QMouseEvent *event)
{
    if (d->escaped) {
        d->escaped = event->buttons() != Qt::NoButton;
        event->accept();
        return;
    }
    guarded(lcGantt(), [&] { d->mouseUp(event->button(), event->position()); });
    event->accept();
}

void GanttSurface::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click is no press of its own: it shows the selection.
    if (event->button() == Qt::LeftButton)
        guarded(lcGantt(), [&] { d->showSelected(); });
    event->accept();
}

void GanttSurface::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && d->blnVerschieben) {
        guarded(lcGantt(), [&] { d->escapeMove(); });
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace Dayplex

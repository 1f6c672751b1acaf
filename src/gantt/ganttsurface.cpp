#include "gantt/ganttsurface.h"

#include "gantt/ctlgantt_p.h"
#include "shared/guarded.h"

#include <QMouseEvent>
#include <QPainter>

namespace Dayplex {

GanttSurface::GanttSurface(ctlGanttPrivate *d, QWidget *parent)
    : QWidget(parent)
    , d(d)
{
    setObjectName(QStringLiteral("calpic"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GanttSurface::paintEvent(QPaintEvent *)
{
    if (d->q->ForPrinting)
        return;
    guarded([&] {
        QPainter painter(this);
        if (d->showFrameOnly && !d->frame.isNull())
            painter.drawImage(0, 0, d->frame);
        else
            d->paintView(&painter, width(), height());
    });
}

void GanttSurface::mousePressEvent(QMouseEvent *event)
{
    guarded([&] { d->mouseDown(event->button(), event->position(), event->globalPosition().toPoint()); });
    event->accept();
}

void GanttSurface::mouseMoveEvent(QMouseEvent *event)
{
    guarded([&] { d->mouseMove(event->buttons(), event->position()); });
    event->accept();
}

void GanttSurface::mouseReleaseEvent(QMouseEvent *event)
{
    guarded([&] { d->mouseUp(event->button(), event->position()); });
    event->accept();
}

void GanttSurface::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click is no press of its own: it shows the selection.
    if (event->button() == Qt::LeftButton)
        guarded([&] { d->showSelected(); });
    event->accept();
}

} // namespace Dayplex

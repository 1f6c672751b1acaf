#include "calendar/calendarsurface.h"

#include "accessibility/accessibleview.h"
#include "calendar/ucagenda_p.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace Dayplex {

namespace {

// The buttons the view's gestures know; the others count as not held.
constexpr Qt::MouseButtons kViewButtons = Qt::LeftButton | Qt::RightButton | Qt::MiddleButton;

} // namespace

CalendarSurface::CalendarSurface(ucAgendaPrivate *d, QWidget *parent)
    : ViewSurface(lcCalendar(), parent)
    , d(d)
{
}

bool CalendarSurface::viewKeyPress(int key, Qt::KeyboardModifiers modifiers)
{
    return d->keyPress(key, modifiers);
}

void CalendarSurface::focusInEvent(QFocusEvent *event)
{
    guard([&] { d->focusIn(event->reason()); });
    QWidget::focusInEvent(event);
}

void CalendarSurface::focusOutEvent(QFocusEvent *event)
{
    guard([&] { d->focusOut(); });
    QWidget::focusOutEvent(event);
}

void CalendarSurface::paintEvent(QPaintEvent *event)
{
    if (d->q->ForPrinting) {
        // What is left unpainted now is painted at the next Repaint.
        d->core.kept.unshown += event->region();
        return;
    }
    QPainter painter(this);
    guard([&] {
        d->paintSurface(&painter, event->region());
        notifyAccessibleView(this);
    });
}

void CalendarSurface::mousePressEvent(QMouseEvent *event)
{
    const bool othersHeld = (event->buttons() & ~event->button()) != Qt::NoButton;
    guard([&] {
        d->mousePress(event->button(), othersHeld, event->position().x(),
                      event->position().y());
    });
    event->accept();
}

void CalendarSurface::mouseMoveEvent(QMouseEvent *event)
{
    guard([&] {
        d->mouseMove(event->buttons() & kViewButtons, event->position().x(), event->position().y());
    });
    event->accept();
}

void CalendarSurface::mouseReleaseEvent(QMouseEvent *event)
{
    guard([&] {
        d->mouseRelease(event->buttons() != Qt::NoButton, event->position().x(),
                        event->position().y());
    });
    event->accept();
}

void CalendarSurface::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a left double click is the double click only; other buttons press.
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    guard([&] {
        d->perform(d->core.doubleClick(event->position().x(), event->position().y()));
    });
    event->accept();
}

void CalendarSurface::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    guard([&] { d->wheel(delta); });
    event->accept();
}

} // namespace Dayplex

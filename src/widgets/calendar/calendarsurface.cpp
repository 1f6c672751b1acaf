#include "calendar/calendarsurface.h"

#include "accessibility/accessibleview.h"
#include "calendar/ucagenda_p.h"
#include "shared/tabwalkkeys.h"
#include "shared/guarded.h"

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
    : QWidget(parent)
    , d(d)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CalendarSurface::event(QEvent *event)
{
    const auto keyPress = [this](int key, Qt::KeyboardModifiers modifiers) {
        return d->keyPress(key, modifiers);
    };
    return walkBeforeQt(*event, lcCalendar(), keyPress) || QWidget::event(event);
}

void CalendarSurface::focusInEvent(QFocusEvent *event)
{
    guarded(lcCalendar(), [&] { d->focusIn(event->reason()); });
    QWidget::focusInEvent(event);
}

void CalendarSurface::focusOutEvent(QFocusEvent *event)
{
    guarded(lcCalendar(), [&] { d->focusOut(); });
    QWidget::focusOutEvent(event);
}

void CalendarSurface::paintEvent(QPaintEvent *event)
{
    if (d->q->ForPrinting) {
        // What is left unpainted now is painted at the next Repaint.
        d->kept.unshown += event->region();
        return;
    }
    QPainter painter(this);
    guarded(lcCalendar(), [&] {
        d->paintSurface(&painter, event->region());
        notifyAccessibleView(this);
    });
}

void CalendarSurface::mousePressEvent(QMouseEvent *event)
{
    const bool othersHeld = (event->buttons() & ~event->button()) != Qt::NoButton;
    guarded(lcCalendar(), [&] {
        d->mousePress(event->button(), othersHeld, event->position().x(),
                      event->position().y());
    });
    event->accept();
}

void CalendarSurface::mouseMoveEvent(QMouseEvent *event)
{
    guarded(lcCalendar(), [&] {
        d->mouseMove(event->buttons() & kViewButtons, event->position().x(), event->position().y());
    });
    event->accept();
}

void CalendarSurface::mouseReleaseEvent(QMouseEvent *event)
{
    guarded(lcCalendar(), [&] {
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
    guarded(lcCalendar(), [&] {
        d->perform(d->gesture.doubleClick(d->gestureView(), event->position().x(),
                                          event->position().y()));
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
    guarded(lcCalendar(), [&] { d->wheel(delta); });
    event->accept();
}

} // namespace Dayplex

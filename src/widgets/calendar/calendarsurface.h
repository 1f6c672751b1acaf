#ifndef DAYPLEX_CALENDARSURFACE_H
#define DAYPLEX_CALENDARSURFACE_H

#include "shared/viewsurface.h"

namespace Dayplex {

class ucAgendaPrivate;

// The drawing surface "pic" of the calendar: it shows the painted view with the drag ghost
// and hands its mouse and wheel events to the control's interaction handling. Other key
// events are left to the control, whose focus proxy it is.
class CalendarSurface : public ViewSurface
{
    Q_OBJECT

public:
    CalendarSurface(ucAgendaPrivate *d, QWidget *parent);

protected:
    bool viewKeyPress(int key, Qt::KeyboardModifiers modifiers) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    ucAgendaPrivate *const d;
};

} // namespace Dayplex

#endif

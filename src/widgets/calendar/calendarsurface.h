#ifndef DAYPLEX_CALENDARSURFACE_H
#define DAYPLEX_CALENDARSURFACE_H

#include <QWidget>

namespace Dayplex {

class ucAgendaPrivate;

// The drawing surface "pic" of the calendar: it shows the painted view with the drag ghost
// and hands its mouse and wheel events to the control's interaction handling. Key events are
// left to the control, which the surface's focus proxies them to.
class CalendarSurface : public QWidget
{
    Q_OBJECT

public:
    CalendarSurface(ucAgendaPrivate *d, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
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

#ifndef DAYPLEX_GANTTSURFACE_H
#define DAYPLEX_GANTTSURFACE_H

#include "shared/viewsurface.h"

namespace Dayplex {

class ctlGanttPrivate;

// The picture area "calpic" of the Gantt view: shows the painted view and hands its mouse
// and key events to the view's interaction handling.
class GanttSurface : public ViewSurface
{
    Q_OBJECT

public:
    GanttSurface(ctlGanttPrivate *d, QWidget *parent);

protected:
    bool viewKeyPress(int key, Qt::KeyboardModifiers modifiers) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    ctlGanttPrivate *const d;
};

} // namespace Dayplex

#endif

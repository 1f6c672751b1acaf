#ifndef DAYPLEX_VIEWSURFACE_H
#define DAYPLEX_VIEWSURFACE_H

#include "shared/guarded.h"

#include <QWidget>

#include <optional>

class QImage;
class QLoggingCategory;
class QPainter;

namespace Dayplex {

// What a view's front end does with the events of its drawing surface, handed over as plain
// values: positions in logical pixels of the surface, buttons, keys, wheel turns.
class SurfaceEvents
{
public:
    virtual ~SurfaceEvents() = default;
    // Paints the exposed part of the surface; false when it paints nothing now (the view
    // prints).
    virtual bool surfacePaint(QWidget &surface, const QRegion &exposed) = 0;
    // Tab or Shift+Tab before Qt takes them to move the focus; false: Qt does.
    virtual bool surfaceTab(int key, Qt::KeyboardModifiers modifiers) = 0;
    // Any other key on the surface; false leaves it to the control the surface serves.
    virtual bool surfaceKey(int, Qt::KeyboardModifiers) { return false; }
    virtual void surfaceFocusIn(Qt::FocusReason reason) = 0;
    virtual void surfaceFocusOut() = 0;
    // button: the one pressed, released or double-clicked; buttons: those held after it.
    virtual void surfacePress(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at,
                              QPoint globalAt) = 0;
    virtual void surfaceMove(Qt::MouseButtons buttons, QPointF at) = 0;
    virtual void surfaceRelease(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at) = 0;
    virtual void surfaceDoubleClick(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at,
                                    QPoint globalAt) = 0;
    // Whether the view scrolls by the wheel (in eighths of a degree); else the turn goes on to
    // the parent.
    virtual bool surfaceTakesWheel() const { return false; }
    virtual void surfaceWheel(int) {}
    // The palette changed: system colours follow it.
    virtual void surfacePaletteChanged() {}
};

// The window's own pixels under the whole surface, as an image sharing their memory, for a
// picture painted there at once instead of copied from a kept image. Only where the surface's
// painter could write every one of them anyway (the exposed part covers the surface, nothing
// lies over it) and the window's pixels are 32-bit words (RGB32, or premultiplied ARGB32 whose
// opaque pixels are the same words) at a whole pixel ratio; the image is RGB32 as a kept
// picture is. Otherwise nothing, and the picture is copied as before.
std::optional<QImage> windowPixels(QPainter &painter, QSize size, qreal ratio);

// The drawing surface of a view: it shows the view's picture and hands the pointer and key
// events to the view's front end, which takes its focus from it. Tab and Shift+Tab, which Qt
// would take to move the focus, go to the view's keys first, so that they walk the
// appointments. A handler's error is logged in the view's category and stays out of the event
// loop.
class ViewSurface : public QWidget
{
    Q_OBJECT

public:
    ViewSurface(SurfaceEvents &view, const QLoggingCategory &category, QWidget *parent);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Runs an event handler of the view.
    template<typename F>
    void guard(F f) const
    {
        guarded(m_category, f);
    }

    SurfaceEvents &m_view;
    const QLoggingCategory &m_category;
};

} // namespace Dayplex

#endif

#include "shared/viewsurface.h"

#include "accessibility/accessibleview.h"
#include "shared/tabwalkkeys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>

namespace Dayplex {

ViewSurface::ViewSurface(SurfaceEvents &view, const QLoggingCategory &category, QWidget *parent)
    : QWidget(parent)
    , m_view(view)
    , m_category(category)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool ViewSurface::event(QEvent *event)
{
    const auto keyPress = [this](int key, Qt::KeyboardModifiers modifiers) {
        return m_view.surfaceTab(key, modifiers);
    };
    return walkBeforeQt(*event, m_category, keyPress) || QWidget::event(event);
}

void ViewSurface::paintEvent(QPaintEvent *event)
{
    guard([&] {
        if (m_view.surfacePaint(*this, event->region()))
            notifyAccessibleView(this);
    });
}

void ViewSurface::focusInEvent(QFocusEvent *event)
{
    guard([&] { m_view.surfaceFocusIn(event->reason()); });
    QWidget::focusInEvent(event);
}

void ViewSurface::focusOutEvent(QFocusEvent *event)
{
    guard([&] { m_view.surfaceFocusOut(); });
    QWidget::focusOutEvent(event);
}

void ViewSurface::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        m_view.surfacePaletteChanged();
    QWidget::changeEvent(event);
}

void ViewSurface::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    guard([&] {
        m_view.surfacePress(event->button(), event->buttons(), event->position(),
                            event->globalPosition().toPoint());
    });
}

void ViewSurface::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    guard([&] { m_view.surfaceMove(event->buttons(), event->position()); });
}

void ViewSurface::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    guard([&] { m_view.surfaceRelease(event->button(), event->buttons(), event->position()); });
}

void ViewSurface::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    guard([&] {
        m_view.surfaceDoubleClick(event->button(), event->buttons(), event->position(),
                                  event->globalPosition().toPoint());
    });
}

void ViewSurface::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0 || !m_view.surfaceTakesWheel()) {
        QWidget::wheelEvent(event);
        return;
    }
    guard([&] { m_view.surfaceWheel(delta); });
    event->accept();
}

void ViewSurface::keyPressEvent(QKeyEvent *event)
{
    bool handled = true;
    guard([&] { handled = m_view.surfaceKey(event->key(), event->modifiers()); });
    if (handled)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

} // namespace Dayplex

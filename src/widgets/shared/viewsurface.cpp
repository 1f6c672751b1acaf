#include "shared/viewsurface.h"

#include "accessibility/accessibleview.h"
#include "shared/tabwalkkeys.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

namespace Dayplex {

std::optional<QImage> windowPixels(QPainter &painter, QSize size, qreal ratio)
{
    QPaintEngine *engine = painter.paintEngine();
    QPaintDevice *device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image || painter.hasClipping()
        || ratio != std::floor(ratio))
        return std::nullopt;
    auto *window = static_cast<QImage *>(device);
    // Opaque pixels of both formats are the same words. Writing into shared lines would copy
    // them away from the painter's engine.
    const QImage::Format format = window->format();
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied)
        || !window->isDetached())
        return std::nullopt;
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() != ratio || t.m22() != ratio
        || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return std::nullopt;
    const QRect pixels(int(t.dx()), int(t.dy()), int(size.width() * ratio),
                       int(size.height() * ratio));
    const QRegion allowed = engine->systemClip();
    if (pixels.isEmpty() || !window->rect().contains(pixels) || allowed.isEmpty()
        || !QRegion(pixels).subtracted(allowed).isEmpty())
        return std::nullopt;
    const qsizetype stride = window->bytesPerLine();
    QImage lines(window->bits() + pixels.y() * stride + pixels.x() * 4, pixels.width(),
                 pixels.height(), stride, QImage::Format_RGB32);
    lines.setDevicePixelRatio(ratio);
    return lines;
}

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

#ifndef DAYPLEX_TESTS_ONSCREEN_H
#define DAYPLEX_TESTS_ONSCREEN_H

#include <QBackingStore>
#include <QImage>
#include <QWidget>

namespace Dayplex::Testing {

// What the window holds under a widget: its pixels as the screen shows them, in RGB32.
inline QImage onScreen(QWidget *widget)
{
    QBackingStore *store = widget->window()->backingStore();
    const auto *pixels = store ? dynamic_cast<const QImage *>(store->paintDevice()) : nullptr;
    if (!pixels)
        return QImage();
    const qreal ratio = widget->devicePixelRatioF();
    const QRect area(widget->mapTo(widget->window(), QPoint()) * ratio, widget->size() * ratio);
    return pixels->copy(area).convertToFormat(QImage::Format_RGB32);
}

} // namespace Dayplex::Testing

#endif

#include "shared/focusframe.h"

#include <QPainter>

namespace Dayplex {

namespace {

// 10:1 against white.
const QColor kFrameColour(0x0B, 0x3D, 0x91);

void ring(QPainter &painter, const QRect &r, int width, const QColor &colour)
{
    if (r.width() <= 2 * width || r.height() <= 2 * width) {
        painter.fillRect(r, colour);
        return;
    }
    painter.fillRect(QRect(r.left(), r.top(), r.width(), width), colour);
    painter.fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), colour);
    painter.fillRect(QRect(r.left(), r.top() + width, width, r.height() - 2 * width), colour);
    painter.fillRect(QRect(r.right() - width + 1, r.top() + width, width, r.height() - 2 * width), colour);
}

} // namespace

void drawFocusFrame(QPainter &painter, const QRect &around, const QRect &area)
{
    const QRect outer = around.adjusted(-3, -3, 3, 3) & area;
    if (outer.isEmpty())
        return;
    painter.save();
    painter.setClipping(false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    ring(painter, outer, 1, Qt::white);
    ring(painter, outer.adjusted(1, 1, -1, -1), 2, kFrameColour);
    painter.restore();
}

} // namespace Dayplex

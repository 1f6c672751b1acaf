#include "shared/seriessign.h"

#include "shared/cdc.h"

#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace Dayplex {

namespace {

// Smaller than this the arrow's head and the gap in its circle blur into a blot.
constexpr qint32 kSmallestSign = 8;
constexpr qint32 kLargestSign = 13;
// The gap between the sign and the text, and between the sign and the frame.
constexpr qint32 kGap = 2;

} // namespace

SeriesSignPlace seriesSignPlace(const QRect &inside, qint32 charHeight, bool centred)
{
    const qint32 size = std::min({charHeight - 1, kLargestSign, inside.height() - 2});
    if (size < kSmallestSign || inside.width() < 3 * (size + kGap))
        return {};
    const qint32 top = centred ? inside.top() + (inside.height() - size) / 2 : inside.top() + 1;
    const QRect sign(inside.right() - kGap / 2 - size + 1, top, size, size);
    return {sign, QRect(inside.left(), inside.top(), sign.left() - kGap - inside.left(),
                        inside.height())};
}

void drawSeriesSign(cDC &dc, const QRect &square, qint32 colour)
{
    if (square.isEmpty())
        return;
    // Lines of about an eighth of the sign, never thinner than a pixel.
    const qreal pen = std::max(1.0, square.width() / 8.0);
    const qreal head = std::max(2.0, square.width() * 0.3);
    // The circle keeps clear of the square's edges by half a line and the head's overhang.
    const QRectF circle = QRectF(square).adjusted(head / 2, head / 2, -head / 2 + 0.5, -head / 2 + 0.5);
    // Clockwise from the top right round to the left, the gap at the top: the usual
    // "again" arrow.
    const qreal startAngle = 60, sweep = -290;
    QPainterPath arc;
    arc.arcMoveTo(circle, startAngle);
    arc.arcTo(circle, startAngle, sweep);
    const qreal end = qDegreesToRadians(startAngle + sweep);
    const QPointF tip = arc.currentPosition();
    // Travelling clockwise on the screen, where y grows downwards.
    const QPointF along(std::sin(end), std::cos(end));
    const QPointF across(-along.y(), along.x());
    QPainterPath arrow;
    arrow.moveTo(tip + along * head * 0.9);
    arrow.lineTo(tip + across * head * 0.75 - along * head * 0.2);
    arrow.lineTo(tip - across * head * 0.75 - along * head * 0.2);
    arrow.closeSubpath();
    dc.strokePath(arc, colour, pen);
    dc.fillPath(arrow, colour);
}

} // namespace Dayplex

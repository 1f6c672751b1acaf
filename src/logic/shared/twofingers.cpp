#include "shared/twofingers.h"

#include <QLineF>

#include <cmath>

namespace Dayplex {

namespace {

QPointF midpoint(QPointF a, QPointF b)
{
    return (a + b) / 2;
}

double spread(QPointF a, QPointF b)
{
    return QLineF(a, b).length();
}

// Whole steps of `size` in `moved` pixels, rounded toward zero; the pixels they take are
// removed from `from` so that the rest counts with the next move.
int wholeSteps(double moved, double size, double &from)
{
    if (!(size > 0))
        return 0;
    const int steps = int(std::trunc(moved / size));
    from += steps * size;
    return steps;
}

} // namespace

void TwoFingers::start(QPointF first, QPointF second)
{
    m_active = true;
    m_panFrom = midpoint(first, second);
    m_zoomFrom = spread(first, second);
}

TwoFingerSteps TwoFingers::update(QPointF first, QPointF second, QSizeF stepSize)
{
    TwoFingerSteps steps;
    if (!m_active)
        return steps;
    const QPointF mid = midpoint(first, second);
    double fromX = m_panFrom.x();
    double fromY = m_panFrom.y();
    // The content follows the fingers: moving them right or down shows what lies before.
    steps.columns = -wholeSteps(mid.x() - fromX, stepSize.width(), fromX);
    steps.rows = -wholeSteps(mid.y() - fromY, stepSize.height(), fromY);
    m_panFrom = QPointF(fromX, fromY);

    const double now = spread(first, second);
    if (m_zoomFrom < kMinimumSpread || now < kMinimumSpread) {
        m_zoomFrom = now;
        return steps;
    }
    while (now >= m_zoomFrom * kZoomFactor) {
        ++steps.zoom;
        m_zoomFrom *= kZoomFactor;
    }
    while (now <= m_zoomFrom / kZoomFactor) {
        --steps.zoom;
        m_zoomFrom /= kZoomFactor;
    }
    return steps;
}

} // namespace Dayplex

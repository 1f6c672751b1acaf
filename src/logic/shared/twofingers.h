#ifndef DAYPLEX_TWOFINGERS_H
#define DAYPLEX_TWOFINGERS_H

#include <QPointF>
#include <QSizeF>

namespace Dayplex {

// What two fingers on a view ask for since the last touch update, in whole steps: columns and
// rows to scroll (a finger moving right shows earlier columns: negative), and steps of zoom of
// the time axis (spreading the fingers zooms in: positive). What is below a step is kept for
// the next update, so a slow pan still scrolls.
struct TwoFingerSteps
{
    int columns = 0;
    int rows = 0;
    int zoom = 0;
    bool operator==(const TwoFingerSteps &o) const
    {
        return columns == o.columns && rows == o.rows && zoom == o.zoom;
    }
};

// Two-finger pan and pinch on a view: the fingers' midpoint scrolls by the view's column and
// row size, and their distance, each time it grows or shrinks by a quarter, zooms a step.
class TwoFingers
{
public:
    // The distance between the fingers that grows by this factor zooms in one step; shrinking
    // by its inverse zooms out.
    static constexpr double kZoomFactor = 1.25;
    // Fingers closer than this (logical pixels) measure no pinch: a second finger that lands on
    // the first.
    static constexpr double kMinimumSpread = 8;

    void start(QPointF first, QPointF second);
    // stepSize: the width of a column and the height of a row; a side of 0 or less does not
    // scroll that way.
    TwoFingerSteps update(QPointF first, QPointF second, QSizeF stepSize);
    bool active() const { return m_active; }
    void end() { m_active = false; }

private:
    bool m_active = false;
    QPointF m_panFrom;     // the midpoint up to which whole steps were scrolled
    double m_zoomFrom = 0; // the spread at the last zoom step
};

} // namespace Dayplex

#endif

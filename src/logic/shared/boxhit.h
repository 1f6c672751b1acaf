#ifndef DAYPLEX_BOXHIT_H
#define DAYPLEX_BOXHIT_H

namespace Dayplex {

// The one edge rule of every hit test of both views: the point (x, y) lies on the box (left,
// top, width, height) when it lies within all four edges, the edges included. A box is
// painted with its frame on those edges (the calendar's frames lie on the right and bottom
// edge, the Gantt's bar frames just inside them), so every frame pixel counts as the box. Where
// two boxes share an edge, the caller's order decides: the calendar takes the region
// registered first, the Gantt the bar with the lower index. Doubles, as mouse positions may
// carry fractions; the sums cannot overflow.
inline bool boxHolds(double x, double y, double left, double top, double width, double height)
{
    return left <= x && x <= left + width && top <= y && y <= top + height;
}

} // namespace Dayplex

#endif

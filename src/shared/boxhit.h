#ifndef DAYPLEX_BOXHIT_H
#define DAYPLEX_BOXHIT_H

#include <QtGlobal>

namespace Dayplex {

// The one edge rule of every hit test of both views: whether the point (x, y) lies on the box
// (left, top, width, height) as it is painted. A box paints the pixels from its left and top
// edges, frame pixels included, up to but not including left + width and top + height, where
// the frame of a box beside or below it begins. So the left and top edges are inside, the
// right and bottom edges are not, and of two boxes that share an edge only one claims a point
// on it. Doubles, as mouse positions may carry fractions; the sums cannot overflow.
inline bool boxHolds(double x, double y, double left, double top, double width, double height)
{
    return left <= x && x < left + width && top <= y && y < top + height;
}

} // namespace Dayplex

#endif

#ifndef DAYPLEX_TIMEAXISZOOM_H
#define DAYPLEX_TIMEAXISZOOM_H

namespace Dayplex {

// A pinch zooms a view's time axis in steps along a ladder of usual values: zooming in (steps
// above 0) shows less time larger. A value between two rungs goes to the next rung in the
// direction of the zoom; at either end of the ladder the value stays.

// The calendar's raster in minutes: 60, 30, 15, 10, 5; zooming in makes the rows shorter.
int zoomedRasterMinutes(int minutes, int steps);
// The resource view's number of days: 28, 21, 14, 7, 5, 3, 2, 1; zooming in shows fewer.
int zoomedDayCount(int days, int steps);

} // namespace Dayplex

#endif

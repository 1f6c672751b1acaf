#ifndef DAYPLEX_CALENDARPAINTER_H
#define DAYPLEX_CALENDARPAINTER_H

#include "calendar/calendarscene.h"

namespace Dayplex {

class cDC;

// Draws a computed view onto the surface in a fixed order: background, the grid's cells, the
// appointments in store order, the "+n" markers. A screen paint (printFlag false) ends by
// copying the surface to its target. Lines and frames are one line width of the surface wide
// (cDC::lineWidth). Writes nothing but pixels.
void paintCalendar(cDC &dc, const CalendarScene &scene, bool printFlag);

} // namespace Dayplex

#endif

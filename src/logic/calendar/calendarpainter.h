#ifndef DAYPLEX_CALENDARPAINTER_H
#define DAYPLEX_CALENDARPAINTER_H

#include "calendar/calendarscene.h"

namespace Dayplex {

class BoxInsides;
class cDC;

// Draws a computed view onto the surface in a fixed order: background, the grid's cells, the
// appointments in store order, the "+n" markers. A screen paint (printFlag false) ends by
// copying the surface to its target. Lines and frames are one line width of the surface wide
// (cDC::lineWidth). Writes nothing but pixels. With only, what lies outside that region is
// left out; the caller clips the surface to it (a repaint of changed cells). With kept
// insides, the boxes that look as before are drawn from them.
void paintCalendar(cDC &dc, const CalendarScene &scene, bool printFlag,
                   const QRegion *only = nullptr, BoxInsides *insides = nullptr);

} // namespace Dayplex

#endif

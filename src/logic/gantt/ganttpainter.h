#ifndef DAYPLEX_GANTTPAINTER_H
#define DAYPLEX_GANTTPAINTER_H

#include "gantt/ganttscene.h"

namespace Dayplex {

class cDC;
class BoxInsides;

// Draws a computed picture of the Gantt view onto the surface: background, rows with their
// names (and the proposal in marked rows), the two header rows, the current-time line, the
// strip at the end of the name column with its overlap marks, and the bars in list order.
// Lines are one line width of the surface wide (cDC::lineWidth). Reads, never writes; with
// kept insides, the bars that look as before are drawn from them.
void GanttZeichnen(cDC &dc, const GanttContent &content, const GanttScene &scene,
                   BoxInsides *insides = nullptr);

// The background alone, for a picture whose scene could not be computed.
void GanttHintergrund(cDC &dc, const GanttContent &content, qint32 offsetx, qint32 offsety,
                      qint32 width, qint32 height);

// The corner cell above the names with the date under the mouse.
void KopfTextZeichnen(cDC &dc, const GanttLayout &layout, const GanttStyle &style, Date datMaus);

} // namespace Dayplex

#endif

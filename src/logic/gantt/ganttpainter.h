#ifndef DAYPLEX_GANTTPAINTER_H
#define DAYPLEX_GANTTPAINTER_H

#include "gantt/ganttlayout.h"
#include "gantt/ganttmodel.h"
#include "gantt/ganttstyle.h"

namespace Dayplex {

class cDC;

// Everything one paint of the Gantt view reads.
struct GanttScene
{
    GanttModel &model;         // bar rectangles are written back
    const GanttStyle &style;
    Date startDate = 0;        // mStartDate
    Date endDate = 0;          // mEndDate
    qint32 firstRow = 1;       // the vertical scroll bar's value
    bool forPrinting = false;  // no selection, marking, proposal or current-time line
    bool modern = false;       // ellipsis, readable and distinct colours
    Date now = 0;
};

// What a paint leaves behind: the layout fields for hit-testing, and the state of the search
// panel's proposal label and "Neu" button (only when at least one row was painted).
struct GanttPaintResult
{
    GanttLayout layout;
    bool layoutValid = false;
    HeaderScale scale;
    BarPass bars;
    bool panelUpdated = false;
    QString lblVorschlag;
    bool cmdNeuEnabled = false;
};

// The whole view into the target rectangle of the surface, th the text height and cw the
// character width of the surface's font: background, rows with their names (and the proposal
// in marked rows), the two header rows, the current-time line, the strip at the end of the
// name column with its overlap marks, and the bars in list order. Fills `result` as it goes,
// so that a failing step leaves what was computed before it. Lines are one line width of the
// surface wide (cDC::lineWidth).
void GanttZeichnen(cDC &dc, GanttScene &scene, GanttPaintResult &result, qint32 offsetx,
                   qint32 offsety, qint32 width, qint32 height, qint32 th, qint32 cw);

// The corner cell above the names with the date under the mouse.
void KopfTextZeichnen(cDC &dc, const GanttLayout &layout, const GanttStyle &style, Date datMaus);

} // namespace Dayplex

#endif

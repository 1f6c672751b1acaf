#ifndef DAYPLEX_CALENDARPAINTER_H
#define DAYPLEX_CALENDARPAINTER_H

#include "calendar/appointmentstore.h"
#include "calendar/calendargrid.h"
#include "calendar/calendarstyle.h"
#include "calendar/cellmatrix.h"
#include "calendar/hitregion.h"

namespace Dayplex {

class cDC;

// Everything one paint of the calendar reads and writes.
struct CalendarScene
{
    AppointmentStore &store;
    CellMatrix &matrix;
    CalendarGrid &grid;
    const CalendarStyle &style;
    HitRegionList &hits;
    Date selectionStart = 0;   // 0 = no time selection
    Date selectionEndSlot = 0; // start of the last selected slot
    qint32 selectedIndex = 0;  // the selected appointment, 0 = none
    bool forPrinting = false;
    Date today = 0;
    Date currentDate = 0;      // for the week label
    bool *gridRunning = nullptr; // set while the grid part draws; a nested paint skips it
    bool modern = false;       // ellipsis, "+n" markers, readable and distinct colours
    Date lastVisibleTime = 0;  // written: time of the lowest time row drawn
    QVector<BandOverflow> overflows = {}; // written: the "+n" markers of a modern paint
};

// The title of a day column: "Mo, 04.03.2024", or "Mo, 4." when the column is narrow.
QString dayHeaderText(Date day, bool narrow);

// Draws the whole view into the area (left, top, width, height) of the surface in a fixed
// order: background, time column, day columns with headers and band cells, splitter, corner
// cells, then the appointments in store order, registering every hit region on the way.
// charWidth and charHeight are the widths of "w" and the height of "Wy" in the view font.
// A screen paint (printFlag false) ends by copying the surface to its target. Lines and
// frames are one line width of the surface wide (cDC::lineWidth).
void paintCalendar(cDC &dc, CalendarScene &scene, qint32 left, qint32 top, qint32 width,
                   qint32 height, qint32 charWidth, qint32 charHeight, bool printFlag);

} // namespace Dayplex

#endif

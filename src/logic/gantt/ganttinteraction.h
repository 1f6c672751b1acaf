#ifndef DAYPLEX_GANTTINTERACTION_H
#define DAYPLEX_GANTTINTERACTION_H

#include "gantt/ganttlayout.h"

#include <dayplex/dates.h>

#include <QString>

namespace Dayplex {

// The rules behind the Gantt view's mouse, menu and scroll handling, without a widget.

// Days named by a caption of the "Ansicht" menu: the leading number, times 7 for a caption
// with "Woche", times 365 for one with "Jahr" ("2 Wochen" is 14).
qint32 ganttDaysFromCaption(const QString &caption);

// The new start of an appointment moved to newDate: newDate itself when both it and the old
// start have a time of day, otherwise newDate's day at the old start's clock time (a whole-day
// start stays at midnight, a day picked in the calendar keeps the clock time).
Date ganttMovedStart(Date newDate, Date oldStart);

// Where a bar from von to bis in row `row` lands when it is dropped on the moment target, as
// SelectedDateMove would move it: nothing when target is 0 (left of the time area, the drop
// does nothing) or the moved bar lies outside the shown days.
BarRect ganttLandingRect(const GanttLayout &layout, Date von, Date bis, qint32 row,
                         qint32 firstRow, Date target);

// A press and a move further apart than this (both axes summed) start moving the selection.
constexpr qint32 kGanttMoveThreshold = 8;

// Days the range moves for Scroll(direction): 1 and -1 are single days, anything else one
// page of the shown days in its direction (0 for 0).
double ganttScrollShift(double direction, Date firstDay, Date lastDay);

// Whether a moment has a time of day other than 00:00, to the millisecond.
bool ganttHasTime(Date value);

} // namespace Dayplex

#endif

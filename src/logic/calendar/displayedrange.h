#ifndef DAYPLEX_DISPLAYEDRANGE_H
#define DAYPLEX_DISPLAYEDRANGE_H

#include <dayplex/dates.h>

#include <QtGlobal>

namespace Dayplex {

// The days a range request of the calendar shows.
struct DisplayedDays
{
    Date firstDay = 0;
    Date lastDay = 0;
    Date requestedLastDay = 0; // written back to the caller's last day
};

// The calendar's range rules: no last day keeps the current day count (or, by default, the
// layout's count), at most fourteen days, and the first day moved back to the align weekday
// when the requested day stays visible. A last day before the first counts as no last day.
// Invalid dates throw Dayplex::Error.
DisplayedDays calendarDisplayedDays(Date dayFirstDay, Date dayLastDay, bool blnDefault,
                                    bool alignOnWeekday, qint32 currentDayCount,
                                    double layoutDayCount, qint32 alignWeekday);

} // namespace Dayplex

#endif

#include "calendar/displayedrange.h"

#include "shared/toolbox.h"

#include <dayplex/error.h>

#include <cmath>

namespace Dayplex {

namespace {
constexpr int kMaxDays = 14;
}

DisplayedDays calendarDisplayedDays(Date dayFirstDay, Date dayLastDay, bool blnDefault,
                                    bool alignOnWeekday, qint32 currentDayCount,
                                    double layoutDayCount, qint32 alignWeekday)
{
    if (!isValidDate(dayFirstDay))
        throw Error(InvalidArgument, QStringLiteral("SetDisplayedRange: ungültiger erster Tag."));
    if (dayLastDay != 0 && !isValidDate(dayLastDay))
        throw Error(InvalidArgument, QStringLiteral("SetDisplayedRange: ungültiger letzter Tag."));

    const Date first = cToolbox::DateOnly(dayFirstDay);
    Date last = cToolbox::DateOnly(dayLastDay);
    // A last day before the first would leave no day columns; it is read as "no last day".
    if (last != 0 && last < first)
        last = 0;
    if (last == 0) {
        double days = 0;
        if (!blnDefault && currentDayCount > 0) {
            days = currentDayCount;
        } else {
            days = cToolbox::MinDouble(layoutDayCount, kMaxDays);
            days = std::isfinite(days) ? std::floor(days) : 1;
        }
        last = first + std::max(1.0, days) - 1;
    }
    if (last - first > kMaxDays - 1)
        last = first + kMaxDays - 1;
    // The range never runs past the last representable day.
    if (last >= kMaxDate)
        last = kMaxDate - 1;

    DisplayedDays result;
    result.firstDay = first;
    result.lastDay = last;
    result.requestedLastDay = last;

    if (alignOnWeekday && alignWeekday >= 1 && alignWeekday <= 7) {
        Date aligned = first;
        while (weekdayNumber(aligned) != alignWeekday)
            aligned -= 1;
        const Date alignedLast = last - first + aligned;
        // Only when the requested day stays visible.
        if (alignedLast >= first && aligned >= kMinDate) {
            result.firstDay = aligned;
            result.lastDay = alignedLast;
        }
    }
    return result;
}

} // namespace Dayplex

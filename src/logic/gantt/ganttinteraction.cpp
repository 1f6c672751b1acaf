#include "gantt/ganttinteraction.h"

#include "shared/rounding.h"
#include "shared/toolbox.h"
#include "shared/leadingnumber.h"

#include <algorithm>
#include <cmath>

namespace Dayplex {

qint32 ganttDaysFromCaption(const QString &caption)
{
    double n = leadingNumber(caption);
    if (caption.contains(QLatin1String("Woche")))
        n *= 7;
    if (caption.contains(QLatin1String("Jahr")))
        n *= 365;
    return roundedClamped(n, -1e9, 1e9);
}

BarRect ganttLandingRect(const GanttLayout &layout, Date von, Date bis, qint32 row,
                         qint32 firstRow, Date target)
{
    if (!(target > 0))
        return {};
    const Date start = ganttMovedStart(target, von);
    return ganttBarRect(layout, start, start + (bis - von), row, firstRow);
}

bool ganttHasTime(Date value)
{
    if (!std::isfinite(value))
        return false;
    return std::llround((value - std::floor(value)) * 86400000.0) % 86400000 != 0;
}

Date ganttMovedStart(Date newDate, Date oldStart)
{
    if (ganttHasTime(newDate) && ganttHasTime(oldStart))
        return cToolbox::NormalizeDate(newDate);
    return cToolbox::NormalizeDate(cToolbox::DateOnly(newDate) + cToolbox::TimeOnly(oldStart));
}

double ganttScrollShift(double direction, Date firstDay, Date lastDay)
{
    if (std::fabs(direction) == 1)
        return direction;
    const double sign = direction > 0 ? 1 : (direction < 0 ? -1 : 0);
    return (lastDay - firstDay + 1) * sign;
}

} // namespace Dayplex

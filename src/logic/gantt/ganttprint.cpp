#include "gantt/ganttprint.h"

#include "shared/germanformat.h"
#include "shared/uitext.h"

#include <algorithm>
#include <cmath>

namespace Dayplex {

namespace {

// A folded hour's share of a working hour's width, as on the screen.
constexpr double kBandShare = 1.0 / 8.0;

} // namespace

qint32 ganttDaysPerPage(qint32 days, qint32 timeWidth, Date workFrom, Date workTo,
                        qint32 hourWidth)
{
    if (days < 1)
        return 1;
    const bool folded = workFrom >= 0 && workTo <= 1 && workTo > workFrom;
    const double workHours = folded ? (workTo - workFrom) * 24 : 24;
    // A day's width in working hours.
    const double dayUnits = workHours + (24 - workHours) * kBandShare;
    const double fitting = double(timeWidth) / (dayUnits * std::max(hourWidth, 1));
    return std::clamp(qint32(std::floor(fitting)), 1, days);
}

qint32 ganttPageCount(qint32 days, qint32 perPage)
{
    perPage = std::max(perPage, 1);
    return std::max((std::max(days, 1) + perPage - 1) / perPage, 1);
}

QVector<qint32> ganttRowPages(const GanttLayout &layout, qint32 rowCount, qint32 bottom)
{
    QVector<qint32> firsts{1};
    const qint64 room = qint64(bottom) - layout.lngZeilenOben;
    qint64 used = 0;
    for (qint32 row = 1; row <= rowCount; ++row) {
        const qint64 height = layout.rowHeight(row);
        if (used > 0 && used + height > room) {
            firsts.append(row);
            used = 0;
        }
        used += height;
    }
    return firsts;
}

QString ganttPrintTitle()
{
    return uiText("Dayplex::ctlGantt", "Ressourcenansicht");
}

QString ganttPrintPeriod(Date firstDay, Date lastDay)
{
    const QString first = formatGermanDate(firstDay, QStringLiteral("Long Date"));
    if (std::floor(lastDay) <= std::floor(firstDay))
        return first;
    return first + QStringLiteral(" \u2013 ") + formatGermanDate(lastDay, QStringLiteral("Long Date"));
}

QString printStand(Date now)
{
    return uiText("Dayplex::ctlGantt", "Stand: %1 %2")
        .arg(formatGermanDate(now, QStringLiteral("Short Date")), germanShortTime(now));
}

QString printPageNumber(qint32 page, qint32 pages)
{
    return uiText("Dayplex::ctlGantt", "Seite %1 von %2").arg(page).arg(pages);
}

} // namespace Dayplex

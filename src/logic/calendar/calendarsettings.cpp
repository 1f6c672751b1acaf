#include "calendar/calendarsettings.h"

#include "shared/leadingnumber.h"
#include "shared/rasterminutes.h"
#include "shared/toolbox.h"

#include <dayplex/error.h>

#include <algorithm>
#include <cmath>

namespace Dayplex {

namespace {
constexpr Date kEndOfDay = 23.0 / 24.0 + 59 * kOneMinute; // 23:59
}

void applyCalendarLayout(const QString &layoutString, CalendarSettings &settings,
                         CalendarGrid &grid)
{
    cContainer &layout = settings.layout;
    layout.setContainerString(layoutString);
    const double minutes =
        usableRasterMinutes(leadingNumber(layout.textValue(QStringLiteral("strAufloesung"))));
    if (!CalendarGrid::dividesDay(minutes * kOneMinute))
        throw Error(InvalidArgument,
                    QStringLiteral("strAufloesung: %1 Minuten teilen den Tag nicht in gleich "
                                   "lange Zeilen; möglich sind Teiler von 1440 Minuten wie 5, 6, "
                                   "10, 15, 30 oder 60 Minuten.")
                        .arg(minutes));
    grid.setRaster(minutes * kOneMinute);
    const Date firstTime = layout.doubleValue(QStringLiteral("timeStartZeit"));
    requireValidDate(firstTime, "FirstTime");
    grid.firstTime = CalendarGrid::roundDown(cToolbox::TimeOnly(firstTime), grid.timeRaster);
    grid.endZeit = kEndOfDay;
    grid.minDateHeight = std::max(layout.longValue(QStringLiteral("lnghoeheterminzelle")), 1);
    grid.dayInfoHeight = std::max(layout.longValue(QStringLiteral("lnghoehetagestermin")), 1);
    settings.style = CalendarStyle::fromLayout(layout);
    ++settings.revision;
}

void applyCalendarOptions(const QString &optionsString, CalendarSettings &settings,
                          CalendarGrid &grid)
{
    settings.options.setContainerString(optionsString);
    settings.confirmChanges = settings.options.boolValue(QStringLiteral("blnConfirmchanges"));
    applyCalendarLayout(settings.options.textValue(QStringLiteral("strLayoutScreenCalendar")),
                        settings, grid);
}

} // namespace Dayplex

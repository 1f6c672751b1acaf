#ifndef DAYPLEX_CALENDARSETTINGS_H
#define DAYPLEX_CALENDARSETTINGS_H

#include "calendar/calendargrid.h"
#include "calendar/calendarstyle.h"
#include "shared/ccontainer.h"

namespace Dayplex {

// What the options string sets: the options and the layout in force, the colours and font
// read from the layout, and the change confirmation.
struct CalendarSettings
{
    cContainer options;
    cContainer layout;
    CalendarStyle style;
    bool confirmChanges = true;
    quint64 revision = 0; // grows with every layout applied, so that a view can tell
};

// Loads a layout string into the settings and takes raster, first time (rounded to the raster),
// end time 23:59, cell heights (at least 1) and style from it into the grid. A raster text
// without a usable number counts as 30 minutes. Throws Dayplex::Error for a raster that does
// not divide the day or a value that cannot be read; the caller works on copies and assigns
// them on success.
void applyCalendarLayout(const QString &layoutString, CalendarSettings &settings,
                         CalendarGrid &grid);

// The settings and grid an options string gives, merged into the options in force, with the
// screen layout applied; throws like applyCalendarLayout, or when the text is no options string.
void applyCalendarOptions(const QString &optionsString, CalendarSettings &settings,
                          CalendarGrid &grid);

} // namespace Dayplex

#endif

#ifndef DAYPLEX_GANTTSETTINGS_H
#define DAYPLEX_GANTTSETTINGS_H

#include "gantt/ganttstyle.h"
#include "shared/ccontainer.h"

#include <dayplex/dates.h>

namespace Dayplex {

// Everything the options of the Gantt view decide: the options in force, the layout container
// read from one of their layout strings, the style read from that, and the daily window the
// free-slot search starts with (Monday's working hours). A new value is computed whole and
// taken only when every part could be read.
struct GanttSettings
{
    cContainer options;
    cContainer layout;
    GanttStyle style;
    Date windowFrom = 0;
    Date windowTo = 0;
    // The working hours of the week as times of day, from the earliest start to the latest end
    // of the weekdays that have any; equal when none has (the modern look folds the rest).
    Date workFrom = 0;
    Date workTo = 0;

    // These settings with an options string merged in and the screen layout read. A string or
    // value that cannot be read throws Dayplex::Error.
    GanttSettings withOptions(const QString &optionsString) const;
    // These settings with the layout string of the option `key` merged into the layout.
    GanttSettings withLayout(const QString &key) const;
};

} // namespace Dayplex

#endif

#ifndef DAYPLEX_GANTTSTYLE_H
#define DAYPLEX_GANTTSTYLE_H

#include "shared/appointmentstyle.h"

namespace Dayplex {

// The Gantt view's layout values: those both views share, and the row height options.
struct GanttStyle : AppointmentStyle
{
    bool blnOptimiertezeilenhoehe = false;
    qint32 lngHoeheTerminzelle = 1; // minimum row height in text lines

    // Throws Dayplex::Error when a value cannot be read as its kind.
    static GanttStyle fromLayout(const cContainer &layout);
};

} // namespace Dayplex

#endif

#include "gantt/ganttstyle.h"

#include "shared/ccontainer.h"

namespace Dayplex {

GanttStyle GanttStyle::fromLayout(const cContainer &layout)
{
    GanttStyle style;
    style.readFrom(layout);
    style.blnOptimiertezeilenhoehe = layout.boolValue(QStringLiteral("blnOptimiertezeilenhoehe"));
    // More lines than any screen holds would only push the rows out of every surface.
    style.lngHoeheTerminzelle = qBound(1, layout.longValue(QStringLiteral("lnghoeheterminzelle")), 1000);
    return style;
}

} // namespace Dayplex

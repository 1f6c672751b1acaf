#include "gantt/ganttstyle.h"

#include "shared/ccontainer.h"
#include "shared/fontstring.h"

namespace Dayplex {

GanttStyle GanttStyle::fromLayout(const cContainer &layout)
{
    const auto colour = [&layout](const char *key) {
        return layout.longValue(QLatin1String(key));
    };
    GanttStyle style;
    style.rgbBackUeberschrift = colour("rgbBackUeberschrift");
    style.rgbFontUeberschrift = colour("rgbFontUeberschrift");
    style.rgbBackMarkiert = colour("rgbBackMarkiert");
    style.rgbFontMarkiert = colour("rgbFontMarkiert");
    style.rgbBackFeiertag = colour("rgbBackFeiertag");
    style.rgbFontFeiertag = colour("rgbFontFeiertag");
    style.rgbBackTermine = colour("rgbBackTermine");
    style.rgbFontTermine = colour("rgbFontTermine");
    style.rgbBackTagestermine = colour("rgbBackTagestermine");
    style.rgbFontTagestermine = colour("rgbFontTagestermine");
    style.rgbZeitbalken = colour("rgbZeitbalken");
    style.blnIndividuelleTerminfarben = layout.boolValue(QStringLiteral("blnIndividuelleTerminfarben"));
    style.blnErledigteDurchstreichen = layout.boolValue(QStringLiteral("blnErledigteDurchstreichen"));
    style.blnOptimiertezeilenhoehe = layout.boolValue(QStringLiteral("blnOptimiertezeilenhoehe"));
    // More lines than any screen holds would only push the rows out of every surface.
    style.lngHoeheTerminzelle = qBound(1, layout.longValue(QStringLiteral("lnghoeheterminzelle")), 1000);
    style.font = fontFromString(layout.textValue(QStringLiteral("strFont")));
    return style;
}

} // namespace Dayplex

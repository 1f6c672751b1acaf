#include "calendar/calendarstyle.h"

#include "shared/ccontainer.h"
#include "shared/fontstring.h"

namespace Dayplex {

CalendarStyle CalendarStyle::fromLayout(const cContainer &layout)
{
    const auto colour = [&layout](const char *key) {
        return layout.longValue(QLatin1String(key));
    };
    CalendarStyle style;
    style.rgbBackUeberschrift = colour("rgbBackUeberschrift");
    style.rgbFontUeberschrift = colour("rgbFontUeberschrift");
    style.rgbBackMarkiert = colour("rgbBackMarkiert");
    style.rgbFontMarkiert = colour("rgbFontMarkiert");
    style.rgbBackFeiertag = colour("rgbBackFeiertag");
    style.rgbFontFeiertag = colour("rgbFontFeiertag");
    style.rgbBackTagestermine = colour("rgbBackTagestermine");
    style.rgbFontTagestermine = colour("rgbFontTagestermine");
    style.rgbBackTermine = colour("rgbBackTermine");
    style.rgbFontTermine = colour("rgbFontTermine");
    style.rgbZeitbalken = colour("rgbZeitbalken");
    style.rgbBackKopfzeilen = colour("rgbBackKopfzeilen");
    style.rgbFontKopfzeilen = colour("rgbFontKopfzeilen");
    style.rgbBackMonatsuebersichtkopf = colour("rgbBackMonatsuebersichtkopf");
    style.rgbFontMonatsuebersichtkopf = colour("rgbFontMonatsuebersichtkopf");
    style.blnIndividuelleTerminfarben = layout.boolValue(QStringLiteral("blnIndividuelleTerminfarben"));
    style.blnErledigteDurchstreichen = layout.boolValue(QStringLiteral("blnErledigteDurchstreichen"));
    style.font = fontFromString(layout.textValue(QStringLiteral("strFont")));
    return style;
}

} // namespace Dayplex

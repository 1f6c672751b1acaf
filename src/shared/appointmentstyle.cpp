#include "shared/appointmentstyle.h"

#include "shared/ccontainer.h"
#include "shared/fontstring.h"

namespace Dayplex {

void AppointmentStyle::readFrom(const cContainer &layout)
{
    const auto colour = [&layout](const char *key) {
        return layout.longValue(QLatin1String(key));
    };
    rgbBackUeberschrift = colour("rgbBackUeberschrift");
    rgbFontUeberschrift = colour("rgbFontUeberschrift");
    rgbBackMarkiert = colour("rgbBackMarkiert");
    rgbFontMarkiert = colour("rgbFontMarkiert");
    rgbBackFeiertag = colour("rgbBackFeiertag");
    rgbFontFeiertag = colour("rgbFontFeiertag");
    rgbBackTagestermine = colour("rgbBackTagestermine");
    rgbFontTagestermine = colour("rgbFontTagestermine");
    rgbBackTermine = colour("rgbBackTermine");
    rgbFontTermine = colour("rgbFontTermine");
    rgbZeitbalken = colour("rgbZeitbalken");
    blnIndividuelleTerminfarben = layout.boolValue(QStringLiteral("blnIndividuelleTerminfarben"));
    blnErledigteDurchstreichen = layout.boolValue(QStringLiteral("blnErledigteDurchstreichen"));
    font = fontFromString(layout.textValue(QStringLiteral("strFont")));
}

ColourPair AppointmentStyle::appointmentColours(bool selected, bool holiday, bool allDay,
                                                qint32 ownBack, qint32 ownText) const
{
    if (selected)
        return {rgbBackMarkiert, rgbFontMarkiert};
    if (holiday)
        return {rgbBackFeiertag, rgbFontFeiertag};
    if (blnIndividuelleTerminfarben)
        return {ownBack, ownText};
    if (allDay)
        return {rgbBackTagestermine, rgbFontTagestermine};
    return {rgbBackTermine, rgbFontTermine};
}

} // namespace Dayplex

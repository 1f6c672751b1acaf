#include "shared/appointmentstyle.h"

#include "shared/ccontainer.h"
#include "shared/fontstring.h"
#include "shared/readablecolours.h"

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

qint32 AppointmentStyle::modernSelectionColour(const QVector<qint32> &ownColours) const
{
    QVector<qint32> fills{rgbBackTermine, rgbBackTagestermine, rgbBackFeiertag};
    if (blnIndividuelleTerminfarben)
        fills += ownColours;
    return distinctColour(rgbBackMarkiert, fills);
}

ColourPair AppointmentStyle::modernColours(ColourPair classic, bool selected, qint32 selectionFill)
{
    ColourPair colours = classic;
    if (selected)
        colours.back = selectionFill;
    colours.text = readableTextColour(colours.text, colours.back);
    return colours;
}

} // namespace Dayplex

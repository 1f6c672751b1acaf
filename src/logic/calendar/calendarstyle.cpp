#include "calendar/calendarstyle.h"

#include "shared/ccontainer.h"

namespace Dayplex {

CalendarStyle CalendarStyle::fromLayout(const cContainer &layout)
{
    CalendarStyle style;
    style.readFrom(layout);
    style.rgbBackKopfzeilen = layout.longValue(QStringLiteral("rgbBackKopfzeilen"));
    style.rgbFontKopfzeilen = layout.longValue(QStringLiteral("rgbFontKopfzeilen"));
    style.rgbBackMonatsuebersichtkopf = layout.longValue(QStringLiteral("rgbBackMonatsuebersichtkopf"));
    style.rgbFontMonatsuebersichtkopf = layout.longValue(QStringLiteral("rgbFontMonatsuebersichtkopf"));
    return style;
}

} // namespace Dayplex

#ifndef DAYPLEX_CALENDARSTYLE_H
#define DAYPLEX_CALENDARSTYLE_H

#include "shared/appointmentstyle.h"

namespace Dayplex {

// The calendar's layout values: those both views share, and the page header colours of its
// print sheets.
struct CalendarStyle : AppointmentStyle
{
    qint32 rgbBackKopfzeilen = 0;
    qint32 rgbFontKopfzeilen = 0;
    qint32 rgbBackMonatsuebersichtkopf = 0;
    qint32 rgbFontMonatsuebersichtkopf = 0;

    // Throws Dayplex::Error when a value cannot be read as its kind.
    static CalendarStyle fromLayout(const cContainer &layout);
};

} // namespace Dayplex

#endif

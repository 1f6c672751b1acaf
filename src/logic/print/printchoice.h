#ifndef DAYPLEX_PRINTCHOICE_H
#define DAYPLEX_PRINTCHOICE_H

#include <dayplex/dates.h>

#include <QString>

namespace Dayplex {

// What the print dialog's "Kalender" tab lets the user print, when the host offers the choice.
enum class PrintSheet {
    Day,      // a "Tagesplan" for every day of the period
    Week,     // a "Wochenplan" for every week the period touches
    Resource, // the resource view of the period
};

// A sheet and the days it covers, first and last day included.
struct PrintChoice
{
    PrintSheet sheet = PrintSheet::Week;
    Date firstDay = 0;
    Date lastDay = 0;
};

// The longest period each sheet prints, in days: a month of day sheets, a year of week sheets
// or of the resource view (a page of a day at the least).
qint32 longestPrintPeriod(PrintSheet sheet);

// Why the period cannot be printed, in German, or "" when it can: a missing day, an end
// before the start, a period longer than the sheet prints.
QString printPeriodError(const PrintChoice &choice);
// The same, and for the resource view's sheet that there is none when the host gave none.
QString printChoiceError(const PrintChoice &choice, bool resourceViewGiven);

// How many sheets of the view's own period the choice takes: days for day sheets, weeks from
// the week's first day weekStart (the day the view aligns the period to) for week sheets, one
// period for the resource view, whose pages follow from its days.
qint32 printPeriods(const PrintChoice &choice, Date weekStart);

} // namespace Dayplex

#endif

#ifndef DAYPLEX_CALENDARPRINTVIEW_H
#define DAYPLEX_CALENDARPRINTVIEW_H

#include "calendar/calendarstyle.h"

#include <dayplex/dates.h>

#include <QString>
#include <QVector>

namespace Dayplex {

class cDC;

// One centred line of the title block of a printed sheet.
struct TitleLine
{
    QString text;
    bool doubleSize = false;
};

// The title block: weekday, date and week in double size and "Tagesplan" for one day; both
// dates in double size (and for a week from Monday the week and "Wochenplan") for longer views;
// always "Stand: " and the time of printing last.
QVector<TitleLine> titleLines(Date firstDay, Date lastDay, Date now);

// The texts of a month overview grid below its title: a heading row ("Wo", "Mo" ... "So"),
// then one row per week with the week number and the days ("01" ... "31") in the columns of
// their weekdays, empty texts before the first day and after the last.
QVector<QStringList> monthOverviewRows(Date monthDate);

// Draws the header band of a printed view: the month overview of the first day's month at the
// left, of the following month at the right, and the title block between them; the days from
// markFrom to markTo are marked in the overviews.
void paintPrintHeader(cDC &dc, const CalendarStyle &style, qint32 x, qint32 y, qint32 width,
                      qint32 bandHeight, qint32 overviewWidth, Date firstDay, Date lastDay,
                      Date now);

} // namespace Dayplex

#endif

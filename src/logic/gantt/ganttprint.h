#ifndef DAYPLEX_GANTTPRINT_H
#define DAYPLEX_GANTTPRINT_H

#include "gantt/ganttlayout.h"

#include <dayplex/dates.h>

#include <QString>
#include <QVector>

namespace Dayplex {

// The modern print of the resource view: the period over as many pages as it needs, each
// page as many whole days as leave a working hour at least hourWidth pixels wide in
// timeWidth pixels (the page's width right of the names), and at least one day. The hours
// around the working hours workFrom to workTo (times of day) are folded as on the screen;
// without working hours every hour counts alike.
qint32 ganttDaysPerPage(qint32 days, qint32 timeWidth, Date workFrom, Date workTo,
                        qint32 hourWidth);
// Pages for `days` days at perPage days a page.
qint32 ganttPageCount(qint32 days, qint32 perPage);
// The rows of a chart whose rows do not all fit one page: the first row of each page, the
// page holding the rows from it that end above `bottom` in `layout` (laid out from row 1),
// at least one, so that a row higher than the page is cut at its foot.
QVector<qint32> ganttRowPages(const GanttLayout &layout, qint32 rowCount, qint32 bottom);

// The lines above and below every printed page: "Ressourcenansicht"; "Montag, 4. März 2024 –
// Sonntag, 17. März 2024" (one day: the day alone); "Stand: 04.03.2024 10:05"; "Seite 2 von 5".
QString ganttPrintTitle();
QString ganttPrintPeriod(Date firstDay, Date lastDay);
QString printStand(Date now);
QString printPageNumber(qint32 page, qint32 pages);

} // namespace Dayplex

#endif

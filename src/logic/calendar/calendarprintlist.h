#ifndef DAYPLEX_CALENDARPRINTLIST_H
#define DAYPLEX_CALENDARPRINTLIST_H

#include "calendar/appointmentstore.h"
#include "calendar/calendarscene.h"

#include <QString>
#include <QVector>

#include <functional>

class QFont;
class QPaintDevice;

namespace Dayplex {

class cDC;

// One appointment of the list at the foot of a printed sheet: when ("08:30–09:15",
// "ganztägig") and its text.
struct ListedAppointment
{
    QString when;
    QString text;
};

// A day of the sheet whose boxes do not show every appointment of it whole, with those
// appointments.
struct ListedDay
{
    Date day = 0;
    QVector<ListedAppointment> appointments;
};

// Whether a box of the scene shows its text whole in the font of the page: every word on its
// lines and every line inside the box.
bool showsWhole(const QFont &font, QPaintDevice *device, const SceneBox &box, qint32 line);

// The crowded days of a printed sheet, in day order: those with a box whose text is not whole
// (fits answers for a box) or an entry the band hides. Each lists those entries, the timed
// ones by start; an all-day entry is listed with the first crowded day it covers, before them.
QVector<ListedDay> crowdedDays(const CalendarScene &scene, const AppointmentStore &store,
                               const std::function<bool(const SceneBox &)> &fits);

// The list's block for a width in that many columns (1 to 4), the days flowing down the
// columns; its height in pixels (0 without days).
qint32 listBlockHeight(const cDC &dc, const QVector<ListedDay> &days, qint32 width,
                       qint32 columns);
// Draws the block into the rectangle, as listBlockHeight measured it: a line above it, then
// every day's name in bold with its appointments below, the times in a column of their own.
void paintListBlock(cDC &dc, const QRect &block, const QVector<ListedDay> &days,
                    qint32 columns);
// Whether every word of the list's texts fits its text column in that width and number of
// columns: more columns would cut a word.
bool wordsFit(const cDC &dc, const QVector<ListedDay> &days, qint32 width, qint32 columns);

// The list cut into blocks for a sheet and the sheets that continue it: the first block in
// firstHeight (possibly none of it), each further one in laterHeight, as listBlockHeight
// measures a block in that width and number of columns. No appointment is split; a day goes
// on in the next column without its name again and in the next block with it.
QVector<QVector<ListedDay>> listBlocks(const cDC &dc, const QVector<ListedDay> &days, qint32 width,
                                       qint32 columns, qint32 firstHeight, qint32 laterHeight);

} // namespace Dayplex

#endif

#ifndef DAYPLEX_UCAGENDA_P_H
#define DAYPLEX_UCAGENDA_P_H

#include "calendar/appointmentstore.h"
#include "calendar/calendargrid.h"
#include "calendar/calendarstyle.h"
#include "calendar/cellmatrix.h"
#include "calendar/hitregion.h"
#include "dialogs/ccommoncalendar.h"
#include "shared/ccontainer.h"
#include "shared/cholidays.h"
#include "shared/ctools.h"

#include <dayplex/ucagenda.h>

namespace Dayplex {

class ucAgendaPrivate
{
public:
    explicit ucAgendaPrivate(ucAgenda *q)
        : q(q)
    {
    }

    void applyLayout(const QString &layout);
    // Rebuilds the cell matrix for the displayed days and the raster in force.
    void rebuildMatrix();
    // Colours the cells by working time from the options and layout in force.
    void colourWorkingTimes();
    // The screen paint: the whole view into an offscreen surface, then onto the target.
    void paintView(QPainter *target, qint32 width, qint32 height);

    static ucAgendaPrivate *get(ucAgenda *agenda) { return agenda->d.get(); }

    ucAgenda *const q;

    cTools tools;
    cCommonCalendar common;
    cContainer options;
    cContainer layout;
    cHolidays holidays;

    AppointmentStore store;
    qint32 lngSelIdx = 0;
    Date selectionStart = 0;
    Date selectionEnd = 0; // start of the last selected slot
    Date filledStart = 0;
    Date filledEnd = 0;
    qint32 alignWeekday = 0;

    CalendarGrid grid;
    CellMatrix matrix;
    CalendarStyle style;
    HitRegionList hits;
    bool gridRunning = false; // while a paint draws the grid
    Date lastVisibleTime = 0; // time of the lowest time row of the last paint
    bool confirmChanges = true;

    // Guards the NeedDates handler: a range change from inside it asks the host no further.
    int needDatesDepth = 0;
};

} // namespace Dayplex

#endif

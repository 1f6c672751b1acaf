#ifndef DAYPLEX_CTLGANTT_P_H
#define DAYPLEX_CTLGANTT_P_H

#include "dialogs/ccommoncalendar.h"
#include "shared/ccontainer.h"
#include "shared/cholidays.h"
#include "shared/ctools.h"

#include <dayplex/ctlgantt.h>

namespace Dayplex {

class ctlGanttPrivate
{
public:
    cTools tools;
    cCommonCalendar common;
    cContainer options;
    cContainer layout;
    cHolidays holidays;

    QString selectedDate;
    qint32 alignWeekday = 0;
    bool optimaleZeilenhoehe = false;
    Date datMaus = 0;
};

} // namespace Dayplex

#endif

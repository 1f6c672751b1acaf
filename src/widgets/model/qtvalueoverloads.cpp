// The views' AddDate with QDateTime and QColor, beside the classic one with automation dates and
// Windows colour values.
#include "model/modelvalues.h"
#include "shared/toolbox.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/ucagenda.h>

namespace Dayplex {

namespace {

Date checkedDate(const QDateTime &moment, const char *argument)
{
    const Date value = moment.isValid() ? toDate(moment) : kMaxDate + 1;
    requireValidDate(value, "AddDate", argument);
    return value;
}

} // namespace

void ucAgenda::AddDate(const QString &dsn, const QString &memo, const QDateTime &start,
                       const QDateTime &end, bool allDay, const QColor &textColour, bool done,
                       const QColor &backgroundColour, bool readOnly)
{
    AddDate(dsn, memo, checkedDate(start, "dateStart"), checkedDate(end, "dateEnd"), allDay,
            appointmentColour(textColour, false, allDay), done,
            appointmentColour(backgroundColour, true, allDay), readOnly);
}

void ctlGantt::AddDate(const QString &dsn, const QString &notiz, const QDateTime &von,
                       const QDateTime &bis, bool allDay, const QColor &textColour, bool done,
                       const QColor &backgroundColour, bool readOnly, const QString &merkmaldsn,
                       bool blnhinweis)
{
    AddDate(dsn, notiz, checkedDate(von, "von"), checkedDate(bis, "bis"), allDay,
            appointmentColour(textColour, false, allDay), done,
            appointmentColour(backgroundColour, true, allDay), readOnly, merkmaldsn, blnhinweis);
}

} // namespace Dayplex

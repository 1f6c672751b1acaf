#include "shared/accessiblenames.h"

#include "shared/appointmentdetails.h"
#include "shared/germanformat.h"
#include "shared/uitext.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace Dayplex {

namespace {

// " bis " between the start and the end.
QString until()
{
    return QLatin1Char(' ') + uiText("Dayplex::Accessibility", "bis") + QLatin1Char(' ');
}

QString clock(Date moment)
{
    return formatGermanDate(moment, QStringLiteral("Short Time"));
}

// The day and time the appointment starts and ends, or its days for an all-day entry.
QString when(const AppointmentFacts &facts)
{
    const Date start = facts.start;
    const Date end = std::max(facts.end, facts.start);
    const Date firstDay = std::floor(start);
    const QString from = accessibleDayName(firstDay);
    if (facts.allDay) {
        return accessibleDaysName(firstDay, end) + QStringLiteral(", ") + accessibleAllDay();
    }
    if (end == start)
        return from + QStringLiteral(", ") + clock(start);
    // Texts show whole seconds; a few milliseconds before midnight are midnight as well.
    const double seconds = std::nearbyint((end - std::floor(end)) * 86400.0);
    Date lastDay = std::floor(end);
    QString endClock = clock(end);
    if (seconds == 0 || seconds == 86400.0) {
        // Midnight closes the day before it: 22:00 bis 24:00.
        lastDay = seconds == 0 ? lastDay - 1 : lastDay;
        endClock = QStringLiteral("24:00");
    }
    const QString range = from + QStringLiteral(", ") + clock(start) + until();
    if (lastDay <= firstDay)
        return range + endClock;
    return range + accessibleDayName(lastDay) + QStringLiteral(", ") + endClock;
}

} // namespace

QString accessibleAllDay()
{
    return uiText("Dayplex::Accessibility", "ganztägig");
}

QString accessibleDayName(Date day)
{
    return formatGermanDate(std::floor(day), QStringLiteral("Long Date"));
}

QString accessibleDaysName(Date firstDay, Date lastDay)
{
    const QString first = accessibleDayName(firstDay);
    return std::floor(lastDay) > std::floor(firstDay) ? first + until() + accessibleDayName(lastDay)
                                                      : first;
}

QString accessibleAppointmentName(const AppointmentFacts &facts)
{
    QStringList parts{when(facts)};
    const QString text = facts.text.simplified();
    const QString participant = facts.participant.simplified();
    if (!participant.isEmpty())
        parts.append(text.isEmpty() ? participant : participant + QStringLiteral(": ") + text);
    else if (!text.isEmpty())
        parts.append(text);
    parts.append(detailLines(facts.details));
    if (facts.done)
        parts.append(uiText("Dayplex::Accessibility", "erledigt"));
    if (facts.note)
        parts.append(uiText("Dayplex::Accessibility", "Hinweis"));
    // A holiday is read-only by nature; saying so again tells nothing.
    if (facts.holiday)
        parts.append(uiText("Dayplex::Accessibility", "Feiertag"));
    else if (facts.readOnly)
        parts.append(uiText("Dayplex::Accessibility", "schreibgeschützt"));
    return parts.join(QStringLiteral(", "));
}

} // namespace Dayplex

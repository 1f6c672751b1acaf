#include "icalendar_p.h"

#include "icalendar.h"

#include <QDate>
#include <QTime>

namespace Terminplaner::ICal {

const char kParticipantUri[] = "urn:x-terminplaner:teilnehmer:";
const char kBackColor[] = "X-TERMINPLANER-BACKCOLOR";
const char kFontColor[] = "X-TERMINPLANER-FONTCOLOR";
const char kDone[] = "X-TERMINPLANER-DONE";
const char kReadOnly[] = "X-TERMINPLANER-READONLY";
const char kSource[] = "X-TERMINPLANER-SOURCE";

namespace {

// The rules in force since 1996, as Thunderbird writes them; older rules do not matter for
// a planner's appointments.
const char kBerlinTimezone[] =
    "BEGIN:VTIMEZONE\r\n"
    "TZID:Europe/Berlin\r\n"
    "X-LIC-LOCATION:Europe/Berlin\r\n"
    "BEGIN:DAYLIGHT\r\n"
    "TZNAME:CEST\r\n"
    "TZOFFSETFROM:+0100\r\n"
    "TZOFFSETTO:+0200\r\n"
    "DTSTART:19700329T020000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\n"
    "END:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\n"
    "TZNAME:CET\r\n"
    "TZOFFSETFROM:+0200\r\n"
    "TZOFFSETTO:+0100\r\n"
    "DTSTART:19701025T030000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\n"
    "END:STANDARD\r\n"
    "END:VTIMEZONE\r\n";

struct ZoneDeleter
{
    void operator()(icaltimezone *zone) const { icaltimezone_free(zone, 1); }
};

} // namespace

ComponentPtr berlinTimezoneComponent()
{
    return ComponentPtr(icalparser_parse_string(kBerlinTimezone));
}

icaltimezone *berlinZone()
{
    static const std::unique_ptr<icaltimezone, ZoneDeleter> zone = [] {
        std::unique_ptr<icaltimezone, ZoneDeleter> z(icaltimezone_new());
        icaltimezone_set_component(z.get(), berlinTimezoneComponent().release());
        return z;
    }();
    return zone.get();
}

void refuse(const QString &reason)
{
    throw ICalendarError(QStringLiteral("Die Datei ist keine gültige iCalendar-Datei: %1 "
                                        "Es wurde nichts importiert.")
                             .arg(reason));
}

QString text(const char *value)
{
    return value ? QString::fromUtf8(value) : QString();
}

QList<int> everyone(const Appointment &a)
{
    return a.participantIds.isEmpty() ? QList<int>{a.participantId} : a.participantIds;
}

icaltimetype dateValue(Dayplex::Date value)
{
    const QDate day = Dayplex::toQDate(value);
    icaltimetype t = icaltime_null_date();
    t.year = day.year();
    t.month = day.month();
    t.day = day.day();
    return t;
}

icaltimetype dateTimeValue(Dayplex::Date value)
{
    const QDate day = Dayplex::toQDate(value);
    const QTime time = Dayplex::toQTime(value);
    icaltimetype t = icaltime_null_time();
    t.year = day.year();
    t.month = day.month();
    t.day = day.day();
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = time.second();
    return t;
}

Dayplex::Date wallClock(const icaltimetype &t)
{
    return Dayplex::toDate(QDate(t.year, t.month, t.day))
           + (t.is_date ? 0.0 : (t.hour * 3600 + t.minute * 60 + t.second) / 86400.0);
}

QString untilText(const icaltimetype &t)
{
    const QString day = QStringLiteral("%1%2%3")
                            .arg(t.year, 4, 10, QLatin1Char('0'))
                            .arg(t.month, 2, 10, QLatin1Char('0'))
                            .arg(t.day, 2, 10, QLatin1Char('0'));
    if (t.is_date)
        return day;
    return day + QStringLiteral("T%1%2%3")
                     .arg(t.hour, 2, 10, QLatin1Char('0'))
                     .arg(t.minute, 2, 10, QLatin1Char('0'))
                     .arg(t.second, 2, 10, QLatin1Char('0'));
}

} // namespace Terminplaner::ICal

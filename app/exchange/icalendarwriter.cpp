// Writing a VCALENDAR: single appointments, series with their changed occurrences, meetings.
#include "icalendar.h"
#include "icalendar_p.h"

#include <QLoggingCategory>
#include <QSet>

Q_DECLARE_LOGGING_CATEGORY(lcICalendar)

namespace Terminplaner {

using namespace ICal;

namespace {

QByteArray utf8(const QString &value)
{
    return value.toUtf8();
}

QString colorText(qint32 windowsColor)
{
    const int r = windowsColor & 0xFF, g = (windowsColor >> 8) & 0xFF, b = (windowsColor >> 16) & 0xFF;
    return QStringLiteral("#%1%2%3")
        .arg(r, 2, 16, QLatin1Char('0'))
        .arg(g, 2, 16, QLatin1Char('0'))
        .arg(b, 2, 16, QLatin1Char('0'))
        .toUpper();
}

void addX(icalcomponent *event, const char *name, const QString &value)
{
    icalproperty *p = icalproperty_new_x(utf8(value).constData());
    icalproperty_set_x_name(p, name);
    icalcomponent_add_property(event, p);
}

// A local time as the standard wants it beside DTSTART: a DATE for an all-day appointment,
// else a date-time in German time.
void addTime(icalcomponent *event, icalproperty *property)
{
    const icalvalue *value = icalproperty_get_value(property);
    const bool isDate = icalproperty_isa(property) == ICAL_RDATE_PROPERTY
                            ? icalproperty_get_rdate(property).time.is_date
                            : icalvalue_get_datetime(value).is_date;
    if (!isDate)
        icalproperty_add_parameter(property, icalparameter_new_tzid(kBerlinZone));
    icalcomponent_add_property(event, property);
}

icaltimetype localValue(Dayplex::Date value, bool allDay)
{
    return allDay ? dateValue(value) : dateTimeValue(value);
}

// The stored rule with its local UNTIL as the standard demands it beside a TZID: in UTC, and
// a DATE for an all-day series.
QString ruleForFile(const QString &rrule, bool allDay)
{
    QStringList parts = rrule.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString &part : parts) {
        if (!part.startsWith(QLatin1String("UNTIL="), Qt::CaseInsensitive))
            continue;
        icaltimetype until = icaltime_from_string(part.mid(6).toLatin1().constData());
        if (icaltime_is_null_time(until))
            continue;
        if (allDay) {
            until.is_date = 1;
        } else {
            if (until.is_date) {
                // A date ends with its last second in German time.
                until.is_date = 0;
                until.hour = 23;
                until.minute = until.second = 59;
            }
            icaltimezone_convert_time(&until, berlinZone(), icaltimezone_get_utc_timezone());
        }
        part = QStringLiteral("UNTIL=") + untilText(until) + (until.is_date ? QString() : QStringLiteral("Z"));
    }
    return parts.join(QLatin1Char(';'));
}

void addParticipants(icalcomponent *event, const Appointment &a, const QHash<int, QString> &names)
{
    const auto property = [&](icalproperty *(*make)(const char *), int id) {
        icalproperty *p = make((QByteArray(kParticipantUri) + QByteArray::number(id)).constData());
        icalproperty_add_parameter(p, icalparameter_new_cn(utf8(names.value(id)).constData()));
        icalcomponent_add_property(event, p);
    };
    const QList<int> ids = everyone(a);
    if (ids.size() > 1 && names.contains(ids.first()))
        property(icalproperty_new_organizer, ids.first());
    for (int id : ids)
        if (!names.value(id).isEmpty())
            property(icalproperty_new_attendee, id);
}

void addRecurrence(icalcomponent *event, const Appointment &a)
{
    if (!a.rrule.isEmpty()) {
        const QString rule = ruleForFile(a.rrule, a.allDay);
        const icalrecurrencetype recurrence = icalrecurrencetype_from_string(rule.toLatin1().constData());
        if (recurrence.freq == ICAL_NO_RECURRENCE)
            qCWarning(lcICalendar) << "rule" << a.rrule << "of" << a.uid << "cannot be written";
        else
            icalcomponent_add_property(event, icalproperty_new_rrule(recurrence));
    }
    for (Dayplex::Date start : a.rdates) {
        icaldatetimeperiodtype rdate;
        rdate.time = localValue(start, a.allDay);
        rdate.period = icalperiodtype_null_period();
        addTime(event, icalproperty_new_rdate(rdate));
    }
    for (Dayplex::Date start : a.exdates)
        addTime(event, icalproperty_new_exdate(localValue(start, a.allDay)));
}

icalcomponent *eventOf(const Appointment &a, const QHash<int, QString> &names, icaltimetype stamp)
{
    icalcomponent *event = icalcomponent_new_vevent();
    icalcomponent_add_property(event, icalproperty_new_uid(utf8(a.uid).constData()));
    icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(event, icalproperty_new_summary(utf8(a.text).constData()));
    if (a.allDay) {
        // The host's all-day end is the midnight of the last day; the standard's is exclusive.
        icalcomponent_add_property(event, icalproperty_new_dtstart(dateValue(a.start)));
        icalcomponent_add_property(event, icalproperty_new_dtend(dateValue(std::max(a.end, a.start) + 1.0)));
    } else {
        addTime(event, icalproperty_new_dtstart(dateTimeValue(a.start)));
        addTime(event, icalproperty_new_dtend(dateTimeValue(a.end)));
    }
    if (a.isSeries())
        addRecurrence(event, a);
    else if (a.recurrenceStart != 0)
        addTime(event, icalproperty_new_recurrenceid(localValue(a.recurrenceStart, a.allDay)));
    icalcomponent_add_property(event, icalproperty_new_transp(a.note ? ICAL_TRANSP_TRANSPARENT
                                                                     : ICAL_TRANSP_OPAQUE));
    addParticipants(event, a, names);
    addX(event, kBackColor, colorText(a.backColor));
    addX(event, kFontColor, colorText(a.fontColor));
    if (a.done)
        addX(event, kDone, QStringLiteral("TRUE"));
    if (a.readOnly)
        addX(event, kReadOnly, QStringLiteral("TRUE"));
    // Percent-encoded: a calendar's identity spans lines.
    if (!a.source.isEmpty())
        addX(event, kSource, QString::fromLatin1(a.source.toUtf8().toPercentEncoding(" ")));
    return event;
}

} // namespace

QByteArray writeICalendar(const QVector<Appointment> &appointments,
                          const QHash<int, QString> &participantNames, const QDateTime &stamp)
{
    ComponentPtr calendar(icalcomponent_new_vcalendar());
    icalcomponent *cal = calendar.get();
    icalcomponent_add_property(cal, icalproperty_new_prodid(kOwnProductId));
    icalcomponent_add_property(cal, icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal, icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_property(cal, icalproperty_new_method(ICAL_METHOD_PUBLISH));
    icalcomponent_add_component(cal, berlinTimezoneComponent().release());

    const QDateTime utc = stamp.toUTC();
    icaltimetype dtstamp = icaltime_null_time();
    dtstamp.year = utc.date().year();
    dtstamp.month = utc.date().month();
    dtstamp.day = utc.date().day();
    dtstamp.hour = utc.time().hour();
    dtstamp.minute = utc.time().minute();
    dtstamp.second = utc.time().second();
    dtstamp.zone = icaltimezone_get_utc_timezone();
    for (const Appointment &a : appointments)
        icalcomponent_add_component(cal, eventOf(a, participantNames, dtstamp));

    char *ics = icalcomponent_as_ical_string_r(cal);
    const QByteArray result(ics);
    icalmemory_free_buffer(ics);
    return result;
}

QVector<Appointment> appointmentsForExport(
    const QVector<Appointment> &handedOut,
    const std::function<std::optional<Appointment>(qint64 id)> &seriesOf)
{
    QVector<Appointment> result;
    QSet<qint64> written;
    QHash<qint64, QString> seriesUids;
    for (const Appointment &a : handedOut) {
        if (!a.isOccurrence()) {
            if (a.id == 0 || !written.contains(a.id)) {
                written.insert(a.id);
                result.append(a);
            }
            continue;
        }
        if (!seriesUids.contains(a.seriesId)) {
            const std::optional<Appointment> series = seriesOf(a.seriesId);
            if (!series) {
                qCWarning(lcICalendar) << "series" << a.seriesId << "of" << a.uid << "is gone; not exported";
                continue;
            }
            seriesUids.insert(a.seriesId, series->uid);
            written.insert(a.seriesId);
            result.append(*series);
        }
        // A changed occurrence has a row of its own, which goes under its series' UID.
        if (a.id != a.seriesId && !written.contains(a.id)) {
            written.insert(a.id);
            Appointment changed = a;
            changed.uid = seriesUids.value(a.seriesId);
            changed.seriesId = 0;
            changed.rrule.clear();
            changed.rdates.clear();
            changed.exdates.clear();
            result.append(changed);
        }
    }
    return result;
}

} // namespace Terminplaner

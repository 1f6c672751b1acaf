#include "icalendar.h"

#include <libical/ical.h>

#include <QLoggingCategory>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <cmath>
#include <memory>

Q_LOGGING_CATEGORY(lcICalendar, "terminplaner.icalendar")

namespace Terminplaner {

const char kBerlinZone[] = "Europe/Berlin";

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

const char kProductId[] = "-//Dayplex//Terminplaner//DE";
const char kParticipantUri[] = "urn:x-terminplaner:teilnehmer:";
const char kBackColor[] = "X-TERMINPLANER-BACKCOLOR";
const char kFontColor[] = "X-TERMINPLANER-FONTCOLOR";
const char kDone[] = "X-TERMINPLANER-DONE";
const char kReadOnly[] = "X-TERMINPLANER-READONLY";
// The form's colour for a new appointment, for events that bring none.
constexpr qint32 kImportedBackColor = 198 | (224 << 8) | (255 << 16);

struct ComponentDeleter
{
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentDeleter>;

struct ZoneDeleter
{
    void operator()(icaltimezone *zone) const { icaltimezone_free(zone, 1); }
};

ComponentPtr berlinTimezoneComponent()
{
    return ComponentPtr(icalparser_parse_string(kBerlinTimezone));
}

// The conversion target of every imported time, built from the definition above rather than
// from the system's zone files, which a minimal machine may lack.
icaltimezone *berlinZone()
{
    static const std::unique_ptr<icaltimezone, ZoneDeleter> zone = [] {
        std::unique_ptr<icaltimezone, ZoneDeleter> z(icaltimezone_new());
        icaltimezone_set_component(z.get(), berlinTimezoneComponent().release());
        return z;
    }();
    return zone.get();
}

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

QString text(const char *value)
{
    return value ? QString::fromUtf8(value) : QString();
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

bool parseColor(const QString &value, qint32 *windowsColor)
{
    if (value.size() != 7 || !value.startsWith(QLatin1Char('#')))
        return false;
    bool ok = false;
    const uint rgb = QStringView(value).mid(1).toUInt(&ok, 16);
    if (!ok)
        return false;
    *windowsColor = qint32(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    return true;
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

void addX(icalcomponent *event, const char *name, const QString &value)
{
    icalproperty *p = icalproperty_new_x(utf8(value).constData());
    icalproperty_set_x_name(p, name);
    icalcomponent_add_property(event, p);
}

void addBerlinTime(icalcomponent *event, icalproperty *property)
{
    icalproperty_add_parameter(property, icalparameter_new_tzid(kBerlinZone));
    icalcomponent_add_property(event, property);
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
        addBerlinTime(event, icalproperty_new_dtstart(dateTimeValue(a.start)));
        addBerlinTime(event, icalproperty_new_dtend(dateTimeValue(a.end)));
    }
    icalcomponent_add_property(event, icalproperty_new_transp(a.note ? ICAL_TRANSP_TRANSPARENT
                                                                     : ICAL_TRANSP_OPAQUE));
    const QString name = names.value(a.participantId);
    if (!name.isEmpty()) {
        icalproperty *attendee = icalproperty_new_attendee(
            (QByteArray(kParticipantUri) + QByteArray::number(a.participantId)).constData());
        icalproperty_add_parameter(attendee, icalparameter_new_cn(utf8(name).constData()));
        icalcomponent_add_property(event, attendee);
    }
    addX(event, kBackColor, colorText(a.backColor));
    addX(event, kFontColor, colorText(a.fontColor));
    if (a.done)
        addX(event, kDone, QStringLiteral("TRUE"));
    if (a.readOnly)
        addX(event, kReadOnly, QStringLiteral("TRUE"));
    return event;
}

// --- reading ---------------------------------------------------------------------------

QString eventName(icalcomponent *event)
{
    const QString summary = text(icalcomponent_get_summary(event)).simplified();
    if (!summary.isEmpty())
        return QStringLiteral("„%1“").arg(summary);
    const QString uid = text(icalcomponent_get_uid(event));
    return uid.isEmpty() ? QStringLiteral("ohne Betreff") : QStringLiteral("mit der UID „%1“").arg(uid);
}

// A component has one property cursor for all kinds: any lookup inside a loop over it would
// restart the loop, so the properties are collected first.
QVector<icalproperty *> properties(icalcomponent *component, icalproperty_kind kind)
{
    QVector<icalproperty *> result;
    for (icalproperty *p = icalcomponent_get_first_property(component, kind); p;
         p = icalcomponent_get_next_property(component, kind))
        result.append(p);
    return result;
}

[[noreturn]] void fail(const QString &reason)
{
    throw ICalendarError(QStringLiteral("Die Datei ist keine gültige iCalendar-Datei: %1 "
                                        "Es wurde nichts importiert.")
                             .arg(reason));
}

// libical accepts a file that simply stops; a calendar cut off in transfer must not count.
void checkFrame(const QByteArray &data)
{
    QList<QByteArray> lines = data.split('\n');
    auto firstNonEmpty = std::find_if(lines.cbegin(), lines.cend(),
                                      [](const QByteArray &l) { return !l.trimmed().isEmpty(); });
    auto lastNonEmpty = std::find_if(lines.crbegin(), lines.crend(),
                                     [](const QByteArray &l) { return !l.trimmed().isEmpty(); });
    if (firstNonEmpty == lines.cend())
        fail(QStringLiteral("Sie ist leer."));
    QByteArray first = firstNonEmpty->trimmed();
    if (first.startsWith("\xEF\xBB\xBF"))
        first = first.mid(3);
    if (first.toUpper() != "BEGIN:VCALENDAR")
        fail(QStringLiteral("Sie beginnt nicht mit „BEGIN:VCALENDAR“."));
    if (lastNonEmpty->trimmed().toUpper() != "END:VCALENDAR")
        fail(QStringLiteral("Sie endet nicht mit „END:VCALENDAR“; vermutlich ist sie unvollständig."));
}

void checkParseErrors(icalcomponent *component)
{
    for (icalproperty *p : properties(component, ICAL_XLICERROR_PROPERTY)) {
        const QString where = icalcomponent_isa(component) == ICAL_VEVENT_COMPONENT
                                  ? QStringLiteral("Im Termin %1: ").arg(eventName(component))
                                  : QString();
        fail(QStringLiteral("%1%2.").arg(where, text(icalproperty_get_xlicerror(p))));
    }
    for (icalcomponent *c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT))
        checkParseErrors(c);
}

// German time under any of its names; converting it through UTC would move the times the
// spring change skips, which this host keeps as typed.
bool isBerlin(const icaltimezone *zone)
{
    const QString tzid = text(icaltimezone_get_tzid(const_cast<icaltimezone *>(zone)));
    return tzid.endsWith(QLatin1String("Europe/Berlin")) || tzid == QLatin1String("W. Europe Standard Time")
           || tzid.contains(QLatin1String("Berlin"));
}

// libical rolls a thirteenth month over into the next year; the text itself must be a date.
void checkDateText(icalproperty *property, icalcomponent *event)
{
    const QString value = text(icalproperty_get_value_as_string(property));
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})(T(\\d{2})(\\d{2})(\\d{2})Z?)?$"));
    const QRegularExpressionMatch m = pattern.match(value);
    const bool ok = m.hasMatch()
                    && QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()).isValid()
                    && (m.captured(4).isEmpty()
                        || QTime(m.captured(5).toInt(), m.captured(6).toInt(), std::min(m.captured(7).toInt(), 59)).isValid());
    if (!ok)
        fail(QStringLiteral("Der Termin %1 hat die ungültige Zeitangabe „%2“.").arg(eventName(event), value));
}

// The zone a TZID names: the file's own definition first, German time under any of its
// names, then the zones libical knows; nullptr for a name nobody describes.
icaltimezone *zoneNamed(icalcomponent *event, const char *tzid)
{
    icalcomponent *calendar = icalcomponent_get_parent(event);
    if (icaltimezone *own = calendar ? icalcomponent_get_timezone(calendar, tzid) : nullptr)
        return own;
    const QString name = text(tzid);
    if (name.endsWith(QLatin1String("Europe/Berlin")) || name == QLatin1String("W. Europe Standard Time"))
        return berlinZone();
    return icaltimezone_get_builtin_timezone(tzid);
}

// A time property's value with the zone its TZID names.
icaltimetype zonedValue(icalproperty *property, icalcomponent *event)
{
    icaltimetype t = icalproperty_isa(property) == ICAL_RDATE_PROPERTY
                         ? icalproperty_get_rdate(property).time
                         : icalvalue_get_datetime(icalproperty_get_value(property));
    icalparameter *tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (!t.is_date && !icaltime_is_utc(t) && tzid) {
        if (icaltimezone *zone = zoneNamed(event, icalparameter_get_tzid(tzid)))
            icaltime_set_timezone(&t, zone);
        else
            // A zone named but not described: read as German time, as a floating time is.
            qCWarning(lcICalendar) << "unknown time zone" << icalparameter_get_tzid(tzid) << "in"
                                   << eventName(event) << "read as Europe/Berlin wall-clock time";
    }
    return t;
}

icaltimetype timeOf(icalcomponent *event, icalproperty_kind kind)
{
    icalproperty *p = icalcomponent_get_first_property(event, kind);
    if (!p)
        return icaltime_null_time();
    checkDateText(p, event);
    return zonedValue(p, event);
}

struct Reader
{
    QVector<Participant> participants;
    int defaultParticipant = 0;
    Dayplex::Date horizon = 0;
    ICalendarImport result;

    Dayplex::Date toBerlin(icaltimetype t, icalcomponent *event) const
    {
        if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
            fail(QStringLiteral("Der Termin %1 hat eine ungültige Zeit.").arg(eventName(event)));
        if (!t.is_date && t.zone && !isBerlin(t.zone))
            icaltimezone_convert_time(&t, const_cast<icaltimezone *>(t.zone), berlinZone());
        const QDate day(t.year, t.month, t.day);
        if (!day.isValid())
            fail(QStringLiteral("Der Termin %1 hat ein ungültiges Datum.").arg(eventName(event)));
        const Dayplex::Date value =
            Dayplex::toDate(day) + (t.is_date ? 0.0 : (t.hour * 3600 + t.minute * 60 + t.second) / 86400.0);
        if (!Dayplex::isValidDate(value))
            fail(QStringLiteral("Der Termin %1 liegt außerhalb des Kalenders.").arg(eventName(event)));
        return value;
    }

    QList<int> participantsOf(icalcomponent *event) const
    {
        QList<int> ids;
        const auto consider = [&](icalproperty *p) {
            icalparameter *cn = icalproperty_get_first_parameter(p, ICAL_CN_PARAMETER);
            const QString name = cn ? text(icalparameter_get_cn(cn)).trimmed() : QString();
            for (const Participant &participant : participants)
                if (!name.isEmpty() && participant.name.compare(name, Qt::CaseInsensitive) == 0
                    && !ids.contains(participant.id))
                    ids.append(participant.id);
        };
        // The organizer first: the event's own UID goes to the first participant.
        if (icalproperty *organizer = icalcomponent_get_first_property(event, ICAL_ORGANIZER_PROPERTY))
            consider(organizer);
        for (icalproperty *p : properties(event, ICAL_ATTENDEE_PROPERTY))
            consider(p);
        if (ids.isEmpty())
            ids.append(defaultParticipant);
        return ids;
    }

    // The fields every occurrence of the event shares.
    Appointment fieldsOf(icalcomponent *event) const
    {
        Appointment a;
        a.text = text(icalcomponent_get_summary(event)).trimmed();
        if (a.text.isEmpty())
            a.text = QStringLiteral("(ohne Betreff)");
        a.backColor = kImportedBackColor;
        if (icalproperty *transp = icalcomponent_get_first_property(event, ICAL_TRANSP_PROPERTY))
            a.note = icalproperty_get_transp(transp) == ICAL_TRANSP_TRANSPARENT;
        for (icalproperty *p : properties(event, ICAL_X_PROPERTY)) {
            const QByteArray name = QByteArray(icalproperty_get_x_name(p)).toUpper();
            const QString value = text(icalproperty_get_x(p)).trimmed();
            const bool yes = value.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
            if (name == kBackColor)
                parseColor(value, &a.backColor);
            else if (name == kFontColor)
                parseColor(value, &a.fontColor);
            else if (name == kDone)
                a.done = yes;
            else if (name == kReadOnly)
                a.readOnly = yes;
            else if (name == "X-MICROSOFT-CDO-BUSYSTATUS")
                a.note = value.compare(QLatin1String("FREE"), Qt::CaseInsensitive) == 0;
        }
        return a;
    }

    // Start and end of the event in Berlin time; an all-day end becomes the midnight of the
    // last day, as the host keeps it.
    std::pair<Dayplex::Date, Dayplex::Date> timesOf(icalcomponent *event, bool *allDay) const
    {
        if (!icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY))
            fail(QStringLiteral("Der Termin %1 hat keinen Beginn (DTSTART).").arg(eventName(event)));
        const icaltimetype start = timeOf(event, ICAL_DTSTART_PROPERTY);
        *allDay = start.is_date;
        const Dayplex::Date from = toBerlin(start, event);
        icalproperty *duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY);
        const bool hasEnd = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY) || duration;
        Dayplex::Date to = from;
        if (icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY))
            to = toBerlin(timeOf(event, ICAL_DTEND_PROPERTY), event);
        else if (duration)
            to = toBerlin(icaltime_add(start, icalproperty_get_duration(duration)), event);
        if (*allDay) {
            // Without an end, and with the end some writers put on the start day, one day.
            to = std::max(std::floor(to) - 1.0, std::floor(from));
            if (!hasEnd)
                to = std::floor(from);
        }
        if (to < from)
            fail(QStringLiteral("Der Termin %1 endet vor seinem Beginn.").arg(eventName(event)));
        return {from, to};
    }

    void add(const Appointment &fields, const QString &uid, const QList<int> &ids)
    {
        for (int i = 0; i < ids.size(); ++i) {
            Appointment a = fields;
            a.participantId = ids.at(i);
            // Further team members get a copy of their own under a key derived from the event's.
            a.uid = i == 0 ? uid : QStringLiteral("%1#P%2").arg(uid).arg(ids.at(i));
            result.appointments.append(a);
        }
    }

    static QString occurrenceUid(const QString &uid, Dayplex::Date start)
    {
        return QStringLiteral("%1/%2").arg(uid, Database::toSqlDateTime(start));
    }

    QSet<Dayplex::Date> exceptionDates(icalcomponent *event, icalproperty_kind kind) const
    {
        QSet<Dayplex::Date> dates;
        for (icalproperty *p : properties(event, kind)) {
            const icaltimetype t = zonedValue(p, event);
            // An RDATE may give a period instead of a time; its series then has no extra start.
            if (!icaltime_is_null_time(t))
                dates.insert(toBerlin(t, event));
        }
        return dates;
    }

    void readSeries(icalcomponent *event, const QString &uid, const QSet<Dayplex::Date> &overridden)
    {
        bool allDay = false;
        const auto [from, to] = timesOf(event, &allDay);
        const Dayplex::Date length = to - from;
        const Appointment fields = fieldsOf(event);
        const QList<int> ids = participantsOf(event);
        const QSet<Dayplex::Date> excluded = exceptionDates(event, ICAL_EXDATE_PROPERTY);
        QSet<Dayplex::Date> starts = exceptionDates(event, ICAL_RDATE_PROPERTY);

        const icaltimetype dtstart = timeOf(event, ICAL_DTSTART_PROPERTY);
        bool truncated = false;
        for (icalproperty *rule : properties(event, ICAL_RRULE_PROPERTY)) {
            icalrecur_iterator *it = icalrecur_iterator_new(icalproperty_get_rrule(rule), dtstart);
            if (!it)
                fail(QStringLiteral("Die Wiederholungsregel des Termins %1 ist ungültig.").arg(eventName(event)));
            const auto freeIterator = qScopeGuard([it] { icalrecur_iterator_free(it); });
            for (icaltimetype next = icalrecur_iterator_next(it); !icaltime_is_null_time(next);
                 next = icalrecur_iterator_next(it)) {
                icaltime_set_timezone(&next, dtstart.zone);
                const Dayplex::Date start = toBerlin(next, event);
                if (start > horizon || starts.size() >= kMaxOccurrences) {
                    truncated = true;
                    break;
                }
                starts.insert(start);
            }
        }
        starts.insert(from);
        QList<Dayplex::Date> ordered(starts.cbegin(), starts.cend());
        std::sort(ordered.begin(), ordered.end());
        for (Dayplex::Date start : ordered) {
            if (excluded.contains(start) || overridden.contains(start))
                continue;
            Appointment a = fields;
            a.allDay = allDay;
            a.start = start;
            a.end = start + length;
            add(a, occurrenceUid(uid, start), ids);
        }
        if (truncated)
            ++result.truncatedSeries;
    }

    void readEvent(icalcomponent *event, const QHash<QString, QSet<Dayplex::Date>> &overrides)
    {
        if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) {
            ++result.cancelled;
            return;
        }
        QString uid = text(icalcomponent_get_uid(event)).trimmed();
        if (uid.isEmpty())
            fail(QStringLiteral("Der Termin %1 hat keine UID.").arg(eventName(event)));
        const bool recurring = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY)
                               || icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
        if (icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) {
            // A changed occurrence replaces the one of its series that it names.
            const Dayplex::Date original =
                toBerlin(timeOf(event, ICAL_RECURRENCEID_PROPERTY), event);
            uid = occurrenceUid(uid, original);
        } else if (recurring) {
            readSeries(event, uid, overrides.value(uid));
            return;
        }
        bool allDay = false;
        const auto [from, to] = timesOf(event, &allDay);
        Appointment a = fieldsOf(event);
        a.allDay = allDay;
        a.start = from;
        a.end = to;
        add(a, uid, participantsOf(event));
    }

    void readCalendar(icalcomponent *calendar)
    {
        QVector<icalcomponent *> events;
        QHash<QString, QSet<Dayplex::Date>> overrides;
        // Collected first: resolving a TZID looks through the calendar's components.
        for (icalcomponent *e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
             e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
            events.append(e);
        for (icalcomponent *e : events) {
            if (icalcomponent_get_first_property(e, ICAL_RECURRENCEID_PROPERTY))
                overrides[text(icalcomponent_get_uid(e)).trimmed()].insert(
                    toBerlin(timeOf(e, ICAL_RECURRENCEID_PROPERTY), e));
        }
        for (icalcomponent *event : events)
            readEvent(event, overrides);
    }
};

} // namespace

QByteArray writeICalendar(const QVector<Appointment> &appointments,
                          const QHash<int, QString> &participantNames, const QDateTime &stamp)
{
    ComponentPtr calendar(icalcomponent_new_vcalendar());
    icalcomponent *cal = calendar.get();
    icalcomponent_add_property(cal, icalproperty_new_prodid(kProductId));
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

ICalendarImport readICalendar(const QByteArray &data, const QVector<Participant> &participants,
                              int defaultParticipant, QDate horizonEnd)
{
    checkFrame(data);
    ComponentPtr root(icalparser_parse_string(data.constData()));
    if (!root)
        fail(QStringLiteral("Sie lässt sich nicht lesen."));
    checkParseErrors(root.get());

    Reader reader;
    reader.participants = participants;
    reader.defaultParticipant = defaultParticipant;
    reader.horizon = Dayplex::toDate(horizonEnd) + 1.0;
    // Several calendars in one file come back under an XROOT.
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        reader.readCalendar(root.get());
    } else {
        for (icalcomponent *c = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT); c;
             c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            reader.readCalendar(c);
    }
    return reader.result;
}

} // namespace Terminplaner

#include "icalendar.h"
#include "icalendar_p.h"
#include "icalendartext.h"

#include <QCryptographicHash>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QTimeZone>
#include <cmath>
#include <memory>

Q_LOGGING_CATEGORY(lcICalendar, "terminplaner.icalendar")

namespace Terminplaner {

const char kBerlinZone[] = "Europe/Berlin";

using namespace ICal;

namespace {

// The form's colour for a new appointment, for events that bring none.
constexpr qint32 kImportedBackColor = 198 | (224 << 8) | (255 << 16);

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

// The start of a UID this reader gave an event that brought none.
constexpr char kDerivedUidPrefix[] = "terminplaner-";

// --- reading ---------------------------------------------------------------------------

QString eventName(icalcomponent *event)
{
    const QString summary = text(icalcomponent_get_summary(event)).simplified();
    if (!summary.isEmpty())
        return QStringLiteral("„%1“").arg(summary);
    const QString uid = text(icalcomponent_get_uid(event));
    return uid.isEmpty() || uid.startsWith(QLatin1String(kDerivedUidPrefix)) ? QStringLiteral("ohne Betreff") : QStringLiteral("mit der UID „%1“").arg(uid);
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

// An event that cannot be read: it is left out and named with the reason, in German.
struct EventSkipped
{
    QString reason;
};

[[noreturn]] void skip(const QString &reason)
{
    throw EventSkipped{reason};
}

// The property a libical parser note is about ("No value for LOCATION property ...").
QString propertyNamed(const QString &message)
{
    static const QRegularExpression name(QStringLiteral("(?:for|in) ([A-Z-]+) property"));
    return name.match(message).captured(1);
}

bool isTextProperty(const QString &name)
{
    static const QStringList names{"LOCATION", "DESCRIPTION", "SUMMARY", "COMMENT", "CATEGORIES",
                                   "CLASS", "URL", "CONTACT", "RESOURCES", "STATUS", "TRANSP"};
    return names.contains(name) || name.startsWith(QLatin1String("X-"));
}

// What libical noted while reading a component, judged without showing its English text:
// an empty value of a text property is valid and an empty RRULE means no rule; an empty or
// unreadable time or rule makes the event unreadable; anything else outside an event makes
// the file unreadable. Errors inside an event's alarms do not touch the appointment.
void checkParseErrors(icalcomponent *component, bool insideEvent = false)
{
    const bool isEvent = icalcomponent_isa(component) == ICAL_VEVENT_COMPONENT;
    for (icalproperty *p : properties(component, ICAL_XLICERROR_PROPERTY)) {
        const QString message = text(icalproperty_get_xlicerror(p));
        const QString name = propertyNamed(message);
        const bool empty = message.startsWith(QLatin1String("No value for"));
        const bool harmless = (empty && (isTextProperty(name) || name == QLatin1String("RRULE"))) || insideEvent;
        qCWarning(lcICalendar) << "parser note" << message << (harmless ? "ignored" : "");
        if (harmless) {
            icalcomponent_remove_property(component, p);
            icalproperty_free(p);
        } else if (!isEvent) {
            refuse(QStringLiteral("Sie enthält eine Zeile, die sich nicht lesen lässt."));
        }
    }
    for (icalcomponent *c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT))
        checkParseErrors(c, insideEvent || isEvent);
}

// Why an event is unreadable, from what the parser left in it; empty when it is readable.
QString parseError(icalcomponent *event)
{
    icalproperty *error = icalcomponent_get_first_property(event, ICAL_XLICERROR_PROPERTY);
    if (!error)
        return {};
    const QString message = text(icalproperty_get_xlicerror(error));
    const QString name = propertyNamed(message);
    if (name.isEmpty())
        return QStringLiteral("unlesbare Zeile");
    return message.startsWith(QLatin1String("No value for")) ? QStringLiteral("%1 ohne Wert").arg(name)
                                                              : QStringLiteral("ungültiger Wert in %1").arg(name);
}

// German time under any of its names; converting it through UTC would move the times the
// spring change skips, which this host keeps as typed.
bool isBerlin(const icaltimezone *zone)
{
    const QString tzid = text(icaltimezone_get_tzid(const_cast<icaltimezone *>(zone)));
    return tzid.endsWith(QLatin1String("Europe/Berlin")) || tzid == QLatin1String("W. Europe Standard Time")
           || tzid.contains(QLatin1String("Berlin"));
}

qint64 secondsOf(Dayplex::Date value)
{
    return qRound64(value * 86400.0);
}

// The rule's parts without those named, e.g. COUNT and UNTIL before a new end is set.
QStringList ruleParts(const QString &rrule, const QStringList &without = {})
{
    QStringList parts;
    for (const QString &part : rrule.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!without.contains(part.section(QLatin1Char('='), 0, 0).toUpper()))
            parts.append(part);
    return parts;
}

QString localText(Dayplex::Date value, bool allDay)
{
    return untilText(allDay ? dateValue(value) : dateTimeValue(value));
}

// The local starts a host rule gives from start on, as libical expands a floating time; at
// most limit of them, and none after last when last is set.
QVector<Dayplex::Date> localStarts(const QString &rrule, Dayplex::Date start, bool allDay, int limit,
                                   Dayplex::Date last = 0)
{
    QVector<Dayplex::Date> starts;
    icalrecur_iterator *it = icalrecur_iterator_new(icalrecurrencetype_from_string(rrule.toLatin1().constData()),
                                                    allDay ? dateValue(start) : dateTimeValue(start));
    if (!it)
        return starts;
    const auto freeIterator = qScopeGuard([it] { icalrecur_iterator_free(it); });
    for (icaltimetype next = icalrecur_iterator_next(it); !icaltime_is_null_time(next) && starts.size() < limit;
         next = icalrecur_iterator_next(it)) {
        const Dayplex::Date value = wallClock(next);
        if (last != 0 && value > last)
            break;
        starts.append(value);
    }
    return starts;
}

struct ZoneDeleter
{
    void operator()(icaltimezone *zone) const { icaltimezone_free(zone, 1); }
};

// A zone of a fixed offset from UTC, as some writers name one ("UTC+11", "GMT-05:30").
std::unique_ptr<icaltimezone, ZoneDeleter> fixedZone(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^(?:UTC|GMT)\\s*([+-])(\\d{1,2})(?::?(\\d{2}))?$"));
    const QRegularExpressionMatch m = pattern.match(name.trimmed());
    if (!m.hasMatch() || m.captured(2).toInt() > 14 || m.captured(3).toInt() > 59)
        return nullptr;
    const QByteArray offset = QStringLiteral("%1%2%3")
                                  .arg(m.captured(1))
                                  .arg(m.captured(2).toInt(), 2, 10, QLatin1Char('0'))
                                  .arg(m.captured(3).toInt(), 2, 10, QLatin1Char('0'))
                                  .toLatin1();
    const QByteArray definition = "BEGIN:VTIMEZONE\nTZID:" + name.toUtf8() + "\nBEGIN:STANDARD\n"
                                  "DTSTART:16010101T000000\nTZOFFSETFROM:" + offset + "\nTZOFFSETTO:" + offset
                                  + "\nEND:STANDARD\nEND:VTIMEZONE\n";
    std::unique_ptr<icaltimezone, ZoneDeleter> zone(icaltimezone_new());
    icaltimezone_set_component(zone.get(), icalparser_parse_string(definition.constData()));
    return zone;
}

struct Reader
{
    QVector<Participant> participants;
    int defaultParticipant = 0;
    ICalendarImport result;
    // Zones the file names without describing them, as found; nullptr for an unknown one.
    mutable QHash<QString, icaltimezone *> foundZones;
    mutable std::vector<std::unique_ptr<icaltimezone, ZoneDeleter>> ownedZones;
    mutable QStringList unknownZones;

    // The zone a TZID names: the file's own definition first, German time under any of its
    // names, then IANA names, Windows names and fixed offsets; an unknown zone is read as
    // UTC and named in the notes.
    icaltimezone *zoneNamed(icalcomponent *event, const char *tzid) const
    {
        icalcomponent *calendar = icalcomponent_get_parent(event);
        if (icaltimezone *own = calendar ? icalcomponent_get_timezone(calendar, tzid) : nullptr)
            return own;
        const QString name = text(tzid);
        if (name.endsWith(QLatin1String("Europe/Berlin")) || name == QLatin1String("W. Europe Standard Time"))
            return berlinZone();
        if (foundZones.contains(name))
            return foundZones.value(name);
        icaltimezone *zone = icaltimezone_get_builtin_timezone(tzid);
        if (!zone) {
            const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(name.toUtf8());
            zone = iana.isEmpty() ? nullptr : icaltimezone_get_builtin_timezone(iana.constData());
        }
        if (!zone) {
            if (auto fixed = fixedZone(name)) {
                zone = fixed.get();
                ownedZones.push_back(std::move(fixed));
            }
        }
        if (!zone) {
            qCWarning(lcICalendar) << "unknown time zone" << name << "read as UTC";
            unknownZones.append(name);
            zone = icaltimezone_get_utc_timezone();
        }
        foundZones.insert(name, zone);
        return zone;
    }

    // A time property's value with the zone its TZID names.
    icaltimetype zonedValue(icalproperty *property, icalcomponent *event) const
    {
        icaltimetype t = icalproperty_isa(property) == ICAL_RDATE_PROPERTY
                             ? icalproperty_get_rdate(property).time
                             : icalvalue_get_datetime(icalproperty_get_value(property));
        icalparameter *tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
        if (!t.is_date && !icaltime_is_utc(t) && tzid)
            icaltime_set_timezone(&t, zoneNamed(event, icalparameter_get_tzid(tzid)));
        return t;
    }

    icaltimetype timeOf(icalcomponent *event, icalproperty_kind kind) const
    {
        icalproperty *p = icalcomponent_get_first_property(event, kind);
        if (!p)
            return icaltime_null_time();
        return zonedValue(p, event);
    }

    static Dayplex::Date toBerlin(icaltimetype t)
    {
        if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
            skip(QStringLiteral("ungültige Zeit"));
        if (!t.is_date && t.zone && !isBerlin(t.zone))
            icaltimezone_convert_time(&t, const_cast<icaltimezone *>(t.zone), berlinZone());
        const QDate day(t.year, t.month, t.day);
        if (!day.isValid())
            skip(QStringLiteral("ungültiges Datum"));
        const Dayplex::Date value = wallClock(t);
        if (!Dayplex::isValidDate(value))
            skip(QStringLiteral("außerhalb des Kalenders"));
        return value;
    }

    // The participants of the team the event names, organizer first; empty when it names none.
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
        if (icalproperty *organizer = icalcomponent_get_first_property(event, ICAL_ORGANIZER_PROPERTY))
            consider(organizer);
        for (icalproperty *p : properties(event, ICAL_ATTENDEE_PROPERTY))
            consider(p);
        return ids;
    }

    static void setParticipants(Appointment &a, const QList<int> &ids)
    {
        a.participantId = ids.first();
        a.participantIds = ids.size() > 1 ? ids : QList<int>();
    }

    // The fields of the event itself: text, colours, times and who takes part.
    Appointment appointmentOf(icalcomponent *event) const
    {
        Appointment a;
        a.uid = text(icalcomponent_get_uid(event)).trimmed();
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
            else if (name == kSource)
                a.source = QString::fromUtf8(QByteArray::fromPercentEncoding(value.toLatin1()));
            else if (name == "X-MICROSOFT-CDO-BUSYSTATUS")
                a.note = value.compare(QLatin1String("FREE"), Qt::CaseInsensitive) == 0;
        }
        std::tie(a.start, a.end) = timesOf(event, &a.allDay);
        const QList<int> ids = participantsOf(event);
        setParticipants(a, ids.isEmpty() ? QList<int>{defaultParticipant} : ids);
        return a;
    }

    // Start and end of the event in Berlin time; an all-day end becomes the midnight of the
    // last day, as the host keeps it.
    std::pair<Dayplex::Date, Dayplex::Date> timesOf(icalcomponent *event, bool *allDay) const
    {
        if (!icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY))
            skip(QStringLiteral("kein Beginn (DTSTART)"));
        const icaltimetype start = timeOf(event, ICAL_DTSTART_PROPERTY);
        *allDay = start.is_date;
        Dayplex::Date from = toBerlin(start);
        icalproperty *duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY);
        const bool hasEnd = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY) || duration;
        icaltimetype end = start;
        if (icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY))
            end = timeOf(event, ICAL_DTEND_PROPERTY);
        else if (duration)
            end = icaltime_add(start, icalproperty_get_duration(duration));
        if (duration && !icaltime_is_valid_time(end))
            skip(QStringLiteral("ungültige Dauer"));
        Dayplex::Date to = toBerlin(end);
        if (!*allDay && hasEnd && isOutlookAllDay(event, start, end)) {
            // Outlook's all-day entry: midnight to midnight of the zone it was written in.
            *allDay = true;
            from = wallClock(start);
            to = wallClock(end);
        }
        if (*allDay) {
            // Without an end, and with the end some writers put on the start day, one day.
            to = std::max(std::floor(to) - 1.0, std::floor(from));
            if (!hasEnd)
                to = std::floor(from);
        }
        if (to < from)
            skip(QStringLiteral("Ende vor Beginn"));
        return {from, to};
    }

    static bool isOutlookAllDay(icalcomponent *event, const icaltimetype &start, const icaltimetype &end)
    {
        const auto midnight = [](const icaltimetype &t) { return t.hour == 0 && t.minute == 0 && t.second == 0; };
        if (!midnight(start) || !midnight(end) || icaltime_compare_date_only(end, start) <= 0)
            return false;
        for (icalproperty *p : properties(event, ICAL_X_PROPERTY))
            if (qstricmp(icalproperty_get_x_name(p), "X-MICROSOFT-CDO-ALLDAYEVENT") == 0)
                return text(icalproperty_get_x(p)).trimmed().compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
        return false;
    }

    // RDATE or EXDATE starts in Berlin time. A date beside a timed series means the
    // occurrence of that day; an RDATE period counts by its start.
    QList<Dayplex::Date> startsOf(icalcomponent *event, icalproperty_kind kind, const Appointment &series) const
    {
        QList<Dayplex::Date> starts;
        for (icalproperty *p : properties(event, kind)) {
            icaltimetype t = zonedValue(p, event);
            if (icaltime_is_null_time(t) && kind == ICAL_RDATE_PROPERTY)
                t = icalproperty_get_rdate(p).period.start;
            if (icaltime_is_null_time(t))
                continue;
            Dayplex::Date start = toBerlin(t);
            if (t.is_date && !series.allDay)
                start += series.start - std::floor(series.start);
            if (!starts.contains(start))
                starts.append(start);
        }
        std::sort(starts.begin(), starts.end());
        return starts;
    }

    // The file's rule for German wall-clock time: an UNTIL in UTC or in the event's zone
    // becomes the local date-time it names; the rest stays as written.
    QString localRule(const icalrecurrencetype &rule, const icaltimetype &dtstart, icalcomponent *event) const
    {
        icalrecurrencetype copy = rule;
        char *written = icalrecurrencetype_as_string_r(&copy);
        QStringList parts = ruleParts(text(written), {QStringLiteral("UNTIL")});
        icalmemory_free_buffer(written);
        if (!icaltime_is_null_time(rule.until)) {
            icaltimetype until = rule.until;
            // A floating UNTIL is a time of the start's zone.
            if (!until.is_date && !icaltime_is_utc(until))
                until.zone = dtstart.zone;
            QString value = untilText(until.is_date ? until : dateTimeValue(toBerlin(until)));
            if (dtstart.is_date && !until.is_date)
                value = value.left(8);
            parts.insert(1, QStringLiteral("UNTIL=") + value);
        }
        return parts.join(QLatin1Char(';'));
    }

    // A rule in another zone than German time drifts against the local rule at every clock
    // change of either zone: the occurrences where they differ are taken out and their true
    // starts added.
    void correctForZone(Appointment &series, const icalrecurrencetype &rule, const icaltimetype &dtstart,
                        icalcomponent *event) const
    {
        QVector<Dayplex::Date> trueStarts;
        icalrecur_iterator *it = icalrecur_iterator_new(rule, dtstart);
        if (!it)
            skip(QStringLiteral("ungültige Wiederholungsregel"));
        const auto freeIterator = qScopeGuard([it] { icalrecur_iterator_free(it); });
        for (icaltimetype next = icalrecur_iterator_next(it);
             !icaltime_is_null_time(next) && trueStarts.size() < kCorrectedOccurrences;
             next = icalrecur_iterator_next(it)) {
            icaltime_set_timezone(&next, dtstart.zone);
            trueStarts.append(toBerlin(next));
        }
        if (trueStarts.isEmpty())
            return;
        // An endless rule is compared up to a day before its last true start counted here.
        const bool cut = trueStarts.size() == kCorrectedOccurrences;
        const Dayplex::Date last = cut ? trueStarts.last() - 1.0 : trueStarts.last() + 1.0;
        const QVector<Dayplex::Date> ruleStarts =
            localStarts(series.rrule, series.start, false, 2 * kCorrectedOccurrences, last);
        QSet<qint64> ruleSeconds, trueSeconds;
        for (Dayplex::Date start : ruleStarts)
            ruleSeconds.insert(secondsOf(start));
        for (Dayplex::Date start : trueStarts)
            if (start <= last)
                trueSeconds.insert(secondsOf(start));
        for (Dayplex::Date start : ruleStarts)
            if (!trueSeconds.contains(secondsOf(start)))
                series.exdates.append(start);
        for (Dayplex::Date start : trueStarts)
            if (start <= last && !ruleSeconds.contains(secondsOf(start)) && !series.exdates.contains(start))
                series.rdates.append(start);
        std::sort(series.rdates.begin(), series.rdates.end());
        std::sort(series.exdates.begin(), series.exdates.end());
    }

    Appointment masterOf(icalcomponent *event) const
    {
        Appointment a = appointmentOf(event);
        const icaltimetype dtstart = timeOf(event, ICAL_DTSTART_PROPERTY);
        const QVector<icalproperty *> rules = properties(event, ICAL_RRULE_PROPERTY);
        if (rules.size() > 1)
            qCWarning(lcICalendar) << eventName(event) << "has" << rules.size() << "rules; the first one is kept";
        const bool foreign = !a.allDay && !dtstart.is_date && (icaltime_is_utc(dtstart) || (dtstart.zone && !isBerlin(dtstart.zone)));
        if (!rules.isEmpty()) {
            const icalrecurrencetype rule = icalproperty_get_rrule(rules.first());
            if (rule.freq == ICAL_NO_RECURRENCE)
                skip(QStringLiteral("ungültige Wiederholungsregel"));
            a.rrule = localRule(rule, dtstart, event);
            if (foreign)
                correctForZone(a, rule, dtstart, event);
        }
        for (Dayplex::Date start : startsOf(event, ICAL_RDATE_PROPERTY, a))
            if (!a.rdates.contains(start))
                a.rdates.append(start);
        for (Dayplex::Date start : startsOf(event, ICAL_EXDATE_PROPERTY, a))
            if (!a.exdates.contains(start))
                a.exdates.append(start);
        a.rdates.removeIf([&](Dayplex::Date start) { return a.exdates.contains(start); });
        std::sort(a.rdates.begin(), a.rdates.end());
        std::sort(a.exdates.begin(), a.exdates.end());
        return a;
    }

    // "This and all following" changed: the master ends before the changed occurrence, and
    // a new series of the changed fields runs on from there, shifted as the change moved it.
    void splitSeries(Appointment &master, const Appointment &change)
    {
        const Dayplex::Date at = change.recurrenceStart;
        const Dayplex::Date shift = change.start - at;
        Appointment tail = change;
        tail.uid = QStringLiteral("%1/%2").arg(master.uid, Database::toSqlDateTime(at));
        tail.recurrenceStart = 0;
        QStringList tailRule = ruleParts(master.rrule, {QStringLiteral("UNTIL"), QStringLiteral("COUNT")});
        for (const QString &part : ruleParts(master.rrule)) {
            const QString name = part.section(QLatin1Char('='), 0, 0).toUpper();
            const QString value = part.section(QLatin1Char('='), 1);
            if (name == QLatin1String("COUNT")) {
                const int before = localStarts(master.rrule, master.start, master.allDay, value.toInt(), at - 1.0 / 86400).size();
                tailRule.append(QStringLiteral("COUNT=%1").arg(std::max(1, value.toInt() - before)));
            } else if (name == QLatin1String("UNTIL")) {
                const icaltimetype until = icaltime_from_string(value.toLatin1().constData());
                if (!icaltime_is_null_time(until))
                    tailRule.append(QStringLiteral("UNTIL=") + localText(wallClock(until) + shift, until.is_date));
            }
        }
        tail.rrule = master.rrule.isEmpty() ? QString() : tailRule.join(QLatin1Char(';'));
        const auto moveFrom = [&](QList<Dayplex::Date> &from, QList<Dayplex::Date> &to) {
            for (Dayplex::Date start : from)
                if (start > at)
                    to.append(start + shift);
            from.removeIf([&](Dayplex::Date start) { return start >= at; });
        };
        tail.rdates.clear();
        tail.exdates.clear();
        moveFrom(master.rdates, tail.rdates);
        moveFrom(master.exdates, tail.exdates);
        if (!master.rrule.isEmpty()) {
            QStringList parts = ruleParts(master.rrule, {QStringLiteral("UNTIL"), QStringLiteral("COUNT")});
            parts.insert(1, QStringLiteral("UNTIL=") + localText(at - (master.allDay ? 1.0 : 1.0 / 86400), master.allDay));
            master.rrule = parts.join(QLatin1Char(';'));
        }
        for (Appointment &o : result.overrides)
            if (o.uid == master.uid && o.recurrenceStart > at) {
                o.uid = tail.uid;
                o.recurrenceStart += shift;
            }
        result.appointments.append(tail);
    }

    struct Entry
    {
        icalcomponent *event = nullptr;
        bool cancelled = false;
        int sequence = 0;
    };

    // Keeps the revision that counts: the higher SEQUENCE, among equal ones the later.
    static void keepRevision(Entry &kept, const Entry &next)
    {
        if (!kept.event || next.sequence >= kept.sequence)
            kept = next;
    }

    struct Skipped
    {
        QString name;
        int line = 0;
        QString reason;
    };
    QVector<Skipped> skipped;
    ICalendarProgress progress;
    int done = 0;
    int total = 0;

    // Runs one event's reading; an event that cannot be read is noted and left out.
    template<typename Read>
    bool readEvent(icalcomponent *event, Read &&readIt)
    {
        try {
            readIt();
        } catch (const EventSkipped &skipped) {
            this->skipped.append({eventName(event), lineOf(event), skipped.reason});
            qCWarning(lcICalendar) << "event" << eventName(event) << "left out:" << skipped.reason;
            return false;
        }
        return true;
    }

    void advance()
    {
        ++done;
        if (progress && !progress(std::min(done, total), total))
            throw ICalendarCancelled();
    }

    // The value of one of the marks the text's preparation put into the event.
    static QString mark(icalcomponent *event, const char *name)
    {
        for (icalproperty *p : properties(event, ICAL_X_PROPERTY))
            if (qstrcmp(icalproperty_get_x_name(p), name) == 0)
                return text(icalproperty_get_x(p));
        return {};
    }

    static int lineOf(icalcomponent *event) { return mark(event, kLineProperty).toInt(); }

    static constexpr QChar kSourceSeparator{0x1f};
    static QString plainUid(const QString &key) { return key.section(kSourceSeparator, 0, 0); }

    // A UID for an event that brings none, from what makes it this event; the same on every
    // reading of the file, so that a second import changes nothing. Events alike in all of
    // this are told apart by their order.
    static QString derivedUid(icalcomponent *event, QSet<QString> &taken)
    {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        for (icalproperty_kind kind : {ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY, ICAL_DURATION_PROPERTY,
                                       ICAL_SUMMARY_PROPERTY, ICAL_LOCATION_PROPERTY, ICAL_DESCRIPTION_PROPERTY,
                                       ICAL_RRULE_PROPERTY, ICAL_RECURRENCEID_PROPERTY}) {
            for (icalproperty *p : properties(event, kind)) {
                char *line = icalproperty_as_ical_string_r(p);
                hash.addData(QByteArrayView(line));
                icalmemory_free_buffer(line);
            }
            hash.addData("\n");
        }
        const QString base = QLatin1String(kDerivedUidPrefix) + QString::fromLatin1(hash.result().toHex().left(32));
        QString uid = base;
        for (int n = 2; taken.contains(uid); ++n)
            uid = QStringLiteral("%1-%2").arg(base).arg(n);
        taken.insert(uid);
        return uid;
    }

    void read(const QVector<Entry> &events)
    {
        total = events.size();
        QStringList masterOrder;
        QHash<QString, Entry> masters;
        QVector<std::pair<QString, Dayplex::Date>> overrideOrder;
        QHash<QString, QMap<Dayplex::Date, Entry>> overrides;
        QSet<QString> derived;
        for (const Entry &entry : events) {
            QString uid = text(icalcomponent_get_uid(entry.event)).trimmed();
            if (uid.isEmpty()) {
                uid = derivedUid(entry.event, derived);
                icalcomponent_set_uid(entry.event, uid.toUtf8().constData());
            }
            // This program's own export may hold the same UID of several calendars, told apart
            // by the calendar each came from.
            const QString source = mark(entry.event, kSource);
            if (!source.isEmpty())
                uid += kSourceSeparator + source;
            const QString error = parseError(entry.event);
            const QString badTime = mark(entry.event, kBadTimeProperty);
            readEvent(entry.event, [&] {
                if (!badTime.isEmpty())
                    skip(QStringLiteral("ungültige Zeitangabe „%1“").arg(badTime));
                if (!error.isEmpty())
                    skip(error);
                if (icalcomponent_get_first_property(entry.event, ICAL_RECURRENCEID_PROPERTY)) {
                    const Dayplex::Date original = toBerlin(timeOf(entry.event, ICAL_RECURRENCEID_PROPERTY));
                    if (!overrides.value(uid).contains(original))
                        overrideOrder.append({uid, original});
                    keepRevision(overrides[uid][original], entry);
                } else {
                    if (!masters.contains(uid))
                        masterOrder.append(uid);
                    keepRevision(masters[uid], entry);
                }
            });
        }
        done = skipped.size();
        QHash<QString, int> seriesIndex;
        for (const QString &uid : masterOrder) {
            advance();
            const Entry &entry = masters.value(uid);
            if (entry.cancelled) {
                result.removedUids.append(plainUid(uid));
                continue;
            }
            readEvent(entry.event, [&] {
                const Appointment a = masterOf(entry.event);
                if (a.isSeries())
                    seriesIndex.insert(uid, result.appointments.size());
                result.appointments.append(a);
            });
        }
        QVector<std::pair<int, Appointment>> splits;
        for (const auto &[uid, original] : overrideOrder) {
            advance();
            const Entry entry = overrides.value(uid).value(original);
            if (masters.value(uid).cancelled)
                continue;
            const int series = seriesIndex.value(uid, -1);
            if (entry.cancelled) {
                if (series >= 0 && !result.appointments[series].exdates.contains(original))
                    result.appointments[series].exdates.append(original);
                else if (series < 0)
                    result.cancelledOccurrences.append({plainUid(uid), original});
                continue;
            }
            readEvent(entry.event, [&] {
                Appointment a = appointmentOf(entry.event);
                if (series < 0) {
                    // A changed occurrence without its series is an appointment of its own.
                    a.uid = QStringLiteral("%1/%2").arg(plainUid(uid), Database::toSqlDateTime(original));
                    result.appointments.append(a);
                    return;
                }
                const Appointment &master = result.appointments.at(series);
                if (participantsOf(entry.event).isEmpty())
                    setParticipants(a, everyone(master));
                a.recurrenceStart = original;
                icalproperty *id = icalcomponent_get_first_property(entry.event, ICAL_RECURRENCEID_PROPERTY);
                icalparameter *range = icalproperty_get_first_parameter(id, ICAL_RANGE_PARAMETER);
                if (range && icalparameter_get_range(range) == ICAL_RANGE_THISANDFUTURE)
                    splits.append({series, a});
                else
                    result.overrides.append(a);
            });
        }
        // The latest first, so that each split cuts the part of the master it lies in.
        std::sort(splits.begin(), splits.end(),
                  [](const auto &l, const auto &r) { return l.second.recurrenceStart > r.second.recurrenceStart; });
        for (const auto &[series, change] : splits)
            splitSeries(result.appointments[series], change);
        for (Appointment &a : result.appointments)
            std::sort(a.exdates.begin(), a.exdates.end());
    }
};

void collectEvents(icalcomponent *calendar, QVector<Reader::Entry> *events)
{
    icalproperty *method = icalcomponent_get_first_property(calendar, ICAL_METHOD_PROPERTY);
    const bool cancel = method && icalproperty_get_method(method) == ICAL_METHOD_CANCEL;
    for (icalcomponent *e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        Reader::Entry entry;
        entry.event = e;
        entry.cancelled = cancel || icalcomponent_get_status(e) == ICAL_STATUS_CANCELLED;
        entry.sequence = icalcomponent_get_sequence(e);
        events->append(entry);
    }
}

// What the calendar says of itself: its PRODID and X-WR-CALNAME.
QString identityOf(icalcomponent *calendar)
{
    QStringList parts;
    if (icalproperty *prodid = icalcomponent_get_first_property(calendar, ICAL_PRODID_PROPERTY))
        parts.append(text(icalproperty_get_prodid(prodid)).trimmed());
    for (icalproperty *p : properties(calendar, ICAL_X_PROPERTY))
        if (qstricmp(icalproperty_get_x_name(p), "X-WR-CALNAME") == 0)
            parts.append(text(icalproperty_get_x(p)).trimmed());
    parts.removeAll(QString());
    return parts.join(QLatin1Char('\n'));
}

QString skippedText(const QVector<Reader::Skipped> &skipped)
{
    constexpr int kNamed = 10;
    QStringList named;
    for (const Reader::Skipped &s : skipped.mid(0, kNamed))
        named.append(QStringLiteral("%1 (Zeile %2): %3").arg(s.name).arg(s.line).arg(s.reason));
    if (skipped.size() > kNamed)
        named.append(QStringLiteral("und %1 weitere").arg(skipped.size() - kNamed));
    return named.join(QStringLiteral("; "));
}

} // namespace

ICalendarImport readICalendar(const QByteArray &data, const QVector<Participant> &participants,
                              int defaultParticipant, const ICalendarProgress &progress)
{
    const PreparedText prepared = prepareText(data);
    ComponentPtr root(icalparser_parse_string(prepared.utf8.constData()));
    if (!root)
        refuse(QStringLiteral("Sie lässt sich nicht lesen."));
    checkParseErrors(root.get());

    Reader reader;
    reader.participants = participants;
    reader.defaultParticipant = defaultParticipant;
    reader.progress = progress;
    // Collected first: resolving a TZID looks through the calendar's components. Several
    // calendars in one file come back under an XROOT.
    QVector<Reader::Entry> events;
    QList<icalcomponent *> calendars;
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        calendars.append(root.get());
    } else {
        for (icalcomponent *c = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT); c;
             c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            calendars.append(c);
    }
    for (icalcomponent *calendar : calendars) {
        collectEvents(calendar, &events);
        if (reader.result.calendarIdentity.isEmpty())
            reader.result.calendarIdentity = identityOf(calendar);
    }
    reader.read(events);

    ICalendarImport &result = reader.result;
    std::stable_sort(reader.skipped.begin(), reader.skipped.end(),
                     [](const Reader::Skipped &l, const Reader::Skipped &r) { return l.line < r.line; });
    result.skipped = reader.skipped.size();
    if (result.skipped > 0 && result.skipped == events.size())
        refuse(QStringLiteral("Keiner ihrer Termine lässt sich lesen: %1.").arg(skippedText(reader.skipped)));
    if (prepared.windows1252)
        result.notes.append(QStringLiteral("Die Datei ist nicht in UTF-8 geschrieben; sie wurde als Windows-1252 gelesen."));
    for (const QString &zone : std::as_const(reader.unknownZones))
        result.notes.append(QStringLiteral("Die Zeitzone „%1“ ist unbekannt; ihre Zeiten wurden als UTC gelesen.").arg(zone));
    if (result.skipped > 0)
        result.notes.append(QStringLiteral("%1 übersprungen: %2.")
                                .arg(result.skipped == 1 ? QStringLiteral("1 Termin")
                                                         : QStringLiteral("%1 Termine").arg(result.skipped),
                                     skippedText(reader.skipped)));
    if (progress && !progress(events.size(), events.size()))
        throw ICalendarCancelled();
    return result;
}

} // namespace Terminplaner

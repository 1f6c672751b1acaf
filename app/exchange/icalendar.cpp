#include "icalendar.h"
#include "icalendar_p.h"

#include <QLoggingCategory>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
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

// An empty "RRULE:" line, which some exporters write for "no repetition", is no rule.
bool isEmptyRule(icalproperty *error)
{
    return text(icalproperty_get_xlicerror(error)).startsWith(QLatin1String("No value for RRULE"));
}

// X-LIC-ERROR lines in the file itself are what another program's libical noted on its own
// read and then wrote out; they say nothing about this file.
QByteArray withoutLeftoverErrors(const QByteArray &data)
{
    if (!data.contains("X-LIC-ERROR"))
        return data;
    QByteArray kept;
    kept.reserve(data.size());
    bool skipping = false;
    for (const QByteArray &line : data.split('\n')) {
        if (!line.startsWith(' ') && !line.startsWith('\t'))
            skipping = line.startsWith("X-LIC-ERROR");
        if (!skipping)
            kept += line + '\n';
    }
    qCWarning(lcICalendar) << "X-LIC-ERROR lines of an earlier reading left out";
    return kept;
}

void checkParseErrors(icalcomponent *component)
{
    for (icalproperty *p : properties(component, ICAL_XLICERROR_PROPERTY)) {
        if (isEmptyRule(p)) {
            qCWarning(lcICalendar) << "an empty RRULE line read as no rule";
            icalcomponent_remove_property(component, p);
            icalproperty_free(p);
            continue;
        }
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

struct Reader
{
    QVector<Participant> participants;
    int defaultParticipant = 0;
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
        const Dayplex::Date value = wallClock(t);
        if (!Dayplex::isValidDate(value))
            fail(QStringLiteral("Der Termin %1 liegt außerhalb des Kalenders.").arg(eventName(event)));
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
            Dayplex::Date start = toBerlin(t, event);
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
            QString value = untilText(until.is_date ? until : dateTimeValue(toBerlin(until, event)));
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
            fail(QStringLiteral("Die Wiederholungsregel des Termins %1 ist ungültig.").arg(eventName(event)));
        const auto freeIterator = qScopeGuard([it] { icalrecur_iterator_free(it); });
        for (icaltimetype next = icalrecur_iterator_next(it);
             !icaltime_is_null_time(next) && trueStarts.size() < kCorrectedOccurrences;
             next = icalrecur_iterator_next(it)) {
            icaltime_set_timezone(&next, dtstart.zone);
            trueStarts.append(toBerlin(next, event));
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
        const bool foreign = !dtstart.is_date && (icaltime_is_utc(dtstart) || (dtstart.zone && !isBerlin(dtstart.zone)));
        if (!rules.isEmpty()) {
            const icalrecurrencetype rule = icalproperty_get_rrule(rules.first());
            if (rule.freq == ICAL_NO_RECURRENCE)
                fail(QStringLiteral("Die Wiederholungsregel des Termins %1 ist ungültig.").arg(eventName(event)));
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

    void read(const QVector<Entry> &events)
    {
        QStringList masterOrder;
        QHash<QString, Entry> masters;
        QVector<std::pair<QString, Dayplex::Date>> overrideOrder;
        QHash<QString, QMap<Dayplex::Date, Entry>> overrides;
        for (const Entry &entry : events) {
            const QString uid = text(icalcomponent_get_uid(entry.event)).trimmed();
            if (uid.isEmpty())
                fail(QStringLiteral("Der Termin %1 hat keine UID.").arg(eventName(entry.event)));
            if (icalcomponent_get_first_property(entry.event, ICAL_RECURRENCEID_PROPERTY)) {
                const Dayplex::Date original = toBerlin(timeOf(entry.event, ICAL_RECURRENCEID_PROPERTY), entry.event);
                if (!overrides.value(uid).contains(original))
                    overrideOrder.append({uid, original});
                keepRevision(overrides[uid][original], entry);
            } else {
                if (!masters.contains(uid))
                    masterOrder.append(uid);
                keepRevision(masters[uid], entry);
            }
        }
        QHash<QString, int> seriesIndex;
        for (const QString &uid : masterOrder) {
            const Entry &entry = masters.value(uid);
            if (entry.cancelled) {
                result.removedUids.append(uid);
                ++result.cancelled;
                continue;
            }
            const Appointment a = masterOf(entry.event);
            if (a.isSeries())
                seriesIndex.insert(uid, result.appointments.size());
            result.appointments.append(a);
        }
        QVector<std::pair<int, Appointment>> splits;
        for (const auto &[uid, original] : overrideOrder) {
            const Entry entry = overrides.value(uid).value(original);
            if (masters.value(uid).cancelled)
                continue;
            const int series = seriesIndex.value(uid, -1);
            if (entry.cancelled) {
                ++result.cancelled;
                if (series >= 0 && !result.appointments[series].exdates.contains(original))
                    result.appointments[series].exdates.append(original);
                else if (series < 0)
                    result.cancelledOccurrences.append({uid, original});
                continue;
            }
            Appointment a = appointmentOf(entry.event);
            if (series < 0) {
                // A changed occurrence without its series is an appointment of its own.
                a.uid = QStringLiteral("%1/%2").arg(uid, Database::toSqlDateTime(original));
                result.appointments.append(a);
                continue;
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

} // namespace

ICalendarImport readICalendar(const QByteArray &data, const QVector<Participant> &participants,
                              int defaultParticipant)
{
    checkFrame(data);
    ComponentPtr root(icalparser_parse_string(withoutLeftoverErrors(data).constData()));
    if (!root)
        fail(QStringLiteral("Sie lässt sich nicht lesen."));
    checkParseErrors(root.get());

    Reader reader;
    reader.participants = participants;
    reader.defaultParticipant = defaultParticipant;
    // Collected first: resolving a TZID looks through the calendar's components. Several
    // calendars in one file come back under an XROOT.
    QVector<Reader::Entry> events;
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        collectEvents(root.get(), &events);
    } else {
        for (icalcomponent *c = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT); c;
             c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            collectEvents(c, &events);
    }
    reader.read(events);
    return reader.result;
}

} // namespace Terminplaner

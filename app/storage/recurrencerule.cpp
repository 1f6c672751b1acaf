// The rule of a series as text: reading an RRULE value, the form's rule and back, and the
// rule in German words.
#include "recurrencerules.h"

#include <QDateTime>
#include <QHash>
#include <QStringList>
#include <QTimeZone>

#include <libical/ical.h>

#include <algorithm>

namespace Terminplaner {

namespace {

const char *const kDayCodes[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
const char *const kDayNames[] = {"Montag", "Dienstag", "Mittwoch", "Donnerstag",
                                 "Freitag", "Samstag", "Sonntag"};
const char *const kMonthNames[] = {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli",
                                   "August", "September", "Oktober", "November", "Dezember"};

RecurrenceError invalid(const QString &rrule, const QString &why)
{
    return RecurrenceError(QStringLiteral("Die Wiederholungsregel „%1“ ist ungültig: %2.")
                               .arg(rrule, why));
}

int weekdayOf(const QString &code)
{
    for (int i = 0; i < 7; ++i)
        if (code == QLatin1String(kDayCodes[i]))
            return i + 1;
    return 0;
}

// "2TU" -> ordinal 2, weekday 2; "TU" -> 0, 2; weekday 0 when it is no weekday at all.
std::pair<int, int> splitByDay(const QString &value)
{
    const QString code = value.right(2);
    const QString number = value.chopped(2);
    bool ok = true;
    const int ordinal = number.isEmpty() ? 0 : number.toInt(&ok);
    return ok ? std::pair{ordinal, weekdayOf(code)} : std::pair{0, 0};
}

int singleNumber(const QString &value, bool *ok)
{
    return value.contains(QLatin1Char(',')) ? (*ok = false, 0) : value.toInt(ok);
}

// The latest allowed local start: a date reaches to the end of its day, UTC becomes Berlin time.
Dayplex::Date untilBoundOf(const QString &value, QDate *day)
{
    const QDate date = QDate::fromString(value.left(8), QStringLiteral("yyyyMMdd"));
    if (value.size() == 8 && date.isValid()) {
        *day = date;
        return Dayplex::toDate(date) + 1.0 - Dayplex::kOneSecond;
    }
    const QTime time = QTime::fromString(value.mid(9, 6), QStringLiteral("HHmmss"));
    const bool utc = value.size() == 16 && value.endsWith(QLatin1Char('Z'));
    if (!date.isValid() || !time.isValid() || value.at(8) != QLatin1Char('T')
        || (value.size() != 15 && !utc))
        return std::numeric_limits<double>::quiet_NaN();
    QDateTime local(date, time);
    if (utc)
        local = QDateTime(date, time, QTimeZone::utc())
                    .toTimeZone(QTimeZone("Europe/Berlin"));
    *day = local.date();
    return Dayplex::toDate(local.date()) + local.time().msecsSinceStartOfDay() / 86400000.0;
}

// The form's reading of an already valid rule; the German reason when it has none.
QString readForm(const QHash<QString, QString> &parts, ParsedRule &rule)
{
    static const QStringList formKeys = {"FREQ", "INTERVAL", "BYDAY", "BYMONTHDAY", "BYMONTH",
                                         "BYSETPOS", "UNTIL", "COUNT", "WKST"};
    for (auto it = parts.begin(); it != parts.end(); ++it)
        if (!formKeys.contains(it.key()))
            return QStringLiteral("%1 kennt das Formular nicht").arg(it.key());
    RecurrenceRule &form = rule.form;
    const QString freq = rule.frequency;
    const QString byDay = parts.value(QStringLiteral("BYDAY"));
    const bool hasMonthDay = parts.contains(QStringLiteral("BYMONTHDAY"));
    const bool hasMonth = parts.contains(QStringLiteral("BYMONTH"));
    const bool hasSetPos = parts.contains(QStringLiteral("BYSETPOS"));
    bool ok = true;
    if (freq == QLatin1String("DAILY")) {
        form.frequency = RecurrenceRule::Frequency::Daily;
        if (!byDay.isEmpty() || hasMonthDay || hasMonth || hasSetPos)
            return QStringLiteral("eine tägliche Regel mit Einschränkungen");
    } else if (freq == QLatin1String("WEEKLY")) {
        form.frequency = RecurrenceRule::Frequency::Weekly;
        if (hasMonthDay || hasMonth || hasSetPos)
            return QStringLiteral("eine wöchentliche Regel mit Monatsangaben");
        const QString wkst = parts.value(QStringLiteral("WKST"), QStringLiteral("MO"));
        if (wkst != QLatin1String("MO") && form.interval > 1)
            return QStringLiteral("eine Woche, die nicht am Montag beginnt");
        for (const QString &day : byDay.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const auto [ordinal, weekday] = splitByDay(day);
            if (ordinal != 0)
                return QStringLiteral("ein nummerierter Wochentag in einer wöchentlichen Regel");
            if (!form.weekdays.contains(weekday))
                form.weekdays.append(weekday);
        }
        std::sort(form.weekdays.begin(), form.weekdays.end());
    } else if (freq == QLatin1String("MONTHLY") || freq == QLatin1String("YEARLY")) {
        const bool yearly = freq == QLatin1String("YEARLY");
        form.frequency = yearly ? RecurrenceRule::Frequency::Yearly
                                : RecurrenceRule::Frequency::Monthly;
        if (hasMonth != (yearly && (hasMonthDay || !byDay.isEmpty())))
            return QStringLiteral("eine Monatsangabe, die das Formular nicht kennt");
        if (hasMonth)
            form.month = singleNumber(parts.value(QStringLiteral("BYMONTH")), &ok);
        if (hasMonthDay) {
            form.monthDay = singleNumber(parts.value(QStringLiteral("BYMONTHDAY")), &ok);
            if (!byDay.isEmpty() || hasSetPos || form.monthDay < 1)
                return QStringLiteral("eine Angabe des Tages, die das Formular nicht kennt");
        } else if (!byDay.isEmpty()) {
            const auto [ordinal, weekday] = splitByDay(byDay);
            form.weekdays = {weekday};
            // Either "2TU" or "TU" with BYSETPOS=2: one weekday and one number of it.
            if (byDay.contains(QLatin1Char(',')) || hasSetPos == (ordinal != 0))
                return QStringLiteral("mehrere oder alle Wochentage im Monat");
            form.weekdayOrdinal = hasSetPos
                ? singleNumber(parts.value(QStringLiteral("BYSETPOS")), &ok) : ordinal;
            if (form.weekdayOrdinal < -1 || form.weekdayOrdinal == 0 || form.weekdayOrdinal > 5)
                return QStringLiteral("eine Angabe des Wochentags, die das Formular nicht kennt");
        } else if (hasSetPos) {
            return QStringLiteral("BYSETPOS ohne Wochentag");
        }
    } else {
        return QStringLiteral("eine Wiederholung in Stunden, Minuten oder Sekunden");
    }
    return ok ? QString() : QStringLiteral("eine Liste, wo das Formular einen Wert kennt");
}

QString every(int n, const char *one, const char *every, const char *ordinal)
{
    if (n == 1)
        return QString::fromUtf8(one);
    return QString::fromUtf8(every ? every : ordinal).arg(n);
}

QString ordinalWord(int ordinal)
{
    static const char *const words[] = {"letzten", "", "ersten", "zweiten", "dritten",
                                        "vierten", "fünften"};
    return QString::fromUtf8(words[ordinal + 1]);
}

QString dayList(const QList<int> &weekdays)
{
    QStringList names;
    for (int weekday : weekdays)
        names.append(QString::fromUtf8(kDayNames[weekday - 1]));
    const QString last = names.takeLast();
    return names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" und ") + last;
}

} // namespace

ParsedRule parseRule(const QString &rrule)
{
    QString text = rrule.trimmed().toUpper();
    if (text.startsWith(QLatin1String("RRULE:")))
        text = text.mid(6);
    QHash<QString, QString> parts;
    for (const QString &part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int equals = part.indexOf(QLatin1Char('='));
        const QString key = part.left(equals);
        if (equals <= 0 || parts.contains(key))
            throw invalid(rrule, QStringLiteral("„%1“ ist kein einzelnes Feld").arg(part));
        parts.insert(key, part.mid(equals + 1));
    }
    icalerror_clear_errno();
    const icalrecurrencetype ical = icalrecurrencetype_from_string(text.toLatin1().constData());
    if (ical.freq == ICAL_NO_RECURRENCE || !parts.contains(QStringLiteral("FREQ")))
        throw invalid(rrule, QStringLiteral("Häufigkeit, Abstand oder ein Feld fehlt oder ist falsch"));
    ParsedRule rule;
    rule.frequency = parts.value(QStringLiteral("FREQ"));
    rule.interval = ical.interval;
    rule.form.interval = ical.interval;
    bool ok = true;
    if (parts.contains(QStringLiteral("COUNT"))) {
        rule.count = parts.value(QStringLiteral("COUNT")).toLongLong(&ok);
        if (!ok || rule.count < 1 || rule.count > std::numeric_limits<int>::max())
            throw invalid(rrule, QStringLiteral("COUNT muss zwischen 1 und 2147483647 liegen"));
        rule.form.count = int(rule.count);
    }
    if (parts.contains(QStringLiteral("UNTIL"))) {
        if (rule.count > 0)
            throw invalid(rrule, QStringLiteral("COUNT und UNTIL schließen einander aus"));
        rule.untilBound = untilBoundOf(parts.value(QStringLiteral("UNTIL")), &rule.form.until);
        if (!Dayplex::isValidDate(rule.untilBound))
            throw invalid(rrule, QStringLiteral("UNTIL ist kein Datum"));
    }
    rule.notForm = readForm(parts, rule);
    rule.formRule = rule.notForm.isEmpty();
    return rule;
}

bool RecurrenceRule::operator==(const RecurrenceRule &other) const
{
    return frequency == other.frequency && interval == other.interval
        && weekdays == other.weekdays && weekdayOrdinal == other.weekdayOrdinal
        && monthDay == other.monthDay && month == other.month && until == other.until
        && count == other.count;
}

/*!
    The RRULE value: FREQ, then INTERVAL above 1, BYMONTH, BYMONTHDAY or BYDAY (the n-th
    weekday as "2TU"), then UNTIL as a date or COUNT. Weekdays are written Monday first.
*/
QString RecurrenceRule::toRRule() const
{
    static const char *const freqs[] = {"DAILY", "WEEKLY", "MONTHLY", "YEARLY"};
    QStringList parts{QStringLiteral("FREQ=") + QLatin1String(freqs[int(frequency)])};
    if (interval > 1)
        parts.append(QStringLiteral("INTERVAL=%1").arg(interval));
    const bool monthly = frequency == Frequency::Monthly || frequency == Frequency::Yearly;
    if (frequency == Frequency::Yearly && month > 0)
        parts.append(QStringLiteral("BYMONTH=%1").arg(month));
    QList<int> days = weekdays;
    std::sort(days.begin(), days.end());
    if (monthly && weekdayOrdinal != 0 && !days.isEmpty())
        parts.append(QStringLiteral("BYDAY=%1%2").arg(weekdayOrdinal).arg(kDayCodes[days.first() - 1]));
    else if (monthly && monthDay > 0)
        parts.append(QStringLiteral("BYMONTHDAY=%1").arg(monthDay));
    if (frequency == Frequency::Weekly && !days.isEmpty()) {
        QStringList codes;
        for (int day : days)
            codes.append(QLatin1String(kDayCodes[day - 1]));
        parts.append(QStringLiteral("BYDAY=") + codes.join(QLatin1Char(',')));
    }
    if (until.isValid())
        parts.append(QStringLiteral("UNTIL=") + until.toString(QStringLiteral("yyyyMMdd")));
    else if (count > 0)
        parts.append(QStringLiteral("COUNT=%1").arg(count));
    return parts.join(QLatin1Char(';'));
}

/*!
    Reads \a rrule as the form shows it. Throws RecurrenceError with a German message for a
    value that is not a rule at all and for one beyond the form (hourly rules, lists of
    month days, BYSETPOS other than one weekday's, ...). An UNTIL with a time keeps its day.
*/
RecurrenceRule RecurrenceRule::fromRRule(const QString &rrule)
{
    const ParsedRule rule = parseRule(rrule);
    if (!rule.formRule)
        throw RecurrenceError(
            QStringLiteral("Die Wiederholungsregel „%1“ lässt sich im Formular nicht bearbeiten: %2.")
                .arg(rrule, rule.notForm));
    return rule.form;
}

/*!
    The rule in German words ("alle 2 Wochen am Montag und Donnerstag, bis 31.12.2027"). A
    rule beyond the form is named by its frequency and "nach besonderer Regel"; an invalid one
    as such; an empty one as no repetition. Never throws.
*/
QString RecurrenceRule::describe(const QString &rrule)
{
    if (rrule.trimmed().isEmpty())
        return QStringLiteral("keine Wiederholung");
    ParsedRule rule;
    try {
        rule = parseRule(rrule);
    } catch (const RecurrenceError &) {
        return QStringLiteral("ungültige Wiederholungsregel");
    }
    const RecurrenceRule &form = rule.form;
    const int n = rule.interval;
    QString text;
    if (rule.frequency == QLatin1String("DAILY"))
        text = every(n, "täglich", "alle %1 Tage", nullptr);
    else if (rule.frequency == QLatin1String("WEEKLY"))
        text = every(n, "wöchentlich", "alle %1 Wochen", nullptr);
    else if (rule.frequency == QLatin1String("MONTHLY"))
        text = every(n, "monatlich", nullptr, "jeden %1. Monat");
    else if (rule.frequency == QLatin1String("YEARLY"))
        text = every(n, "jährlich", nullptr, "jedes %1. Jahr");
    else if (rule.frequency == QLatin1String("HOURLY"))
        text = every(n, "stündlich", "alle %1 Stunden", nullptr);
    else if (rule.frequency == QLatin1String("MINUTELY"))
        text = every(n, "minütlich", "alle %1 Minuten", nullptr);
    else
        text = every(n, "sekündlich", "alle %1 Sekunden", nullptr);
    if (!rule.formRule) {
        text += QStringLiteral(" nach besonderer Regel");
    } else if (form.weekdayOrdinal != 0) {
        text += QStringLiteral(" am %1 %2").arg(ordinalWord(form.weekdayOrdinal),
                                                QString::fromUtf8(kDayNames[form.weekdays.first() - 1]));
        if (form.month > 0)
            text += QStringLiteral(" im ") + QString::fromUtf8(kMonthNames[form.month - 1]);
    } else if (form.month > 0) {
        text += QStringLiteral(" am %1. %2").arg(form.monthDay).arg(QString::fromUtf8(kMonthNames[form.month - 1]));
    } else if (form.monthDay > 0) {
        text += QStringLiteral(" am %1.").arg(form.monthDay);
    } else if (!form.weekdays.isEmpty()) {
        text += QStringLiteral(" am ") + dayList(form.weekdays);
    }
    if (form.until.isValid())
        text += QStringLiteral(", bis ") + form.until.toString(QStringLiteral("dd.MM.yyyy"));
    else if (rule.count > 0)
        text += QStringLiteral(", %1-mal").arg(rule.count);
    return text;
}

} // namespace Terminplaner

#include "seriesfields.h"

#include <QStringList>
#include <cmath>

namespace Terminplaner {

namespace {

constexpr Dayplex::Date kHalfSecond = Dayplex::kOneSecond / 2;
const QStringList kWeekdays{"MO", "TU", "WE", "TH", "FR", "SA", "SU"};

QString part(const QStringList &parts, const QString &name)
{
    for (const QString &p : parts)
        if (p.section(QLatin1Char('='), 0, 0).compare(name, Qt::CaseInsensitive) == 0)
            return p.section(QLatin1Char('='), 1);
    return QString();
}

QStringList withPart(QStringList parts, const QString &name, const QString &value)
{
    parts.erase(std::remove_if(parts.begin(), parts.end(),
                               [&name](const QString &p) {
                                   return p.section(QLatin1Char('='), 0, 0).compare(name, Qt::CaseInsensitive) == 0;
                               }),
                parts.end());
    if (!value.isEmpty())
        parts.append(name + QLatin1Char('=') + value);
    return parts;
}

QString untilText(Dayplex::Date value)
{
    const Dayplex::Date rounded = std::round(value * 86400.0) / 86400.0;
    return Dayplex::toQDate(rounded).toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('T')
           + Dayplex::toQTime(rounded).toString(QStringLiteral("HHmmss"));
}

// The rule's own occurrences before start, those taken out included: what a COUNT counts.
int ruleCountBefore(const Appointment &series, Dayplex::Date start)
{
    const SeriesPattern rule{series.start, series.end - series.start, series.allDay, series.rrule, {}, {}};
    const QVector<Dayplex::Date> starts = occurrenceStarts(rule, Dayplex::kMinDate, start);
    return int(std::count_if(starts.begin(), starts.end(), [start](Dayplex::Date s) { return s < start - kHalfSecond; }));
}

} // namespace

SeriesPattern seriesPattern(const Appointment &a)
{
    return {a.start, a.end - a.start, a.allDay, a.rrule, a.rdates, a.exdates};
}

std::pair<Dayplex::Date, Dayplex::Date> daysTouched(const Appointment &a)
{
    if (!a.isSeries())
        return {a.start, a.end};
    const Dayplex::Date last = seriesLastEnd(seriesPattern(a));
    Dayplex::Date first = a.start;
    for (Dayplex::Date d : a.rdates)
        first = std::min(first, d);
    return {first, last == 0 ? Dayplex::kMaxDate - 1 : std::max(last, a.end)};
}

QString ruleEndingBefore(const Appointment &series, Dayplex::Date start)
{
    if (series.rrule.isEmpty())
        return QString();
    QStringList parts = series.rrule.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (!part(parts, QStringLiteral("COUNT")).isEmpty())
        return withPart(parts, QStringLiteral("COUNT"), QString::number(ruleCountBefore(series, start)))
            .join(QLatin1Char(';'));
    return withPart(parts, QStringLiteral("UNTIL"), untilText(start - Dayplex::kOneSecond)).join(QLatin1Char(';'));
}

QString ruleFrom(const Appointment &series, Dayplex::Date start, Dayplex::Date offset)
{
    if (series.rrule.isEmpty())
        return QString();
    QStringList parts = series.rrule.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const QString count = part(parts, QStringLiteral("COUNT"));
    if (!count.isEmpty())
        parts = withPart(parts, QStringLiteral("COUNT"),
                         QString::number(std::max(1, count.toInt() - ruleCountBefore(series, start))));
    return shiftedRule(parts.join(QLatin1Char(';')), start, offset);
}

QString shiftedRule(const QString &rrule, Dayplex::Date from, Dayplex::Date offset)
{
    if (rrule.isEmpty() || std::abs(offset) < kHalfSecond)
        return rrule;
    QStringList parts = rrule.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const QString until = part(parts, QStringLiteral("UNTIL"));
    if (!until.isEmpty()) {
        const QDate day = QDate::fromString(until.left(8), QStringLiteral("yyyyMMdd"));
        const QTime time = QTime::fromString(until.mid(9, 6), QStringLiteral("HHmmss"));
        if (day.isValid() && until.size() == 8) {
            const qint64 days = qint64(std::floor(from + offset) - std::floor(from));
            parts = withPart(parts, QStringLiteral("UNTIL"), day.addDays(days).toString(QStringLiteral("yyyyMMdd")));
        } else if (day.isValid() && time.isValid()) {
            const QString moved = untilText(Dayplex::toDate(day) + Dayplex::toTimeOfDay(time) + offset);
            parts = withPart(parts, QStringLiteral("UNTIL"), until.endsWith(QLatin1Char('Z')) ? moved + 'Z' : moved);
        }
    }
    const int days = int(std::floor(from + offset) - std::floor(from));
    const QString byDay = part(parts, QStringLiteral("BYDAY"));
    if (days % 7 != 0 && !byDay.isEmpty()
        && part(parts, QStringLiteral("FREQ")).compare(QLatin1String("WEEKLY"), Qt::CaseInsensitive) == 0) {
        QStringList moved;
        for (const QString &token : byDay.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const int index = kWeekdays.indexOf(token.toUpper());
            // A weekday with an ordinal ("1MO") is not a plain day of the week; it stays.
            moved.append(index < 0 ? token : kWeekdays.at(((index + days) % 7 + 7) % 7));
        }
        parts = withPart(parts, QStringLiteral("BYDAY"), moved.join(QLatin1Char(',')));
    }
    return parts.join(QLatin1Char(';'));
}

QList<Dayplex::Date> datesBefore(const QList<Dayplex::Date> &list, Dayplex::Date start)
{
    QList<Dayplex::Date> result;
    for (Dayplex::Date d : list)
        if (d < start - kHalfSecond)
            result.append(d);
    return result;
}

QList<Dayplex::Date> datesFrom(const QList<Dayplex::Date> &list, Dayplex::Date start, Dayplex::Date offset)
{
    QList<Dayplex::Date> result;
    for (Dayplex::Date d : list)
        if (d >= start - kHalfSecond)
            result.append(d + offset);
    return result;
}

} // namespace Terminplaner

// Expanding a series for the range a view asks for. The form's rules (daily, weekly on days,
// the n-th day or weekday of a month or of a year's month) are counted out directly: libical
// needs 4 µs for each step on the machines we measured, 30-40 µs for one week of a daily
// series, and its jump ahead walks every week from the start for a two-weekly rule. Every
// other rule goes through libical. Both work in floating local time; the spring gap of
// Europe/Berlin is applied to the result.
#include "civildays.h"
#include "recurrencerules.h"

#include <QDateTime>
#include <QHash>
#include <QLoggingCategory>
#include <QTimeZone>

#include <libical/ical.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

Q_LOGGING_CATEGORY(lcRecurrence, "terminplaner.recurrence")

namespace Terminplaner {

namespace {

using Dayplex::Date;
using Dayplex::kOneSecond;

constexpr int kLibicalLastYear = 2582; // libical stops its iterators after this year
constexpr int kLibicalSteps = 100000; // libical steps one expansion may take (about 0.4 s)
constexpr qint64 kMaxPeriods = 4000000; // more than the days from 0100 to 9999
constexpr Date kLongestGap = 2.0 / 24; // the double summer time of 1945 skipped two hours

// A day number back to its date (the inverse of dayNumber).
struct Civil { qint64 year; int month; int day; };

Civil civilOf(qint64 day)
{
    const qint64 z = day - kEpochShift + 719468;
    const qint64 era = floorDiv(z, 146097);
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    const int month = int(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (month <= 2), month, int(doy - (153 * mp + 2) / 5 + 1)};
}

// 1 = Monday ... 7 = Sunday; day 0 was a Saturday.
int isoWeekday(qint64 day) { return int(day + 5 - floorDiv(day + 5, 7) * 7) + 1; }

Date valueOf(qint64 day, int seconds) { return Date(day) + seconds / 86400.0; }

// The spring gaps of Europe/Berlin as local start and length: from the zone data up to 2100,
// after that the European rule (last Sunday of March, 02:00, one hour) as the zone data has it.
struct Gap { Date start; Date length; };
constexpr int kGapTableEnd = 2100;

const std::vector<Gap> &tabledGaps()
{
    static const std::vector<Gap> gaps = [] {
        std::vector<Gap> list;
        const QTimeZone berlin("Europe/Berlin");
        if (!berlin.isValid()) {
            qCWarning(lcRecurrence) << "no zone data for Europe/Berlin; spring gaps only by rule";
            return list;
        }
        const auto transitions = berlin.transitions(QDateTime(QDate(1890, 1, 1), QTime(0, 0), QTimeZone::utc()),
                                                    QDateTime(QDate(kGapTableEnd + 1, 1, 1), QTime(0, 0), QTimeZone::utc()));
        int previous = berlin.offsetFromUtc(QDateTime(QDate(1890, 1, 1), QTime(0, 0), QTimeZone::utc()));
        for (const auto &transition : transitions) {
            if (transition.offsetFromUtc > previous) {
                const QDateTime local = transition.atUtc.addSecs(previous).toUTC();
                list.push_back({valueOf(dayNumber(local.date().year(), local.date().month(), local.date().day()),
                                        local.time().msecsSinceStartOfDay() / 1000),
                                (transition.offsetFromUtc - previous) / 86400.0});
            }
            previous = transition.offsetFromUtc;
        }
        return list;
    }();
    return gaps;
}

// A start inside a spring gap moves forward by the gap's length.
Date outOfGap(Date start)
{
    const qint64 day = qint64(std::floor(start));
    const Civil civil = civilOf(day);
    if (civil.year > kGapTableEnd) {
        const qint64 lastOfMarch = dayNumber(civil.year, 3, 31);
        const Date gap = valueOf(lastOfMarch - isoWeekday(lastOfMarch) % 7, 7200);
        return start >= gap && start < gap + 1.0 / 24 ? start + 1.0 / 24 : start;
    }
    const std::vector<Gap> &gaps = tabledGaps();
    auto after = std::upper_bound(gaps.begin(), gaps.end(), start,
                                  [](Date value, const Gap &gap) { return value < gap.start; });
    if (after == gaps.begin())
        return start;
    const Gap &gap = *(after - 1);
    return start < gap.start + gap.length ? start + gap.length : start;
}

// A series made ready: the all-day rules applied, the rule read.
struct Series
{
    Date start = 0;
    double duration = 0;
    qint64 startDay = 0;
    int seconds = 0; // the start's time of day, whole seconds
    QString rrule;
    ParsedRule rule;
    QList<Date> rdates;
    QList<Date> exdates;
    bool allDay = false;

    // The starts that need no rule: the rdates and the start itself.
    QList<Date> ownStarts() const
    {
        QList<Date> starts = rdates;
        starts.append(start);
        return starts;
    }
};

// A view's range reads the same few rules for hundreds of series on every refresh; reading
// one takes longer than expanding it for a week. Only rules that read well are kept.
const ParsedRule &cachedRule(const QString &rrule)
{
    constexpr int kKeptRules = 4096;
    thread_local QHash<QString, ParsedRule> kept;
    const auto found = kept.constFind(rrule);
    if (found != kept.constEnd())
        return *found;
    ParsedRule rule = parseRule(rrule);
    if (kept.size() >= kKeptRules)
        kept.clear();
    return *kept.insert(rrule, std::move(rule));
}

Date checkedDate(Date value, const char *what)
{
    if (!Dayplex::isValidDate(value))
        throw RecurrenceError(QStringLiteral("Die Serie hat ein ungültiges Datum (%1).").arg(QLatin1String(what)));
    return value;
}

Series prepare(const SeriesPattern &pattern)
{
    Series series;
    series.allDay = pattern.allDay;
    series.start = checkedDate(pattern.start, "Beginn");
    if (!std::isfinite(pattern.duration) || pattern.duration < 0 || pattern.duration > 36525)
        throw RecurrenceError(QStringLiteral("Die Dauer der Serie ist ungültig."));
    series.duration = pattern.duration;
    for (Date rdate : pattern.rdates)
        series.rdates.append(checkedDate(rdate, "weiterer Termin"));
    for (Date exdate : pattern.exdates)
        series.exdates.append(checkedDate(exdate, "ausgenommener Termin"));
    if (pattern.allDay) {
        // Whole days from midnight; the dates lists name days.
        series.start = std::floor(series.start);
        series.duration = std::max(1.0, std::round(series.duration));
        for (Date &rdate : series.rdates)
            rdate = std::floor(rdate);
        for (Date &exdate : series.exdates)
            exdate = std::floor(exdate);
    }
    series.startDay = qint64(std::floor(series.start));
    series.seconds = int(std::lround((series.start - series.startDay) * 86400));
    if (series.seconds == 86400) {
        ++series.startDay;
        series.seconds = 0;
    }
    series.start = valueOf(series.startDay, series.seconds);
    series.rrule = pattern.rrule.trimmed();
    if (!series.rrule.isEmpty())
        series.rule = cachedRule(series.rrule);
    return series;
}

// The form's rules counted out period by period: days (daily), weeks from the start's Monday
// (weekly) or months (monthly, and yearly as every twelfth month).
class DirectRule
{
public:
    DirectRule(const Series &series)
        : m_series(series)
    {
        const RecurrenceRule &form = series.rule.form;
        const Civil start = civilOf(series.startDay);
        m_step = series.rule.interval;
        switch (form.frequency) {
        case RecurrenceRule::Frequency::Daily:
            m_kind = Kind::Daily;
            m_base = series.startDay;
            break;
        case RecurrenceRule::Frequency::Weekly:
            m_kind = Kind::Weekly;
            m_base = series.startDay - isoWeekday(series.startDay) + 1;
            for (int weekday = 1; weekday <= 7; ++weekday)
                if (form.weekdays.contains(weekday)
                    || (form.weekdays.isEmpty() && weekday == isoWeekday(series.startDay)))
                    m_offsets[m_dayCount++] = weekday - 1;
            break;
        case RecurrenceRule::Frequency::Monthly:
        case RecurrenceRule::Frequency::Yearly: {
            m_kind = Kind::Monthly;
            const bool yearly = form.frequency == RecurrenceRule::Frequency::Yearly;
            m_step *= yearly ? 12 : 1;
            m_base = start.year * 12 + (yearly && form.month > 0 ? form.month : start.month) - 1;
            m_ordinal = form.weekdayOrdinal;
            m_weekday = m_ordinal != 0 ? form.weekdays.value(0, 1) : 0;
            m_monthDay = form.monthDay > 0 || m_ordinal != 0 ? form.monthDay : start.day;
            // Days 29 to 31 and fifth weekdays are missing in some months.
            m_regular = m_ordinal != 0 ? m_ordinal <= 4 : m_monthDay <= 28;
            break;
        }
        }
        std::array<qint64, 7> days{};
        const int n = daysOf(0, days);
        for (int i = 0; i < n; ++i)
            m_firstCount += valueOf(days[i], series.seconds) >= series.start;
    }

    // Calls take(start) for the rule's starts from the period that holds lowest on, in order,
    // until take answers false, the rule ends, or the starts pass last.
    void walk(Date lowest, Date last, const std::function<bool(Date)> &take) const
    {
        const ParsedRule &rule = m_series.rule;
        last = std::min({last, rule.untilBound, Dayplex::kMaxDate});
        const bool counting = rule.count > 0;
        qint64 period = (counting && !m_regular) ? 0 : std::max<qint64>(0, periodOf(lowest) - 1);
        qint64 index = counting ? firstIndex(period) : 0;
        std::array<qint64, 7> days{};
        for (;; ++period) {
            if (periodStart(period) > last)
                return;
            const int n = daysOf(period, days);
            for (int i = 0; i < n; ++i) {
                const Date value = valueOf(days[i], m_series.seconds);
                if (value < m_series.start)
                    continue;
                if ((counting && index >= rule.count) || value > last)
                    return;
                ++index;
                if (value >= lowest && !take(value))
                    return;
            }
        }
    }

    // The latest start at or before last (-infinity when there is none), ignoring exdates
    // that take out later ones.
    Date lastStart(Date last, const QList<Date> &exdates) const
    {
        const ParsedRule &rule = m_series.rule;
        last = std::min({last, rule.untilBound, Dayplex::kMaxDate});
        if (rule.count > 0 && m_regular)
            last = std::min(last, Date(periodStart(std::min<qint64>(periodOfIndex(rule.count - 1) + 1, kMaxPeriods))));
        Date span = (m_kind == Kind::Monthly ? 31.0 : m_kind == Kind::Weekly ? 7.0 : 1.0) * m_step + 1;
        for (;;) {
            const Date lowest = std::max(m_series.start, last - span);
            Date found = -std::numeric_limits<double>::infinity();
            walk(lowest, last, [&](Date value) {
                if (!std::any_of(exdates.begin(), exdates.end(),
                                 [value](Date ex) { return std::abs(ex - value) < kOneSecond; }))
                    found = value;
                return true;
            });
            if (std::isfinite(found) || lowest <= m_series.start)
                return found;
            span *= 2;
        }
    }

private:
    enum class Kind { Daily, Weekly, Monthly };

    qint64 periodOf(Date value) const
    {
        const qint64 day = qint64(std::floor(std::clamp(value, Dayplex::kMinDate, Dayplex::kMaxDate)));
        if (m_kind == Kind::Monthly) {
            const Civil civil = civilOf(day);
            return floorDiv(civil.year * 12 + civil.month - 1 - m_base, m_step);
        }
        return floorDiv(day - m_base, m_kind == Kind::Weekly ? 7 * m_step : m_step);
    }

    qint64 periodStart(qint64 period) const
    {
        if (m_kind != Kind::Monthly)
            return m_base + period * m_step * (m_kind == Kind::Weekly ? 7 : 1);
        const qint64 month = m_base + period * m_step;
        return dayNumber(floorDiv(month, 12), int(month - floorDiv(month, 12) * 12) + 1, 1);
    }

    // The number of starts before period (from the first on) of a rule with equal periods.
    qint64 firstIndex(qint64 period) const
    {
        return period == 0 ? 0 : m_firstCount + (period - 1) * (m_kind == Kind::Weekly ? m_dayCount : 1);
    }

    qint64 periodOfIndex(qint64 index) const
    {
        if (index < m_firstCount)
            return 0;
        return 1 + (index - m_firstCount) / (m_kind == Kind::Weekly ? m_dayCount : 1);
    }

    int daysOf(qint64 period, std::array<qint64, 7> &days) const
    {
        const qint64 first = periodStart(period);
        if (m_kind == Kind::Daily) {
            days[0] = first;
            return 1;
        }
        if (m_kind == Kind::Weekly) {
            for (int i = 0; i < m_dayCount; ++i)
                days[i] = first + m_offsets[i];
            return m_dayCount;
        }
        const Civil civil = civilOf(first);
        const int length = daysInMonth(civil.year, civil.month);
        if (m_ordinal > 0) {
            const int day = 1 + (m_weekday - isoWeekday(first) + 7) % 7 + 7 * (m_ordinal - 1);
            days[0] = first + day - 1;
            return day <= length;
        }
        if (m_ordinal < 0) {
            const qint64 lastDay = first + length - 1;
            days[0] = lastDay - (isoWeekday(lastDay) - m_weekday + 7) % 7;
            return 1;
        }
        days[0] = first + m_monthDay - 1;
        return m_monthDay <= length;
    }

    const Series &m_series;
    Kind m_kind = Kind::Daily;
    qint64 m_step = 1;
    qint64 m_base = 0; // first day (daily), Monday of the first week, or month index y*12+m-1
    std::array<int, 7> m_offsets{};
    int m_dayCount = 0;
    int m_ordinal = 0;
    int m_weekday = 0;
    int m_monthDay = 0;
    bool m_regular = true;
    qint64 m_firstCount = 0; // starts in the first period from the series' start on
};

icaltimetype icalTime(Date value)
{
    const qint64 day = qint64(std::floor(value));
    const int seconds = int(std::lround((value - day) * 86400));
    const Civil civil = civilOf(day + seconds / 86400);
    icaltimetype time = icaltime_null_time();
    time.year = int(civil.year);
    time.month = civil.month;
    time.day = civil.day;
    time.hour = seconds % 86400 / 3600;
    time.minute = seconds % 3600 / 60;
    time.second = seconds % 60;
    return time;
}

Date valueOf(const icaltimetype &time)
{
    return valueOf(dayNumber(time.year, time.month, time.day),
                   time.hour * 3600 + time.minute * 60 + time.second);
}

// Any rule through libical, from the start or, without COUNT, jumping to lowest.
void walkLibical(const Series &series, Date lowest, Date last, const std::function<bool(Date)> &take)
{
    icalrecurrencetype rule = icalrecurrencetype_from_string(series.rrule.toUpper().toLatin1().constData());
    if (std::isfinite(series.rule.untilBound))
        rule.until = icalTime(series.rule.untilBound);
    if (civilOf(series.startDay).year > kLibicalLastYear)
        return;
    const std::unique_ptr<icalrecur_iterator, void (*)(icalrecur_iterator *)> iterator(
        icalrecur_iterator_new(rule, icalTime(series.start)), icalrecur_iterator_free);
    if (!iterator) {
        // A rule that can never match (the 30th of February) or that libical cannot start.
        qCWarning(lcRecurrence) << "libical expands no starts of" << series.rrule;
        return;
    }
    // libical keeps the phase of an hourly, minutely or secondly interval wrong after a jump.
    const bool subDay = rule.freq < ICAL_DAILY_RECURRENCE && rule.interval > 1;
    if (rule.count == 0 && !subDay && lowest > series.start)
        icalrecur_iterator_set_start(iterator.get(), icalTime(std::min(lowest, valueOf(dayNumber(kLibicalLastYear, 12, 31), 0))));
    for (int step = 0;; ++step) {
        if (step == kLibicalSteps)
            throw RecurrenceError(QStringLiteral("Die Wiederholungsregel „%1“ hat bis zu diesem Zeitraum "
                                                 "zu viele Termine, um sie auszurechnen.").arg(series.rrule));
        const icaltimetype next = icalrecur_iterator_next(iterator.get());
        if (icaltime_is_null_time(next))
            return;
        const Date value = valueOf(next);
        if (value > last)
            return;
        if (value >= lowest && !take(value))
            return;
    }
}

bool excluded(const Series &series, Date nominal, Date moved)
{
    return std::any_of(series.exdates.begin(), series.exdates.end(), [&](Date ex) {
        return std::abs(ex - nominal) < kOneSecond || std::abs(ex - moved) < kOneSecond;
    });
}

} // namespace

/*!
    The local starts of the occurrences of \a pattern that touch [\a from, \a to): a start
    before \a to whose occurrence ends after \a from, or a zero-length one at \a from or later.
    The series' start and its rdates are occurrences; exdates take out starts within a second,
    before or after the spring gap moved them. An all-day series starts at midnight and lasts
    whole days (at least one). Throws RecurrenceError for a rule that cannot be read, for an
    invalid date in the pattern or the range, and for a libical rule with more than 100,000
    steps before the range.
*/
QVector<Date> occurrenceStarts(const SeriesPattern &pattern, Date from, Date to, int limit)
{
    if (std::isnan(from) || std::isnan(to))
        throw RecurrenceError(QStringLiteral("Der Zeitraum der Serie ist ungültig."));
    const Series series = prepare(pattern);
    from = std::clamp(from, Dayplex::kMinDate, Dayplex::kMaxDate + 1);
    to = std::clamp(to, Dayplex::kMinDate, Dayplex::kMaxDate + 1);
    if (limit <= 0 || !(from < to))
        return {};
    // A start up to the longest gap before its moved place, and up to the duration before from.
    const Date lowest = from - series.duration - (series.allDay ? 0 : kLongestGap);
    const Date last = std::nextafter(to, -1.0);
    QVector<Date> nominal;
    const auto take = [&](Date value) {
        nominal.append(value);
        return nominal.size() <= limit + series.exdates.size() + 1;
    };
    if (!series.rrule.isEmpty()) {
        if (series.rule.formRule)
            DirectRule(series).walk(lowest, last, take);
        else
            walkLibical(series, lowest, last, take);
    }
    for (Date value : series.ownStarts())
        if (value >= lowest && value <= last)
            nominal.append(value);
    QVector<Date> starts;
    for (Date value : nominal) {
        const Date moved = series.allDay ? value : outOfGap(value);
        if (moved < to && (moved + series.duration > from || moved >= from) && !excluded(series, value, moved))
            starts.append(moved);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end(),
                             [](Date a, Date b) { return b - a < kOneSecond; }),
                 starts.end());
    if (starts.size() > limit)
        starts.resize(limit);
    return starts;
}


/*!
    The end of the last occurrence, or 0 for a rule without COUNT or UNTIL. Starts after
    9999-12-31 do not count; exdates are respected.
*/
Date seriesLastEnd(const SeriesPattern &pattern)
{
    const Series series = prepare(pattern);
    const ParsedRule &rule = series.rule;
    if (!series.rrule.isEmpty() && rule.count == 0 && !std::isfinite(rule.untilBound))
        return 0;
    Date last = -std::numeric_limits<double>::infinity();
    for (Date value : series.ownStarts())
        if (!excluded(series, value, value))
            last = std::max(last, value);
    if (rule.formRule) {
        last = std::max(last, DirectRule(series).lastStart(Dayplex::kMaxDate, series.exdates));
    } else if (!series.rrule.isEmpty()) {
        walkLibical(series, series.start, Dayplex::kMaxDate, [&](Date value) {
            if (!excluded(series, value, value))
                last = std::max(last, value);
            return true;
        });
    }
    if (!std::isfinite(last))
        last = series.start;
    return (series.allDay ? last : outOfGap(last)) + series.duration;
}

/*!
    True when \a start is the start of an occurrence of \a pattern, within a second.
*/
bool isOccurrence(const SeriesPattern &pattern, Date start)
{
    if (!Dayplex::isValidDate(start))
        return false;
    const QVector<Date> starts = occurrenceStarts(pattern, start - kOneSecond, start + 1.5 * kOneSecond);
    return std::any_of(starts.begin(), starts.end(),
                       [start](Date value) { return std::abs(value - start) <= kOneSecond; });
}

/*!
    The first start on or after \a start that \a rrule itself gives, at the time of day of
    \a start; \a start when the rule gives none within ten years. A series made in the form
    begins on a day of its rule, so its first day is never an extra one.
*/
Date firstStartOnRule(const QString &rrule, Date start)
{
    // A rule that names no days takes them from its start, which is then on the rule.
    const QString upper = rrule.toUpper();
    if (!upper.contains(QLatin1String("BYDAY")) && !upper.contains(QLatin1String("BYMONTHDAY"))
        && !upper.contains(QLatin1String("BYYEARDAY")) && !upper.contains(QLatin1String("BYWEEKNO")))
        return start;
    // The day before is the pattern's own start, which always counts; what follows it is the rule's.
    SeriesPattern probe;
    probe.start = start - 1.0;
    probe.rrule = rrule;
    const QVector<Date> starts = occurrenceStarts(probe, start - 0.5 * kOneSecond, start + 3660.0, 1);
    return starts.isEmpty() ? start : starts.first();
}

} // namespace Terminplaner

#include <dayplex/dates.h>

#include "shared/clock.h"

#include <cmath>
#include <limits>

namespace Dayplex {

namespace {

constexpr qint64 kJulianDayOfZero = 2415019; // 1899-12-30
constexpr qint64 kMsPerDay = 86400000;

// Splits a valid date into whole day and milliseconds of the day, rounded to the millisecond.
// A value that rounds up to the next midnight belongs to the next day; the very last moment of
// 9999-12-31 stays on that day rather than rolling into a year no one can enter.
void split(Date value, qint64 &day, int &ms)
{
    const double whole = std::floor(value);
    qint64 d = qint64(whole);
    qint64 m = qint64(std::nearbyint((value - whole) * double(kMsPerDay)));
    if (m >= kMsPerDay) {
        if (double(d + 1) >= kMaxDate) {
            m = kMsPerDay - 1;
        } else {
            ++d;
            m -= kMsPerDay;
        }
    }
    day = d;
    ms = int(m);
}

} // namespace

bool isValidDate(Date value)
{
    return std::isfinite(value) && value >= kMinDate && value < kMaxDate;
}

// An invalid QDate, QDateTime or QTime gives NaN, which every reader treats as an invalid date.
Date toDate(QDate date)
{
    if (!date.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    return double(date.toJulianDay() - kJulianDayOfZero);
}

Date toDate(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    const QDateTime local =
        dateTime.timeSpec() == Qt::LocalTime ? dateTime : dateTime.toLocalTime();
    return toDate(local.date()) + toTimeOfDay(local.time());
}

Date toTimeOfDay(QTime time)
{
    if (!time.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    return double(time.msecsSinceStartOfDay()) / double(kMsPerDay);
}

QDate toQDate(Date value)
{
    if (!isValidDate(value))
        return QDate();
    qint64 day;
    int ms;
    split(value, day, ms);
    return QDate::fromJulianDay(day + kJulianDayOfZero);
}

QTime toQTime(Date value)
{
    if (!isValidDate(value))
        return QTime();
    qint64 day;
    int ms;
    split(value, day, ms);
    return QTime::fromMSecsSinceStartOfDay(ms);
}

// Built from date and time separately, so the wall-clock reading survives daylight saving days;
// only a time inside the spring gap is moved by QDateTime.
QDateTime toQDateTime(Date value)
{
    if (!isValidDate(value))
        return QDateTime();
    return QDateTime(toQDate(value), toQTime(value), Qt::LocalTime);
}

namespace {
Date fixedNow = 0;
}

void setCurrentDateTimeForTesting(Date now)
{
    fixedNow = now;
}

Date currentDateTime()
{
    return fixedNow != 0 ? fixedNow : toDate(QDateTime::currentDateTime());
}

Date currentDate()
{
    return std::floor(currentDateTime());
}

// 0 for an invalid date.
int weekdayNumber(Date value)
{
    const QDate date = toQDate(value);
    if (!date.isValid())
        return 0;
    return date.dayOfWeek() % 7 + 1; // Qt counts Monday 1 ... Sunday 7
}

} // namespace Dayplex

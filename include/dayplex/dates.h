#ifndef DAYPLEX_DATES_H
#define DAYPLEX_DATES_H

#include <dayplex/dayplex_export.h>

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace Dayplex {

/// An automation date: days since 1899-12-30, the time of day as the fraction. Dates are local
/// wall-clock times; no conversion ever goes through UTC offsets. The whole-day part is the floor
/// of the value, so the fraction is the time of day for dates before 1899-12-30 as well.
using Date = double;

constexpr Date kMinDate = -657434.0; ///< 0100-01-01, the first valid date.
constexpr Date kMaxDate = 2958466.0; ///< 9999-12-31 (exclusive end: 10000-01-01 00:00).
constexpr Date kOneMinute = 1.0 / 1440.0; ///< One minute as a duration.
constexpr Date kOneSecond = 1.0 / 86400.0; ///< One second as a duration.

/// True for a finite value from 0100-01-01 up to the end of 9999-12-31.
DAYPLEX_EXPORT bool isValidDate(Date value);

/// The date at 00:00.
DAYPLEX_EXPORT Date toDate(QDate date);
/// The local wall-clock date and time of \a dateTime.
DAYPLEX_EXPORT Date toDate(const QDateTime &dateTime);
/// The time of day as a duration value below 1.
DAYPLEX_EXPORT Date toTimeOfDay(QTime time);

/// The day of \a value, rounded to the millisecond first; invalid for an invalid date.
DAYPLEX_EXPORT QDate toQDate(Date value);
/// The time of day of \a value, rounded to the millisecond; invalid for an invalid date.
DAYPLEX_EXPORT QTime toQTime(Date value);
/// The date and time of \a value in Qt::LocalTime, rounded to the millisecond; invalid for an
/// invalid date.
DAYPLEX_EXPORT QDateTime toQDateTime(Date value);

/// The current local date and time.
DAYPLEX_EXPORT Date currentDateTime();
/// Today at 00:00.
DAYPLEX_EXPORT Date currentDate();

/// Weekday number with Sunday first: 1 = Sunday ... 7 = Saturday.
DAYPLEX_EXPORT int weekdayNumber(Date value);

} // namespace Dayplex

#endif

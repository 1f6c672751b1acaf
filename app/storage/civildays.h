#ifndef TERMINPLANER_CIVILDAYS_H
#define TERMINPLANER_CIVILDAYS_H

// Whole days of the proleptic Gregorian calendar counted as automation dates do (day 0 is
// 1899-12-30), without QDate's tables and checks: the series expansion and the reading of
// stored dates do this for every row.
#include <QtGlobal>

namespace Terminplaner {

constexpr qint64 kEpochShift = 25569; // 1970-01-01 in days since 1899-12-30

constexpr qint64 floorDiv(qint64 a, qint64 b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days since 1899-12-30 of a date (H. Hinnant's algorithm).
constexpr qint64 dayNumber(qint64 y, int m, int d)
{
    y -= m <= 2;
    const qint64 era = floorDiv(y, 400);
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468 + kEpochShift;
}

inline int daysInMonth(qint64 y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

} // namespace Terminplaner

#endif

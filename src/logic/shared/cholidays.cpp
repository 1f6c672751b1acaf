#include "cholidays.h"

#include <dayplex/error.h>

#include <algorithm>

namespace Dayplex {

namespace {

constexpr int kFirstYear = 1583; // the first whole Gregorian year
constexpr int kLastYear = 9999;

} // namespace

// Anonymous Gregorian computus (Meeus/Jones/Butcher). Invalid outside 1583..9999.
QDate cHolidays::easterSunday(int year)
{
    if (year < kFirstYear || year > kLastYear)
        return QDate();
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

bool cHolidays::CalculateForRange(Date start, Date end)
{
    const int firstYear = toQDate(start).year();
    const int lastYear = toQDate(end).year();
    if (lastYear < kFirstYear || lastYear < firstYear)
        return false;
    Calculate(std::max(firstYear, kFirstYear), lastYear);
    return true;
}

void cHolidays::Calculate(qint32 firstYear, qint32 lastYear)
{
    if (firstYear < kFirstYear || firstYear > kLastYear || lastYear < kFirstYear
        || lastYear > kLastYear)
        throw Error(InvalidArgument,
                    QStringLiteral("Holidays: years %1 to %2 lie outside %3 to %4")
                        .arg(firstYear)
                        .arg(lastYear)
                        .arg(kFirstYear)
                        .arg(kLastYear));
    if (lastYear < firstYear)
        throw Error(InvalidArgument,
                    QStringLiteral("Holidays: the last year %1 lies before the first year %2")
                        .arg(lastYear)
                        .arg(firstYear));

    QVector<Holiday> days;
    days.reserve(9 * (lastYear - firstYear + 1));
    for (int year = firstYear; year <= lastYear; ++year) {
        const Date easter = toDate(easterSunday(year));
        const auto fixed = [year](int month, int day) { return toDate(QDate(year, month, day)); };
        // Listed in this order so that the stable sort keeps it for holidays on one day
        // (Tag der Arbeit before Christi Himmelfahrt in 2008).
        Holiday yearDays[] = {
            {fixed(1, 1), QStringLiteral("Neujahr")},
            {easter - 2, QStringLiteral("Karfreitag")},
            {easter + 1, QStringLiteral("Ostermontag")},
            {fixed(5, 1), QStringLiteral("Tag der Arbeit")},
            {easter + 39, QStringLiteral("Christi Himmelfahrt")},
            {easter + 50, QStringLiteral("Pfingstmontag")},
            {fixed(10, 3), QStringLiteral("Tag der Deutschen Einheit")},
            {fixed(12, 25), QStringLiteral("1. Weihnachtstag")},
            {fixed(12, 26), QStringLiteral("2. Weihnachtstag")},
        };
        std::stable_sort(std::begin(yearDays), std::end(yearDays),
                         [](const Holiday &x, const Holiday &y) { return x.date < y.date; });
        for (Holiday &holiday : yearDays)
            days.append(std::move(holiday));
    }
    m_days.swap(days);
}

Date cHolidays::HolidayDate(qint32 index) const
{
    if (index < 1 || index > Count())
        throw Error(IndexOutOfRange, QStringLiteral("Holidays: index %1 outside 1 to %2")
                                         .arg(index)
                                         .arg(Count()));
    return m_days.at(index - 1).date;
}

QString cHolidays::HolidayName(qint32 index) const
{
    if (index < 1 || index > Count())
        throw Error(IndexOutOfRange, QStringLiteral("Holidays: index %1 outside 1 to %2")
                                         .arg(index)
                                         .arg(Count()));
    return m_days.at(index - 1).name;
}

} // namespace Dayplex

#ifndef DAYPLEX_CHOLIDAYS_H
#define DAYPLEX_CHOLIDAYS_H

#include <dayplex/dates.h>

#include <QString>
#include <QVector>

namespace Dayplex {

// The nine nationwide German public holidays of a span of years, in date order.
class cHolidays
{
public:
    // Fills the list with the holidays of firstYear..lastYear (both included). Years outside
    // 1583..9999, or a last year before the first, throw Dayplex::Error and keep the old list.
    void Calculate(qint32 firstYear, qint32 lastYear);
    // Fills the list with the holidays of the years a filled range covers, from 1583 on; false,
    // with the old list, when it covers none of them. A range ending in an earlier year than it
    // starts covers no year: reading it as the years between filled every delivery of
    // SetFilledRange(today, 0) with a century of holidays.
    bool CalculateForRange(Date start, Date end);
    qint32 Count() const { return qint32(m_days.size()); }
    Date HolidayDate(qint32 index) const;     // 1-based; out of range throws
    QString HolidayName(qint32 index) const;  // 1-based; out of range throws

    static QDate easterSunday(int year); // Gregorian computus

private:
    struct Holiday
    {
        Date date;
        QString name;
    };
    QVector<Holiday> m_days;
};

} // namespace Dayplex

#endif

#include "shared/cholidays.h"

#include <dayplex/error.h>

#include <QtTest>

#include <limits>
#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;
using Dayplex::Testing::errorNumber;

namespace {

// Easter Sunday 1900..2100 as days after 22 March, taken from an independent calendar library.
const int kEasterAfterMarch22[] = {
    24, 16,  8, 21, 12, 32, 24,  9, 28, 20,  5, 25, 16,  1, 21, 13, 32, 17,  9, 29,
    13,  5, 25, 10, 29, 21, 13, 26, 17,  9, 29, 14,  5, 25, 10, 30, 21,  6, 26, 18,
     2, 22, 14, 34, 18, 10, 30, 15,  6, 26, 18,  3, 22, 14, 27, 19, 10, 30, 15,  7,
    26, 11, 31, 23,  7, 27, 19,  4, 23, 15,  7, 20, 11, 31, 23,  8, 27, 19,  4, 24,
    15, 28, 20, 12, 31, 16,  8, 28, 12,  4, 24,  9, 28, 20, 12, 25, 16,  8, 21, 13,
    32, 24,  9, 29, 20,  5, 25, 17,  1, 21, 13, 33, 17,  9, 29, 14,  5, 25, 10, 30,
    21, 13, 26, 18,  9, 29, 14,  6, 25, 10, 30, 22,  6, 26, 18,  3, 22, 14, 34, 19,
    10, 30, 15,  7, 26, 18,  3, 23, 14, 27, 19, 11, 30, 15,  7, 27, 11, 31, 23,  8,
    27, 19,  4, 24, 15,  7, 20, 12, 31, 23,  8, 28, 19,  4, 24, 16, 28, 20, 12, 32,
    16,  8, 28, 13,  4, 24,  9, 29, 20, 12, 25, 17,  8, 21, 13, 33, 24,  9, 29, 21,
     6,
};

// "yyyy-MM-dd Name" lines of the whole list, for readable comparisons.
QStringList listing(const cHolidays &holidays)
{
    QStringList lines;
    for (int i = 1; i <= holidays.Count(); ++i)
        lines << toQDate(holidays.HolidayDate(i)).toString(Qt::ISODate) + QLatin1Char(' ')
                     + holidays.HolidayName(i);
    return lines;
}

} // namespace

class tst_cHolidays : public QObject
{
    Q_OBJECT

private slots:
    // Catches wrong names, offsets from Easter, or holidays dropped for years before 1990.
    void yearListing_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("expected"); // "MM-dd Name|..." up to Pfingstmontag
        QTest::newRow("2024") << 2024
            << "01-01 Neujahr|03-29 Karfreitag|04-01 Ostermontag|"
               "05-01 Tag der Arbeit|05-09 Christi Himmelfahrt|05-20 Pfingstmontag";
        QTest::newRow("2008, two holidays on 1 May in listed order") << 2008
            << "01-01 Neujahr|03-21 Karfreitag|03-24 Ostermontag|"
               "05-01 Tag der Arbeit|05-01 Christi Himmelfahrt|05-12 Pfingstmontag";
        QTest::newRow("1818, Himmelfahrt before 1 May") << 1818
            << "01-01 Neujahr|03-20 Karfreitag|03-23 Ostermontag|"
               "04-30 Christi Himmelfahrt|05-01 Tag der Arbeit|05-11 Pfingstmontag";
        QTest::newRow("first year 1583") << 1583
            << "01-01 Neujahr|04-08 Karfreitag|04-11 Ostermontag|"
               "05-01 Tag der Arbeit|05-19 Christi Himmelfahrt|05-30 Pfingstmontag";
    }
    void yearListing()
    {
        QFETCH(int, year);
        QFETCH(QString, expected);
        cHolidays holidays;
        holidays.Calculate(year, year);
        QStringList lines;
        for (const QString &line : (expected + "|10-03 Tag der Deutschen Einheit|12-25 1. Weihnachtstag|"
                                               "12-26 2. Weihnachtstag").split(u'|'))
            lines << QString::number(year) + "-" + line;
        QCOMPARE(listing(holidays), lines);
    }

    // Catches any slip in the computus, year by year against an independent table; the table
    // holds the latest Easter (1943-04-25), the listing of 1818 the earliest.
    void easterSunday_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QDate>("easter");
        for (int year = 1900; year <= 2100; ++year)
            QTest::addRow("%d", year)
                << year << QDate(year, 3, 22).addDays(kEasterAfterMarch22[year - 1900]);
    }
    void easterSunday()
    {
        QFETCH(int, year);
        QFETCH(QDate, easter);
        QCOMPARE(cHolidays::easterSunday(year), easter);
    }

    // Catches accepting years the computus does not cover, or a list damaged by a failed call.
    void rejectedYears_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("1582, before the Gregorian calendar") << 1582 << 1583;
        QTest::newRow("10000") << 9999 << 10000;
        QTest::newRow("last before first") << 2025 << 2024;
        QTest::newRow("int extremes")
            << std::numeric_limits<int>::min() << std::numeric_limits<int>::max();
    }
    void rejectedYears()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        cHolidays holidays;
        holidays.Calculate(2024, 2024);
        const QStringList before = listing(holidays);
        QCOMPARE(errorNumber([&] { holidays.Calculate(first, last); }), int(InvalidArgument));
        QCOMPARE(listing(holidays), before);
    }
};

DAYPLEX_TEST_MAIN(tst_cHolidays)
#include "tst_cholidays.moc"

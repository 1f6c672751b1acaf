#include <dayplex/dates.h>

#include <QtTest>

#include <cmath>
#include <ctime>
#include <limits>
#include "support/testmain.h"

using namespace Dayplex;

namespace {

constexpr double kMsPerDay = 86400000.0;

Date at(QDate date, QTime time) { return toDate(date) + toTimeOfDay(time); }

} // namespace

class tst_Dates : public QObject
{
    Q_OBJECT

public:
    tst_Dates()
    {
        // The daylight saving cases need a zone with the German changeover days.
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }

private slots:
    // Catches a wrong day zero or Julian day offset, Excel's phantom 29 February 1900,
    // truncation toward zero before 1899-12-30 where the fraction must stay the time,
    // truncating instead of rounding to the millisecond, a lost roll-over, and Qt's
    // Monday-first weekday numbers leaking through.
    void conversions_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<int>("weekday"); // 1 = Sunday
        const double day = 45355.0; // 2024-03-04
        const QDate monday(2024, 3, 4);
        QTest::newRow("day zero 1899-12-30") << 0.0 << QDate(1899, 12, 30) << QTime(0, 0) << 7;
        QTest::newRow("1899-12-31 Sunday") << 1.0 << QDate(1899, 12, 31) << QTime(0, 0) << 1;
        QTest::newRow("1900-03-01 after no 29 Feb")
            << 61.0 << QDate(1900, 3, 1) << QTime(0, 0) << 5;
        QTest::newRow("first date 0100-01-01") << kMinDate << QDate(100, 1, 1) << QTime(0, 0) << 6;
        QTest::newRow("last date 9999-12-31")
            << kMaxDate - 1.0 << QDate(9999, 12, 31) << QTime(0, 0) << 6;
        QTest::newRow("-0.25 is 1899-12-29 18:00")
            << -0.25 << QDate(1899, 12, 29) << QTime(18, 0) << 6;
        QTest::newRow("-1.25 is 1899-12-28 18:00")
            << -1.25 << QDate(1899, 12, 28) << QTime(18, 0) << 5;
        QTest::newRow("last millisecond kept")
            << day + 86399999.0 / kMsPerDay << monday << QTime(23, 59, 59, 999) << 2;
        QTest::newRow("noise below midnight rolls over")
            << day + 0.99999999999 << QDate(2024, 3, 5) << QTime(0, 0) << 3;
        QTest::newRow("0.6 ms rounds up") << day + 0.6 / kMsPerDay << monday << QTime(0, 0, 0, 1)
                                          << 2;
        QTest::newRow("ten o'clock from a sum of steps")
            << day + 40 * (1.0 / 96.0) << monday << QTime(10, 0) << 2;
    }
    void conversions()
    {
        QFETCH(double, value);
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        QFETCH(int, weekday);
        QCOMPARE(toQDate(value), date);
        QCOMPARE(toQTime(value), time);
        QCOMPARE(toQDateTime(value), QDateTime(date, time, Qt::LocalTime));
        QCOMPARE(weekdayNumber(value), weekday);
        // Back within half a millisecond, the rounding the rows allow.
        QVERIFY(std::fabs(at(date, time) - value) < 0.5 / kMsPerDay);
        QVERIFY(std::fabs(toDate(QDateTime(date, time, Qt::LocalTime)) - value) < 0.5 / kMsPerDay);
    }

    // Catches crashes or garbage from casting NaN, infinities or huge values to integers.
    void invalidValues_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("+infinity") << std::numeric_limits<double>::infinity();
        QTest::newRow("beyond int64") << 1e19;
        QTest::newRow("10000-01-01") << kMaxDate;
    }
    void invalidValues()
    {
        QFETCH(double, value);
        QVERIFY(!isValidDate(value));
        QVERIFY(!toQDate(value).isValid());
        QVERIFY(!toQTime(value).isValid());
        QVERIFY(!toQDateTime(value).isValid());
        QCOMPARE(weekdayNumber(value), 0);
    }

    // Catches conversions through UTC that lose or shift hours on the changeover days.
    void changeoverDaysRoundTrip_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<int>("gapStartMinute"); // -1: no gap
        QTest::newRow("spring 2024-03-31") << QDate(2024, 3, 31) << 120;
        QTest::newRow("autumn 2024-10-27") << QDate(2024, 10, 27) << -1;
    }
    void changeoverDaysRoundTrip()
    {
        if (QDateTime(QDate(2024, 7, 1), QTime(12, 0), Qt::LocalTime).offsetFromUtc() != 7200
            || QDateTime(QDate(2024, 1, 1), QTime(12, 0), Qt::LocalTime).offsetFromUtc() != 3600)
            QSKIP("the Europe/Berlin zone is not available");
        QFETCH(QDate, day);
        QFETCH(int, gapStartMinute);
        for (int minute = 0; minute < 1440; ++minute) {
            if (gapStartMinute >= 0 && minute >= gapStartMinute && minute < gapStartMinute + 60)
                continue;
            const QTime time = QTime(0, 0).addSecs(minute * 60);
            const Date value = at(day, time);
            const QDateTime dt = toQDateTime(value);
            QVERIFY2(dt.date() == day && dt.time() == time, qPrintable(time.toString()));
            QVERIFY2(toDate(dt) == value, qPrintable(time.toString()));
        }
    }
};

DAYPLEX_TEST_MAIN(tst_Dates)
#include "tst_dates.moc"

// Dates as numbers of days since 1899-12-30: conversions, weekdays, the changeover days, their
// German texts, and the raster in minutes both views repair alike.
#include "shared/germanformat.h"
#include "shared/rasterminutes.h"

#include <dayplex/dates.h>

#include <QtTest>

#include <cmath>
#include <ctime>
#include <limits>
#include "support/testmain.h"

using namespace Dayplex;

namespace {

constexpr double kMsPerDay = 86400000.0;

Date at(QDate date, QTime time = QTime(0, 0)) { return toDate(date) + toTimeOfDay(time); }

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
    // Catches a raster repair that lets 0 or more than a day through, repairs a usable edge
    // value, or keeps a fraction of a minute.
    void rasterMinutes_data()
    {
        QTest::addColumn<double>("given");
        QTest::addColumn<double>("used");
        QTest::newRow("0.5 rounds to 0") << 0.5 << 30.0;
        QTest::newRow("one minute") << 1.0 << 1.0;
        QTest::newRow("7.4 minutes") << 7.4 << 7.0;
        QTest::newRow("a whole day") << 1440.4 << 1440.0;
        QTest::newRow("a day and a minute") << 1441.0 << 30.0;
        QTest::newRow("negative") << -15.0 << 30.0;
        QTest::newRow("NaN") << qQNaN() << 30.0;
    }
    void rasterMinutes()
    {
        QFETCH(double, given);
        QTEST(usableRasterMinutes(given), "used");
    }

    // Catches a wrong day zero or Julian day offset, Excel's phantom 29 February 1900,
    // truncation toward zero before 1899-12-30 where the fraction must stay the time,
    // truncating instead of rounding to the millisecond, a lost roll-over, and Qt's
    // Monday-first weekday numbers leaking through; and crashes or garbage from casting NaN,
    // infinities or huge values to integers.
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
        QTest::newRow("last millisecond kept")
            << day + 86399999.0 / kMsPerDay << monday << QTime(23, 59, 59, 999) << 2;
        QTest::newRow("noise below midnight rolls over")
            << day + 0.99999999999 << QDate(2024, 3, 5) << QTime(0, 0) << 3;
        QTest::newRow("0.6 ms rounds up") << day + 0.6 / kMsPerDay << monday << QTime(0, 0, 0, 1)
                                          << 2;
        QTest::newRow("ten o'clock from a sum of steps")
            << day + 40 * (1.0 / 96.0) << monday << QTime(10, 0) << 2;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << QDate() << QTime() << 0;
        QTest::newRow("+infinity") << std::numeric_limits<double>::infinity() << QDate() << QTime()
                                   << 0;
        QTest::newRow("beyond int64") << 1e19 << QDate() << QTime() << 0;
        QTest::newRow("10000-01-01") << kMaxDate << QDate() << QTime() << 0;
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
        QCOMPARE(isValidDate(value), date.isValid());
        if (!date.isValid())
            return;
        // Back within half a millisecond, the rounding the rows allow.
        QVERIFY(std::fabs(at(date, time) - value) < 0.5 / kMsPerDay);
        QVERIFY(std::fabs(toDate(QDateTime(date, time, Qt::LocalTime)) - value) < 0.5 / kMsPerDay);
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

    // Catches a wrong pattern letter, Qt locale texts or English names slipping in, a name
    // table off by one or starting on Monday as Qt counts, padding where none belongs or missing
    // where two digits are asked for, a general date that shows 00:00:00 or drops a few seconds,
    // truncated seconds (23:59:59.999 a day too early), and text for dates outside 0100..9999.
    void formats_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *tag, QDate date, QTime time, const char *format,
                            const char *expected) {
            QTest::newRow(tag) << at(date, time) << QString::fromUtf8(format)
                               << QString::fromUtf8(expected);
        };
        const char *const months[] = {"Januar Jan 1", "Februar Feb 2", "März Mär 3",
                                      "April Apr 4", "Mai Mai 5", "Juni Jun 6", "Juli Jul 7",
                                      "August Aug 8", "September Sep 9", "Oktober Okt 10",
                                      "November Nov 11", "Dezember Dez 12"};
        for (int month = 1; month <= 12; ++month)
            row(months[month - 1], QDate(2023, month, 15), QTime(8, 0), "mmmm mmm m",
                months[month - 1]);
        const char *const weekdays[] = {"Sonntag So", "Montag Mo", "Dienstag Di", "Mittwoch Mi",
                                        "Donnerstag Do", "Freitag Fr", "Samstag Sa"};
        for (int offset = 0; offset < 7; ++offset)
            row(weekdays[offset], QDate(2024, 3, 3).addDays(offset), QTime(17, 30), "dddd ddd",
                weekdays[offset]);
        const QDate single(2024, 1, 5), day(2024, 3, 4), last(9999, 12, 31);
        const QTime early(9, 7, 3), ten(10, 5);
        row("m after hh means minutes", day, ten, "hh:mm", "10:05");
        row("m after hh with text between", day, ten, "hh \"Uhr\" mm", "10 Uhr 05");
        row("m after a date letter means month", day, ten, "dd.mm", "04.03");
        row("upper case letters", day, ten, "DD.MM.YYYY HH:MM", "04.03.2024 10:05");
        row("backslash copies a letter", day, ten, "\\d\\m d", "dm 4");
        row("quoted text is copied", day, ten, "\"KW\" d", "KW 4");
        row("Short Date", day, ten, "Short Date", "04.03.2024");
        row("Short Time", day, ten, "Short Time", "10:05");
        row("Long Date", day, ten, "Long Date", "Montag, 4. März 2024");
        row("named, mixed case", day, ten, "general DATE", "04.03.2024 10:05:00");
        row("empty format is the general date", day, ten, "", "04.03.2024 10:05:00");
        row("single digits, short letters", single, early, "d.m.yy h:n:s", "5.1.24 9:7:3");
        row("single digits, long letters", single, early, "dd.mm.yyyy hh:nn:ss",
            "05.01.2024 09:07:03");
        row("double digits, short letters", QDate(2024, 11, 25), QTime(21, 45, 30),
            "d.m.yy h:n:s", "25.11.24 21:45:30");
        row("year 2000 two digits", QDate(2000, 2, 29), QTime(0, 0), "yy", "00");
        row("first year padded", QDate(100, 1, 1), QTime(0, 0), "dd.mm.yyyy", "01.01.0100");
        row("before day zero", QDate(1899, 12, 29), QTime(18, 0), "General Date",
            "29.12.1899 18:00:00");
        row("General Date at midnight", day, QTime(0, 0), "General Date", "04.03.2024");
        row("General Date one second past", day, QTime(0, 0, 1), "General Date",
            "04.03.2024 00:00:01");
        row("0.4 s past is still midnight", day, QTime(0, 0, 0, 400), "General Date",
            "04.03.2024");
        row("23:59:59.999 is the next midnight", day, QTime(23, 59, 59, 999), "General Date",
            "05.03.2024");
        row("10:05:59.6 is 10:06", day, QTime(10, 5, 59, 600), "Short Time", "10:06");
        row("last second of 9999 stays", last, QTime(23, 59, 59, 999), "General Date",
            "31.12.9999 23:59:59");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("+infinity, pattern") << inf << "dddd d. mmmm yyyy hh:nn:ss" << "";
        QTest::newRow("10000-01-01") << kMaxDate << "Short Date" << "";
        QTest::newRow("before 0100-01-01, empty format") << kMinDate - 0.5 << "" << "";
    }
    void formats()
    {
        QFETCH(double, value);
        QFETCH(QString, format);
        QTEST(formatGermanDate(value, format), "expected");
    }
};

DAYPLEX_TEST_MAIN(tst_Dates)
#include "tst_dates.moc"

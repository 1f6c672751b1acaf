#include "shared/germanformat.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include "support/testmain.h"

using namespace Dayplex;

namespace {

Date at(QDate date, QTime time = QTime(0, 0)) { return toDate(date) + toTimeOfDay(time); }

} // namespace

class tst_GermanFormat : public QObject
{
    Q_OBJECT

private slots:
    // Catches a wrong pattern letter, Qt locale texts or English names slipping in, padding
    // where none belongs or missing where two digits are asked for, a general date that shows
    // 00:00:00 or drops a few seconds, and truncated seconds (23:59:59.999 a day too early).
    void formats_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *tag, QDate date, QTime time, const char *format, const char *expected) {
            QTest::newRow(tag) << date << time << QString::fromUtf8(format) << QString::fromUtf8(expected);
        };
        // Monday 2024-03-04 10:05
        const auto mon = [&row](const char *tag, const char *format, const char *expected) {
            row(tag, QDate(2024, 3, 4), QTime(10, 5), format, expected);
        };
        mon("ddd", "ddd", "Mo");
        mon("dddd", "dddd", "Montag");
        mon("d.", "d.", "4.");
        mon("dd", "dd", "04");
        mon("d.m", "d.m", "4.3");
        mon("d. mmmm yyyy", "d. mmmm yyyy", "4. März 2024");
        mon("mmm", "mmm", "Mär");
        mon("yy", "yy", "24");
        mon("hh:nn", "hh:nn", "10:05");
        mon("m after hh means minutes", "hh:mm", "10:05");
        mon("m after hh with text between", "hh \"Uhr\" mm", "10 Uhr 05");
        mon("m after a date letter means month", "dd.mm", "04.03");
        mon("upper case letters", "DD.MM.YYYY HH:MM", "04.03.2024 10:05");
        mon("backslash copies a letter", "\\d\\m d", "dm 4");
        mon("quoted text is copied", "\"KW\" d", "KW 4");
        mon("Short Date", "Short Date", "04.03.2024");
        mon("Short Time", "Short Time", "10:05");
        mon("Long Date", "Long Date", "Montag, 4. März 2024");
        mon("General Date", "General Date", "04.03.2024 10:05:00");
        mon("named, lower case", "short date", "04.03.2024");
        mon("named, upper case", "LONG DATE", "Montag, 4. März 2024");
        mon("named, mixed case", "general DATE", "04.03.2024 10:05:00");
        mon("empty format is the general date", "", "04.03.2024 10:05:00");
        const QDate single(2024, 1, 5), day(2024, 3, 4), last(9999, 12, 31);
        const QTime early(9, 7, 3);
        row("single digits, short letters", single, early, "d.m.yy h:n:s", "5.1.24 9:7:3");
        row("single digits, long letters", single, early, "dd.mm.yyyy hh:nn:ss", "05.01.2024 09:07:03");
        row("single digits, General Date", single, early, "General Date", "05.01.2024 09:07:03");
        row("single digits, Long Date", single, early, "Long Date", "Freitag, 5. Januar 2024");
        row("single minute after h", single, early, "h:m", "9:7");
        row("double digits, short letters", QDate(2024, 11, 25), QTime(21, 45, 30), "d.m.yy h:n:s", "25.11.24 21:45:30");
        row("year 2000 two digits", QDate(2000, 2, 29), QTime(0, 0), "yy", "00");
        row("first year padded", QDate(100, 1, 1), QTime(0, 0), "dd.mm.yyyy", "01.01.0100");
        row("before day zero", QDate(1899, 12, 29), QTime(18, 0), "General Date", "29.12.1899 18:00:00");
        row("General Date at midnight", day, QTime(0, 0), "General Date", "04.03.2024");
        row("General Date one second past", day, QTime(0, 0, 1), "General Date", "04.03.2024 00:00:01");
        row("General Date one minute past", day, QTime(0, 1), "General Date", "04.03.2024 00:01:00");
        row("0.4 s past is still midnight", day, QTime(0, 0, 0, 400), "General Date", "04.03.2024");
        row("23:59:59.999 is the next midnight", day, QTime(23, 59, 59, 999), "General Date", "05.03.2024");
        row("23:59:59.999 short time", day, QTime(23, 59, 59, 999), "Short Time", "00:00");
        row("23:59:59.400 stays", day, QTime(23, 59, 59, 400), "General Date", "04.03.2024 23:59:59");
        row("10:05:59.6 is 10:06", day, QTime(10, 5, 59, 600), "Short Time", "10:06");
        row("10:05:59 keeps the minute", day, QTime(10, 5, 59), "Short Time", "10:05");
        row("year end rolls over", QDate(2024, 12, 31), QTime(23, 59, 59, 700), "Long Date", "Mittwoch, 1. Januar 2025");
        row("last year", last, QTime(23, 59, 59), "General Date", "31.12.9999 23:59:59");
        row("last second of 9999 stays", last, QTime(23, 59, 59, 999), "General Date", "31.12.9999 23:59:59");
    }
    void formats()
    {
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(formatGermanDate(at(date, time), format), expected);
    }

    // Catches a month name table off by one, a missing umlaut or a wrong three-letter cut.
    void months_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("longName");
        QTest::addColumn<QString>("shortName");
        const char *const names[][2] = {{"Januar", "Jan"},    {"Februar", "Feb"},
                                        {"März", "Mär"},      {"April", "Apr"},
                                        {"Mai", "Mai"},       {"Juni", "Jun"},
                                        {"Juli", "Jul"},      {"August", "Aug"},
                                        {"September", "Sep"}, {"Oktober", "Okt"},
                                        {"November", "Nov"},  {"Dezember", "Dez"}};
        for (int month = 1; month <= 12; ++month) {
            QTest::addRow("%s", names[month - 1][0])
                << month << QString::fromUtf8(names[month - 1][0])
                << QString::fromUtf8(names[month - 1][1]);
        }
    }
    void months()
    {
        QFETCH(int, month);
        QFETCH(QString, longName);
        QFETCH(QString, shortName);
        const Date value = at(QDate(2023, month, 15), QTime(8, 0));
        QCOMPARE(formatGermanDate(value, QStringLiteral("mmmm")), longName);
        QCOMPARE(formatGermanDate(value, QStringLiteral("mmm")), shortName);
        QCOMPARE(formatGermanDate(value, QStringLiteral("d. mmmm yyyy")),
                 QStringLiteral("15. %1 2023").arg(longName));
        QCOMPARE(formatGermanDate(value, QStringLiteral("m")), QString::number(month));
        QCOMPARE(formatGermanDate(value, QStringLiteral("Short Date")),
                 QStringLiteral("15.%1.2023").arg(month, 2, 10, QLatin1Char('0')));
        QCOMPARE(germanMonthName(month), longName);
    }

    // Catches a weekday table starting on Monday, as Qt counts.
    void weekdays_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("shortName");
        QTest::addColumn<QString>("longName");
        QTest::newRow("Sunday") << QDate(2024, 3, 3) << "So" << "Sonntag";
        QTest::newRow("Monday") << QDate(2024, 3, 4) << "Mo" << "Montag";
        QTest::newRow("Tuesday") << QDate(2024, 3, 5) << "Di" << "Dienstag";
        QTest::newRow("Wednesday") << QDate(2024, 3, 6) << "Mi" << "Mittwoch";
        QTest::newRow("Thursday") << QDate(2024, 3, 7) << "Do" << "Donnerstag";
        QTest::newRow("Friday") << QDate(2024, 3, 8) << "Fr" << "Freitag";
        QTest::newRow("Saturday") << QDate(2024, 3, 9) << "Sa" << "Samstag";
    }
    void weekdays()
    {
        QFETCH(QDate, date);
        QFETCH(QString, shortName);
        QFETCH(QString, longName);
        const Date value = at(date, QTime(17, 30));
        QCOMPARE(formatGermanDate(value, QStringLiteral("ddd")), shortName);
        QCOMPARE(formatGermanDate(value, QStringLiteral("dddd")), longName);
        QCOMPARE(formatGermanDate(value, QStringLiteral("Long Date")),
                 QStringLiteral("%1, %2. März 2024").arg(longName).arg(date.day()));
        const int number = date.dayOfWeek() % 7 + 1;
        QCOMPARE(germanWeekdayShortName(number), shortName);
        QCOMPARE(germanWeekdayName(number), longName);
    }

    // Catches crashes and texts for dates outside 0100..9999.
    void invalidDates_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("+infinity") << std::numeric_limits<double>::infinity();
        QTest::newRow("10000-01-01") << kMaxDate;
        QTest::newRow("before 0100-01-01") << kMinDate - 0.5;
    }
    void invalidDates()
    {
        QFETCH(double, value);
        for (const char *format : {"Short Date", "Short Time", "Long Date", "General Date",
                                   "dddd d. mmmm yyyy hh:nn:ss", ""})
            QVERIFY2(formatGermanDate(value, QString::fromLatin1(format)).isEmpty(), format);
    }

};

DAYPLEX_TEST_MAIN(tst_GermanFormat)
#include "tst_germanformat.moc"

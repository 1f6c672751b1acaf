#include "shared/germanformat.h"

#include <QtTest>

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
    // Catches a wrong pattern letter, Qt locale texts or English names slipping in, a name
    // table off by one or starting on Monday as Qt counts, padding where none belongs or missing
    // where two digits are asked for, a general date that shows 00:00:00 or drops a few seconds,
    // and truncated seconds (23:59:59.999 a day too early).
    void formats_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *tag, QDate date, QTime time, const char *format,
                            const char *expected) {
            QTest::newRow(tag) << date << time << QString::fromUtf8(format)
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
        row("single digits, General Date", single, early, "General Date", "05.01.2024 09:07:03");
        row("single minute after h", single, early, "h:m", "9:7");
        row("double digits, short letters", QDate(2024, 11, 25), QTime(21, 45, 30),
            "d.m.yy h:n:s", "25.11.24 21:45:30");
        row("year 2000 two digits", QDate(2000, 2, 29), QTime(0, 0), "yy", "00");
        row("first year padded", QDate(100, 1, 1), QTime(0, 0), "dd.mm.yyyy", "01.01.0100");
        row("before day zero", QDate(1899, 12, 29), QTime(18, 0), "General Date",
            "29.12.1899 18:00:00");
        row("General Date at midnight", day, QTime(0, 0), "General Date", "04.03.2024");
        row("General Date one second past", day, QTime(0, 0, 1), "General Date",
            "04.03.2024 00:00:01");
        row("General Date one minute past", day, QTime(0, 1), "General Date",
            "04.03.2024 00:01:00");
        row("0.4 s past is still midnight", day, QTime(0, 0, 0, 400), "General Date",
            "04.03.2024");
        row("23:59:59.999 is the next midnight", day, QTime(23, 59, 59, 999), "General Date",
            "05.03.2024");
        row("23:59:59.999 short time", day, QTime(23, 59, 59, 999), "Short Time", "00:00");
        row("23:59:59.400 stays", day, QTime(23, 59, 59, 400), "General Date",
            "04.03.2024 23:59:59");
        row("10:05:59.6 is 10:06", day, QTime(10, 5, 59, 600), "Short Time", "10:06");
        row("10:05:59 keeps the minute", day, QTime(10, 5, 59), "Short Time", "10:05");
        row("year end rolls over", QDate(2024, 12, 31), QTime(23, 59, 59, 700), "Long Date",
            "Mittwoch, 1. Januar 2025");
        row("last second of 9999 stays", last, QTime(23, 59, 59, 999), "General Date",
            "31.12.9999 23:59:59");
    }
    void formats()
    {
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(formatGermanDate(at(date, time), format), expected);
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

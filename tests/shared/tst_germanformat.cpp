#include "shared/germanformat.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace Dayplex;

namespace {

Date at(QDate date, QTime time = QTime(0, 0))
{
    return toDate(date) + toTimeOfDay(time);
}

} // namespace

class tst_GermanFormat : public QObject
{
    Q_OBJECT

private slots:
    // Catches a wrong pattern letter, Qt locale texts or English names slipping in.
    void patterns_data();
    void patterns();
    // Catches a month name table off by one, a missing umlaut or a wrong three-letter cut.
    void months_data();
    void months();
    // Catches a weekday table starting on Monday, as Qt counts.
    void weekdays_data();
    void weekdays();
    // Catches padding where none belongs and missing padding where two digits are asked for.
    void digits_data();
    void digits();
    // Catches a general date that shows 00:00:00, or drops a time of a few seconds.
    void generalDateAtMidnight_data();
    void generalDateAtMidnight();
    // Catches truncated seconds, so that 23:59:59.999 would print a day too early.
    void secondRounding_data();
    void secondRounding();
    // Catches crashes and texts for dates outside 0100..9999.
    void invalidDates_data();
    void invalidDates();
    // Catches name lookups that read outside their tables.
    void namesOutOfRange_data();
    void namesOutOfRange();
};

void tst_GermanFormat::patterns_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ddd") << "ddd" << "Mo";
    QTest::newRow("dddd") << "dddd" << "Montag";
    QTest::newRow("d.") << "d." << "4.";
    QTest::newRow("dd") << "dd" << "04";
    QTest::newRow("d.m") << "d.m" << "4.3";
    QTest::newRow("d. mmmm yyyy") << "d. mmmm yyyy" << "4. März 2024";
    QTest::newRow("mmmm yyyy") << "mmmm yyyy" << "März 2024";
    QTest::newRow("mmm") << "mmm" << "Mär";
    QTest::newRow("yy") << "yy" << "24";
    QTest::newRow("hh:nn") << "hh:nn" << "10:05";
    QTest::newRow("m after hh means minutes") << "hh:mm" << "10:05";
    QTest::newRow("m after hh with text between") << "hh \"Uhr\" mm" << "10 Uhr 05";
    QTest::newRow("m after a date letter means month") << "dd.mm" << "04.03";
    QTest::newRow("upper case letters") << "DD.MM.YYYY HH:MM" << "04.03.2024 10:05";
    QTest::newRow("backslash copies a letter") << "\\d\\m d" << "dm 4";
    QTest::newRow("quoted text is copied") << "\"KW\" d" << "KW 4";
    QTest::newRow("Short Date") << "Short Date" << "04.03.2024";
    QTest::newRow("Short Time") << "Short Time" << "10:05";
    QTest::newRow("Long Date") << "Long Date" << "Montag, 4. März 2024";
    QTest::newRow("General Date") << "General Date" << "04.03.2024 10:05:00";
    QTest::newRow("named, lower case") << "short date" << "04.03.2024";
    QTest::newRow("named, upper case") << "LONG DATE" << "Montag, 4. März 2024";
    QTest::newRow("named, mixed case") << "general DATE" << "04.03.2024 10:05:00";
    QTest::newRow("empty format is the general date") << "" << "04.03.2024 10:05:00";
}

void tst_GermanFormat::patterns()
{
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(formatGermanDate(at(QDate(2024, 3, 4), QTime(10, 5)), format), expected);
}

void tst_GermanFormat::months_data()
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

void tst_GermanFormat::months()
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

void tst_GermanFormat::weekdays_data()
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

void tst_GermanFormat::weekdays()
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

void tst_GermanFormat::digits_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    const QDate single(2024, 1, 5);
    const QTime early(9, 7, 3);
    QTest::newRow("single digits, short letters")
        << single << early << "d.m.yy h:n:s" << "5.1.24 9:7:3";
    QTest::newRow("single digits, long letters")
        << single << early << "dd.mm.yyyy hh:nn:ss" << "05.01.2024 09:07:03";
    QTest::newRow("single digits, General Date")
        << single << early << "General Date" << "05.01.2024 09:07:03";
    QTest::newRow("single digits, Long Date") << single << early << "Long Date"
                                              << "Freitag, 5. Januar 2024";
    QTest::newRow("single minute after h") << single << early << "h:m" << "9:7";
    QTest::newRow("double digits, short letters")
        << QDate(2024, 11, 25) << QTime(21, 45, 30) << "d.m.yy h:n:s" << "25.11.24 21:45:30";
    QTest::newRow("year 2000 two digits") << QDate(2000, 2, 29) << QTime(0, 0) << "yy" << "00";
    QTest::newRow("first year padded") << QDate(100, 1, 1) << QTime(0, 0) << "dd.mm.yyyy"
                                       << "01.01.0100";
    QTest::newRow("last year") << QDate(9999, 12, 31) << QTime(23, 59, 59) << "General Date"
                               << "31.12.9999 23:59:59";
    QTest::newRow("before day zero")
        << QDate(1899, 12, 29) << QTime(18, 0) << "General Date" << "29.12.1899 18:00:00";
}

void tst_GermanFormat::digits()
{
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(formatGermanDate(at(date, time), format), expected);
}

void tst_GermanFormat::generalDateAtMidnight_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("expected");
    QTest::newRow("midnight") << QTime(0, 0) << "04.03.2024";
    QTest::newRow("one second past") << QTime(0, 0, 1) << "04.03.2024 00:00:01";
    QTest::newRow("one minute past") << QTime(0, 1) << "04.03.2024 00:01:00";
    QTest::newRow("0.4 s past is still midnight") << QTime(0, 0, 0, 400) << "04.03.2024";
}

void tst_GermanFormat::generalDateAtMidnight()
{
    QFETCH(QTime, time);
    QFETCH(QString, expected);
    QCOMPARE(formatGermanDate(at(QDate(2024, 3, 4), time), QStringLiteral("General Date")),
             expected);
}

void tst_GermanFormat::secondRounding_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    const QDate day(2024, 3, 4);
    QTest::newRow("23:59:59.999 is the next midnight")
        << day << QTime(23, 59, 59, 999) << "General Date" << "05.03.2024";
    QTest::newRow("23:59:59.999 short time") << day << QTime(23, 59, 59, 999) << "Short Time"
                                             << "00:00";
    QTest::newRow("23:59:59.400 stays") << day << QTime(23, 59, 59, 400) << "General Date"
                                        << "04.03.2024 23:59:59";
    QTest::newRow("10:05:59.6 is 10:06") << day << QTime(10, 5, 59, 600) << "Short Time"
                                         << "10:06";
    QTest::newRow("10:05:59 keeps the minute") << day << QTime(10, 5, 59) << "Short Time"
                                               << "10:05";
    QTest::newRow("year end rolls over") << QDate(2024, 12, 31) << QTime(23, 59, 59, 700)
                                         << "Long Date" << "Mittwoch, 1. Januar 2025";
    QTest::newRow("last second of 9999 stays")
        << QDate(9999, 12, 31) << QTime(23, 59, 59, 999) << "General Date"
        << "31.12.9999 23:59:59";
}

void tst_GermanFormat::secondRounding()
{
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(formatGermanDate(at(date, time), format), expected);
}

void tst_GermanFormat::invalidDates_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("+infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("-infinity") << -std::numeric_limits<double>::infinity();
    QTest::newRow("1e300") << 1e300;
    QTest::newRow("-1e300") << -1e300;
    QTest::newRow("10000-01-01") << kMaxDate;
    QTest::newRow("before 0100-01-01") << kMinDate - 0.5;
}

void tst_GermanFormat::invalidDates()
{
    QFETCH(double, value);
    for (const char *format : {"Short Date", "Short Time", "Long Date", "General Date",
                               "dddd d. mmmm yyyy hh:nn:ss", ""})
        QVERIFY2(formatGermanDate(value, QString::fromLatin1(format)).isEmpty(), format);
}

void tst_GermanFormat::namesOutOfRange_data()
{
    QTest::addColumn<int>("number");
    QTest::newRow("0") << 0;
    QTest::newRow("-1") << -1;
    QTest::newRow("13") << 13;
    QTest::newRow("8") << 8;
    QTest::newRow("int min") << std::numeric_limits<int>::min();
}

void tst_GermanFormat::namesOutOfRange()
{
    QFETCH(int, number);
    if (number > 7 || number < 1) {
        QVERIFY(germanWeekdayName(number).isEmpty());
        QVERIFY(germanWeekdayShortName(number).isEmpty());
    }
    if (number > 12 || number < 1)
        QVERIFY(germanMonthName(number).isEmpty());
}

QTEST_APPLESS_MAIN(tst_GermanFormat)
#include "tst_germanformat.moc"

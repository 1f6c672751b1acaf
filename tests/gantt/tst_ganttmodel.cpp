// The Gantt view's records and range rules: displayed and filled ranges, holidays and the
// rounding of the mouse time.
#include "gantt/ganttmodel.h"
#include "shared/cholidays.h"

#include <QtTest>

#include <cmath>
#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

Date hms(int h, int m, int s = 0) { return (h * 3600 + m * 60 + s) / 86400.0; }

const Date kMon = day(2024, 3, 4);
const Date kThu = day(2024, 3, 7);

} // namespace

class tst_GanttModel : public QObject
{
    Q_OBJECT

private slots:
    // Catches wrong defaults, caps, write-backs and weekday alignment of a range request.
    void displayedRange_data()
    {
        QTest::addColumn<Date>("first");
        QTest::addColumn<Date>("last");
        QTest::addColumn<bool>("useDefault");
        QTest::addColumn<Date>("curStart");
        QTest::addColumn<Date>("curEnd");
        QTest::addColumn<double>("layoutDays");
        QTest::addColumn<int>("weekday"); // 0: not aligned
        QTest::addColumn<Date>("expStart");
        QTest::addColumn<Date>("expEnd");
        QTest::addColumn<Date>("written"); // -1: the caller's last day is not written

        const Date fresh = kMon + hms(10, 30); // a fresh view: now .. today, a negative span
        QTest::newRow("fresh view opens with the layout's 7 days")
            << kThu << 0.0 << false << fresh << kMon << 7.0 << 0 << kThu << kThu + 6 << kThu + 6;
        QTest::newRow("span of 3 days kept, time of the first day carried")
            << kThu + hms(9, 0) << 0.0 << false << kMon << kMon + 3 << 7.0 << 0 << kThu
            << kThu + 3 << kThu + 3 + hms(9, 0);
        QTest::newRow("blnDefault shows lngAnzahlTage")
            << kThu << 0.0 << true << kMon << kMon + 2 << 14.0 << 0 << kThu << kThu + 13 << kThu + 13;
        QTest::newRow("lngAnzahlTage 250 gives 100 days")
            << kThu << 0.0 << true << kMon << kMon << 250.0 << 0 << kThu << kThu + 99 << kThu + 99;
        QTest::newRow("200 requested days are cut to 101")
            << kThu << kThu + 199 << false << kMon << kMon << 7.0 << 0 << kThu << kThu + 100 << -1.0;
        QTest::newRow("last day before the first reads as none")
            << kThu << kThu - 3 << false << kMon << kMon + 1 << 7.0 << 0 << kThu << kThu + 1 << kThu + 1;
        QTest::newRow("Thursday aligned on Monday")
            << kThu << kThu + 6 << false << kMon << kMon << 7.0 << 2 << kMon << kMon + 6 << -1.0;
        QTest::newRow("one day is not aligned away from the requested day")
            << kThu << kThu << false << kMon << kMon << 7.0 << 2 << kThu << kThu << -1.0;
        QTest::newRow("a span ending on the requested day is aligned")
            << kThu << kThu + 3 << false << kMon << kMon << 7.0 << 2 << kMon << kThu << -1.0;
        QTest::newRow("a span ending the day before it is not")
            << kThu << kThu + 2 << false << kMon << kMon << 7.0 << 2 << kThu << kThu + 2 << -1.0;
        QTest::newRow("never past 9999-12-31")
            << day(9999, 12, 28) << 0.0 << true << kMon << kMon << 7.0 << 0
            << day(9999, 12, 28) << day(9999, 12, 31) << day(9999, 12, 28) + 6;
    }
    void displayedRange()
    {
        QFETCH(Date, first);
        QFETCH(Date, last);
        QFETCH(bool, useDefault);
        QFETCH(Date, curStart);
        QFETCH(Date, curEnd);
        QFETCH(double, layoutDays);
        QFETCH(int, weekday);
        QFETCH(Date, written);
        const GanttRange range = ganttDisplayedRange(first, last, useDefault, weekday != 0,
                                                     curStart, curEnd, layoutDays, weekday);
        QTEST(range.startDate, "expStart");
        QTEST(range.endDate, "expEnd");
        QCOMPARE(range.lastDayComputed, written != -1.0);
        if (written != -1.0)
            QCOMPARE(range.requestedLastDay, written);
    }

    // Catches a missing or misplaced holiday row and holiday records with wrong keys or flags.
    void filledRangeHolidays_data()
    {
        QTest::addColumn<Date>("from");
        QTest::addColumn<Date>("to");
        QTest::addColumn<bool>("holidays");
        QTest::addColumn<int>("expectedHolidays");
        QTest::newRow("one year") << day(2024, 3, 1) << day(2024, 3, 31) << true << 9;
        QTest::newRow("across the turn of the year") << day(2024, 12, 20) << day(2025, 1, 10) << true << 18;
        QTest::newRow("holidays off") << day(2024, 3, 1) << day(2024, 3, 31) << false << 0;
        QTest::newRow("before the Gregorian calendar: row but no holidays")
            << day(1500, 3, 1) << day(1500, 3, 31) << true << 0;
        QTest::newRow("ending in an earlier year: row but no holidays")
            << day(2024, 3, 1) << 0.0 << true << 0;
        QTest::newRow("ending earlier in the same year") << day(2024, 3, 1) << day(2024, 2, 1) << true << 9;
    }
    void filledRangeHolidays()
    {
        QFETCH(Date, from);
        QFETCH(Date, to);
        QFETCH(bool, holidays);
        GanttModel model;
        cHolidays calculator;
        model.addMerkmal("Alt", "OLD");
        model.addDate("X", "", kMon, kMon + 1, false, 0, false, 0, false, "OLD", false, false);
        model.selectedDate = "X";
        model.vorschlagVon = kMon;
        model.setFilledRange(from, to, holidays, calculator);
        model.addMerkmal("Anna", "R1");

        QCOMPARE(model.selectedDate, QString());
        QCOMPARE(model.vorschlagVon, 0.0);
        QTEST(model.dateCount(), "expectedHolidays");
        // The old row is gone; the holiday row, when asked for, comes before the new ones.
        QCOMPARE(model.rowCount(), holidays ? 2 : 1);
        QCOMPARE(model.row(1).Merkmal, holidays ? QString("Feiertage") : QString("Anna"));
        QCOMPARE(model.row(1).dsn, holidays ? QString("{1}") : QString("R1"));
        for (qint32 i = 1; i <= model.dateCount(); ++i) {
            const GanttEintrag &e = model.date(i);
            QCOMPARE(e.dsn, QString::number(i) + "LEGALHOLIDY");
            QCOMPARE(e.von, e.bis);
            QVERIFY(e.btagestermin && e.breadonly && e.blnfeiertag);
            QCOMPARE(e.merkmaldsn, QString("{1}"));
        }
    }

    // Catches rounding to the wrong 10 minutes, also for values a hair below a boundary.
    void rundezeit_data()
    {
        QTest::addColumn<Date>("value");
        QTest::addColumn<Date>("expected");
        QTest::newRow("10:04:59 gives 10:00") << hms(10, 4, 59) << hms(10, 0);
        QTest::newRow("10:05, even a hair low, gives 10:10")
            << kMon + hms(10, 5) - 1e-11 << kMon + hms(10, 10);
        QTest::newRow("23:55 gives the next midnight") << kMon + hms(23, 55) << kMon + 1;
    }
    void rundezeit()
    {
        QFETCH(Date, value);
        QFETCH(Date, expected);
        QVERIFY2(std::abs(GanttModel::rundezeit(value) - expected) < 1e-9,
                 qPrintable(QString::number(GanttModel::rundezeit(value), 'f', 12)));
    }
};

DAYPLEX_TEST_MAIN(tst_GanttModel)
#include "tst_ganttmodel.moc"

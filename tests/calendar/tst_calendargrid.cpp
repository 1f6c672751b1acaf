// The calendar's axes: days to columns, times to rows, and the pixel geometry of a paint.
#include "calendar/calendargrid.h"
#include "calendar/displayedrange.h"

#include <dayplex/error.h>

#include <QtTest>
#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

// Three days from Monday 2024-03-04 in the given raster, from the given time of day.
CalendarGrid threeDays(int rasterMinutes = 30, Date firstTime = 0)
{
    CalendarGrid grid;
    grid.firstDay = day(2024, 3, 4);
    grid.lastDay = day(2024, 3, 6);
    grid.setRaster(rasterMinutes * kOneMinute);
    grid.firstTime = firstTime;
    return grid;
}

} // namespace

class tst_CalendarGrid : public QObject
{
    Q_OBJECT

private slots:

    // Intervals map to day and row ranges with the boundary, clipping and minimum-height rules.
    void terminIndices_data()
    {
        QTest::addColumn<Date>("start");
        QTest::addColumn<Date>("end");
        QTest::addColumn<int>("minHeight");
        QTest::addColumn<QVector<int>>("expected"); // tv, tb, zv, zb

        const Date mo = day(2024, 3, 4), tu = day(2024, 3, 5), we = day(2024, 3, 6);
        QTest::newRow("10:00 to 10:00, at least 4 rows") << mo + hm(10, 0) << mo + hm(10, 0) << 4 << QVector<int>{0, 0, 20, 23};
        QTest::newRow("end before start, no minimum") << mo + hm(10, 0) << mo + hm(9, 0) << 0 << QVector<int>{0, 0, 20, 20};
        QTest::newRow("end just after a boundary opens the next") << tu + hm(9, 0) << tu + hm(10, 1) << 1 << QVector<int>{1, 1, 18, 20};
        QTest::newRow("from two days before to 11:00 on the first")
            << day(2024, 3, 2) + hm(9, 0) << mo + hm(11, 0) << 1 << QVector<int>{0, 0, 0, 21};
        QTest::newRow("minimum height cut at the last row") << we + hm(23, 30) << we + hm(23, 45) << 4 << QVector<int>{2, 2, 47, 47};
        QTest::newRow("over midnight into the next day") << mo + hm(22, 0) << tu + hm(2, 0) << 1 << QVector<int>{0, 1, 44, 3};
        QTest::newRow("past the last day ends at 23:59") << tu + hm(8, 0) << day(2024, 3, 9) << 1 << QVector<int>{1, 2, 16, 47};
        QTest::newRow("ending at midnight after the last day") << we + hm(20, 0) << day(2024, 3, 7) << 1 << QVector<int>{2, 2, 40, 47};
    }
    void terminIndices()
    {
        QFETCH(Date, start);
        QFETCH(Date, end);
        QFETCH(int, minHeight);
        const CalendarGrid grid = threeDays();
        qint32 tv = -1, tb = -1, zv = -1, zb = -1;
        QVERIFY(grid.terminIndices(start, end, tv, tb, zv, zb, minHeight));
        QTEST((QVector<int>{tv, tb, zv, zb}), "expected");
    }

    // Times map to rows by rounding down, with one second of grace below a boundary; moments in
    // the band map to fractions of columns and are clipped to the displayed days.
    void axes_data()
    {
        QTest::addColumn<bool>("band");
        QTest::addColumn<Date>("datum");
        QTest::addColumn<int>("expected"); // the row, or the x in the band
        const Date mo = day(2024, 3, 4);
        QTest::newRow("08:29") << false << mo + hm(8, 29) << 16;
        QTest::newRow("08:29:59.5 counts as 08:30") << false << mo + hm(8, 29) + 59.5 * kOneSecond
                                                    << 17;
        QTest::newRow("summer time starts: 02:30 exists as a row")
            << false << day(2024, 3, 31) + hm(2, 30) << 5;
        QTest::newRow("before 1899") << false << day(1850, 6, 1) + hm(9, 45) << 19;
        QTest::newRow("band: last day 23:00") << true << mo + 2 + hm(23, 0) << 296;
        QTest::newRow("band: before the first day") << true << day(2024, 2, 1) << 0;
        QTest::newRow("band: after the last day stops at the right edge") << true << mo + 5 << 300;
        QTest::newRow("band: 12.5 pixels round half to even") << true << mo + hm(3, 0) << 12;
    }
    void axes()
    {
        QFETCH(bool, band);
        QFETCH(Date, datum);
        CalendarGrid grid = threeDays();
        grid.layoutScreen(0, 0, 340, 400, 8, 14); // time column 40, three columns of 100
        QTEST(band ? grid.bandX(datum) : grid.rowOf(datum), "expected");
    }

    // Screen geometry follows the character size, rounding half to even.
    void screenGeometry_data()
    {
        QTest::addColumn<int>("charHeight");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("rowHeight");
        QTest::addColumn<int>("splitter");
        QTest::addColumn<int>("columnWidth");
        QTest::newRow("13 px font: 19.5 rounds to 20") << 13 << 1000 << 20 << 4 << 320;
        QTest::newRow("15 px font: 22.5 rounds to 22") << 15 << 1000 << 22 << 4 << 320;
        QTest::newRow("narrow window") << 16 << 100 << 24 << 5 << 20;
    }
    void screenGeometry()
    {
        QFETCH(int, charHeight);
        QFETCH(int, width);
        QFETCH(int, rowHeight);
        CalendarGrid grid = threeDays(30, hm(8, 0));
        grid.dayInfoHeight = 3;
        grid.layoutScreen(5, 7, width, 600, 8, charHeight);
        QCOMPARE(grid.geo.lngZeilenhoehe, rowHeight);
        QCOMPARE(grid.geo.lngKopfhoehe, rowHeight);
        QTEST(grid.geo.lngSplitterHoehe, "splitter");
        QTEST(grid.geo.lngSpaltenBreite, "columnWidth");
        QCOMPARE(grid.geo.lngTagesterminHoehe, 3 * rowHeight);
        QCOMPARE(grid.geo.lngUnten, 607);
        QCOMPARE(grid.firstRowTop(), 7 + 4 * rowHeight + grid.geo.lngSplitterHoehe);
        // The first visible row starts at the grid top; rows above it lie above.
        QCOMPARE(grid.rowTop(16), grid.firstRowTop());
        QCOMPARE(grid.rowTop(15), grid.firstRowTop() - rowHeight);
        QCOMPARE(grid.columnLeft(2), 5 + 40 + 2 * grid.geo.lngSpaltenBreite);
    }

    // A print page ends the day at the last raster step that fits and gives the rest to the band.
    void printGeometry_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<Date>("endZeit");
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("bottom");

        // Row height 20, header 20, band 20, splitter 4: the grid starts at 44.
        QTest::newRow("08:00 to 18:00 fits") << 500 << hm(18, 0) << 76 << 500;
        QTest::newRow("day cut at 14:00") << 300 << hm(14, 0) << 36 << 300;
        QTest::newRow("exact fit") << 444 << hm(18, 0) << 20 << 444;
        QTest::newRow("page smaller than the header stops at the first time") << 10 << hm(8, 0) << 20 << 44;
    }
    void printGeometry()
    {
        QFETCH(int, height);
        QFETCH(Date, endZeit);
        CalendarGrid grid = threeDays(30, hm(8, 0));
        grid.endZeit = hm(18, 0);
        grid.layoutPrint(0, 0, 700, height, 8, 13);
        QVERIFY(qAbs(grid.endZeit - endZeit) < 1e-9);
        QTEST(grid.geo.lngTagesterminHoehe, "band");
        QTEST(grid.geo.lngUnten, "bottom");
    }

    // Rasters that would divide by zero or leave the day are refused and the old one stays.
    void rasterRejected_data()
    {
        QTest::addColumn<Date>("raster");
        QTest::newRow("below a minute") << 0.5 * kOneMinute;
        QTest::newRow("50 minutes do not divide the day") << 50 * kOneMinute;
    }
    void rasterRejected()
    {
        QFETCH(Date, raster);
        CalendarGrid grid = threeDays(15);
        QVERIFY_THROWS_EXCEPTION(Error, grid.setRaster(raster));
        QCOMPARE(grid.timeRaster, 15 * kOneMinute);
        QCOMPARE(grid.lastRow, 95);
    }

    // The range rules: the day count kept or taken from the layout, fourteen days at most, and a
    // weekday alignment only where the requested day stays in view.
    void displayedDays_data()
    {
        QTest::addColumn<Date>("first");
        QTest::addColumn<Date>("last");
        QTest::addColumn<bool>("blnDefault");
        QTest::addColumn<double>("layoutDays");
        QTest::addColumn<int>("alignWeekday"); // 0: no alignment asked for
        QTest::addColumn<Date>("expectedFirst");
        QTest::addColumn<Date>("expectedLast");
        const Date mon = day(2024, 3, 4), wed = mon + 2, thu = mon + 3, sat = mon + 5;
        // The view showed three days before.
        QTest::newRow("no last day keeps the three") << wed << 0.0 << false << 7.0 << 0 << wed << wed + 2;
        QTest::newRow("default takes the layout's seven") << wed << 0.0 << true << 7.0 << 0 << wed << wed + 6;
        QTest::newRow("the layout's 4.9 days are four") << wed << 0.0 << true << 4.9 << 0 << wed << wed + 3;
        QTest::newRow("last the day before the first counts as none") << wed << wed - 1 << false << 7.0 << 0 << wed << wed + 2;
        QTest::newRow("fifteen days cut to fourteen") << wed << wed + 14 << false << 7.0 << 0 << wed << wed + 13;
        QTest::newRow("time of day ignored") << wed + hm(13, 0) << wed + 1 + hm(9, 0) << false << 7.0 << 0 << wed << wed + 1;
        QTest::newRow("Thursday aligned on Monday") << thu << thu + 6 << false << 7.0 << 2 << mon << mon + 6;
        QTest::newRow("Monday itself") << mon << mon << false << 7.0 << 2 << mon << mon;
        QTest::newRow("Saturday, five days: Monday would hide it") << sat << sat + 4 << false << 7.0 << 2 << sat << sat + 4;
    }
    void displayedDays()
    {
        QFETCH(Date, first);
        QFETCH(Date, last);
        QFETCH(bool, blnDefault);
        QFETCH(double, layoutDays);
        QFETCH(int, alignWeekday);
        const DisplayedDays d = calendarDisplayedDays(first, last, blnDefault, alignWeekday != 0, 3,
                                                      layoutDays, alignWeekday);
        QTEST(d.firstDay, "expectedFirst");
        QTEST(d.lastDay, "expectedLast");
    }

    // Catches a time axis off the rows: the time of each visible row lies on its top.
    void timeAxisOnRows_data()
    {
        QTest::addColumn<int>("rasterMinutes");
        QTest::addColumn<Date>("firstTime");
        QTest::newRow("30 minutes from 08:00") << 30 << hm(8, 0);
        QTest::newRow("5 minutes from midnight") << 5 << 0.0;
        QTest::newRow("15 minutes from 23:45") << 15 << hm(23, 45);
    }
    void timeAxisOnRows()
    {
        QFETCH(int, rasterMinutes);
        QFETCH(Date, firstTime);
        CalendarGrid grid = threeDays(rasterMinutes, firstTime);
        grid.layoutScreen(0, 0, 700, 500, 8, 13);
        for (qint32 row = grid.firstVisibleRow(); row <= grid.lastRow; ++row)
            QCOMPARE(grid.timeY(row * grid.timeRaster), grid.rowTop(row));
    }
};

DAYPLEX_TEST_MAIN(tst_CalendarGrid)
#include "tst_calendargrid.moc"

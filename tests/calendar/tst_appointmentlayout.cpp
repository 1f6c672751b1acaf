#include "calendar/appointmentstore.h"
#include "calendar/calendargrid.h"
#include "calendar/cellmatrix.h"

#include <QtTest>

#include <cmath>
#include "support/testmain.h"

using namespace Dayplex;

namespace {

constexpr double kMonday = 45355.0; // 2024-03-04

Date at(double day, double hours) { return day + hours / 24.0; }

// Hand-set geometry: columns 240 wide, rows 24 high, the time grid from y 101.
CalendarGrid makeGrid(int days, int rasterMinutes, int minHeight, double firstHour = 0)
{
    CalendarGrid grid;
    grid.firstDay = kMonday;
    grid.lastDay = kMonday + days - 1;
    grid.setRaster(rasterMinutes * kOneMinute);
    grid.minDateHeight = minHeight;
    grid.firstTime = firstHour / 24.0;
    GridGeometry &g = grid.geo;
    g.lngZeitspalteBreite = 40;
    g.lngZeilenhoehe = 24;
    g.lngZeichenbreite = 8;
    g.lngSplitterHoehe = 5;
    g.lngKopfhoehe = 24;
    g.lngSpaltenBreite = 240;
    g.lngTagesterminHoehe = 72;
    g.lngUnten = 1000;
    return grid;
}

AppointmentLayout run(AppointmentStore &store, const CalendarGrid &grid, bool forPrinting = false)
{
    CellMatrix matrix;
    matrix.rebuild(grid.dayCount(), grid.lastRow + 1);
    // The pass that counts runs on a matrix used before: it must not see the first pass's marks.
    AppointmentStore first = store;
    layoutAppointments(first, matrix, grid, !forPrinting);
    return layoutAppointments(store, matrix, grid, forPrinting);
}

void add(AppointmentStore &store, const QString &dsn, Date start, Date end, bool allDay = false)
{
    store.add(dsn, dsn, start, end, allDay, 0, false, 0, false, false);
}

} // namespace

class tst_AppointmentLayout : public QObject
{
    Q_OBJECT

private slots:
    // Catches sub-columns chosen by start time instead of store order, or boxes that do not
    // share the usable width.
    void overlapping_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("A B C") << "ABC" << QStringList{"A:0/2", "B:1/2", "C:0/2"};
        QTest::newRow("C B A") << "CBA" << QStringList{"C:0/2", "B:1/2", "A:0/2"};
        QTest::newRow("A C B") << "ACB" << QStringList{"A:0/2", "C:0/2", "B:1/2"};
    }
    void overlapping()
    {
        QFETCH(QString, order);
        QFETCH(QStringList, expected);
        const CalendarGrid grid = makeGrid(1, 30, 1, 8);
        AppointmentStore store;
        for (const QChar key : order) {
            const double hour = 9 + (key.unicode() - 'A');
            add(store, key, at(kMonday, hour), at(kMonday, hour + 2));
        }
        QStringList got; // "key:sub-column/shared"
        for (const SegmentBox &b : run(store, grid).segments) {
            const QString &key = store.at(b.index).dsn;
            got << QStringLiteral("%1:%2/%3").arg(key).arg(b.subColumn).arg(b.subColumns);
            const double hour = 9 + (key.at(0).unicode() - 'A');
            // Usable width 240 - 8 = 232, halved; the time bar m = 3 takes 3 m off each box.
            QCOMPARE(b.box,
                     QRect(48 + 116 * b.subColumn, 101 + int(hour * 2 - 16) * 24, 116 - 9, 4 * 24));
            QCOMPARE(b.timeBarWidth, 3);
            QVERIFY(!b.inexact);
        }
        QCOMPARE(got, expected);
    }

    // Catches a minimum height ignored, end rows that include the row starting at the end,
    // appointments off the raster not marked inexact, one over midnight drawn as one box, and
    // printing without clipping to the time grid, or screen boxes clipped.
    void timedBoxes_data()
    {
        // From 08:00 (row 16 at y 101); the grid ends at y 341 after row 25 (12:30).
        QTest::addColumn<int>("raster");
        QTest::addColumn<int>("minHeight");
        QTest::addColumn<bool>("forPrinting");
        QTest::addColumn<double>("from"); // hours from Monday 00:00
        QTest::addColumn<double>("to");
        QTest::addColumn<QString>("expected"); // "day: y+h" per box
        QTest::newRow("10 minutes, raster 30, two rows high")
            << 30 << 2 << false << 10.0 << 10.0 + 1 / 6.0 << "0: 197+48 inexact";
        QTest::newRow("one hour on the raster") << 30 << 1 << false << 10.0 << 11.0 << "0: 197+48";
        QTest::newRow("off the raster at both ends")
            << 15 << 1 << false << 10.1 << 10.4 << "0: 293+48 inexact";
        QTest::newRow("start on, end off") << 60 << 1 << false << 10.0 << 10.5 << "0: 149+24 inexact";
        QTest::newRow("over midnight: a box each day")
            << 30 << 1 << false << 22.0 << 26.0 << "0: 773+96; 1: -283+96";
        QTest::newRow("print: above the first time is cut")
            << 30 << 1 << true << 7.0 << 9.0 << "0: 101+48 inexact";
        QTest::newRow("screen: above the first time is kept")
            << 30 << 1 << false << 7.0 << 9.0 << "0: 53+96";
        QTest::newRow("print: wholly above is dropped") << 30 << 1 << true << 6.0 << 8.0 << "";
        QTest::newRow("print: below the end is cut")
            << 30 << 1 << true << 12.0 << 14.0 << "0: 293+48 inexact";
        QTest::newRow("print: less than a row below the end is cut too")
            << 30 << 1 << true << 12.0 << 13.5 << "0: 293+48 inexact";
        QTest::newRow("screen: below the end is kept")
            << 30 << 1 << false << 12.0 << 14.0 << "0: 293+96";
    }
    void timedBoxes()
    {
        QFETCH(int, raster);
        QFETCH(int, minHeight);
        QFETCH(bool, forPrinting);
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(QString, expected);
        CalendarGrid grid = makeGrid(2, raster, minHeight, 8);
        grid.geo.lngUnten = 341;
        AppointmentStore store;
        add(store, QStringLiteral("a"), at(kMonday, from), at(kMonday, to));
        QStringList got;
        for (const SegmentBox &b : run(store, grid, forPrinting).segments)
            got << QStringLiteral("%1: %2+%3%4").arg(b.column).arg(b.box.top()).arg(b.box.height())
                       .arg(b.inexact ? " inexact" : "");
        QCOMPARE(got.join(QStringLiteral("; ")), expected);
    }

    // Catches band rows stacked when entries only touch, widths that ignore the time of day,
    // the minimum width, or a midnight end that does not count its day.
    void allDayBand_data()
    {
        // Entries "startDay@hour-endDay@hour"; band x from 40, y from 24, columns 240, rows 24.
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QStringList>("expected"); // "row x w" per entry
        QTest::newRow("two on one day, a third two days later")
            << "0@0-0@0,0@0-0@0,2@0-2@0" << QStringList{"1 40 240", "2 40 240", "1 520 240"};
        QTest::newRow("consecutive days only touch")
            << "0@0-0@0,1@0-1@0" << QStringList{"1 40 240", "1 280 240"};
        QTest::newRow("part of a day is its share of the column")
            << "0@10-0@14" << QStringList{"1 140 40"};
        QTest::newRow("never narrower than a third of a row")
            << "0@10-0@10.1" << QStringList{"1 140 8"};
        QTest::newRow("a midnight end counts its day")
            << "0@0-1@0,1@12-1@13" << QStringList{"1 40 480", "2 400 10"};
        QTest::newRow("a gap between two boxes is used")
            << "0@0-0@0,2@0-2@0,0@0-2@0,1@0-1@0"
            << QStringList{"1 40 240", "1 520 240", "2 40 720", "1 280 240"};
    }
    void allDayBand()
    {
        QFETCH(QString, entries);
        QFETCH(QStringList, expected);
        const CalendarGrid grid = makeGrid(4, 30, 1);
        AppointmentStore store;
        for (const QString &entry : entries.split(QLatin1Char(','))) {
            const QStringList ends = entry.split(QLatin1Char('-'));
            const auto moment = [](const QString &text) {
                return at(kMonday + text.section(QLatin1Char('@'), 0, 0).toInt(),
                          text.section(QLatin1Char('@'), 1, 1).toDouble());
            };
            add(store, entry, moment(ends[0]), moment(ends[1]), true);
        }
        const AppointmentLayout layout = run(store, grid);
        QStringList got;
        for (const AllDayBox &b : layout.allDay) {
            QCOMPARE(b.box.top(), 24 + (b.bandRow - 1) * 24);
            QCOMPARE(b.box.height(), 24);
            got << QStringLiteral("%1 %2 %3").arg(b.bandRow).arg(b.box.x()).arg(b.box.width());
        }
        QCOMPARE(got, expected);
        QVERIFY(layout.segments.isEmpty());
    }

    // Catches ends before starts left alone, wrong visibility at the range ends, and all-day
    // entries that take up cells.
    void repairAndVisibility_data()
    {
        // Two days shown, Monday and Tuesday; times in days from Monday 00:00.
        QTest::addColumn<bool>("allDay");
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<double>("repairedTo");
        QTest::addColumn<int>("boxes");
        QTest::newRow("end before start") << false << 0.5 << 0.25 << 0.5 << 1;
        QTest::newRow("ends before the first day") << false << -1.0 << -0.01 << -0.01 << 0;
        QTest::newRow("ends at the first day's midnight") << false << -1.0 << 0.0 << 0.0 << 1;
        QTest::newRow("starts at the day after the last") << false << 2.0 << 2.5 << 2.5 << 0;
        QTest::newRow("starts just before that") << false << 1.99 << 2.5 << 2.5 << 1;
        QTest::newRow("all day, end before start") << true << 1.0 << 0.0 << 1.0 << 1;
        QTest::newRow("all day, before the range") << true << -3.0 << -1.0 << -1.0 << 0;
        QTest::newRow("all day, the day after the last") << true << 2.0 << 2.0 << 2.0 << 0;
    }
    void repairAndVisibility()
    {
        QFETCH(bool, allDay);
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(double, repairedTo);
        QFETCH(int, boxes);
        const CalendarGrid grid = makeGrid(2, 30, 1);
        AppointmentStore store;
        store.add(QStringLiteral("a"), QString(), kMonday + from, kMonday + to, allDay, 0, false, 0,
                  false, false);
        CellMatrix matrix;
        matrix.rebuild(2, grid.lastRow + 1);
        const AppointmentLayout layout = layoutAppointments(store, matrix, grid, false);
        QCOMPARE(store.at(1).dateEnd, kMonday + to); // the layout only reads the store
        QCOMPARE(int(layout.allDay.size() + layout.segments.size()), boxes);
        store.repairEnds();
        QCOMPARE(store.at(1).dateEnd, kMonday + repairedTo);
        QCOMPARE(store.at(1).dateEndOrig, kMonday + to);
        int marked = 0;
        for (int c = 0; c < 2; ++c)
            for (int r = 0; r <= grid.lastRow; ++r)
                marked += int(matrix.belegung(c, r).size());
        QCOMPARE(marked > 0, !allDay && boxes > 0);
    }
};

DAYPLEX_TEST_MAIN(tst_AppointmentLayout)

#include "tst_appointmentlayout.moc"

// The cells' occupancy and working times, and the appointments laid out on them as boxes.
#include "calendar/appointmentstore.h"
#include "calendar/calendargrid.h"
#include "calendar/cellmatrix.h"
#include "shared/ccontainer.h"

#include <QRandomGenerator>
#include <QtTest>

#include "support/testmain.h"

using namespace Dayplex;

namespace {

constexpr double kMonday = 45355.0; // 2024-03-04

Date at(double day, double hours) { return day + hours / 24.0; }

// Characters of 8 x 16: columns 240 wide, rows 24 high, a band of three rows, a splitter of 5,
// the time grid from y 101.
CalendarGrid makeGrid(int days, int rasterMinutes, int minHeight, double firstHour = 0)
{
    CalendarGrid grid;
    grid.firstDay = kMonday;
    grid.lastDay = kMonday + days - 1;
    grid.setRaster(rasterMinutes * kOneMinute);
    grid.minDateHeight = minHeight;
    grid.firstTime = firstHour / 24.0;
    grid.dayInfoHeight = 3;
    grid.layoutScreen(0, 0, 40 + 240 * days, 1000, 8, 16);
    return grid;
}

AppointmentLayout run(AppointmentStore &store, const CalendarGrid &grid, CellMatrix &matrix,
                      bool forPrinting = false)
{
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

constexpr qint32 kFree = 0x00C0C0C0;
constexpr qint32 kWork = 0x00FFFFFF;

// The rule the bit matrix implements, spelt out on text: a segment takes the lowest sub-column
// free in all its rows, one segment per day; a cell lists the keys of its sub-columns up to the
// last taken one ("" where free, at least one entry).
struct Model
{
    int rows;
    QVector<QString> marks; // per cell, as the matrix writes them
    QVector<QStringList> keys;

    Model(int days, int rows) : rows(rows), marks(days * rows), keys(days * rows, {QString()}) {}

    int place(int column, int zv, int zb, const QString &dsn)
    {
        const int first = column * rows;
        int k = 0;
        for (int r = zv; r <= zb; ++r)
            if (marks[first + r].mid(k, 1) == QLatin1String("*"))
                ++k, r = zv - 1;
        for (int r = zv; r <= zb; ++r) {
            marks[first + r] = marks[first + r].leftJustified(k + 1);
            marks[first + r][k] = QLatin1Char('*');
            while (keys[first + r].size() <= k)
                keys[first + r].append(QString());
            keys[first + r][k] = dsn;
        }
        return k + 1;
    }
    void placeDays(int tv, int tb, int zv, int zb, const QString &dsn)
    {
        for (int t = tv; t <= tb; ++t)
            place(t, t == tv ? zv : 0, t == tb ? zb : rows - 1, dsn);
    }
};

// "W" for working time, "F" for free, per row of one column.
QString colourRow(const CellMatrix &matrix, int column)
{
    QString text;
    for (int r = 0; r < matrix.rows(); ++r)
        text += matrix.colour(column, r) == kWork ? QLatin1Char('W')
            : matrix.colour(column, r) == kFree   ? QLatin1Char('F')
                                                  : QLatin1Char('?');
    return text;
}

// Rows from..to of 48 half hours as W, the rest F.
QString workRows(std::initializer_list<std::pair<int, int>> ranges)
{
    QString text(48, QLatin1Char('F'));
    for (const auto &range : ranges)
        for (int r = range.first; r <= range.second; ++r)
            text[r] = QLatin1Char('W');
    return text;
}

} // namespace

class tst_AppointmentLayout : public QObject
{
    Q_OBJECT

private slots:
    // Catches sub-columns chosen by start time instead of store order, boxes that do not share
    // the usable width, a minimum height ignored, end rows that include the row starting at the
    // end, appointments off the raster not marked inexact, one over midnight drawn as one box,
    // printing without clipping to the time grid, or screen boxes clipped, an end before the
    // start not read as the start, and wrong visibility at the range ends. In the all-day band:
    // rows stacked when entries only touch, widths that ignore the time of day, the minimum
    // width, a midnight end that does not count its day, and entries that take up cells.
    void boxes_data()
    {
        // Four days from 08:00 (row 16 at y 101); the grid ends at y 341 after row 25 (12:30). A
        // day's usable width is 240 - 8; the time bar of 3 takes 3 times 3 off each box. The
        // band's x from 40, its y from 24, rows 24.
        QTest::addColumn<int>("raster");
        QTest::addColumn<int>("minHeight");
        QTest::addColumn<QString>("mode"); // "screen", "print" or "all day"
        QTest::addColumn<QVector<double>>("hours"); // from and to per entry, from Monday 00:00
        // Per box in store order: "day: x,y wxh" or "band row: x w".
        QTest::addColumn<QString>("expected");
        QTest::newRow("A B C overlap in turn")
            << 30 << 1 << "screen" << QVector<double>{9, 11, 10, 12, 11, 13}
            << "0: 48,149 107x96; 0: 164,197 107x96; 0: 48,245 107x96";
        // By start, A would take the first sub-column and C would share it.
        QTest::newRow("B A C") << 30 << 1 << "screen" << QVector<double>{10, 12, 9, 11, 11, 13}
                               << "0: 48,197 107x96; 0: 164,149 107x96; 0: 164,245 107x96";
        QTest::newRow("10 minutes, raster 30, two rows high")
            << 30 << 2 << "screen" << QVector<double>{10, 10 + 1 / 6.0}
            << "0: 48,197 223x48 inexact";
        QTest::newRow("off the raster at both ends")
            << 15 << 1 << "screen" << QVector<double>{10.1, 10.4} << "0: 48,293 223x48 inexact";
        QTest::newRow("start on, end off")
            << 60 << 1 << "screen" << QVector<double>{10, 10.5} << "0: 48,149 223x24 inexact";
        QTest::newRow("over midnight: a box each day")
            << 30 << 1 << "screen" << QVector<double>{22, 26}
            << "0: 48,773 223x96; 1: 288,-283 223x96";
        QTest::newRow("print: above the first time is cut")
            << 30 << 1 << "print" << QVector<double>{7, 9} << "0: 48,101 223x48 inexact";
        QTest::newRow("screen: above the first time is kept")
            << 30 << 1 << "screen" << QVector<double>{7, 9} << "0: 48,53 223x96";
        QTest::newRow("print: wholly above is dropped")
            << 30 << 1 << "print" << QVector<double>{6, 8} << "";
        QTest::newRow("print: less than a row below the end is cut too")
            << 30 << 1 << "print" << QVector<double>{12, 13.5} << "0: 48,293 223x48 inexact";
        QTest::newRow("screen: below the end is kept")
            << 30 << 1 << "screen" << QVector<double>{12, 14} << "0: 48,293 223x96";
        QTest::newRow("end before start: at its start")
            << 30 << 1 << "screen" << QVector<double>{12, 6} << "0: 48,293 223x24";
        QTest::newRow("ends before the first day, starts at the day after the last")
            << 30 << 1 << "screen" << QVector<double>{-24, -0.24, 96, 108} << "";
        // The end row is taken from 30 seconds before midnight, on the first day.
        QTest::newRow("ends at the first day's midnight")
            << 30 << 1 << "screen" << QVector<double>{-24, 0} << "0: 48,-283 223x1152";
        QTest::newRow("starts just before the day after the last")
            << 30 << 1 << "screen" << QVector<double>{95.76, 108} << "3: 768,845 223x24 inexact";
        QTest::newRow("all day: consecutive days only touch")
            << 30 << 1 << "all day" << QVector<double>{0, 0, 24, 24}
            << "band 1: 40 240; band 1: 280 240";
        QTest::newRow("all day: part of a day is its share of the column")
            << 30 << 1 << "all day" << QVector<double>{10, 14} << "band 1: 140 40";
        QTest::newRow("all day: never narrower than a third of a row")
            << 30 << 1 << "all day" << QVector<double>{10, 10.1} << "band 1: 140 8";
        QTest::newRow("all day: a midnight end counts its day")
            << 30 << 1 << "all day" << QVector<double>{0, 24, 36, 37}
            << "band 1: 40 480; band 2: 400 10";
        QTest::newRow("all day: a gap between two boxes is used")
            << 30 << 1 << "all day" << QVector<double>{0, 0, 48, 48, 0, 48, 24, 24}
            << "band 1: 40 240; band 1: 520 240; band 2: 40 720; band 1: 280 240";
        QTest::newRow("all day: end before start, its start day")
            << 30 << 1 << "all day" << QVector<double>{24, 0} << "band 1: 280 240";
        QTest::newRow("all day: before the range and the day after the last")
            << 30 << 1 << "all day" << QVector<double>{-72, -24, 96, 96} << "";
    }
    void boxes()
    {
        QFETCH(int, raster);
        QFETCH(int, minHeight);
        QFETCH(QString, mode);
        QFETCH(QVector<double>, hours);
        CalendarGrid grid = makeGrid(4, raster, minHeight, 8);
        grid.geo.lngUnten = 341;
        AppointmentStore store;
        for (int i = 0; i + 1 < hours.size(); i += 2)
            add(store, QString::number(i), at(kMonday, hours[i]), at(kMonday, hours[i + 1]),
                mode == "all day");
        CellMatrix matrix;
        const AppointmentLayout layout = run(store, grid, matrix, mode == "print");
        QStringList got;
        for (const SegmentBox &b : layout.segments) {
            QCOMPARE(b.timeBarWidth, 3);
            got << QString::asprintf("%d: %d,%d %dx%d%s", b.column, b.box.x(), b.box.y(), b.box.width(),
                                     b.box.height(), b.inexact ? " inexact" : "");
        }
        for (const AllDayBox &b : layout.allDay) {
            QCOMPARE(b.box.top(), 24 + (b.bandRow - 1) * 24);
            QCOMPARE(b.box.height(), 24);
            got << QString::asprintf("band %d: %d %d", b.bandRow, b.box.x(), b.box.width());
        }
        QTEST(got.join(QStringLiteral("; ")), "expected");
        for (int c = 0; mode == "all day" && c < matrix.days(); ++c)
            for (int r = 0; r < matrix.rows(); ++r)
                QVERIFY(matrix.belegung(c, r).isEmpty());
    }

    // Catches ends before starts left alone, the original end lost, and a layout that repairs
    // the store it only reads.
    void endRepair()
    {
        const Date noon = kMonday + 0.5;
        AppointmentStore store;
        add(store, QStringLiteral("a"), noon, noon - 0.25);
        add(store, QStringLiteral("b"), noon, noon - 1, true);
        add(store, QStringLiteral("c"), noon, noon + 0.25);
        CellMatrix matrix;
        run(store, makeGrid(2, 30, 1), matrix);
        QCOMPARE(store.at(1).dateEnd, noon - 0.25);
        store.repairEnds();
        QCOMPARE(store.at(1).dateEnd, noon);
        QCOMPARE(store.at(1).dateEndOrig, noon - 0.25);
        QCOMPARE(store.at(2).dateEnd, noon);
        QCOMPARE(store.at(3).dateEnd, noon + 0.25);
    }

    // Catches bit bookkeeping that goes wrong across 64-bit words or while the sub-columns
    // grow, and multi-day intervals placed as one block instead of one segment per day,
    // against the text model on random calls.
    void matchesTextModel()
    {
        const QStringList keys{"", "a", "b", "c", "d", "e", "f", "g", "h"};
        int highest = 0;
        for (quint32 seed = 1; seed <= 40; ++seed) {
            QRandomGenerator random(seed);
            const int days = 1 + int(random.bounded(4));
            const int rows = 1 + int(random.bounded(seed % 2 ? 6 : 40));
            CellMatrix matrix;
            matrix.rebuild(days, rows);
            Model model(days, rows);
            matrix.clearOccupancy();
            const int calls = 50 + int(random.bounded(350));
            for (int i = 0; i < calls; ++i) {
                const QString &key = keys[int(random.bounded(keys.size()))];
                const int tv = int(random.bounded(days));
                int zv = int(random.bounded(rows));
                int zb = int(random.bounded(rows));
                if (random.bounded(3) == 0) {
                    const int tb = tv + int(random.bounded(days - tv));
                    if (tv == tb && zv > zb)
                        std::swap(zv, zb);
                    matrix.zellenBelegungEintragen(tv, tb, zv, zb, key);
                    model.placeDays(tv, tb, zv, zb, key);
                } else {
                    if (zv > zb)
                        std::swap(zv, zb);
                    const int k = matrix.spaltenBelegen(tv, zv, zb, key);
                    QCOMPARE(k, model.place(tv, zv, zb, key));
                    highest = std::max(highest, k);
                }
            }
            for (int cell = 0; cell < days * rows; ++cell) {
                const int c = cell / rows, r = cell % rows;
                const QStringList &cellKeys = model.keys[cell];
                QCOMPARE(matrix.belegung(c, r), model.marks[cell]);
                for (int k = 1; k <= cellKeys.size() + 1; ++k)
                    QCOMPARE(matrix.dsnAt(c, r, k), cellKeys.value(k - 1));
                for (const QString &key : keys)
                    QCOMPARE(matrix.firstSubColumnOf(c, r, key), int(cellKeys.indexOf(key)) + 1);
                // The widest trimmed marks of the rows from here to a random one below.
                const int to = r + int(random.bounded(rows - r));
                int widest = 0;
                for (int row = r; row <= to; ++row)
                    widest = std::max(widest, int(model.marks[cell + row - r].trimmed().size()));
                QCOMPARE(matrix.sharedSubColumns(c, r, to), widest);
            }
        }
        QVERIFY2(highest > 130, "the random calls must reach a third word of sub-columns");
    }

    // Catches pauses that lose against working time, the wrong weekday's keys, and end rows
    // that include the row starting at the end time.
    void workingTimes_data()
    {
        // Options as "key=hours" pairs; the grid shows Monday and Tuesday, 30-minute rows.
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("monday");
        QTest::addColumn<QString>("tuesday");
        const QString allFree(48, QLatin1Char('F'));
        QTest::newRow("work with a pause")
            << "timeArbeitsZeitVon2=8,timeArbeitsZeitBis2=18,timePause1Von2=12,timePause1Bis2=13"
            << workRows({{16, 23}, {26, 35}}) << allFree;
        QTest::newRow("end before start") << "timeArbeitsZeitVon2=18,timeArbeitsZeitBis2=8"
                                          << allFree << allFree;
        QTest::newRow("each weekday its own keys, case-insensitive")
            << "TIMEARBEITSZEITVON3=7.5,timearbeitszeitbis3=9,timeArbeitsZeitVon2=10,"
               "timeArbeitsZeitBis2=11"
            << workRows({{20, 21}}) << workRows({{15, 17}});
        QTest::newRow("fifth pause counts, a sixth does not")
            << "timeArbeitsZeitVon2=8,timeArbeitsZeitBis2=12,timePause5Von2=9,timePause5Bis2=10,"
               "timePause6Von2=11,timePause6Bis2=12"
            << workRows({{16, 17}, {20, 23}}) << allFree;
        QTest::newRow("end off the raster keeps its row")
            << "timeArbeitsZeitVon2=8.25,timeArbeitsZeitBis2=9.25" << workRows({{16, 18}})
            << allFree;
    }
    void workingTimes()
    {
        QFETCH(QString, options);
        cContainer container;
        for (const QString &pair : options.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QStringList parts = pair.split(QLatin1Char('='));
            container.setValue(parts[0], parts[1].toDouble() / 24.0, cContainer::Kind::Date);
        }
        cContainer layout;
        layout.setValue(QStringLiteral("rgbFreizeit"), kFree);
        layout.setValue(QStringLiteral("rgbArbeitszeit"), kWork);
        const CalendarGrid grid = makeGrid(2, 30, 1);
        CellMatrix matrix;
        matrix.rebuild(2, grid.lastRow + 1);
        applyWorkingTimes(matrix, grid, container, layout);
        QTEST(colourRow(matrix, 0), "monday");
        QTEST(colourRow(matrix, 1), "tuesday");
    }
};

DAYPLEX_TEST_MAIN(tst_AppointmentLayout)

#include "tst_appointmentlayout.moc"

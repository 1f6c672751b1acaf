// The Gantt view's geometry: layout fields, row heights, header steps and labels, bar
// rectangles, the sorted bar order and the overlap staircase.
#include "gantt/ganttlayout.h"

#include <QtTest>
#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMon = day(2024, 3, 4);

// Seven days from Monday on a 700 x 500 area, text 13 px high, characters 7 px wide:
// name column 91 px, 3.625 px per hour, header rows of 16 px, rows of 18 px from y 32.
GanttLayout week(qint32 rows = 0)
{
    return ganttLayout(0, 0, 700, 500, 13, 7, kMon, kMon + 6, rows, false, 1);
}

struct Bar
{
    const char *dsn;
    Date von;
    Date bis;
    const char *row;
};
using Bars = QVector<Bar>;

GanttModel modelWith(const Bars &bars)
{
    GanttModel model;
    for (const char *row : {"R1", "R2", "R3"})
        model.addMerkmal(QString::fromLatin1(row), QString::fromLatin1(row));
    for (const Bar &b : bars)
        model.addDate(b.dsn, b.dsn, b.von, b.bis, false, 0, false, 0, false, b.row, false, false);
    return model;
}

} // namespace

Q_DECLARE_METATYPE(Bars)

class tst_GanttLayout : public QObject
{
    Q_OBJECT

private slots:
    // Catches a wrong formula for any layout field (name column, scale, header and row heights),
    // and a row axis counting from the wrong row or answering for the header and below.
    void layoutFields()
    {
        const GanttLayout l = ganttLayout(10, 20, 700, 500, 13, 7, kMon, kMon + 6 + hm(15, 0), 0,
                                          false, 1);
        QCOMPARE(l.lngNamenBreite, 10 + 91);
        QCOMPARE(l.dblPixelProStunde, 609.0 / 168.0);
        QCOMPARE(l.lngKopfhoehe, 16);
        QCOMPARE(l.lngZeilenOben, 20 + 32);
        QCOMPARE(l.lngZeilenhoehe, 18);
        QCOMPARE(l.lngPixelProTag, 87);
        QCOMPARE(l.dEnd, kMon + 7);
        // A first day with a time counts the hours from that hour.
        QCOMPARE(ganttLayout(0, 0, 700, 500, 13, 7, kMon + hm(10, 30), kMon + 6, 0, false, 1).hours,
                 qint64(158));
        const std::pair<int, int> rowsAt[] = {{52, 0}, {53, 1}, {70, 2}, {52 + 5 * 18 + 1, 0}};
        for (const auto &[y, row] : rowsAt)
            QCOMPARE(l.rowAt(y, 1, 5), row);
        QCOMPARE(GanttLayout().rowAt(70, 1, 5), 0); // before any paint
    }

    // Catches the moment under x left of the time area or one pixel off, and a rounding that
    // is not to the nearest ten minutes (half up) or divides by a scale not yet laid out: at
    // 24 px per hour a pixel is 2.5 minutes.
    void dateAtX_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<double>("pixelsPerHour");
        QTest::addColumn<Date>("expected"); // 0: no moment
        QTest::newRow("last pixel of the name column") << 90 << 24.0 << Date(0);
        QTest::newRow("first pixel of the time area") << 91 << 24.0 << kMon;
        QTest::newRow("2.5 minutes round down") << 92 << 24.0 << kMon;
        QTest::newRow("5 minutes round up") << 93 << 24.0 << kMon + hm(0, 10);
        QTest::newRow("a day on") << 91 + 24 * 24 << 24.0 << kMon + 1;
        QTest::newRow("no scale yet") << 91 << 0.0 << Date(0);
        QTest::newRow("a negative scale") << 91 << -24.0 << Date(0);
    }
    void dateAtX()
    {
        QFETCH(int, x);
        QFETCH(double, pixelsPerHour);
        GanttLayout l;
        l.lngNamenBreite = 91;
        l.startDate = kMon;
        l.dblPixelProStunde = pixelsPerHour;
        QTEST(l.dateAtX(x), "expected");
    }

    // Catches rows that shrink under optimal height, ignore the minimum lines, or do not
    // stretch, and a wrong step rule for the two header rows.
    void rowsAndHeader_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("optimal");
        QTest::addColumn<int>("minRows");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("hourStep");
        QTest::addColumn<int>("dayStep");
        QTest::newRow("3 rows fill 500 - 3 x 16") << 7 << 700 << 3 << true << 1 << 151 << 6 << 1;
        QTest::newRow("30 rows keep 1.4 x th") << 7 << 700 << 30 << true << 1 << 18 << 6 << 1;
        QTest::newRow("3 rows, not optimal") << 7 << 700 << 3 << false << 1 << 18 << 6 << 1;
        QTest::newRow("4 lines minimum") << 7 << 700 << 30 << false << 4 << 73 << 6 << 1;
        QTest::newRow("1 day, 700 px: every hour") << 1 << 700 << 0 << false << 1 << 18 << 1 << 1;
        QTest::newRow("20 days: 21-day cells") << 20 << 500 << 0 << false << 1 << 18 << 24 << 21;
        QTest::newRow("60 days: 7-day cells") << 60 << 500 << 0 << false << 1 << 18 << 24 << 7;
        QTest::newRow("no room for the time area") << 7 << 91 << 0 << false << 1 << 18 << 24 << 21;
    }
    void rowsAndHeader()
    {
        QFETCH(int, days);
        QFETCH(int, width);
        QFETCH(int, rows);
        QFETCH(bool, optimal);
        QFETCH(int, minRows);
        const GanttLayout l = ganttLayout(0, 0, width, 500, 13, 7, kMon, kMon + days - 1, rows,
                                          optimal, minRows);
        QTEST(l.lngZeilenhoehe, "height");
        QTEST(ganttHeaderScale(l).hourStep, "hourStep");
        QTEST(ganttHeaderScale(l).dayStep, "dayStep");
    }

    // Catches header and corner texts in the wrong format.
    void labels_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        QTest::newRow("day cell wider than 10 characters")
            << ganttDayLabel(kMon, 71, 7) << "04.03.2024 Mo";
        // Scales of hour step, day step and days shown.
        QTest::newRow("hour label is the hour of day")
            << ganttHourLabel(30, HeaderScale{6, 1, 7}, kMon) << "6";
        QTest::newRow("day cells show the weekday")
            << ganttHourLabel(48, HeaderScale{24, 1, 28}, kMon) << "Mi";
        QTest::newRow("101 days show the calendar week")
            << ganttHourLabel(24 * 7, HeaderScale{24, 1, 101}, kMon) << "11";
        QTest::newRow("corner with the mouse date")
            << ganttCornerText(kMon + hm(10, 4)) << " Mo, 04.03.2024\r\n 10:00 Uhr 10. Wo";
        QTest::newRow("proposal label")
            << ganttProposalLabel(kMon + hm(10, 0), kMon + hm(12, 0))
            << "Von: 04.03.2024 10:00\r\nBis: 04.03.2024 12:00";
        QTest::newRow("proposal of whole days")
            << ganttProposalLabel(kMon, kMon + 2) << "Von: 04.03.2024\r\nBis: 06.03.2024";
    }
    void labels()
    {
        QFETCH(QString, actual);
        QTEST(actual, "expected");
    }

    // Catches bars in the wrong place or size: hour scale, minimum width, whole days for an end
    // at midnight, cuts at the displayed days, rows scrolled out.
    void barRect_data()
    {
        QTest::addColumn<Date>("von");
        QTest::addColumn<Date>("bis");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("firstRow");
        QTest::addColumn<QRect>("expected"); // null: no bar

        QTest::newRow("Monday 10:00-12:00 in row 2")
            << kMon + hm(10, 0) << kMon + hm(12, 0) << 2 << 1 << QRect(127, 52, 7, 14);
        QTest::newRow("one minute is still 5 px wide")
            << kMon + hm(10, 0) << kMon + hm(10, 1) << 2 << 1 << QRect(127, 52, 5, 14);
        QTest::newRow("ending at midnight of the first day covers it up to 23:59")
            << kMon - 1 + hm(8, 0) << kMon << 2 << 1 << QRect(91, 52, 87, 14);
        QTest::newRow("ends after the view, cut at the end")
            << kMon + 6 + hm(12, 0) << kMon + 8 + hm(9, 0) << 2 << 1 << QRect(656, 52, 44, 14);
        QTest::newRow("second visible row when scrolled")
            << kMon + hm(10, 0) << kMon + hm(12, 0) << 4 << 2 << QRect(127, 70, 7, 14);
        QTest::newRow("row scrolled out above") << kMon + hm(10, 0) << kMon + hm(12, 0) << 2 << 3 << QRect();
        QTest::newRow("end before start") << kMon + hm(12, 0) << kMon + hm(10, 0) << 2 << 1 << QRect();
    }
    void barRect()
    {
        QFETCH(Date, von);
        QFETCH(Date, bis);
        QFETCH(int, row);
        QFETCH(int, firstRow);
        const BarRect bar = ganttBarRect(week(), von, bis, row, firstRow);
        QTEST(bar.isNull() ? QRect() : QRect(bar.left, bar.top, bar.width, bar.height), "expected");
    }

    // Catches a wrong staircase: halving, the 1-pixel gap, the 2-pixel tolerance, comparing bars
    // of different rows, walking in list order instead of left-edge order, or numeric index order.
    void staircase_data()
    {
        QTest::addColumn<Bars>("bars");
        QTest::addColumn<QStringList>("dsns");
        QTest::addColumn<QVector<int>>("tops");    // relative to the row's bar top
        QTest::addColumn<QVector<int>>("heights");
        QTest::addColumn<int>("markers");

        const Date m = kMon;
        QTest::newRow("overlap of 3 px: upper and lower half")
            << Bars{{"A", m + hm(10, 0), m + hm(12, 0), "R1"}, {"B", m + hm(11, 0), m + hm(13, 0), "R1"}}
            << QStringList{"A", "B"} << QVector<int>{0, 8} << QVector<int>{7, 7} << 1;
        QTest::newRow("overlap of 2 px keeps full height")
            << Bars{{"A", m + hm(10, 0), m + hm(12, 0), "R1"}, {"B", m + hm(11, 20), m + hm(13, 0), "R1"}}
            << QStringList{"A", "B"} << QVector<int>{0, 0} << QVector<int>{14, 14} << 0;
        QTest::newRow("three in a run: a staircase by left edges, not by arrival")
            << Bars{{"C", m + hm(13, 0), m + hm(16, 0), "R1"}, {"A", m + hm(10, 0), m + hm(14, 0), "R1"},
                    {"B", m + hm(11, 0), m + hm(15, 0), "R1"}}
            << QStringList{"A", "B", "C"} << QVector<int>{0, 8, 13} << QVector<int>{7, 4, 4} << 2;
        QTest::newRow("bars of different rows do not interact")
            << Bars{{"A", m + hm(10, 0), m + hm(14, 0), "R1"}, {"B", m + hm(11, 0), m + hm(15, 0), "R2"}}
            << QStringList{"A", "B"} << QVector<int>{0, 0} << QVector<int>{14, 14} << 0;
        // Records 1..8 sit in another row; 9 and 10 share a left edge, and "10" sorts before "9".
        Bars tenth;
        for (int i = 1; i <= 8; ++i)
            tenth.append({"x", m + 2 + hm(i, 0), m + 2 + hm(i, 10), "R3"});
        tenth.append({"nine", m + hm(10, 0), m + hm(12, 0), "R1"});
        tenth.append({"ten", m + hm(10, 0), m + hm(12, 0), "R1"});
        QTest::newRow("equal left edges: index 10 before 9 as text")
            << tenth << QStringList{"ten", "nine"} << QVector<int>{0, 8} << QVector<int>{7, 7} << 1;
    }
    void staircase()
    {
        QFETCH(Bars, bars);
        QFETCH(QStringList, dsns);
        QFETCH(QVector<int>, tops);
        QFETCH(QVector<int>, heights);
        GanttModel model = modelWith(bars);
        const GanttLayout l = week(3);
        const BarPass pass = ganttLayoutBars(model, l, 1, 1, 3);
        QTEST(int(pass.markers.size()), "markers");
        for (int k = 0; k < dsns.size(); ++k) {
            const qint32 i = indexOfDsn(model, dsns[k]);
            const BarRect &b = pass.rects.at(i - 1);
            const qint32 rowTop = l.rowTop(model.merkmalIndexDsn(model.date(i).merkmaldsn), 1) + 2;
            QCOMPARE(b.top - rowTop, tops[k]);
            QCOMPARE(b.height, heights[k]);
        }
    }
};

DAYPLEX_TEST_MAIN(tst_GanttLayout)
#include "tst_ganttlayout.moc"

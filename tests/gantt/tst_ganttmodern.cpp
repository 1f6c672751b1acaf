// The modern resource view's geometry: the folded time axis, rows of their own heights,
// appointments in lanes, where a bar's label goes, and the tooltip.
#include "gantt/ganttmodern.h"
#include "gantt/ganttscene.h"

#include <QtTest>
#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMon = day(2024, 3, 4);

// Seven days from Monday, characters 7 px wide: names 91 px, then days of 200 px whose hours
// from 08:00 to 16:00 take 20 px each and the sixteen others 2.5 px each.
GanttLayout foldedWeek()
{
    GanttLayout l = ganttLayout(0, 0, 1491, 500, 13, 7, kMon, kMon + 6, 0, false, 1);
    foldAxis(l, hm(8, 0), hm(16, 0));
    return l;
}

struct Bar
{
    const char *dsn;
    Date von;
    Date bis;
};
using Bars = QVector<Bar>;

GanttModel oneRow(const Bars &bars)
{
    GanttModel model;
    model.addMerkmal(QStringLiteral("Anna Becker"), QStringLiteral("R1"));
    for (const Bar &b : bars)
        model.addDate(QString::fromLatin1(b.dsn), QString::fromLatin1(b.dsn), b.von, b.bis, false,
                      0, false, 0, false, QStringLiteral("R1"), false, false);
    return model;
}

// Six pixels a character.
qint32 sixEach(const QString &text)
{
    return qint32(text.size() * 6);
}

} // namespace

Q_DECLARE_METATYPE(Bars)

class tst_GanttModern : public QObject
{
    Q_OBJECT

private slots:
    // Catches a band or working stretch of the wrong width, a day that does not start where
    // the last ended, and a pixel-to-time mapping that is not the inverse in the working hours.
    void foldedAxis_data()
    {
        QTest::addColumn<Date>("moment");
        QTest::addColumn<qint32>("x");
        QTest::addColumn<bool>("working");
        QTest::newRow("first midnight") << kMon << 91 << false;
        QTest::newRow("04:00 in the band before") << kMon + hm(4, 0) << 101 << false;
        QTest::newRow("start of the working hours") << kMon + hm(8, 0) << 111 << true;
        QTest::newRow("noon") << kMon + hm(12, 0) << 191 << true;
        QTest::newRow("a minute before their end") << kMon + hm(15, 50) << 268 << true;
        QTest::newRow("end of the working hours") << kMon + hm(16, 0) << 271 << false;
        QTest::newRow("next midnight") << kMon + 1 << 291 << false;
        QTest::newRow("Tuesday 09:30") << kMon + 1 + hm(9, 30) << 341 << true;
        QTest::newRow("Sunday 15:00") << kMon + 6 + hm(15, 0) << 91 + 1200 + 20 + 140 << true;
    }
    void foldedAxis()
    {
        QFETCH(Date, moment);
        QFETCH(qint32, x);
        QFETCH(bool, working);
        const GanttLayout l = foldedWeek();
        QCOMPARE(l.xOf(moment), x);
        if (working)
            QCOMPARE(when(l.dateAtX(x)), when(moment));
        // A drop on a band lands on that day, in the band's hours.
        const Date back = l.dateAtX(x);
        QCOMPARE(std::floor(back + 1e-9), std::floor(moment + 1e-9));
    }

    // Catches a fold taken from hours that make no working window: the axis stays linear.
    void foldRefused_data()
    {
        QTest::addColumn<Date>("from");
        QTest::addColumn<Date>("to");
        QTest::newRow("no hours") << hm(8, 0) << hm(8, 0);
        QTest::newRow("end before start") << hm(18, 0) << hm(8, 0);
        QTest::newRow("the whole day") << 0.0 << 1.0;
        QTest::newRow("past midnight") << hm(8, 0) << 1.5;
    }
    void foldRefused()
    {
        QFETCH(Date, from);
        QFETCH(Date, to);
        GanttLayout l = ganttLayout(0, 0, 1491, 500, 13, 7, kMon, kMon + 6, 0, false, 1);
        const qint32 noon = l.xOf(kMon + hm(12, 0));
        foldAxis(l, from, to);
        QVERIFY(!l.folded());
        QCOMPARE(l.xOf(kMon + hm(12, 0)), noon);
    }

    // Catches rows of their own height placed or found at the wrong y, on both sides of each
    // boundary, and rows below the last answering.
    void rowsOfTheirOwnHeight_data()
    {
        QTest::addColumn<qint32>("y");
        QTest::addColumn<qint32>("row");
        QTest::newRow("first row's top pixel") << 33 << 1;
        QTest::newRow("first row's last pixel") << 61 << 1;
        QTest::newRow("second row's top") << 62 << 2;
        QTest::newRow("second row's last pixel") << 111 << 2;
        QTest::newRow("third row") << 112 << 3;
        QTest::newRow("below the rows") << 132 << 0;
    }
    void rowsOfTheirOwnHeight()
    {
        QFETCH(qint32, y);
        QFETCH(qint32, row);
        GanttLayout l = ganttLayout(0, 0, 700, 500, 13, 7, kMon, kMon + 6, 3, false, 1);
        setRowHeights(l, {30, 50, 20});
        QCOMPARE(l.lngZeilenOben, 32);
        QCOMPARE(l.rowAt(y, 1, 3), row);
        if (row > 0)
            QVERIFY(l.rowTop(row, 1) <= y && y < l.rowTop(row, 1) + l.rowHeight(row));
        // Scrolled by a row, the second row starts at the top.
        QCOMPARE(l.rowTop(2, 2), 32);
        QCOMPARE(l.rowAt(33, 2, 3), 2);
    }

    // Catches overlapping appointments drawn over each other, touching ones given a lane of
    // their own, and a later appointment not taking the first lane free again.
    void lanes_data()
    {
        QTest::addColumn<Bars>("bars");
        QTest::addColumn<QVector<qint32>>("expected");
        QTest::addColumn<qint32>("count");
        QTest::newRow("overlapping")
            << Bars{{"a", kMon + hm(9, 0), kMon + hm(11, 0)}, {"b", kMon + hm(10, 0), kMon + hm(12, 0)}}
            << QVector<qint32>{0, 1} << 2;
        QTest::newRow("touching")
            << Bars{{"a", kMon + hm(9, 0), kMon + hm(10, 0)}, {"b", kMon + hm(10, 0), kMon + hm(11, 0)}}
            << QVector<qint32>{0, 0} << 1;
        QTest::newRow("third after the first")
            << Bars{{"a", kMon + hm(9, 0), kMon + hm(10, 0)}, {"b", kMon + hm(9, 30), kMon + hm(12, 0)},
                    {"c", kMon + hm(10, 0), kMon + hm(11, 0)}}
            << QVector<qint32>{0, 1, 0} << 2;
        QTest::newRow("given late, starting early")
            << Bars{{"a", kMon + hm(14, 0), kMon + hm(15, 0)}, {"b", kMon + hm(9, 0), kMon + hm(14, 30)}}
            << QVector<qint32>{1, 0} << 2;
        QTest::newRow("a day ending at midnight covers it")
            << Bars{{"a", kMon + 1, kMon + 1}, {"b", kMon + 1 + hm(20, 0), kMon + 1 + hm(21, 0)}}
            << QVector<qint32>{0, 1} << 2;
        QTest::newRow("outside the days")
            << Bars{{"a", kMon + 9, kMon + 9 + hm(1, 0)}, {"b", kMon + hm(9, 0), kMon + hm(10, 0)}}
            << QVector<qint32>{-1, 0} << 1;
    }
    void lanes()
    {
        QFETCH(Bars, bars);
        QFETCH(QVector<qint32>, expected);
        QFETCH(qint32, count);
        const GanttModel model = oneRow(bars);
        const GanttLanes lanes = ganttLanes(model, kMon, kMon + 7);
        QCOMPARE(lanes.laneOf, expected);
        QCOMPARE(lanes.laneCount, QVector<qint32>{count});

        // Bars in different lanes never share a pixel.
        GanttLayout l = foldedWeek();
        setRowHeights(l, ganttLaneRowHeights(lanes, 20, 10, false, 0));
        const BarPass pass = ganttLaneBars(model, l, lanes, 1, 1, 1, 1491);
        for (qint32 i = 0; i < pass.rects.size(); ++i) {
            for (qint32 k = i + 1; k < pass.rects.size(); ++k) {
                const BarRect &a = pass.rects.at(i), &b = pass.rects.at(k);
                if (a.isNull() || b.isNull() || expected.at(i) == expected.at(k))
                    continue;
                QVERIFY(!QRect(a.left, a.top, a.width, a.height)
                             .intersects(QRect(b.left, b.top, b.width, b.height)));
            }
        }
    }

    // Catches stretched rows that overflow the room or lose their lane proportions, and a
    // row lower than its minimum.
    void laneRowHeights()
    {
        GanttLanes lanes;
        lanes.laneCount = {1, 3, 1};
        QCOMPARE(ganttLaneRowHeights(lanes, 20, 30, false, 1000), (QVector<qint32>{30, 64, 30}));
        QCOMPARE(ganttLaneRowHeights(lanes, 20, 30, true, 248), (QVector<qint32>{60, 128, 60}));
        QCOMPARE(ganttLaneRowHeights(lanes, 20, 30, true, 100), (QVector<qint32>{30, 64, 30}));
    }

    // Catches a short bar whose text is squeezed into it while there is room beside it, a
    // label running into the next bar of its lane, and a wide bar sending its text away.
    void label_data()
    {
        QTest::addColumn<qint32>("barWidth");
        QTest::addColumn<qint32>("freeRight");
        QTest::addColumn<bool>("inside");
        QTest::addColumn<qint32>("labelWidth");
        // "10:00 Kundentermin" is 18 characters: 108 px; "10:00 Kun" 54 px.
        QTest::newRow("whole text fits") << 120 << 1000 << true << 116;
        QTest::newRow("short bar, room beside") << 20 << 300 << false << 176;
        QTest::newRow("beside up to the next bar") << 20 << 230 << false << 106;
        QTest::newRow("no room beside") << 20 << 124 << true << 16;
        QTest::newRow("holds the beginning, more room beside") << 60 << 400 << false << 236;
        QTest::newRow("holds the beginning, less room beside") << 60 << 170 << true << 56;
    }
    void label()
    {
        QFETCH(qint32, barWidth);
        QFETCH(qint32, freeRight);
        QFETCH(bool, inside);
        const BarRect bar{100, 40, barWidth, 18};
        const BarLabel label = ganttBarLabel(bar, freeRight, 1, QStringLiteral("10:00 "),
                                             QStringLiteral("Kundentermin"), sixEach);
        QCOMPARE(label.inside, inside);
        QTEST(label.rect.width(), "labelWidth");
        if (!inside)
            QVERIFY(label.rect.left() > bar.left + bar.width && label.rect.right() < freeRight);
    }

    // Catches a one-hour appointment of a week at 1280 pixels that shows no time: its label
    // holds the time and the subject's beginning.
    void oneHourAtScreenWidth()
    {
        GanttModel model = oneRow({{"a", kMon + 2 + hm(10, 0), kMon + 2 + hm(11, 0)}});
        GanttStyle style;
        GanttContent content{model, style};
        content.startDate = kMon;
        content.endDate = kMon + 6;
        content.modern = true;
        content.workFrom = hm(8, 0);
        content.workTo = hm(18, 0);
        const GanttScene scene = ganttScene(content, 0, 0, 1280, 720, 13, 7);
        const BarRect bar = scene.bar(model, 1);
        const BarLabel label = ganttBarLabel(bar, scene.bars.labelRight.at(0), 1,
                                             ganttBarTime(model.date(1)), model.date(1).notiz,
                                             sixEach);
        QVERIFY2(label.rect.width() >= sixEach(QStringLiteral("10:00 a")),
                 qPrintable(QString::number(label.rect.width())));
        QCOMPARE(scene.entryAt(model, bar.left + 1, bar.top + 1), 1);
    }

    // Catches a tooltip without the time, the person or the subject.
    void toolTip_data()
    {
        QTest::addColumn<Date>("von");
        QTest::addColumn<Date>("bis");
        QTest::addColumn<QString>("first");
        QTest::newRow("one hour") << kMon + hm(10, 0) << kMon + hm(11, 0)
                                  << QStringLiteral("Mo, 04.03.2024 10:00–11:00");
        QTest::newRow("into the next day") << kMon + hm(22, 0) << kMon + 1 + hm(2, 0)
                                           << QStringLiteral("Mo, 04.03.2024 22:00–Di, 05.03.2024 02:00");
        QTest::newRow("up to midnight") << kMon + hm(22, 0) << kMon + 1
                                        << QStringLiteral("Mo, 04.03.2024 22:00–00:00");
    }
    void toolTip()
    {
        QFETCH(Date, von);
        QFETCH(Date, bis);
        QFETCH(QString, first);
        const GanttModel model = oneRow({{"Kundentermin", von, bis}});
        QCOMPARE(ganttModernToolTip(model, 1).split(QLatin1Char('\n')),
                 (QStringList{first, QStringLiteral("Anna Becker"), QStringLiteral("Kundentermin")}));
    }
};

DAYPLEX_TEST_MAIN(tst_GanttModern)
#include "tst_ganttmodern.moc"

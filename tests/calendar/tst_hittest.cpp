// Classifying a mouse position against the regions of the last paint, and the hover feedback.
#include "calendar/hittest.h"

#include <QtTest>

#include <random>
#include "support/calendarweek.h"
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;


namespace {

using Regions = QVector<HitRegion>;

HitRegion rect(qint32 left, qint32 top, qint32 width, qint32 height, qint32 type, qint32 prio,
               qint32 idx = 0)
{
    return HitRegion{left, top, width, height, idx, 0, 0, type, prio};
}

HitRegionList listOf(const Regions &regions)
{
    HitRegionList list;
    for (const HitRegion &r : regions)
        list.add(r);
    return list;
}

} // namespace

class tst_HitTest : public QObject
{
    Q_OBJECT

private slots:
    // The indexed lookup picks what a plain scan picks: the first registered region of the
    // highest priority above 0 whose type passes the filter (0 passes all) and whose edges,
    // inclusive, hold the point. Random lists and points, many on edges or half a pixel off
    // them; some seeds spread the regions over nearly the whole qint32 range, where edges must
    // not wrap.
    void indexedLookupMatchesLinearScan()
    {
        const qint32 filters[] = {0, 1, 2, 3, 8, 72, 135, 191, 198, 199, 255, -1, 0x100};
        for (unsigned seed = 1; seed <= 60; ++seed) {
            std::mt19937 rng(seed);
            const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
            const bool huge = seed % 5 == 0;
            const auto place = [&] { return huge ? pick(INT_MIN, INT_MAX) : pick(-200, 1200); };
            const auto extent = [&] {
                return pick(0, 4) == 0 ? 0 : huge ? pick(-10, INT_MAX) : pick(-5, 300);
            };
            Regions regions(pick(0, 300));
            for (int i = 0; i < regions.size(); ++i) {
                const qint32 type = 1 << pick(0, 8) | (pick(0, 3) == 0 ? pick(0, 255) : 0);
                regions[i] = rect(place(), place(), extent(), extent(), type, pick(-2, 4), i + 1);
            }
            HitRegionList list = listOf(regions);
            for (int k = 0; k < 2000; ++k) {
                // A corner, an edge or an inside point of a random region, or any point.
                const auto along = [&](qint32 from, qint32 length) {
                    return double(from) + (pick(0, 2) == 0 ? 0.0 : double(length) * pick(0, 4) / 4.0);
                };
                const auto anywhere = [&] {
                    return huge ? double(pick(INT_MIN, INT_MAX)) * 1.5 : pick(-4000, 14000) / 10.0;
                };
                const HitRegion *near =
                    regions.isEmpty() || pick(0, 1) ? nullptr : &regions[pick(0, regions.size() - 1)];
                const double jitter = pick(0, 5) == 0 ? pick(-1, 1) * 0.5 : 0;
                const double x = near ? along(near->lngLeft, near->lngWidth) + jitter : anywhere();
                const double y = near ? along(near->lngTop, near->lngHeight) : anywhere();
                const qint32 filter = filters[pick(0, int(std::size(filters)) - 1)];
                int expected = 0;
                for (const HitRegion &r : regions) {
                    const bool inside = double(r.lngLeft) <= x && x <= double(r.lngLeft) + double(r.lngWidth)
                                        && double(r.lngTop) <= y && y <= double(r.lngTop) + double(r.lngHeight);
                    const bool admitted = filter == 0 || (filter & r.lngTyp) != 0;
                    const qint32 best = expected ? regions[expected - 1].lngPrio : 0;
                    if (inside && admitted && r.lngPrio > best)
                        expected = r.lngIdx;
                }
                HitRegion found;
                const int got = Dayplex::findHitRegion(list, x, y, filter, found) ? found.lngIdx : 0;
                QVERIFY2(got == expected,
                         qPrintable(QStringLiteral("seed %1 point %2,%3").arg(seed).arg(x).arg(y)));
            }
            // A copy answers alike, and an added region is seen at once.
            const HitRegionList copy = list;
            list.add(rect(-100000, -100000, 200000, 200000, 255, 1000, 9999));
            HitRegion found;
            QVERIFY(Dayplex::findHitRegion(list, 0.0, 0.0, 0, found));
            QCOMPARE(found.lngIdx, 9999);
            if (Dayplex::findHitRegion(copy, 0.0, 0.0, 0, found))
                QVERIFY(found.lngIdx != 9999);
            list.clear();
            QVERIFY(!Dayplex::findHitRegion(list, 0.0, 0.0, 0, found));
        }
    }

    // Cursor and tooltip while hovering: the wrong filter above the grid, a missing read-only
    // check or a stale appointment index show the wrong pointer or crash.
    void hoverFeedback_data()
    {
        QTest::addColumn<Regions>("regions");
        QTest::addColumn<double>("y");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("cursor");
        QTest::addColumn<QString>("tooltip");

        // The shared week's A (writable), R (read-only) and Good Friday, and a late shift.
        const QString writable = QStringLiteral("25.03.2024 09:00 - 25.03.2024 10:30 A");
        const QString readOnly = QStringLiteral("27.03.2024 13:00 - 27.03.2024 14:00 R");
        const HitRegion cell = rect(0, 0, 100, 300, zeitzelle, 1);
        QTest::newRow("splitter") << Regions{cell, rect(0, 95, 100, 6, splitter, 99)} << 97.0 << true
                                  << "SplitterNS" << QString();
        QTest::newRow("north zone of a writable appointment")
            << Regions{cell, rect(0, 140, 100, 20, sizenorth, 3, 1)} << 150.0 << true << "SizeN" << writable;
        QTest::newRow("north zone of a read-only appointment")
            << Regions{cell, rect(0, 140, 100, 20, sizenorth, 3, 3)} << 150.0 << true << QString() << readOnly;
        QTest::newRow("all-day bar above the grid")
            << Regions{cell, rect(0, 40, 100, 20, tagestermin, 5, 1)} << 50.0 << true << QString() << writable;
        QTest::newRow("all-day bar is not looked for in the grid")
            << Regions{cell, rect(0, 140, 100, 20, tagestermin, 5, 1)} << 150.0 << true << QString() << QString();
        QTest::newRow("the first grid line belongs to the grid")
            << Regions{rect(0, 90, 100, 20, termineintrag, 3, 1)} << 100.0 << true << QString() << writable;
        QTest::newRow("box is not looked for above the grid")
            << Regions{rect(0, 40, 100, 20, termineintrag, 3, 1)} << 50.0 << false << QString() << QString();
        HitRegion header = rect(0, 0, 100, 20, tageszellekopf, 1);
        header.datVon = day(2024, 3, 4);
        QTest::newRow("day header") << Regions{header} << 10.0 << true << QString()
                                    << QStringLiteral("Montag, 4. März 2024 10. Woche");
        // The tooltip of an appointment: both dates when they differ, one for a holiday.
        QTest::newRow("holiday above the grid")
            << Regions{cell, rect(0, 40, 100, 20, tagestermin, 5, 5)} << 50.0 << true << QString()
            << "29.03.2024 Karfreitag";
        QTest::newRow("appointment ending at midnight")
            << Regions{cell, rect(0, 140, 100, 20, termineintrag, 3, 6)} << 150.0 << true << QString()
            << "25.03.2024 22:00 - 26.03.2024 Spätdienst";
        QTest::newRow("appointment no longer in the store")
            << Regions{cell, rect(0, 140, 100, 20, sizenorth, 3, 7)} << 150.0 << false << QString() << QString();
    }
    void hoverFeedback()
    {
        QFETCH(Regions, regions);
        QFETCH(double, y);
        CalendarWeek week;
        const Date monday = CalendarWeek::monday();
        week.add("Spätdienst", monday + hm(22, 0), monday + 1, false, false);
        const HoverFeedback feedback =
            Dayplex::hoverFeedback(listOf(regions), week.store, 50, y, 100);
        QTEST(feedback.found, "found");
        QTEST(feedback.cursorName, "cursor");
        QTEST(feedback.tooltip, "tooltip");
    }

};

DAYPLEX_TEST_MAIN(tst_HitTest)
#include "tst_hittest.moc"

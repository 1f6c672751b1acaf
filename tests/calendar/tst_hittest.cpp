// Classifying a mouse position against the regions of the last paint, and the hover feedback.
#include "calendar/hittest.h"

#include <QtTest>

#include <random>
#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

Q_DECLARE_METATYPE(Dayplex::HitRegion)

namespace {

using Regions = QVector<HitRegion>;

HitRegion rect(qint32 left, qint32 top, qint32 width, qint32 height, qint32 type, qint32 prio,
               qint32 idx = 0)
{
    HitRegion r;
    r.lngLeft = left;
    r.lngTop = top;
    r.lngWidth = width;
    r.lngHeight = height;
    r.lngTyp = type;
    r.lngPrio = prio;
    r.lngIdx = idx;
    return r;
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
    // The lookup honours inclusive edges, the filter, the priority and the first-registered
    // tie-break; a fault in any of them picks the wrong object under the mouse.
    void findHitRegion_data()
    {
        QTest::addColumn<Regions>("regions");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("expected"); // position in the list, 0 = nothing

        const Regions twoRows{rect(10, 100, 50, 20, zeitzelle, 1), rect(10, 120, 50, 20, zeitzelle, 1)};
        QTest::newRow("shared horizontal edge: the upper cell") << twoRows << 30.0 << 120.0 << 255 << 1;
        QTest::newRow("bottom edge is inside") << twoRows << 30.0 << 140.0 << 255 << 2;
        QTest::newRow("just below the bottom edge") << twoRows << 30.0 << 140.5 << 255 << 0;
        const Regions twoColumns{rect(10, 100, 50, 20, zeitzelle, 1),
                                 rect(60, 100, 50, 20, zeitzelle, 1)};
        QTest::newRow("fraction inside the right edge") << twoColumns << 109.75 << 110.0 << 255 << 2;

        const Regions band{rect(50, 20, 100, 60, tageszelle, 1), rect(0, 76, 800, 5, splitter, 99),
                           rect(52, 20, 96, 20, tagestermin, 5)};
        QTest::newRow("splitter over a band cell") << band << 60.0 << 78.0 << 198 << 2;
        QTest::newRow("all-day bar over its band cell") << band << 60.0 << 30.0 << 198 << 3;

        const Regions box{rect(50, 100, 100, 200, zeitzelle, 1),
                          rect(60, 120, 80, 60, termineintrag, 3), rect(56, 120, 4, 30, sizenorth, 3),
                          rect(56, 150, 4, 30, sizesouth, 3)};
        QTest::newRow("box edge shared with the north zone: the box") << box << 60.0 << 130.0 << 255 << 2;
        QTest::newRow("north zone left of the box") << box << 57.0 << 130.0 << 255 << 3;
        QTest::newRow("drag filter inside the box") << box << 100.0 << 150.0 << 72 << 2;
        QTest::newRow("drag filter on a plain time cell") << box << 100.0 << 250.0 << 72 << 0;
        QTest::newRow("time cell under the box with the cell filter") << box << 100.0 << 150.0 << 1 << 1;

        const Regions odd{rect(0, 100, 40, 20, 0, 1), rect(0, 0, 40, 20, zeitzelle, 0),
                          rect(0, 0, 40, 20, tageszelle, -4)};
        QTest::newRow("untyped label with any filter") << odd << 10.0 << 110.0 << 255 << 0;
        QTest::newRow("priority 0 or below is never hit") << odd << 10.0 << 10.0 << 0 << 0;

        const Regions later{rect(0, 0, 40, 40, zeitzelle, 1), rect(0, 0, 40, 40, termineintrag, 3),
                            rect(0, 0, 40, 40, termineintrag, 3), rect(0, 0, 40, 40, tagestermin, 2)};
        QTest::newRow("higher priority registered later wins") << later << 5.0 << 5.0 << 255 << 2;

        const Regions far{rect(2147483000, 2147483000, 2000, 2000, zeitzelle, 1)};
        QTest::newRow("edges beyond 32 bits do not wrap") << far << 2147484000.0 << 2147484000.0 << 1 << 1;
    }
    void findHitRegion()
    {
        QFETCH(Regions, regions);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(int, filter);
        QFETCH(int, expected);
        for (int i = 0; i < regions.size(); ++i)
            regions[i].lngIdx = i + 1;
        HitRegion found;
        const bool hit = Dayplex::findHitRegion(listOf(regions), x, y, filter, found);
        QCOMPARE(hit ? found.lngIdx : 0, expected);
    }

    // On random lists and points (many on edges) the indexed lookup picks the same region as a
    // plain scan; some seeds spread the regions over nearly the whole qint32 range.
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

        const QString writable = QStringLiteral("04.03.2024 10:00 - 04.03.2024 11:30 Teambesprechung");
        const QString readOnly = QStringLiteral("04.03.2024 13:00 - 04.03.2024 14:00 Betriebsrat");
        const HitRegion cell = rect(0, 0, 100, 300, zeitzelle, 1);
        QTest::newRow("splitter") << Regions{cell, rect(0, 95, 100, 6, splitter, 99)} << 97.0 << true
                                  << "SplitterNS" << QString();
        QTest::newRow("north zone of a writable appointment")
            << Regions{cell, rect(0, 140, 100, 20, sizenorth, 3, 1)} << 150.0 << true << "SizeN" << writable;
        QTest::newRow("north zone of a read-only appointment")
            << Regions{cell, rect(0, 140, 100, 20, sizenorth, 3, 2)} << 150.0 << true << QString() << readOnly;
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
            << Regions{cell, rect(0, 40, 100, 20, tagestermin, 5, 3)} << 50.0 << true << QString()
            << "04.03.2024 Feiertag";
        QTest::newRow("appointment ending at midnight")
            << Regions{cell, rect(0, 140, 100, 20, termineintrag, 3, 4)} << 150.0 << true << QString()
            << "04.03.2024 22:00 - 05.03.2024 Spätdienst";
        QTest::newRow("appointment no longer in the store")
            << Regions{cell, rect(0, 140, 100, 20, sizenorth, 3, 7)} << 150.0 << false << QString() << QString();
    }
    void hoverFeedback()
    {
        QFETCH(Regions, regions);
        QFETCH(double, y);
        QFETCH(bool, found);
        QFETCH(QString, cursor);
        QFETCH(QString, tooltip);
        AppointmentStore store;
        store.add("A", "Teambesprechung", day(2024, 3, 4) + hm(10, 0), day(2024, 3, 4) + hm(11, 30), false,
                  0, false, 0, false, false);
        store.add("R", "Betriebsrat", day(2024, 3, 4) + hm(13, 0), day(2024, 3, 4) + hm(14, 0), false, 0,
                  false, 0, true, false);
        store.add("H", "Feiertag", day(2024, 3, 4), day(2024, 3, 4), true, 0, false, 0, true, true);
        store.add("N", "Spätdienst", day(2024, 3, 4) + hm(22, 0), day(2024, 3, 5), false, 0, false, 0,
                  false, false);
        const HoverFeedback feedback = Dayplex::hoverFeedback(listOf(regions), store, 50, y, 100);
        QCOMPARE(feedback.found, found);
        QCOMPARE(feedback.cursorName, cursor);
        QCOMPARE(feedback.tooltip, tooltip);
    }

};

DAYPLEX_TEST_MAIN(tst_HitTest)
#include "tst_hittest.moc"

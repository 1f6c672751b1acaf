// The free-slot search on the model, with a host that delivers appointments per range, and the
// per-row busy index it asks, against the plain rule.
#include "gantt/freeslotsearch.h"
#include "gantt/ganttmodel.h"
#include "shared/alldayend.h"
#include "shared/cholidays.h"
#include "shared/clock.h"
#include "shared/toolbox.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMonday = day(2024, 3, 4);
const Date kGoodFriday = day(2024, 3, 29);

struct Busy
{
    QString row;
    Date von;
    Date bis;
    bool allDay = false;
};

// Shows 7 days like the view and answers every uncovered range with the rows R1 and R2 (after
// the holiday row) and the busy times, as a host answers NeedDates.
class Host : public FreeSlotHost
{
public:
    explicit Host(QVector<Busy> busy, Date first = kMonday)
        : busy(std::move(busy))
    {
        showRange(first, first + 6);
        requests = 0;
        markAllRows(model);
    }

    Date displayedFirstDay() const override { return first; }
    Date displayedLastDay() const override { return last; }
    void showRange(Date firstDay, Date lastDay) override
    {
        const GanttRange range = ganttDisplayedRange(firstDay, lastDay, false, false, first, last, 7, 0);
        first = range.startDate;
        last = range.endDate;
        if (model.covers(first, last))
            return;
        ++requests;
        model.setFilledRange(first, last, true, holidays);
        model.addMerkmal(QStringLiteral("Anna"), QStringLiteral("R1"));
        model.addMerkmal(QStringLiteral("Ben"), QStringLiteral("R2"));
        for (const Busy &b : busy)
            model.addDate(QStringLiteral("X"), QString(), b.von, b.bis, b.allDay, 0, false, 0, false, b.row,
                          false, false);
    }
    bool abortRequested() override { return abortAfter >= 0 && ++abortCalls > abortAfter; }

    GanttModel model;
    cHolidays holidays;
    QVector<Busy> busy;
    Date first = 0;
    Date last = -1;
    int requests = 0;
    int abortAfter = -1;
    int abortCalls = 0;
};

// A search as it is asked: from a day, for a length or for whole days, in a window of each day,
// pressed a number of times.
struct Search
{
    Date from;
    Date length;
    bool forward = true;
    int presses = 1;
    double days = 0;
    bool weekends = false;
    Date windowFrom = hm(8, 0);
    Date windowTo = hm(18, 0);
    bool modern = false; // keeps the marked rows, "<<" passes the last proposal
    QString marked = {}; // the rows the user marked; empty: every row

    FreeSlotQuery query() const
    {
        FreeSlotQuery q;
        q.days = days;
        q.length = length;
        q.windowFrom = windowFrom;
        q.windowTo = windowTo;
        q.searchFrom = from;
        q.weekends = weekends;
        q.rasterMinutes = 30;
        q.keepMarkedRows = q.pastLastProposal = modern;
        return q;
    }
};

// Every appointment of the row that is not a mere note, asked with IntervalsOverlap up to its
// occupied end.
bool plainRowFree(const GanttModel &model, const QString &rowDsn, Date start, Date end)
{
    for (qint32 i = 1; i <= model.dateCount(); ++i) {
        const GanttEintrag &e = model.date(i);
        if (e.merkmaldsn == rowDsn && !e.blnhinweis
            && cToolbox::IntervalsOverlap(start, end, e.von, occupiedEnd(e.bis, e.btagestermin)))
            return false;
    }
    return true;
}

// Times that meet the edge cases of the overlap rule: whole midnights, shared ends, values a
// hair apart (inside and outside the toolbox's tolerance for equal moments), quarter hours.
Date randomTime(QRandomGenerator &random)
{
    const Date base = kMonday + random.bounded(6) + random.bounded(96) / 96.0;
    switch (random.bounded(6)) {
    case 0: return std::floor(base);
    case 1: return base + (random.bounded(2) ? 1 : -1) * 0.5 / 86400000.0;
    case 2: return base + (random.bounded(2) ? 1 : -1) * 5.0 / 86400000.0;
    default: return base;
    }
}

// Intervals: ordinary, moments, midnight to midnight, reversed.
QPair<Date, Date> randomInterval(QRandomGenerator &random)
{
    const Date from = randomTime(random);
    switch (random.bounded(5)) {
    case 0: return {from, from};
    case 1: return {std::floor(from), std::floor(from) + random.bounded(3)};
    case 2: return {from, from - random.bounded(8) / 24.0};
    default: return {from, from + random.bounded(1, 40) / 24.0};
    }
}

} // namespace

Q_DECLARE_METATYPE(QVector<Busy>)
Q_DECLARE_METATYPE(Search)
Q_DECLARE_METATYPE(FreeSlotOutcome)

class tst_FreeSlotSearch : public QObject
{
    Q_OBJECT

private slots:
    void init() { setCurrentDateTimeForTesting(kMonday + hm(7, 0)); }
    void cleanup() { setCurrentDateTimeForTesting(0); }

    // Catches wrong candidate fitting (window, next day, backward start, day blocks), slots that
    // touch weekends or holidays, all-day ends read otherwise than they are drawn, and range moves
    // that ask the host too often. That notes never block, the index's comparison pins. The window
    // from midnight catches a backward search that circles: a candidate that ends after the window
    // goes on to the next midnight, which the steps reach again.
    void proposals_data()
    {
        QTest::addColumn<Search>("search");
        QTest::addColumn<QVector<Busy>>("busy");
        QTest::addColumn<Date>("start");
        QTest::addColumn<Date>("end");
        QTest::addColumn<int>("requests");

        const QVector<Busy> free;
        const Date m = kMonday, two = hm(2, 0), one = hm(1, 0);
        QTest::newRow("pressing again continues one step later")
            << Search{m, two, true, 2} << free << m + hm(8, 30) << m + hm(10, 30) << 0;
        QTest::newRow("busy until 17:00: the next day's window")
            << Search{m, two} << QVector<Busy>{{"R1", m + hm(8, 0), m + hm(17, 0)}}
            << m + 1 + hm(8, 0) << m + 1 + hm(10, 0) << 1;
        QTest::newRow("backward from Wednesday: Tuesday's latest start")
            << Search{m + 2, one, false} << free << m + 1 + hm(17, 0) << m + 1 + hm(18, 0) << 1;
        QTest::newRow("backward: a slot at the window start")
            << Search{m + 2, one, false} << QVector<Busy>{{"R1", m + 1 + hm(9, 0), m + 1 + hm(18, 0)}}
            << m + 1 + hm(8, 0) << m + 1 + hm(9, 0) << 1;
        QTest::newRow("backward, window from midnight: Friday's latest start")
            << Search{m + 5, hm(3, 0), false, 1, 0, false, 0, hm(10, 0)} << free
            << m + 4 + hm(7, 0) << m + 4 + hm(10, 0) << 1;
        QTest::newRow("a slot as long as the window")
            << Search{m, hm(10, 0)} << free << m + hm(8, 0) << m + hm(18, 0) << 0;
        QTest::newRow("Saturday refused: Monday")
            << Search{m + 5, one} << free << m + 7 + hm(8, 0) << m + 7 + hm(9, 0) << 1;
        QTest::newRow("Saturday allowed with weekends")
            << Search{m + 5, one, true, 1, 0, true} << free << m + 5 + hm(8, 0) << m + 5 + hm(9, 0)
            << 1;
        QTest::newRow("Good Friday to Easter Monday blocked by the holiday row")
            << Search{kGoodFriday, one} << free << kGoodFriday + 4 + hm(8, 0)
            << kGoodFriday + 4 + hm(9, 0) << 2;
        QTest::newRow("three-day blocks skip those touching a weekend")
            << Search{m, 0, true, 2, 3} << free << m + 9 << m + 11 << 2;
        QTest::newRow("a moment at midnight blocks that day")
            << Search{m, two} << QVector<Busy>{{"R2", m, m}} << m + 1 + hm(8, 0) << m + 1 + hm(10, 0)
            << 1;
        QTest::newRow("an all-day absence ending on Wednesday blocks Wednesday too")
            << Search{m, two} << QVector<Busy>{{"R2", m, m + 2, true}} << m + 3 + hm(8, 0)
            << m + 3 + hm(10, 0) << 1;
        QTest::newRow("a timed appointment ending at midnight leaves the next day free")
            << Search{m, two} << QVector<Busy>{{"R2", m, m + 2}} << m + 2 + hm(8, 0)
            << m + 2 + hm(10, 0) << 1;

        // Only Anna marked, Ben busy on Monday: classic searches everybody from the second press.
        const QVector<Busy> benMonday{{"R2", m + hm(8, 0), m + hm(17, 0)}};
        QTest::newRow("classic: after a proposal every row is marked")
            << Search{m, two, true, 2, 0, false, hm(8, 0), hm(18, 0), false, "R1"} << benMonday
            << m + 1 + hm(8, 0) << m + 1 + hm(10, 0) << 1;
        QTest::newRow("modern: the marked rows stay")
            << Search{m, two, true, 2, 0, false, hm(8, 0), hm(18, 0), true, "R1"} << benMonday
            << m + hm(8, 30) << m + hm(10, 30) << 0;
        // A proposal at midnight, Thursday busy from 10:00: "<<" finds it again, or goes on.
        const QVector<Busy> thursday{{"R1", m + 3 + hm(10, 0), m + 4}};
        QTest::newRow("classic: << proposes the midnight again")
            << Search{m + 4, hm(3, 0), false, 2, 0, false, 0, hm(10, 0)} << thursday
            << m + 4 << m + 4 + hm(3, 0) << 3;
        QTest::newRow("modern: << goes on before it")
            << Search{m + 4, hm(3, 0), false, 2, 0, false, 0, hm(10, 0), true} << thursday
            << m + 3 + hm(7, 0) << m + 3 + hm(10, 0) << 2;
    }
    void proposals()
    {
        QFETCH(Search, search);
        QFETCH(QVector<Busy>, busy);
        QFETCH(Date, start);
        QFETCH(Date, end);

        Host host(busy);
        host.abortAfter = 10000; // ends a search that circles
        for (qint32 r = 2; r <= host.model.rowCount() && !search.marked.isEmpty(); ++r)
            host.model.row(r).blnMarkiert = search.marked.split('|').contains(host.model.row(r).dsn);
        FreeSlotQuery q = search.query();
        FreeSlotResult result;
        for (int press = 0; press < search.presses; ++press) {
            result = searchFreeSlot(host.model, host, q, search.forward);
            q.searchFrom = result.searchFrom;
        }
        QCOMPARE(result.outcome, FreeSlotOutcome::Found);
        QVERIFY(cToolbox::DateCompare(host.model.vorschlagVon, "=", start));
        QVERIFY(cToolbox::DateCompare(host.model.vorschlagBis, "=", end));
        QCOMPARE(host.model.sucheAb, host.model.vorschlagVon);
        QTEST(host.requests, "requests");
        QCOMPARE(result.message, QString());
        // The view shows the proposal, and every participant (not the holiday row) is marked.
        QVERIFY(host.first <= start && cToolbox::DateOnly(end) <= host.last);
        QCOMPARE(markedRowList(host.model), search.modern && !search.marked.isEmpty() ? search.marked : "R1|R2");
    }
    // Catches a missing or wrong message, a search that starts despite a too long length, and a
    // failure or abort that leaves the view or "Suchen ab" where the search went.
    void endingsWithoutProposal_data()
    {
        QTest::addColumn<int>("kind"); // 0 too long, 1 before yesterday, 2 abort
        QTest::addColumn<FreeSlotOutcome>("outcome");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("requests");
        QTest::newRow("12 hours in a 10-hour window")
            << 0 << FreeSlotOutcome::LongerThanWindow
            << "Der gesuchte Termin ist länger als der Suchbereich." << 0;
        QTest::newRow("backward search reaches the day before yesterday")
            << 1 << FreeSlotOutcome::NotFound
            << "Leider kann kein passender Terminvorschlag gefunden werden." << 2;
        QTest::newRow("aborted while the search moves on")
            << 2 << FreeSlotOutcome::Aborted << QString() << 2;
    }
    void endingsWithoutProposal()
    {
        QFETCH(int, kind);
        setCurrentDateTimeForTesting(kMonday + 9 + hm(7, 0)); // today is the Wednesday after

        // Anna busy for months; the view shows the third week.
        Host host({{"R1", kMonday - 30, kMonday + 90}}, kMonday + 14);
        host.abortAfter = 10;
        const Date length = kind == 0 ? hm(12, 0) : hm(1, 0);
        FreeSlotQuery q = Search{kMonday + 14, length, true, 1, kind == 2 ? 1.0 : 0.0}.query();
        if (kind == 1)
            q.searchFrom = kMonday + 8; // Tuesday, "yesterday": Monday 17:00 comes first
        host.model.vorschlagVon = kMonday + hm(9, 0);

        const FreeSlotResult result = searchFreeSlot(host.model, host, q, kind != 1);
        QTEST(result.outcome, "outcome");
        QTEST(result.message, "message");
        QCOMPARE(host.first, kMonday + 14);
        QCOMPARE(result.searchFrom, q.searchFrom);
        QTEST(host.requests, "requests");
        // A search that ran drops the old proposal; one that did not start keeps everything.
        QCOMPARE(host.model.vorschlagVon, kind == 0 ? kMonday + hm(9, 0) : 0.0);
        QCOMPARE(host.model.sucheAb == 0, kind == 0);
    }
    // Catches the same circling where the search must end: yesterday is Saturday.
    void backwardFromMidnightEndsAtYesterday()
    {
        setCurrentDateTimeForTesting(kMonday + 6 + hm(7, 0));
        Host host({});
        host.abortAfter = 10000;
        const Search search{kMonday + 5, hm(3, 0), false, 1, 0, false, 0, hm(10, 0)};
        const FreeSlotResult result = searchFreeSlot(host.model, host, search.query(), false);
        QCOMPARE(result.outcome, FreeSlotOutcome::NotFound);
    }
    void busyIndexAnswersThePlainRule_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 40; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }
    // Catches an index that drops or invents a blocking appointment near the edges of the rule.
    void busyIndexAnswersThePlainRule()
    {
        QFETCH(quint32, seed);
        const QStringList rows{QStringLiteral("R1"), QStringLiteral("R2"), QStringLiteral("{1}")};
        QRandomGenerator random(seed);
        GanttModel model;
        const int count = random.bounded(1, 120);
        for (int i = 0; i < count; ++i) {
            const auto interval = randomInterval(random);
            model.addDate(QString::number(i), QString(), interval.first, interval.second,
                          random.bounded(3) == 0, 0, false, 0, false,
                          rows.at(random.bounded(rows.size())), random.bounded(5) == 0, false);
        }
        // Moved records, with values no delivery could bring.
        const Date strange[] = {qQNaN(), HUGE_VAL, -HUGE_VAL};
        for (int k = 0; k < 2; ++k) {
            GanttEintrag &e = model.date(1 + random.bounded(model.dateCount()));
            (random.bounded(2) ? e.von : e.bis) = strange[random.bounded(3)];
        }
        for (int q = 0; q < 400; ++q) {
            const auto slot = randomInterval(random);
            const QString &row = rows.at(random.bounded(rows.size()));
            const QString asked = row + QString::asprintf(" %.12f..%.12f", slot.first, slot.second);
            QVERIFY2(model.isRowFree(row, slot.first, slot.second)
                         == plainRowFree(model, row, slot.first, slot.second),
                     qPrintable(asked));
        }
        QVERIFY(model.isRowFree(QStringLiteral("R1"), qQNaN(), kMonday));
    }
    void rowsMarkedByKey_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("marked");
        // Before: the holiday row and R1 marked, R2 not.
        QTest::newRow("one of them") << QStringList{QStringLiteral("R2")} << "{1} R2";
        QTest::newRow("a key no row has beside one that is") << QStringList{QStringLiteral("R1"), QStringLiteral("Z")} << "{1} R1";
        QTest::newRow("none of them shown: nothing changes") << QStringList{QStringLiteral("Z")} << "{1} R1";
        QTest::newRow("no keys") << QStringList() << "{1} R1";
    }
    // Catches a search that unmarks every row for keys it does not show, and one that takes the
    // holiday row out of the search.
    void rowsMarkedByKey()
    {
        QFETCH(QStringList, keys);
        Host host({});
        host.model.row(1).blnMarkiert = true;
        host.model.row(3).blnMarkiert = false;
        markRowsByKey(host.model, keys);
        QStringList rows;
        for (qint32 r = 1; r <= host.model.rowCount(); ++r)
            if (host.model.row(r).blnMarkiert)
                rows << host.model.row(r).dsn;
        QTEST(rows.join(QLatin1Char(' ')), "marked");
    }

    // Catches a length of a day that the hour picker shows as 00:00, and limits moved off one
    // minute and one day.
    void hourPickerMinutes_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<int>("minutes");
        const double minute = 1.0 / 1440;
        QTest::newRow("just under a minute") << minute * 0.99 << -1;
        QTest::newRow("one minute") << minute << 1;
        QTest::newRow("90 minutes and 20 seconds") << minute * (90 + 1.0 / 3) << 90;
        QTest::newRow("20 seconds under a day") << 1 - minute / 3 << 1439;
        QTest::newRow("a day") << 1.0 << -1;
    }
    void hourPickerMinutes()
    {
        QFETCH(double, length);
        QTEST(Dayplex::hourPickerMinutes(length), "minutes");
    }
};

DAYPLEX_TEST_MAIN(tst_FreeSlotSearch)
#include "tst_freeslotsearch.moc"

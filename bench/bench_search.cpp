// The free-slot search of the Gantt view: 50 chosen participants of 200 are booked out for four
// months, and one press of "AutoZeitwahl >>" has to walk to the first free slot on day 121.
#include "gantt/ctlgantt_p.h"
#include "gantt/ganttsearchpanel.h"

#include <dayplex/ctlgantt.h>

#include <QRandomGenerator>
#include <QTimeEdit>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace Dayplex;

constexpr int kRows = 200;
constexpr int kChosenRows = 50;
constexpr int kBookedDays = 120;
constexpr int kDataDays = 150;
constexpr int kShownDays = 14;

// Monday 6 January 2025; day 121 is Tuesday 6 May 2025, a working day.
const Date kFirstDay = toDate(QDate(2025, 1, 6));

Date at(int day, int minutes)
{
    return kFirstDay + day + minutes / 1440.0;
}

struct Booking
{
    QString key;
    QString row;
    Date von;
    Date bis;
};

// The host's appointments in memory, per day. The chosen rows R001..R050 hold three to five
// meetings on every one of the first 120 days between 07:00 and 19:00, and each day one of them
// is out of the office the whole day, so no two-hour slot in 08:00-18:00 is ever free for all
// of them. The other rows have two afternoon appointments a day, which never block a morning.
class MemoryHost
{
public:
    MemoryHost()
    {
        QRandomGenerator random(42);
        m_byDay.resize(kDataDays);
        int serial = 0;
        auto book = [&](int day, int row, int from, int to) {
            m_byDay[day].append({QStringLiteral("T%1").arg(++serial), rowKey(row), at(day, from),
                                 at(day, to)});
        };
        for (int day = 0; day < kDataDays; ++day) {
            if (day < kBookedDays) {
                book(day, day % kChosenRows, 7 * 60, 19 * 60);
                for (int row = 0; row < kChosenRows; ++row) {
                    const int meetings = 3 + random.bounded(3);
                    for (int m = 0; m < meetings; ++m) {
                        const int from = (7 + random.bounded(11)) * 60 + 5 * random.bounded(12);
                        book(day, row, from, from + 30 + 15 * random.bounded(8));
                    }
                }
            }
            for (int row = kChosenRows; row < kRows; ++row) {
                for (int m = 0; m < 2; ++m) {
                    const int from = 12 * 60 + 5 * random.bounded(48);
                    book(day, row, from, from + 30 + 15 * random.bounded(4));
                }
            }
        }
    }

    static QString rowKey(int row) { return QStringLiteral("R%1").arg(row + 1, 3, 10, QLatin1Char('0')); }

    // NeedDates: the rows and every appointment of the asked days.
    void deliver(ctlGantt &gantt, Date from, Date to)
    {
        ++requests;
        gantt.SetFilledRange(from, to);
        for (int row = 0; row < kRows; ++row)
            gantt.AddMerkmal(QStringLiteral("Mitarbeiter %1").arg(row + 1), rowKey(row));
        const int first = qMax(0, int(from - kFirstDay));
        const int last = qMin(kDataDays - 1, int(to - kFirstDay));
        for (int day = first; day <= last; ++day) {
            for (const Booking &b : m_byDay[day])
                gantt.AddDate(b.key, QStringLiteral("Besprechung"), b.von, b.bis, false, 0, false,
                              0x99FFFF, false, b.row, false);
        }
    }

    int requests = 0;

private:
    QVector<QVector<Booking>> m_byDay;
};

// Back to the state before the press: the first two weeks shown, the panel open on day 1 with
// a two-hour length in 08:00-18:00, and only the 50 chosen rows marked.
void prepare(ctlGantt &gantt)
{
    double last = kFirstDay + kShownDays - 1;
    gantt.SetDisplayedRange(kFirstDay, &last, false, false);
    gantt.FreienTerminSuchen(kFirstDay);
    ctlGanttPrivate *d = ctlGanttPrivate::get(&gantt);
    d->panel->dtpTimeStunden->setTime(QTime(2, 0));
    d->panel->setWindow(8.0 / 24, 18.0 / 24);
    for (qint32 r = 1; r <= d->core.model.rowCount(); ++r) {
        const QString &dsn = d->core.model.row(r).dsn;
        d->core.model.row(r).blnMarkiert = dsn.startsWith(QLatin1Char('R')) && dsn.mid(1).toInt() <= kChosenRows;
    }
}

void BM_GanttSearchFirstFreeSlotAfter120Days(benchmark::State &state)
{
    MemoryHost host;
    ctlGantt gantt;
    gantt.resize(1600, 900);
    QObject::connect(&gantt, &ctlGantt::NeedDates, &gantt,
                     [&](double from, double to, const QString &) { host.deliver(gantt, from, to); });
    gantt.Enabled = true;
    ctlGanttPrivate *d = ctlGanttPrivate::get(&gantt);
    const Date expected = at(kBookedDays, 8 * 60);
    for (auto _ : state) {
        state.PauseTiming();
        prepare(gantt);
        host.requests = 0;
        state.ResumeTiming();
        d->runSearch(1);
        state.PauseTiming();
        if (std::abs(d->core.model.vorschlagVon - expected) > 1e-6) {
            std::fprintf(stderr, "proposal %s instead of %s\n",
                         qPrintable(toQDateTime(d->core.model.vorschlagVon).toString(Qt::ISODate)),
                         qPrintable(toQDateTime(expected).toString(Qt::ISODate)));
            std::exit(1);
        }
        state.counters["NeedDates"] = host.requests;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GanttSearchFirstFreeSlotAfter120Days)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

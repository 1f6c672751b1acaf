// Looking up the region under the mouse after a real paint of a busy fortnight.
#include "benchdata.h"

#include "calendar/hittest.h"
#include "calendar/ucagenda_p.h"

#include <dayplex/ucagenda.h>

#include <benchmark/benchmark.h>

#include <random>

namespace {

// A layout whose raster is five minutes, which makes many small time cells.
QString fiveMinuteOptions()
{
    const QString layout = QStringLiteral("cContainer 1\nstrAufloesung:s9=5 Minuten\n");
    return QStringLiteral("cContainer 1\nstrLayoutScreenCalendar:s%1=%2\n").arg(layout.size()).arg(layout);
}

// 10,000 pre-generated points inside a 1600 x 1000 picture of 14 days from 2024-03-04.
void BM_FindHitRegion(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QStringLiteral("week-1000.json"));
    Dayplex::ucAgenda agenda;
    QObject::connect(&agenda, &Dayplex::ucAgenda::NeedDates, &agenda,
                     [&](double from, double to, const QString &) {
                         agenda.SetFilledRange(from, to);
                         for (const BenchAppointment &a : data.appointments) {
                             if (a.end >= from && a.start <= to + 1)
                                 agenda.AddDate(a.id, a.text, a.start, a.end, a.allDay, 0, false,
                                                a.colour, false);
                         }
                     });
    agenda.setOptions(fiveMinuteOptions());
    agenda.Enabled = true;
    const double first = Dayplex::toDate(QDate(2024, 3, 4));
    double last = first + 13;
    agenda.SetDisplayedRange(first, &last, false, true);
    agenda.paintToImage(QSize(1600, 1000));
    const Dayplex::HitRegionList &hits = Dayplex::ucAgendaPrivate::get(&agenda)->core.scene.hits;

    std::mt19937 rng(42);
    std::uniform_real_distribution<double> xs(0, 1600), ys(0, 1000);
    std::vector<std::pair<double, double>> points(10000);
    for (auto &p : points)
        p = {xs(rng), ys(rng)};
    Dayplex::HitRegion warm;
    Dayplex::findHitRegion(hits, 1, 1, 255, warm); // the index is built once, after the paint

    qint64 found = 0;
    for (auto _ : state) {
        for (const auto &p : points) {
            Dayplex::HitRegion region;
            found += Dayplex::findHitRegion(hits, p.first, p.second, 255, region);
            benchmark::DoNotOptimize(region);
        }
    }
    state.SetItemsProcessed(state.iterations() * qint64(points.size()));
    state.counters["regions"] = hits.count();
    state.counters["hit%"] = 100.0 * found / double(state.iterations() * points.size());
    state.counters["ns/lookup"] = benchmark::Counter(double(state.iterations() * points.size()),
                                                     benchmark::Counter::kIsRate
                                                         | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FindHitRegion)->Unit(benchmark::kMicrosecond);

} // namespace

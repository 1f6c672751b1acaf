// Expanding the Terminplaner's series for the week a view shows.
#include "recurrence.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>

namespace {

using Terminplaner::SeriesPattern;

// 2,000 series of a team: daily stand-ups since 2022, weekly meetings on chosen days, monthly
// ones on a day or the n-th weekday, yearly ones; a quarter of them end after a COUNT.
QVector<SeriesPattern> mixedSeries()
{
    static const char *const rules[] = {
        "FREQ=DAILY", "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR", "FREQ=WEEKLY;INTERVAL=2;BYDAY=TU,TH",
        "FREQ=WEEKLY;BYDAY=WE", "FREQ=MONTHLY;BYMONTHDAY=15", "FREQ=MONTHLY;BYDAY=-1FR",
        "FREQ=MONTHLY;INTERVAL=3;BYDAY=2TU", "FREQ=YEARLY;BYMONTH=11;BYDAY=4TH"};
    QRandomGenerator random(2000);
    QVector<SeriesPattern> series;
    for (int i = 0; i < 2000; ++i) {
        SeriesPattern pattern;
        pattern.start = Dayplex::toDate(QDate(2022, 1, 3)) + random.bounded(1500) + (32 + random.bounded(40)) / 96.0;
        pattern.duration = (1 + random.bounded(8)) / 96.0;
        pattern.rrule = QString::fromLatin1(rules[i % 8]);
        if (i % 4 == 3)
            pattern.rrule += QStringLiteral(";COUNT=%1").arg(20 + random.bounded(500));
        series.append(pattern);
    }
    return series;
}

// All 2,000 series expanded for the week of Monday, 8 November 2027.
void BM_ExpandMixedSeriesOneWeek(benchmark::State &state)
{
    const QVector<SeriesPattern> series = mixedSeries();
    const Dayplex::Date from = Dayplex::toDate(QDate(2027, 11, 8));
    qint64 occurrences = 0;
    for (auto _ : state) {
        for (const SeriesPattern &pattern : series)
            occurrences += Terminplaner::occurrenceStarts(pattern, from, from + 7).size();
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(occurrences);
    state.SetItemsProcessed(state.iterations() * series.size());
}
BENCHMARK(BM_ExpandMixedSeriesOneWeek)->Unit(benchmark::kMillisecond);

} // namespace

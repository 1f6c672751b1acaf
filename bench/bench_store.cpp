// Loading appointments into the calendar and reading and writing options strings.
#include "benchdata.h"

#include "shared/ccontainer.h"
#include "shared/defaultoptions.h"

#include <dayplex/ucagenda.h>

#include <benchmark/benchmark.h>

namespace {

// 100,000 AddDate calls into an empty calendar, with the texts and times of week-1000.
void BM_AddDate100000(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QStringLiteral("week-1000.json"));
    Dayplex::ucAgenda agenda;
    const int total = 100000;
    for (auto _ : state) {
        state.PauseTiming();
        agenda.Clear();
        state.ResumeTiming();
        for (int i = 0; i < total; ++i) {
            const BenchAppointment &a = data.appointments[i % data.appointments.size()];
            agenda.AddDate(a.id, a.text, a.start, a.end, a.allDay, 0, false, a.colour, false);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * total);
}
BENCHMARK(BM_AddDate100000)->Unit(benchmark::kMillisecond);

// The default options string parsed into a container and written out again.
void BM_DefaultOptionsRoundTrip(benchmark::State &state)
{
    const QString options = Dayplex::defaultOptionsString();
    for (auto _ : state) {
        Dayplex::cContainer container;
        container.setContainerString(options);
        QString written = container.ContainerString();
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(state.iterations() * options.size() * 2);
}
BENCHMARK(BM_DefaultOptionsRoundTrip)->Unit(benchmark::kMicrosecond);

// The same through the calendar: Options written (merged and applied) and read back.
void BM_CalendarOptionsWriteRead(benchmark::State &state)
{
    const QString options = Dayplex::defaultOptionsString();
    Dayplex::ucAgenda agenda;
    for (auto _ : state) {
        agenda.setOptions(options);
        QString written = agenda.Options();
        benchmark::DoNotOptimize(written);
    }
}
BENCHMARK(BM_CalendarOptionsWriteRead)->Unit(benchmark::kMicrosecond);

} // namespace

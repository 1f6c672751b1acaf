// The appointment pass of one paint: occupancy of the cells and the boxes of every appointment.
#include "benchdata.h"

#include "calendar/appointmentstore.h"
#include "calendar/calendargrid.h"
#include "calendar/cellmatrix.h"
#include "shared/ccontainer.h"

#include <benchmark/benchmark.h>

namespace {

using namespace Dayplex;

AppointmentStore loadStore(const BenchDataSet &data)
{
    AppointmentStore store;
    store.reserve(qint32(data.appointments.size()));
    for (const BenchAppointment &a : data.appointments)
        store.add(a.id, a.text, a.start, a.end, a.allDay, 0, false, a.colour, false, false);
    return store;
}

// The week view on a 1600 x 1000 area with 8 x 16 pixel characters and a 5-minute raster.
CalendarGrid weekGrid(const BenchDataSet &data, qint32 minDateHeight)
{
    CalendarGrid grid;
    grid.firstDay = data.firstDay;
    grid.lastDay = data.firstDay + data.days - 1;
    grid.setRaster(5 * kOneMinute);
    grid.minDateHeight = minDateHeight;
    grid.dayInfoHeight = 3;
    grid.layoutScreen(0, 0, 1600, 1000, 8, 16);
    return grid;
}

// week-5000 (up to 211 appointments at once on one day); the argument is MinDateHeight.
void BM_LayoutWeek5000(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QStringLiteral("week-5000.json"));
    AppointmentStore store = loadStore(data);
    const CalendarGrid grid = weekGrid(data, qint32(state.range(0)));
    CellMatrix matrix;
    matrix.rebuild(grid.dayCount(), grid.lastRow + 1);
    qint64 boxes = 0;
    for (auto _ : state) {
        AppointmentLayout layout = layoutAppointments(store, matrix, grid, false);
        boxes = layout.segments.size() + layout.allDay.size();
        benchmark::DoNotOptimize(layout);
    }
    state.counters["boxes"] = double(boxes);
    state.SetItemsProcessed(state.iterations() * store.count());
}
BENCHMARK(BM_LayoutWeek5000)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// The same for printing, where boxes are clipped to the page.
void BM_LayoutWeek5000Print(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QStringLiteral("week-5000.json"));
    AppointmentStore store = loadStore(data);
    CalendarGrid grid = weekGrid(data, 1);
    grid.firstTime = 8.0 / 24.0;
    grid.layoutPrint(0, 0, 1600, 1000, 8, 16);
    CellMatrix matrix;
    matrix.rebuild(grid.dayCount(), grid.lastRow + 1);
    for (auto _ : state) {
        AppointmentLayout layout = layoutAppointments(store, matrix, grid, true);
        benchmark::DoNotOptimize(layout);
    }
}
BENCHMARK(BM_LayoutWeek5000Print)->Unit(benchmark::kMillisecond);

// Working time and pauses coloured into every cell of the week.
void BM_WorkingTimesWeek(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QStringLiteral("week-100.json"));
    const CalendarGrid grid = weekGrid(data, 1);
    cContainer options;
    const auto time = [&options](const QString &key, int weekday, double hours) {
        options.setValue(key + QString::number(weekday), hours / 24, cContainer::Kind::Date);
    };
    for (int weekday = 2; weekday <= 6; ++weekday) {
        time(QStringLiteral("timeArbeitsZeitVon"), weekday, 8);
        time(QStringLiteral("timeArbeitsZeitBis"), weekday, 17);
        time(QStringLiteral("timePause1Von"), weekday, 12);
        time(QStringLiteral("timePause1Bis"), weekday, 13);
    }
    cContainer layout;
    layout.setValue(QStringLiteral("rgbFreizeit"), qint32(0x00E0E0E0));
    layout.setValue(QStringLiteral("rgbArbeitszeit"), qint32(0x00FFFFFF));
    CellMatrix matrix;
    matrix.rebuild(grid.dayCount(), grid.lastRow + 1);
    for (auto _ : state) {
        applyWorkingTimes(matrix, grid, options, layout);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WorkingTimesWeek)->Unit(benchmark::kMicrosecond);

} // namespace

// The views' cores without a widget, as a Qt Quick item drives them: the host delivers the data
// set moved by a day (back and forth), and the core paints its kept picture of 1600 x 1000.
// The calendar shows a week in a 15-minute raster from 06:00, the resource view 50 rows.
#include "benchdata.h"

#include "calendar/agendacore.h"
#include "gantt/ganttcore.h"

#include <benchmark/benchmark.h>

namespace {

using namespace Dayplex;

const QSize kSize(1600, 1000);

void BM_AgendaCorePicture(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(state.range(0) == 100 ? QStringLiteral("week-100.json")
                                                                  : QStringLiteral("week-1000.json"));
    AgendaCore core;
    int shift = 0;
    core.events.needDates = [&](Date from, Date to, const QString &) {
        core.setFilledRange(from, to);
        for (const BenchAppointment &a : data.appointments)
            core.data.store.add(a.id, a.text, a.start + shift, a.end + shift, a.allDay, 0, false,
                                a.colour, false, false);
    };
    core.grid.setRaster(15 * kOneMinute);
    core.grid.firstTime = 6.0 / 24;
    double last = data.firstDay + data.days - 1;
    core.setDisplayedRange(data.firstDay, &last, false, false);
    core.picture(kSize, 1.0);
    for (auto _ : state) {
        shift = 1 - shift;
        core.refresh();
        benchmark::DoNotOptimize(core.picture(kSize, 1.0).constBits());
    }
    state.SetLabel(std::to_string(data.appointments.size()) + " appointments");
}
BENCHMARK(BM_AgendaCorePicture)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_GanttCorePicture(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QStringLiteral("gantt-50-2000.json"));
    GanttCore core;
    int shift = 0;
    core.events.needDates = [&](Date from, Date to, const QString &) {
        core.setFilledRange(from, to);
        for (const auto &resource : data.resources)
            core.model.addMerkmal(resource.second, resource.first);
        for (const BenchAppointment &a : data.appointments)
            core.model.addDate(a.id, a.text, a.start + shift, a.end + shift, a.allDay, 0, false,
                               a.colour, false, a.resource, false, false);
    };
    core.surfaceSize = kSize;
    double last = data.firstDay + data.days - 1;
    core.setDisplayedRange(data.firstDay, &last, false, false);
    core.prepareScreen(false);
    for (auto _ : state) {
        shift = 1 - shift;
        core.model.forgetFilledRange();
        double end = core.endDate;
        core.setDisplayedRange(core.startDate, &end, false, false);
        core.prepareScreen(false);
        benchmark::DoNotOptimize(core.picture.constBits());
    }
    state.SetLabel(std::to_string(data.appointments.size()) + " appointments, 50 rows");
}
BENCHMARK(BM_GanttCorePicture)->Unit(benchmark::kMillisecond);

} // namespace

// Painting the Gantt view: 200 resources with 10,000 appointments over four weeks.
#include "benchdata.h"

#include "gantt/ganttlayout.h"
#include "gantt/ganttmodel.h"

#include <dayplex/ctlgantt.h>

#include <benchmark/benchmark.h>

namespace {

using namespace Dayplex;

// A view that answers NeedDates with every resource and appointment of the data set.
class LoadedGantt
{
public:
    explicit LoadedGantt(const BenchDataSet &data)
        : m_data(data)
    {
        QObject::connect(&gantt, &ctlGantt::NeedDates, &gantt,
                         [this](double from, double to, const QString &) { deliver(from, to); });
        gantt.Enabled = true;
        double last = data.firstDay + data.days - 1;
        gantt.SetDisplayedRange(data.firstDay, &last, false, false);
    }

    void deliver(Date from, Date to)
    {
        gantt.SetFilledRange(from, to);
        for (const auto &resource : m_data.resources)
            gantt.AddMerkmal(resource.second, resource.first);
        for (const BenchAppointment &a : m_data.appointments)
            gantt.AddDate(a.id, a.text, a.start, a.end, a.allDay, 0, false, a.colour, false,
                          a.resource, false);
    }

    ctlGantt gantt;

private:
    const BenchDataSet &m_data;
};

// One full screen paint of the 28 days into a 1600 x 1000 image: layout, rows, headers, the
// rectangles and staircase of all 10,000 bars, and the bars in view with their texts.
void BM_GanttPaint200x10000(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QStringLiteral("gantt-200-10000.json"));
    LoadedGantt view(data);
    // The picture measured, for a look.
    const QString dir = qEnvironmentVariable("DAYPLEX_PICTURES");
    if (!dir.isEmpty())
        view.gantt.paintToImage(QSize(1600, 1000)).save(dir + QStringLiteral("/gantt-bench.png"));
    for (auto _ : state) {
        QImage image = view.gantt.paintToImage(QSize(1600, 1000));
        benchmark::DoNotOptimize(image);
    }
    state.SetItemsProcessed(state.iterations() * data.appointments.size());
}
BENCHMARK(BM_GanttPaint200x10000)->Unit(benchmark::kMillisecond);

// The bar pass alone: rectangles, sorted order and staircase of every appointment.
void BM_GanttBarPass200x10000(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QStringLiteral("gantt-200-10000.json"));
    GanttModel model;
    for (const auto &resource : data.resources)
        model.addMerkmal(resource.second, resource.first);
    for (const BenchAppointment &a : data.appointments)
        model.addDate(a.id, a.text, a.start, a.end, a.allDay, 0, false, a.colour, false,
                      a.resource, false, false);
    const GanttLayout layout = ganttLayout(0, 0, 1600, 1000, 13, 8, data.firstDay,
                                           data.firstDay + data.days - 1, model.rowCount(), false, 4);
    for (auto _ : state) {
        BarPass pass = ganttLayoutBars(model, layout, 1);
        benchmark::DoNotOptimize(pass);
    }
    state.SetItemsProcessed(state.iterations() * data.appointments.size());
}
BENCHMARK(BM_GanttBarPass200x10000)->Unit(benchmark::kMillisecond);

// The host delivering the four weeks again after a Refresh (without the paint).
void BM_GanttDeliver200x10000(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QStringLiteral("gantt-200-10000.json"));
    LoadedGantt view(data);
    for (auto _ : state) {
        view.gantt.Clear();
        view.deliver(data.firstDay, data.firstDay + data.days - 1);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * data.appointments.size());
}
BENCHMARK(BM_GanttDeliver200x10000)->Unit(benchmark::kMillisecond);

} // namespace

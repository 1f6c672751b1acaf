// The Gantt view over its public members, on the shared data sets and a generated large one:
// the re-render after every appointment moved by a day (Refresh, NeedDates, the host delivers
// everything again, the paint) on a shown 1600 x 1000 view and through paintToImage, the first
// picture of a fresh view, a repaint of an unchanged view, one step of moving a bar, and the
// bar pass alone.
#include "benchdata.h"

#include "gantt/ganttlayout.h"
#include "gantt/ganttmodel.h"

#include <dayplex/ctlgantt.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace {

using namespace Dayplex;

const QSize kSize(1600, 1000);

// 500 rows with 100 bars each over 101 days from Monday 2024-03-04, in a fixed pattern.
BenchDataSet scaleData()
{
    BenchDataSet data;
    data.firstDay = toDate(QDate(2024, 3, 4));
    data.days = 101;
    for (int r = 0; r < 500; ++r) {
        const QString id = QStringLiteral("S%1").arg(r, 3, 10, QLatin1Char('0'));
        data.resources.append({id, QStringLiteral("Ressource %1").arg(r)});
        for (int k = 0; k < 100; ++k) {
            BenchAppointment a;
            a.id = QStringLiteral("%1-%2").arg(id).arg(k);
            a.text = QStringLiteral("Auftrag %1").arg(r * 100 + k);
            a.resource = id;
            a.start = data.firstDay + k + ((r * 7 + k * 5) % 20) / 24.0;
            a.end = a.start + (1 + (r + k) % 6) / 24.0;
            a.colour = 0xC0C0C0 + ((r * 31 + k * 17) % 64);
            data.appointments.append(a);
        }
    }
    return data;
}

const BenchDataSet &dataSet(int which)
{
    static const BenchDataSet small = loadBenchData(QStringLiteral("gantt-50-2000.json"));
    static const BenchDataSet large = loadBenchData(QStringLiteral("gantt-200-10000.json"));
    static const BenchDataSet scale = scaleData();
    return which == 0 ? small : which == 1 ? large : scale;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// A view whose host answers NeedDates with every row and appointment, moved by `shift` days.
class Host
{
public:
    Host(const BenchDataSet &data, bool shown)
        : m_data(data)
    {
        QObject::connect(&gantt, &ctlGantt::NeedDates, &gantt,
                         [this](double from, double to, const QString &) { deliver(from, to); });
        gantt.Enabled = true;
        double last = data.firstDay + data.days - 1;
        gantt.SetDisplayedRange(data.firstDay, &last, false, false);
        if (shown) {
            // The picture area is 1600 x 1000 inside the scroll bars.
            gantt.resize(kSize + QSize(16, 16));
            gantt.show();
            settle();
            gantt.Repaint();
        }
    }

    void deliver(Date from, Date to)
    {
        gantt.SetFilledRange(from, to);
        for (const auto &resource : m_data.resources)
            gantt.AddMerkmal(resource.second, resource.first);
        for (const BenchAppointment &a : m_data.appointments)
            gantt.AddDate(a.id, a.text, a.start + shift, a.end + shift, a.allDay, 0, false, a.colour,
                          false, a.resource, false);
    }

    // Every appointment a day later, or back.
    void shiftAndRefresh()
    {
        shift = shift == 0 ? 1 : 0;
        gantt.Refresh();
    }

    QWidget *picture() { return gantt.findChild<QWidget *>(QStringLiteral("calpic")); }

    ctlGantt gantt;
    double shift = 0;

private:
    const BenchDataSet &m_data;
};

void itemsPerIteration(benchmark::State &state, int which)
{
    state.SetItemsProcessed(state.iterations() * dataSet(which).appointments.size());
}

// Refresh on a shown view: the host delivers again and the view paints at once.
void BM_GanttReRenderShown(benchmark::State &state)
{
    const int which = int(state.range(0));
    Host host(dataSet(which), true);
    for (auto _ : state)
        host.shiftAndRefresh();
    itemsPerIteration(state, which);
}
BENCHMARK(BM_GanttReRenderShown)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The same through paintToImage, as headless screenshots take it.
void BM_GanttReRenderImage(benchmark::State &state)
{
    const int which = int(state.range(0));
    Host host(dataSet(which), false);
    const QString dir = qEnvironmentVariable("DAYPLEX_PICTURES");
    if (!dir.isEmpty())
        host.gantt.paintToImage(kSize).save(dir + QStringLiteral("/gantt-bench-%1.png").arg(which));
    for (auto _ : state) {
        host.shiftAndRefresh();
        QImage image = host.gantt.paintToImage(kSize);
        benchmark::DoNotOptimize(image);
    }
    itemsPerIteration(state, which);
}
BENCHMARK(BM_GanttReRenderImage)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The first picture of a view that has just received its data.
void BM_GanttFirstRenderImage(benchmark::State &state)
{
    const int which = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto host = std::make_unique<Host>(dataSet(which), false);
        state.ResumeTiming();
        QImage image = host->gantt.paintToImage(kSize);
        benchmark::DoNotOptimize(image);
        state.PauseTiming();
        host.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GanttFirstRenderImage)->Arg(1)->Unit(benchmark::kMillisecond);

// Repaint of a shown view whose content did not change.
void BM_GanttSteadyRepaint(benchmark::State &state)
{
    Host host(dataSet(int(state.range(0))), true);
    for (auto _ : state)
        host.gantt.Repaint();
}
BENCHMARK(BM_GanttSteadyRepaint)->Arg(1)->Unit(benchmark::kMillisecond);

void send(QWidget *widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
          Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// One mouse step while a bar is moved: the landing frame and the corner follow the mouse.
void BM_GanttDragStep(benchmark::State &state)
{
    Host host(dataSet(int(state.range(0))), true);
    QWidget *picture = host.picture();
    // The first bar on screen that can be selected is pressed and moved past the threshold.
    QPoint bar;
    for (int y = 60; y < kSize.height() && host.gantt.SelectedDate().isEmpty(); y += 4) {
        for (int x = 120; x < kSize.width() / 2 && host.gantt.SelectedDate().isEmpty(); x += 4) {
            if (host.gantt.GetidxGanttEintrag(x, y).isValid()) {
                bar = QPoint(x + 1, y + 1);
                send(picture, QEvent::MouseButtonPress, bar, Qt::LeftButton, Qt::LeftButton);
                send(picture, QEvent::MouseButtonRelease, bar, Qt::LeftButton, Qt::NoButton);
            }
        }
    }
    send(picture, QEvent::MouseButtonPress, bar, Qt::LeftButton, Qt::LeftButton);
    send(picture, QEvent::MouseMove, bar + QPoint(20, 0), Qt::NoButton, Qt::LeftButton);
    if (host.gantt.SelectedDate().isEmpty())
        state.SkipWithError("no bar to move");
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 40;
        send(picture, QEvent::MouseMove, bar + QPoint(20 + 5 * step, 0), Qt::NoButton,
             Qt::LeftButton);
    }
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &escape);
    send(picture, QEvent::MouseButtonRelease, bar, Qt::LeftButton, Qt::NoButton);
}
BENCHMARK(BM_GanttDragStep)->Arg(1)->Unit(benchmark::kMillisecond);

// The bar pass alone: rectangles, sorted order and staircase of every appointment.
void BM_GanttBarPass200x10000(benchmark::State &state)
{
    const BenchDataSet &data = dataSet(1);
    GanttModel model;
    for (const auto &resource : data.resources)
        model.addMerkmal(resource.second, resource.first);
    for (const BenchAppointment &a : data.appointments)
        model.addDate(a.id, a.text, a.start, a.end, a.allDay, 0, false, a.colour, false,
                      a.resource, false, false);
    const GanttLayout layout = ganttLayout(0, 0, 1600, 1000, 13, 8, data.firstDay,
                                           data.firstDay + data.days - 1, model.rowCount(), false, 4);
    for (auto _ : state) {
        BarPass pass = ganttLayoutBars(model, layout, 1, 1, model.rowCount());
        benchmark::DoNotOptimize(pass);
    }
    state.SetItemsProcessed(state.iterations() * data.appointments.size());
}
BENCHMARK(BM_GanttBarPass200x10000)->Unit(benchmark::kMillisecond);

} // namespace

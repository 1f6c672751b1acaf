// Re-rendering the calendar over its public members: the week of a data set on 1600 x 1000,
// seven days in a 15-minute raster from 06:00. Each step shifts every appointment by a day
// (back and forth, so they stay in the week): Refresh -> NeedDates -> the host adds every
// appointment -> paint.
#include "benchdata.h"

#include <dayplex/ucagenda.h>

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

namespace {

using namespace Dayplex;

const QSize kSize(1600, 1000);

// A calendar whose host delivers the data set moved by shift days.
class LoadedCalendar
{
public:
    explicit LoadedCalendar(const BenchDataSet &data, bool shown)
        : m_data(data)
    {
        QObject::connect(&agenda, &ucAgenda::NeedDates, &agenda,
                         [this](double from, double to, const QString &) { deliver(from, to); });
        agenda.Enabled = true;
        agenda.setTimeRaster(15 * kOneMinute);
        agenda.setFirstTime(6.0 / 24);
        agenda.resize(kSize);
        if (shown) {
            agenda.show();
            QApplication::processEvents();
        }
        double last = data.firstDay + data.days - 1;
        agenda.SetDisplayedRange(data.firstDay, &last, false, false);
        agenda.Repaint();
    }

    void deliver(Date from, Date to)
    {
        agenda.SetFilledRange(from, to);
        for (const BenchAppointment &a : m_data.appointments)
            agenda.AddDate(a.id, a.text, a.start + shift, a.end + shift, a.allDay, 0, false,
                           a.colour, false);
    }

    // Moves every appointment a day forward, or back again.
    void shiftAll()
    {
        shift = shift == 0 ? 1 : 0;
        agenda.Refresh();
    }

    ucAgenda agenda;
    int shift = 0;

private:
    const BenchDataSet &m_data;
};

void setLabel(benchmark::State &state, const BenchDataSet &data)
{
    state.SetLabel(QStringLiteral("%1 appointments").arg(data.appointments.size()).toStdString());
}

const char *dataSet(benchmark::State &state)
{
    switch (state.range(0)) {
    case 100:
        return "week-100.json";
    case 1000:
        return "week-1000.json";
    default:
        return "week-5000.json";
    }
}

// The shown widget: Refresh repaints it at once.
void BM_CalendarRerenderShown(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QString::fromLatin1(dataSet(state)));
    LoadedCalendar view(data, true);
    for (auto _ : state)
        view.shiftAll();
    setLabel(state, data);
}
BENCHMARK(BM_CalendarRerenderShown)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// The same through paintToImage, without a window.
void BM_CalendarRerenderImage(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QString::fromLatin1(dataSet(state)));
    LoadedCalendar view(data, false);
    for (auto _ : state) {
        view.shiftAll();
        QImage image = view.agenda.paintToImage(kSize);
        benchmark::DoNotOptimize(image);
    }
    setLabel(state, data);
}
BENCHMARK(BM_CalendarRerenderImage)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// A new view: the options, the range, the host's delivery and the first picture.
void BM_CalendarFirstRender(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QString::fromLatin1(dataSet(state)));
    for (auto _ : state) {
        LoadedCalendar view(data, false);
        QImage image = view.agenda.paintToImage(kSize);
        benchmark::DoNotOptimize(image);
    }
    setLabel(state, data);
}
BENCHMARK(BM_CalendarFirstRender)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// Repaint of a shown view whose picture has not changed.
void BM_CalendarSteadyRepaint(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QString::fromLatin1(dataSet(state)));
    LoadedCalendar view(data, true);
    for (auto _ : state)
        view.agenda.Repaint();
    setLabel(state, data);
}
BENCHMARK(BM_CalendarSteadyRepaint)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

void send(QWidget *pic, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, pic->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(pic, &event);
}

// One mouse move of a drag: the landing place follows the mouse from one time cell to the
// next and the view repaints.
void BM_CalendarDragMoveStep(benchmark::State &state)
{
    const BenchDataSet data = loadBenchData(QString::fromLatin1(dataSet(state)));
    LoadedCalendar view(data, true);
    // The drop at the end must not wait for an answer.
    view.agenda.setConfirmChanges(false);
    QWidget *pic = view.agenda.findChild<QWidget *>(QStringLiteral("pic"));
    // Wednesday afternoon: a free strip at the left of the column, under a box further right.
    const int columnWidth = (pic->width() - 5 * pic->fontMetrics().horizontalAdvance(QLatin1Char('w'))) / 7;
    const QPointF press(5 * pic->fontMetrics().horizontalAdvance(QLatin1Char('w')) + 2.5 * columnWidth, 700);
    send(pic, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    send(pic, QEvent::MouseMove, press + QPointF(0, 10), Qt::NoButton, Qt::LeftButton);
    const QPointF a = press + QPointF(0, 10), b = press + QPointF(0, 40);
    send(pic, QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
    if (view.agenda.SelectionStart() == 0) {
        state.SkipWithError("no appointment under the mouse to drag");
        return;
    }
    bool toB = false;
    for (auto _ : state) {
        send(pic, QEvent::MouseMove, toB ? b : a, Qt::NoButton, Qt::LeftButton);
        toB = !toB;
    }
    send(pic, QEvent::MouseButtonRelease, a, Qt::LeftButton, Qt::NoButton);
    setLabel(state, data);
}
BENCHMARK(BM_CalendarDragMoveStep)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

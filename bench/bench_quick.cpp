// The Qt Quick calendar item on the shared week of 1,000 appointments, 1600 x 1000: the frame
// of a pan (one day on or back, the picture made and painted as the item's paint() draws it)
// and the frame after one shown row of a bound model changed (the binding's reload included).
#include "agendaitem.h"
#include "benchdata.h"

#include <QCoreApplication>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QStandardItemModel>
#include <benchmark/benchmark.h>

namespace {

using namespace Dayplex;

const QSize kSize(1600, 1000);

struct ItemOnWeek
{
    QQmlEngine engine;
    std::unique_ptr<QObject> made;
    AgendaItem *item = nullptr;
    QImage texture{kSize, QImage::Format_RGB32};

    ItemOnWeek()
    {
        engine.addImportPath(QStringLiteral(DAYPLEX_QML_DIR));
        QQmlComponent component(&engine);
        component.setData("import Dayplex\nAgendaItem {}", QUrl());
        made.reset(component.create());
        item = qobject_cast<AgendaItem *>(made.get());
        if (!item)
            qFatal("the item cannot be made: %s", qPrintable(component.errorString()));
    }

    // One frame: the picture on the GUI thread, then drawn into the item's texture.
    void frame()
    {
        const QImage picture = item->paintToImage(kSize);
        QPainter painter(&texture);
        painter.drawImage(QPointF(0, 0), picture);
    }
};

void BM_AgendaItemPanFrame(benchmark::State &state)
{
    const BenchDataSet week = loadBenchData(QStringLiteral("week-1000.json"));
    ItemOnWeek view;
    // The host fills a week either side, so that the pan shows what it holds.
    QObject::connect(view.item, &AgendaItem::needDates, view.item, [&] {
        view.item->setFilledRange(toQDateTime(week.firstDay - 7), toQDateTime(week.firstDay + 14));
        for (const BenchAppointment &a : week.appointments)
            view.item->addDate(a.id, a.text, toQDateTime(a.start), toQDateTime(a.end), a.allDay,
                               QColor(), false, QColor(qBlue(a.colour), qGreen(a.colour), qRed(a.colour)));
    });
    view.item->setDisplayedRange(toQDateTime(week.firstDay), toQDateTime(week.firstDay + 6));
    view.frame();
    int direction = 1;
    for (auto _ : state) {
        view.item->scroll(direction);
        direction = -direction;
        view.frame();
    }
    state.counters["renders"] = view.item->renders();
}
BENCHMARK(BM_AgendaItemPanFrame)->Unit(benchmark::kMillisecond);

void BM_AgendaItemModelChangeFrame(benchmark::State &state)
{
    const BenchDataSet week = loadBenchData(QStringLiteral("week-1000.json"));
    QStandardItemModel model(0, 4);
    for (const BenchAppointment &a : week.appointments) {
        QList<QStandardItem *> row;
        for (const QVariant &v : {QVariant(a.id), QVariant(a.text), QVariant(toQDateTime(a.start)),
                                  QVariant(toQDateTime(a.end))}) {
            auto *cell = new QStandardItem;
            cell->setData(v, Qt::EditRole);
            row.append(cell);
        }
        model.appendRow(row);
    }
    ItemOnWeek view;
    view.item->setDisplayedRange(toQDateTime(week.firstDay), toQDateTime(week.firstDay + 6));
    view.item->setModel(&model);
    view.frame();
    const QModelIndex start = model.index(0, 2);
    const QDateTime first = start.data(Qt::EditRole).toDateTime();
    int shift = 1;
    for (auto _ : state) {
        const int before = view.item->renders();
        model.setData(start, first.addSecs(1800 * shift), Qt::EditRole);
        shift = -shift;
        // The binding reloads the view once the event loop turns.
        QCoreApplication::processEvents();
        view.frame();
        if (view.item->renders() == before)
            state.SkipWithError("the change did not paint the view anew");
    }
}
BENCHMARK(BM_AgendaItemModelChangeFrame)->Unit(benchmark::kMillisecond);

} // namespace

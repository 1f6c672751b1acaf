// The calendar fed from an item model of 100,000 appointments (ten years, about 27 a day between
// 07:00 and 19:00), showing a week on 1600 x 1000: building the binding's index, the first
// picture of a week, and the picture again after one shown row changed.
#include "model/appointmentindex.h"
#include "model/modelrows.h"

#include <dayplex/modelbinding.h>
#include <dayplex/ucagenda.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

using namespace Dayplex;

constexpr int kRows = 100000;
const QSize kSize(1600, 1000);
const Date kFirstDay = toDate(QDate(2020, 1, 6)); // a Monday
const Date kShownWeek = kFirstDay + 7 * 260;

// What a host keeps: a table of appointments with key, subject, start and end.
class Appointments : public QAbstractTableModel
{
public:
    Appointments()
    {
        QRandomGenerator random(41);
        m_rows.reserve(kRows);
        for (int i = 0; i < kRows; ++i) {
            const Date start = kFirstDay + random.bounded(3650) + (7 + random.bounded(12)) / 24.0
                + random.bounded(4) * 0.25 / 24;
            const Date length = (1 + random.bounded(8)) * 0.25 / 24;
            m_rows.push_back({QString::number(i), QStringLiteral("Termin %1").arg(i),
                              toQDateTime(start), toQDateTime(start + length)});
        }
    }
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : kRows; }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 4; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        const Row &row = m_rows[size_t(index.row())];
        switch (index.column()) {
        case 0: return row.key;
        case 1: return row.subject;
        case 2: return row.start;
        default: return row.end;
        }
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
    }
    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (index.column() != 1 || role != Qt::EditRole)
            return false;
        m_rows[size_t(index.row())].subject = value.toString();
        Q_EMIT dataChanged(index, index);
        return true;
    }
    // A row that the shown week shows.
    int shownRow() const
    {
        for (int i = 0; i < kRows; ++i)
            if (toDate(m_rows[size_t(i)].start) > kShownWeek + 1)
                if (toDate(m_rows[size_t(i)].start) < kShownWeek + 2)
                    return i;
        return 0;
    }

private:
    struct Row
    {
        QString key;
        QString subject;
        QDateTime start;
        QDateTime end;
    };
    std::vector<Row> m_rows;
};

Appointments &model()
{
    static Appointments appointments;
    return appointments;
}

void showWeek(ucAgenda &agenda)
{
    agenda.resize(kSize);
    agenda.setAlignOnWeekday(2);
    double last = kShownWeek + 6;
    agenda.SetDisplayedRange(kShownWeek, &last, false, true);
}

// Every row read once and sorted by time.
void BM_IndexBuilt(benchmark::State &state)
{
    const AppointmentRoles roles;
    for (auto _ : state) {
        AppointmentIndex index;
        index.reset(readSpans(model(), roles, 0, kRows - 1));
        benchmark::DoNotOptimize(index.rowCount());
    }
}
BENCHMARK(BM_IndexBuilt)->Unit(benchmark::kMillisecond);

// A fresh calendar asks for its week, which the binding answers from the model, and paints it.
void BM_FirstRender(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto agenda = std::make_unique<ucAgenda>();
        ModelBinding binding(agenda.get());
        binding.setModel(&model());
        state.ResumeTiming();
        showWeek(*agenda);
        benchmark::DoNotOptimize(agenda->paintToImage(kSize));
        state.PauseTiming();
        agenda.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstRender)->Unit(benchmark::kMillisecond)->Iterations(10);

// One shown row's subject changes: the binding reloads the week and the calendar paints it.
void BM_RenderAfterDataChanged(benchmark::State &state)
{
    ucAgenda agenda;
    ModelBinding binding(&agenda);
    binding.setModel(&model());
    showWeek(agenda);
    agenda.paintToImage(kSize);
    const QModelIndex subject = model().index(model().shownRow(), 1);
    const QString shown = agenda.TerminDSN();
    int step = 0;
    for (auto _ : state) {
        model().setData(subject, QStringLiteral("Geändert %1").arg(++step), Qt::EditRole);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(agenda.paintToImage(kSize));
    }
    state.counters["shown"] = double(shown.count(QLatin1Char('|')));
}
BENCHMARK(BM_RenderAfterDataChanged)->Unit(benchmark::kMillisecond);

} // namespace

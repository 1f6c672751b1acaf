// The Terminplaner's answer to NeedDates for one week of a database with ten years of
// appointments and series: the read, the expansion of the series and the view's AddDate.
#include "database.h"
#include "hostbridge.h"

#include <dayplex/ucagenda.h>

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using Terminplaner::Appointment;

const QDate kFirst(2020, 1, 6);
constexpr int kYears = 10;

// 2,000 series (weekly, daily on workdays, monthly; half of them endless) and 100,000 single
// appointments of eight participants, spread evenly over ten years.
QVector<Appointment> tenYears()
{
    QVector<Appointment> all;
    const int days = kYears * 365;
    quint32 seed = 12345;
    const auto next = [&seed](int below) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % quint32(below));
    };
    for (int i = 0; i < 100000; ++i) {
        Appointment a;
        a.text = QStringLiteral("Termin %1").arg(i);
        a.start = Dayplex::toDate(kFirst.addDays(next(days))) + (8 * 60 + 15 * next(36)) / 1440.0;
        a.end = a.start + (30 + 15 * next(8)) / 1440.0;
        a.participantId = 1 + next(8);
        a.uid = QStringLiteral("einzel-%1").arg(i);
        all.append(a);
    }
    const QStringList rules{"FREQ=WEEKLY;BYDAY=%1", "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR", "FREQ=MONTHLY"};
    const QStringList weekdays{"MO", "TU", "WE", "TH", "FR"};
    for (int i = 0; i < 2000; ++i) {
        Appointment a;
        a.text = QStringLiteral("Serie %1").arg(i);
        a.start = Dayplex::toDate(kFirst.addDays(next(days))) + (8 * 60 + 30 * next(18)) / 1440.0;
        a.end = a.start + 45 / 1440.0;
        a.participantIds = {1 + next(8), 1 + next(8)};
        a.participantId = a.participantIds.first();
        a.rrule = rules.at(i % 3);
        if (a.rrule.contains(QLatin1String("%1")))
            a.rrule = a.rrule.arg(weekdays.at(next(5)));
        if (i % 2)
            a.rrule += QStringLiteral(";COUNT=%1").arg(10 + next(200));
        a.uid = QStringLiteral("serie-%1").arg(i);
        all.append(a);
    }
    return all;
}

Terminplaner::Database &database()
{
    static QTemporaryDir folder; // made once per run
    static Terminplaner::Database db;
    if (!db.isOpen()) {
        db.open(folder.filePath(QStringLiteral("zehn-jahre.sqlite")), kFirst);
        Terminplaner::CalendarChanges file;
        file.appointments = tenYears();
        db.importCalendar(file);
    }
    return db;
}

// The read alone: the singles of the week and the series expanded.
void BM_ReadWeekOfTenYears(benchmark::State &state)
{
    Terminplaner::Database &db = database();
    const Dayplex::Date monday = Dayplex::toDate(QDate(2025, 6, 2));
    for (auto _ : state)
        benchmark::DoNotOptimize(db.appointmentsInDays(monday, monday + 6));
}
BENCHMARK(BM_ReadWeekOfTenYears)->Unit(benchmark::kMillisecond);

void BM_FillCalendarWeekOfTenYears(benchmark::State &state)
{
    Terminplaner::HostBridge bridge(database());
    Dayplex::ucAgenda agenda;
    const Dayplex::Date monday = Dayplex::toDate(QDate(2025, 6, 2));
    Terminplaner::FillResult filled;
    for (auto _ : state) {
        state.PauseTiming();
        agenda.Clear();
        state.ResumeTiming();
        filled = bridge.fillCalendar(agenda, monday, monday + 6, QStringLiteral("AKT_Notiz,AKT_Merkmale"));
    }
    state.counters["delivered"] = filled.delivered;
}
BENCHMARK(BM_FillCalendarWeekOfTenYears)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

} // namespace

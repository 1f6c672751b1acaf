// An office's ten years: 1,000,000 appointments of 50 participants on workdays, stored in the
// order of their days (every tenth a meeting of three, one in a hundred all-day over several
// days) and 2,000 series, in a SQLite file and on
// a PostgreSQL server of the run's own. Measures the answer to NeedDates for a week and for
// 101 days, the whole screenshot program on the file with its peak memory, and an import of
// 10,000 events. The databases are made in a temporary folder at the start of the run, or
// once in the folder DAYPLEX_BENCH_KEEP names and used again by the next runs.
#include "database.h"
#include "hostbridge.h"
#include "icalendar.h"
#include "../tests/app/pgserver.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/ucagenda.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using namespace Terminplaner;

const QDate kFirst(2016, 1, 4); // a Monday; ten years from here
constexpr int kYears = 10;
constexpr int kAppointments = 1000000;
constexpr int kParticipants = 50;
constexpr int kSeries = 2000;
constexpr int kBatch = 500; // rows per INSERT; a multiple of the meeting step
constexpr int kMeetingStep = 10;
const QString kFields = QStringLiteral("AKT_Notiz,AKT_Merkmale");

void check(QSqlQuery &query, bool ok)
{
    if (!ok)
        throw DatabaseError(query.lastError().text());
}

// A repeatable stream of numbers, so that both servers hold the same rows.
class Dice
{
public:
    int below(int n)
    {
        m_seed = m_seed * 6364136223846793005ull + 1442695040888963407ull;
        return int((m_seed >> 33) % quint64(n));
    }

private:
    quint64 m_seed = 20260329;
};

QString placeholders(int rows, int columns)
{
    const QString row = QLatin1Char('(') + QStringList(columns, QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')');
    return QStringList(rows, row).join(QLatin1Char(','));
}

// The singles in one transaction, through two prepared statements used again for every batch.
void fillSingles(Database &db)
{
    QSqlDatabase connection = QSqlDatabase::database(db.connectionName());
    QSqlQuery query(connection);
    check(query, query.exec(QStringLiteral("SELECT coalesce(max(id), 0) FROM appointments")) && query.next());
    const qint64 base = query.value(0).toLongLong() + 1;
    Transaction transaction(db);
    QSqlQuery people(connection);
    check(people, people.prepare(QStringLiteral("INSERT INTO participants (id, name, role) VALUES (?, ?, '')")));
    for (int id = 9; id <= kParticipants; ++id) {
        people.addBindValue(id);
        people.addBindValue(QStringLiteral("Mitarbeiter %1").arg(id));
        check(people, people.exec());
    }
    QSqlQuery rows(connection);
    check(rows, rows.prepare(QStringLiteral("INSERT INTO appointments (id, text, start, \"end\", all_day, back_color,"
                                            " participant_id, uid, span_days, span_class, seats) VALUES ")
                             + placeholders(kBatch, 11)));
    const int seatsPerBatch = kBatch + kBatch / kMeetingStep * 2;
    QSqlQuery seats(connection);
    check(seats, seats.prepare(QStringLiteral("INSERT INTO appointment_participants (appointment_id, participant_id, seq) VALUES ")
                               + placeholders(seatsPerBatch, 3)));
    Dice dice;
    // In the order of their days, as an office enters them over the years.
    const int workdays = kYears * 52 * 5;
    for (int first = 0; first < kAppointments; first += kBatch) {
        for (int i = first; i < first + kBatch; ++i) {
            const int workday = int(qint64(i) * workdays / kAppointments);
            const QDate date = kFirst.addDays(workday / 5 * 7 + workday % 5);
            const bool allDay = i % 100 == 50;
            const int lengthDays = allDay ? 1 + dice.below(10) : 0;
            const Dayplex::Date start = Dayplex::toDate(date) + (allDay ? 0 : (7 * 60 + 15 * dice.below(44)) / 1440.0);
            const Dayplex::Date end = allDay ? start + lengthDays - 1 : start + (15 + 15 * dice.below(8)) / 1440.0;
            const int span = int(std::floor(end) - std::floor(start));
            int spanClass = 0;
            while (spanClass < 16 && span >= (1 << spanClass))
                ++spanClass;
            const int participant = 1 + i % kParticipants;
            rows.addBindValue(base + i);
            rows.addBindValue(QStringLiteral("Kundentermin %1").arg(i));
            rows.addBindValue(Database::toSqlDateTime(start));
            rows.addBindValue(Database::toSqlDateTime(end));
            rows.addBindValue(allDay ? 1 : 0);
            rows.addBindValue(0x00C8EEC8 + dice.below(64));
            rows.addBindValue(participant);
            rows.addBindValue(QStringLiteral("buero-%1").arg(i));
            rows.addBindValue(span);
            rows.addBindValue(spanClass);
            const int count = i % kMeetingStep == 0 ? 3 : 1;
            QStringList meeting;
            for (int seat = 0; seat < count; ++seat) {
                const int seated = 1 + (participant - 1 + seat * 7) % kParticipants;
                seats.addBindValue(base + i);
                seats.addBindValue(seated);
                seats.addBindValue(seat);
                meeting.append(QString::number(seated));
            }
            rows.addBindValue(count > 1 ? meeting.join(QLatin1Char(',')) : QStringLiteral(""));
        }
        check(rows, rows.exec());
        check(seats, seats.exec());
    }
    transaction.commit();
    if (db.isPostgres()) {
        check(query, query.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('appointments', 'id'),"
                                                " (SELECT max(id) FROM appointments))")));
        check(query, query.exec(QStringLiteral("ANALYZE")));
    }
}

// Weekly, on workdays and monthly; half of them endless, the others counted.
void fillSeries(Database &db)
{
    Dice dice;
    const int days = QDate(kFirst).daysTo(kFirst.addYears(kYears));
    const QStringList weekdays{"MO", "TU", "WE", "TH", "FR"};
    CalendarChanges file;
    file.calendarIdentity = QStringLiteral("-//Büro//Serien//DE");
    for (int i = 0; i < kSeries; ++i) {
        Appointment a;
        a.text = QStringLiteral("Serie %1").arg(i);
        a.start = Dayplex::toDate(kFirst.addDays(dice.below(days))) + (8 * 60 + 30 * dice.below(18)) / 1440.0;
        a.end = a.start + 45 / 1440.0;
        a.participantIds = {1 + dice.below(kParticipants), 1 + dice.below(kParticipants)};
        a.participantId = a.participantIds.first();
        a.rrule = i % 3 == 0 ? QStringLiteral("FREQ=WEEKLY;BYDAY=%1").arg(weekdays.at(dice.below(5)))
                  : i % 3 == 1 ? QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR")
                               : QStringLiteral("FREQ=MONTHLY");
        if (i % 2)
            a.rrule += QStringLiteral(";COUNT=%1").arg(10 + dice.below(200));
        a.uid = QStringLiteral("serie-%1").arg(i);
        file.appointments.append(a);
    }
    db.importCalendar(file);
}

// Marks the kept databases as complete once both are generated.
QString keptMark()
{
    const QString kept = qEnvironmentVariable("DAYPLEX_BENCH_KEEP");
    return kept.isEmpty() ? QString() : QDir(kept).absoluteFilePath(QStringLiteral("fertig"));
}

// Where the generated databases stay between runs; empty: made anew in a temporary folder.
// What a run cut off while generating left there is removed.
QString keptFolder(const QString &name)
{
    const QString mark = keptMark();
    if (mark.isEmpty())
        return QString();
    QDir folder(QFileInfo(mark).dir().filePath(name));
    if (!QFile::exists(mark))
        folder.removeRecursively();
    folder.mkpath(QStringLiteral("."));
    return folder.absolutePath();
}

struct Office
{
    QTemporaryDir folder;
    QString kept = keptFolder(QStringLiteral("office"));
    PgServer server{keptFolder(QStringLiteral("postgres"))};
    QString sqlite;
    QString postgres; // empty when the server did not start
    QString serverError;
    double sqliteSeconds = 0;
    double postgresSeconds = 0;
    Database files;
    Database onServer;

    Office()
    {
        sqlite = QDir(kept.isEmpty() ? folder.path() : kept).filePath(QStringLiteral("zehn-jahre.sqlite"));
        const QString made = keptMark();
        const bool reused = !made.isEmpty() && QFile::exists(made);
        if (!reused)
            sqliteSeconds = make(sqlite);
        if (!server.start()) {
            serverError = server.error();
            return;
        }
        if (reused) {
            postgres = QStringLiteral("postgresql://%1@127.0.0.1:%2/buero").arg(QLatin1String(PgServer::kUser)).arg(server.port());
            return;
        }
        postgres = server.createDatabase(QStringLiteral("buero"));
        postgresSeconds = make(postgres);
        if (!made.isEmpty() && !postgres.isEmpty())
            QFile(made).open(QIODevice::WriteOnly);
    }

    static double make(const QString &location)
    {
        QElapsedTimer clock;
        clock.start();
        Database db;
        db.open(location, kFirst);
        fillSingles(db);
        fillSeries(db);
        return clock.elapsed() / 1000.0;
    }
};

// Made at the first use and gone with the application object, before Qt's SQL drivers go.
Office &office()
{
    static Office *made = nullptr;
    if (!made) {
        made = new Office;
        qAddPostRoutine([] {
            delete made;
            made = nullptr;
        });
    }
    return *made;
}

// The database of the benchmark's first argument (0 SQLite, 1 PostgreSQL); null when skipped.
Database *open(benchmark::State &state)
{
    Office &o = office();
    const bool onServer = state.range(0) == 1;
    if (onServer && o.postgres.isEmpty()) {
        state.SkipWithError(qPrintable(QStringLiteral("kein PostgreSQL-Server: ") + o.serverError));
        return nullptr;
    }
    Database &db = onServer ? o.onServer : o.files;
    if (!db.isOpen())
        db.open(onServer ? o.postgres : o.sqlite);
    state.counters["generate_s"] = onServer ? o.postgresSeconds : o.sqliteSeconds;
    return &db;
}

// The Monday of the n-th week paged to, spread over the ten years.
Dayplex::Date pagedMonday(int n)
{
    return Dayplex::toDate(kFirst.addDays(7 * ((n * 37 + 11) % (kYears * 52))));
}

// Fills the view with `days` days from a Monday paged to, as its NeedDates handler does.
template <typename View, typename Fill>
void fillPaged(benchmark::State &state, int days, Fill fill)
{
    Database *db = open(state);
    if (!db)
        return;
    HostBridge bridge(*db);
    View view;
    int week = 0;
    double delivered = 0;
    for (auto _ : state) {
        state.PauseTiming();
        view.Clear();
        const Dayplex::Date monday = pagedMonday(week++);
        state.ResumeTiming();
        delivered += (bridge.*fill)(view, monday, monday + days - 1, kFields).delivered;
    }
    state.counters["delivered"] = benchmark::Counter(delivered, benchmark::Counter::kAvgIterations);
}

void BM_CalendarWeek(benchmark::State &state)
{
    fillPaged<Dayplex::ucAgenda>(state, 7, &HostBridge::fillCalendar);
}
// A fixed count of weeks: every repetition pages through the same weeks, so that the medians
// differ by the machine, not by how many of the fuller or emptier weeks a repetition reached.
BENCHMARK(BM_CalendarWeek)->ArgName("postgres")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)
    ->Iterations(40)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Gantt101Days(benchmark::State &state)
{
    fillPaged<Dayplex::ctlGantt>(state, 101, &HostBridge::fillGantt);
}
BENCHMARK(BM_Gantt101Days)->ArgName("postgres")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)
    ->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);

// The program as a user starts it, from exec to exit; its peak resident memory comes with it,
// counted by /usr/bin/time: a child this process spawns itself inherits this process's peak
// (it shares its memory until exec), which is the benchmark's own with both databases.
void BM_ScreenshotWeekProgram(benchmark::State &state)
{
    Office &o = office();
    const char *timer = "/usr/bin/time";
    if (access(timer, X_OK) != 0) {
        state.SkipWithError("/usr/bin/time is missing (package time)");
        return;
    }
    const QString peakFile = o.folder.filePath(QStringLiteral("peak.txt"));
    const QByteArray peak = QFile::encodeName(peakFile);
    const QByteArray png = QFile::encodeName(o.folder.filePath(QStringLiteral("woche.png")));
    const QByteArray db = QFile::encodeName(o.sqlite);
    const QByteArray from = Dayplex::toQDate(pagedMonday(3)).toString(Qt::ISODate).toLatin1();
    std::vector<const char *> argv{timer, "-f", "%M", "-o", peak.constData(), TERMINPLANER_EXE, "--db", db.constData(),
                                   "--screenshot", "calendar", "--from", from.constData(), "--days", "7", "--out",
                                   png.constData(), nullptr};
    long peakKb = 0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, timer, nullptr, nullptr, const_cast<char **>(argv.data()), environ) != 0) {
            state.SkipWithError("the program did not start");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
        QFile written(peakFile);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !written.open(QIODevice::ReadOnly)) {
            state.SkipWithError("the screenshot failed");
            return;
        }
        peakKb = std::max(peakKb, written.readAll().trimmed().toLong());
    }
    state.counters["rss_mb"] = peakKb / 1024.0;
}
BENCHMARK(BM_ScreenshotWeekProgram)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5)
    ->Repetitions(3)->ReportAggregatesOnly(true);

// A file of 10,000 events read and written into the ten years; removed again untimed.
void BM_ImportTenThousandEvents(benchmark::State &state)
{
    Database *db = open(state);
    if (!db)
        return;
    QFile file(QStringLiteral(TERMINPLANER_ICAL_CORPUS "/gen_huge_10000.ics"));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("gen_huge_10000.ics is missing");
        return;
    }
    const QByteArray data = file.readAll();
    const QVector<Participant> team = db->participants();
    ImportCount count;
    for (auto _ : state) {
        const ICalendarImport read = readICalendar(data, team, 1);
        count = db->importCalendar(read);
        state.PauseTiming();
        QSqlQuery remove(QSqlDatabase::database(db->connectionName()));
        for (const char *sql : {"DELETE FROM appointment_participants WHERE appointment_id IN"
                                " (SELECT id FROM appointments WHERE uid LIKE 'huge-%')",
                                "DELETE FROM appointments WHERE uid LIKE 'huge-%'"})
            check(remove, remove.exec(QString::fromLatin1(sql)));
        state.ResumeTiming();
    }
    state.counters["added"] = count.added;
}
BENCHMARK(BM_ImportTenThousandEvents)->ArgName("postgres")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)
    ->Iterations(2);

} // namespace

// Saves cut off at random moments (scripts/durability): a child process saves in a loop, a
// meeting's text, times and participants together and a weekly series split by "this and all
// following", and is killed with SIGKILL after a random time; after each kill every appointment
// must be in one of the states a save writes whole, the series must still have exactly one
// occurrence a week, and the database's own check must pass. On SQLite also a lock held by
// another program beyond the busy timeout: refused in German, nothing written, and saved once
// the lock is gone.
//   durability [KILLS]
#include "database.h"
#include "../tests/app/pgserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>
#include <QThread>

#include <csignal>

using namespace Terminplaner;

namespace {

const QDate kAnchor(2026, 12, 7);
constexpr int kRows = 20;
const Dayplex::Date kBase = Dayplex::toDate(QDate(2027, 3, 1)) + 8.0 / 24;
const Dayplex::Date kSeriesStart = Dayplex::toDate(QDate(2027, 3, 1)) + 14.0 / 24; // a Monday
constexpr int kSeriesWeeks = 60;

// The state of generation g of row r: text, time and participants agree.
Appointment state(int row, int generation)
{
    Appointment a;
    a.text = QStringLiteral("Zeile %1 Stand %2").arg(row).arg(generation);
    a.start = kBase + row + (generation % 50) * 5 / 1440.0;
    a.end = a.start + 0.5 / 24;
    a.participantIds = generation % 2 ? QList<int>{1, 2, 3} : QList<int>{2, 1};
    a.participantId = a.participantIds.first();
    return a;
}

// The child: saves row after row, and now and then splits the series, until it is killed.
int saveForever(const QString &location)
{
    Database db;
    db.open(location, kAnchor);
    QRandomGenerator random = QRandomGenerator::securelySeeded();
    for (int step = 0;; ++step) {
        const QVector<Appointment> rows = db.appointmentsInDays(kBase, kBase + kRows + 1);
        if (step % 5 == 4) {
            QVector<Appointment> weeks = db.appointmentsInDays(kSeriesStart, kSeriesStart + 7 * kSeriesWeeks);
            weeks.removeIf([](const Appointment &a) { return !a.text.startsWith(QLatin1String("Abbruchserie")); });
            if (weeks.isEmpty())
                continue;
            const Appointment &o = weeks.at(int(random.bounded(qsizetype(weeks.size()))));
            if (o.isOccurrence() && o.recurrenceStart > kSeriesStart + 1) {
                Appointment moved = o;
                moved.text = QStringLiteral("Abbruchserie ab %1").arg(step);
                db.changeOccurrence(o.seriesId, o.recurrenceStart, moved, Dayplex::SeriesScope::ThisAndFollowing);
            }
            continue;
        }
        for (const Appointment &a : rows) {
            if (a.isOccurrence() || !a.text.startsWith(QLatin1String("Zeile ")))
                continue;
            const int row = a.text.section(QLatin1Char(' '), 1, 1).toInt();
            Appointment next = state(row, a.text.section(QLatin1Char(' '), 3, 3).toInt() + 1);
            next.id = a.id;
            next.version = a.version;
            db.saveAppointment(next, next.participantIds);
            break;
        }
    }
}

// What is wrong with the database after a kill; empty when nothing.
QString problems(const QString &location)
{
    Database db;
    db.open(location, kAnchor);
    QStringList found;
    QSqlQuery check(QSqlDatabase::database(db.connectionName()));
    if (!db.isPostgres()) {
        if (!check.exec(QStringLiteral("PRAGMA integrity_check")) || !check.next() || check.value(0).toString() != QLatin1String("ok"))
            found.append(QStringLiteral("integrity_check: ") + check.value(0).toString());
    }
    // Both servers: no seat of a row that is gone, no row without its first seat.
    if (!check.exec(QStringLiteral("SELECT (SELECT count(*) FROM appointment_participants p WHERE NOT EXISTS"
                                   " (SELECT 1 FROM appointments a WHERE a.id = p.appointment_id)),"
                                   " (SELECT count(*) FROM appointments a WHERE NOT EXISTS (SELECT 1 FROM"
                                   " appointment_participants p WHERE p.appointment_id = a.id AND p.participant_id = a.participant_id))"))
        || !check.next() || check.value(0).toInt() != 0 || check.value(1).toInt() != 0)
        found.append(QStringLiteral("Sitze ohne Termin oder Termine ohne Sitz"));
    // A meeting's seats on its row as in their own table.
    const QString seated = db.isPostgres() ? QStringLiteral("string_agg(participant_id::text, ',' ORDER BY seq)")
                                           : QStringLiteral("group_concat(participant_id)");
    if (!check.exec(QStringLiteral("SELECT count(*) FROM appointments a WHERE a.seats <> (SELECT CASE WHEN count(*) > 1"
                                   " THEN %1 ELSE '' END FROM (SELECT participant_id, seq FROM appointment_participants p"
                                   " WHERE p.appointment_id = a.id ORDER BY seq) s)")
                        .arg(seated))
        || !check.next() || check.value(0).toInt() != 0)
        found.append(QStringLiteral("Sitze des Termins und ihre Tabelle verschieden"));
    int rows = 0;
    for (const Appointment &a : db.appointmentsInDays(kBase, kBase + kRows + 1)) {
        if (!a.text.startsWith(QLatin1String("Zeile ")))
            continue;
        ++rows;
        const Appointment expected = state(a.text.section(QLatin1Char(' '), 1, 1).toInt(), a.text.section(QLatin1Char(' '), 3, 3).toInt());
        if (std::abs(a.start - expected.start) > Dayplex::kOneSecond || std::abs(a.end - expected.end) > Dayplex::kOneSecond
            || a.participantIds != expected.participantIds)
            found.append(QStringLiteral("halb geschrieben: ") + a.text);
    }
    if (rows != kRows)
        found.append(QStringLiteral("%1 statt %2 Termine").arg(rows).arg(kRows));
    int weeks = 0;
    for (const Appointment &a : db.appointmentsInDays(kSeriesStart, kSeriesStart + 7 * kSeriesWeeks - 1))
        weeks += a.text.startsWith(QLatin1String("Abbruchserie")) ? 1 : 0;
    if (weeks != kSeriesWeeks)
        found.append(QStringLiteral("Serie mit %1 statt %2 Terminen").arg(weeks).arg(kSeriesWeeks));
    return found.join(QStringLiteral("; "));
}

void prepare(const QString &location)
{
    Database db;
    db.open(location, kAnchor);
    for (int row = 0; row < kRows; ++row) {
        const Appointment a = state(row, 0);
        db.saveAppointment(a, a.participantIds);
    }
    Appointment series;
    series.text = QStringLiteral("Abbruchserie");
    series.start = kSeriesStart;
    series.end = kSeriesStart + 1.0 / 24;
    series.participantId = 4;
    series.rrule = QStringLiteral("FREQ=WEEKLY;COUNT=%1").arg(kSeriesWeeks);
    db.saveAppointment(series, {4});
}

// Kills the saving child kills times; returns the number of kills after which the check failed.
int killRun(const QString &location, int kills, const QString &self, QTextStream &out)
{
    prepare(location);
    int failed = 0;
    for (int kill = 0; kill < kills; ++kill) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(self, {QStringLiteral("--child"), location});
        child.waitForStarted();
        // Past the child's start (about 50 ms) into its saves.
        QThread::msleep(60 + QRandomGenerator::global()->bounded(240));
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished();
        if (const QString found = problems(location); !found.isEmpty()) {
            ++failed;
            out << "  nach Abbruch " << kill + 1 << ": " << found << Qt::endl;
        }
    }
    Database db;
    db.open(location, kAnchor);
    int saves = 0;
    for (const Appointment &a : db.appointmentsInDays(kBase, kBase + kRows + 1))
        saves += a.text.startsWith(QLatin1String("Zeile ")) ? a.text.section(QLatin1Char(' '), 3, 3).toInt() : 0;
    out << "  " << saves << " Speichervorgänge bis zu den Abbrüchen vollständig" << Qt::endl;
    return failed;
}

// Another program keeps the write lock for longer than the busy timeout.
QString lockRun(const QString &path)
{
    prepare(path);
    Database db;
    db.open(path, kAnchor);
    const Appointment before = db.appointmentsInDays(kBase, kBase).first();
    QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("anderes-programm"));
    other.setDatabaseName(path);
    other.open();
    QSqlQuery hold(other);
    hold.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    Appointment next = state(0, 99);
    next.id = before.id;
    next.version = before.version;
    QString told;
    QElapsedTimer waited;
    waited.start();
    try {
        db.saveAppointment(next, next.participantIds);
    } catch (const DatabaseError &error) {
        told = error.message();
    }
    const qint64 ms = waited.elapsed();
    hold.exec(QStringLiteral("ROLLBACK"));
    QStringList found;
    if (!told.contains(QLatin1String("gesperrt")))
        found.append(QStringLiteral("Meldung: „%1“").arg(told));
    if (ms < 2500)
        found.append(QStringLiteral("nach %1 ms aufgegeben").arg(ms));
    if (db.appointment(before.id)->text != before.text)
        found.append(QStringLiteral("trotz Sperre geschrieben"));
    try {
        db.saveAppointment(next, next.participantIds);
    } catch (const DatabaseError &error) {
        found.append(QStringLiteral("nach der Sperre: ") + error.message());
    }
    return found.join(QStringLiteral("; "));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--child")) {
        try {
            return saveForever(args.at(2));
        } catch (const DatabaseError &error) {
            QTextStream(stderr) << "Speichern: " << error.message() << Qt::endl;
            return 1;
        }
    }
    const int kills = args.size() > 1 ? args.at(1).toInt() : 200;
    if (kills < 1) {
        QTextStream(stderr) << "Aufruf: durability [ABBRÜCHE]" << Qt::endl;
        return 2;
    }
    QTextStream out(stdout);
    QTemporaryDir folder;
    PgServer server;
    int failed = 0;
    try {
        const int onFile = killRun(folder.filePath(QStringLiteral("abbruch.sqlite")), kills, app.applicationFilePath(), out);
        out << "SQLite: " << kills << " Speichervorgänge abgebrochen, " << onFile << " mit Schaden" << Qt::endl;
        failed += onFile;
        if (!server.start()) {
            out << "PostgreSQL: nicht geprüft, " << server.error() << Qt::endl;
            ++failed;
        } else {
            const int onServer = killRun(server.createDatabase(QStringLiteral("abbruch")), kills, app.applicationFilePath(), out);
            out << "PostgreSQL: " << kills << " Speichervorgänge abgebrochen, " << onServer << " mit Schaden" << Qt::endl;
            failed += onServer;
        }
        const QString locked = lockRun(folder.filePath(QStringLiteral("sperre.sqlite")));
        out << "SQLite-Sperre eines anderen Programms über die Wartezeit: " << (locked.isEmpty() ? "abgewiesen, nichts geschrieben, danach gespeichert" : locked) << Qt::endl;
        failed += locked.isEmpty() ? 0 : 1;
    } catch (const DatabaseError &error) {
        out << "Fehler: " << error.message() << Qt::endl;
        return 1;
    }
    out << (failed == 0 ? "Ergebnis: bestanden" : "Ergebnis: NICHT bestanden") << Qt::endl;
    return failed == 0 ? 0 : 1;
}

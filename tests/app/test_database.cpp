// The Terminplaner's database on a SQLite file and on a PostgreSQL server of the test's own:
// seeding, older schemas, writes and their transactions, series, desks that write over each
// other, faults that must lose nothing, and everything it stores out to .ics and back.
#include "../support/testing.h"
#include "database.h"
#include "hostbridge.h"
#include "icalendar.h"
#include "pgserver.h"
#include "rowreader.h"
#include "startorder.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QtTest>

using namespace Terminplaner;
using Dayplex::Testing::day;
using Dayplex::Testing::hm;

namespace {

const QDate kAnchor(2026, 12, 7);
constexpr int kDefaultParticipant = 5; // Sabine Weber in the demo team

const auto sql = &Database::toSqlDateTime;

// One line per appointment, everything the host stores except the database id.
QStringList describe(const QVector<Appointment> &appointments)
{
    QStringList lines;
    for (const Appointment &a : appointments)
        lines.append(QStringList{a.uid, a.text, sql(a.start), sql(a.end), QString::number(a.allDay),
                                 QString::number(a.fontColor, 16), QString::number(a.backColor, 16), QString::number(a.done),
                                 QString::number(a.readOnly), QString::number(a.participantId), QString::number(a.note)}
                         .join(QLatin1Char('|')));
    lines.sort();
    return lines;
}

// Appointments as a calendar file of another program brings them.
ImportCount importFile(Database &db, const QVector<Appointment> &appointments)
{
    CalendarChanges file;
    file.appointments = appointments;
    file.calendarIdentity = QStringLiteral("-//Test//DE");
    return db.importCalendar(file);
}

void execSql(const QString &connection, const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(connection));
    QVERIFY2(query.exec(sql), qPrintable(sql + QStringLiteral(": ") + query.lastError().text()));
}

Appointment appointment(const QString &text, Dayplex::Date start, Dayplex::Date end,
                        int participant)
{
    Appointment a;
    a.text = text;
    a.start = start;
    a.end = end;
    a.participantId = participant;
    return a;
}

Appointment sample(int participant)
{
    return appointment(QStringLiteral("Kundentermin Müller GmbH"), day(2031, 5, 6) + hm(9, 15),
                       day(2031, 5, 6) + hm(10, 45), participant);
}

// A weekly series on Mondays 09:00 to 10:00 from 5 May 2031 for participants 1 and 2.
Appointment weekly(const QString &rule)
{
    Appointment a = appointment(QStringLiteral("Jour fixe"), day(2031, 5, 5) + hm(9, 0),
                                day(2031, 5, 5) + hm(10, 0), 1);
    a.participantIds = {1, 2};
    a.rrule = rule;
    return a;
}

// The appointments of participant 2 in six weeks from 5 May 2031, as "MM-dd HH:mm".
QString weeksOf(const Database &db, Dayplex::Date from = day(2031, 5, 5))
{
    QStringList shown;
    for (const Appointment &a : db.appointmentsInDays(from, from + 41, {2}))
        shown.append(Dayplex::toQDateTime(a.start).toString(QStringLiteral("MM-dd HH:mm")));
    return shown.join(QLatin1Char(' '));
}

// The statement with its values written in, as EXPLAIN takes it on both servers.
QString inlined(const Database::Statement &statement)
{
    QString sql;
    int next = 0;
    for (const QChar c : statement.sql)
        sql += c == QLatin1Char('?') ? QStringLiteral("'%1'").arg(statement.values.at(next++).toString()) : QString(c);
    return sql;
}

} // namespace

class tst_Database : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(m_server.start(), qPrintable(m_server.error()));
    }

    // Catches seeding on every start, which would resurrect appointments the user deleted, and
    // a server database set up or seeded differently from a new file.
    void seedsOnFirstOpenOnlyAlikeOnBothServers()
    {
        const QStringList locations{m_dir.filePath("neu.sqlite"), m_server.createDatabase("neu")};
        QStringList seeded;
        for (const QString &location : locations) {
            Database db;
            db.open(location, kAnchor);
            QVERIFY(db.seededOnOpen());
            seeded.append(QStringLiteral("%1 participants, %2 appointments, schema %3")
                              .arg(db.participants().size())
                              .arg(db.appointmentCount())
                              .arg(db.setting(QStringLiteral("schema_version"))));
            execSql(db.connectionName(), QStringLiteral("DELETE FROM appointments"));
        }
        QCOMPARE(seeded.last(), seeded.first());
        QVERIFY2(seeded.first().startsWith(QLatin1String("8 participants")),
                 qPrintable(seeded.first()));
        for (const QString &location : locations) {
            Database again;
            again.open(location, kAnchor);
            QVERIFY(!again.seededOnOpen());
            QCOMPARE(again.appointmentCount(), 0);
        }
    }

    void migratesAnOlderFile_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("schema 1") << QStringList{"'1'"};
        QTest::newRow("schema 3") << QStringList{
            "'3'", "ALTER TABLE appointments ADD COLUMN uid TEXT",
            "UPDATE appointments SET uid = 'alt-' || id || '@terminplaner'",
            "CREATE UNIQUE INDEX appointments_uid ON appointments(uid)",
            "ALTER TABLE appointments ADD COLUMN version INTEGER NOT NULL DEFAULT 1"};
    }

    // Catches an older file that loses its appointments or their participant on the way to
    // the current schema, or whose appointments get no key for calendar exchange.
    void migratesAnOlderFile()
    {
        QFETCH(QStringList, steps);
        const QString path = m_dir.filePath(QStringLiteral("schema-%1.sqlite").arg(steps.first().mid(1, 1)));
        {
            QSqlDatabase old = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), path);
            old.setDatabaseName(path);
            QVERIFY(old.open());
            for (const char *sql :
                 {"CREATE TABLE settings (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
                  "CREATE TABLE participants (id INTEGER PRIMARY KEY, name TEXT NOT NULL,"
                  " role TEXT NOT NULL DEFAULT '')",
                  "CREATE TABLE appointments (id INTEGER PRIMARY KEY AUTOINCREMENT,"
                  " text TEXT NOT NULL, start TEXT NOT NULL, \"end\" TEXT NOT NULL,"
                  " all_day INTEGER NOT NULL DEFAULT 0, font_color INTEGER NOT NULL DEFAULT 0,"
                  " back_color INTEGER NOT NULL DEFAULT 16777215,"
                  " done INTEGER NOT NULL DEFAULT 0, read_only INTEGER NOT NULL DEFAULT 0,"
                  " participant_id INTEGER NOT NULL REFERENCES participants(id),"
                  " note INTEGER NOT NULL DEFAULT 0)",
                  "CREATE TABLE appointment_changes (id INTEGER PRIMARY KEY AUTOINCREMENT,"
                  " appointment_id INTEGER NOT NULL, changed_at TEXT NOT NULL,"
                  " old_start TEXT NOT NULL, old_end TEXT NOT NULL,"
                  " new_start TEXT NOT NULL, new_end TEXT NOT NULL)",
                  "INSERT INTO participants VALUES (1, 'Anna Becker', ''), (2, 'Thomas Weber', '')",
                  "INSERT INTO appointments (text, start, \"end\", participant_id) VALUES"
                  " ('Alt eins', '2026-12-07T09:00:00', '2026-12-07T10:00:00', 1),"
                  " ('Alt zwei', '2026-12-08T09:00:00', '2026-12-08T10:00:00', 2)"})
                execSql(path, QString::fromLatin1(sql));
            execSql(path, QStringLiteral("INSERT INTO settings VALUES ('schema_version', %1)").arg(steps.first()));
            for (const QString &sql : steps.mid(1))
                execSql(path, sql);
        }
        QSqlDatabase::removeDatabase(path);
        Database db;
        db.open(path, kAnchor);
        QVERIFY(!db.seededOnOpen());
        QCOMPARE(db.setting(QStringLiteral("schema_version")), QStringLiteral("8"));
        QStringList shown;
        for (int participant : {1, 2})
            for (const Appointment &a : db.appointmentsInDays(day(2026, 12, 7), day(2026, 12, 8), {participant}))
                shown.append(QStringLiteral("%1 %2 %3").arg(a.text).arg(participant).arg(a.participantIds.size()));
        QCOMPARE(shown, QStringList({"Alt eins 1 1", "Alt zwei 2 1"}));
        const QString first = db.appointment(1)->uid;
        QVERIFY(!first.isEmpty() && first != db.appointment(2)->uid);
        // This program's own: a calendar file's UID never replaces them.
        QVERIFY(db.appointment(1)->source.isEmpty());
        // The new fields take a meeting and a series.
        const qint64 id = db.saveAppointment(weekly(QStringLiteral("FREQ=WEEKLY;COUNT=2")), {2, 1}).first();
        QCOMPARE(db.appointment(id)->participantIds, QList<int>({2, 1}));
        QCOMPARE(weeksOf(db), QStringLiteral("05-05 09:00 05-12 09:00"));
    }

    void upgradedMeetingsKeepTheirSeats_data()
    {
        onBothServers();
    }

    // Catches a database of the schema before the seats were on the row that comes up with its
    // meetings cut to their first participant, or with their participants out of order.
    void upgradedMeetingsKeepTheirSeats()
    {
        QFETCH(bool, server);
        const QString location = freshLocation(QStringLiteral("seats"), server);
        const Dayplex::Date monday = day(2031, 5, 5);
        qint64 meeting = 0;
        qint64 single = 0;
        {
            Database old;
            old.open(location, kAnchor);
            meeting = old.saveAppointment(sample(7), {7, 2, 5}).first();
            single = old.saveAppointment(sample(3), {3}).first();
            if (!server) { // SQLite's index of what a view shows came later and holds the seats
                execSql(old.connectionName(), QStringLiteral("DROP INDEX appointments_shown"));
                execSql(old.connectionName(), QStringLiteral("CREATE INDEX appointments_range ON appointments(span_class, start)"));
            }
            execSql(old.connectionName(), QStringLiteral("ALTER TABLE appointments DROP COLUMN seats"));
            execSql(old.connectionName(), QStringLiteral("UPDATE settings SET value = '6' WHERE key = 'schema_version'"));
        }
        Database db;
        db.open(location, kAnchor);
        QCOMPARE(db.setting(QStringLiteral("schema_version")), QStringLiteral("8"));
        QCOMPARE(db.appointment(meeting)->participantIds, (QList<int>{7, 2, 5}));
        QStringList seats;
        for (const Appointment &a : db.appointmentsInDays(monday, monday + 6, {2, 3}))
            if (a.id == meeting || a.id == single)
                seats.append(QStringLiteral("%1:%2").arg(a.id == meeting ? "meeting" : "single").arg(a.participantIds.size()));
        QCOMPARE(seats.join(QLatin1Char(' ')), QStringLiteral("meeting:3 single:1"));
    }

    // Catches writes that work on SQLite only: new keys, a meeting that is not one row shown
    // for each of its participants, imports by UID, deletes, and a failing import
    // half-written. Moves are the team's.
    void writesOnTheServer()
    {
        Database db;
        db.open(m_server.createDatabase(QStringLiteral("schreiben")), kAnchor);
        const int count = db.appointmentCount();
        const qint64 id = db.insertAppointment(sample(2));
        QVERIFY(!db.appointment(id)->uid.isEmpty());
        QCOMPARE(db.saveAppointment(*db.appointment(id), {3, 2}), QList<qint64>{id});
        for (int participant : {2, 3}) {
            const QVector<Appointment> shown = db.appointmentsInDays(day(2031, 5, 6), day(2031, 5, 6), {participant});
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown.first().participantIds, QList<int>({3, 2}));
        }
        QVERIFY(db.appointmentsInDays(day(2031, 5, 6), day(2031, 5, 6), {4}).isEmpty());
        Appointment imported = sample(4);
        imported.uid = QStringLiteral("extern-1@example.de");
        QCOMPARE(importFile(db, {imported}).added, 1);
        imported.text = QStringLiteral("Geändert");
        QCOMPARE(importFile(db, {imported}).updated, 1);
        db.deleteAppointment(id);
        QVERIFY(!db.appointment(id));
        QCOMPARE(db.appointmentCount(), count + 1);
        // A series imported again replaces the stored one with the occurrences changed in it.
        Appointment series = weekly(QStringLiteral("FREQ=WEEKLY;COUNT=3"));
        series.uid = QStringLiteral("extern-serie@example.de");
        importFile(db, {series});
        const qint64 seriesId = db.appointmentsInDays(series.start, series.start, {2}).first().seriesId;
        Appointment changed = series;
        changed.start += 7 + hm(2, 0);
        changed.end += 7 + hm(2, 0);
        db.changeOccurrence(seriesId, series.start + 7, changed, Dayplex::SeriesScope::OnlyThis);
        QCOMPARE(weeksOf(db), QStringLiteral("05-05 09:00 05-12 11:00 05-19 09:00"));
        importFile(db, {series});
        QCOMPARE(weeksOf(db), QStringLiteral("05-05 09:00 05-12 09:00 05-19 09:00"));
        // A changed occurrence deleted on its own does not come back unchanged.
        db.changeOccurrence(seriesId, series.start + 7, changed, Dayplex::SeriesScope::OnlyThis);
        db.deleteAppointment(db.appointmentsInDays(changed.start, changed.start, {2}).first().id);
        QCOMPARE(weeksOf(db), QStringLiteral("05-05 09:00 05-19 09:00"));
        db.deleteAppointment(seriesId);
        // A failing write in the middle leaves nothing behind, as on SQLite.
        Appointment broken = sample(99);
        broken.uid = QStringLiteral("extern-2@example.de");
        QVERIFY_THROWS_EXCEPTION(DatabaseError, importFile(db, {sample(5), broken}));
        QCOMPARE(db.appointmentCount(), count + 1);
    }

    // Catches a server database of another program that gets the planner's tables and demo
    // data added.
    void foreignServerDatabaseIsNotWritten()
    {
        const QString url = m_server.createDatabase(QStringLiteral("fremd"));
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), url);
            other.setHostName(QStringLiteral("127.0.0.1"));
            other.setPort(m_server.port());
            other.setUserName(QLatin1String(PgServer::kUser));
            other.setDatabaseName(QStringLiteral("fremd"));
            QVERIFY(other.open());
            execSql(url, QStringLiteral("CREATE TABLE kunden (nr INTEGER, name TEXT)"));
            Database db;
            QVERIFY_THROWS_EXCEPTION(DatabaseError, db.open(url, kAnchor));
            QCOMPARE(other.tables(), QStringList{QStringLiteral("kunden")});
        }
        QSqlDatabase::removeDatabase(url);
    }

    void seriesScopes_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("change"); // the occurrence of 19 May: moved or deleted
        QTest::addColumn<Dayplex::SeriesScope>("scope");
        QTest::addColumn<QString>("weeks");
        QTest::addColumn<int>("series"); // UIDs among them
        using S = Dayplex::SeriesScope;
        const QString endless = QStringLiteral("FREQ=WEEKLY;BYDAY=MO");
        for (const bool server : {false, true}) {
            const auto row = [&](const char *name, const QString &rule, const char *change, S scope, const char *weeks, int series) {
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(server ? "server" : "SQLite", name)))
                    << server << rule << QString::fromLatin1(change) << scope << QString::fromLatin1(weeks) << series;
            };
            // The occurrence of 26 May was moved to 11:00 before: it stays where it is.
            row("move only this", endless, "move", S::OnlyThis, "05-05 09:00 05-12 09:00 05-20 10:00 05-26 11:00 06-02 09:00 06-09 09:00", 1);
            row("move this and following", endless, "move", S::ThisAndFollowing,
                "05-05 09:00 05-12 09:00 05-20 10:00 05-26 11:00 06-03 10:00 06-10 10:00", 2);
            row("move this and following, counted", "FREQ=WEEKLY;COUNT=5", "move", S::ThisAndFollowing,
                "05-05 09:00 05-12 09:00 05-20 10:00 05-26 11:00 06-03 10:00", 2);
            row("move all", endless, "move", S::AllOfSeries, "05-06 10:00 05-13 10:00 05-20 10:00 05-26 11:00 06-03 10:00 06-10 10:00", 1);
            row("delete only this", endless, "delete", S::OnlyThis, "05-05 09:00 05-12 09:00 05-26 11:00 06-02 09:00 06-09 09:00", 1);
            row("delete this and following", "FREQ=WEEKLY;UNTIL=20310630", "delete", S::ThisAndFollowing, "05-05 09:00 05-12 09:00", 1);
            row("delete all", endless, "delete", S::AllOfSeries, "", 0);
        }
    }

    // Catches a scope that changes more or less than the occurrences it names, a changed
    // occurrence lost or doubled by a change of its series, a COUNT that is not shared
    // between the two parts, and a series left behind without occurrences.
    void seriesScopes()
    {
        QFETCH(bool, server);
        QFETCH(QString, rule);
        QFETCH(QString, change);
        QFETCH(Dayplex::SeriesScope, scope);
        QFETCH(QString, weeks);
        QFETCH(int, series);
        Database db;
        db.open(freshLocation(QStringLiteral("serie"), server), kAnchor);
        const int before = db.appointmentCount();
        const qint64 id = db.saveAppointment(weekly(rule), {1, 2}).first();
        const Dayplex::Date may26 = day(2031, 5, 26) + hm(9, 0);
        Appointment moved = *db.appointment(id);
        moved.start = may26 + hm(2, 0);
        moved.end = may26 + hm(3, 0);
        db.changeOccurrence(id, may26, moved, Dayplex::SeriesScope::OnlyThis);
        const Dayplex::Date may19 = day(2031, 5, 19) + hm(9, 0);
        if (change == QLatin1String("move")) {
            moved.start = may19 + 1 + hm(1, 0);
            moved.end = may19 + 1 + hm(2, 0);
            db.changeOccurrence(id, may19, moved, scope);
        } else {
            db.deleteOccurrence(id, may19, scope);
        }
        QCOMPARE(weeksOf(db), weeks);
        QSet<QString> uids;
        for (const Appointment &a : db.appointmentsInDays(day(2031, 5, 5), day(2031, 6, 15), {1}))
            uids.insert(a.uid);
        QCOMPARE(int(uids.size()), series);
        if (series == 0)
            QCOMPARE(db.appointmentCount(), before);
    }

    // Catches an import or a series change on the server that the other desks do not hear of,
    // or hear of only for some of its days, a UID of another calendar that clashes in the
    // server's index, a second import that writes again, and an endless series that ends
    // somewhere on the way to 2040.
    void otherDesksHearOnTheServer()
    {
        const QString url = m_server.createDatabase(QStringLiteral("zwei_plaetze"));
        Database here, there;
        here.open(url, kAnchor);
        there.open(url, kAnchor);
        QList<ChangeNotice> heard;
        there.listenForChanges([&heard](const ChangeNotice &notice) { heard.append(notice); });
        CalendarChanges file;
        file.appointments = {weekly(QStringLiteral("FREQ=WEEKLY;COUNT=3"))};
        file.appointments[0].uid = QStringLiteral("7");
        Appointment moved = file.appointments[0];
        moved.rrule.clear();
        moved.recurrenceStart = moved.start + 7;
        moved.start += 7 + hm(2, 0);
        moved.end += 7 + hm(2, 0);
        file.overrides = {moved};
        for (const char *calendar : {"-//A//DE", "-//B//DE"}) {
            file.calendarIdentity = QString::fromLatin1(calendar);
            QCOMPARE(here.importCalendar(file).added, 1);
        }
        QTRY_COMPARE(heard.size(), 2);
        QVERIFY(heard.first().firstDay <= day(2031, 5, 5) && heard.first().lastDay >= day(2031, 5, 19));
        QCOMPARE(here.importCalendar(file).unchanged, 1);
        QCOMPARE(weeksOf(there), QStringLiteral("05-05 09:00 05-05 09:00 05-12 11:00 05-12 11:00 05-19 09:00 05-19 09:00"));

        const qint64 id = here.saveAppointment(weekly(QStringLiteral("FREQ=WEEKLY;BYDAY=MO")), {1, 2}).first();
        QTRY_COMPARE(heard.size(), 3);
        moved = *here.appointment(id);
        moved.start += 1 + hm(1, 0);
        moved.end += 1 + hm(1, 0);
        here.changeOccurrence(id, moved.start - 1 - hm(1, 0), moved, Dayplex::SeriesScope::AllOfSeries);
        QTRY_VERIFY(heard.size() > 3);
        QVERIFY(heard.last().firstDay <= day(2031, 5, 5) && heard.last().lastDay >= day(2040, 1, 1));
        QCOMPARE(weeksOf(there, day(2040, 1, 1)), QStringLiteral("01-03 10:00 01-10 10:00 01-17 10:00 "
                                                                 "01-24 10:00 01-31 10:00 02-07 10:00"));

        // A notice that reaches the socket while the desk reads its days on its own must still be heard.
        const int before = heard.size();
        here.saveAppointment(appointment(QStringLiteral("Notiz"), day(2031, 5, 6) + hm(8, 0), day(2031, 5, 6) + hm(9, 0), 1), {1});
        QThread::msleep(300);
        weeksOf(there);
        QTRY_COMPARE(heard.size(), before + 1);
    }

    void rangeReadsUseTheIndex_data()
    {
        onBothServers();
    }

    // Catches a read of the days that walks the whole table (or everything before the days) on
    // either server, and a long appointment that the bounded read no longer finds.
    void rangeReadsUseTheIndex()
    {
        QFETCH(bool, server);
        Database db;
        db.open(freshLocation(QStringLiteral("plan"), server), kAnchor);
        // Ten years of rows, one in a hundred 40 days long, one in two hundred a series.
        const QString when = server ? QStringLiteral("to_char(timestamp '2020-01-01 09:00' + (i %% 3650) * interval '1 day'"
                                                     " + %1, 'YYYY-MM-DD\"T\"HH24:MI:SS')")
                                    : QStringLiteral("strftime('%Y-%m-%dT%H:%M:%S', '2020-01-01 09:00', '+' || (i %% 3650) || ' days', %1)");
        const QString later = when.arg(server ? QStringLiteral("(CASE WHEN i % 100 = 0 THEN 40 ELSE 0 END) * interval '1 day'")
                                              : QStringLiteral("'+' || (CASE WHEN i % 100 = 0 THEN 40 ELSE 0 END) || ' days'"))
                                  .replace(QLatin1String("%%"), QLatin1String("%"));
        const QString start = when.arg(server ? QStringLiteral("interval '0 days'") : QStringLiteral("'+0 days'"))
                                  .replace(QLatin1String("%%"), QLatin1String("%"));
        execSql(db.connectionName(),
                QStringLiteral("INSERT INTO appointments (text, start, \"end\", participant_id, uid, span_days, span_class,"
                               " rrule, series_end) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n"
                               " WHERE i < 20000) SELECT 'Termin', %1, %2, 1 + i % 8, 'plan-' || i,"
                               " CASE WHEN i % 100 = 0 THEN 40 ELSE 0 END, CASE WHEN i % 100 = 0 THEN 6 ELSE 0 END,"
                               " CASE WHEN i % 200 = 1 THEN 'FREQ=WEEKLY;COUNT=3' ELSE '' END,"
                               " CASE WHEN i % 200 = 1 THEN %2 END FROM n")
                    .arg(start, later));
        execSql(db.connectionName(), QStringLiteral("INSERT INTO appointment_participants (appointment_id, participant_id, seq)"
                                                    " SELECT id, participant_id, 0 FROM appointments WHERE text = 'Termin'"));
        if (server)
            execSql(db.connectionName(), QStringLiteral("ANALYZE"));
        const Dayplex::Date monday = day(2025, 6, 2);
        if (server)
            execSql(db.connectionName(), QStringLiteral("SET plan_cache_mode = force_generic_plan"));
        int generic = 0;
        QVector<Database::Statement> reads = db.daysStatements(monday, monday + 6);
        // A view's read of the single rows: on SQLite from the index alone.
        reads.append(db.daysStatements(monday, monday + 6, RowContent::Shown).first());
        for (const Database::Statement &read : qAsConst(reads)) {
            QStringList explains{QStringLiteral("EXPLAIN %1%2").arg(server ? "" : "QUERY PLAN ", inlined(read))};
            if (server) {
                // A desk's prepared read, after a few runs planned once for any days.
                QString numbered;
                int placeholder = 0;
                for (const QChar c : read.sql)
                    numbered += c == QLatin1Char('?') ? QStringLiteral("$%1").arg(++placeholder) : QString(c);
                QStringList values;
                for (const QVariant &value : read.values)
                    values.append(QStringLiteral("'%1'").arg(value.toString()));
                execSql(db.connectionName(), QStringLiteral("PREPARE generic%1 AS %2").arg(++generic).arg(numbered));
                explains.append(QStringLiteral("EXPLAIN EXECUTE generic%1(%2)").arg(generic).arg(values.join(QLatin1Char(','))));
            }
            for (const QString &explain : explains) {
                QSqlQuery plan(QSqlDatabase::database(db.connectionName()));
                QVERIFY2(plan.exec(explain), qPrintable(plan.lastError().text()));
                QStringList lines;
                while (plan.next())
                    lines.append(plan.value(server ? 0 : 3).toString());
                const QString text = lines.join(QLatin1Char('\n'));
                QVERIFY2(!text.contains(QRegularExpression(server ? QStringLiteral("Seq Scan") : QStringLiteral("(^|\n)SCAN (?!CONSTANT)"))),
                         qPrintable(text));
                QVERIFY2(text.contains(QLatin1String("INDEX")) || text.contains(QLatin1String("Index")), qPrintable(text));
                if (!server && &read == &reads.last())
                    for (const QString &line : lines)
                        QVERIFY2(!line.startsWith(QLatin1String("SEARCH")) || line.contains(QLatin1String("COVERING INDEX")),
                                 qPrintable(line));
                // A start bounded on one side only reads everything before the days.
                for (const QString &line : lines)
                    if (line.contains(QLatin1String("start")) && line.contains(QRegularExpression(QStringLiteral("INDEX|Index Cond"))))
                        QVERIFY2(line.contains(QRegularExpression(QStringLiteral("start ?>=?.*start ?<"))), qPrintable(line));
            }
        }
        if (server)
            execSql(db.connectionName(), QStringLiteral("RESET plan_cache_mode"));
        // Long enough to reach the week from six weeks before, or to end just before it.
        const qint64 reaching = db.insertAppointment(appointment(QStringLiteral("Elternzeit"), monday - 40, monday + hm(12, 0), 3));
        Appointment before = appointment(QStringLiteral("Kur"), monday - 45, monday - 1, 3);
        before.allDay = true;
        db.insertAppointment(before);
        QStringList shown;
        for (const Appointment &a : db.appointmentsInDays(monday, monday + 6, {3}))
            if (a.text != QLatin1String("Termin"))
                shown.append(a.text);
        QCOMPARE(shown, QStringList{db.appointment(reaching)->text});
        if (server) {
            // The server parses and plans a desk's reads once, not on every refresh.
            const auto prepared = [&db] {
                QSqlQuery count(QSqlDatabase::database(db.connectionName()));
                count.exec(QStringLiteral("SELECT count(*) FROM pg_prepared_statements WHERE name LIKE 'terminplaner%'"));
                return count.next() ? count.value(0).toInt() : -1;
            };
            const int once = prepared();
            db.appointmentsInDays(monday - 7, monday - 1, {3});
            QVERIFY(once >= int(db.daysStatements(monday, monday).size()));
            QCOMPARE(prepared(), once);
        }
    }

    void rangeReadsMatchSingleReads_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<QString>("storedStart"); // empty: as saved
        QTest::newRow("SQLite") << false << QString();
        QTest::newRow("server") << true << QString();
        QTest::newRow("SQLite, no date") << false << QStringLiteral("2031-05-05 09:00:00");
        QTest::newRow("server, no date") << true << QStringLiteral("2031-05-05T9:00:00");
    }

    // Catches a range read that reads a row otherwise than the read of that one row (text
    // beyond Latin-1, a meeting's seats in their order), and one that takes a stored start
    // that is no date of ours for a date.
    void rangeReadsMatchSingleReads()
    {
        QFETCH(bool, server);
        QFETCH(QString, storedStart);
        Database db;
        db.open(freshLocation(QStringLiteral("zeilen"), server), kAnchor);
        const Dayplex::Date monday = day(2031, 5, 5);
        Appointment meeting = appointment(QStringLiteral("Abstimmung Müller – Größe 📅"), monday + hm(9, 0),
                                          monday + hm(10, 30), 7);
        meeting.uid = QStringLiteral("zähler-1");
        const qint64 id = db.saveAppointment(meeting, {7, 2, 5}).first();
        if (!storedStart.isEmpty()) {
            const auto nextWeek = describe(db.appointmentsInDays(monday + 7, monday + 13));
            execSql(db.connectionName(), QStringLiteral("UPDATE appointments SET start = '%1' WHERE id = %2").arg(storedStart).arg(id));
            QVERIFY_THROWS_EXCEPTION(DatabaseError, db.appointmentsInDays(monday, monday + 6));
            // The failed read gave the connection back: the next week reads as before.
            QCOMPARE(describe(db.appointmentsInDays(monday + 7, monday + 13)), nextWeek);
            return;
        }
        const QVector<Appointment> week = db.appointmentsInDays(monday, monday + 6, {2});
        QCOMPARE(describe(week), describe({*db.appointment(id)}));
        QCOMPARE(week.first().participantIds, (QList<int>{7, 2, 5}));
    }

    void readsKeepEveryValue_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("backColor");
        QTest::addColumn<int>("fontColor");
        for (const bool server : {false, true}) {
            const QString where = QLatin1String(server ? "server, " : "SQLite, ");
            QTest::newRow(qPrintable(where + QStringLiteral("first day, top bits")))
                << server << QStringLiteral("Größe – äöü 📅") << QStringLiteral("1899-12-30T00:00:00")
                << QStringLiteral("1899-12-30T23:59:59") << -1 << int(0x80000000);
            QTest::newRow(qPrintable(where + QStringLiteral("hour that comes twice")))
                << server << QStringLiteral("Nachtlauf") << QStringLiteral("2026-10-25T02:15:00")
                << QStringLiteral("2026-10-25T02:45:00") << 0x00C8EEC8 << 0;
            QTest::newRow(qPrintable(where + QStringLiteral("spring gap, midnight")))
                << server << QStringLiteral("X") << QStringLiteral("2026-03-29T02:30:00")
                << QStringLiteral("2026-03-30T00:00:00") << 0x01000000 << 0x00FFFFFF;
        }
    }

    // Catches a read that decodes a whole number or a text wrongly: ids beyond 32 bits,
    // colours with the sign bit, NULL series fields, texts beyond Latin-1, times at the ends
    // of a day and around the clock changes.
    void readsKeepEveryValue()
    {
        QFETCH(bool, server);
        QFETCH(QString, text);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(int, backColor);
        QFETCH(int, fontColor);
        Database db;
        db.open(freshLocation(QStringLiteral("werte"), server), kAnchor);
        execSql(db.connectionName(), server ? QStringLiteral("SELECT setval(pg_get_serial_sequence('appointments', 'id'), 4294967300)")
                                            : QStringLiteral("UPDATE sqlite_sequence SET seq = 4294967300 WHERE name = 'appointments'"));
        Appointment stored = appointment(text, Database::fromSqlDateTime(start), Database::fromSqlDateTime(end), 3);
        stored.backColor = backColor;
        stored.fontColor = fontColor;
        stored.done = stored.note = true;
        const qint64 id = db.insertAppointment(stored);
        QCOMPARE(id, Q_INT64_C(4294967301));
        QVector<Appointment> read;
        for (const RowContent content : {RowContent::Whole, RowContent::Shown})
            for (const Appointment &a : db.appointmentsInDays(std::floor(stored.start), stored.end, {3}, content))
                if (a.id == id)
                    read.append(a);
        read.append(*db.appointment(id));
        for (const Appointment &a : read) {
            QCOMPARE(a.text, text);
            QCOMPARE(sql(a.start), start);
            QCOMPARE(sql(a.end), end);
            QCOMPARE(a.backColor, backColor);
            QCOMPARE(a.fontColor, fontColor);
            QVERIFY(a.done && a.note && !a.readOnly && !a.allDay);
            QCOMPARE(a.participantIds, QList<int>{3});
            QCOMPARE(a.version, 1);
            QCOMPARE(a.seriesId, 0);
            QVERIFY(a.rrule.isEmpty() && a.rdates.isEmpty() && a.source.isEmpty());
            // Only the read for a view leaves the uid out.
            QCOMPARE(a.uid.isEmpty(), &a == &read.at(1));
        }
        QCOMPARE(read.size(), 3);
    }

    void longRangesReadEveryRowOnce_data()
    {
        onBothServers();
    }

    // Catches a read of many weeks that loses or doubles rows where the server's parts meet,
    // or loses a long one that begins before the days.
    void longRangesReadEveryRowOnce()
    {
        QFETCH(bool, server);
        Database db;
        db.open(freshLocation(QStringLiteral("lang"), server), kAnchor);
        const Dayplex::Date monday = day(2031, 5, 5);
        const struct
        {
            const char *text;
            Dayplex::Date start, end;
            int participant;
        } rows[] = {
            {"vorher", monday - 3 + hm(9, 0), monday - 1 + hm(23, 59), 4},
            {"reicht hinein", monday - 20 + hm(9, 0), monday + 1 + hm(10, 0), 4},
            {"Grenze", monday + 14, monday + 14 + hm(0, 30), 4},
            {"andere am Rand", monday + 14, monday + 14 + hm(0, 20), 6},
            {"kurz davor", monday + 14 - Dayplex::kOneSecond, monday + 14 + hm(0, 10), 4},
            {"über zwei Teile", monday + 27 + hm(22, 0), monday + 30 + hm(8, 0), 4},
            {"andere", monday + 20 + hm(8, 0), monday + 20 + hm(9, 0), 6},
            {"letzter Tag", monday + 42 + hm(23, 0), monday + 42 + hm(23, 30), 4},
            {"danach", monday + 43, monday + 43 + hm(1, 0), 4},
        };
        for (const auto &row : rows)
            db.insertAppointment(appointment(QString::fromUtf8(row.text), row.start, row.end, row.participant));
        const auto shown = [&db, monday](int participant) {
            QStringList texts;
            for (const Appointment &a : db.appointmentsInDays(monday, monday + 42, {participant}))
                // Without the demo team's series and meetings.
                if (!a.isOccurrence() && a.participantIds == QList<int>{participant})
                    texts.append(a.text);
            return texts;
        };
        const QStringList expected{"reicht hinein", "kurz davor", "Grenze", "über zwei Teile", "letzter Tag"};
        QCOMPARE(shown(4), expected);
        QCOMPARE(shown(6), (QStringList{"andere am Rand", "andere"}));
        // Years (an export) come in a few parts, not in a statement for every two weeks.
        QCOMPARE(db.singlesInParts(monday - 365 * 30, monday + 365 * 10, RowContent::Shown).size(), 16);
        if (!server)
            return;
        // A read refused by the server ends with an error and leaves the connection as it was.
        execSql(db.connectionName(), QStringLiteral("CREATE ROLE gast"));
        execSql(db.connectionName(), QStringLiteral("SET ROLE gast"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, shown(4));
        execSql(db.connectionName(), QStringLiteral("RESET ROLE"));
        QCOMPARE(shown(4), expected);
    }

    void storedDatesReadAsQtReadsThem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        for (const char *valid : {"1899-12-30T00:00:00", "1899-12-29T23:59:59", "0001-01-01T00:00:00", "0100-03-01T12:00:00",
                                  "1600-02-29T06:30:00", "2000-02-29T12:00:00", "2031-05-05T09:00:00", "2026-10-25T02:15:00",
                                  "9999-12-31T23:59:59"})
            QTest::newRow(valid) << QString::fromLatin1(valid) << true;
        for (const char *invalid : {"0000-01-01T00:00:00", "1900-02-29T00:00:00", "2023-02-29T00:00:00", "2031-04-31T00:00:00",
                                    "2031-13-01T00:00:00", "2031-00-10T00:00:00", "2031-05-00T00:00:00", "2031-05-05T24:00:00",
                                    "2031-05-05T23:60:00", "2031-05-05T23:59:60", "2031-05-05 09:00:00", "2031-05-05T9:00:00",
                                    "2031-5-05T09:00:00", "2031-05-0xT09:00:00"})
            QTest::newRow(invalid) << QString::fromLatin1(invalid) << false;
    }

    // Catches a stored date read as another moment than Qt's calendar and clock give it, to
    // the last bit, or a day that does not exist taken for one.
    void storedDatesReadAsQtReadsThem()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const QByteArray utf8 = text.toUtf8();
        const std::optional<Dayplex::Date> fromUtf16 = parseSqlDateTime(QStringView(text));
        const std::optional<Dayplex::Date> fromUtf8 = parseSqlDateTime(utf8.constData(), utf8.size());
        QCOMPARE(fromUtf16.has_value(), valid);
        QCOMPARE(fromUtf8.has_value(), valid);
        if (!valid)
            return;
        const auto number = [&text](int from, int length) { return text.mid(from, length).toInt(); };
        const Dayplex::Date expected = Dayplex::toDate(QDate(number(0, 4), number(5, 2), number(8, 2)))
            + Dayplex::toTimeOfDay(QTime(number(11, 2), number(14, 2), number(17, 2)));
        QVERIFY2(*fromUtf16 == expected && *fromUtf8 == expected,
                 qPrintable(QString::number(*fromUtf16, 'g', 17) + QStringLiteral(" != ") + QString::number(expected, 'g', 17)));
    }

    void startOrderHandsOnInPlace_data()
    {
        QTest::addColumn<QString>("singles");     // parts split by |, each row "day/id", in the order read
        QTest::addColumn<QString>("occurrences"); // "day/id", in any order
        QTest::addColumn<QString>("partStarts");
        QTest::newRow("one part") << "3/4 1/9 1/2 0.5/7" << "" << "";
        QTest::newRow("parts with occurrences between") << "3/4 1/9 | 20/3 14/8 | 29/1" << "2/100 13.9/101 14/5 40/102 0/103"
                                                        << "14 28";
        QTest::newRow("same start: the id decides") << "7/5 | 14/2 14/9" << "7/4 7/6 14/3 14/10" << "14";
        QTest::newRow("a part with no rows") << "2/1 | 30/2 29/3" << "15/9 28.5/8" << "14 28";
        QTest::newRow("long ones before the days in the first part") << "-40/1 3/2 -3/3 | 14/4" << "-1/9" << "14";
        QTest::newRow("only occurrences") << "" << "9/3 1/2 20/1" << "14";
        QTest::newRow("occurrences after the last single") << "1/1 | 15/2" << "16/3 40/4 15.5/5" << "14 28";
    }

    // Catches rows out of their order by start and id, a row handed on twice or not at all, one
    // held until the end instead of handed on when the next part begins (the view would fill
    // only after the last row arrived), or one handed on before an earlier one can still come.
    void startOrderHandsOnInPlace()
    {
        QFETCH(QString, singles);
        QFETCH(QString, occurrences);
        QFETCH(QString, partStarts);
        const auto rows = [](const QString &text) {
            QVector<Appointment> read;
            for (const QString &row : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                Appointment a;
                a.start = row.section(QLatin1Char('/'), 0, 0).toDouble();
                a.id = row.section(QLatin1Char('/'), 1).toLongLong();
                read.append(a);
            }
            return read;
        };
        std::vector<Dayplex::Date> starts;
        for (const QString &start : partStarts.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            starts.push_back(start.toDouble());
        QVector<Appointment> all = rows(occurrences);
        QStringList handedOn;
        StartOrder order(all, starts, [&handedOn](Appointment &&a) { handedOn.append(QString::number(a.id)); });
        // What must be out once nothing before limit can come any more: all of it, in order.
        const auto before = [&all](Dayplex::Date limit) {
            QVector<Appointment> sorted = all;
            std::sort(sorted.begin(), sorted.end(), [](const Appointment &a, const Appointment &b) {
                return std::make_pair(a.start, a.id) < std::make_pair(b.start, b.id);
            });
            QStringList ids;
            for (const Appointment &a : sorted)
                if (a.start < limit)
                    ids.append(QString::number(a.id));
            return ids;
        };
        const QStringList parts = singles.split(QLatin1Char('|'));
        for (qsizetype part = 0; part < parts.size(); ++part) {
            const QVector<Appointment> read = rows(parts[part]);
            for (qsizetype i = 0; i < read.size(); ++i) {
                order.add(Appointment(read[i]));
                if (i == 0 && part > 0) {
                    const Dayplex::Date partStart = *(std::upper_bound(starts.begin(), starts.end(), read[i].start) - 1);
                    QCOMPARE(handedOn, before(partStart));
                }
                all.append(read[i]);
            }
        }
        order.finish();
        QCOMPARE(handedOn, before(std::numeric_limits<double>::infinity()));
    }

    void viewReadsMatchWholeReads_data()
    {
        onBothServers();
    }

    // Catches a read for a view that takes one column for another, and rows out of their order
    // by start: single ones saved last day first, of several lengths, between the occurrences
    // of a series, one of them changed.
    void viewReadsMatchWholeReads()
    {
        QFETCH(bool, server);
        Database db;
        db.open(freshLocation(QStringLiteral("ansicht"), server), kAnchor);
        const Dayplex::Date monday = day(2031, 5, 5);
        Appointment daily = weekly(QStringLiteral("FREQ=DAILY;COUNT=10"));
        const qint64 seriesId = db.saveAppointment(daily, {1, 2}).first();
        Appointment moved = daily;
        moved.start = monday + 3 + hm(7, 0);
        moved.end = monday + 3 + hm(8, 0);
        moved.rrule.clear();
        db.changeOccurrence(seriesId, monday + 3 + hm(9, 0), moved, Dayplex::SeriesScope::OnlyThis);
        for (int d = 11; d >= 0; --d) {
            Appointment single = appointment(QStringLiteral("Tag %1").arg(d), monday + d + hm(8, 30), monday + d + hm(9, 30), 2);
            if (d % 4 == 1) { // a whole day
                single.allDay = true;
                single.start = single.end = monday + d;
            } else if (d % 4 == 2) { // three days: another class of length
                single.end = monday + d + 2 + hm(9, 30);
            }
            single.done = d % 3 == 0;
            single.readOnly = d % 5 == 0;
            single.note = d % 2 == 0;
            single.fontColor = 0x00000080 + d;
            single.backColor = 0x00C8EEC8 - d;
            db.saveAppointment(single, d == 6 ? QList<int>{7, 2, 5} : QList<int>{2});
        }
        const QVector<Appointment> whole = db.appointmentsInDays(monday, monday + 13, {2});
        const QVector<Appointment> shown = db.appointmentsInDays(monday, monday + 13, {2}, RowContent::Shown);
        QCOMPARE(whole.size(), 22);
        for (qsizetype i = 1; i < whole.size(); ++i)
            QVERIFY2(std::make_pair(whole[i - 1].start, whole[i - 1].id) < std::make_pair(whole[i].start, whole[i].id),
                     qPrintable(whole[i - 1].text + QStringLiteral(" before ") + whole[i].text));
        const auto viewed = [](const Appointment &a) {
            return QStringList{QString::number(a.id), a.text, sql(a.start), sql(a.end), QString::number(a.allDay),
                               QString::number(a.fontColor), QString::number(a.backColor), QString::number(a.done),
                               QString::number(a.readOnly), QString::number(a.note), QString::number(a.version),
                               QString::number(a.seriesId), sql(a.recurrenceStart)}
                .join(QLatin1Char('|'));
        };
        QCOMPARE(shown.size(), whole.size());
        for (qsizetype i = 0; i < whole.size(); ++i) {
            QCOMPARE(viewed(shown[i]), viewed(whole[i]));
            QCOMPARE(shown[i].allParticipants(), whole[i].allParticipants());
            // An occurrence computed from its series has the series' fields.
            QCOMPARE(shown[i].uid.isEmpty(), shown[i].id != shown[i].seriesId);
            QVERIFY(!whole[i].uid.isEmpty());
        }
    }

    void staleWritesAreRefused_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("deleted"); // the other desk deleted instead of changing
        for (const bool server : {false, true})
            for (const char *path : {"form", "drag", "change only this", "change this and following",
                                     "change all", "delete only this", "delete this and following",
                                     "delete all"})
                for (const bool deleted : {false, true})
                    QTest::newRow(qPrintable(QStringLiteral("%1 %2%3").arg(server ? "server" : "SQLite", path,
                                                                             deleted ? ", deleted meanwhile" : "")))
                        << server << QString::fromLatin1(path) << deleted;
    }

    // Catches a write from a desk that read the row before another desk changed or deleted it
    // (or changed one occurrence of its series), on any path the window takes: it must be
    // refused with the German reason and write nothing.
    void staleWritesAreRefused()
    {
        QFETCH(bool, server);
        QFETCH(QString, path);
        QFETCH(bool, deleted);
        const QString location = freshLocation(QStringLiteral("veraltet"), server);
        Database here, there;
        here.open(location, kAnchor);
        there.open(location, kAnchor);
        const bool single = path == QLatin1String("form") || path == QLatin1String("drag");
        const qint64 id = single ? here.saveAppointment(sample(2), {2}).first()
                                 : here.saveAppointment(weekly(QStringLiteral("FREQ=WEEKLY")), {1, 2}).first();
        const Appointment read = *here.appointment(id);
        // A change of one occurrence over there makes the whole series newer.
        Appointment other = read;
        other.text = QStringLiteral("Vom anderen Arbeitsplatz");
        if (deleted)
            there.deleteAppointment(id);
        else if (single)
            there.saveAppointment(other, other.participantIds);
        else
            there.changeOccurrence(id, day(2031, 5, 12) + hm(9, 0), other, Dayplex::SeriesScope::OnlyThis);
        const auto snapshot = [&] {
            return describe(here.appointmentsInDays(day(2031, 5, 1), day(2031, 7, 1))).join(QLatin1Char('\n'))
                   + QStringLiteral("\n%1 %2").arg(here.appointmentCount()).arg(here.journalCount());
        };
        const QString before = snapshot();
        const Dayplex::Date may19 = day(2031, 5, 19) + hm(9, 0);
        Appointment changed = read;
        changed.text = QStringLiteral("Von diesem Arbeitsplatz");
        changed.start = may19 + hm(1, 0);
        changed.end = may19 + hm(2, 0);
        using S = Dayplex::SeriesScope;
        const QHash<QString, std::function<void()>> writes{
            {"form", [&] { here.saveAppointment(changed, {2, 3}); }},
            {"drag", [&] { here.moveAppointment(id, read.start + hm(1, 0), read.end + hm(1, 0), read.version); }},
            {"change only this", [&] { here.changeOccurrence(id, may19, changed, S::OnlyThis, read.version); }},
            {"change this and following", [&] { here.changeOccurrence(id, may19, changed, S::ThisAndFollowing, read.version); }},
            {"change all", [&] { here.changeOccurrence(id, may19, changed, S::AllOfSeries, read.version); }},
            {"delete only this", [&] { here.deleteOccurrence(id, may19, S::OnlyThis, read.version); }},
            {"delete this and following", [&] { here.deleteOccurrence(id, may19, S::ThisAndFollowing, read.version); }},
            {"delete all", [&] { here.deleteOccurrence(id, may19, S::AllOfSeries, read.version); }}};
        QString message;
        try {
            writes.value(path)();
        } catch (const ConflictError &error) {
            message = error.message();
            QCOMPARE(error.current().has_value(), !deleted);
        }
        QVERIFY2(message.contains(deleted ? QStringLiteral("inzwischen an einem anderen Arbeitsplatz gelöscht")
                                          : QStringLiteral("inzwischen an einem anderen Arbeitsplatz geändert")),
                 qPrintable(message));
        QCOMPARE(snapshot(), before);
    }

    void occurrenceKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<qint64>("id");
        QTest::addColumn<Dayplex::Date>("start");
        QTest::newRow("single") << "T12" << qint64(12) << 0.0;
        QTest::newRow("occurrence") << "T12@20310505T090000" << qint64(12) << day(2031, 5, 5) + hm(9, 0);
        QTest::newRow("in the spring gap") << "T7@20310330T023000" << qint64(7) << day(2031, 3, 30) + hm(2, 30);
        QTest::newRow("long id, last second") << "T4294967301@99991231T235959" << qint64(4294967301)
                                              << day(9999, 12, 31) + hm(23, 59) + 59 * Dayplex::kOneSecond;
        QTest::newRow("cut short") << "T12@20310505" << qint64(0) << 0.0;
        QTest::newRow("no such day") << "T12@20310230T090000" << qint64(0) << 0.0;
        QTest::newRow("no series") << "T@20310505T090000" << qint64(0) << 0.0;
        QTest::newRow("participant") << "P3" << qint64(0) << 0.0;
    }

    // Catches a key of an occurrence that names another appointment or time, and one that
    // does not come back as it was handed out.
    void occurrenceKeys()
    {
        QFETCH(QString, key);
        QFETCH(qint64, id);
        QFETCH(Dayplex::Date, start);
        QCOMPARE(HostBridge::appointmentId(key), id);
        QCOMPARE(HostBridge::recurrenceStart(key), start);
        if (start != 0) {
            Appointment occurrence;
            occurrence.id = occurrence.seriesId = id;
            occurrence.recurrenceStart = start;
            QCOMPARE(HostBridge::appointmentKey(occurrence), key);
        }
    }

    void faults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("told");
        QTest::newRow("SQLite on a full disk") << "full" << "Der Datenträger ist voll";
        QTest::newRow("SQLite file and folder made read-only while open")
            << "read-only" << "schreibgeschützt";
        QTest::newRow("server out of room") << "server" << "Datenträger";
    }

    // Catches a fault that half-writes a save, tells the user nothing or English only, or
    // leaves the connection unusable once the fault is gone. A tiny filesystem needs a mount,
    // which is not possible here; a server under a file size limit fails to extend its table
    // file at the same place a full disk fails it, and rolls back the same way.
    void faults()
    {
        QFETCH(QString, fault);
        QFETCH(QString, told);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("faults.sqlite"));
        PgServer small;
        if (fault == QLatin1String("server"))
            QVERIFY2(small.start(4 << 20), qPrintable(small.error()));
        Database db;
        db.open(small.port() ? small.createDatabase(QStringLiteral("voll")) : path, kAnchor);
        const qint64 id = db.insertAppointment(sample(1));
        const int count = db.appointmentCount();
        Appointment edited = *db.appointment(id);
        // Letters at random do not compress, so the text reaches the table file at full size.
        edited.text = QString(6 << 20, Qt::Uninitialized);
        QRandomGenerator random(7);
        for (QChar &c : edited.text)
            c = QLatin1Char(char('a' + random.bounded(26)));

        const QStringList immutable{path, folder.path()};
        if (fault == QLatin1String("full")) // clamps to the pages in use
            execSql(db.connectionName(), QStringLiteral("PRAGMA max_page_count = 1"));
        // chattr, not chmod: the tests may run as the administrator, whom permissions do not stop.
        if (fault == QLatin1String("read-only")
            && QProcess::execute(QStringLiteral("chattr"), QStringList{"+i"} + immutable) != 0)
            QSKIP("chattr +i is not allowed here");
        QString message;
        try {
            db.saveAppointment(edited, {1, 2});
        } catch (const DatabaseError &error) {
            message = error.message();
        }
        if (fault == QLatin1String("read-only"))
            QProcess::execute(QStringLiteral("chattr"), QStringList{"-i"} + immutable);
        if (fault == QLatin1String("full"))
            execSql(db.connectionName(), QStringLiteral("PRAGMA max_page_count = 1073741823"));
        QVERIFY2(message.contains(told), qPrintable(message.left(300)));
        QVERIFY(!db.connectionLost());
        QCOMPARE(db.appointment(id)->text, sample(1).text);
        QCOMPARE(db.appointmentCount(), count);
        if (!db.isPostgres()) {
            QSqlQuery check(QSqlDatabase::database(db.connectionName()));
            QVERIFY(check.exec(QStringLiteral("PRAGMA integrity_check")) && check.next());
            QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));
        }
        edited.text = QStringLiteral("Kundentermin verschoben");
        db.saveAppointment(edited, {1, 2});
        QCOMPARE(db.appointment(id)->text, edited.text);
        QCOMPARE(db.appointment(id)->participantIds, QList<int>({1, 2}));
        QCOMPARE(db.appointmentCount(), count);
    }

    // Catches a field lost or altered on the way out and back in, a re-import that duplicates
    // instead of replacing by UID, local times written without their zone or its definition,
    // and an all-day end written inclusive instead of the standard's exclusive day.
    void roundTripKeepsEverythingTheHostStores()
    {
        // The start lies inside the spring gap and is kept as typed.
        Appointment timed =
            appointment(QStringLiteral("Abnahme Lindner AG; Punkte: a, b\nzweite Zeile – äöüß €"),
                        day(2026, 3, 29) + hm(2, 30), day(2026, 3, 29) + hm(4, 15) + 30 / 86400.0, 3);
        timed.fontColor = 0x00102030;
        timed.backColor = 0x00C8EEC8;
        timed.done = timed.readOnly = true;
        // The host's end of an all-day appointment is its inclusive last day.
        Appointment allDay =
            appointment(QStringLiteral("Urlaub"), day(2026, 10, 23), day(2026, 10, 26), 8);
        allDay.allDay = allDay.note = true;
        // The hour that comes twice.
        const Appointment ambiguous = appointment(QStringLiteral("Nachtlauf"),
                                                  day(2026, 10, 25) + hm(2, 15),
                                                  day(2026, 10, 25) + hm(2, 45), 1);
        Database db;
        db.open(m_dir.filePath(QStringLiteral("ics.sqlite")), kAnchor);
        for (const Appointment &a : {timed, allDay, ambiguous})
            db.insertAppointment(a);

        // The demo team's series go out once each, as the export writes them.
        const QVector<Appointment> stored = appointmentsForExport(
            db.appointmentsInDays(day(2026, 1, 1), day(2026, 12, 31), {1, 3, 8}),
            [&db](qint64 id) { return db.appointment(id); });
        QHash<int, QString> names;
        for (const Participant &p : db.participants())
            names.insert(p.id, p.name);
        const QByteArray ics = writeICalendar(stored, names, QDateTime::currentDateTimeUtc());
        const QString text = QString::fromUtf8(ics).remove(QStringLiteral("\r\n "));
        for (const QString &line :
             {QStringLiteral("BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\n"),
              QStringLiteral("UID:%1\r\n").arg(stored.first().uid),
              QStringLiteral("DTSTART;TZID=Europe/Berlin:20261025T021500\r\n"),
              QStringLiteral("DTEND;TZID=Europe/Berlin:20261025T024500\r\n"),
              QStringLiteral("DTSTART;VALUE=DATE:20261023\r\n"),
              QStringLiteral("DTEND;VALUE=DATE:20261027\r\n")})
            QVERIFY2(text.contains(line), qPrintable(line));
        const ICalendarImport back =
            readICalendar(ics, db.participants(), kDefaultParticipant);
        QCOMPARE(describe(back.appointments), describe(stored));

        const int before = db.appointmentCount();
        const ImportCount count = db.importCalendar(back);
        QCOMPARE(count.added + count.updated, 0);
        QCOMPARE(count.unchanged, back.appointments.size());
        QCOMPARE(db.appointmentCount(), before);
    }

private:
    // The column "server": each row once on SQLite and once on the test's server.
    static void onBothServers()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("SQLite") << false;
        QTest::newRow("server") << true;
    }

    // A database of its own for a test row, on the server or as a file.
    QString freshLocation(const QString &stem, bool server)
    {
        const QString name = stem + QString::number(++m_databases);
        return server ? m_server.createDatabase(name) : m_dir.filePath(name + QStringLiteral(".sqlite"));
    }

    QTemporaryDir m_dir;
    PgServer m_server;
    int m_databases = 0;
};

QTEST_GUILESS_MAIN(tst_Database)
#include "test_database.moc"

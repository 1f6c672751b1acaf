// The Terminplaner's SQLite layer: seeding, the day query, writes and their transactions.
#include "database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace Terminplaner;

namespace {

const QDate kAnchor(2026, 12, 7);

Dayplex::Date at(QDate day, int hour, int minute = 0)
{
    return Dayplex::toDate(day) + (hour * 60 + minute) / 1440.0;
}

void execSql(const Database &db, const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(db.connectionName()));
    QVERIFY2(query.exec(sql), qPrintable(sql));
}

Appointment sample(int participant = 1)
{
    Appointment a;
    a.text = QStringLiteral("Kundentermin Müller GmbH");
    a.start = at(QDate(2031, 5, 6), 9, 15);
    a.end = at(QDate(2031, 5, 6), 10, 45);
    a.fontColor = 0x00102030;
    a.backColor = 0x00C8EEC8;
    a.done = true;
    a.note = true;
    a.participantId = participant;
    return a;
}

} // namespace

class tst_Database : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("test-%1.sqlite").arg(++m_counter));
    }

    // Catches seeding on every start, which would resurrect appointments the user deleted.
    void seedsOnFirstOpenOnly()
    {
        {
            Database db;
            db.open(m_path, kAnchor);
            QVERIFY(db.seededOnOpen());
            QCOMPARE(db.participants().size(), 8);
            QVERIFY2(db.appointmentCount() >= 200 && db.appointmentCount() <= 600,
                     qPrintable(QString::number(db.appointmentCount())));
            execSql(db, QStringLiteral("DELETE FROM appointments"));
        }
        Database again;
        again.open(m_path, kAnchor);
        QVERIFY(!again.seededOnOpen());
        QCOMPARE(again.appointmentCount(), 0);
        QCOMPARE(again.participants().size(), 8);
    }

    // Catches a file of the first schema that loses its appointments on the way to the
    // current one, or whose appointments get no key for calendar exchange.
    void migratesAFileOfTheFirstSchema()
    {
        {
            QSqlDatabase old = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("first-schema"));
            old.setDatabaseName(m_path);
            QVERIFY(old.open());
            QSqlQuery q(old);
            for (const char *sql :
                 {"CREATE TABLE settings (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
                  "CREATE TABLE participants (id INTEGER PRIMARY KEY, name TEXT NOT NULL, role TEXT NOT NULL DEFAULT '')",
                  "CREATE TABLE appointments (id INTEGER PRIMARY KEY AUTOINCREMENT, text TEXT NOT NULL,"
                  " start TEXT NOT NULL, \"end\" TEXT NOT NULL, all_day INTEGER NOT NULL DEFAULT 0,"
                  " font_color INTEGER NOT NULL DEFAULT 0, back_color INTEGER NOT NULL DEFAULT 16777215,"
                  " done INTEGER NOT NULL DEFAULT 0, read_only INTEGER NOT NULL DEFAULT 0,"
                  " participant_id INTEGER NOT NULL REFERENCES participants(id), note INTEGER NOT NULL DEFAULT 0)",
                  "CREATE TABLE appointment_changes (id INTEGER PRIMARY KEY AUTOINCREMENT, appointment_id INTEGER NOT NULL,"
                  " changed_at TEXT NOT NULL, old_start TEXT NOT NULL, old_end TEXT NOT NULL,"
                  " new_start TEXT NOT NULL, new_end TEXT NOT NULL)",
                  "INSERT INTO settings VALUES ('schema_version', '1'), ('seeded', '2026-12-07')",
                  "INSERT INTO participants VALUES (1, 'Anna Becker', '')",
                  "INSERT INTO appointments (text, start, \"end\", participant_id) VALUES"
                  " ('Alt eins', '2026-12-07T09:00:00', '2026-12-07T10:00:00', 1),"
                  " ('Alt zwei', '2026-12-08T09:00:00', '2026-12-08T10:00:00', 1)"})
                QVERIFY2(q.exec(QString::fromLatin1(sql)), sql);
            old.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("first-schema"));
        Database db;
        db.open(m_path, kAnchor);
        QVERIFY(!db.seededOnOpen());
        QCOMPARE(db.appointmentCount(), 2);
        const QString first = db.appointment(1)->uid;
        const QString second = db.appointment(2)->uid;
        QVERIFY(!first.isEmpty() && !second.isEmpty() && first != second);
        QVERIFY(db.setting(QStringLiteral("schema_version")).toInt() >= 2);
        // A new appointment gets a key of its own, a copy for another participant too.
        const QList<qint64> ids = db.saveAppointment(sample(1), {1, 1});
        QVERIFY(db.appointment(ids.at(0))->uid != db.appointment(ids.at(1))->uid);
    }

    // Catches seed data that changes between runs or drifts away from the days around the anchor.
    void seedIsDeterministicAndAroundTheAnchor()
    {
        const SeedData first = makeSeedData(kAnchor);
        const SeedData second = makeSeedData(kAnchor);
        QCOMPARE(first.appointments.size(), second.appointments.size());
        const Dayplex::Date from = Dayplex::toDate(kAnchor.addDays(-49));
        // Holidays planned near the end may reach two weeks further.
        const Dayplex::Date to = Dayplex::toDate(kAnchor.addDays(60));
        for (int i = 0; i < first.appointments.size(); ++i) {
            const Appointment &a = first.appointments.at(i);
            const Appointment &b = second.appointments.at(i);
            QCOMPARE(a.text, b.text);
            QCOMPARE(a.start, b.start);
            QCOMPARE(a.participantId, b.participantId);
            QVERIFY(a.start >= from && a.end < to);
            QVERIFY(a.end >= a.start);
            QVERIFY(a.participantId >= 1 && a.participantId <= 8);
            QVERIFY((a.backColor & ~0xFFFFFF) == 0);
        }
    }

    // Catches a column lost or mixed up between writing and reading an appointment.
    void appointmentRoundTrip()
    {
        Database db;
        db.open(m_path, kAnchor);
        Appointment a = sample(4);
        a.allDay = false;
        a.readOnly = true;
        const qint64 id = db.insertAppointment(a);
        const std::optional<Appointment> back = db.appointment(id);
        QVERIFY(back);
        QCOMPARE(back->text, a.text);
        QCOMPARE(Database::toSqlDateTime(back->start), Database::toSqlDateTime(a.start));
        QCOMPARE(Database::toSqlDateTime(back->end), Database::toSqlDateTime(a.end));
        QCOMPARE(back->allDay, a.allDay);
        QCOMPARE(back->fontColor, a.fontColor);
        QCOMPARE(back->backColor, a.backColor);
        QCOMPARE(back->done, a.done);
        QCOMPARE(back->readOnly, a.readOnly);
        QCOMPARE(back->participantId, 4);
        QCOMPARE(back->note, a.note);
    }

    void storedDateTimes_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QTime>("time");
        QTest::newRow("midnight") << QDate(2026, 12, 7) << QTime(0, 0);
        QTest::newRow("last second of a day") << QDate(2026, 12, 31) << QTime(23, 59, 59);
        QTest::newRow("inside the spring DST gap") << QDate(2026, 3, 29) << QTime(2, 30);
        QTest::newRow("leap day") << QDate(2028, 2, 29) << QTime(12, 45);
    }

    // Catches times shifted by a trip through UTC or lost seconds in the stored text.
    void storedDateTimes()
    {
        QFETCH(QDate, day);
        QFETCH(QTime, time);
        const Dayplex::Date value = Dayplex::toDate(day) + Dayplex::toTimeOfDay(time);
        const QString text = Database::toSqlDateTime(value);
        QCOMPARE(text, day.toString(Qt::ISODate) + QLatin1Char('T') + time.toString(QStringLiteral("HH:mm:ss")));
        QVERIFY(std::abs(Database::fromSqlDateTime(text) - value) < Dayplex::kOneSecond / 2);
    }

    void appointmentsInDays_data()
    {
        const QDate first(2031, 5, 6); // a Tuesday, far from the seeded weeks
        const QDate last(2031, 5, 8);
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<bool>("allDay");
        QTest::addColumn<bool>("expected");
        QTest::newRow("timed inside") << at(first, 9) << at(first, 10) << false << true;
        QTest::newRow("timed on the last day") << at(last, 16) << at(last, 17) << false << true;
        QTest::newRow("timed the day after") << at(last.addDays(1), 0) << at(last.addDays(1), 1) << false << false;
        QTest::newRow("timed ending at the first midnight") << at(first.addDays(-1), 22) << at(first, 0) << false << false;
        QTest::newRow("timed over the first midnight") << at(first.addDays(-1), 22) << at(first, 1) << false << true;
        QTest::newRow("zero length at the first midnight") << at(first, 0) << at(first, 0) << false << true;
        QTest::newRow("all-day ending on the first day") << at(first.addDays(-3), 0) << at(first, 0) << true << true;
        QTest::newRow("all-day ending the day before") << at(first.addDays(-3), 0) << at(first.addDays(-1), 0) << true << false;
        QTest::newRow("all-day starting on the last day") << at(last, 0) << at(last.addDays(4), 0) << true << true;
        QTest::newRow("all-day around the range") << at(first.addDays(-9), 0) << at(last.addDays(9), 0) << true << true;
    }

    // Catches appointments missing at the edges of the asked days or leaking in from outside.
    void appointmentsInDays()
    {
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(bool, allDay);
        QFETCH(bool, expected);
        Database db;
        db.open(m_path, kAnchor);
        Appointment a = sample(2);
        a.start = start;
        a.end = end;
        a.allDay = allDay;
        const qint64 id = db.insertAppointment(a);

        const Dayplex::Date first = Dayplex::toDate(QDate(2031, 5, 6));
        const Dayplex::Date last = Dayplex::toDate(QDate(2031, 5, 8));
        const QVector<Appointment> all = db.appointmentsInDays(first, last);
        QCOMPARE(all.size(), expected ? 1 : 0);
        if (expected) {
            QCOMPARE(all.first().id, id);
            QCOMPARE(touchesDays(all.first(), first, last), true);
            QCOMPARE(db.appointmentsInDays(first, last, {2}).size(), 1);
            QCOMPARE(db.appointmentsInDays(first, last, {1, 3}).size(), 0);
        }
    }

    // Catches a drag that is not written, or written without its journal entry.
    void moveWritesTimesAndJournal()
    {
        Database db;
        db.open(m_path, kAnchor);
        const qint64 id = db.insertAppointment(sample());
        const int journal = db.journalCount();
        const Dayplex::Date start = at(QDate(2031, 5, 7), 14);
        db.moveAppointment(id, start, start + 1.5 / 24);
        QCOMPARE(Database::toSqlDateTime(db.appointment(id)->start), QStringLiteral("2031-05-07T14:00:00"));
        QCOMPARE(Database::toSqlDateTime(db.appointment(id)->end), QStringLiteral("2031-05-07T15:30:00"));
        QCOMPARE(db.journalCount(), journal + 1);
    }

    // Catches a move whose times stay written although its journal entry failed.
    void failingMoveIsRolledBack()
    {
        Database db;
        db.open(m_path, kAnchor);
        const qint64 id = db.insertAppointment(sample());
        const int journal = db.journalCount();
        execSql(db, QStringLiteral("CREATE TRIGGER full_journal BEFORE INSERT ON appointment_changes"
                                   " BEGIN SELECT RAISE(ABORT, 'Journal voll'); END"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError,
                                 db.moveAppointment(id, at(QDate(2031, 5, 9), 8), at(QDate(2031, 5, 9), 9)));
        QCOMPARE(Database::toSqlDateTime(db.appointment(id)->start), QStringLiteral("2031-05-06T09:15:00"));
        QCOMPARE(db.journalCount(), journal);
        // The connection is usable afterwards: no transaction was left open.
        db.setSetting(QStringLiteral("probe"), QStringLiteral("1"));
        QCOMPARE(db.setting(QStringLiteral("probe")), QStringLiteral("1"));
    }

    // Catches an edit saved for some participants although the copy for another failed.
    void failingCopyRollsBackTheWholeSave()
    {
        Database db;
        db.open(m_path, kAnchor);
        const qint64 id = db.insertAppointment(sample(1));
        const int count = db.appointmentCount();
        execSql(db, QStringLiteral("CREATE TRIGGER no_three BEFORE INSERT ON appointments"
                                   " WHEN NEW.participant_id = 3 BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
        Appointment edited = *db.appointment(id);
        edited.text = QStringLiteral("Geändert");
        QVERIFY_THROWS_EXCEPTION(DatabaseError, db.saveAppointment(edited, {1, 2, 3}));
        QCOMPARE(db.appointment(id)->text, sample().text);
        QCOMPARE(db.appointmentCount(), count);
    }

    // Catches a save that loses participants or duplicates the edited record.
    void saveWritesOneRecordPerParticipant()
    {
        Database db;
        db.open(m_path, kAnchor);
        const qint64 id = db.insertAppointment(sample(5));
        const int count = db.appointmentCount();
        const QList<qint64> ids = db.saveAppointment(*db.appointment(id), {5, 2, 7});
        QCOMPARE(ids.size(), 3);
        QCOMPARE(ids.first(), id);
        QCOMPARE(db.appointmentCount(), count + 2);
        QCOMPARE(db.appointment(ids.at(1))->participantId, 2);
        QCOMPARE(db.appointment(ids.at(2))->participantId, 7);
    }

    void refusedMoves_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<double>("length");
        QTest::newRow("read-only appointment") << true << 1.0 / 24;
        QTest::newRow("end before start") << false << -1.0 / 24;
    }

    // Catches writes that the views should never cause but a broken event could.
    void refusedMoves()
    {
        QFETCH(bool, readOnly);
        QFETCH(double, length);
        Database db;
        db.open(m_path, kAnchor);
        Appointment a = sample();
        a.readOnly = readOnly;
        const qint64 id = db.insertAppointment(a);
        const Dayplex::Date start = at(QDate(2031, 5, 9), 12);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, db.moveAppointment(id, start, start + length));
        QCOMPARE(db.appointment(id)->start, a.start);
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_counter = 0;
};

QTEST_GUILESS_MAIN(tst_Database)
#include "test_database.moc"

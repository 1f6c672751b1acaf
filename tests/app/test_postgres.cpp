// The Terminplaner on a PostgreSQL server of the test's own: a new database is set up and
// seeded as a new SQLite file is, and the writes behave as they do on SQLite.
#include "database.h"
#include "icalendar.h"
#include "pgserver.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace Terminplaner;

namespace {

const QDate kAnchor(2026, 12, 7);

Dayplex::Date at(QDate day, int hour, int minute = 0)
{
    return Dayplex::toDate(day) + (hour * 60 + minute) / 1440.0;
}

Appointment sample(int participant)
{
    Appointment a;
    a.text = QStringLiteral("Kundentermin Müller GmbH");
    a.start = at(QDate(2031, 5, 6), 9, 15);
    a.end = at(QDate(2031, 5, 6), 10, 45);
    a.participantId = participant;
    return a;
}

} // namespace

class tst_Postgres : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_server.start(), qPrintable(m_server.error())); }

    // Catches a server database that is set up differently from a new file, seeded twice, or
    // left without the current schema.
    void newDatabaseIsSetUpAndSeededOnce()
    {
        const QString url = m_server.createDatabase(QStringLiteral("neu"));
        QVERIFY2(!url.isEmpty(), qPrintable(m_server.error()));
        QTemporaryDir dir;
        Database file;
        file.open(dir.filePath(QStringLiteral("vergleich.sqlite")), kAnchor);
        {
            Database server;
            server.open(url, kAnchor);
            QVERIFY(server.isPostgres());
            QVERIFY(server.seededOnOpen());
            QCOMPARE(server.participants().size(), file.participants().size());
            QCOMPARE(server.appointmentCount(), file.appointmentCount());
            const Dayplex::Date first = Dayplex::toDate(kAnchor), last = first + 13;
            QCOMPARE(server.appointmentsInDays(first, last).size(), file.appointmentsInDays(first, last).size());
            QCOMPARE(server.setting(QStringLiteral("schema_version")), file.setting(QStringLiteral("schema_version")));
        }
        Database again;
        again.open(url, kAnchor);
        QVERIFY(!again.seededOnOpen());
        QCOMPARE(again.appointmentCount(), file.appointmentCount());
    }

    // Catches writes that work on SQLite only: new keys, moves with their journal, copies for
    // several participants, imports by UID and deletes.
    void writesAsOnSqlite()
    {
        Database db;
        db.open(m_server.createDatabase(QStringLiteral("schreiben")), kAnchor);
        const int count = db.appointmentCount();
        const qint64 id = db.insertAppointment(sample(2));
        QVERIFY(id > 0);
        QVERIFY(!db.appointment(id)->uid.isEmpty());
        const int journal = db.journalCount();
        db.moveAppointment(id, at(QDate(2031, 5, 7), 14), at(QDate(2031, 5, 7), 15));
        QCOMPARE(Database::toSqlDateTime(db.appointment(id)->start), QStringLiteral("2031-05-07T14:00:00"));
        QCOMPARE(db.journalCount(), journal + 1);
        const QList<qint64> ids = db.saveAppointment(*db.appointment(id), {2, 3});
        QCOMPARE(ids.size(), 2);
        QCOMPARE(db.appointmentsInDays(at(QDate(2031, 5, 7), 0), at(QDate(2031, 5, 7), 0)).size(), 2);

        Appointment imported = sample(4);
        imported.uid = QStringLiteral("extern-1@example.de");
        QCOMPARE(db.importAppointments({imported}).added, 1);
        imported.text = QStringLiteral("Geändert");
        QCOMPARE(db.importAppointments({imported}).updated, 1);
        db.deleteAppointment(id);
        QVERIFY(!db.appointment(id));
        QCOMPARE(db.appointmentCount(), count + 2);
        // A failing write in the middle leaves nothing behind, as on SQLite.
        Appointment broken = sample(99);
        broken.uid = QStringLiteral("extern-2@example.de");
        QVERIFY_THROWS_EXCEPTION(DatabaseError, db.importAppointments({sample(5), broken}));
        QCOMPARE(db.appointmentCount(), count + 2);
    }

    // Catches a server database of another program that gets the planner's tables and demo
    // data added.
    void foreignDatabaseIsNotWritten()
    {
        const QString url = m_server.createDatabase(QStringLiteral("fremd"));
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("fremd"));
            other.setHostName(QStringLiteral("127.0.0.1"));
            other.setPort(m_server.port());
            other.setUserName(QString::fromLatin1(PgServer::kUser));
            other.setDatabaseName(QStringLiteral("fremd"));
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("CREATE TABLE kunden (nr INTEGER, name TEXT)")));
            Database db;
            QVERIFY_THROWS_EXCEPTION(DatabaseError, db.open(url, kAnchor));
            QSqlQuery tables(other);
            QVERIFY(tables.exec(QStringLiteral("SELECT count(*) FROM information_schema.tables"
                                               " WHERE table_schema = current_schema()")));
            QVERIFY(tables.next());
            QCOMPARE(tables.value(0).toInt(), 1);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fremd"));
    }

    // Catches a save that a server out of room half-writes, reports in English only, or after
    // which the connection refuses the saves that still fit. A tiny filesystem needs a mount,
    // which is not possible here; a server under a file size limit fails to extend its table
    // file at the same place a full disk fails it, and rolls back the same way.
    void serverOutOfRoom()
    {
        PgServer small;
        QVERIFY2(small.start(4 << 20), qPrintable(small.error()));
        Database db;
        db.open(small.createDatabase(QStringLiteral("voll")), kAnchor);
        const qint64 id = db.insertAppointment(sample(1));
        const int count = db.appointmentCount();
        Appointment edited = *db.appointment(id);
        // Letters at random do not compress, so the text reaches the table file at full size.
        QString text(6 << 20, Qt::Uninitialized);
        QRandomGenerator random(7);
        for (QChar &c : text)
            c = QLatin1Char(char('a' + random.bounded(26)));
        edited.text = text;
        QString message;
        try {
            db.saveAppointment(edited, {1, 2});
        } catch (const DatabaseError &error) {
            message = error.message();
        }
        QVERIFY2(message.contains(QStringLiteral("Datenträger")), qPrintable(message.left(300)));
        QVERIFY(!db.connectionLost());
        QCOMPARE(db.appointment(id)->text, sample(1).text);
        QCOMPARE(db.appointmentCount(), count);
        edited.text = QStringLiteral("Kundentermin verschoben");
        db.saveAppointment(edited, {1, 2});
        QCOMPARE(db.appointment(id)->text, edited.text);
        QCOMPARE(db.appointmentCount(), count + 1);
    }

private:
    PgServer m_server;
};

QTEST_GUILESS_MAIN(tst_Postgres)
#include "test_postgres.moc"

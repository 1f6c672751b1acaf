// The Terminplaner's SQLite layer: seeding, the day query, writes and their transactions.
#include "database.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
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

QString integrity(const Database &db)
{
    QSqlQuery query(QSqlDatabase::database(db.connectionName()));
    if (!query.exec(QStringLiteral("PRAGMA integrity_check")) || !query.next())
        return query.lastError().text();
    return query.value(0).toString();
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

    void faults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("told");
        QTest::newRow("disk full") << "full" << "Der Datenträger ist voll";
        QTest::newRow("file and folder made read-only while open") << "readonly" << "schreibgeschützt";
    }

    // Catches a fault that half-writes a save, tells the user nothing or English only, or
    // leaves the connection unusable once the fault is gone.
    void faults()
    {
        QFETCH(QString, fault);
        QFETCH(QString, told);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("faults.sqlite"));
        Database db;
        db.open(path, kAnchor);
        const qint64 id = db.insertAppointment(sample(1));
        const int count = db.appointmentCount();
        Appointment edited = *db.appointment(id);
        edited.text = QString(200000, QLatin1Char('x'));

        std::function<void()> undo = [] {};
        if (fault == QLatin1String("full")) {
            execSql(db, QStringLiteral("PRAGMA max_page_count = 1")); // clamps to the pages in use
            undo = [&] { execSql(db, QStringLiteral("PRAGMA max_page_count = 1073741823")); };
        } else {
            // chattr, not chmod: the tests may run as the administrator, whom permissions do not stop.
            if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path, folder.path()}) != 0)
                QSKIP("chattr +i is not allowed here");
            undo = [&] { QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path, folder.path()}); };
        }
        QString message;
        try {
            db.saveAppointment(edited, {1, 2});
        } catch (const DatabaseError &error) {
            message = error.message();
        }
        undo();
        QVERIFY2(message.contains(told), qPrintable(message));
        QCOMPARE(integrity(db), QStringLiteral("ok"));
        QCOMPARE(db.appointment(id)->text, sample().text);
        QCOMPARE(db.appointmentCount(), count);
        db.saveAppointment(edited, {1, 2});
        QCOMPARE(db.appointment(id)->text, edited.text);
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_counter = 0;
};

QTEST_GUILESS_MAIN(tst_Database)
#include "test_database.moc"

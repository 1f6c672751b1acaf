#include "database.h"

#include "recurrence.h"
#include "rowreader.h"
#include "seriesfields.h"
#include "startorder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>
#include <QVariant>
#include <QtMath>
#include <algorithm>
#include <atomic>
#include <numeric>
#include <vector>

namespace Terminplaner {

namespace {

// The last step of migrations() below.
constexpr int kSchemaVersion = 8;

std::atomic<int> connectionCounter{0};

QString sqlText(const QSqlError &error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("unbekannter Fehler") : text;
}

const QString kConnectionLost = QStringLiteral(
    "Die Verbindung zum Datenbankserver ist unterbrochen. Ihre Eingaben bleiben erhalten; "
    "sobald der Server wieder erreichbar ist, wird die Verbindung neu aufgebaut.");

// PostgreSQL's classes of SQLSTATE codes that a user can do something about.
QString postgresText(const QSqlError &error)
{
    const QString state = error.nativeErrorCode();
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P"))
        || (state.isEmpty() && error.type() == QSqlError::ConnectionError))
        return kConnectionLost;
    if (state == QLatin1String("53100"))
        return QStringLiteral("Der Datenträger des Datenbankservers ist voll.");
    // A table file the server cannot extend for another reason than a full disk (a file size
    // limit of the service) has the same cure; the server reports it without a code of its own.
    if (error.databaseText().contains(QLatin1String("could not extend file")))
        return QStringLiteral("Der Datenbankserver kann seine Dateien nicht vergrößern: sein "
                              "Datenträger ist voll oder eine Größengrenze ist erreicht.");
    if (state == QLatin1String("25006") || state == QLatin1String("42501"))
        return QStringLiteral("Die Datenbank ist schreibgeschützt; Änderungen können nicht "
                              "gespeichert werden.");
    if (state == QLatin1String("40001") || state == QLatin1String("40P01") || state == QLatin1String("55P03"))
        return QStringLiteral("Ein anderer Arbeitsplatz ändert gerade dieselben Daten. Bitte "
                              "versuchen Sie es gleich noch einmal.");
    // The driver reports a dropped connection without a code once the socket is gone.
    if (state.isEmpty() && error.text().contains(QLatin1String("connection"), Qt::CaseInsensitive))
        return kConnectionLost;
    return QStringLiteral("Datenbankfehler: %1").arg(sqlText(error));
}

// SQLite's own texts are English; the reasons a user can do something about get a German
// sentence, everything else keeps SQLite's text for whoever has to look into it.
QString sqliteText(const QSqlError &error)
{
    bool ok = false;
    // An extended result code carries the primary one in its low byte.
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    if (ok) {
        switch (code) {
        case 5: // SQLITE_BUSY
        case 6: // SQLITE_LOCKED
            return QStringLiteral("Die Datenbank ist gesperrt, weil ein anderes Programm gerade "
                                  "in sie schreibt. Bitte versuchen Sie es gleich noch einmal.");
        case 8: // SQLITE_READONLY
            return QStringLiteral("Die Datenbank ist schreibgeschützt; Änderungen können nicht "
                                  "gespeichert werden.");
        case 14: // SQLITE_CANTOPEN: the journal beside the file cannot be made
            return QStringLiteral("Die Datenbank oder ihr Ordner ist schreibgeschützt; Änderungen "
                                  "können nicht gespeichert werden.");
        case 13: // SQLITE_FULL
            return QStringLiteral("Der Datenträger ist voll; die Datenbank kann nicht wachsen.");
        case 11: // SQLITE_CORRUPT
        case 26: // SQLITE_NOTADB
            return QStringLiteral("Die Datenbankdatei ist beschädigt oder keine Datenbank des "
                                  "Terminplaners.");
        default:
            break;
        }
    }
    return QStringLiteral("Datenbankfehler: %1").arg(sqlText(error));
}

QString notOurs(const QString &path)
{
    return QStringLiteral("Die Datei „%1“ ist keine Datenbank des Terminplaners; sie wird nicht "
                          "verändert.")
        .arg(path);
}

// Every SQLite database starts with this header; anything else is not handed to SQLite, which
// would take an empty or foreign file as a new database and write into it.
bool isSqliteFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArray("SQLite format 3", 16);
}

// Without write permission for anyone, the file is meant to be read-only, also for the
// administrator, whom the system would let write anyway.
bool isReadOnlyFile(const QFileInfo &info)
{
    // WriteUser is left out: it answers for the current user, who may be the administrator.
    const QFile::Permissions writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !info.isWritable() || !(info.permissions() & writable)
           || !QFileInfo(info.absolutePath()).isWritable();
}

bool isPostgresUrl(const QString &location)
{
    return location.startsWith(QLatin1String("postgresql://")) || location.startsWith(QLatin1String("postgres://"));
}

} // namespace

const char kOwnProductId[] = "-//Dayplex//Terminplaner//DE";

QString newAppointmentUid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral("@terminplaner");
}

bool touchesDays(const Appointment &a, Dayplex::Date firstDay, Dayplex::Date lastDay)
{
    const double from = std::floor(firstDay);
    const double toExclusive = std::floor(lastDay) + 1.0;
    const double end = std::max(a.end, a.start);
    // An all-day end is the midnight of its last day, which it covers completely.
    const double effectiveEnd = a.allDay ? std::floor(end) + 1.0 : end;
    return a.start < toExclusive && (effectiveEnd > from || a.start >= from);
}

Database::Database()
    : m_connection(QStringLiteral("terminplaner-%1").arg(connectionCounter.fetch_add(1))),
      m_prepared(std::make_unique<PreparedStatements>())
{
}

Database::~Database()
{
    delete m_listener;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen())
            db.close();
    }
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
}

QString Database::toSqlDateTime(Dayplex::Date value)
{
    // Date and time separately: a trip through QDateTime would shift times in a DST gap.
    const QDate date = Dayplex::toQDate(value);
    const QTime time = Dayplex::toQTime(value);
    if (!date.isValid() || !time.isValid())
        throw DatabaseError(QStringLiteral("Ungültiges Datum: %1").arg(value));
    return date.toString(Qt::ISODate) + QLatin1Char('T') + time.toString(QStringLiteral("HH:mm:ss"));
}

Dayplex::Date Database::fromSqlDateTime(const QString &text)
{
    const std::optional<Dayplex::Date> value = parseSqlDateTime(text);
    if (!value)
        throw DatabaseError(QStringLiteral("Ungültiges Datum in der Datenbank: „%1“").arg(text));
    return *value;
}

void Database::open(const QString &location, QDate seedAnchor)
{
    m_path = location;
    m_seeded = false;
    m_readOnly = false;
    m_postgres = isPostgresUrl(location);
    const QDate anchor = seedAnchor.isValid() ? seedAnchor : QDate::currentDate();
    if (m_postgres)
        openPostgres(location, anchor);
    else
        openSqlite(location, anchor);
}

void Database::openSqlite(const QString &path, QDate seedAnchor)
{
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(path);
    // A folder is never made here: a mistyped path would otherwise end in a new, seeded file.
    if (!info.absoluteDir().exists())
        throw DatabaseError(QStringLiteral("Der Ordner „%1“ existiert nicht; die Datenbank wird "
                                           "nicht angelegt.")
                                .arg(QDir::toNativeSeparators(info.absolutePath())));
    const bool exists = info.exists();
    if (exists && !isSqliteFile(path))
        throw DatabaseError(notOurs(shown));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        throw DatabaseError(QStringLiteral("Der SQLite-Treiber von Qt ist nicht installiert."));
    m_readOnly = exists && isReadOnlyFile(info);

    QSqlDatabase db = connection(QStringLiteral("QSQLITE"));
    db.setDatabaseName(info.absoluteFilePath());
    // Waits for a lock of another program instead of failing at once.
    db.setConnectOptions(m_readOnly ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000;QSQLITE_OPEN_READONLY")
                                    : QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open())
        throw DatabaseError(QStringLiteral("Die Datenbank „%1“ kann nicht geöffnet werden: %2")
                                .arg(shown, sqlText(db.lastError())));

    QSqlQuery pragma(db);
    pragma.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    // A week of a large team reads rows from all over the file; SQLite's own 2 MB would
    // read most of them again from the system on every refresh.
    pragma.exec(QStringLiteral("PRAGMA cache_size = -32768"));
    // Pages read from the mapped file, not copied into that cache first: a hundred days of a
    // large team are thousands of pages.
    pragma.exec(QStringLiteral("PRAGMA mmap_size = 1073741824"));

    try {
        if (exists)
            checkExisting();
        else
            prepareSchema(true, seedAnchor);
    } catch (const DatabaseError &) {
        db.close();
        // Only a file this call created goes again; nothing else is touched.
        if (!exists)
            QFile::remove(info.absoluteFilePath());
        throw;
    }
}

// Reads first: a file of another program stays byte for byte as it was. Only a Terminplaner
// database of an older schema is written, by the steps that bring it up to date.
void Database::checkExisting()
{
    QSqlQuery tables = prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    exec(tables);
    QStringList names;
    while (tables.next())
        names.append(tables.value(0).toString());
    for (const char *table : {"settings", "participants", "appointments", "appointment_changes"})
        if (!names.contains(QLatin1String(table)))
            throw DatabaseError(notOurs(QDir::toNativeSeparators(m_path)));
    const QString version = setting(QStringLiteral("schema_version"));
    if (version.isEmpty())
        throw DatabaseError(notOurs(QDir::toNativeSeparators(m_path)));
    if (version.toInt() > kSchemaVersion)
        throw DatabaseError(QStringLiteral("Die Datenbank stammt von einer neueren Version des "
                                           "Terminplaners (Schema %1).")
                                .arg(version));
    if (version.toInt() < kSchemaVersion) {
        if (m_readOnly)
            throw DatabaseError(QStringLiteral("Die Datenbank „%1“ stammt von einer älteren Version des "
                                               "Terminplaners und ist schreibgeschützt; sie kann erst "
                                               "nach einer Aktualisierung geöffnet werden.")
                                    .arg(QDir::toNativeSeparators(m_path)));
        prepareSchema(false, QDate());
    }
}

void Database::openPostgres(const QString &location, QDate seedAnchor)
{
    const QUrl url(location, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || url.path().size() < 2)
        throw DatabaseError(QStringLiteral("Die Adresse „%1“ ist keine PostgreSQL-Adresse der Form "
                                           "postgresql://benutzer@rechner:port/datenbank.")
                                .arg(location));
    // A password in the address would show in the process list and the shell's history.
    if (!url.password().isEmpty())
        throw DatabaseError(QStringLiteral("Das Passwort gehört nicht in die Adresse; es wird aus "
                                           "PGPASSWORD oder ~/.pgpass gelesen."));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        throw DatabaseError(QStringLiteral("Der PostgreSQL-Treiber von Qt (libqt6sql6-psql) ist "
                                           "nicht installiert."));
    m_path = url.toString(QUrl::RemovePassword);
    QSqlDatabase db = connection(QStringLiteral("QPSQL"));
    db.setHostName(url.host());
    db.setPort(url.port(5432));
    db.setDatabaseName(url.path().mid(1));
    if (!url.userName().isEmpty())
        db.setUserName(url.userName());
    // libpq itself takes the password from PGPASSWORD or ~/.pgpass when none is set here.
    // No JIT: a range read of many OR-ed index ranges looks costly enough to the planner that
    // it would compile it, which takes longer than the read itself.
    db.setConnectOptions(QStringLiteral("connect_timeout=3;application_name=Terminplaner;options=-cjit=off"));
    if (!db.open())
        throw DatabaseError(QStringLiteral("Die Datenbank „%1“ kann nicht geöffnet werden: %2")
                                .arg(m_path, sqlText(db.lastError())));
    prepareSchema(true, seedAnchor);
}

QSqlDatabase Database::connection(const QString &driver)
{
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.driverName() == driver)
            return db;
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
    }
    return QSqlDatabase::addDatabase(driver, m_connection);
}

QString Database::errorText(const QSqlError &error) const
{
    const QString text = m_postgres ? postgresText(error) : sqliteText(error);
    if (text == kConnectionLost)
        m_connectionLost = true;
    return text;
}

bool Database::isOpen() const
{
    return QSqlDatabase::database(m_connection, false).isOpen();
}

QSqlQuery Database::prepare(const QString &sql) const
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isOpen())
        throw DatabaseError(QStringLiteral("Die Datenbank ist nicht geöffnet."));
    QSqlQuery query(db);
    if (!query.prepare(sql))
        throw DatabaseError(errorText(query.lastError()));
    return query;
}

// Schema statements: PostgreSQL cannot prepare them.
void Database::execDirect(const QString &sql) const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(sql))
        throw DatabaseError(errorText(query.lastError()));
}

void Database::exec(QSqlQuery &query) const
{
    if (!query.exec())
        throw DatabaseError(errorText(query.lastError()));
}

namespace {

// One step of the schema for both servers; a database records the last step it has in its
// settings. The tables are the same, only the spelling of generated keys and of date arithmetic
// differs: {key} and {id} stand for the keys, {days} for the whole days from an appointment's
// start to its end, and a step whose PostgreSQL list is empty runs the same statements there,
// unless it is SQLite's alone.
struct Migration
{
    int version;
    QVector<const char *> sqlite;
    QVector<const char *> postgres;
    bool sqliteOnly = false;
};

// Appointments are kept in classes of their length in whole days, each class as long again as
// the one before: a range query reads, per class, only the rows that start at most the class's
// longest span before the range, so that one long appointment never makes every read wide.
constexpr int kTopSpanClass = 16; // 32,768 days and longer

int spanClass(int spanDays)
{
    int cls = 0;
    while (cls < kTopSpanClass && spanDays >= (1 << cls))
        ++cls;
    return cls;
}

// The longest span in days of a class; the top class has no bound.
double classSpan(int cls)
{
    return cls == kTopSpanClass ? Dayplex::kMaxDate - Dayplex::kMinDate : double((1 << cls) - 1);
}

// spanClass() in SQL, for the rows stored before the classes.
QString spanClassSql()
{
    QString sql = QStringLiteral("CASE");
    for (int cls = 0; cls < kTopSpanClass; ++cls)
        sql += QStringLiteral(" WHEN span_days < %1 THEN %2").arg(1 << cls).arg(cls);
    return sql + QStringLiteral(" ELSE %1 END").arg(kTopSpanClass);
}

QString dialectSql(const char *sql, bool postgres)
{
    return QString::fromLatin1(sql)
        .replace(QLatin1String("{key}"), postgres ? QLatin1String("BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY")
                                                 : QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT"))
        .replace(QLatin1String("{id}"), postgres ? QLatin1String("BIGINT") : QLatin1String("INTEGER"))
        .replace(QLatin1String("{class}"), spanClassSql())
        .replace(QLatin1String("{days}"), postgres ? QLatin1String("(substr(\"end\", 1, 10)::date - substr(start, 1, 10)::date)")
                                                   : QLatin1String("CAST(julianday(substr(\"end\", 1, 10)) - julianday(substr(start, 1, 10)) AS INTEGER)"));
}

const QVector<Migration> &migrations()
{
    static const QVector<Migration> steps = {
        {1,
         {"CREATE TABLE IF NOT EXISTS settings ("
          " key TEXT PRIMARY KEY, value TEXT NOT NULL)",
          "CREATE TABLE IF NOT EXISTS participants ("
          " id INTEGER PRIMARY KEY, name TEXT NOT NULL, role TEXT NOT NULL DEFAULT '')",
          "CREATE TABLE IF NOT EXISTS appointments ("
          " id {key},"
          " text TEXT NOT NULL,"
          " start TEXT NOT NULL,"
          " \"end\" TEXT NOT NULL,"
          " all_day INTEGER NOT NULL DEFAULT 0,"
          " font_color INTEGER NOT NULL DEFAULT 0,"
          " back_color INTEGER NOT NULL DEFAULT 16777215,"
          " done INTEGER NOT NULL DEFAULT 0,"
          " read_only INTEGER NOT NULL DEFAULT 0,"
          " participant_id INTEGER NOT NULL REFERENCES participants(id),"
          " note INTEGER NOT NULL DEFAULT 0)",
          "CREATE INDEX IF NOT EXISTS appointments_start ON appointments(start)",
          "CREATE TABLE IF NOT EXISTS appointment_changes ("
          " id {key},"
          " appointment_id {id} NOT NULL,"
          " changed_at TEXT NOT NULL,"
          " old_start TEXT NOT NULL, old_end TEXT NOT NULL,"
          " new_start TEXT NOT NULL, new_end TEXT NOT NULL)"},
         {}},
        // The key of an appointment in calendar exchange, given to the stored ones here.
        {2,
         {"ALTER TABLE appointments ADD COLUMN uid TEXT",
          "UPDATE appointments SET uid = lower(hex(randomblob(16))) || '@terminplaner'"
          " WHERE uid IS NULL",
          "CREATE UNIQUE INDEX appointments_uid ON appointments(uid)"},
         {"ALTER TABLE appointments ADD COLUMN uid TEXT",
          "UPDATE appointments SET uid = gen_random_uuid()::text || '@terminplaner' WHERE uid IS NULL",
          "CREATE UNIQUE INDEX appointments_uid ON appointments(uid)"}},
        // A counter per row, so that a desk never overwrites what another desk saved meanwhile.
        {3,
         {"ALTER TABLE appointments ADD COLUMN version INTEGER NOT NULL DEFAULT 1"},
         {}},
        // Meetings as one row with several participants, and series: the rule and its lists,
        // the changed occurrences' own rows, and the series' last end (NULL: none), so that a
        // range query expands only the series that can touch it.
        {4,
         {"CREATE TABLE appointment_participants ("
          " appointment_id {id} NOT NULL REFERENCES appointments(id) ON DELETE CASCADE,"
          " participant_id INTEGER NOT NULL REFERENCES participants(id),"
          " seq INTEGER NOT NULL,"
          " PRIMARY KEY (appointment_id, participant_id))",
          "INSERT INTO appointment_participants (appointment_id, participant_id, seq)"
          " SELECT id, participant_id, 0 FROM appointments",
          "CREATE INDEX appointment_participants_participant ON appointment_participants(participant_id)",
          "ALTER TABLE appointments ADD COLUMN rrule TEXT NOT NULL DEFAULT ''",
          "ALTER TABLE appointments ADD COLUMN rdates TEXT NOT NULL DEFAULT ''",
          "ALTER TABLE appointments ADD COLUMN exdates TEXT NOT NULL DEFAULT ''",
          "ALTER TABLE appointments ADD COLUMN series_id {id} REFERENCES appointments(id) ON DELETE CASCADE",
          "ALTER TABLE appointments ADD COLUMN recurrence_start TEXT",
          "ALTER TABLE appointments ADD COLUMN series_end TEXT",
          "CREATE INDEX appointments_series ON appointments(series_end) WHERE rrule <> '' OR rdates <> ''",
          "CREATE INDEX appointments_overrides ON appointments(series_id, recurrence_start)",
          // The longest appointment bounds how far before a range a row can start that reaches it.
          "ALTER TABLE appointments ADD COLUMN span_days INTEGER NOT NULL DEFAULT 0",
          "UPDATE appointments SET span_days = {days}",
          "CREATE INDEX appointments_span ON appointments(span_days)",
          // A changed occurrence keeps the UID of its series, told apart by its start.
          "DROP INDEX appointments_uid",
          "CREATE UNIQUE INDEX appointments_uid ON appointments(uid, coalesce(recurrence_start, ''))"},
         {}},
        // The calendar an imported row came from: a UID is unique only within it. The rows
        // stored so far are this program's own (empty).
        {5,
         {"ALTER TABLE appointments ADD COLUMN source TEXT NOT NULL DEFAULT ''",
          "DROP INDEX appointments_uid",
          "CREATE UNIQUE INDEX appointments_uid ON appointments(source, uid, coalesce(recurrence_start, ''))"},
         {}},
        // Range queries bounded on both sides: the class of the row's length, then its start.
        {6,
         {"ALTER TABLE appointments ADD COLUMN span_class INTEGER NOT NULL DEFAULT 0",
          "UPDATE appointments SET span_class = {class}",
          "DROP INDEX IF EXISTS appointments_span",
          "DROP INDEX IF EXISTS appointments_start",
          "CREATE INDEX appointments_range ON appointments(span_class, start)"},
         {}},
        // A meeting's seats on its row too, so that a range read joins nothing: most rows
        // have one participant, and the join was a third of a read of a large team's months.
        {7,
         {"ALTER TABLE appointments ADD COLUMN seats TEXT NOT NULL DEFAULT ''",
          "UPDATE appointments SET seats = (SELECT group_concat(participant_id) FROM (SELECT participant_id"
          " FROM appointment_participants p WHERE p.appointment_id = appointments.id ORDER BY seq))"
          " WHERE id IN (SELECT appointment_id FROM appointment_participants GROUP BY appointment_id"
          " HAVING count(*) > 1)"},
         {"ALTER TABLE appointments ADD COLUMN seats TEXT NOT NULL DEFAULT ''",
          "UPDATE appointments SET seats = s.list FROM (SELECT appointment_id,"
          " string_agg(participant_id::text, ',' ORDER BY seq) AS list FROM appointment_participants"
          " GROUP BY appointment_id HAVING count(*) > 1) s WHERE s.appointment_id = appointments.id"}},
        // What a view shows, in an index that leads as the one it replaces: SQLite answers a
        // view's range read from the index alone, where it looked up the row behind every entry
        // (about a third of its work for a quarter of a large team). A server plans its reads its
        // own way and keeps its index.
        {8,
         {"CREATE INDEX appointments_shown ON appointments(span_class, start, \"end\", rrule, rdates, text, all_day,"
          " font_color, back_color, done, read_only, participant_id, note, version, series_id, recurrence_start, seats)",
          "DROP INDEX appointments_range"},
         {},
         true},
    };
    return steps;
}

} // namespace

// One transaction for the schema steps and the demo data: a second desk that starts on the
// same new server database at the same moment waits and then finds both in place.
void Database::prepareSchema(bool seedNew, QDate seedAnchor)
{
    const int latest = kSchemaVersion;
    Q_ASSERT(migrations().last().version == kSchemaVersion);
    Transaction transaction(*this);
    const auto statements = [this](const Migration &step) {
        if (m_postgres && step.sqliteOnly)
            return QVector<const char *>();
        return m_postgres && !step.postgres.isEmpty() ? step.postgres : step.sqlite;
    };
    bool hasSettings = false;
    if (m_postgres) {
        QSqlQuery lock = prepare(QStringLiteral("SELECT pg_advisory_xact_lock(20260329)"));
        exec(lock);
        // Only an empty database or one of ours: tables of another program stay untouched.
        QSqlQuery probe = prepare(QStringLiteral(
            "SELECT to_regclass('settings') IS NOT NULL, (SELECT count(*) FROM information_schema.tables"
            " WHERE table_schema = current_schema())"));
        exec(probe);
        probe.next();
        hasSettings = probe.value(0).toBool();
        if (!hasSettings && probe.value(1).toInt() > 0)
            throw DatabaseError(QStringLiteral("Die Datenbank „%1“ enthält Tabellen eines anderen "
                                               "Programms und ist keine Datenbank des Terminplaners; "
                                               "sie wird nicht verändert.")
                                    .arg(m_path));
        seedNew = !hasSettings;
    }
    // The settings table itself comes with the first step.
    if (!hasSettings)
        execDirect(dialectSql(statements(migrations().first()).first(), m_postgres));
    const QString stored = setting(QStringLiteral("schema_version"));
    if (m_postgres && hasSettings && stored.isEmpty())
        throw DatabaseError(QStringLiteral("Die Datenbank „%1“ ist keine Datenbank des Terminplaners; "
                                           "sie wird nicht verändert.")
                                .arg(m_path));
    const int current = stored.isEmpty() ? 0 : stored.toInt();
    if (current > latest)
        throw DatabaseError(QStringLiteral("Die Datenbank stammt von einer neueren Version des "
                                           "Terminplaners (Schema %1).")
                                .arg(stored));
    for (const Migration &step : migrations()) {
        if (step.version <= current)
            continue;
        const QVector<const char *> sqls = statements(step);
        // The first statement of all, the settings table, has run above.
        for (qsizetype i = &step == &migrations().first() ? 1 : 0; i < sqls.size(); ++i)
            execDirect(dialectSql(sqls.at(i), m_postgres));
    }
    if (current != latest)
        setSetting(QStringLiteral("schema_version"), QString::number(latest));
    if (seedNew) {
        seed(seedAnchor);
        m_seeded = true;
    }
    transaction.commit();
}

void Database::seed(QDate anchor)
{
    const SeedData data = makeSeedData(anchor);
    for (const Participant &p : data.participants) {
        QSqlQuery query = prepare(
            QStringLiteral("INSERT INTO participants (id, name, role) VALUES (?, ?, ?)"));
        query.addBindValue(p.id);
        query.addBindValue(p.name);
        query.addBindValue(p.role);
        exec(query);
    }
    for (const Appointment &a : data.appointments)
        insertRow(a);
    setSetting(QStringLiteral("seeded"), anchor.toString(Qt::ISODate));
}

QVector<Participant> Database::participants() const
{
    // Read on every refresh of a view: in one exchange with a server, not Qt's three.
    const std::unique_ptr<RowReader> rows = rowsOf({QStringLiteral("SELECT id, name, role FROM participants ORDER BY id"), {}});
    QVector<Participant> result;
    while (rows->next())
        result.append({int(rows->number(0)), rows->text(1), rows->text(2)});
    return result;
}

std::optional<Participant> Database::participant(int id) const
{
    const std::unique_ptr<RowReader> rows = rowsOf({QStringLiteral("SELECT id, name, role FROM participants WHERE id = ?"), {id}});
    if (!rows->next())
        return std::nullopt;
    return Participant{int(rows->number(0)), rows->text(1), rows->text(2)};
}

namespace {

// The rows of the condition, each with its seats.
QString rowsWhere(const QString &condition, RowContent content = RowContent::Whole)
{
    return QStringLiteral("SELECT %1 FROM appointments WHERE %2").arg(rowColumns(content), condition);
}

QString dateList(const QList<Dayplex::Date> &dates)
{
    QStringList parts;
    for (Dayplex::Date d : dates)
        parts.append(Database::toSqlDateTime(d));
    return parts.join(QLatin1Char(','));
}

// An empty text, never NULL: the list columns have none.
QString text(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

int spanDays(Dayplex::Date start, Dayplex::Date end)
{
    return int(std::floor(end) - std::floor(start));
}

QVariant nullableDate(Dayplex::Date value)
{
    return value == 0 ? QVariant(QMetaType::fromType<QString>()) : QVariant(Database::toSqlDateTime(value));
}

} // namespace

QList<int> Appointment::allParticipants() const
{
    if (participantIds.isEmpty())
        return {participantId};
    if (participantIds.first() == participantId)
        return participantIds;
    QList<int> all = participantIds;
    // participantId leads, as the comment of the field promises.
    if (participantId != 0 && all.removeAll(participantId) > 0)
        all.prepend(participantId);
    return all;
}

std::optional<Appointment> Database::firstRow(const Statement &statement) const
{
    const std::unique_ptr<RowReader> rows = rowsOf(statement);
    if (!rows->next())
        return std::nullopt;
    return readRow(*rows);
}

namespace {

// Days of single appointments per part of a read: a week comes in one part, a quarter in
// eight, each sorted on its own while the server sends the next.
constexpr double kDaysPerPart = 14;

// The single appointments and changed occurrences that can reach the days from..toExclusive
// and start in partFrom..partTo: per class of length, by a coarse text comparison; the exact
// day rule is touchesDays(). SQLite reads the classes one after the other, each in the order
// of its index: as one condition joined with OR it would note every row it found so as not
// to return it twice, which cost a quarter of its work. The server's plan of the OR, one
// bitmap of all classes, costs it less than reads of each.
Database::Statement singlesRead(double from, double toExclusive, double partFrom, double partTo, RowContent content,
                                bool postgres)
{
    Database::Statement singles;
    QStringList classes;
    const QString fromText = Database::toSqlDateTime(from);
    // Either end on or after the first day; SQLite's max() would copy both texts per row.
    const QLatin1String reaches("(\"end\" >= ? OR start >= ?) AND rrule = '' AND rdates = ''");
    for (int cls = 0; cls <= kTopSpanClass; ++cls) {
        const QString inClass = QStringLiteral("span_class = %1 AND start >= ? AND start < ?").arg(cls);
        classes.append(postgres ? QStringLiteral("(%1)").arg(inClass) : rowsWhere(inClass + QLatin1String(" AND ") + reaches, content));
        // A day more: an all-day end is the midnight of the last day it covers.
        const double reach = std::max(Dayplex::kMinDate, from - 1.0 - classSpan(cls));
        const double to = std::min(toExclusive, partTo);
        singles.values << Database::toSqlDateTime(std::min(std::max(reach, partFrom), to)) << Database::toSqlDateTime(to);
        if (!postgres)
            singles.values << fromText << fromText;
    }
    if (!postgres) {
        singles.sql = classes.join(QLatin1String(" UNION ALL "));
        return singles;
    }
    singles.sql = rowsWhere(QStringLiteral("(%1) AND %2").arg(classes.join(QLatin1String(" OR ")), reaches), content);
    singles.values << fromText << fromText;
    return singles;
}

// Where the parts of a read of the single appointments after the first begin.
std::vector<Dayplex::Date> singlesPartStarts(Dayplex::Date firstDay, Dayplex::Date lastDay)
{
    const double toExclusive = std::floor(lastDay) + 1.0;
    std::vector<Dayplex::Date> starts;
    // The first part takes the long ones that begin before the days, too.
    for (double partFrom = std::floor(firstDay) + kDaysPerPart; partFrom < toExclusive; partFrom += kDaysPerPart)
        starts.push_back(partFrom);
    return starts;
}

} // namespace

QVector<Database::Statement> Database::singlesInParts(Dayplex::Date firstDay, Dayplex::Date lastDay,
                                                     RowContent content) const
{
    const double from = std::floor(firstDay);
    const double toExclusive = std::floor(lastDay) + 1.0;
    QVector<Statement> parts;
    double partFrom = Dayplex::kMinDate;
    for (Dayplex::Date partTo : singlesPartStarts(firstDay, lastDay)) {
        parts.append(singlesRead(from, toExclusive, partFrom, partTo, content, m_postgres));
        partFrom = partTo;
    }
    parts.append(singlesRead(from, toExclusive, partFrom, toExclusive, content, m_postgres));
    return parts;
}

QVector<Database::Statement> Database::daysStatements(Dayplex::Date firstDay, Dayplex::Date lastDay,
                                                     RowContent content) const
{
    const double from = std::floor(firstDay);
    const double toExclusive = std::floor(lastDay) + 1.0;
    return QVector<Statement>{singlesRead(from, toExclusive, Dayplex::kMinDate, toExclusive, content, m_postgres)}
        + seriesStatements(firstDay, lastDay);
}

QVector<Database::Statement> Database::seriesStatements(Dayplex::Date firstDay, Dayplex::Date lastDay) const
{
    const double from = std::floor(firstDay);
    const double toExclusive = std::floor(lastDay) + 1.0;
    // The series that can touch the days, and the occurrences of theirs that have rows of
    // their own, wherever those were moved to. Two halves, so that both go through the index
    // of the series' ends.
    const QString seriesIds = QStringLiteral(
        "SELECT id FROM appointments WHERE (rrule <> '' OR rdates <> '') AND series_end >= ? AND start < ?"
        " UNION ALL SELECT id FROM appointments WHERE (rrule <> '' OR rdates <> '') AND series_end IS NULL"
        " AND start < ?");
    const QVariantList range{toSqlDateTime(from), toSqlDateTime(toExclusive), toSqlDateTime(toExclusive)};
    return {{QStringLiteral("SELECT series_id, recurrence_start FROM appointments WHERE series_id IN (%1)")
                 .arg(seriesIds),
             range},
            {rowsWhere(QStringLiteral("id IN (%1)").arg(seriesIds)),
             range}};
}

namespace {

// Qt's query of a read that neither SQLite nor libpq take directly.
class HeldQueryRows : public QueryRowReader
{
public:
    explicit HeldQueryRows(QSqlQuery query) : QueryRowReader(m_held), m_held(std::move(query)) {}

private:
    QSqlQuery m_held;
};

// The rows of parts read one after the other.
class PartRows : public RowReader
{
public:
    using Open = std::function<std::unique_ptr<RowReader>(const Database::Statement &)>;
    PartRows(Open open, QVector<Database::Statement> parts) : m_open(std::move(open)), m_parts(std::move(parts)) {}

    bool next() override
    {
        while (!m_rows || !m_rows->next()) {
            if (m_next == m_parts.size())
                return false;
            m_rows.reset(); // the last rows go first: a server's unread ones would hold the connection
            m_rows = m_open(m_parts.at(m_next++));
        }
        return true;
    }
    bool isNull(int column) const override { return m_rows->isNull(column); }
    qint64 number(int column) const override { return m_rows->number(column); }
    QString text(int column) const override { return m_rows->text(column); }
    Dayplex::Date dateTime(int column) const override { return m_rows->dateTime(column); }

private:
    Open m_open;
    QVector<Database::Statement> m_parts;
    qsizetype m_next = 0;
    std::unique_ptr<RowReader> m_rows;
};

} // namespace

std::unique_ptr<RowReader> Database::rowsOf(const Statement &statement) const
{
    return rowsOf(QVector<Statement>{statement});
}

std::unique_ptr<RowReader> Database::rowsOf(const QVector<Statement> &parts) const
{
    std::vector<std::unique_ptr<RowReader>> rows = rowsOf(QVector<QVector<Statement>>{parts});
    return std::move(rows.front());
}

std::vector<std::unique_ptr<RowReader>> Database::rowsOf(const QVector<QVector<Statement>> &reads) const
{
    const QSqlDatabase connection = QSqlDatabase::database(m_connection, false);
    if (!connection.isOpen())
        throw DatabaseError(QStringLiteral("Die Datenbank ist nicht geöffnet."));
    const auto text = [this](const QSqlError &error) { return errorText(error); };
    const auto heard = [this](const QString &channel, bool own, const QString &payload) {
        if (!m_listener)
            return;
        // Handled after the read, as the driver's own notices are.
        QMetaObject::invokeMethod(
            m_listener, [this, channel, own, payload] { hear(channel, own, payload); }, Qt::QueuedConnection);
    };
    std::vector<std::unique_ptr<RowReader>> rows;
    if (m_postgres)
        rows = postgresRows(connection, reads, text, heard, *m_prepared);
    if (!rows.empty())
        return rows;
    const auto one = [this, connection, text](const Statement &statement) -> std::unique_ptr<RowReader> {
        if (std::unique_ptr<RowReader> direct = m_postgres ? nullptr : sqliteRows(connection, statement, text))
            return direct;
        return std::make_unique<HeldQueryRows>(run(statement));
    };
    for (const QVector<Statement> &parts : reads) {
        // SQLite's statement waits for its first step; Qt's query runs at once, so a part
        // that follows another is opened at its first row, when the one before is read.
        const bool atOnce = parts.size() == 1 && (reads.size() == 1 || !m_postgres);
        rows.push_back(atOnce ? one(parts.first()) : std::make_unique<PartRows>(one, parts));
    }
    return rows;
}

QSqlQuery Database::run(const Statement &statement) const
{
    QSqlQuery query = prepare(statement.sql);
    // Read once, in order: nothing kept for going back.
    query.setForwardOnly(true);
    for (const QVariant &value : statement.values)
        query.addBindValue(value);
    exec(query);
    return query;
}

QVector<Appointment> Database::appointmentsInDays(Dayplex::Date firstDay, Dayplex::Date lastDay,
                                                  const QList<int> &participantIds, RowContent content) const
{
    QVector<Appointment> result;
    result.reserve(qsizetype(m_shownPerDay * (std::floor(lastDay) + 1.0 - std::floor(firstDay)) * 1.25));
    forEachInDays(firstDay, lastDay, participantIds, content, [&result](Appointment &&a) { result.append(std::move(a)); });
    return result;
}

void Database::forEachInDays(Dayplex::Date firstDay, Dayplex::Date lastDay, const QList<int> &participantIds,
                             RowContent content, const std::function<void(Appointment &&)> &take) const
{
    if (!Dayplex::isValidDate(firstDay) || !Dayplex::isValidDate(lastDay) || lastDay < firstDay)
        throw DatabaseError(QStringLiteral("Ungültiger Zeitraum."));
    const double from = std::floor(firstDay);
    const double toExclusive = std::floor(lastDay) + 1.0;
    // Sorted, so that a large team's rows find their participants quickly.
    std::vector<int> askedIds(participantIds.begin(), participantIds.end());
    std::sort(askedIds.begin(), askedIds.end());
    const auto asked = [&askedIds](const Appointment &a) {
        if (askedIds.empty())
            return true;
        return std::any_of(a.participantIds.begin(), a.participantIds.end(),
                           [&askedIds](int id) { return std::binary_search(askedIds.begin(), askedIds.end(), id); });
    };
    // The series go first: their occurrences are worked out here while the server still
    // sends the single rows, which are most of them.
    const QVector<Statement> series = seriesStatements(firstDay, lastDay);
    const std::vector<std::unique_ptr<RowReader>> reads =
        rowsOf(QVector<QVector<Statement>>{{series.at(0)}, {series.at(1)}, singlesInParts(firstDay, lastDay, content)});
    QHash<qint64, QList<Dayplex::Date>> overridden;
    for (RowReader &changed = *reads[0]; changed.next();)
        overridden[changed.number(0)].append(changed.dateTime(1));

    QVector<Appointment> occurrences;
    for (const Appointment &master : readRows(*reads[1])) {
        if (!asked(master))
            continue;
        QVector<Dayplex::Date> starts;
        try {
            // A day before: an all-day occurrence ends at the midnight of a day it covers.
            starts = occurrenceStarts(seriesPattern(master), from - 1.0, toExclusive);
        } catch (const RecurrenceError &error) {
            qWarning("terminplaner: series %lld not shown: %s", master.id, error.what());
            continue;
        }
        const QList<Dayplex::Date> own = overridden.value(master.id);
        for (Dayplex::Date start : starts) {
            if (std::any_of(own.begin(), own.end(),
                            [start](Dayplex::Date d) { return std::abs(d - start) < Dayplex::kOneSecond / 2; }))
                continue;
            Appointment occurrence = master;
            occurrence.start = start;
            occurrence.end = start + (master.end - master.start);
            occurrence.seriesId = master.id;
            occurrence.recurrenceStart = start;
            if (touchesDays(occurrence, firstDay, lastDay))
                occurrences.append(occurrence);
        }
    }

    qsizetype shown = 0;
    StartOrder order(std::move(occurrences), singlesPartStarts(firstDay, lastDay), [&take, &shown](Appointment &&a) {
        ++shown;
        take(std::move(a));
    });
    SharedValues shared;
    for (RowReader &singles = *reads[2]; singles.next();) {
        Appointment a = readRow(singles, shared, content);
        if (asked(a) && touchesDays(a, firstDay, lastDay))
            order.add(std::move(a));
    }
    order.finish();
    m_shownPerDay = double(shown) / (toExclusive - from);
}

std::optional<Appointment> Database::appointment(qint64 id) const
{
    return firstRow({rowsWhere(QStringLiteral("id = ?")), {id}});
}

std::optional<Appointment> Database::overrideAt(qint64 seriesId, Dayplex::Date recurrenceStart) const
{
    return firstRow({rowsWhere(QStringLiteral("series_id = ? AND recurrence_start = ?")),
                     {seriesId, toSqlDateTime(recurrenceStart)}});
}

QVector<Appointment> Database::overridesOf(qint64 seriesId) const
{
    return readRows(*rowsOf({rowsWhere(QStringLiteral("series_id = ? ORDER BY recurrence_start")), {seriesId}}));
}

QVector<Appointment> Database::rowsOfCalendar(const QString &source) const
{
    return readRows(*rowsOf({rowsWhere(QStringLiteral("source = ?")), {source}}));
}

int Database::appointmentCount() const
{
    const std::unique_ptr<RowReader> rows = rowsOf({QStringLiteral("SELECT count(*) FROM appointments"), {}});
    return rows->next() ? int(rows->number(0)) : 0;
}

int Database::journalCount() const
{
    const std::unique_ptr<RowReader> rows = rowsOf({QStringLiteral("SELECT count(*) FROM appointment_changes"), {}});
    return rows->next() ? int(rows->number(0)) : 0;
}

static void validate(const Appointment &a)
{
    if (a.text.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("Der Termin hat keinen Betreff."));
    if (!Dayplex::isValidDate(a.start) || !Dayplex::isValidDate(a.end))
        throw DatabaseError(QStringLiteral("Beginn oder Ende des Termins ist ungültig."));
    if (a.end < a.start)
        throw DatabaseError(QStringLiteral("Das Ende des Termins liegt vor seinem Beginn."));
    if (a.isSeries()) {
        try {
            seriesLastEnd(seriesPattern(a));
        } catch (const RecurrenceError &error) {
            throw DatabaseError(QStringLiteral("Die Wiederholung des Termins „%1“ ist ungültig: %2")
                                    .arg(a.text, error.message()));
        }
    }
}

namespace {

QList<int> distinctSeats(const QList<int> &participantIds)
{
    QList<int> seats;
    for (int participant : participantIds)
        if (!seats.contains(participant))
            seats.append(participant);
    return seats;
}

// The stored fields in the order both INSERT and UPDATE name them.
void bindFields(QSqlQuery &query, const Appointment &a)
{
    query.addBindValue(a.text);
    query.addBindValue(Database::toSqlDateTime(a.start));
    query.addBindValue(Database::toSqlDateTime(a.end));
    query.addBindValue(a.allDay ? 1 : 0);
    query.addBindValue(a.fontColor);
    query.addBindValue(a.backColor);
    query.addBindValue(a.done ? 1 : 0);
    query.addBindValue(a.readOnly ? 1 : 0);
    query.addBindValue(a.allParticipants().first());
    query.addBindValue(a.note ? 1 : 0);
    query.addBindValue(text(a.rrule));
    query.addBindValue(text(dateList(a.rdates)));
    query.addBindValue(text(dateList(a.exdates)));
    query.addBindValue(a.seriesId == 0 ? QVariant(QMetaType::fromType<qint64>()) : QVariant(a.seriesId));
    query.addBindValue(nullableDate(a.seriesId == 0 ? 0 : a.recurrenceStart));
    query.addBindValue(nullableDate(a.isSeries() ? seriesLastEnd(seriesPattern(a)) : 0));
    query.addBindValue(spanDays(a.start, a.end));
    query.addBindValue(spanClass(spanDays(a.start, a.end)));
    query.addBindValue(seatsText(distinctSeats(a.allParticipants())));
}

const char kFieldNames[] = "text = ?, start = ?, \"end\" = ?, all_day = ?, font_color = ?,"
                           " back_color = ?, done = ?, read_only = ?, participant_id = ?, note = ?,"
                           " rrule = ?, rdates = ?, exdates = ?, series_id = ?, recurrence_start = ?,"
                           " series_end = ?, span_days = ?, span_class = ?, seats = ?";

} // namespace

qint64 Database::insertRow(const Appointment &a)
{
    validate(a);
    QSqlQuery query = prepare(QStringLiteral(
        "INSERT INTO appointments (text, start, \"end\", all_day, font_color, back_color, done,"
        " read_only, participant_id, note, rrule, rdates, exdates, series_id, recurrence_start,"
        " series_end, span_days, span_class, seats, uid, source)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
        " RETURNING id"));
    bindFields(query, a);
    query.addBindValue(a.uid.isEmpty() ? newAppointmentUid() : a.uid);
    query.addBindValue(text(a.source));
    exec(query);
    if (!query.next())
        throw DatabaseError(QStringLiteral("Der neue Termin hat keine Nummer erhalten."));
    const qint64 id = query.value(0).toLongLong();
    writeParticipants(id, a.allParticipants());
    return id;
}

bool Database::updateRow(const Appointment &a)
{
    validate(a);
    QSqlQuery query = prepare(QStringLiteral("UPDATE appointments SET %1, version = version + 1"
                                             " WHERE id = ? AND (? = 0 OR version = ?)")
                                  .arg(QLatin1String(kFieldNames)));
    bindFields(query, a);
    query.addBindValue(a.id);
    query.addBindValue(a.version);
    query.addBindValue(a.version);
    exec(query);
    if (query.numRowsAffected() != 1)
        return false;
    writeParticipants(a.id, a.allParticipants());
    return true;
}

// The seats' own rows hold every participant to its foreign key; reads take the row's copy.
void Database::writeParticipants(qint64 id, const QList<int> &participantIds)
{
    QSqlQuery clear = prepare(QStringLiteral("DELETE FROM appointment_participants WHERE appointment_id = ?"));
    clear.addBindValue(id);
    exec(clear);
    const QList<int> seats = distinctSeats(participantIds);
    for (qsizetype seq = 0; seq < seats.size(); ++seq) {
        QSqlQuery insert = prepare(QStringLiteral("INSERT INTO appointment_participants"
                                                  " (appointment_id, participant_id, seq) VALUES (?, ?, ?)"));
        insert.addBindValue(id);
        insert.addBindValue(seats.at(seq));
        insert.addBindValue(int(seq));
        exec(insert);
    }
}

// A series' rows go with it: its changed occurrences, everyone's seats and the journal.
void Database::deleteRows(const QString &condition, const QVariantList &values)
{
    for (const QString &sql :
         {QStringLiteral("DELETE FROM appointment_changes WHERE appointment_id IN (SELECT id FROM appointments WHERE %1)"),
          QStringLiteral("DELETE FROM appointment_participants WHERE appointment_id IN (SELECT id FROM appointments WHERE %1)"),
          QStringLiteral("DELETE FROM appointments WHERE %1")}) {
        QSqlQuery query = prepare(sql.arg(condition));
        for (const QVariant &value : values)
            query.addBindValue(value);
        exec(query);
    }
}

void Database::notifySpan(const Appointment &a) const
{
    const auto [from, to] = daysTouched(a);
    notifyChange(from, to);
}

qint64 Database::insertAppointment(const Appointment &appointment)
{
    Transaction transaction(*this);
    const qint64 id = insertRow(appointment);
    notifySpan(appointment);
    transaction.commit();
    return id;
}

QList<qint64> Database::saveAppointment(const Appointment &appointment,
                                        const QList<int> &participantIds)
{
    if (participantIds.isEmpty())
        throw DatabaseError(QStringLiteral("Bitte wählen Sie mindestens einen Teilnehmer."));
    Appointment row = appointment;
    row.participantIds = participantIds;
    row.participantId = participantIds.first();
    validate(row);
    Transaction transaction(*this);
    if (row.id != 0) {
        const std::optional<Appointment> old = this->appointment(row.id);
        if (!old || !updateRow(row))
            throwConflict(row.id);
        notifySpan(*old);
    } else {
        row.id = insertRow(row);
    }
    notifySpan(row);
    transaction.commit();
    return {row.id};
}

void Database::throwConflict(qint64 id) const
{
    std::optional<Appointment> current = appointment(id);
    if (!current)
        throw ConflictError(QStringLiteral("Der Termin wurde inzwischen an einem anderen "
                                           "Arbeitsplatz gelöscht."),
                            std::nullopt);
    const QString message = QStringLiteral("Der Termin „%1“ wurde inzwischen an einem anderen "
                                           "Arbeitsplatz geändert.")
                                .arg(current->text);
    throw ConflictError(message, std::move(current));
}

void Database::deleteAppointment(qint64 id)
{
    // Without its own row a changed occurrence would come back at its first time.
    if (const std::optional<Appointment> own = appointment(id); own && own->isOccurrence()) {
        deleteOccurrence(own->seriesId, own->recurrenceStart, Dayplex::SeriesScope::OnlyThis);
        return;
    }
    Transaction transaction(*this);
    const std::optional<Appointment> old = appointment(id);
    deleteRows(QStringLiteral("id = ? OR series_id = ?"), {id, id});
    if (old)
        notifySpan(*old);
    transaction.commit();
}

void Database::journal(qint64 id, Dayplex::Date oldStart, Dayplex::Date oldEnd, Dayplex::Date newStart,
                       Dayplex::Date newEnd)
{
    QSqlQuery query = prepare(QStringLiteral(
        "INSERT INTO appointment_changes (appointment_id, changed_at, old_start, old_end,"
        " new_start, new_end) VALUES (?, ?, ?, ?, ?, ?)"));
    query.addBindValue(id);
    query.addBindValue(toSqlDateTime(Dayplex::currentDateTime()));
    query.addBindValue(toSqlDateTime(oldStart));
    query.addBindValue(toSqlDateTime(oldEnd));
    query.addBindValue(toSqlDateTime(newStart));
    query.addBindValue(toSqlDateTime(newEnd));
    exec(query);
}

void Database::moveAppointment(qint64 id, Dayplex::Date start, Dayplex::Date end, qint64 expectedVersion)
{
    if (!Dayplex::isValidDate(start) || !Dayplex::isValidDate(end))
        throw DatabaseError(QStringLiteral("Die neuen Zeiten des Termins sind ungültig."));
    if (end < start)
        throw DatabaseError(QStringLiteral("Das Ende des Termins liegt vor seinem Beginn."));
    Transaction transaction(*this);
    const std::optional<Appointment> old = appointment(id);
    if (!old)
        throwConflict(id);
    if (old->readOnly)
        throw DatabaseError(QStringLiteral("Der Termin „%1“ ist schreibgeschützt.").arg(old->text));
    // A drag moves one occurrence, never the whole series behind it.
    if (old->isSeries())
        throw DatabaseError(QStringLiteral("„%1“ ist eine Terminserie; verschoben wird nur ein "
                                           "einzelner Termin der Serie.")
                                .arg(old->text));

    QSqlQuery update = prepare(QStringLiteral("UPDATE appointments SET start = ?, \"end\" = ?,"
                                              " span_days = ?, span_class = ?, version = version + 1"
                                              " WHERE id = ? AND (? = 0 OR version = ?)"));
    update.addBindValue(toSqlDateTime(start));
    update.addBindValue(toSqlDateTime(end));
    update.addBindValue(spanDays(start, end));
    update.addBindValue(spanClass(spanDays(start, end)));
    update.addBindValue(id);
    update.addBindValue(expectedVersion);
    update.addBindValue(expectedVersion);
    exec(update);
    if (update.numRowsAffected() != 1)
        throwConflict(id);
    journal(id, old->start, old->end, start, end);
    notifyChange(std::min(old->start, start), std::max(old->end, end));
    transaction.commit();
}

namespace {
const QString kChannel = QStringLiteral("terminplaner");
}

// Sent inside the write's transaction: PostgreSQL delivers it at the commit, and never for a
// write that was rolled back.
void Database::notifyChange(Dayplex::Date from, Dayplex::Date to) const
{
    if (!m_postgres)
        return;
    rowsOf({QStringLiteral("SELECT pg_notify(?, ?)"),
            {kChannel, QStringLiteral("%1|%2|%3")
                           .arg(qint64(std::floor(from)))
                           .arg(qint64(std::floor(std::max(from, to))))
                           .arg(QDateTime::currentMSecsSinceEpoch())}});
}

void Database::listenForChanges(ChangeHandler handler)
{
    m_changeHandler = std::move(handler);
    if (m_postgres)
        subscribe();
}

void Database::subscribe()
{
    QSqlDriver *driver = QSqlDatabase::database(m_connection, false).driver();
    delete m_listener;
    m_listener = new QObject;
    QObject::connect(driver, &QSqlDriver::notification, m_listener,
                     [this](const QString &name, QSqlDriver::NotificationSource source, const QVariant &payload) {
                         hear(name, source == QSqlDriver::SelfSource, payload.toString());
                     });
    if (!driver->subscribedToNotifications().contains(kChannel) && !driver->subscribeToNotification(kChannel))
        qWarning("terminplaner: other desks' changes will not be shown at once: %s",
                 qPrintable(driver->lastError().text()));
}

void Database::hear(const QString &channel, bool own, const QString &payload) const
{
    if (channel != kChannel || own || !m_changeHandler)
        return;
    const QStringList parts = payload.split(QLatin1Char('|'));
    if (parts.size() != 3) {
        qWarning("terminplaner: change notice without its days: %s", qPrintable(payload));
        return;
    }
    m_changeHandler({parts.at(0).toDouble(), parts.at(1).toDouble(), parts.at(2).toLongLong()});
}

bool Database::reconnect()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    db.close();
    if (!db.open())
        return false;
    *m_prepared = {};
    m_connectionLost = false;
    if (m_postgres && m_changeHandler)
        subscribe();
    return true;
}

QString Database::setting(const QString &key, const QString &fallback) const
{
    const std::unique_ptr<RowReader> rows = rowsOf({QStringLiteral("SELECT value FROM settings WHERE key = ?"), {key}});
    return rows->next() ? rows->text(0) : fallback;
}

void Database::setSetting(const QString &key, const QString &value)
{
    QSqlQuery query = prepare(QStringLiteral(
        "INSERT INTO settings (key, value) VALUES (?, ?)"
        " ON CONFLICT(key) DO UPDATE SET value = excluded.value"));
    query.addBindValue(key);
    query.addBindValue(value);
    exec(query);
}

Transaction::Transaction(Database &db) : m_db(db)
{
    QSqlDatabase connection = QSqlDatabase::database(db.m_connection, false);
    if (!connection.isOpen())
        throw DatabaseError(QStringLiteral("Die Datenbank ist nicht geöffnet."));
    // IMMEDIATE takes the write lock now, while the busy timeout still applies: a deferred
    // transaction that reads first would fail at once when another program writes meanwhile.
    QSqlQuery begin(connection);
    if (!begin.exec(db.m_postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE")))
        throw DatabaseError(db.errorText(begin.lastError()));
}

Transaction::~Transaction()
{
    if (!m_done)
        QSqlDatabase::database(m_db.m_connection, false).rollback();
}

void Transaction::commit()
{
    QSqlDatabase connection = QSqlDatabase::database(m_db.m_connection, false);
    if (!connection.commit())
        throw DatabaseError(QStringLiteral("Die Änderung konnte nicht gespeichert werden. %1")
                                .arg(m_db.errorText(connection.lastError())));
    m_done = true;
}

} // namespace Terminplaner

#ifndef TERMINPLANER_DATABASE_H
#define TERMINPLANER_DATABASE_H

#include "germanerror.h"

#include <dayplex/dates.h>
#include <dayplex/series.h>

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>
#include <optional>
#include <stdexcept>

class QObject;
class QSqlDatabase;
class QSqlError;
class QSqlQuery;

namespace Terminplaner {

// Everything the database layer throws; the message is German and meant for the user.
class DatabaseError : public GermanError
{
public:
    using GermanError::GermanError;
};

struct Participant
{
    int id = 0;
    QString name;
    QString role;
};

// Dates are automation dates in local wall-clock time. An all-day appointment runs from
// 00:00 of its first day to 00:00 of its last day, as both views expect.
struct Appointment
{
    qint64 id = 0;
    QString text;
    Dayplex::Date start = 0;
    Dayplex::Date end = 0;
    bool allDay = false;
    qint32 fontColor = 0;          // Windows colour 0x00BBGGRR
    qint32 backColor = 0x00FFFFFF; // Windows colour 0x00BBGGRR
    bool done = false;
    bool readOnly = false;
    int participantId = 0;
    bool note = false; // a mere note: never blocks a slot in the free-slot search
    QString uid;       // stable across exports and imports; a new one on first save when empty
    // The calendar an imported appointment came from, as its file names itself; empty for one
    // made in this program. A UID is unique only within its calendar. Fixed when the row is
    // first written.
    QString source;
    qint64 version = 0; // counts the row's writes; 0 in a write means "whatever is stored"

    // A meeting: everyone taking part, participantId first. Empty means participantId alone.
    QList<int> participantIds;

    // A series: the RRULE value in local wall-clock time (recurrence.h) and the occurrence
    // starts added and taken out. Empty rrule and rdates: a single appointment. start and end
    // are those of the first occurrence.
    QString rrule;
    QList<Dayplex::Date> rdates;
    QList<Dayplex::Date> exdates;

    // An occurrence as appointmentsInDays hands it out: the series' id and the start the rule
    // gives it. A changed occurrence (one with its own row) has its own id; an unchanged one
    // has the series' id. 0 for a single appointment.
    qint64 seriesId = 0;
    Dayplex::Date recurrenceStart = 0;

    bool isSeries() const { return !rrule.isEmpty() || !rdates.isEmpty(); }
    bool isOccurrence() const { return seriesId != 0; }
    // Everyone taking part: participantIds, or participantId alone.
    QList<int> allParticipants() const;
};

} // namespace Terminplaner

// Moved as bytes when a list of them grows: a range read appends tens of thousands.
Q_DECLARE_TYPEINFO(Terminplaner::Appointment, Q_RELOCATABLE_TYPE);

namespace Terminplaner {

// A write against a row that another desk changed or deleted since this desk read it. Nothing
// was written; current holds what the other desk stored, nothing when it deleted the row.
class ConflictError : public DatabaseError
{
public:
    ConflictError(const QString &message, std::optional<Appointment> current)
        : DatabaseError(message), m_current(std::move(current))
    {
    }
    const std::optional<Appointment> &current() const { return m_current; }

private:
    std::optional<Appointment> m_current;
};

// What another desk changed: the whole days it touched, in the moved or saved row's old and
// new place, and when it was saved (milliseconds since the epoch, for the refresh delay).
struct ChangeNotice
{
    Dayplex::Date firstDay = 0;
    Dayplex::Date lastDay = 0;
    qint64 savedAt = 0;
};

// A new UID for an appointment made in this host.
QString newAppointmentUid();

// How an import went, counted by event (a series with its changed occurrences is one):
// new to the database, replaced by a changed version, stored already as the file has it,
// removed because the file cancels them, and left out by the reader.
struct ImportCount
{
    int added = 0;
    int updated = 0;
    int unchanged = 0;
    int removed = 0;
    int skipped = 0;
};

// The PRODID of this program's own calendar files: their rows belong to this program (or,
// where an event names one, to the calendar it was imported from before).
extern const char kOwnProductId[];

// An occurrence a file cancels whose series the file does not hold: the database takes it out
// of the stored series of that UID.
struct CancelledOccurrence
{
    QString uid;
    Dayplex::Date recurrenceStart = 0;
};

// A calendar file's content as the database applies it (importCalendar).
struct CalendarChanges
{
    QVector<Appointment> appointments; // single appointments and series: uid set, id 0
    QVector<Appointment> overrides;    // changed occurrences: the series' uid, recurrenceStart set
    QStringList removedUids;           // cancelled events and series
    QVector<CancelledOccurrence> cancelledOccurrences;
    // What the file says of the calendar it comes from (PRODID and X-WR-CALNAME, one per line);
    // empty when it says nothing.
    QString calendarIdentity;
};

// What a read fills in: every field, or what a view shows of an appointment (a row's own uid,
// source, rule and date lists are left empty; an occurrence computed from its series has the
// series' fields).
enum class RowContent { Whole, Shown };

// True when the appointment touches one of the whole days firstDay..lastDay.
bool touchesDays(const Appointment &appointment, Dayplex::Date firstDay, Dayplex::Date lastDay);

class RowReader;
struct PreparedStatements;

// The SQLite store of the Terminplaner: participants, appointments, a journal of time
// changes and the settings (options strings, participant filter). Every failing call throws
// DatabaseError and leaves the database as it was.
class Database
{
public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens a Terminplaner database, or creates the file in an existing folder and seeds the
    // new file with the demo team and appointments around seedAnchor. A file that is not a
    // Terminplaner database, or a missing folder, is refused without writing anything. A file
    // that is not writable, or marked read-only even for the administrator, opens read-only.
    // A location of the form postgresql://user@host:port/name connects to that PostgreSQL
    // database instead (the password comes from PGPASSWORD or ~/.pgpass, never from the
    // location); a new, empty one is set up and seeded as a new file is, one with tables of
    // another program is refused. Older schemas are brought to the current version.
    void open(const QString &location, QDate seedAnchor = QDate::currentDate());
    bool isOpen() const;
    // True when the last open() found the file read-only: every write is refused.
    bool isReadOnly() const { return m_readOnly; }
    bool isPostgres() const { return m_postgres; }
    QString path() const { return m_path; }
    QString connectionName() const { return m_connection; }
    // True when the last open() seeded the database.
    bool seededOnOpen() const { return m_seeded; }

    QVector<Participant> participants() const;
    std::optional<Participant> participant(int id) const;

    // The appointments touching the days firstDay..lastDay, ordered by start; an empty
    // participant list means all participants. A series gives its occurrences of those days,
    // computed now (changed ones as stored, cancelled ones not at all); a meeting comes once,
    // with all its participants, when any of them is asked for.
    QVector<Appointment> appointmentsInDays(Dayplex::Date firstDay, Dayplex::Date lastDay,
                                            const QList<int> &participantIds = {},
                                            RowContent content = RowContent::Whole) const;
    // As appointmentsInDays, handing each appointment to take in that order as soon as its
    // place is sure: a view fills while the server still sends the later rows. A failed read
    // throws, possibly after some were handed on.
    void forEachInDays(Dayplex::Date firstDay, Dayplex::Date lastDay, const QList<int> &participantIds,
                       RowContent content, const std::function<void(Appointment &&)> &take) const;
    // A statement and its values in order.
    struct Statement
    {
        QString sql;
        QVariantList values;
    };
    // The reads of appointmentsInDays: the single appointments and changed occurrences, the
    // starts of the changed occurrences of the series, and the series. Each is bounded on both
    // sides by an index, so that the server can be asked how it reads them.
    QVector<Statement> daysStatements(Dayplex::Date firstDay, Dayplex::Date lastDay,
                                      RowContent content = RowContent::Whole) const;
    // The first of those reads in parts of a few weeks each, whose rows together are the
    // same; the ranges of start of the parts ascend.
    QVector<Statement> singlesInParts(Dayplex::Date firstDay, Dayplex::Date lastDay, RowContent content) const;
    // The last two of those reads.
    QVector<Statement> seriesStatements(Dayplex::Date firstDay, Dayplex::Date lastDay) const;
    std::optional<Appointment> appointment(qint64 id) const;
    int appointmentCount() const;

    // Writes the appointment as one row with all participantIds, the first of them its
    // participantId (updating it when its id is set). Returns the id written. An update with
    // a version refuses, with ConflictError, a row that another desk wrote meanwhile.
    QList<qint64> saveAppointment(const Appointment &appointment, const QList<int> &participantIds);

    // Changes the occurrence of series seriesId that the rule starts at recurrenceStart, for
    // the scope the user chose: only this one (it gets a row of its own), this and all
    // following (the series ends before it and a new series starts with the change), or the
    // whole series (a moved time moves every occurrence by the same offset). changed holds
    // the new fields of that occurrence. All or nothing; with expectedVersion, ConflictError
    // when another desk changed the series meanwhile.
    // newRule, given for the two wider scopes, is the series' new rule from that occurrence on,
    // or for all of it; an empty rule makes the occurrences one appointment.
    // Returns the id of the row that holds the change now: the occurrence's own row, the
    // series, or the new series that follows it.
    qint64 changeOccurrence(qint64 seriesId, Dayplex::Date recurrenceStart, const Appointment &changed,
                            Dayplex::SeriesScope scope, qint64 expectedVersion = 0,
                            const std::optional<QString> &newRule = std::nullopt);
    // Deletes that occurrence, it and all following ones, or the whole series.
    void deleteOccurrence(qint64 seriesId, Dayplex::Date recurrenceStart, Dayplex::SeriesScope scope,
                          qint64 expectedVersion = 0);
    qint64 insertAppointment(const Appointment &appointment);
    // Deletes the appointment, a series with its changed occurrences; a changed occurrence
    // goes as only this occurrence of its series.
    void deleteAppointment(qint64 id);
    // Writes a calendar file's content in one transaction, all or nothing, in this order: the
    // removed UIDs go with their changed occurrences; single appointments and series are stored
    // by UID, a series replaced together with its changed occurrences; the cancelled
    // occurrences are taken out of their stored series. A UID is looked up only among the rows
    // of the same calendar, so that another calendar's UID never replaces them; an appointment
    // whose content is stored already is not written again.
    ImportCount importCalendar(const CalendarChanges &changes);
    // New times of a dragged appointment, journalled in the same transaction. Refuses
    // read-only and unknown appointments, a series (its occurrences change through
    // changeOccurrence) and an end before the start; with expectedVersion, a row another desk
    // changed or deleted since (ConflictError).
    void moveAppointment(qint64 id, Dayplex::Date start, Dayplex::Date end, qint64 expectedVersion = 0);
    int journalCount() const;

    // Undo and redo (rowrestore.cpp). The row id with, for a series, its changed occurrences;
    // empty when it is gone.
    QVector<Appointment> rowFamily(qint64 id) const;
    // Puts rows back as a snapshot holds them, all or nothing: every row of expected must be
    // stored with that version (ConflictError otherwise, unless force); those not in wanted
    // are deleted, those of wanted written with their ids, UIDs and participants. Returns the
    // rows of wanted as they are stored now.
    QVector<Appointment> restoreRows(const QVector<Appointment> &expected, const QVector<Appointment> &wanted,
                                     bool force = false);

    // On PostgreSQL, every write tells the other desks which days it touched; handler runs
    // for the changes of other desks, from the event loop. SQLite has no such channel.
    using ChangeHandler = std::function<void(const ChangeNotice &)>;
    void listenForChanges(ChangeHandler handler);

    // True once a call failed because the server went away; reconnect() tries to get it back
    // and returns true when the database answers again.
    bool connectionLost() const { return m_connectionLost; }
    bool reconnect();

    QString setting(const QString &key, const QString &fallback = QString()) const;
    void setSetting(const QString &key, const QString &value);

    static QString toSqlDateTime(Dayplex::Date value);
    static Dayplex::Date fromSqlDateTime(const QString &text);

private:
    friend class Transaction;
    void openSqlite(const QString &path, QDate seedAnchor);
    void openPostgres(const QString &location, QDate seedAnchor);
    void checkExisting();
    QSqlDatabase connection(const QString &driver);
    // Brings the schema to the current version and, for a new database, seeds it.
    void prepareSchema(bool seedNew, QDate seedAnchor);
    QString errorText(const QSqlError &error) const;
    void seed(QDate anchor);
    QSqlQuery prepare(const QString &sql) const;
    void exec(QSqlQuery &query) const;
    QSqlQuery run(const Statement &statement) const;
    // The rows of a read straight from SQLite's statement or from libpq, through Qt where
    // neither can; the rows of the read before must be gone.
    std::unique_ptr<RowReader> rowsOf(const Statement &statement) const;
    // The rows of parts of one read; on PostgreSQL sent together, so that the server sends
    // the later parts while the earlier ones are read.
    std::unique_ptr<RowReader> rowsOf(const QVector<Statement> &parts) const;
    // Reads of parts each, to be read in their order; on PostgreSQL all sent together.
    std::vector<std::unique_ptr<RowReader>> rowsOf(const QVector<QVector<Statement>> &reads) const;
    void execDirect(const QString &sql) const;
    qint64 insertRow(const Appointment &appointment);
    bool updateRow(const Appointment &appointment); // false when the row is gone or newer
    void writeParticipants(qint64 id, const QList<int> &participantIds);
    void deleteRows(const QString &condition, const QVariantList &values);
    void journal(qint64 id, Dayplex::Date oldStart, Dayplex::Date oldEnd, Dayplex::Date newStart,
                 Dayplex::Date newEnd);
    // The series for a change of one of its occurrences, its version claimed; refuses what may
    // not change.
    Appointment seriesForChange(qint64 seriesId, Dayplex::Date recurrenceStart, qint64 expectedVersion);
    std::optional<Appointment> overrideAt(qint64 seriesId, Dayplex::Date recurrenceStart) const;
    QVector<Appointment> overridesOf(qint64 seriesId) const;
    // Ends the series before recurrenceStart; false when nothing of it remains.
    bool endSeriesBefore(Appointment &series, Dayplex::Date recurrenceStart);
    void notifySpan(const Appointment &appointment) const;
    [[noreturn]] void throwConflict(qint64 id) const;
    void notifyChange(Dayplex::Date from, Dayplex::Date to) const;
    void subscribe();
    // A notice of the server, from Qt's driver or taken in by a read of our own.
    void hear(const QString &channel, bool own, const QString &payload) const;
    // The first row of a read of every column of appointments; nothing when there is none.
    std::optional<Appointment> firstRow(const Statement &statement) const;
    // Every row of the calendar source, changed occurrences included.
    QVector<Appointment> rowsOfCalendar(const QString &source) const;
    struct StoredCalendar;
    void loadCalendar(const QString &source, StoredCalendar &stored) const;

    QString m_connection;
    QString m_path;
    bool m_seeded = false;
    bool m_postgres = false;
    bool m_readOnly = false;
    mutable bool m_connectionLost = false;
    ChangeHandler m_changeHandler;
    QObject *m_listener = nullptr; // lives as long as the connection's notification link
    std::unique_ptr<PreparedStatements> m_prepared; // on PostgreSQL
    // Appointments per day of the last range read: the next one takes its memory at once
    // instead of growing the list step by step.
    mutable double m_shownPerDay = 0;
};

// Rolls back unless commit() was reached: an exception on the way leaves nothing half-written.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    void commit();

private:
    Database &m_db;
    bool m_done = false;
};

// The demo data written on first start (seeddata.cpp).
struct SeedData
{
    QVector<Participant> participants;
    QVector<Appointment> appointments;
};
SeedData makeSeedData(QDate anchor);

} // namespace Terminplaner

#endif

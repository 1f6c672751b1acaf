// The rows of the database's reads, straight from SQLite's statement or from libpq, or from
// Qt's query where neither can: a week of a large team reads 50,000 values, and Qt turns every
// one of them into a QVariant first (and on PostgreSQL, prepares and drops a statement each time).
#ifndef TERMINPLANER_ROWREADER_H
#define TERMINPLANER_ROWREADER_H

#include "database.h"

#include <QByteArray>
#include <QHash>
#include <QLatin1String>
#include <functional>
#include <memory>
#include <vector>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

namespace Terminplaner {

// An appointment's columns, in the order readRow() takes them: all, or what a view shows.
QLatin1String rowColumns(RowContent content);

// A meeting's participants in the row's seats column, comma-separated in their order; empty
// for a single participant, who is the row's participant_id.
QString seatsText(const QList<int> &seats);

// The current row of a read.
class RowReader
{
public:
    virtual ~RowReader() = default;
    virtual bool next() = 0;
    virtual bool isNull(int column) const = 0;
    virtual qint64 number(int column) const = 0;
    virtual QString text(int column) const = 0;
    // A stored date and time (Database::toSqlDateTime); throws DatabaseError for another text.
    virtual Dayplex::Date dateTime(int column) const = 0;
};

// A row of a Qt query that is read already.
class QueryRowReader : public RowReader
{
public:
    explicit QueryRowReader(QSqlQuery &query) : m_query(query) {}
    bool next() override;
    bool isNull(int column) const override;
    qint64 number(int column) const override;
    QString text(int column) const override;
    Dayplex::Date dateTime(int column) const override;

private:
    QSqlQuery &m_query;
};

// The rows of statement on an open SQLite connection, read by SQLite itself; nullptr when the
// connection is not SQLite's. Failures throw DatabaseError with the text errorText gives.
std::unique_ptr<RowReader> sqliteRows(const QSqlDatabase &connection, const Database::Statement &statement,
                                      const std::function<QString(const QSqlError &)> &errorText);

// A server's notice: its channel, whether this connection sent it, and its payload.
using NoticeHandler = std::function<void(const QString &channel, bool own, const QString &payload)>;

// The statements a PostgreSQL connection has prepared, by their text: the server parses and
// plans each once, not on every read of every desk.
struct PreparedStatements
{
    const void *connection = nullptr; // whose they are; another connection starts anew
    QHash<QByteArray, QByteArray> byText; // the statement's name by its text
};

// Reads from a PostgreSQL connection through libpq, a reader for each, to be read in their
// order; none when the connection is not PostgreSQL's or a query of Qt's is still running on
// it. Each read is parts of one statement text (differing in their values). All are sent
// together: the server works on the later ones while the earlier ones are read. Notices that
// libpq took in during the reads go to heard.
std::vector<std::unique_ptr<RowReader>> postgresRows(const QSqlDatabase &connection,
                                                     const QVector<QVector<Database::Statement>> &reads,
                                                     const std::function<QString(const QSqlError &)> &errorText,
                                                     const NoticeHandler &heard, PreparedStatements &known);

// The digits of a stored date and time; nothing for another text.
std::optional<Dayplex::Date> parseSqlDateTime(QStringView text);
std::optional<Dayplex::Date> parseSqlDateTime(const char *utf8, qsizetype size);
// As parseSqlDateTime, throwing DatabaseError for another text.
Dayplex::Date storedDateTime(const char *utf8, qsizetype size);

// What the rows of one read hold alike, made once and shared by them: a team's months are
// tens of thousands of appointments of one participant each.
class SharedValues
{
public:
    QList<int> onlyParticipant(int id);

private:
    QHash<int, QList<int>> m_onlyParticipant;
};

// The appointment in the current row of a read of rowColumns(content).
Appointment readRow(const RowReader &row);
Appointment readRow(const RowReader &row, SharedValues &shared, RowContent content);

// Every row of a read of rowColumns(RowContent::Whole).
QVector<Appointment> readRows(RowReader &rows);

} // namespace Terminplaner

#endif

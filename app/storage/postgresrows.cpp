// The range reads on PostgreSQL through libpq itself: Qt's driver turns every value of a
// large team's months into a QVariant and a QString first.
#include "rowreader.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>

#include <libpq-fe.h>

#include <cstdlib>
#include <vector>

namespace Terminplaner {

namespace {

// Qt's placeholders as libpq's: ? becomes $1, $2 ... outside quoted texts and names.
QByteArray numberedPlaceholders(const QString &sql)
{
    const QByteArray utf8 = sql.toUtf8();
    QByteArray numbered;
    numbered.reserve(utf8.size() + utf8.size() / 8);
    char quote = 0;
    int count = 0;
    for (char c : utf8) {
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '?') {
            numbered += '$' + QByteArray::number(++count);
            continue;
        }
        numbered += c;
    }
    return numbered;
}

class PostgresRowReader : public RowReader
{
public:
    explicit PostgresRowReader(PGresult *result) : m_result(result), m_rows(PQntuples(result)) {}
    ~PostgresRowReader() override { PQclear(m_result); }

    bool next() override { return ++m_row < m_rows; }
    bool isNull(int column) const override { return PQgetisnull(m_result, m_row, column) != 0; }
    qint64 number(int column) const override { return std::strtoll(PQgetvalue(m_result, m_row, column), nullptr, 10); }
    QString text(int column) const override
    {
        return isNull(column) ? QString()
                              : QString::fromUtf8(PQgetvalue(m_result, m_row, column), PQgetlength(m_result, m_row, column));
    }
    Dayplex::Date dateTime(int column) const override
    {
        return storedDateTime(isNull(column) ? nullptr : PQgetvalue(m_result, m_row, column),
                              PQgetlength(m_result, m_row, column));
    }

private:
    PGresult *m_result;
    int m_rows;
    int m_row = -1;
};

} // namespace

namespace {

[[noreturn]] void fail(PGconn *db, PGresult *result, const std::function<QString(const QSqlError &)> &errorText)
{
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const QSqlError error(QStringLiteral("Lesen fehlgeschlagen"), QString::fromUtf8(PQerrorMessage(db)),
                          PQstatus(db) == CONNECTION_OK ? QSqlError::StatementError : QSqlError::ConnectionError,
                          QString::fromLatin1(state ? state : ""));
    PQclear(result);
    throw DatabaseError(errorText(error));
}

// The name of the statement on this connection, prepared at its first use.
QByteArray preparedName(PGconn *db, const QString &sql, int values, PreparedStatements &prepared,
                        const std::function<QString(const QSqlError &)> &errorText)
{
    if (prepared.connection != db) {
        prepared.names.clear();
        prepared.connection = db;
    }
    const QByteArray numbered = numberedPlaceholders(sql);
    if (const auto known = prepared.names.constFind(numbered); known != prepared.names.constEnd())
        return *known;
    const QByteArray name = "terminplaner_" + QByteArray::number(prepared.names.size() + 1);
    PGresult *result = PQprepare(db, name.constData(), numbered.constData(), values, nullptr);
    if (PQresultStatus(result) != PGRES_COMMAND_OK)
        fail(db, result, errorText);
    PQclear(result);
    prepared.names.insert(numbered, name);
    return name;
}

} // namespace

std::unique_ptr<RowReader> postgresRows(const QSqlDatabase &connection, const Database::Statement &statement,
                                        const std::function<QString(const QSqlError &)> &errorText,
                                        const NoticeHandler &heard, PreparedStatements &prepared)
{
    const QVariant handle = connection.driver() ? connection.driver()->handle() : QVariant();
    // Qt names the handle by libpq's struct.
    if (!handle.isValid() || qstrcmp(handle.typeName(), "pg_conn*") != 0)
        return nullptr;
    PGconn *db = *static_cast<PGconn *const *>(handle.constData());
    // A query of Qt's still delivering rows owns the connection until it is read to the end.
    if (!db || PQtransactionStatus(db) == PQTRANS_ACTIVE)
        return nullptr;
    std::vector<QByteArray> texts;
    texts.reserve(size_t(statement.values.size()));
    std::vector<const char *> values;
    for (const QVariant &value : statement.values) {
        texts.push_back(value.isNull() ? QByteArray() : value.toString().toUtf8());
        values.push_back(value.isNull() ? nullptr : texts.back().constData());
    }
    const QByteArray name = preparedName(db, statement.sql, int(values.size()), prepared, errorText);
    PGresult *result = PQexecPrepared(db, name.constData(), int(values.size()), values.data(), nullptr, nullptr, 0);
    // Notices that arrived with the rows are in libpq's queue now, where Qt's driver, waiting
    // for the socket, would not look until the next traffic.
    while (PGnotify *notice = PQnotifies(db)) {
        heard(QString::fromUtf8(notice->relname), notice->be_pid == PQbackendPID(db), QString::fromUtf8(notice->extra));
        PQfreemem(notice);
    }
    if (PQresultStatus(result) != PGRES_TUPLES_OK)
        fail(db, result, errorText);
    return std::make_unique<PostgresRowReader>(result);
}

} // namespace Terminplaner

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

// The server's type numbers of the columns a read decodes from binary itself.
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;
constexpr Oid kText = 25;
constexpr Oid kVarchar = 1043;

bool decodable(Oid type)
{
    return type == kInt8 || type == kInt2 || type == kInt4 || type == kText || type == kVarchar;
}

// Network order, as the server sends a binary whole number.
qint64 bigEndian(const char *bytes, int size)
{
    quint64 value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | quint8(bytes[i]);
    // Sign-extended from the column's width.
    const int unused = 64 - 8 * size;
    return unused > 0 ? qint64(value << unused) >> unused : qint64(value);
}

[[noreturn]] void fail(PGconn *db, PGresult *result, const std::function<QString(const QSqlError &)> &errorText)
{
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const QSqlError error(QStringLiteral("Lesen fehlgeschlagen"), QString::fromUtf8(PQerrorMessage(db)),
                          PQstatus(db) == CONNECTION_OK ? QSqlError::StatementError : QSqlError::ConnectionError,
                          QString::fromLatin1(state ? state : ""));
    PQclear(result);
    throw DatabaseError(errorText(error));
}

// Notices that arrived with the rows are in libpq's queue now, where Qt's driver, waiting
// for the socket, would not look until the next traffic.
void passOnNotices(PGconn *db, const NoticeHandler &heard)
{
    while (PGnotify *notice = PQnotifies(db)) {
        heard(QString::fromUtf8(notice->relname), notice->be_pid == PQbackendPID(db), QString::fromUtf8(notice->extra));
        PQfreemem(notice);
    }
}

// The rows of one result, or of several sent at once in a pipeline: the server sends the
// later parts while the rows of the earlier ones are read. A binary result holds only whole
// numbers and texts, whose bytes are the same in both formats.
class PostgresRowReader : public RowReader
{
public:
    // partsLeft results follow result in the pipeline, then its end.
    PostgresRowReader(PGconn *db, PGresult *result, int partsLeft,
                      const std::function<QString(const QSqlError &)> &errorText, const NoticeHandler &heard)
        : m_db(db), m_partsLeft(partsLeft), m_errorText(errorText), m_heard(heard)
    {
        take(result);
    }
    ~PostgresRowReader() override
    {
        PQclear(m_result);
        if (m_pipelined)
            finishPipeline();
    }

    bool next() override
    {
        while (++m_row >= m_rows) {
            if (m_partsLeft == 0)
                return false;
            --m_partsLeft;
            if (m_result) {
                PQclear(m_result);
                m_result = nullptr;
                PQclear(PQgetResult(m_db)); // the end of the last part's results
            }
            PGresult *result = PQgetResult(m_db);
            // The destructor reads the rest of the pipeline.
            if (PQresultStatus(result) != PGRES_TUPLES_OK)
                fail(m_db, result, m_errorText);
            take(result);
            if (m_partsLeft == 0 && m_pipelined)
                finishPipeline();
        }
        return true;
    }
    bool isNull(int column) const override { return PQgetisnull(m_result, m_row, column) != 0; }
    qint64 number(int column) const override
    {
        if (isNull(column))
            return 0;
        const char *value = PQgetvalue(m_result, m_row, column);
        if (m_wholeNumber[size_t(column)])
            return bigEndian(value, PQgetlength(m_result, m_row, column));
        return std::strtoll(value, nullptr, 10);
    }
    QString text(int column) const override
    {
        if (isNull(column))
            return QString();
        if (m_wholeNumber[size_t(column)])
            return QString::number(number(column));
        return QString::fromUtf8(PQgetvalue(m_result, m_row, column), PQgetlength(m_result, m_row, column));
    }
    Dayplex::Date dateTime(int column) const override
    {
        if (isNull(column))
            return storedDateTime(nullptr, 0);
        if (m_wholeNumber[size_t(column)]) {
            const QByteArray digits = QByteArray::number(number(column));
            return storedDateTime(digits.constData(), digits.size());
        }
        return storedDateTime(PQgetvalue(m_result, m_row, column), PQgetlength(m_result, m_row, column));
    }

private:
    void take(PGresult *result)
    {
        m_result = result;
        m_rows = PQntuples(result);
        m_row = -1;
        m_wholeNumber.clear();
        for (int column = 0; column < PQnfields(result); ++column)
            m_wholeNumber.push_back(PQfformat(result, column) == 1 && PQftype(result, column) != kText
                                    && PQftype(result, column) != kVarchar);
    }

    // Reads what is left of the pipeline up to its end and gives the connection back to
    // Qt's driver in its ordinary mode.
    void finishPipeline()
    {
        m_pipelined = false;
        // Each part left ends with its result and a separator; a lost connection ends it all.
        for (int reads = 0; reads < 2 * m_partsLeft + 4 && PQstatus(m_db) == CONNECTION_OK; ++reads) {
            PGresult *result = PQgetResult(m_db);
            const bool end = PQresultStatus(result) == PGRES_PIPELINE_SYNC;
            PQclear(result);
            if (end)
                break;
        }
        m_partsLeft = 0;
        if (PQexitPipelineMode(m_db) != 1)
            qWarning("terminplaner: the server's pipeline did not end: %s", PQerrorMessage(m_db));
        passOnNotices(m_db, m_heard);
    }

    PGconn *m_db;
    PGresult *m_result = nullptr;
    int m_rows = 0;
    int m_row = -1;
    int m_partsLeft;
    bool m_pipelined = m_partsLeft > 0;
    std::vector<bool> m_wholeNumber; // by column: binary bytes of a whole number
    std::function<QString(const QSqlError &)> m_errorText;
    NoticeHandler m_heard;
};

} // namespace

namespace {

// The statement on this connection, prepared at its first use; its rows come in binary when
// the server says that they hold only whole numbers and texts.
PreparedStatements::Prepared prepared(PGconn *db, const QString &sql, int values, PreparedStatements &known,
                                      const std::function<QString(const QSqlError &)> &errorText)
{
    if (known.connection != db) {
        known.byText.clear();
        known.connection = db;
    }
    const QByteArray numbered = numberedPlaceholders(sql);
    if (const auto found = known.byText.constFind(numbered); found != known.byText.constEnd())
        return *found;
    PreparedStatements::Prepared statement;
    statement.name = "terminplaner_" + QByteArray::number(known.byText.size() + 1);
    PGresult *result = PQprepare(db, statement.name.constData(), numbered.constData(), values, nullptr);
    if (PQresultStatus(result) != PGRES_COMMAND_OK)
        fail(db, result, errorText);
    PQclear(result);
    result = PQdescribePrepared(db, statement.name.constData());
    if (PQresultStatus(result) != PGRES_COMMAND_OK)
        fail(db, result, errorText);
    statement.binary = PQnfields(result) > 0;
    for (int column = 0; column < PQnfields(result); ++column)
        statement.binary = statement.binary && decodable(PQftype(result, column));
    PQclear(result);
    known.byText.insert(numbered, statement);
    return statement;
}

} // namespace

std::unique_ptr<RowReader> postgresRows(const QSqlDatabase &connection, const QVector<Database::Statement> &parts,
                                        const std::function<QString(const QSqlError &)> &errorText,
                                        const NoticeHandler &heard, PreparedStatements &known)
{
    const QVariant handle = connection.driver() ? connection.driver()->handle() : QVariant();
    // Qt names the handle by libpq's struct.
    if (parts.isEmpty() || !handle.isValid() || qstrcmp(handle.typeName(), "pg_conn*") != 0)
        return nullptr;
    PGconn *db = *static_cast<PGconn *const *>(handle.constData());
    // A query of Qt's still delivering rows owns the connection until it is read to the end.
    if (!db || PQtransactionStatus(db) == PQTRANS_ACTIVE)
        return nullptr;
    const Database::Statement &first = parts.first();
    const PreparedStatements::Prepared read = prepared(db, first.sql, int(first.values.size()), known, errorText);
    const auto send = [&](const Database::Statement &part, auto how) {
        std::vector<QByteArray> texts;
        texts.reserve(size_t(part.values.size()));
        std::vector<const char *> values;
        for (const QVariant &value : part.values) {
            texts.push_back(value.isNull() ? QByteArray() : value.toString().toUtf8());
            values.push_back(value.isNull() ? nullptr : texts.back().constData());
        }
        return how(db, read.name.constData(), int(values.size()), values.data(), nullptr, nullptr, read.binary ? 1 : 0);
    };
    if (parts.size() == 1) {
        PGresult *result = send(first, PQexecPrepared);
        passOnNotices(db, heard);
        if (PQresultStatus(result) != PGRES_TUPLES_OK)
            fail(db, result, errorText);
        return std::make_unique<PostgresRowReader>(db, result, 0, errorText, heard);
    }
    if (PQenterPipelineMode(db) != 1)
        fail(db, nullptr, errorText);
    bool sent = true;
    for (const Database::Statement &part : parts)
        sent = sent && send(part, PQsendQueryPrepared) == 1;
    sent = PQpipelineSync(db) == 1 && sent;
    // The reader ends the pipeline also when the first part fails.
    auto rows = std::make_unique<PostgresRowReader>(db, nullptr, int(parts.size()), errorText, heard);
    if (!sent) {
        rows.reset();
        fail(db, nullptr, errorText);
    }
    return rows;
}

} // namespace Terminplaner

// The range reads on PostgreSQL through libpq itself: Qt's driver turns every value of a
// large team's months into a QVariant and a QString first.
#include "rowreader.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>

#include <libpq-fe.h>

#include <algorithm>
#include <numeric>
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

// A whole number as the server writes it in text: an optional sign and its digits.
qint64 wholeNumber(const char *text)
{
    const bool negative = *text == '-';
    quint64 value = 0;
    for (const char *digit = text + (negative ? 1 : 0); *digit >= '0' && *digit <= '9'; ++digit)
        value = value * 10 + quint64(*digit - '0');
    return negative ? qint64(0 - value) : qint64(value);
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

// The results of reads sent at once in libpq's pipeline mode, in the order sent: the server
// works on the later ones while the client reads the earlier ones. A single statement goes
// without a pipeline.
class Pipeline
{
public:
    // parts: how many statements each read sent; single: the result of a lone statement.
    Pipeline(PGconn *db, std::vector<int> parts, PGresult *single,
             const std::function<QString(const QSqlError &)> &errorText, const NoticeHandler &heard)
        : m_db(db), m_partsLeft(std::move(parts)), m_single(single), m_pipelined(!single), m_errorText(errorText),
          m_heard(heard)
    {
    }
    ~Pipeline()
    {
        PQclear(m_single);
        if (m_pipelined)
            finish();
    }

    // The next result of the read; null when it has none left. The parts that the reads before
    // it left unread are skipped. Throws for a part that failed.
    PGresult *next(size_t read)
    {
        if (!m_pipelined) {
            if (m_partsLeft[read] == 0)
                return nullptr;
            m_partsLeft[read] = 0;
            PGresult *single = m_single;
            m_single = nullptr;
            return single;
        }
        for (; m_read < read; ++m_read)
            while (m_partsLeft[m_read] > 0)
                PQclear(take(m_read));
        return m_partsLeft[read] > 0 ? take(read) : nullptr;
    }

private:
    PGresult *take(size_t read)
    {
        --m_partsLeft[read];
        --m_resultsLeft;
        if (m_ended) // the end of the last part's results
            PQclear(PQgetResult(m_db));
        PGresult *result = PQgetResult(m_db);
        m_ended = true;
        if (PQresultStatus(result) != PGRES_TUPLES_OK)
            fail(m_db, result, m_errorText); // the destructor reads the rest of the pipeline
        if (m_resultsLeft == 0)
            finish();
        return result;
    }

    // Reads what is left of the pipeline up to its end and gives the connection back to
    // Qt's driver in its ordinary mode.
    void finish()
    {
        m_pipelined = false;
        // Each part left ends with its result and a separator; a lost connection ends it all.
        for (int reads = 0; reads < 2 * m_resultsLeft + 4 && PQstatus(m_db) == CONNECTION_OK; ++reads) {
            PGresult *result = PQgetResult(m_db);
            const bool end = PQresultStatus(result) == PGRES_PIPELINE_SYNC;
            PQclear(result);
            if (end)
                break;
        }
        std::fill(m_partsLeft.begin(), m_partsLeft.end(), 0);
        m_resultsLeft = 0;
        if (PQexitPipelineMode(m_db) != 1)
            qWarning("terminplaner: the server's pipeline did not end: %s", PQerrorMessage(m_db));
        passOnNotices(m_db, m_heard);
    }

    PGconn *m_db;
    std::vector<int> m_partsLeft;
    int m_resultsLeft = std::accumulate(m_partsLeft.begin(), m_partsLeft.end(), 0);
    size_t m_read = 0; // the read whose parts come next
    bool m_ended = false; // a part's result was taken, its separator not yet
    PGresult *m_single;
    bool m_pipelined;
    std::function<QString(const QSqlError &)> m_errorText;
    NoticeHandler m_heard;
};

// The rows of one read's parts. They come as text: binary rows cost the server a buffer for
// every value, more than the client saves in reading them.
class PostgresRowReader : public RowReader
{
public:
    PostgresRowReader(std::shared_ptr<Pipeline> results, size_t read) : m_results(std::move(results)), m_read(read) {}
    ~PostgresRowReader() override { PQclear(m_result); }

    bool next() override
    {
        while (++m_row >= m_rows) {
            PQclear(m_result);
            m_result = m_results->next(m_read);
            if (!m_result)
                return false;
            m_rows = PQntuples(m_result);
            m_row = -1;
        }
        return true;
    }
    bool isNull(int column) const override { return PQgetisnull(m_result, m_row, column) != 0; }
    // NULL reads as 0, as libpq gives it as an empty text.
    qint64 number(int column) const override { return wholeNumber(PQgetvalue(m_result, m_row, column)); }
    QString text(int column) const override
    {
        const int length = PQgetlength(m_result, m_row, column);
        if (length > 0)
            return QString::fromUtf8(PQgetvalue(m_result, m_row, column), length);
        // Most series and source fields are empty: no allocation for them.
        return isNull(column) ? QString() : QStringLiteral("");
    }
    Dayplex::Date dateTime(int column) const override
    {
        if (isNull(column))
            return storedDateTime(nullptr, 0);
        return storedDateTime(PQgetvalue(m_result, m_row, column), PQgetlength(m_result, m_row, column));
    }

private:
    std::shared_ptr<Pipeline> m_results;
    size_t m_read;
    PGresult *m_result = nullptr;
    int m_rows = 0;
    int m_row = -1;
};

} // namespace

namespace {

// The statement's name on this connection, prepared at its first use.
QByteArray prepared(PGconn *db, const QString &sql, int values, PreparedStatements &known,
                      const std::function<QString(const QSqlError &)> &errorText)
{
    if (known.connection != db) {
        known.byText.clear();
        known.connection = db;
    }
    const QByteArray numbered = numberedPlaceholders(sql);
    if (const auto found = known.byText.constFind(numbered); found != known.byText.constEnd())
        return *found;
    const QByteArray name = "terminplaner_" + QByteArray::number(known.byText.size() + 1);
    PGresult *result = PQprepare(db, name.constData(), numbered.constData(), values, nullptr);
    if (PQresultStatus(result) != PGRES_COMMAND_OK)
        fail(db, result, errorText);
    PQclear(result);
    known.byText.insert(numbered, name);
    return name;
}

} // namespace

std::vector<std::unique_ptr<RowReader>> postgresRows(const QSqlDatabase &connection,
                                                     const QVector<QVector<Database::Statement>> &reads,
                                                     const std::function<QString(const QSqlError &)> &errorText,
                                                     const NoticeHandler &heard, PreparedStatements &known)
{
    const QVariant handle = connection.driver() ? connection.driver()->handle() : QVariant();
    // Qt names the handle by libpq's struct.
    if (!handle.isValid() || qstrcmp(handle.typeName(), "pg_conn*") != 0)
        return {};
    PGconn *db = *static_cast<PGconn *const *>(handle.constData());
    // A query of Qt's still delivering rows owns the connection until it is read to the end.
    if (!db || PQtransactionStatus(db) == PQTRANS_ACTIVE)
        return {};
    std::vector<QByteArray> names;
    std::vector<int> parts;
    for (const QVector<Database::Statement> &read : reads) {
        parts.push_back(int(read.size()));
        names.push_back(read.isEmpty() ? QByteArray()
                                       : prepared(db, read.first().sql, int(read.first().values.size()), known, errorText));
    }
    const auto send = [db](const QByteArray &name, const Database::Statement &part, auto how) {
        std::vector<QByteArray> texts;
        texts.reserve(size_t(part.values.size()));
        std::vector<const char *> values;
        for (const QVariant &value : part.values) {
            texts.push_back(value.isNull() ? QByteArray() : value.toString().toUtf8());
            values.push_back(value.isNull() ? nullptr : texts.back().constData());
        }
        return how(db, name.constData(), int(values.size()), values.data(), nullptr, nullptr, 0);
    };
    std::shared_ptr<Pipeline> results;
    if (std::accumulate(parts.begin(), parts.end(), 0) == 1) {
        const size_t only = size_t(std::find(parts.begin(), parts.end(), 1) - parts.begin());
        PGresult *result = send(names[only], reads[qsizetype(only)].first(), PQexecPrepared);
        passOnNotices(db, heard);
        if (PQresultStatus(result) != PGRES_TUPLES_OK)
            fail(db, result, errorText);
        results = std::make_shared<Pipeline>(db, parts, result, errorText, heard);
    } else {
        if (PQenterPipelineMode(db) != 1)
            fail(db, nullptr, errorText);
        bool sent = true;
        for (size_t read = 0; read < names.size(); ++read)
            for (const Database::Statement &part : reads[qsizetype(read)])
                sent = sent && send(names[read], part, PQsendQueryPrepared) == 1;
        sent = PQpipelineSync(db) == 1 && sent;
        // Ends the pipeline also when nothing is read.
        results = std::make_shared<Pipeline>(db, parts, nullptr, errorText, heard);
        if (!sent) {
            results.reset();
            fail(db, nullptr, errorText);
        }
    }
    std::vector<std::unique_ptr<RowReader>> rows;
    for (size_t read = 0; read < parts.size(); ++read)
        rows.push_back(std::make_unique<PostgresRowReader>(results, read));
    return rows;
}

} // namespace Terminplaner

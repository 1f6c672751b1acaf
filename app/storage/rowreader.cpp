#include "rowreader.h"

#include "civildays.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

namespace Terminplaner {

// What a view shows comes first, so that a read for a view ends after it.
const QLatin1String kRowColumns(
    "id, text, start, \"end\", all_day, font_color, back_color, done, read_only,"
    " participant_id, note, version, series_id, recurrence_start, seats,"
    " uid, rrule, rdates, exdates, source");

QLatin1String rowColumns(RowContent content)
{
    static const QLatin1String shown = kRowColumns.left(kRowColumns.indexOf(QLatin1String(", uid")));
    return content == RowContent::Whole ? kRowColumns : shown;
}

namespace {

// Digits by position, for UTF-16 and SQLite's UTF-8 alike.
template <typename Char>
std::optional<Dayplex::Date> parseDigits(const Char *text, qsizetype size)
{
    if (size < 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto number = [text](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + int(text[i] - '0');
        }
        return value;
    };
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    const int hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour < 0 || hour > 23
        || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    // As Dayplex::toDate(QDate) + Dayplex::toTimeOfDay(QTime) add them, to the last bit.
    return double(dayNumber(year, month, day))
        + double(((hour * 60 + minute) * 60 + second) * 1000) / 86400000.0;
}

Dayplex::Date checkedDateTime(std::optional<Dayplex::Date> value, const QString &text)
{
    if (!value)
        throw DatabaseError(QStringLiteral("Ungültiges Datum in der Datenbank: „%1“").arg(text));
    return *value;
}

class SqliteRowReader : public RowReader
{
public:
    SqliteRowReader(sqlite3 *db, const std::function<QString(const QSqlError &)> &errorText)
        : m_db(db), m_errorText(errorText)
    {
    }
    ~SqliteRowReader() override { sqlite3_finalize(m_statement); }

    void start(const Database::Statement &statement)
    {
        const QByteArray sql = statement.sql.toUtf8();
        check(sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &m_statement, nullptr));
        int index = 0;
        for (const QVariant &value : statement.values) {
            ++index;
            if (value.isNull()) {
                check(sqlite3_bind_null(m_statement, index));
            } else if (value.typeId() == QMetaType::QString) {
                const QByteArray utf8 = value.toString().toUtf8();
                check(sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
            } else {
                check(sqlite3_bind_int64(m_statement, index, value.toLongLong()));
            }
        }
    }

    bool next() override
    {
        const int result = sqlite3_step(m_statement);
        if (result == SQLITE_DONE)
            return false;
        if (result != SQLITE_ROW)
            check(result);
        return true;
    }
    bool isNull(int column) const override { return sqlite3_column_type(m_statement, column) == SQLITE_NULL; }
    qint64 number(int column) const override { return sqlite3_column_int64(m_statement, column); }
    QString text(int column) const override
    {
        const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
        return utf8 ? QString::fromUtf8(utf8, sqlite3_column_bytes(m_statement, column)) : QString();
    }
    Dayplex::Date dateTime(int column) const override
    {
        const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
        return storedDateTime(utf8, sqlite3_column_bytes(m_statement, column));
    }

private:
    void check(int result) const
    {
        if (result == SQLITE_OK)
            return;
        throw DatabaseError(m_errorText(QSqlError(QStringLiteral("Lesen fehlgeschlagen"), QString::fromUtf8(sqlite3_errmsg(m_db)),
                                                  QSqlError::StatementError,
                                                  QString::number(sqlite3_extended_errcode(m_db)))));
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_statement = nullptr;
    std::function<QString(const QSqlError &)> m_errorText;
};

} // namespace

bool QueryRowReader::next()
{
    return m_query.next();
}

bool QueryRowReader::isNull(int column) const
{
    return m_query.isNull(column);
}

qint64 QueryRowReader::number(int column) const
{
    return m_query.value(column).toLongLong();
}

QString QueryRowReader::text(int column) const
{
    return m_query.value(column).toString();
}

Dayplex::Date QueryRowReader::dateTime(int column) const
{
    const QString value = text(column);
    return checkedDateTime(parseSqlDateTime(value), value);
}

std::optional<Dayplex::Date> parseSqlDateTime(QStringView text)
{
    return parseDigits(text.utf16(), text.size());
}

std::optional<Dayplex::Date> parseSqlDateTime(const char *utf8, qsizetype size)
{
    return utf8 ? parseDigits(utf8, size) : std::nullopt;
}

Dayplex::Date storedDateTime(const char *utf8, qsizetype size)
{
    const std::optional<Dayplex::Date> value = parseSqlDateTime(utf8, size);
    return value ? *value : checkedDateTime(value, utf8 ? QString::fromUtf8(utf8, size) : QString());
}

std::unique_ptr<RowReader> sqliteRows(const QSqlDatabase &connection, const Database::Statement &statement,
                                      const std::function<QString(const QSqlError &)> &errorText)
{
    const QVariant handle = connection.driver() ? connection.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    sqlite3 *db = *static_cast<sqlite3 *const *>(handle.constData());
    if (!db)
        return nullptr;
    auto rows = std::make_unique<SqliteRowReader>(db, errorText);
    rows->start(statement);
    return rows;
}

namespace {

QList<Dayplex::Date> dateList(const QString &text)
{
    QList<Dayplex::Date> dates;
    if (text.isEmpty())
        return dates;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        dates.append(Database::fromSqlDateTime(part));
    return dates;
}

QList<int> seatList(const QString &text)
{
    QList<int> seats;
    if (text.isEmpty()) // one participant, the most common row
        return seats;
    for (QStringView part : QStringView(text).split(QLatin1Char(','), Qt::SkipEmptyParts))
        seats.append(part.toInt());
    return seats;
}

} // namespace

QString seatsText(const QList<int> &seats)
{
    if (seats.size() < 2)
        return QStringLiteral("");
    QStringList parts;
    for (int seat : seats)
        parts.append(QString::number(seat));
    return parts.join(QLatin1Char(','));
}

QList<int> SharedValues::onlyParticipant(int id)
{
    auto found = m_onlyParticipant.find(id);
    if (found == m_onlyParticipant.end())
        found = m_onlyParticipant.insert(id, QList<int>{id});
    return *found;
}

Appointment readRow(const RowReader &row)
{
    SharedValues shared;
    return readRow(row, shared, RowContent::Whole);
}

Appointment readRow(const RowReader &row, SharedValues &shared, RowContent content)
{
    Appointment a;
    a.id = row.number(0);
    a.text = row.text(1);
    a.start = row.dateTime(2);
    a.end = row.dateTime(3);
    a.allDay = row.number(4) != 0;
    a.fontColor = qint32(row.number(5));
    a.backColor = qint32(row.number(6));
    a.done = row.number(7) != 0;
    a.readOnly = row.number(8) != 0;
    a.participantId = int(row.number(9));
    a.note = row.number(10) != 0;
    a.version = row.number(11);
    a.seriesId = row.number(12);
    if (a.seriesId != 0)
        a.recurrenceStart = row.dateTime(13);
    a.participantIds = seatList(row.text(14));
    if (a.participantIds.isEmpty())
        a.participantIds = shared.onlyParticipant(a.participantId);
    if (content == RowContent::Shown)
        return a;
    a.uid = row.text(15);
    a.rrule = row.text(16);
    a.rdates = dateList(row.text(17));
    a.exdates = dateList(row.text(18));
    a.source = row.text(19);
    return a;
}

QVector<Appointment> readRows(RowReader &rows)
{
    QVector<Appointment> read;
    SharedValues shared;
    while (rows.next())
        read.append(readRow(rows, shared, RowContent::Whole));
    return read;
}

} // namespace Terminplaner

// Rows put back as a snapshot holds them: the database side of undo and redo.
#include "database.h"
#include "seriesfields.h"

#include <QSqlQuery>
#include <QVariant>

namespace Terminplaner {

namespace {

const Appointment *findRow(const QVector<Appointment> &rows, qint64 id)
{
    for (const Appointment &row : rows)
        if (row.id == id)
            return &row;
    return nullptr;
}

} // namespace

QVector<Appointment> Database::rowFamily(qint64 id) const
{
    QVector<Appointment> rows;
    if (std::optional<Appointment> row = appointment(id)) {
        rows.append(*row);
        if (row->isSeries())
            rows += overridesOf(id);
    }
    return rows;
}

QVector<Appointment> Database::restoreRows(const QVector<Appointment> &expected, const QVector<Appointment> &wanted,
                                           bool force)
{
    Transaction transaction(*this);
    for (const Appointment &row : expected) {
        const std::optional<Appointment> stored = appointment(row.id);
        if (!force && (!stored || stored->version != row.version))
            throwConflict(row.id);
        if (stored)
            notifySpan(*stored);
    }
    // Changed occurrences go before their series and come back after it.
    for (bool occurrences : {true, false})
        for (const Appointment &row : expected)
            if (row.isOccurrence() == occurrences && !findRow(wanted, row.id))
                deleteRows(QStringLiteral("id = ?"), {row.id});
    QList<qint64> ids;
    for (bool occurrences : {false, true}) {
        for (const Appointment &row : wanted) {
            if (row.isOccurrence() != occurrences)
                continue;
            Appointment fields = row;
            fields.version = 0;
            if (const std::optional<Appointment> stored = appointment(row.id)) {
                updateRow(fields);
                if (stored->uid != row.uid) {
                    QSqlQuery uid = prepare(QStringLiteral("UPDATE appointments SET uid = ? WHERE id = ?"));
                    uid.addBindValue(row.uid);
                    uid.addBindValue(row.id);
                    exec(uid);
                }
                if (stored->start != row.start || stored->end != row.end)
                    journal(row.id, stored->start, stored->end, row.start, row.end);
            } else {
                // A new row takes the id it had, so that the steps before and after it still find it.
                const qint64 fresh = insertRow(fields);
                QSqlQuery seats = prepare(QStringLiteral("DELETE FROM appointment_participants WHERE appointment_id = ?"));
                seats.addBindValue(fresh);
                exec(seats);
                QSqlQuery renumber = prepare(QStringLiteral("UPDATE appointments SET id = ? WHERE id = ?"));
                renumber.addBindValue(row.id);
                renumber.addBindValue(fresh);
                exec(renumber);
                writeParticipants(row.id, row.allParticipants());
            }
            notifySpan(row);
            ids.append(row.id);
        }
    }
    QVector<Appointment> stored;
    for (qint64 id : std::as_const(ids))
        if (std::optional<Appointment> row = appointment(id))
            stored.append(*row);
    transaction.commit();
    return stored;
}

} // namespace Terminplaner

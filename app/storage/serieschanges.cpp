// Changes and deletions of one occurrence of a series, for the scope the user chose.
#include "database.h"
#include "recurrence.h"
#include "seriesfields.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QVariant>
#include <cmath>

namespace Terminplaner {

namespace {

constexpr Dayplex::Date kHalfSecond = Dayplex::kOneSecond / 2;

bool hasOccurrences(const Appointment &series)
{
    return !occurrenceStarts(seriesPattern(series), Dayplex::kMinDate, Dayplex::kMaxDate, 1).isEmpty();
}

template <typename Work>
void asDatabaseError(const QString &text, Work work)
{
    try {
        work();
    } catch (const RecurrenceError &error) {
        qWarning("terminplaner: series not changed: %s", error.what());
        throw DatabaseError(QStringLiteral("Die Serie „%1“ kann nicht geändert werden: %2").arg(text, error.message()));
    }
}

// A series whose rule the user changed: it begins on the first day of its new rule, and the
// dates added to or taken out of the old rule no longer apply. An empty rule ends the repetition.
void applyNewRule(Appointment &series, const std::optional<QString> &newRule)
{
    if (!newRule)
        return;
    const double length = series.end - series.start;
    series.rrule = *newRule;
    series.rdates.clear();
    series.exdates.clear();
    if (!series.rrule.isEmpty())
        series.start = firstStartOnRule(series.rrule, series.start);
    series.end = series.start + length;
}

} // namespace

Appointment Database::seriesForChange(qint64 seriesId, Dayplex::Date recurrenceStart, qint64 expectedVersion)
{
    const std::optional<Appointment> series = appointment(seriesId);
    if (!series || (expectedVersion != 0 && series->version != expectedVersion))
        throwConflict(seriesId);
    if (!series->isSeries())
        throw DatabaseError(QStringLiteral("Der Termin „%1“ ist keine Terminserie.").arg(series->text));
    if (series->readOnly)
        throw DatabaseError(QStringLiteral("Der Termin „%1“ ist schreibgeschützt.").arg(series->text));
    if (!isOccurrence(seriesPattern(*series), recurrenceStart))
        throw DatabaseError(QStringLiteral("Die Serie „%1“ hat am %2 keinen Termin.")
                                .arg(series->text, Dayplex::toQDateTime(recurrenceStart).toString(
                                                       QStringLiteral("dd.MM.yyyy HH:mm"))));
    // Claimed first: another desk's change of the same series meanwhile is a conflict.
    QSqlQuery claim = prepare(QStringLiteral("UPDATE appointments SET version = version + 1"
                                             " WHERE id = ? AND version = ?"));
    claim.addBindValue(seriesId);
    claim.addBindValue(series->version);
    exec(claim);
    if (claim.numRowsAffected() != 1)
        throwConflict(seriesId);
    Appointment claimed = *series;
    claimed.version = 0;
    return claimed;
}

bool Database::endSeriesBefore(Appointment &series, Dayplex::Date recurrenceStart)
{
    const QVector<Dayplex::Date> earlier =
        occurrenceStarts(seriesPattern(series), Dayplex::kMinDate, recurrenceStart - kHalfSecond);
    if (std::none_of(earlier.begin(), earlier.end(),
                     [recurrenceStart](Dayplex::Date d) { return d < recurrenceStart - kHalfSecond; }))
        return false;
    series.rrule = ruleEndingBefore(series, recurrenceStart);
    series.rdates = datesBefore(series.rdates, recurrenceStart);
    series.exdates = datesBefore(series.exdates, recurrenceStart);
    return true;
}

qint64 Database::changeOccurrence(qint64 seriesId, Dayplex::Date recurrenceStart, const Appointment &changed,
                                Dayplex::SeriesScope scope, qint64 expectedVersion,
                                  const std::optional<QString> &newRule)
{
    Transaction transaction(*this);
    qint64 written = seriesId;
    asDatabaseError(changed.text, [&] {
        Appointment series = seriesForChange(seriesId, recurrenceStart, expectedVersion);
        const Dayplex::Date oldEnd = recurrenceStart + (series.end - series.start);
        const std::optional<Appointment> own = overrideAt(seriesId, recurrenceStart);
        Appointment fields = changed;
        if (fields.participantId == 0 && fields.participantIds.isEmpty())
            fields.participantIds = series.allParticipants();
        fields.rrule.clear();
        fields.rdates.clear();
        fields.exdates.clear();
        fields.version = 0;
        const Dayplex::Date offset = fields.start - recurrenceStart;
        const Appointment before = series;
        Appointment cut = series;
        if (scope == Dayplex::SeriesScope::ThisAndFollowing && !endSeriesBefore(cut, recurrenceStart))
            scope = Dayplex::SeriesScope::AllOfSeries; // the first occurrence: the whole series

        if (scope == Dayplex::SeriesScope::OnlyThis) {
            if (own && own->readOnly)
                throw DatabaseError(QStringLiteral("Der Termin „%1“ ist schreibgeschützt.").arg(own->text));
            Appointment row = fields;
            row.id = own ? own->id : 0;
            row.uid = series.uid;
            row.source = series.source;
            row.seriesId = seriesId;
            row.recurrenceStart = recurrenceStart;
            if (own)
                updateRow(row);
            else
                row.id = insertRow(row);
            written = row.id;
            const Dayplex::Date oldStart = own ? own->start : recurrenceStart;
            const Dayplex::Date oldRowEnd = own ? own->end : oldEnd;
            journal(written, oldStart, oldRowEnd, row.start, row.end);
            notifyChange(std::min(oldStart, row.start), std::max(oldRowEnd, row.end));
            return;
        }

        Appointment moved = fields;
        moved.source = series.source;
        moved.seriesId = 0;
        moved.recurrenceStart = 0;
        QVector<Appointment> carried;
        for (const Appointment &o : overridesOf(seriesId))
            if (o.recurrenceStart > recurrenceStart + kHalfSecond
                || (scope == Dayplex::SeriesScope::AllOfSeries && o.recurrenceStart < recurrenceStart - kHalfSecond))
                carried.append(o);
        // Under another rule the changed occurrences name days that no longer exist.
        if (newRule) {
            for (const Appointment &o : std::as_const(carried))
                deleteRows(QStringLiteral("id = ?"), {o.id});
            carried.clear();
        }
        // The changed occurrence takes the change like the others.
        if (own)
            deleteRows(QStringLiteral("id = ?"), {own->id});
        if (scope == Dayplex::SeriesScope::AllOfSeries) {
            moved.id = seriesId;
            moved.uid = series.uid;
            moved.start = series.start + offset;
            moved.end = moved.start + (fields.end - fields.start);
            moved.rrule = shiftedRule(series.rrule, series.start, offset);
            moved.rdates = datesFrom(series.rdates, Dayplex::kMinDate, offset);
            moved.exdates = datesFrom(series.exdates, Dayplex::kMinDate, offset);
            applyNewRule(moved, newRule);
            // No longer a series: the appointment stays where the user looked at it.
            if (newRule && newRule->isEmpty()) {
                moved.start = fields.start;
                moved.end = fields.end;
            }
            updateRow(moved);
        } else {
            updateRow(cut);
            moved.uid = newAppointmentUid();
            moved.rrule = ruleFrom(series, recurrenceStart, offset);
            moved.rdates = datesFrom(series.rdates, recurrenceStart + Dayplex::kOneSecond, offset);
            moved.exdates = datesFrom(series.exdates, recurrenceStart + Dayplex::kOneSecond, offset);
            applyNewRule(moved, newRule);
            moved.id = insertRow(moved);
        }
        written = moved.id;
        // The changed occurrences stay as they are, under the start their occurrence has now.
        for (const Appointment &o : carried) {
            QSqlQuery query = prepare(QStringLiteral("UPDATE appointments SET series_id = ?, uid = ?,"
                                                     " recurrence_start = ?, version = version + 1 WHERE id = ?"));
            query.addBindValue(moved.id);
            query.addBindValue(moved.uid);
            query.addBindValue(toSqlDateTime(o.recurrenceStart + offset));
            query.addBindValue(o.id);
            exec(query);
        }
        journal(written, recurrenceStart, oldEnd, fields.start, fields.end);
        // Both parts, or the series before and after: every day either reaches.
        const auto [oldFirst, oldLast] = daysTouched(before);
        const auto [newFirst, newLast] = daysTouched(moved);
        notifyChange(std::min(oldFirst, newFirst), std::max(oldLast, newLast));
    });
    transaction.commit();
    return written;
}

void Database::deleteOccurrence(qint64 seriesId, Dayplex::Date recurrenceStart, Dayplex::SeriesScope scope,
                                qint64 expectedVersion)
{
    Transaction transaction(*this);
    asDatabaseError(QString::number(seriesId), [&] {
        Appointment series = seriesForChange(seriesId, recurrenceStart, expectedVersion);
        notifySpan(series);
        bool remains = false;
        if (scope == Dayplex::SeriesScope::OnlyThis) {
            deleteRows(QStringLiteral("series_id = ? AND recurrence_start = ?"),
                       {seriesId, toSqlDateTime(recurrenceStart)});
            series.exdates.append(recurrenceStart);
            remains = hasOccurrences(series);
        } else if (scope == Dayplex::SeriesScope::ThisAndFollowing) {
            remains = endSeriesBefore(series, recurrenceStart);
            if (remains)
                deleteRows(QStringLiteral("series_id = ? AND recurrence_start >= ?"),
                           {seriesId, toSqlDateTime(recurrenceStart)});
        }
        // Without occurrences left the series goes, with its changed ones.
        if (remains)
            updateRow(series);
        else
            deleteRows(QStringLiteral("id = ? OR series_id = ?"), {seriesId, seriesId});
    });
    transaction.commit();
}

} // namespace Terminplaner

// A calendar file's content written as the file means it: series as series with their changed
// occurrences, cancellations taken out, UIDs looked up within the calendar they come from.
#include "database.h"
#include "recurrence.h"
#include "seriesfields.h"

#include <QHash>
#include <QSet>
#include <cmath>

namespace Terminplaner {

namespace {

// The rows of a file that says nothing of itself: never this program's own, never those of
// a calendar that names itself.
const QString kUnnamedCalendar = QStringLiteral("?");

using Key = std::pair<QString, QString>; // source, uid

// What a user would see change: everything stored but the keys and the version.
QString contentOf(const Appointment &a)
{
    QStringList dates;
    for (const QList<Dayplex::Date> &list : {a.rdates, a.exdates}) {
        QList<Dayplex::Date> sorted = list;
        std::sort(sorted.begin(), sorted.end());
        for (Dayplex::Date d : sorted)
            dates.append(Database::toSqlDateTime(d));
        dates.append(QStringLiteral("|"));
    }
    QStringList people;
    for (int id : a.allParticipants())
        people.append(QString::number(id));
    return QStringList{a.text, Database::toSqlDateTime(a.start), Database::toSqlDateTime(a.end),
                       QString::number(a.allDay), QString::number(a.fontColor), QString::number(a.backColor),
                       QString::number(a.done), QString::number(a.readOnly), QString::number(a.note),
                       people.join(QLatin1Char(',')), a.rrule, dates.join(QLatin1Char(',')),
                       a.recurrenceStart == 0 ? QString() : Database::toSqlDateTime(a.recurrenceStart)}
        .join(QChar(0x1f));
}

QString contentOf(const Appointment &master, QVector<Appointment> overrides)
{
    std::sort(overrides.begin(), overrides.end(),
              [](const Appointment &l, const Appointment &r) { return l.recurrenceStart < r.recurrenceStart; });
    QStringList parts{contentOf(master)};
    for (const Appointment &o : overrides)
        parts.append(contentOf(o));
    return parts.join(QChar(0x1e));
}

// The series a split of "this and all following" made of uid ("<uid>/<local start>").
QString splitOf(const QString &uid)
{
    const int slash = uid.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : uid.left(slash);
}

} // namespace

// The rows of one calendar, each with its changed occurrences.
struct Database::StoredCalendar
{
    QHash<Key, Appointment> byUid;
    QHash<qint64, QVector<Appointment>> overrides;
    QMultiHash<Key, Key> splits; // the series a split was made of, and the split's key
};

void Database::loadCalendar(const QString &source, StoredCalendar &stored) const
{
    for (const Appointment &a : rowsOfCalendar(source)) {
        if (a.seriesId != 0) {
            stored.overrides[a.seriesId].append(a);
            continue;
        }
        stored.byUid.insert({source, a.uid}, a);
        if (const QString split = splitOf(a.uid); !split.isEmpty())
            stored.splits.insert({source, split}, {source, a.uid});
    }
}

ImportCount Database::importCalendar(const CalendarChanges &changes)
{
    // This program's own export names where each event came from; any other file is one
    // calendar of its own.
    const bool own = changes.calendarIdentity.section(QLatin1Char('\n'), 0, 0) == QLatin1String(kOwnProductId);
    const QString fileSource = own ? QStringLiteral("")
                               : changes.calendarIdentity.isEmpty() ? kUnnamedCalendar
                                                                    : changes.calendarIdentity;
    const auto sourceOf = [&](const Appointment &a) { return own ? a.source : fileSource; };

    Transaction transaction(*this);
    StoredCalendar stored;
    QSet<QString> sources{fileSource};
    for (const Appointment &a : changes.appointments)
        sources.insert(sourceOf(a));
    for (const QString &source : std::as_const(sources))
        loadCalendar(source, stored);

    ImportCount count;
    Dayplex::Date from = Dayplex::kMaxDate, to = Dayplex::kMinDate;
    const auto touched = [&from, &to](const Appointment &a) {
        const auto [first, last] = daysTouched(a);
        from = std::min(from, first);
        to = std::max(to, last);
    };
    const auto remove = [&](const Key &key) {
        const auto found = stored.byUid.constFind(key);
        if (found == stored.byUid.cend())
            return;
        touched(*found);
        for (const Appointment &o : stored.overrides.value(found->id))
            touched(o);
        deleteRows(QStringLiteral("id = ? OR series_id = ?"), {found->id, found->id});
        stored.byUid.erase(found);
        ++count.removed;
    };
    // A series goes with the parts an earlier split made of it that the file no longer holds.
    QSet<Key> brought;
    for (const Appointment &a : changes.appointments)
        brought.insert({sourceOf(a), a.uid});
    const auto removeStaleSplits = [&](const Key &key) {
        for (const Key &split : stored.splits.values(key))
            if (!brought.contains(split))
                remove(split);
    };

    for (const QString &uid : changes.removedUids) {
        remove({fileSource, uid});
        removeStaleSplits({fileSource, uid});
    }

    QHash<Key, QVector<Appointment>> overridesOfFile;
    for (const Appointment &o : changes.overrides)
        overridesOfFile[{sourceOf(o), o.uid}].append(o);
    for (Appointment a : changes.appointments) {
        const Key key{sourceOf(a), a.uid};
        a.source = key.first;
        a.seriesId = 0;
        a.recurrenceStart = 0;
        a.version = 0;
        const QVector<Appointment> changed = overridesOfFile.value(key);
        const std::optional<Appointment> old = stored.byUid.contains(key) ? std::optional(stored.byUid.value(key))
                                                                           : std::nullopt;
        const QVector<Appointment> oldOverrides = old ? stored.overrides.value(old->id) : QVector<Appointment>();
        if (old && contentOf(*old, oldOverrides) == contentOf(a, changed)) {
            ++count.unchanged;
        } else {
            if (old) {
                a.id = old->id;
                touched(*old);
                for (const Appointment &o : oldOverrides)
                    touched(o);
                deleteRows(QStringLiteral("series_id = ?"), {a.id});
                updateRow(a);
                ++count.updated;
            } else {
                a.id = insertRow(a);
                ++count.added;
            }
            touched(a);
            QVector<Appointment> written;
            for (Appointment o : changed) {
                o.source = a.source;
                o.seriesId = a.id;
                o.id = insertRow(o);
                touched(o);
                written.append(o);
            }
            // A UID that comes twice replaces what it brought the first time.
            stored.byUid.insert(key, a);
            stored.overrides.insert(a.id, written);
        }
        removeStaleSplits(key);
    }

    for (const CancelledOccurrence &c : changes.cancelledOccurrences) {
        const auto found = stored.byUid.find({fileSource, c.uid});
        if (found == stored.byUid.end() || !found->isSeries())
            continue;
        Appointment &series = *found;
        if (!isOccurrence(seriesPattern(series), c.recurrenceStart)) {
            ++count.unchanged; // taken out before
            continue;
        }
        touched(series);
        deleteRows(QStringLiteral("series_id = ? AND recurrence_start = ?"),
                   {series.id, toSqlDateTime(c.recurrenceStart)});
        series.exdates.append(c.recurrenceStart);
        series.version = 0;
        // Without occurrences left the series goes, with its changed ones.
        if (occurrenceStarts(seriesPattern(series), Dayplex::kMinDate, Dayplex::kMaxDate, 1).isEmpty())
            deleteRows(QStringLiteral("id = ? OR series_id = ?"), {series.id, series.id});
        else
            updateRow(series);
        ++count.removed;
    }

    if (from <= to)
        notifyChange(from, to);
    transaction.commit();
    return count;
}

} // namespace Terminplaner

#ifndef TERMINPLANER_HOSTBRIDGE_H
#define TERMINPLANER_HOSTBRIDGE_H

#include "database.h"

#include <dayplex/dates.h>

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <vector>

namespace Dayplex {
class ucAgenda;
class ctlGantt;
}

namespace Terminplaner {

// How one answer to NeedDates went.
struct FillResult
{
    int delivered = 0; // appointments handed to the view
    int skipped = 0;   // records the view refused
};

// The version of a row as a view was filled with it.
struct ShownVersion
{
    qint64 id;
    qint64 version;
};

// The host side of the views' protocol, without any window: answers NeedDates from the
// database, applies DateChanged, and keeps the participant filter. The DSN of an appointment
// is "T" and its id, that of an unchanged occurrence of a series "T" and the series' id, "@"
// and the occurrence's start (yyyyMMddThhmmss); that of a participant "P" and its id; holidays
// of the views never match.
class HostBridge
{
public:
    explicit HostBridge(Database &db);

    Database &database() const { return m_db; }

    // The participants shown in both views, in the order of the participant list.
    QList<int> participantFilter() const;
    void setParticipantFilter(const QList<int> &ids);

    // The options strings of the two views; empty when none was stored.
    QString calendarOptions() const;
    void setCalendarOptions(const QString &options);
    // Once per database: stored calendar options made before boxes showed their true length
    // get it (trueLengthCalendarOptions); a refused write keeps it for the session.
    void repairStoredOptions();
    QString ganttOptions() const;
    void setGanttOptions(const QString &options);

    // Writes a stored options string into a view; returns the German reason when the view
    // refuses it (it then keeps its defaults). Without a stored string the view gets the
    // host's print layouts on top of its defaults.
    template <typename View>
    static QString restoreOptions(View &view, const QString &options);
    static QString shippedOptions(const Dayplex::ucAgenda &view);
    static QString shippedOptions(const Dayplex::ctlGantt &view);

    // Delivers exactly the appointments of firstDay..lastDay. Reads the database before
    // touching the view, so a failing read leaves the view asking again next time.
    FillResult fillCalendar(Dayplex::ucAgenda &view, Dayplex::Date firstDay,
                            Dayplex::Date lastDay, const QString &fieldList) const;
    FillResult fillGantt(Dayplex::ctlGantt &view, Dayplex::Date firstDay, Dayplex::Date lastDay,
                         const QString &fieldList) const;

    // Writes the new times of an appointment dragged in view; throws DatabaseError when it
    // cannot, and ConflictError when another desk changed or deleted it since the view was
    // filled. force writes over whatever is stored now. An unchanged occurrence of a series
    // gets a row of its own; the series stays as it is.
    // scope says which occurrences of a series the change is for. Returns the id of the row
    // that holds the new times.
    qint64 applyDateChange(const QObject *view, const QString &dsn, Dayplex::Date start, Dayplex::Date end,
                         bool force = false, Dayplex::SeriesScope scope = Dayplex::SeriesScope::OnlyThis);
    // The version of the appointment that the view was last filled with; 0 when unknown.
    qint64 shownVersion(const QObject *view, qint64 id) const;

    static QString appointmentKey(qint64 id);
    // The key of an appointment as appointmentsInDays hands it out.
    static QString appointmentKey(const Appointment &appointment);
    static qint64 appointmentId(const QString &dsn); // 0 for a key that is not ours
    // The start of the unchanged occurrence a key names; 0 for any other key.
    static Dayplex::Date recurrenceStart(const QString &dsn);
    static QString participantKey(int id);
    static int participantId(const QString &dsn);    // 0 for a key that is not ours
    // The participants of a "|"-joined key list such as the Gantt's NewDate passes.
    static QList<int> participantIds(const QString &keyList);

    // The text shown in a box, built from the view's field list: AKT_Notiz is the subject,
    // AKT_Merkmale the participant's name (a meeting's names, comma-separated); other fields
    // this host does not keep.
    static QString composeMemo(const QString &fieldList, const Appointment &appointment,
                               const QString &participantName);

private:
    // Settings go to the database, or stay for this session when it is read-only.
    QString setting(const QString &key, const QString &fallback = QString()) const;
    void setSetting(const QString &key, const QString &value);
    // Each appointment of the days that one of filter takes part in, in order, to show in
    // view, whose versions are noted anew on the way; none for an empty filter.
    void readShown(const QObject *view, Dayplex::Date firstDay, Dayplex::Date lastDay, const QList<int> &filter,
                   const std::function<void(const Appointment &)> &show) const;
    // participantFilter() within the list read already.
    QList<int> participantFilter(const QVector<Participant> &participants) const;

    Database &m_db;
    QHash<QString, QString> m_sessionSettings;
    // Per view: what each shown appointment's row looked like when the view was filled.
    // Looked up only when the user changes one, so a list: a fill notes tens of thousands.
    mutable QHash<const QObject *, std::vector<ShownVersion>> m_versions;
};

template <typename View>
QString HostBridge::restoreOptions(View &view, const QString &options)
{
    try {
        view.setOptions(options.isEmpty() ? shippedOptions(view) : options);
    } catch (const std::exception &error) {
        return QStringLiteral("Die gespeicherten Optionen sind ungültig und werden nicht "
                              "verwendet (%1).")
            .arg(QString::fromUtf8(error.what()));
    }
    return QString();
}

} // namespace Terminplaner

#endif

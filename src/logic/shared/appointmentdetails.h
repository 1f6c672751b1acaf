#ifndef DAYPLEX_APPOINTMENTDETAILS_H
#define DAYPLEX_APPOINTMENTDETAILS_H

#include <dayplex/series.h>

#include <QHash>
#include <QString>

namespace Dayplex {

// What the host told a view about its appointments beyond the classic record, by key; kept
// until the appointments are replaced.
class DetailsByKey
{
public:
    // False when the key already had these details. Details that say nothing are not kept.
    bool set(const QString &dsn, const AppointmentDetails &details);
    // Empty details for a key the host told nothing about.
    const AppointmentDetails &of(const QString &dsn) const;
    void clear() { m_details.clear(); }

private:
    QHash<QString, AppointmentDetails> m_details;
};

// Whether the details say anything a view shows.
inline bool hasDetails(const AppointmentDetails &details)
{
    return details.seriesOccurrence || !details.participants.isEmpty();
}

// "Serientermin" and "Teilnehmer: A, B" as far as the details say so; empty for none.
QStringList detailLines(const AppointmentDetails &details);

// The tooltip of an appointment: its classic one, followed by a line for each detail.
QString tooltipWithDetails(const QString &tooltip, const AppointmentDetails &details);

} // namespace Dayplex

#endif

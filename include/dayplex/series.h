#ifndef DAYPLEX_SERIES_H
#define DAYPLEX_SERIES_H

/// \file series.h
/// Recurring appointments and meetings as a host describes them to the views, beside the
/// classic appointment record.

#include <QMetaType>
#include <QStringList>

namespace Dayplex {

/// Which occurrences of a recurring series a change is for: the answer to the question a view
/// asks before it moves or resizes an occurrence of a series.
enum class SeriesScope {
    OnlyThis,         ///< "Nur diesen Termin"
    ThisAndFollowing, ///< "Diesen und alle folgenden Termine"
    AllOfSeries,      ///< "Alle Termine der Serie"
};

/// What a host may tell a view about a delivered appointment beyond the classic record.
struct AppointmentDetails
{
    /// The appointment is one occurrence of a recurring series.
    bool seriesOccurrence = false;
    /// The participants of a meeting, in the order in which to name them; empty for an
    /// appointment of one person.
    QStringList participants;

    bool operator==(const AppointmentDetails &other) const
    {
        return seriesOccurrence == other.seriesOccurrence && participants == other.participants;
    }
    bool operator!=(const AppointmentDetails &other) const { return !(*this == other); }
};

} // namespace Dayplex

Q_DECLARE_METATYPE(Dayplex::SeriesScope)
Q_DECLARE_METATYPE(Dayplex::AppointmentDetails)

#endif

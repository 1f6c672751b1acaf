#ifndef TERMINPLANER_ICALENDAR_H
#define TERMINPLANER_ICALENDAR_H

#include "database.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QStringList>
#include <QVector>
#include <stdexcept>

namespace Terminplaner {

// A file that cannot be read as iCalendar; the message is German and meant for the user.
class ICalendarError : public std::runtime_error
{
public:
    explicit ICalendarError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// The zone of every time this host stores: the planner works on German wall-clock time.
extern const char kBerlinZone[];

// Writes the appointments as one VCALENDAR (RFC 5545): one VEVENT per appointment under its
// stored UID, times in Europe/Berlin with the zone's VTIMEZONE, all-day entries as DATE
// values with the exclusive end of the standard, the participant as ATTENDEE, and what the
// standard has no property for (colours, done, read-only) as X-TERMINPLANER- properties.
// stamp is the DTSTAMP of every event (UTC).
QByteArray writeICalendar(const QVector<Appointment> &appointments,
                          const QHash<int, QString> &participantNames, const QDateTime &stamp);

struct ICalendarImport
{
    QVector<Appointment> appointments; // uid set, id 0
    int cancelled = 0;                 // STATUS:CANCELLED events, not imported
    int truncatedSeries = 0;           // recurring series cut at the horizon or the count limit
};

// Reads an .ics file as Outlook, Thunderbird and this host write it. Times are converted to
// Europe/Berlin wall-clock time through the file's own VTIMEZONE definitions; recurring
// series are expanded into single appointments up to horizonEnd (at most kMaxOccurrences
// each). An event goes to every participant named by an ATTENDEE or ORGANIZER, otherwise to
// defaultParticipant. Throws ICalendarError for anything that is not a complete, valid
// calendar: then nothing is returned at all.
ICalendarImport readICalendar(const QByteArray &data, const QVector<Participant> &participants,
                              int defaultParticipant, QDate horizonEnd);

constexpr int kMaxOccurrences = 1000;

} // namespace Terminplaner

#endif

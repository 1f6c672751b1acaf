#ifndef TERMINPLANER_ICALENDAR_H
#define TERMINPLANER_ICALENDAR_H

#include "database.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>
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
// values with the exclusive end of the standard, and what the standard has no property for
// (colours, done, read-only) as X-TERMINPLANER- properties. A series is one VEVENT with its
// RRULE (UNTIL in UTC, as the standard demands beside a TZID), RDATE and EXDATE; a changed
// occurrence (recurrenceStart set, no rule) is a VEVENT under its series' UID with a
// RECURRENCE-ID. A meeting is written once: ORGANIZER is its first participant and every
// participant an ATTENDEE; one participant alone is an ATTENDEE. stamp is the DTSTAMP of
// every event (UTC).
QByteArray writeICalendar(const QVector<Appointment> &appointments,
                          const QHash<int, QString> &participantNames, const QDateTime &stamp);

// What to write for the appointments the database handed out for some days: occurrences of a
// series (seriesId set) become the series itself, which seriesOf gives by id, and the changed
// ones among them (an id of their own) its changed occurrences under the series' UID; each
// series, changed occurrence and single appointment once, in the order first met.
QVector<Appointment> appointmentsForExport(
    const QVector<Appointment> &handedOut,
    const std::function<std::optional<Appointment>(qint64 id)> &seriesOf);

// An occurrence a file cancels whose series the file does not hold: the database takes it out
// of the stored series of that UID.
struct CancelledOccurrence
{
    QString uid;
    Dayplex::Date recurrenceStart = 0;
};

// A file's content, as the database applies it: first removedUids go, then appointments
// (single ones and series) are stored by UID, then overrides replace the occurrences of their
// series that recurrenceStart names, then cancelledOccurrences are taken out.
//
// A change of "this and all following occurrences" (RECURRENCE-ID;RANGE=THISANDFUTURE) comes
// already split: the series ends before the changed occurrence (its rule gets an UNTIL) and a
// new series under the UID "<uid>/<local start>" starts there with the changed fields, the
// remaining count and the later exceptions and changed occurrences.
struct ICalendarImport
{
    QVector<Appointment> appointments; // single appointments and series: uid set, id 0
    QVector<Appointment> overrides;    // changed occurrences: the series' uid, recurrenceStart set
    QStringList removedUids;           // cancelled events and series
    QVector<CancelledOccurrence> cancelledOccurrences;
    int cancelled = 0;                 // cancelled events and occurrences in the file
};

// Reads an .ics file as Outlook, Thunderbird and this host write it. Times are converted to
// Europe/Berlin wall-clock time through the file's own VTIMEZONE definitions. A recurring
// event becomes one series whose rule runs in German wall-clock time; where the zone of the
// file moves an occurrence against that (a series in New York time crosses two clock
// changes), it is taken out and its true start added, for the first kCorrectedOccurrences
// occurrences of the file's rule. An event whose ORGANIZER and ATTENDEEs name participants of
// the team (CN equal to the name, ignoring case) is one meeting of them, organizer first;
// otherwise it belongs to defaultParticipant. Throws ICalendarError for anything that is not
// a complete, valid calendar: then nothing is returned at all.
ICalendarImport readICalendar(const QByteArray &data, const QVector<Participant> &participants,
                              int defaultParticipant);

constexpr int kCorrectedOccurrences = 1000;

} // namespace Terminplaner

#endif

#ifndef TERMINPLANER_ICALENDAR_H
#define TERMINPLANER_ICALENDAR_H

#include "germanerror.h"

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
class ICalendarError : public GermanError
{
public:
    using GermanError::GermanError;
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

// A file's content, as the database applies it: first removedUids go, then appointments
// (single ones and series) are stored by UID, then overrides replace the occurrences of their
// series that recurrenceStart names, then cancelledOccurrences are taken out.
//
// A change of "this and all following occurrences" (RECURRENCE-ID;RANGE=THISANDFUTURE) comes
// already split: the series ends before the changed occurrence (its rule gets an UNTIL) and a
// new series under the UID "<uid>/<local start>" starts there with the changed fields, the
// remaining count and the later exceptions and changed occurrences.
//
// calendarIdentity is the first calendar's, when the file holds several. A UID is unique only
// within its calendar, so the database scopes UIDs by it: an updated export of the same
// calendar replaces what the earlier one brought, and a UID of another calendar never
// replaces it. Never the file's name, which the user may change. An event of this program's
// own export names the calendar it was imported from before (X-TERMINPLANER-SOURCE) in its
// source.
struct ICalendarImport : CalendarChanges
{
    int skipped = 0;                   // events that could not be read and were left out
    // German sentences for the user: events left out and why, the encoding the file was read
    // in, zones that are not known. Shown after the import's own summary.
    QStringList notes;
};

// Told how many events of the file were read so far and how many it holds; returning false
// cancels the reading, which then throws ICalendarCancelled and returns nothing.
using ICalendarProgress = std::function<bool(int done, int total)>;

// The user cancelled a reading; nothing was imported.
class ICalendarCancelled : public ICalendarError
{
public:
    ICalendarCancelled()
        : ICalendarError(QStringLiteral("Der Import wurde abgebrochen; es wurde nichts importiert."))
    {
    }
};

// Reads an .ics file as Outlook, Thunderbird, Google, Nextcloud and this host write it: UTF-8
// with or without BOM (else Windows-1252), several calendars in one file or a bare VEVENT.
// Times are converted to Europe/Berlin wall-clock time through the file's own VTIMEZONE
// definitions first, then IANA and Windows zone names and "UTC+11"; an unknown zone is read
// as UTC and named in notes, a floating time is German time. An event without UID gets one
// derived from its content, the same on every reading. An Outlook all-day flag on times from
// midnight to midnight makes an all-day entry; a free time (TRANSP, BUSYSTATUS) a note. A
// recurring
// event becomes one series whose rule runs in German wall-clock time; where the zone of the
// file moves an occurrence against that (a series in New York time crosses two clock
// changes), it is taken out and its true start added, for the first kCorrectedOccurrences
// occurrences of the file's rule. An event whose ORGANIZER and ATTENDEEs name participants of
// the team (CN equal to the name, ignoring case) is one meeting of them, organizer first;
// otherwise it belongs to defaultParticipant. An event that cannot be read (no start, a time
// that is no time, an end before its start, an invalid rule) is left out and named with its
// line in notes. Throws ICalendarError for a file that is no calendar, is cut off or holds
// events of which none can be read: then nothing is returned at all.
ICalendarImport readICalendar(const QByteArray &data, const QVector<Participant> &participants,
                              int defaultParticipant, const ICalendarProgress &progress = {});

constexpr int kCorrectedOccurrences = 1000;

} // namespace Terminplaner

#endif

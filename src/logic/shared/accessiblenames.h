#ifndef DAYPLEX_ACCESSIBLENAMES_H
#define DAYPLEX_ACCESSIBLENAMES_H

#include <dayplex/dates.h>
#include <dayplex/series.h>

#include <QString>

namespace Dayplex {

// What a screen reader is told about an appointment: everything its box or bar shows.
struct AppointmentFacts
{
    Date start = 0;
    Date end = 0;
    bool allDay = false;
    QString participant; // the row of a Gantt bar; empty where the view does not know it
    QString text;
    bool done = false;
    bool readOnly = false;
    bool holiday = false;
    bool note = false;   // a mere note of the Gantt view, which blocks no slot
    AppointmentDetails details; // series and participants, as far as the host told them
};

// One German sentence, for example "Mittwoch, 2. Dezember 2026, 09:45 bis 12:00, Markus
// Schulz: Servicetermin, schreibgeschützt"; the details follow the text ("Serientermin,
// Teilnehmer: A, B"). All-day entries say "ganztägig" and run to the
// day their end falls on; a timed end at midnight reads as 24:00 of the day before; an end
// before the start reads as the start, as the views draw it. Line breaks of the text become
// spaces.
QString accessibleAppointmentName(const AppointmentFacts &facts);

// "Montag, 4. März 2024"
QString accessibleDayName(Date day);
// The day, or "Montag, 4. März 2024 bis Sonntag, 10. März 2024" when the last day is later.
QString accessibleDaysName(Date firstDay, Date lastDay);

// The word for the all-day band and its entries.
QString accessibleAllDay();

} // namespace Dayplex

#endif

#ifndef TERMINPLANER_ICALENDAR_P_H
#define TERMINPLANER_ICALENDAR_P_H

// What the iCalendar reader and writer share: German time as a libical zone, the host's own
// properties, and conversions between automation dates and libical time values.
#include "database.h"

#include <dayplex/dates.h>

#include <libical/ical.h>

#include <QString>
#include <memory>

namespace Terminplaner::ICal {

extern const char kParticipantUri[];
extern const char kBackColor[];
extern const char kFontColor[];
extern const char kDone[];
extern const char kReadOnly[];
extern const char kSource[];

struct ComponentDeleter
{
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentDeleter>;

// The VTIMEZONE of Europe/Berlin that every written file carries.
ComponentPtr berlinTimezoneComponent();
// The conversion target of every imported time, built from that definition rather than from
// the system's zone files, which a minimal machine may lack.
icaltimezone *berlinZone();

// Refuses the whole file with a German reason; nothing is imported.
[[noreturn]] void refuse(const QString &reason);

QString text(const char *value);
// Everyone taking part in the appointment, its first participant first.
QList<int> everyone(const Appointment &a);
icaltimetype dateValue(Dayplex::Date value);
// A floating date-time with the wall-clock fields of value.
icaltimetype dateTimeValue(Dayplex::Date value);
// The automation date of a time's own fields, without any zone conversion.
Dayplex::Date wallClock(const icaltimetype &t);
// "20271108T090000", the local form an RRULE's UNTIL takes in the host.
QString untilText(const icaltimetype &t);

} // namespace Terminplaner::ICal

#endif

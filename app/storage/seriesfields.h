// The series fields of a stored appointment as the database changes them: its pattern, the
// days it reaches, and its rule cut at an occurrence or moved with it.
#ifndef TERMINPLANER_SERIESFIELDS_H
#define TERMINPLANER_SERIESFIELDS_H

#include "database.h"
#include "recurrence.h"

#include <utility>

namespace Terminplaner {

SeriesPattern seriesPattern(const Appointment &appointment);

// The first and last day a write of the appointment touches; for an endless series every
// day from its start on.
std::pair<Dayplex::Date, Dayplex::Date> daysTouched(const Appointment &appointment);

// The rule of series cut so that no occurrence starts at start or later: a COUNT is counted
// anew, otherwise an UNTIL in local time ends it.
QString ruleEndingBefore(const Appointment &series, Dayplex::Date start);

// The rule of the occurrences of series from start on, for a new series whose times are
// those of series moved by offset: what is left of a COUNT, the UNTIL and weekdays moved.
QString ruleFrom(const Appointment &series, Dayplex::Date start, Dayplex::Date offset);

// The rule of a series whose times moved by offset: an UNTIL moves along, and so do the
// plain weekdays of a weekly rule when the move changes the day.
QString shiftedRule(const QString &rrule, Dayplex::Date from, Dayplex::Date offset);

// The dates of list before start, or from start on, moved by offset.
QList<Dayplex::Date> datesBefore(const QList<Dayplex::Date> &list, Dayplex::Date start);
QList<Dayplex::Date> datesFrom(const QList<Dayplex::Date> &list, Dayplex::Date start, Dayplex::Date offset);

} // namespace Terminplaner

#endif

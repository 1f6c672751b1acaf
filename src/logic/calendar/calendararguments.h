#ifndef DAYPLEX_CALENDARARGUMENTS_H
#define DAYPLEX_CALENDARARGUMENTS_H

// The calendar API's loosely typed arguments as the core takes them, with the German error a
// host gets for a bad one.
#include <dayplex/dates.h>

#include <QVariant>

namespace Dayplex {

// A QDateTime, a QDate or anything that reads as a number (an automation date); anything else
// throws Dayplex::Error 13 "<member>: Datumswert erwartet.".
Date dateArgument(const QVariant &value, const char *member);
// DateAbrunden: datum (a valid date) rounded down to a multiple of a positive duration step,
// after adding one second; a zero step throws Dayplex::Error 11, a negative one Error 5.
Date roundedDownArgument(Date datum, const QVariant &step);
// Scroll's direction: a number, empty counting as 0; Error 13 for anything else, Error 5 for
// a number that is not finite.
double scrollDirectionArgument(const QVariant &direction);

} // namespace Dayplex

#endif

#ifndef DAYPLEX_MODELVALUES_H
#define DAYPLEX_MODELVALUES_H

#include <dayplex/dates.h>

#include <QColor>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace Dayplex {

// How the values of an item model's fields become the classic record's and back.

// A QDateTime, a QDate, an ISO 8601 text (as SQLite keeps dates, with "T" or a space) or an
// automation date number; nothing for anything else or a date outside the valid range.
std::optional<Date> dateFromModel(const QVariant &value);
// The moment written back in the kind the field held before: an ISO text for a text, a number
// for a number, a QDateTime otherwise.
QVariant dateForModel(Date moment, const QVariant &previous);
// A Windows colour value 0x00BBGGRR from a QColor, a QBrush, a colour name ("#ffcc00", "gold")
// or a number 0xRRGGBB; nothing for an empty or unreadable value.
std::optional<qint32> colourFromModel(const QVariant &value);
// The default layout's text or background colour of an appointment, for one that names none:
// the views draw each appointment's own colours while their individual colours are on.
qint32 plainAppointmentColour(bool background, bool allDay);
// A Windows colour value of \a colour; the plain appointment colour for an invalid one.
qint32 appointmentColour(const QColor &colour, bool background, bool allDay);
// The row keys of a participant field: a QStringList, or a text of keys joined with "|".
QStringList keysFromModel(const QVariant &value);

} // namespace Dayplex

#endif

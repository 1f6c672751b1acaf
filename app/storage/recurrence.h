#ifndef TERMINPLANER_RECURRENCE_H
#define TERMINPLANER_RECURRENCE_H

#include "germanerror.h"

#include <dayplex/dates.h>

#include <QDate>
#include <QList>
#include <QString>
#include <QVector>
#include <stdexcept>

namespace Terminplaner {

// A rule that is not a recurrence rule this host can expand; the message is German.
class RecurrenceError : public GermanError
{
public:
    using GermanError::GermanError;
};

// The rule of a series as the appointment form edits it. Stored and exchanged as the value of
// an RFC 5545 RRULE ("FREQ=WEEKLY;BYDAY=MO"), in local wall-clock time: an UNTIL is a local
// date-time (or a date), never UTC, so a weekly 09:00 series stays at 09:00 all year.
struct RecurrenceRule
{
    enum class Frequency { Daily, Weekly, Monthly, Yearly };
    Frequency frequency = Frequency::Weekly;
    int interval = 1;         // every n days, weeks, months, years
    QList<int> weekdays;      // Qt::DayOfWeek 1..7: weekly on these days; monthly or yearly
                              // with an ordinal, the weekday of "the n-th weekday"
    int weekdayOrdinal = 0;   // monthly or yearly: 1..5 or -1 (the last) of weekdays.first()
    int monthDay = 0;         // monthly or yearly: the day of the month, 1..31; 0 = the start's day
    int month = 0;            // yearly: the month 1..12 of the day or of "the n-th weekday";
                              // 0 = the start's date (FREQ=YEARLY alone)
    QDate until;              // the last day that may hold an occurrence; invalid = no date end
    int count = 0;            // the number of occurrences; 0 = no count

    bool operator==(const RecurrenceRule &other) const;
    bool operator!=(const RecurrenceRule &other) const { return !(*this == other); }

    // The RRULE value of this rule.
    QString toRRule() const;
    // Reads an RRULE value the form can show; throws RecurrenceError for one it cannot (such
    // a rule is still stored and expanded as text, only not edited in the form).
    static RecurrenceRule fromRRule(const QString &rrule);
    // "wöchentlich am Montag", "jeden 2. Monat am letzten Freitag, 10-mal" ...: the rule in
    // German words for the form, the tooltip and the summary of an import.
    static QString describe(const QString &rrule);
};

// A series as stored: the first occurrence's local start and length, the rule, and the
// occurrences added or taken out by date. The start is always an occurrence (unless an exdate
// takes it out), also where the rule would not give it; a COUNT counts the rule's own starts.
struct SeriesPattern
{
    Dayplex::Date start = 0;       // local wall-clock start of the first occurrence
    double duration = 0;           // days; every occurrence has this length
    bool allDay = false;
    QString rrule;                 // RRULE value; empty = only start and rdates
    QList<Dayplex::Date> rdates;   // further occurrence starts (local)
    QList<Dayplex::Date> exdates;  // occurrence starts that are taken out (local)
};

// The local starts of the occurrences of pattern that touch [from, to), in order. Expanded
// in local wall-clock time in Europe/Berlin: a start inside the spring gap moves forward by
// the gap's length (02:30 becomes 03:30), a repeated autumn hour stays as written. At most
// limit starts; throws RecurrenceError for a rule that cannot be read.
QVector<Dayplex::Date> occurrenceStarts(const SeriesPattern &pattern, Dayplex::Date from,
                                        Dayplex::Date to, int limit = 100000);

// The end of the last occurrence (local), or 0 when the series has no end. Lets the
// database find the series that can touch a range without expanding the others.
Dayplex::Date seriesLastEnd(const SeriesPattern &pattern);

// True when start is an occurrence start of the pattern (within a second).
bool isOccurrence(const SeriesPattern &pattern, Dayplex::Date start);

// The first start on or after start that the rule itself gives (a weekly Monday rule moves a
// Wednesday start to the next Monday); start when it gives none. Throws RecurrenceError for a
// rule that cannot be read.
Dayplex::Date firstStartOnRule(const QString &rrule, Dayplex::Date start);

} // namespace Terminplaner

#endif

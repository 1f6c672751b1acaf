#ifndef TERMINPLANER_RECURRENCERULES_H
#define TERMINPLANER_RECURRENCERULES_H

// The reading of an RRULE value that the form, its German words and the expansion share.
#include "recurrence.h"

#include <limits>

namespace Terminplaner {

struct ParsedRule
{
    QString frequency;         // "DAILY" ... "SECONDLY"
    int interval = 1;
    qint64 count = 0;          // 0 = no COUNT
    // The latest local start the rule allows: an UNTIL date reaches to the end of its day, a
    // UTC one is turned into Berlin time.
    Dayplex::Date untilBound = std::numeric_limits<double>::infinity();
    bool formRule = false;     // the form can edit it; form holds it then
    RecurrenceRule form;
    QString notForm;           // why the form cannot, in German
};

// Throws RecurrenceError with a German message for a value that is no valid RRULE.
ParsedRule parseRule(const QString &rrule);

} // namespace Terminplaner

#endif

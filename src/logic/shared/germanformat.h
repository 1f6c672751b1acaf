#ifndef DAYPLEX_GERMANFORMAT_H
#define DAYPLEX_GERMANFORMAT_H

#include <dayplex/dates.h>

#include <QString>

namespace Dayplex {

// German date and time texts in the formats the views print, independent of Qt's locale data.
// Pattern letters, in either case: d dd ddd dddd (day, two digits, "Mo", "Montag"), m mm mmm
// mmmm (month, two digits, "Mär", "März"; m directly after h/hh means minutes), yy yyyy, h hh,
// n nn (minutes), s ss; everything else is copied, and so is a character after a backslash or
// text in double quotes. Named formats: "Short Date" (04.03.2024), "Short Time" (10:05),
// "Long Date" (Montag, 4. März 2024), "General Date" (04.03.2024 10:05:00, only the date at
// midnight; also for an empty format). An invalid date gives the empty text. Texts show whole
// seconds, so the moment is rounded to the nearest second first (23:59:59.6 reads as the next
// midnight).
QString formatGermanDate(Date value, const QString &format);
// formatGermanDate(value, "Short Time"), without reading a format: the views ask for it per box.
QString germanShortTime(Date value);

QString germanWeekdayName(int weekdayNumber);      // 1 = Sonntag ... 7 = Samstag
QString germanWeekdayShortName(int weekdayNumber); // 1 = So ... 7 = Sa
QString germanMonthName(int month);                // 1 = Januar ... 12 = Dezember

} // namespace Dayplex

#endif

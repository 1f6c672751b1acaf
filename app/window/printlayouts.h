#ifndef TERMINPLANER_PRINTLAYOUTS_H
#define TERMINPLANER_PRINTLAYOUTS_H

#include <QString>

namespace Terminplaner {

// The options the Terminplaner gives its views while the database holds none of its own: the
// library's defaults with print layouts made for A4 paper and boxes as long as their
// appointments on the screen and on paper. The week and day sheets print
// 08:00 to 18:00 in quarter hours in a font that lets the time grid take most of the page (the
// all-day band gets what the rows leave); the Gantt view prints in landscape with its rows
// stretched down to the foot of the page. defaults is the view's own options string; a text
// that is not an options string comes back unchanged.
QString shippedCalendarOptions(const QString &defaults);
// Options stored before boxes showed their true length: a minimum box height that is the one
// shipped then (four rows on the screen, two on paper) becomes one row; any other value is the
// user's own and stays.
QString trueLengthCalendarOptions(const QString &stored);
QString shippedGanttOptions(const QString &defaults);

// One entry of an options or layout string as README.md describes the format: a key, its kind
// letter and the value as text. setEntry replaces the entry of that key (case ignored) or adds
// it; entryValue is "" for a key that is not there. Both leave a text that is not such a
// string as it is.
QString setEntry(const QString &container, const QString &key, QChar kind, const QString &value);
QString entryValue(const QString &container, const QString &key);

} // namespace Terminplaner

#endif

#ifndef DAYPLEX_LOGGING_H
#define DAYPLEX_LOGGING_H

#include <QLoggingCategory>
#include <QString>

namespace Dayplex {

// One category per area, so that a host can silence or raise one area's warnings
// (QT_LOGGING_RULES="dayplex.print.warning=false"). The modal runner's is dayplex.modal.
Q_DECLARE_LOGGING_CATEGORY(lcCalendar) // dayplex.calendar
Q_DECLARE_LOGGING_CATEGORY(lcGantt)    // dayplex.gantt
Q_DECLARE_LOGGING_CATEGORY(lcOptions)  // dayplex.options
Q_DECLARE_LOGGING_CATEGORY(lcPrint)    // dayplex.print
Q_DECLARE_LOGGING_CATEGORY(lcDialogs)  // dayplex.dialogs
Q_DECLARE_LOGGING_CATEGORY(lcSearch)   // dayplex.search
Q_DECLARE_LOGGING_CATEGORY(lcWheel)    // dayplex.wheel
Q_DECLARE_LOGGING_CATEGORY(lcTexts)    // dayplex.texts
Q_DECLARE_LOGGING_CATEGORY(lcModel)    // dayplex.model
Q_DECLARE_LOGGING_CATEGORY(lcQuick)    // dayplex.quick

// Only inside a catch block: writes "<doing>: <what>" as a warning, with the caught error's
// what() where it has one.
void warnCaught(const QLoggingCategory &category, const QString &doing);

} // namespace Dayplex

#endif

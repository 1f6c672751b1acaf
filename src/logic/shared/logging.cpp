#include "shared/logging.h"

#include <exception>

namespace Dayplex {

Q_LOGGING_CATEGORY(lcCalendar, "dayplex.calendar")
Q_LOGGING_CATEGORY(lcGantt, "dayplex.gantt")
Q_LOGGING_CATEGORY(lcOptions, "dayplex.options")
Q_LOGGING_CATEGORY(lcPrint, "dayplex.print")
Q_LOGGING_CATEGORY(lcDialogs, "dayplex.dialogs")
Q_LOGGING_CATEGORY(lcSearch, "dayplex.search")
Q_LOGGING_CATEGORY(lcWheel, "dayplex.wheel")
Q_LOGGING_CATEGORY(lcTexts, "dayplex.texts")
Q_LOGGING_CATEGORY(lcModel, "dayplex.model")
Q_LOGGING_CATEGORY(lcQuick, "dayplex.quick")

void warnCaught(const QLoggingCategory &category, const QString &doing)
{
    // Rethrown only to tell the kinds apart; each branch ends the rethrown copy.
    try {
        throw;
    } catch (const std::exception &error) {
        qCWarning(category, "%s: %s", qUtf8Printable(doing), error.what());
    } catch (...) {
        qCWarning(category, "%s: unknown error", qUtf8Printable(doing));
    }
}

} // namespace Dayplex

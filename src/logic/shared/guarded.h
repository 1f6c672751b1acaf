#ifndef DAYPLEX_GUARDED_H
#define DAYPLEX_GUARDED_H

#include "shared/logging.h"

namespace Dayplex {

// Runs an event handler of a view so that no error leaves the Qt event loop; the handlers
// leave their state consistent themselves. The error goes to the view's log as a warning.
template<typename F>
void guarded(const QLoggingCategory &category, F f)
{
    try {
        f();
    } catch (...) {
        warnCaught(category, QStringLiteral("event handler"));
    }
}

} // namespace Dayplex

#endif

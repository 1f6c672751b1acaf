#ifndef DAYPLEX_UNAVAILABLE_H
#define DAYPLEX_UNAVAILABLE_H

#include <dayplex/error.h>

namespace Dayplex {

// Members whose behaviour this build does not have yet fail loudly instead of doing nothing.
[[noreturn]] inline void throwNotYetAvailable(const char *member)
{
    throw Error(438, QStringLiteral("%1 is not yet available in this build of Dayplex.")
                         .arg(QLatin1String(member)));
}

} // namespace Dayplex

#endif

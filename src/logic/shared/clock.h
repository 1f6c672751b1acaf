#ifndef DAYPLEX_CLOCK_H
#define DAYPLEX_CLOCK_H

#include <dayplex/dates.h>

namespace Dayplex {

// Lets tests fix "now" (today's column, the current-time line); 0 returns to the real clock.
void setCurrentDateTimeForTesting(Date now);

} // namespace Dayplex

#endif

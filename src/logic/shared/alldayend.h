#ifndef DAYPLEX_ALLDAYEND_H
#define DAYPLEX_ALLDAYEND_H

#include <dayplex/dates.h>

namespace Dayplex {

// Where the time an appointment occupies ends. The host delivers the end of an all-day entry
// as 00:00 of the last day it covers (a one-day entry, like a holiday, starts and ends at the
// same midnight), and both views draw it through that whole day; so it occupies time up to the
// next midnight. Every other end is taken as it is.
Date occupiedEnd(Date end, bool allDay);

} // namespace Dayplex

#endif

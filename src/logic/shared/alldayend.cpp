#include "shared/alldayend.h"

#include <cmath>

namespace Dayplex {

Date occupiedEnd(Date end, bool allDay)
{
    // Midnight allowing for rounding noise below a millisecond.
    const bool midnight = std::isfinite(end) && std::fabs(end - std::nearbyint(end)) < kOneSecond / 1000;
    return allDay && midnight ? std::nearbyint(end) + 1 : end;
}

} // namespace Dayplex

#include "shared/wheelnotches.h"

#include <algorithm>

namespace Dayplex {

int takeWholeNotches(int &remainder, int delta, int pageNotches)
{
    if ((delta > 0 && remainder < 0) || (delta < 0 && remainder > 0))
        remainder = 0;
    const int limit = pageNotches * kWheelNotch;
    remainder = std::clamp(remainder + std::clamp(delta, -limit, limit), -limit, limit);
    const int notches = remainder / kWheelNotch;
    remainder -= notches * kWheelNotch;
    return notches;
}

} // namespace Dayplex

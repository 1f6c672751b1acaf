#include "shared/rasterminutes.h"

#include <cmath>

namespace Dayplex {

double usableRasterMinutes(double minutes)
{
    constexpr double kDefault = 30;
    const double whole = std::nearbyint(minutes);
    return whole >= 1 && whole <= 1440 ? whole : kDefault;
}

} // namespace Dayplex

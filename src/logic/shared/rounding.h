#ifndef DAYPLEX_ROUNDING_H
#define DAYPLEX_ROUNDING_H

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Dayplex {

// Pixel and row arithmetic of both views rounds half to even, as it always has.

// For values known to lie well inside 32 bits (font metrics, page and cell sizes).
inline qint32 roundedUnclamped(double value)
{
    return qint32(std::nearbyint(value));
}

// For values that come from outside (window sizes, mouse positions, public layout fields): a NaN
// or an infinity gives 0, anything else is held within low..high instead of wrapping around.
inline qint32 roundedClamped(double value, double low = double(std::numeric_limits<qint32>::min()),
                             double high = double(std::numeric_limits<qint32>::max()))
{
    if (!std::isfinite(value))
        return 0;
    return qint32(std::clamp(std::nearbyint(value), low, high));
}

} // namespace Dayplex

#endif

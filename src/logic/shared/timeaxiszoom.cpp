#include "shared/timeaxiszoom.h"

#include <array>

namespace Dayplex {

namespace {

// rungs: from the most time shown to the least.
template<std::size_t N>
int zoomed(const std::array<int, N> &rungs, int value, int steps)
{
    for (; steps > 0; --steps) {
        int next = value;
        for (int rung : rungs)
            if (rung < value) {
                next = rung;
                break;
            }
        value = next;
    }
    for (; steps < 0; ++steps) {
        int next = value;
        for (auto it = rungs.rbegin(); it != rungs.rend(); ++it)
            if (*it > value) {
                next = *it;
                break;
            }
        value = next;
    }
    return value;
}

} // namespace

int zoomedRasterMinutes(int minutes, int steps)
{
    static constexpr std::array<int, 5> rungs{60, 30, 15, 10, 5};
    return zoomed(rungs, minutes, steps);
}

int zoomedDayCount(int days, int steps)
{
    static constexpr std::array<int, 8> rungs{28, 21, 14, 7, 5, 3, 2, 1};
    return zoomed(rungs, days, steps);
}

} // namespace Dayplex

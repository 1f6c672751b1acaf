#ifndef DAYPLEX_WHEELNOTCHES_H
#define DAYPLEX_WHEELNOTCHES_H

namespace Dayplex {

// A wheel notch in eighths of a degree.
constexpr int kWheelNotch = 120;

// Adds a wheel turn to what is left of earlier ones and takes out the whole notches in it.
// Turning back drops what was left of a notch the other way; a fling counts at most a page of
// pageNotches, as Qt's own sliders count it, and the rest is dropped.
int takeWholeNotches(int &remainder, int delta, int pageNotches);

} // namespace Dayplex

#endif

#ifndef DAYPLEX_RASTERMINUTES_H
#define DAYPLEX_RASTERMINUTES_H

namespace Dayplex {

// The raster of both views in whole minutes: a value without a usable number (not finite, below
// a minute or beyond a day) gives the default of 30 minutes, since a raster of 0 would make every
// row computation divide by zero and never move a search.
double usableRasterMinutes(double minutes);

} // namespace Dayplex

#endif

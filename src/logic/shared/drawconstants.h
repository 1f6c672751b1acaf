#ifndef DAYPLEX_DRAWCONSTANTS_H
#define DAYPLEX_DRAWCONSTANTS_H

// The plain colours both views draw with (Windows order 0x00BBGGRR, as cDC takes them) and the
// caption alignments they pass to cDC (3 x vertical + horizontal).
#include <QtGlobal>

namespace Dayplex {

constexpr qint32 kBlack = 0x000000;
constexpr qint32 kWhite = 0xFFFFFF;
constexpr qint32 kGrey = 0x808080;
constexpr qint32 kRed = 0x0000FF;

constexpr qint32 kAlignCentre = 0;
constexpr qint32 kAlignLeft = 1;
constexpr qint32 kAlignCentreTop = 3;
constexpr qint32 kAlignLeftTop = 4;

} // namespace Dayplex

#endif // DAYPLEX_DRAWCONSTANTS_H

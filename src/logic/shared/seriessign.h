#ifndef DAYPLEX_SERIESSIGN_H
#define DAYPLEX_SERIESSIGN_H

#include <QRect>

namespace Dayplex {

class cDC;

// The modern presentation's mark of an occurrence of a series: a circular arrow at the right
// end of a box's inside, where the text then does not reach.
struct SeriesSignPlace
{
    QRect sign;  // the square the arrow is drawn in; empty when the box has no room for it
    QRect text;  // the inside left of it, the text's strip
};

// The sign's place in the inside of a box, for a text of charHeight pixels: at the top right,
// or at the right of the middle for a box of one centred line. No place in a box too small
// for a legible sign or too narrow to leave the text most of its width.
SeriesSignPlace seriesSignPlace(const QRect &inside, qint32 charHeight, bool centred);

// Draws the circular arrow into the square in the colour (0x00BBGGRR), smoothed, within the
// clip of the surface.
void drawSeriesSign(cDC &dc, const QRect &square, qint32 colour);

} // namespace Dayplex

#endif

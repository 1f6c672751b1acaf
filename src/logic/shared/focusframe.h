#ifndef DAYPLEX_FOCUSFRAME_H
#define DAYPLEX_FOCUSFRAME_H

#include <QRect>

class QPainter;

namespace Dayplex {

// The frame that shows where the keyboard is in a view: a dark blue line two pixels wide just
// outside `around`, with a white line outside it, so that it stands out on light and dark
// colours alike (10:1 against white, 21:1 for the white line against black). Drawn on the
// screen only, over the view's picture, and kept inside `area`.
void drawFocusFrame(QPainter &painter, const QRect &around, const QRect &area);

} // namespace Dayplex

#endif

#ifndef DAYPLEX_POPUPPLACE_H
#define DAYPLEX_POPUPPLACE_H

#include <QPoint>
#include <QRect>
#include <QSize>

namespace Dayplex {

// Where a pop-up of this size wanted at `at` goes so that it stays on the screen's area: moved
// back from the right and bottom edges, and where it is larger than the area, its top left
// corner stays visible.
QPoint keptOnScreen(QPoint at, QSize size, const QRect &area);

} // namespace Dayplex

#endif

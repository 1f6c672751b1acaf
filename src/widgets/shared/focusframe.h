#ifndef DAYPLEX_FOCUSFRAME_H
#define DAYPLEX_FOCUSFRAME_H

#include <QRect>

#include <functional>

class QEvent;
class QLoggingCategory;
class QPainter;

namespace Dayplex {

// The frame that shows where the keyboard is in a view: a dark blue line two pixels wide just
// outside `around`, with a white line outside it, so that it stands out on light and dark
// colours alike (10:1 against white, 21:1 for the white line against black). Drawn on the
// screen only, over the view's picture, and kept inside `area`.
void drawFocusFrame(QPainter &painter, const QRect &around, const QRect &area);

// Tab or Shift+Tab as Qt moves the focus with it (without Ctrl or Alt) goes to the view's keys
// first, so that it walks the appointments: true when the view kept the key. An error of the
// handler is logged in `category`.
bool walkBeforeQt(QEvent &event, const QLoggingCategory &category,
                  const std::function<bool(int key, Qt::KeyboardModifiers modifiers)> &keyPress);

} // namespace Dayplex

#endif

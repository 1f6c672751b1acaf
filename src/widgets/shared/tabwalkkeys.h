#ifndef DAYPLEX_TABWALKKEYS_H
#define DAYPLEX_TABWALKKEYS_H

#include <QtCore/qnamespace.h>

#include <functional>

class QEvent;
class QLoggingCategory;

namespace Dayplex {

// Tab or Shift+Tab as Qt moves the focus with it (without Ctrl or Alt) goes to the view's keys
// first, so that it walks the appointments: true when the view kept the key. An error of the
// handler is logged in `category`.
bool walkBeforeQt(QEvent &event, const QLoggingCategory &category,
                  const std::function<bool(int key, Qt::KeyboardModifiers modifiers)> &keyPress);

} // namespace Dayplex

#endif

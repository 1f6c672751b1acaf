#ifndef DAYPLEX_VIEWSOURCES_H
#define DAYPLEX_VIEWSOURCES_H

#include <memory>

class QWidget;

namespace Dayplex {

class AccessibleViewSource;

// What the accessible table of a view's drawing surface reads; null for a surface whose parent
// is not that view.
std::unique_ptr<AccessibleViewSource> calendarAccessibleSource(QWidget *surface);
std::unique_ptr<AccessibleViewSource> ganttAccessibleSource(QWidget *surface);

} // namespace Dayplex

#endif

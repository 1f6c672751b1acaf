#ifndef DAYPLEX_ACCESSIBLEFACTORY_H
#define DAYPLEX_ACCESSIBLEFACTORY_H

namespace Dayplex {

// Installs, once per process, the factory that gives screen readers the library's own
// interfaces: the drawing surfaces of the views as tables, the colour swatches of the layout
// dialog as buttons.
void installAccessibleInterfaces();

} // namespace Dayplex

#endif

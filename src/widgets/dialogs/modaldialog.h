#ifndef DAYPLEX_MODALDIALOG_H
#define DAYPLEX_MODALDIALOG_H

#include "shared/modalrunner.h"

#include <QIcon>

namespace Dayplex {

// The icon of the option dialogs ("icoOptions"); a null icon when the resource is missing.
QIcon optionsIcon();

} // namespace Dayplex

#endif

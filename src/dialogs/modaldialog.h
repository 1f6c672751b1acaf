#ifndef DAYPLEX_MODALDIALOG_H
#define DAYPLEX_MODALDIALOG_H

#include <dayplex/modal.h>

#include <QIcon>

namespace Dayplex {

// Runs a dialog modally and returns once it is hidden again. Every modal run of the option
// dialogs goes through the one runner of setModalRunner (<dayplex/modal.h>), so that tests and
// hosts can drive a dialog (fill in controls, press OK or Abbrechen) without a nested event loop.
void runModal(QDialog &dialog);

// The icon of the option dialogs ("icoOptions"); a null icon when the resource is missing.
QIcon optionsIcon();

} // namespace Dayplex

#endif

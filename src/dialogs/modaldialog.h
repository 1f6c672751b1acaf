#ifndef DAYPLEX_MODALDIALOG_H
#define DAYPLEX_MODALDIALOG_H

#include <QIcon>
#include <functional>

class QDialog;

namespace Dayplex {

// Runs a dialog modally and returns once it is hidden again. Every modal run of the option
// dialogs goes through one replaceable runner, so that tests and hosts can drive a dialog
// (fill in controls, press OK or Abbrechen) without a nested event loop.
using ModalRunner = std::function<void(QDialog &dialog)>;

void runModal(QDialog &dialog);
// Replaces the runner; an empty runner restores QDialog::exec. Returns the runner in force before.
ModalRunner setModalRunner(ModalRunner runner);

// The icon of the option dialogs ("icoOptions"); a null icon when the resource is missing.
QIcon optionsIcon();

} // namespace Dayplex

#endif

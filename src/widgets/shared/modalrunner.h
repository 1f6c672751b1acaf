#ifndef DAYPLEX_MODALRUNNER_H
#define DAYPLEX_MODALRUNNER_H

#include <dayplex/modal.h>

#include <QLoggingCategory>

namespace Dayplex {

Q_DECLARE_LOGGING_CATEGORY(lcDayplexModal)

// Runs a modal window of the library and returns once it is hidden again. Every modal window
// (option dialogs, choosers, print dialog, preview, message box) goes through the one runner of
// setModalRunner (<dayplex/modal.h>), so that tests and hosts answer it without a nested event
// loop. Read the answer from the dialog afterwards (result(), the chosen value).
void runModal(QDialog &dialog);

} // namespace Dayplex

#endif

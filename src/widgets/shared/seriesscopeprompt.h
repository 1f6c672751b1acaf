#ifndef DAYPLEX_SERIESSCOPEPROMPT_H
#define DAYPLEX_SERIESSCOPEPROMPT_H

#include <dayplex/series.h>

#include <QString>

#include <optional>

namespace Dayplex {

// Asks which occurrences of a series the change of the appointment with this text is for: a
// message box with the three scopes and "Abbrechen", run through the modal runner
// (ModalWindow::SeriesQuestion). Nothing for "Abbrechen", Escape and a window closed without an
// answer, and without an application of widgets.
std::optional<SeriesScope> askSeriesScope(const QString &appointmentText);

} // namespace Dayplex

#endif

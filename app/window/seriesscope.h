#ifndef TERMINPLANER_SERIESSCOPE_H
#define TERMINPLANER_SERIESSCOPE_H

#include <dayplex/series.h>

#include <QString>
#include <optional>

class QWidget;

namespace Terminplaner {

// Asks which occurrences of a series a change or deletion in the form is for, with the buttons
// the views use for a drag: "Nur diesen Termin" (only when offered), "Diesen und alle folgenden
// Termine", "Alle Termine der Serie", "Abbrechen". Nothing for "Abbrechen" or a closed window.
std::optional<Dayplex::SeriesScope> askSeriesScope(QWidget *parent, const QString &title,
                                                   const QString &text, bool offerOnlyThis);

} // namespace Terminplaner

#endif

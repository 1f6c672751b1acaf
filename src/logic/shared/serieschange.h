#ifndef DAYPLEX_SERIESCHANGE_H
#define DAYPLEX_SERIESCHANGE_H

#include <dayplex/series.h>

#include <QString>
#include <QStringList>

#include <optional>

namespace Dayplex {

// Which question decides a moved or resized appointment: the classic yes/no question, asked
// only when the view's ConfirmChanges is on, or for an occurrence of a series the question
// which occurrences the change is for, asked always, since the host needs the answer.
enum class ChangeQuestion { Classic, SeriesScope };
ChangeQuestion changeQuestion(const AppointmentDetails &details);

// The question which occurrences of a series a change is for: the text naming the
// appointment and the buttons, the scopes in the order of SeriesScope, then "Abbrechen".
struct SeriesScopeQuestion
{
    QString text;
    QStringList buttons;
};
SeriesScopeQuestion seriesScopeQuestion(const QString &appointmentText);

// The scope of the button answered (its place in SeriesScopeQuestion::buttons); nothing for
// "Abbrechen" and for a window closed without an answer (any other number).
std::optional<SeriesScope> seriesScopeOfAnswer(int button);

} // namespace Dayplex

#endif

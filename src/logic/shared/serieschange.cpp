#include "shared/serieschange.h"

#include "shared/uitext.h"

namespace Dayplex {

ChangeQuestion changeQuestion(const AppointmentDetails &details)
{
    return details.seriesOccurrence ? ChangeQuestion::SeriesScope : ChangeQuestion::Classic;
}

SeriesScopeQuestion seriesScopeQuestion(const QString &appointmentText)
{
    // The text on one line, so that a long memo does not push the buttons off the screen.
    const QString name = appointmentText.simplified();
    return {uiText("Dayplex::SeriesScope",
                   "„%1“ ist ein Serientermin. Für welche Termine gilt die Änderung?")
                .arg(name),
            {uiText("Dayplex::SeriesScope", "Nur diesen Termin"),
             uiText("Dayplex::SeriesScope", "Diesen und alle folgenden Termine"),
             uiText("Dayplex::SeriesScope", "Alle Termine der Serie"),
             uiText("Dayplex::SeriesScope", "Abbrechen")}};
}

std::optional<SeriesScope> seriesScopeOfAnswer(int button)
{
    switch (button) {
    case 0:
        return SeriesScope::OnlyThis;
    case 1:
        return SeriesScope::ThisAndFollowing;
    case 2:
        return SeriesScope::AllOfSeries;
    default:
        return std::nullopt;
    }
}

} // namespace Dayplex

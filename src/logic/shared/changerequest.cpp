#include "shared/changerequest.h"

#include "shared/germanformat.h"
#include "shared/toolbox.h"
#include "shared/uitext.h"

namespace Dayplex {

bool ChangeRequest::changed() const
{
    return !(cToolbox::DateCompare(start, QStringLiteral("="), startOrig)
             && cToolbox::DateCompare(end, QStringLiteral("="), endOrig));
}

bool ChangeRequest::stands(const ChangeAnswer &answer) const
{
    return question == ChangeQuestion::Classic ? answer.accepted : answer.scope.has_value();
}

QString classicChangeQuestion(const ChangeRequest &request)
{
    const auto general = [](Date value) { return formatGermanDate(value, QStringLiteral("General Date")); };
    // One pass over the placeholders: a "%2" in the appointment's text stays as it is.
    return uiText("Dayplex::cCommonCalendar",
                  "Soll der Eintrag '%1'\r\n von %2 - %3\r\n"
                  " auf %4 - %5\r\nverändert werden")
        .arg(request.text, general(request.startOrig), general(request.endOrig),
             general(request.start), general(request.end));
}

void raiseChanged(const ViewEvents &events, const ChangeRequest &request,
                  const ChangeAnswer &answer, QString dsn, Date start, Date end)
{
    if (request.question == ChangeQuestion::SeriesScope) {
        if (events.seriesDateChanged)
            events.seriesDateChanged(dsn, *answer.scope, start, end);
    } else if (events.dateChanged) {
        events.dateChanged(dsn, start, end);
    }
}

} // namespace Dayplex

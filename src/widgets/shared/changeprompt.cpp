#include "shared/changeprompt.h"

#include "shared/ctools.h"
#include "shared/seriesscopeprompt.h"

namespace Dayplex {

ChangeAnswer askChange(const ChangeRequest &request, const std::function<void()> &showNewPlace)
{
    ChangeAnswer answer;
    if (!request.changed())
        return answer;
    showNewPlace();
    if (request.question == ChangeQuestion::SeriesScope)
        answer.scope = askSeriesScope(request.text);
    else
        answer.accepted = !request.confirm || cTools::Confirm(classicChangeQuestion(request), true);
    return answer;
}

} // namespace Dayplex

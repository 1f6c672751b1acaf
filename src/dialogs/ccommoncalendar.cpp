#include "dialogs/ccommoncalendar.h"

#include "shared/defaultoptions.h"

namespace Dayplex {

QString cCommonCalendar::GetDefaultOptions() const
{
    return defaultOptionsString();
}

QString cCommonCalendar::GetDefaultLayoutOptions() const
{
    return defaultLayoutString();
}

} // namespace Dayplex

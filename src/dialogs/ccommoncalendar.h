#ifndef DAYPLEX_CCOMMONCALENDAR_H
#define DAYPLEX_CCOMMONCALENDAR_H

#include <QString>

namespace Dayplex {

// The service object each view owns: default options, and (as they land) the print job
// driver, the options dialog host and the change confirmation.
class cCommonCalendar
{
public:
    QString GetDefaultOptions() const;
    QString GetDefaultLayoutOptions() const;
};

} // namespace Dayplex

#endif

#include "dialogs/viewprint.h"

namespace Dayplex {

QVariant printAndRestore(cCommonCalendar &common, const ViewPrintJob &job)
{
    return cCommonCalendar::PrintAndRestore([&] {
        const cContainer &layout = job.applyPrintLayout();
        return job.presentation == Presentation::Modern
                   ? common.PrintDocument(job.view, job.preview, layout, job.modern)
                   : common.PrintCalendar(job.view, job.preview, layout);
    }, job.restoreScreen);
}

} // namespace Dayplex

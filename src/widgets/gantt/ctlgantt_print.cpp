// The resource view's print job: the print layout in force, the screen brought back.
#include "gantt/ctlgantt_p.h"

#include "dialogs/viewprint.h"

#include <QPainter>

namespace Dayplex {

QVariant ctlGanttPrivate::print(bool preview)
{
    const Date rememberedFirstDay = q->mStartDate;
    ViewPrintJob job{q, preview, core.printPresentation};
    job.applyPrintLayout = [this]() -> const cContainer & { return core.applyPrintLayout(); };
    // The period decides the pages, not the count asked for.
    job.modern.pageCount = [this](QPainter &painter, const QRect &area, qint32) {
        return synced().modernPageCount(painter, area);
    };
    job.modern.paintPage = [this](QPainter &painter, const QRect &area, qint32 page, qint32 pages) {
        synced().paintModernPage(painter, area, page, pages);
    };
    job.restoreScreen = [this, rememberedFirstDay] {
        changeRange([&](GanttCore &shown) { shown.restoreScreenLayout(rememberedFirstDay); });
        q->Repaint();
    };
    return printAndRestore(common, job);
}

} // namespace Dayplex

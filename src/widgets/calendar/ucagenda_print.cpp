// The calendar's print job: the print layout in force, the screen kept and brought back.
#include "calendar/ucagenda_p.h"

#include "dialogs/viewprint.h"

#include <QPainter>

namespace Dayplex {

QVariant ucAgendaPrivate::print(bool preview)
{
    const Date rememberedFirstDay = core.grid.firstDay;
    // The job changes layout and days; the preview it shows would otherwise have the screen
    // follow them behind it. The chosen sheets keep the screen from before their choice.
    if (pic && screenWhilePrinting.isNull())
        screenWhilePrinting = picture(pic->size(), pic->devicePixelRatioF()).copy();
    // What the user changed on the screen since the layout was applied (the band's height by
    // the splitter, the rows scrolled) comes back as well: the screen is as it was.
    const CalendarGrid screenGrid = core.grid;
    ViewPrintJob job{q, preview, core.printPresentation};
    job.restoreScreen = [this, rememberedFirstDay, &screenGrid] {
        screenWhilePrinting = QImage();
        core.restoreScreenLayout(rememberedFirstDay, screenGrid);
        q->Repaint();
    };
    job.applyPrintLayout = [this]() -> const cContainer & {
        core.applyPrintLayout();
        return core.settings.layout;
    };
    job.modern.pageCount = [this](QPainter &painter, const QRect &area, qint32 periods) {
        return synced().planModernPages(painter, area, periods);
    };
    job.modern.paintPage = [this](QPainter &painter, const QRect &area, qint32 page, qint32 pages) {
        synced().paintModernPage(painter, area, page, pages);
    };
    return printAndRestore(common, job);
}

PrintChoiceFlow::Calendar ucAgendaPrivate::printSheets()
{
    return {[this](bool calendarShown, std::optional<std::pair<Date, Date>> resourceShown) {
                return core.presetChoice(calendarShown, resourceShown);
            },
            [this](const PrintChoice &choice) {
                if (pic)
                    screenWhilePrinting = picture(pic->size(), pic->devicePixelRatioF()).copy();
                return core.showChoice(choice);
            },
            [this] { screenWhilePrinting = QImage(); }};
}

} // namespace Dayplex

// The calendar's print sheets: the job through the print driver and one view per call.
#include "calendar/ucagenda_p.h"

#include "dialogs/viewprint.h"

#include <QPainter>

namespace Dayplex {

/*!
    Prints the displayed period: a one-day view as "Tagesplan" with the layout
    strLayoutDruckTag, a longer one as "Wochenplan" with strLayoutDruckWoche, through the print
    dialog (or the preview). Afterwards the screen layout and the period shown before are back,
    also when the job fails or the print layout's raster does not divide the day
    (Dayplex::Error 5). Returns the print driver's result.
*/
QVariant ucAgenda::PrintCalendar(bool blnPrintPreview)
{
    // The chosen sheets come back here, one job each, with the choice made.
    if (d->printChoice.offered && !d->printChoice.running)
        return d->printChosen(blnPrintPreview);
    const Date rememberedFirstDay = d->core.grid.firstDay;
    // The job changes layout and days; the preview it shows would otherwise have the screen
    // follow them behind it. The chosen sheets keep the screen from before their choice.
    if (d->pic && d->screenWhilePrinting.isNull())
        d->screenWhilePrinting = d->picture(d->pic->size(), d->pic->devicePixelRatioF()).copy();
    // What the user changed on the screen since the layout was applied (the band's height by
    // the splitter, the rows scrolled) comes back as well: the screen is as it was.
    const CalendarGrid screenGrid = d->core.grid;
    ViewPrintJob job{this, blnPrintPreview, d->core.printPresentation};
    job.restoreScreen = [this, rememberedFirstDay, &screenGrid] {
        d->screenWhilePrinting = QImage();
        d->core.restoreScreenLayout(rememberedFirstDay, screenGrid);
        Repaint();
    };
    job.applyPrintLayout = [this]() -> const cContainer & {
        d->core.applyPrintLayout();
        return d->core.settings.layout;
    };
    job.modern.pageCount = [this](QPainter &painter, const QRect &area, qint32 periods) {
        return d->synced().planModernPages(painter, area, periods);
    };
    job.modern.paintPage = [this](QPainter &painter, const QRect &area, qint32 page, qint32 pages) {
        d->synced().paintModernPage(painter, area, page, pages);
    };
    return printAndRestore(d->common, job);
}

/*!
    Draws one printed view into the rectangle (offsetx, offsety, breite, hoehe) of the
    printer's painter hdc: a header band with the month overviews of the first day's month and
    the next, the title block between them, the calendar below in print mode (no selection, no
    today mark, the day cut at the last raster step that fits), and a frame around it all.
*/
void ucAgenda::PrintAnsicht(QPainter *hdc, qint32 offsetx, qint32 offsety, qint32 breite,
                            qint32 hoehe)
{
    d->synced().printView(hdc, offsetx, offsety, breite, hoehe);
}

} // namespace Dayplex

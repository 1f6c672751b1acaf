// The Gantt view's print job, its printed view and the options dialog.
#include "gantt/ctlgantt_p.h"

#include "dialogs/viewprint.h"

#include <QPainter>

namespace Dayplex {

/*!
    Prints the view through the print dialog (or the preview) with the print layout
    strLayoutDruckGantt: each printed view shows the next page of days. Afterwards the screen
    layout is back and the view shows the first day it showed before, with its span, also when
    the job fails. Returns what the print driver returns.
*/
QVariant ctlGantt::PrintGantt(bool blnPrintPreview)
{
    const Date rememberedFirstDay = mStartDate;
    ViewPrintJob job{this, blnPrintPreview, d->core.printPresentation};
    job.applyPrintLayout = [this]() -> const cContainer & { return d->core.applyPrintLayout(); };
    // The period decides the pages, not the count asked for.
    job.modern.pageCount = [this](QPainter &painter, const QRect &area, qint32) {
        return d->synced().modernPageCount(painter, area);
    };
    job.modern.paintPage = [this](QPainter &painter, const QRect &area, qint32 page, qint32 pages) {
        d->synced().paintModernPage(painter, area, page, pages);
    };
    job.restoreScreen = [this, rememberedFirstDay] {
        d->changeRange([&](GanttCore &core) { core.restoreScreenLayout(rememberedFirstDay); });
        Repaint();
    };
    return printAndRestore(d->common, job);
}

/*!
    Draws the current view into the rectangle (offsetx, offsety, breite, hoehe) of the
    printer's painter hdc, in the painter's font, framed by a black line. Lines are at least
    cDC::MinimumLinePoints wide on a printer. While
    ForPrinting is true no selection, row marking, current-time line or proposal is drawn.
    A painter that is not active, or an empty rectangle, throws Dayplex::Error 5.
*/
void ctlGantt::PrintAnsicht(QPainter *hdc, qint32 offsetx, qint32 offsety, qint32 breite,
                            qint32 hoehe)
{
    d->synced().printView(hdc, offsetx, offsety, breite, hoehe);
}

/*!
    Opens the options dialog on the current options. Confirmed, its options are applied, the
    view asks the host for its days again and repaints, and OptionsChanged is raised. Cancelled,
    nothing changes. Always returns "".
*/
QString ctlGantt::ShowOptionsDialog()
{
    return d->common.ShowOptionsOf(*this);
}

} // namespace Dayplex

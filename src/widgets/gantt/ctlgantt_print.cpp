// The Gantt view's print job, its printed view and the options dialog.
#include "gantt/ctlgantt_p.h"

#include "gantt/ganttpainter.h"
#include "gantt/ganttprint.h"
#include "shared/cdc.h"
#include "shared/logging.h"

#include <dayplex/error.h>

#include <QDebug>
#include <QPainter>

#include <cmath>
#include <limits>

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
    const auto restoreScreen = [this, rememberedFirstDay] {
        d->core.applySettings(d->core.settings.withLayout(QStringLiteral("strLayoutScreenGantt")));
        SetDisplayedRange(rememberedFirstDay, nullptr, false, true);
        Repaint();
    };
    return cCommonCalendar::PrintAndRestore([&] {
        d->core.applySettings(d->core.settings.withLayout(QStringLiteral("strLayoutDruckGantt")));
        return d->core.printPresentation == Presentation::Modern
                   ? d->printModern(blnPrintPreview)
                   : d->common.PrintCalendar(this, blnPrintPreview, d->core.settings.layout);
    }, restoreScreen);
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

QVariant ctlGanttPrivate::printModern(bool preview)
{
    cCommonCalendar::PrintedDocument document;
    // The period decides the pages, not the count asked for.
    document.pageCount = [this](QPainter &painter, const QRect &area, qint32) {
        return synced().modernPageCount(painter, area);
    };
    document.paintPage = [this](QPainter &painter, const QRect &area, qint32 page, qint32 pages) {
        synced().paintModernPage(painter, area, page, pages);
    };
    return common.PrintDocument(q, preview, core.settings.layout, document);
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

// The calendar's print sheets: the job through the print driver and one view per call.
#include "calendar/ucagenda_p.h"

#include "calendar/calendarpainter.h"
#include "calendar/calendarprintview.h"
#include "shared/cdc.h"

#include <dayplex/error.h>

#include <QPainter>
#include <cmath>

namespace Dayplex {

namespace {
constexpr Date kEndOfDay = 23.0 / 24.0 + 59 * kOneMinute;
}

/*!
    Prints the displayed period: a one-day view as "Tagesplan" with the layout
    strLayoutDruckTag, a longer one as "Wochenplan" with strLayoutDruckWoche, through the print
    dialog (or the preview). Afterwards the screen layout and the period shown before are back,
    also when the job fails or the print layout's raster does not divide the day
    (Dayplex::Error 5). Returns the print driver's result.
*/
QVariant ucAgenda::PrintCalendar(bool blnPrintPreview)
{
    const Date rememberedFirstDay = d->grid.firstDay;
    // The job changes layout and days; the preview it shows would otherwise have the screen
    // follow them behind it.
    if (d->pic)
        d->screenWhilePrinting = d->picture(d->pic->size(), d->pic->devicePixelRatioF()).copy();
    // What the user changed on the screen since the layout was applied (the band's height by
    // the splitter, the rows scrolled) comes back as well: the screen is as it was.
    const CalendarGrid screenGrid = d->grid;
    const auto restoreScreen = [this, rememberedFirstDay, &screenGrid] {
        d->screenWhilePrinting = QImage();
        applyCalendarLayout(d->settings.options.textValue(QStringLiteral("strLayoutScreenCalendar")),
                            d->settings, d->grid);
        double keepDayCount = 0;
        SetDisplayedRange(rememberedFirstDay, &keepDayCount, false, true);
        if (d->grid.timeRaster == screenGrid.timeRaster) {
            d->grid.firstTime = screenGrid.firstTime;
            d->grid.dayInfoHeight = screenGrid.dayInfoHeight;
            d->grid.minDateHeight = screenGrid.minDateHeight;
        }
        Repaint();
    };

    QVariant result;
    try {
        const bool oneDay = d->grid.firstDay == d->grid.lastDay;
        applyCalendarLayout(d->settings.options.textValue(oneDay ? QStringLiteral("strLayoutDruckTag")
                                                                 : QStringLiteral("strLayoutDruckWoche")),
                            d->settings, d->grid);
        const Date endTime = cTools::TimeOnly(d->settings.layout.doubleValue(QStringLiteral("timeEndZeit")));
        // A layout without an end time prints the whole day.
        d->grid.endZeit = endTime > 0 ? endTime : kEndOfDay;
        double lastDay = d->grid.lastDay;
        SetDisplayedRange(d->grid.firstDay, &lastDay, false, true);
        result = d->common.PrintCalendar(this, blnPrintPreview, d->settings.layout);
    } catch (...) {
        restoreScreen();
        throw;
    }
    restoreScreen();
    return result;
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
    if (!hdc || !hdc->isActive())
        throw Error(InvalidArgument, QStringLiteral("PrintAnsicht: kein aktives Druckziel."));
    if (breite < 1 || hoehe < 1)
        throw Error(InvalidArgument, QStringLiteral("PrintAnsicht: die Ansicht hat keine Fläche."));
    // Pages are a few thousand pixels; a view beyond this lies on none, and the sums of its
    // coordinates would leave the 32-bit range.
    constexpr qint32 kFar = 1 << 24;
    if (offsetx < -kFar || offsetx > kFar || offsety < -kFar || offsety > kFar || breite > kFar
        || hoehe > kFar)
        throw Error(Overflow, QStringLiteral("PrintAnsicht: die Ansicht liegt außerhalb der Seite."));
    cDC dc;
    dc.Initialize(hdc, offsetx + breite, offsety + hoehe, false);
    QFont font = hdc->font();
    dc.setFont(&font);
    dc.UpdateFont();

    const qint32 bandHeight = qint32(std::nearbyint(9.0 * dc.textHeight(QStringLiteral("Mo"))));
    const qint32 overviewWidth = qint32(std::nearbyint(8.0 * dc.textWidth(QStringLiteral("WW"))));
    // A view narrower than its two month overviews would spill them into the view beside it.
    dc.setBounds(QRect(offsetx, offsety, breite, hoehe));
    paintPrintHeader(dc, d->settings.style, offsetx, offsety, breite, bandHeight, overviewWidth,
                     d->grid.firstDay, d->grid.lastDay, currentDateTime());

    // On screen the edge of the picture ends the view; on paper its rectangle does. The row of
    // the last printed time starts where the grid ends and would otherwise hang below the frame.
    dc.setBounds(QRect(offsetx, offsety + bandHeight, breite, hoehe - bandHeight));
    d->data.store.repairEnds();
    CalendarScene page = d->computeScene(dc, QRect(offsetx, offsety + bandHeight, breite, hoehe - bandHeight),
                                         dc.textWidth(QStringLiteral("w")),
                                         dc.textHeight(QStringLiteral("Wy")), true);
    paintCalendar(dc, page, true);
    dc.setBounds(std::nullopt);
    // The page's hit regions and geometry are the last paint's until the screen paints again;
    // scrolling keeps asking for the screen's lowest row and markers. The day stays cut at
    // the last printed time, as the grid found it on this page.
    page.lastVisibleTime = d->scene.lastVisibleTime;
    page.overflows = d->scene.overflows;
    d->grid.endZeit = page.grid.endZeit;
    d->scene = std::move(page);
    d->kept.valid = false;
    dc.DrawRahmen(offsetx, offsety, breite, hoehe, 0, dc.lineWidth());
}

} // namespace Dayplex

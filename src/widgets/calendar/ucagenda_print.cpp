// The calendar's print sheets: the job through the print driver and one view per call.
#include "calendar/ucagenda_p.h"

#include "calendar/calendarpainter.h"
#include "calendar/calendarprintlist.h"
#include "calendar/calendarprintview.h"
#include "shared/cdc.h"

#include <dayplex/error.h>

#include <QPainter>
#include <cmath>

namespace Dayplex {

namespace {

constexpr Date kEndOfDay = 23.0 / 24.0 + 59 * kOneMinute;
// No text of a modern sheet is smaller.
constexpr double kMinimumPoints = 7.0;
// The list's columns are this many widths of "n" wide where there is room: a name and a
// subject a line.
constexpr qint32 kListColumnChars = 42;
// The lowest time row of a modern sheet, in character heights: a line of text and its margins.
constexpr double kLowestRowLines = 1.15;

// The list below the grid is in a smaller font than the grid, never below kMinimumPoints.
QFont listFont(const QFont &font)
{
    QFont smaller = font;
    if (font.pointSizeF() > 0)
        smaller.setPointSizeF(std::max(kMinimumPoints, 0.8 * font.pointSizeF()));
    return smaller;
}

// Runs `measure` with the surface in the list's font.
template<typename Fn>
auto inListFont(cDC &dc, Fn measure)
{
    const QFont *font = dc.Font();
    const QFont smaller = listFont(font ? *font : QFont());
    dc.setFont(&smaller);
    dc.UpdateFont();
    const auto result = measure();
    dc.setFont(font);
    dc.UpdateFont();
    return result;
}

} // namespace

/*
    The modern sheet's grid and list: every day whose boxes cannot show all its appointments
    whole lists them below the grid. The grid keeps the print layout's hours: its rows grow
    lower, down to little more than a line, and the list takes more columns where it must.
*/
CalendarScene ucAgendaPrivate::modernSheet(cDC &dc, const QRect &area, qint32 cw, qint32 ch,
                                           ModernList &list)
{
    QPainter *painter = dc.painter();
    const auto fits = [&dc, painter](const SceneBox &box) {
        return showsWhole(painter->font(), painter->device(), box, dc.lineWidth());
    };
    const Date wantedEnd = grid.endZeit;
    CalendarScene page = computeScene(dc, area, cw, ch, true);
    list.days = crowdedDays(page, data.store, fits);
    const double rows = std::max((wantedEnd - grid.firstTime) / grid.timeRaster, 1.0);
    // Header, band and splitter take 2.2 rows above the time rows.
    const qint32 lowestGrid = qint32(std::ceil(std::ceil(kLowestRowLines * ch) * (rows + 2.2))) + 2;
    const qint32 room = std::max(area.height() - lowestGrid, 0);
    const qint32 natural = inListFont(dc, [&dc] { return kListColumnChars * dc.textWidth(QStringLiteral("n")); });
    // A longer list makes boxes lower and may crowd further days: a few rounds settle it.
    for (int round = 0; round < 3 && !list.days.isEmpty(); ++round) {
        list.columns = std::clamp(area.width() / std::max(natural, 1), 1, 4);
        qint32 height = inListFont(dc, [&] { return listBlockHeight(dc, list.days, area.width(), list.columns); });
        while (height > room && list.columns < 4) {
            ++list.columns;
            height = inListFont(dc, [&] { return listBlockHeight(dc, list.days, area.width(), list.columns); });
        }
        const QRect above(area.left(), area.top(), area.width(), area.height() - std::min(height, room));
        const double row = std::floor(above.height() / (rows + 2.2));
        grid.rowLines = std::clamp((row - 0.4) / std::max(ch, 1), kLowestRowLines, 1.5);
        grid.endZeit = wantedEnd;
        page = computeScene(dc, above, cw, ch, true);
        const QVector<ListedDay> again = crowdedDays(page, data.store, fits);
        const bool settled = again.size() == list.days.size();
        list.days = again;
        if (settled)
            break;
    }
    grid.rowLines = 1.5;
    return page;
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
    const bool modern = d->printPresentation == Presentation::Modern;
    if (modern && font.pointSizeF() > 0 && font.pointSizeF() < kMinimumPoints)
        font.setPointSizeF(kMinimumPoints);
    dc.setFont(&font);
    dc.UpdateFont();
    dc.setEllipsis(modern);

    const qint32 bandHeight = qint32(std::nearbyint(9.0 * dc.textHeight(QStringLiteral("Mo"))));
    const qint32 overviewWidth = qint32(std::nearbyint(8.0 * dc.textWidth(QStringLiteral("WW"))));
    // A view narrower than its two month overviews would spill them into the view beside it.
    dc.setBounds(QRect(offsetx, offsety, breite, hoehe));
    paintPrintHeader(dc, d->settings.style, offsetx, offsety, breite, bandHeight, overviewWidth,
                     d->grid.firstDay, d->grid.lastDay, currentDateTime());

    // On screen the edge of the picture ends the view; on paper its rectangle does. The row of
    // the last printed time starts where the grid ends and would otherwise hang below the frame.
    const QRect area(offsetx, offsety + bandHeight, breite, hoehe - bandHeight);
    dc.setBounds(area);
    d->data.store.repairEnds();
    const qint32 cw = dc.textWidth(QStringLiteral("w"));
    const qint32 ch = dc.textHeight(QStringLiteral("Wy"));
    ucAgendaPrivate::ModernList list;
    CalendarScene page = modern ? d->modernSheet(dc, area, cw, ch, list)
                                : d->computeScene(dc, area, cw, ch, true);
    dc.setBounds(page.area);
    paintCalendar(dc, page, true);
    if (!list.days.isEmpty()) {
        const qint32 gridBottom = page.area.bottom() + 1;
        // The list keeps clear of the frame by the width of a letter.
        const QRect block(offsetx + cw / 2, gridBottom, breite - cw, offsety + hoehe - gridBottom);
        dc.setBounds(block);
        inListFont(dc, [&] {
            paintListBlock(dc, block, list.days, list.columns);
            return 0;
        });
    }
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

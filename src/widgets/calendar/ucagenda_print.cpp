// The calendar's print sheets: the job through the print driver and one view per call.
#include "calendar/ucagenda_p.h"

#include "calendar/calendarpainter.h"
#include "calendar/calendarprintlist.h"
#include "calendar/calendarprintview.h"
#include "gantt/ganttprint.h"
#include "shared/cdc.h"
#include "shared/uitext.h"

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

// The surface on a printer's painter in its font, in the modern print at least kMinimumPoints
// and with ellipses.
void setUpSheet(cDC &dc, QPainter *painter, const QRect &area, bool modern, QFont &font)
{
    dc.Initialize(painter, area.right() + 1, area.bottom() + 1, false);
    font = painter->font();
    if (modern && font.pointSizeF() > 0 && font.pointSizeF() < kMinimumPoints)
        font.setPointSizeF(kMinimumPoints);
    dc.setFont(&font);
    dc.UpdateFont();
    dc.setEllipsis(modern);
}

qint32 headerBandHeight(const cDC &dc)
{
    return qint32(std::nearbyint(9.0 * dc.textHeight(QStringLiteral("Mo"))));
}

// A modern page: the header band, the sheet below it and the line of the page number.
struct PageParts
{
    qint32 band = 0;
    qint32 footer = 0;
    QRect body;
};

PageParts pageParts(const cDC &dc, const QRect &area)
{
    PageParts p;
    p.band = headerBandHeight(dc);
    p.footer = qint32(std::nearbyint(1.25 * dc.textHeight(QStringLiteral("Wy"))));
    p.body = QRect(area.left(), area.top() + p.band, area.width(), area.height() - p.band - p.footer);
    return p;
}

// The list keeps clear of the frame by the width of a letter.
QRect listRect(const QRect &body, qint32 top, qint32 cw)
{
    return QRect(body.left() + cw / 2, top, body.width() - cw, body.bottom() + 1 - top);
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
    lower, down to little more than a line, and the list takes more columns where it must, as
    long as they cut no word. What still does not fit the print job continues on further pages.
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
    // The list is as wide as listRect makes it.
    const qint32 listWidth = area.width() - cw;
    const qint32 natural = inListFont(dc, [&dc] { return kListColumnChars * dc.textWidth(QStringLiteral("n")); });
    // A longer list makes boxes lower and may crowd further days: a few rounds settle it.
    for (int round = 0; round < 3 && !list.days.isEmpty(); ++round) {
        const auto wordsWhole = [&](qint32 columns) {
            return inListFont(dc, [&] { return wordsFit(dc, list.days, listWidth, columns); });
        };
        list.columns = std::clamp(listWidth / std::max(natural, 1), 1, 4);
        while (list.columns > 1 && !wordsWhole(list.columns))
            --list.columns;
        qint32 height = inListFont(dc, [&] { return listBlockHeight(dc, list.days, listWidth, list.columns); });
        while (height > room && list.columns < 4 && wordsWhole(list.columns + 1)) {
            ++list.columns;
            height = inListFont(dc, [&] { return listBlockHeight(dc, list.days, listWidth, list.columns); });
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
    // The chosen sheets come back here, one job each, with the choice made.
    if (d->printChoice.offered && !d->printChoice.running)
        return d->printChosen(blnPrintPreview);
    const Date rememberedFirstDay = d->grid.firstDay;
    // The job changes layout and days; the preview it shows would otherwise have the screen
    // follow them behind it. The chosen sheets keep the screen from before their choice.
    if (d->pic && d->screenWhilePrinting.isNull())
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

    return cCommonCalendar::PrintAndRestore([&] {
        const bool oneDay = d->grid.firstDay == d->grid.lastDay;
        applyCalendarLayout(d->settings.options.textValue(oneDay ? QStringLiteral("strLayoutDruckTag")
                                                                 : QStringLiteral("strLayoutDruckWoche")),
                            d->settings, d->grid);
        const Date endTime = cTools::TimeOnly(d->settings.layout.doubleValue(QStringLiteral("timeEndZeit")));
        // A layout without an end time prints the whole day.
        d->grid.endZeit = endTime > 0 ? endTime : kEndOfDay;
        double lastDay = d->grid.lastDay;
        SetDisplayedRange(d->grid.firstDay, &lastDay, false, true);
        if (d->printPresentation == Presentation::Modern) {
            cCommonCalendar::PrintedDocument document;
            document.pageCount = [this](QPainter &painter, const QRect &area, qint32 periods) {
                return d->planModernPages(painter, area, periods);
            };
            document.paintPage = [this](QPainter &painter, const QRect &area, qint32 page, qint32 pages) {
                d->paintModernPage(painter, area, page, pages);
            };
            return d->common.PrintDocument(this, blnPrintPreview, d->settings.layout, document);
        }
        return d->common.PrintCalendar(this, blnPrintPreview, d->settings.layout);
    }, restoreScreen);
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
    QFont font;
    const bool modern = d->printPresentation == Presentation::Modern;
    setUpSheet(dc, hdc, QRect(0, 0, offsetx + breite, offsety + hoehe), modern, font);

    const qint32 bandHeight = headerBandHeight(dc);
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
        const QRect block = listRect(area, page.area.bottom() + 1, cw);
        dc.setBounds(block);
        inListFont(dc, [&] {
            paintListBlock(dc, block, list.days, list.columns);
            return 0;
        });
    }
    dc.setBounds(std::nullopt);
    d->keepPrintedScene(std::move(page));
    dc.DrawRahmen(offsetx, offsety, breite, hoehe, 0, dc.lineWidth());
}

void ucAgendaPrivate::keepPrintedScene(CalendarScene &&page)
{
    // The page's hit regions and geometry are the last paint's until the screen paints again;
    // scrolling keeps asking for the screen's lowest row and markers. The day stays cut at
    // the last printed time, as the grid found it on this page.
    page.lastVisibleTime = scene.lastVisibleTime;
    page.overflows = scene.overflows;
    grid.endZeit = page.grid.endZeit;
    scene = std::move(page);
    kept.valid = false;
}

/*
    The modern print job lays out its pages itself: each period's sheet, and where its list
    does not fit below the grid, sheets that go on with it under the same title block, until
    every appointment of the period is printed whole.
*/
qint32 ucAgendaPrivate::planModernPages(QPainter &painter, const QRect &area, qint32 periods)
{
    modernPages.clear();
    modernEndTime = grid.endZeit;
    for (qint32 period = 0; period < std::max(periods, 1); ++period) {
        if (period > 0)
            q->Scroll(999);
        cDC dc;
        QFont font;
        setUpSheet(dc, &painter, area, true, font);
        const PageParts parts = pageParts(dc, area);
        dc.setBounds(parts.body);
        data.store.repairEnds();
        const qint32 cw = dc.textWidth(QStringLiteral("w"));
        const qint32 ch = dc.textHeight(QStringLiteral("Wy"));
        ModernList list;
        grid.endZeit = modernEndTime;
        const CalendarScene sheet = modernSheet(dc, parts.body, cw, ch, list);
        const QRect first = listRect(parts.body, sheet.area.bottom() + 1, cw);
        // A continuing sheet has a line that says so above its list.
        const QRect later = listRect(parts.body, parts.body.top() + parts.footer, cw);
        const QVector<QVector<ListedDay>> blocks = inListFont(dc, [&] {
            return listBlocks(dc, list.days, first.width(), list.columns, first.height(), later.height());
        });
        for (qsizetype n = 0; n < blocks.size(); ++n) {
            if (n > 0 && blocks.at(n).isEmpty())
                continue;
            modernPages.append({grid.firstDay, grid.lastDay, {blocks.at(n), list.columns}, n > 0});
        }
    }
    return qint32(modernPages.size());
}

void ucAgendaPrivate::paintModernPage(QPainter &painter, const QRect &area, qint32 page, qint32 pages)
{
    if (page < 1 || page > modernPages.size())
        return;
    const ModernPage &planned = modernPages.at(page - 1);
    if (grid.firstDay != planned.firstDay || grid.lastDay != planned.lastDay) {
        double last = planned.lastDay;
        q->SetDisplayedRange(planned.firstDay, &last, false, false);
    }
    cDC dc;
    QFont font;
    setUpSheet(dc, &painter, area, true, font);
    const PageParts parts = pageParts(dc, area);
    const QRect framed(area.left(), area.top(), area.width(), area.height() - parts.footer);
    dc.setBounds(framed);
    paintPrintHeader(dc, settings.style, area.left(), area.top(), area.width(), parts.band,
                     qint32(std::nearbyint(8.0 * dc.textWidth(QStringLiteral("WW")))),
                     grid.firstDay, grid.lastDay, currentDateTime());
    const qint32 cw = dc.textWidth(QStringLiteral("w"));
    const qint32 ch = dc.textHeight(QStringLiteral("Wy"));
    QRect block;
    if (planned.continued) {
        QFont bold = font;
        bold.setBold(true);
        dc.setFont(&bold);
        dc.UpdateFont();
        dc.setTextColor(kBlack);
        dc.Text(uiText("Dayplex::ucAgenda", "Fortsetzung der Liste"), parts.body.left() + cw / 2,
                parts.body.top(), parts.body.width() - cw, parts.footer, false, false);
        dc.setFont(&font);
        dc.UpdateFont();
        block = listRect(parts.body, parts.body.top() + parts.footer, cw);
    } else {
        dc.setBounds(parts.body);
        data.store.repairEnds();
        ModernList unused;
        grid.endZeit = modernEndTime;
        CalendarScene sheet = modernSheet(dc, parts.body, cw, ch, unused);
        dc.setBounds(sheet.area);
        paintCalendar(dc, sheet, true);
        block = listRect(parts.body, sheet.area.bottom() + 1, cw);
        keepPrintedScene(std::move(sheet));
    }
    if (!planned.list.days.isEmpty()) {
        dc.setBounds(block);
        inListFont(dc, [&] {
            paintListBlock(dc, block, planned.list.days, planned.list.columns);
            return 0;
        });
    }
    dc.setBounds(std::nullopt);
    dc.DrawRahmen(framed.left(), framed.top(), framed.width(), framed.height(), 0, dc.lineWidth());
    dc.setTextColor(kBlack);
    dc.FillRect(area.left(), framed.bottom() + 1, area.width(), parts.footer, 0xFFFFFF,
                printPageNumber(page, pages), 2);
}

} // namespace Dayplex

// The calendar core's print sheets: one view per call, and the modern job's pages.
#include "calendar/agendacore.h"

#include "calendar/calendarpainter.h"
#include "calendar/calendarprintlist.h"
#include "calendar/calendarprintview.h"
#include "gantt/ganttprint.h"
#include "print/printjob.h"
#include "shared/ccontainer.h"
#include "shared/cdc.h"
#include "shared/toolbox.h"
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

PrintChoice AgendaCore::shownSheet() const
{
    const Date first = std::floor(grid.firstDay);
    const Date last = std::floor(grid.lastDay);
    return {first == last ? PrintSheet::Day : PrintSheet::Week, first, last};
}

PrintChoice AgendaCore::presetChoice(bool calendarShown, std::optional<std::pair<Date, Date>> resourceShown) const
{
    if (resourceShown && !calendarShown)
        return {PrintSheet::Resource, std::floor(resourceShown->first), std::floor(resourceShown->second)};
    return shownSheet();
}

qint32 AgendaCore::showChoice(const PrintChoice &choice)
{
    double last = choice.sheet == PrintSheet::Day ? choice.firstDay : choice.firstDay + 6;
    setDisplayedRange(choice.firstDay, &last, false, choice.sheet == PrintSheet::Week);
    const qint32 periods = printPeriods(choice, grid.firstDay);
    if (printPresentation == Presentation::Modern)
        return periods;
    cContainer layout;
    layout.setContainerString(settings.options.textValue(
        choice.sheet == PrintSheet::Day ? QStringLiteral("strLayoutDruckTag") : QStringLiteral("strLayoutDruckWoche")));
    const PrintLayout values = PrintLayout::fromContainer(layout);
    const qint32 perPage = std::max(values.viewsDown * values.viewsAcross, 1);
    return (periods + perPage - 1) / perPage;
}

void AgendaCore::applyPrintLayout()
{
    const bool oneDay = grid.firstDay == grid.lastDay;
    applyCalendarLayout(settings.options.textValue(oneDay ? QStringLiteral("strLayoutDruckTag")
                                                          : QStringLiteral("strLayoutDruckWoche")),
                        settings, grid);
    const Date endTime = cToolbox::TimeOnly(settings.layout.doubleValue(QStringLiteral("timeEndZeit")));
    // A layout without an end time prints the whole day.
    grid.endZeit = endTime > 0 ? endTime : kEndOfDay;
    double lastDay = grid.lastDay;
    setDisplayedRange(grid.firstDay, &lastDay, false, true);
}

void AgendaCore::restoreScreenLayout(Date firstDay, const CalendarGrid &screenGrid)
{
    applyCalendarLayout(settings.options.textValue(QStringLiteral("strLayoutScreenCalendar")),
                        settings, grid);
    double keepDayCount = 0;
    setDisplayedRange(firstDay, &keepDayCount, false, true);
    // What the user changed on the screen since the layout was applied (the band's height by
    // the splitter, the rows scrolled) comes back as well, as long as the raster is the same.
    if (grid.timeRaster == screenGrid.timeRaster) {
        grid.firstTime = screenGrid.firstTime;
        grid.dayInfoHeight = screenGrid.dayInfoHeight;
        grid.minDateHeight = screenGrid.minDateHeight;
    }
}

/*
    The modern sheet's grid and list: every day whose boxes cannot show all its appointments
    whole lists them below the grid. The grid keeps the print layout's hours: its rows grow
    lower, down to little more than a line, and the list takes more columns where it must, as
    long as they cut no word. What still does not fit the print job continues on further pages.
*/
CalendarScene AgendaCore::modernSheet(cDC &dc, const QRect &area, qint32 cw, qint32 ch,
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

void AgendaCore::printView(QPainter *hdc, qint32 offsetx, qint32 offsety, qint32 breite,
                           qint32 hoehe)
{
    requirePrintView(hdc, breite, hoehe);
    // Pages are a few thousand pixels; a view beyond this lies on none, and the sums of its
    // coordinates would leave the 32-bit range.
    constexpr qint32 kFar = 1 << 24;
    if (offsetx < -kFar || offsetx > kFar || offsety < -kFar || offsety > kFar || breite > kFar
        || hoehe > kFar)
        throw Error(Overflow, QStringLiteral("PrintAnsicht: die Ansicht liegt außerhalb der Seite."));
    cDC dc;
    QFont font;
    const bool modern = printPresentation == Presentation::Modern;
    setUpSheet(dc, hdc, QRect(0, 0, offsetx + breite, offsety + hoehe), modern, font);

    const qint32 bandHeight = headerBandHeight(dc);
    const qint32 overviewWidth = qint32(std::nearbyint(8.0 * dc.textWidth(QStringLiteral("WW"))));
    // A view narrower than its two month overviews would spill them into the view beside it.
    dc.setBounds(QRect(offsetx, offsety, breite, hoehe));
    paintPrintHeader(dc, settings.style, offsetx, offsety, breite, bandHeight, overviewWidth,
                     grid.firstDay, grid.lastDay, currentDateTime());

    // On screen the edge of the picture ends the view; on paper its rectangle does. The row of
    // the last printed time starts where the grid ends and would otherwise hang below the frame.
    const QRect area(offsetx, offsety + bandHeight, breite, hoehe - bandHeight);
    dc.setBounds(area);
    data.store.repairEnds();
    const qint32 cw = dc.textWidth(QStringLiteral("w"));
    const qint32 ch = dc.textHeight(QStringLiteral("Wy"));
    AgendaCore::ModernList list;
    CalendarScene page = modern ? modernSheet(dc, area, cw, ch, list)
                                : computeScene(dc, area, cw, ch, true);
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
    keepPrintedScene(std::move(page));
    dc.DrawRahmen(offsetx, offsety, breite, hoehe, 0, dc.lineWidth());
}

void AgendaCore::keepPrintedScene(CalendarScene &&page)
{
    // The page's hit regions and geometry are the last paint's until the screen paints again;
    // scrolling keeps asking for the screen's lowest row and markers. The day stays cut at
    // the last printed time, as the grid found it on this page.
    page.lastVisibleTime = scene.lastVisibleTime;
    page.rowsInSight = scene.rowsInSight;
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
qint32 AgendaCore::planModernPages(QPainter &painter, const QRect &area, qint32 periods)
{
    modernPages.clear();
    modernEndTime = grid.endZeit;
    for (qint32 period = 0; period < std::max(periods, 1); ++period) {
        if (period > 0)
            scrollDays(999);
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

void AgendaCore::paintModernPage(QPainter &painter, const QRect &area, qint32 page, qint32 pages)
{
    if (page < 1 || page > modernPages.size())
        return;
    const ModernPage &planned = modernPages.at(page - 1);
    if (grid.firstDay != planned.firstDay || grid.lastDay != planned.lastDay) {
        double last = planned.lastDay;
        setDisplayedRange(planned.firstDay, &last, false, false);
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

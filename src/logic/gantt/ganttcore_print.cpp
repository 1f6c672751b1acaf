// The resource view core's printed views: one per call, and the modern job's pages.
#include "gantt/ganttcore.h"

#include "gantt/ganttpainter.h"
#include "gantt/ganttprint.h"
#include "print/printjob.h"
#include "shared/cdc.h"
#include "shared/logging.h"

#include <dayplex/error.h>

#include <QPainter>

#include <cmath>
#include <limits>

namespace Dayplex {

const cContainer &GanttCore::applyPrintLayout()
{
    applySettings(settings.withLayout(QStringLiteral("strLayoutDruckGantt")));
    return settings.layout;
}

void GanttCore::restoreScreenLayout(Date firstDay)
{
    applySettings(settings.withLayout(QStringLiteral("strLayoutScreenGantt")));
    setDisplayedRange(firstDay, nullptr, false, true);
}

void GanttCore::printView(QPainter *hdc, qint32 offsetx, qint32 offsety, qint32 breite,
                          qint32 hoehe)
{
    requirePrintView(hdc, breite, hoehe);
    if (qint64(offsetx) + breite > std::numeric_limits<qint32>::max()
        || qint64(offsety) + hoehe > std::numeric_limits<qint32>::max())
        throw Error(Overflow, QStringLiteral("PrintAnsicht: das Rechteck ist zu groß."));
    cDC dc;
    dc.Initialize(hdc, offsetx + breite, offsety + hoehe, false);
    QFont font = hdc->font();
    dc.setFont(&font);
    dc.UpdateFont();
    // The printed view measures a line by "w" and a character by "Wy".
    const qint32 th = dc.textHeight(QStringLiteral("w"));
    const qint32 cw = dc.textWidth(QStringLiteral("Wy"));

    // Like the bar rectangles, the layout fields describe the last view painted, on paper too,
    // until the screen is painted again.
    try {
        drawScene(dc, content(forPrinting, false), offsetx, offsety, breite, hoehe, th, cw,
                     false);
    } catch (const std::exception &) {
        warnCaught(lcPrint(), QStringLiteral("PrintAnsicht"));
    }
    dc.DrawRahmen(offsetx, offsety, breite, hoehe, 0, dc.lineWidth());
}

namespace {

// No printed text is smaller than this.
constexpr double kMinimumPoints = 7.0;

// The surface on the page with the job's font, at least kMinimumPoints.
void setUpPage(cDC &dc, QPainter &painter, const QRect &area, QFont &font)
{
    dc.Initialize(&painter, area.right() + 1, area.bottom() + 1, false);
    font = painter.font();
    if (font.pointSizeF() > 0 && font.pointSizeF() < kMinimumPoints)
        font.setPointSizeF(kMinimumPoints);
    dc.setFont(&font);
    dc.UpdateFont();
    dc.setEllipsis(true);
}

// The page's parts: the title block of three lines, the chart, the page number's line.
struct PageParts
{
    qint32 lineHeight = 0;
    qint32 titleHeight = 0;
    QRect chart;
    qint32 footerTop = 0;
    qint32 th = 0;
    qint32 cw = 0;
};

PageParts pageParts(cDC &dc, const QRect &area)
{
    PageParts p;
    p.th = dc.textHeight(QStringLiteral("W"));
    p.cw = dc.textWidth(QStringLiteral("X"));
    p.lineHeight = qint32(std::nearbyint(dc.textHeight(QStringLiteral("Wy")) * 1.25));
    // The title in one and a half times the size, then the period and the "Stand:" line.
    p.titleHeight = qint32(std::nearbyint(p.lineHeight * 1.5)) + 2 * p.lineHeight + p.lineHeight / 2;
    p.footerTop = area.bottom() + 1 - p.lineHeight;
    p.chart = QRect(area.left(), area.top() + p.titleHeight, area.width(),
                    p.footerTop - area.top() - p.titleHeight - p.lineHeight / 2);
    return p;
}

qint32 periodDays(Date startDate, Date endDate)
{
    return qint32(std::floor(endDate) - std::floor(startDate)) + 1;
}

} // namespace

qint32 GanttCore::modernPageCount(QPainter &painter, const QRect &area)
{
    cDC dc;
    QFont font;
    setUpPage(dc, painter, area, font);
    const PageParts parts = pageParts(dc, area);
    const qint32 names = ganttModernNameChars(model) * parts.cw;
    // A working hour holds its start time with a little room on either side.
    const qint32 hourWidth = dc.textWidth(QStringLiteral("00:00")) + 4 * dc.lineWidth();
    const qint32 days = periodDays(startDate, endDate);
    const qint32 perPage = ganttDaysPerPage(days, parts.chart.width() - names, settings.workFrom,
                                            settings.workTo, hourWidth);
    // Each page of days takes as many pages of rows as its rows need.
    printedPages.clear();
    const Date first = std::floor(startDate);
    const QRect &c = parts.chart;
    for (qint32 n = 0; n < ganttPageCount(days, perPage); ++n) {
        const Date pageFirst = first + Date(qint64(n) * perPage);
        const Date pageLast = std::min(pageFirst + perPage - 1, std::floor(endDate));
        QVector<qint32> rowPages{1};
        try {
            const GanttScene whole = ganttScene(printedContent(pageFirst, pageLast, 1), c.left(), c.top(),
                                                c.width(), c.height(), parts.th, parts.cw);
            rowPages = ganttRowPages(whole.layout, model.rowCount(), c.bottom() + 1);
        } catch (const std::exception &) {
            warnCaught(lcPrint(), QStringLiteral("resource view rows not laid out"));
        }
        for (qsizetype r = 0; r < rowPages.size(); ++r) {
            const qint32 lastRow = r + 1 < rowPages.size() ? rowPages.at(r + 1) - 1 : model.rowCount();
            printedPages.append({pageFirst, pageLast, rowPages.at(r), lastRow});
        }
    }
    return qint32(printedPages.size());
}

GanttContent GanttCore::printedContent(Date firstDay, Date lastDay, qint32 firstRow) const
{
    GanttContent printed = content(true, true);
    printed.startDate = firstDay;
    printed.endDate = lastDay;
    printed.firstRow = firstRow;
    return printed;
}

void GanttCore::paintModernPage(QPainter &painter, const QRect &area, qint32 page,
                                      qint32 pages)
{
    cDC dc;
    QFont font;
    setUpPage(dc, painter, area, font);
    const PageParts parts = pageParts(dc, area);
    const Date first = std::floor(startDate);
    const Date last = std::floor(endDate);

    // Title block: the title larger and bold, the period, the "Stand:" line; all centred.
    dc.setTextColor(0);
    QFont title = font;
    title.setPointSizeF(font.pointSizeF() * 1.5);
    title.setBold(true);
    dc.setFont(&title);
    dc.UpdateFont();
    const qint32 titleLine = qint32(std::nearbyint(parts.lineHeight * 1.5));
    dc.FillRect(area.left(), area.top(), area.width(), titleLine, 0xFFFFFF, ganttPrintTitle(), 3);
    dc.setFont(&font);
    dc.UpdateFont();
    dc.FillRect(area.left(), area.top() + titleLine, area.width(), parts.lineHeight, 0xFFFFFF,
                ganttPrintPeriod(first, last), 3);
    dc.FillRect(area.left(), area.top() + titleLine + parts.lineHeight, area.width(),
                parts.lineHeight, 0xFFFFFF, printStand(currentDateTime()), 3);

    // The chart of this page's days and rows; the rows after them wait for the next page
    // instead of showing their tops at the foot of this one.
    if (page < 1 || page > printedPages.size())
        return;
    const PrintedPage &planned = printedPages.at(page - 1);
    const GanttContent content = printedContent(planned.firstDay, planned.lastDay, planned.firstRow);
    const QRect &c = parts.chart;
    try {
        GanttScene printed = ganttScene(content, c.left(), c.top(), c.width(), c.height(),
                                        parts.th, parts.cw);
        if (planned.lastRow < model.rowCount()) {
            printed.lastRow = std::min(printed.lastRow, planned.lastRow);
            printed.bottom = printed.layout.rowTop(planned.lastRow + 1, planned.firstRow);
            printed.bars = printed.layoutBars(model, planned.firstRow, printed.lastRow);
        }
        GanttZeichnen(dc, content, printed, nullptr);
    } catch (const std::exception &) {
        warnCaught(lcPrint(), QStringLiteral("resource view page not drawn"));
    }
    dc.DrawRahmen(c.left(), c.top(), c.width(), c.height(), 0, dc.lineWidth());

    // The page number at the foot, right.
    dc.setTextColor(0);
    dc.FillRect(area.left(), parts.footerTop, area.width(), parts.lineHeight, 0xFFFFFF,
                printPageNumber(page, pages), 2);
}

} // namespace Dayplex

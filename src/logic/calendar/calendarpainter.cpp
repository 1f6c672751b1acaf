#include "calendar/calendarpainter.h"

#include "shared/cdc.h"
#include "shared/toolbox.h"
#include "shared/germanformat.h"
#include "shared/readablecolours.h"
#include "shared/rounding.h"

#include <dayplex/kalenderobjekttyp.h>

#include <QFont>
#include <algorithm>
#include <cmath>

namespace Dayplex {

namespace {

constexpr qint32 kLineColour = 0x000000;
constexpr qint32 kWhite = 0xFFFFFF;
constexpr qint32 kGrey = 0x808080;
constexpr qint32 kRed = 0x0000FF;
constexpr Date kTenSeconds = 10 * kOneSecond;
constexpr Date kTwentySeconds = 20 * kOneSecond;
constexpr qint32 kAlignCentre = 0;
constexpr qint32 kAlignLeftTop = 4;

class Painter
{
public:
    Painter(cDC &dc, CalendarScene &scene, qint32 left, qint32 top, qint32 width, qint32 height,
            qint32 charWidth)
        : dc(dc)
        , s(scene)
        , g(scene.grid.geo)
        , left(left)
        , top(top)
        , width(width)
        , height(height)
        , charWidth(charWidth)
        , line(dc.lineWidth())
    {
        if (scene.modern)
            selectionFill = scene.style.modernSelectionColour(ownColours());
    }

    void drawGrid();
    void drawAppointments();

private:
    // A cell framed by one line: the frame colour fills it, the fill colour its inside.
    void cell(qint32 x, qint32 y, qint32 w, qint32 h, qint32 frame, qint32 fill,
              const QString &caption, qint32 align)
    {
        dc.FillRect(x, y, w, h, frame);
        dc.FillRect(x + line, y + line, w - 2 * line, h - 2 * line, fill, caption, align);
    }
    void region(qint32 x, qint32 y, qint32 w, qint32 h, qint32 index, Date von, Date bis,
                qint32 type, qint32 priority)
    {
        s.hits.add({x, y, w, h, index, von, bis, type, priority});
    }

    // Rows from the first time down to the last time shown, while their top is on the area.
    template<typename RowFn>
    void forEachRow(qint32 y, RowFn rowFn)
    {
        const CalendarGrid &grid = s.grid;
        for (qint32 k = 0;; ++k) {
            const Date t = grid.firstTime + k * grid.timeRaster;
            if (t > grid.endZeit + kOneSecond)
                break;
            rowFn(t, y);
            y += g.lngZeilenhoehe;
            if (y > g.lngUnten || g.lngZeilenhoehe <= 0)
                break;
        }
    }

    bool daySelected(Date day) const
    {
        return cToolbox::DateOnly(s.selectionStart) <= day
               && day <= cToolbox::DateOnly(s.selectionEndSlot);
    }

    void drawTimeColumn(qint32 x, qint32 y);
    void drawDayColumn(Date day, qint32 column, qint32 x, qint32 y);
    void drawDayHeader(Date day, qint32 x, bool narrow);
    void drawBox(qint32 x, qint32 y, qint32 w, qint32 h, qint32 index, bool inexact);
    void drawTimeBar(qint32 x, qint32 w, qint32 index, qint32 column);
    void drawSegment(const SegmentBox &segment);
    void drawAllDay(const AllDayBox &entry);
    void drawOverflowMarkers(const AppointmentLayout &layout);
    QVector<qint32> ownColours() const;

    cDC &dc;
    CalendarScene &s;
    const GridGeometry &g;
    const qint32 left, top, width, height, charWidth;
    const qint32 line;
    qint32 selectionFill = 0;
};

QVector<qint32> Painter::ownColours() const
{
    QVector<qint32> colours;
    for (qint32 i = 1; i <= s.store.count(); ++i) {
        const TerminEintrag &e = s.store.at(i);
        if (!e.blnfeiertag && !colours.contains(e.backcolor))
            colours.append(e.backcolor);
    }
    return colours;
}

void Painter::drawTimeColumn(qint32 x, qint32 y)
{
    Date from = 0, to = 1;
    if (cToolbox::DateOnly(s.selectionStart) == cToolbox::DateOnly(s.selectionEndSlot)) {
        from = cToolbox::TimeOnly(s.selectionStart);
        to = cToolbox::TimeOnly(s.selectionEndSlot);
    }
    forEachRow(y, [&](Date t, qint32 rowY) {
        qint32 back = s.style.rgbBackUeberschrift, text = s.style.rgbFontUeberschrift;
        if (!s.forPrinting && s.selectionStart > 0 && t + kTenSeconds >= from
            && t <= to + kTwentySeconds) {
            back = s.style.rgbBackMarkiert;
            text = s.style.rgbFontMarkiert;
        }
        dc.setTextColor(text);
        cell(x, rowY, g.lngZeitspalteBreite, g.lngZeilenhoehe + 1, kLineColour, back,
             formatGermanDate(t, QStringLiteral("Short Time")), kAlignCentre);
        region(g.lngLinks, rowY, g.lngZeitspalteBreite, g.lngZeilenhoehe, 0, t, 0, 0, 1);
    });
}

void Painter::drawDayColumn(Date day, qint32 column, qint32 x, qint32 y)
{
    const bool selected = daySelected(day);
    const Date from = day == cToolbox::DateOnly(s.selectionStart) ? cToolbox::TimeOnly(s.selectionStart) : 0;
    const Date to = day == cToolbox::DateOnly(s.selectionEndSlot) ? cToolbox::TimeOnly(s.selectionEndSlot) : 1;
    const qint32 firstY = y;
    qint32 finalY = y;
    forEachRow(y, [&](Date t, qint32 rowY) {
        const qint32 row = roundedUnclamped(t / s.grid.timeRaster);
        qint32 colour = s.matrix.contains(column, row) ? s.matrix.colour(column, row) : kWhite;
        if (selected && !s.forPrinting && t + kTwentySeconds >= from && t <= to + kTwentySeconds)
            colour = s.style.rgbBackMarkiert;
        cell(x + g.lngZeichenbreite, rowY, g.lngSpaltenBreite - g.lngZeichenbreite,
             g.lngZeilenhoehe + 1, kGrey, colour, QString(), kAlignLeftTop);
        region(x, rowY, g.lngSpaltenBreite, g.lngZeilenhoehe, 0, day + t, 0, zeitzelle, 1);
        finalY = rowY + g.lngZeilenhoehe;
        s.lastVisibleTime = t;
    });
    // Today's column is marked by a red frame around its left strip.
    const qint32 frame = day == s.today && !s.forPrinting ? kRed : kWhite;
    cell(x, firstY, g.lngZeichenbreite, finalY - firstY, frame, kWhite, QString(), kAlignLeftTop);
}

void Painter::drawDayHeader(Date day, qint32 x, bool narrow)
{
    const QString text = dayHeaderText(day, narrow);
    qint32 back = s.style.rgbBackUeberschrift, fore = s.style.rgbFontUeberschrift;
    if (daySelected(day) && !s.forPrinting) {
        back = s.style.rgbBackMarkiert;
        fore = s.style.rgbFontMarkiert;
    }
    dc.setTextColor(fore);
    cell(x - 1, top, g.lngSpaltenBreite + 1, g.lngKopfhoehe + 1, kLineColour, back, text, kAlignCentre);
    region(x, g.lngOben, g.lngSpaltenBreite, g.lngKopfhoehe, 0, day, 0, tageszellekopf, 1);
    cell(x - 1, top + g.lngKopfhoehe, g.lngSpaltenBreite + 1, g.lngTagesterminHoehe + 1,
         kLineColour, kWhite, QString(), kAlignCentre);
    region(x, g.lngOben + g.lngKopfhoehe, g.lngSpaltenBreite, g.lngTagesterminHoehe, 0, day, 0,
           tageszelle, 1);
}

void Painter::drawGrid()
{
    const CalendarGrid &grid = s.grid;
    const qint32 gridTop = grid.firstRowTop();
    drawTimeColumn(left, gridTop);
    const bool narrow = 10 * charWidth > g.lngSpaltenBreite;
    for (qint32 i = 1; i <= grid.dayCount(); ++i) {
        const Date day = grid.firstDay + i - 1;
        const qint32 x = left + g.lngZeitspalteBreite + (i - 1) * g.lngSpaltenBreite;
        drawDayColumn(day, i - 1, x, gridTop);
        drawDayHeader(day, x, narrow);
    }
    cell(left, gridTop - g.lngSplitterHoehe, width - 1, g.lngSplitterHoehe + 1, kLineColour,
         s.style.rgbBackUeberschrift, QString(), kAlignLeftTop);
    region(g.lngLinks, gridTop - g.lngSplitterHoehe, g.areaWidth - g.lngLinie,
           g.lngSplitterHoehe + g.lngLinie, 0, 0, 0, splitter, 99);
    // The label keeps the text colour of the last day header.
    const QString week = s.forPrinting
                             ? QString()
                             : QString::number(cToolbox::WeekOfYear(s.currentDate)) + QStringLiteral(".Wo");
    cell(left, top, g.lngZeitspalteBreite, g.lngKopfhoehe + 1, kLineColour,
         s.style.rgbBackUeberschrift, week, kAlignCentre);
    cell(left, top + g.lngKopfhoehe, g.lngZeitspalteBreite, g.lngTagesterminHoehe + 1,
         kLineColour, s.style.rgbBackUeberschrift, QString(), kAlignLeftTop);
}

void Painter::drawBox(qint32 x, qint32 y, qint32 w, qint32 h, qint32 index, bool inexact)
{
    const TerminEintrag &entry = s.store.at(index);
    const CalendarStyle &st = s.style;
    dc.FillRect(x, y, w, h, kLineColour);
    x += line, y += line, w -= 2 * line, h -= 2 * line;
    const bool selected = index == s.selectedIndex && !s.forPrinting;
    ColourPair colours = st.appointmentColours(selected, entry.blnfeiertag, entry.btagestermin,
                                               entry.backcolor, entry.fontcolor);
    if (s.modern)
        colours = AppointmentStyle::modernColours(colours, selected, selectionFill);
    dc.setTextColor(colours.text);
    dc.FillRect(x, y, w, h, colours.back);
    x += 1, y += 1, w -= 2, h -= 2;

    QString text;
    if (inexact) {
        text = formatGermanDate(entry.dateStart, QStringLiteral("Short Time")) + QLatin1Char('-')
               + formatGermanDate(entry.dateEnd, QStringLiteral("Short Time")) + QStringLiteral("\r\n");
    }
    text += entry.memo;
    const QFont *font = dc.Font();
    QFont struck = font ? *font : QFont();
    struck.setStrikeOut(entry.blnErledigt && st.blnErledigteDurchstreichen);
    dc.setFont(&struck);
    dc.UpdateFont();
    dc.Text(text, x, y, w, h, !entry.btagestermin, entry.btagestermin);
    dc.setFont(font);
    dc.UpdateFont();
}

void Painter::drawTimeBar(qint32 x, qint32 w, qint32 index, qint32 column)
{
    const TerminEintrag &entry = s.store.at(index);
    const CalendarGrid &grid = s.grid;
    const Date day = grid.firstDay + column;
    const bool startsHere = cToolbox::DateOnly(entry.dateStart) == day;
    const bool endsHere = cToolbox::DateOnly(entry.dateEnd) == day;
    const Date ts = startsHere ? cToolbox::TimeOnly(entry.dateStart) : 0;
    Date te = endsHere ? cToolbox::TimeOnly(entry.dateEnd) : 1;
    if (te == 0)
        te = 1;
    const qint32 y1 = roundedUnclamped((ts - grid.firstTime) / grid.timeRaster * g.lngZeilenhoehe + grid.firstRowTop());
    qint32 y2 = roundedUnclamped((te - grid.firstTime) / grid.timeRaster * g.lngZeilenhoehe + grid.firstRowTop());
    if (s.forPrinting && y2 > g.lngUnten)
        y2 = g.lngUnten;
    const qint32 barHeight = std::max(y2 - y1, roundedUnclamped(g.lngZeilenhoehe / 5.0));
    // On paper the bar is at least a line wide, like the frames beside it.
    dc.FillRect(x, y1, w > 0 ? std::max(w, line) : w, barHeight, s.style.rgbZeitbalken);
    const qint32 half = roundedUnclamped(barHeight / 2.0);
    if (startsHere)
        region(x, y1, w, half, index, entry.dateStart, 0, sizenorth, 3);
    if (endsHere)
        region(x, y1 + half, w, half, index, 0, entry.dateEnd, sizesouth, 3);
}

void Painter::drawSegment(const SegmentBox &segment)
{
    const QRect &box = segment.box;
    region(box.x(), box.y(), box.width(), box.height(), segment.index, 0, 0, termineintrag, 3);
    drawTimeBar(box.x() - segment.timeBarWidth, segment.timeBarWidth, segment.index, segment.column);
    drawBox(box.x(), box.y(), box.width(), box.height(), segment.index, segment.inexact);
}

void Painter::drawAllDay(const AllDayBox &entry)
{
    const QRect &box = entry.box;
    drawBox(box.x(), box.y(), box.width(), g.lngZeilenhoehe - 2 * g.lngLinie, entry.index, false);
    const TerminEintrag &record = s.store.at(entry.index);
    region(box.x(), box.y(), box.width(), g.lngZeilenhoehe, entry.index, record.dateStart,
           record.dateEnd, tagestermin, 5);
}

void Painter::drawAppointments()
{
    const AppointmentLayout layout = layoutAppointments(s.store, s.matrix, s.grid, s.forPrinting);
    const qint32 gridTop = s.grid.firstRowTop();
    // Both lists are in store order; merged by record they are drawn in store order.
    int a = 0, b = 0;
    while (a < layout.allDay.size() || b < layout.segments.size()) {
        const bool allDayNext = b >= layout.segments.size()
                                || (a < layout.allDay.size()
                                    && layout.allDay[a].index < layout.segments[b].index);
        if (allDayNext) {
            dc.SetClipRec(g.lngLinks + g.lngZeitspalteBreite, g.lngOben + g.lngKopfhoehe,
                          g.lngLinks + g.areaWidth, g.lngOben + g.lngKopfhoehe + g.lngTagesterminHoehe);
            drawAllDay(layout.allDay[a++]);
        } else {
            dc.SetClipRec(left, gridTop + 1, left + width, top + height);
            drawSegment(layout.segments[b++]);
        }
    }
    if (s.modern)
        drawOverflowMarkers(layout);
}

// "+n" at the foot of each day's band cell that hides n entries, over the last row shown.
void Painter::drawOverflowMarkers(const AppointmentLayout &layout)
{
    s.overflows = bandOverflows(layout, s.grid);
    if (s.overflows.isEmpty())
        return;
    const qint32 bandTop = g.lngOben + g.lngKopfhoehe;
    const qint32 bandBottom = bandTop + g.lngTagesterminHoehe;
    dc.SetClipRec(g.lngLinks + g.lngZeitspalteBreite, bandTop, g.lngLinks + g.areaWidth, bandBottom);
    const qint32 markerHeight = std::min(g.lngZeilenhoehe - 2 * g.lngLinie, g.lngTagesterminHoehe - 2);
    for (BandOverflow &overflow : s.overflows) {
        const QString text = QStringLiteral("+%1").arg(overflow.hidden.size());
        const qint32 markerWidth = std::min(dc.textWidth(text) + 6, g.lngSpaltenBreite - 2);
        const qint32 right = s.grid.columnLeft(overflow.column) + g.lngSpaltenBreite - 2;
        overflow.marker = QRect(right - markerWidth, bandBottom - 1 - markerHeight, markerWidth,
                                markerHeight);
        dc.setTextColor(s.style.rgbFontUeberschrift);
        cell(overflow.marker.x(), overflow.marker.y(), overflow.marker.width(),
             overflow.marker.height(), kLineColour, s.style.rgbBackUeberschrift, text, kAlignCentre);
    }
}

} // namespace

QString dayHeaderText(Date day, bool narrow)
{
    return formatGermanDate(day, QStringLiteral("ddd")) + QStringLiteral(", ")
           + formatGermanDate(day, narrow ? QStringLiteral("d.") : QStringLiteral("Short Date"));
}

void paintCalendar(cDC &dc, CalendarScene &scene, qint32 left, qint32 top, qint32 width,
                   qint32 height, qint32 charWidth, qint32 charHeight, bool printFlag)
{
    if (scene.forPrinting)
        scene.grid.layoutPrint(left, top, width, height, charWidth, charHeight);
    else
        scene.grid.layoutScreen(left, top, width, height, charWidth, charHeight);
    scene.hits.clear();
    scene.overflows.clear();
    dc.setEllipsis(scene.modern);
    dc.FillRect(left, top, width, height, kWhite);

    Painter painter(dc, scene, left, top, width, height, charWidth);
    // A paint that starts while another draws its grid draws only the appointments.
    bool localFlag = false;
    bool &gridRunning = scene.gridRunning ? *scene.gridRunning : localFlag;
    if (!gridRunning) {
        gridRunning = true;
        try {
            painter.drawGrid();
        } catch (...) {
            gridRunning = false;
            throw;
        }
        gridRunning = false;
    }
    painter.drawAppointments();
    dc.ClipClear();
    if (!printFlag)
        dc.BlastToScreen(0, 0, -1, -1);
}

} // namespace Dayplex

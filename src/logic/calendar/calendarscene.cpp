#include "calendar/calendarscene.h"

#include "shared/drawconstants.h"
#include "shared/germanformat.h"
#include "shared/rounding.h"
#include "shared/seriessign.h"
#include "shared/toolbox.h"

#include <dayplex/kalenderobjekttyp.h>

#include <QStringBuilder>
#include <algorithm>

namespace Dayplex {

namespace {

constexpr Date kTenSeconds = 10 * kOneSecond;
constexpr Date kTwentySeconds = 20 * kOneSecond;

// Clip rectangles travel as their four edges, the way SetClipRec takes them.
QRect edges(qint32 x1, qint32 y1, qint32 x2, qint32 y2)
{
    return QRect(QPoint(x1, y1), QPoint(x2, y2));
}

class SceneBuilder
{
public:
    SceneBuilder(const SceneInput &in, CalendarScene &scene)
        : in(in)
        , s(scene)
        , grid(scene.grid)
        , g(scene.grid.geo)
    {
    }

    void buildGrid();
    void buildAppointments();

private:
    void cell(qint32 x, qint32 y, qint32 w, qint32 h, qint32 frame, qint32 fill,
              const QString &caption, qint32 align)
    {
        s.cells.append({QRect(x, y, w, h), frame, fill, pen, caption, align});
    }
    void region(qint32 x, qint32 y, qint32 w, qint32 h, qint32 index, Date von, Date bis,
                qint32 type, qint32 priority)
    {
        s.hits.add({x, y, w, h, index, von, bis, type, priority});
    }

    // Rows from the first time down to the last time shown, while their top is on the area.
    template<typename RowFn>
    void forEachRow(qint32 y, RowFn rowFn) const
    {
        const qint32 rows = grid.rowsInSight();
        for (qint32 k = 0; k < rows; ++k) {
            const Date t = grid.firstTime + k * grid.timeRaster;
            if (t > grid.endZeit + kOneSecond)
                break;
            rowFn(t, y);
            y += g.lngZeilenhoehe;
        }
    }

    bool daySelected(Date day) const
    {
        return cToolbox::DateOnly(in.selectionStart) <= day
               && day <= cToolbox::DateOnly(in.selectionEndSlot);
    }

    void timeColumn(qint32 x, qint32 y);
    void dayColumn(Date day, qint32 column, qint32 x, qint32 y);
    void dayHeader(Date day, qint32 x, bool narrow);
    SceneBox box(QRect rect, qint32 index, bool inexact);
    void segment(const SegmentBox &segment);
    void allDay(const AllDayBox &entry);
    void overflowMarkers(const AppointmentLayout &layout);
    void keepTextClearOfMarkers(SceneBox &box) const;
    QVector<qint32> ownColours() const;

    const SceneInput &in;
    CalendarScene &s;
    const CalendarGrid &grid;
    const GridGeometry &g;
    qint32 pen = 0; // the text colour in force, as a fresh surface has it
    qint32 selectionFill = 0;
};

QVector<qint32> SceneBuilder::ownColours() const
{
    QVector<qint32> colours;
    for (qint32 i = 1; i <= in.store.count(); ++i) {
        const TerminEintrag &e = in.store.at(i);
        if (!e.blnfeiertag && !colours.contains(e.backcolor))
            colours.append(e.backcolor);
    }
    return colours;
}

void SceneBuilder::timeColumn(qint32 x, qint32 y)
{
    Date from = 0, to = 1;
    if (cToolbox::DateOnly(in.selectionStart) == cToolbox::DateOnly(in.selectionEndSlot)) {
        from = cToolbox::TimeOnly(in.selectionStart);
        to = cToolbox::TimeOnly(in.selectionEndSlot);
    }
    forEachRow(y, [&](Date t, qint32 rowY) {
        qint32 back = in.style.rgbBackUeberschrift;
        pen = in.style.rgbFontUeberschrift;
        if (!in.forPrinting && in.selectionStart > 0 && t + kTenSeconds >= from
            && t <= to + kTwentySeconds) {
            back = in.style.rgbBackMarkiert;
            pen = in.style.rgbFontMarkiert;
        }
        cell(x, rowY, g.lngZeitspalteBreite, g.lngZeilenhoehe + 1, kLineColour, back,
             germanShortTime(t), kAlignCentre);
        region(g.lngLinks, rowY, g.lngZeitspalteBreite, g.lngZeilenhoehe, 0, t, 0, 0, 1);
    });
}

void SceneBuilder::dayColumn(Date day, qint32 column, qint32 x, qint32 y)
{
    const bool selected = daySelected(day) && !in.forPrinting;
    const Date from = day == cToolbox::DateOnly(in.selectionStart) ? cToolbox::TimeOnly(in.selectionStart) : 0;
    const Date to = day == cToolbox::DateOnly(in.selectionEndSlot) ? cToolbox::TimeOnly(in.selectionEndSlot) : 1;
    const qint32 firstY = y;
    qint32 finalY = y;
    forEachRow(y, [&](Date t, qint32 rowY) {
        const qint32 row = roundedUnclamped(t / grid.timeRaster);
        qint32 colour = in.matrix.contains(column, row) ? in.matrix.colour(column, row) : kWhite;
        if (selected && t + kTwentySeconds >= from && t <= to + kTwentySeconds)
            colour = in.style.rgbBackMarkiert;
        cell(x + g.lngZeichenbreite, rowY, g.lngSpaltenBreite - g.lngZeichenbreite,
             g.lngZeilenhoehe + 1, kGrey, colour, QString(), kAlignLeftTop);
        region(x, rowY, g.lngSpaltenBreite, g.lngZeilenhoehe, 0, day + t, 0, zeitzelle, 1);
        finalY = rowY + g.lngZeilenhoehe;
        s.lastVisibleTime = t;
    });
    // Today's column is marked by a red frame around its left strip.
    const qint32 frame = day == in.today && !in.forPrinting ? kRed : kWhite;
    cell(x, firstY, g.lngZeichenbreite, finalY - firstY, frame, kWhite, QString(), kAlignLeftTop);
}

void SceneBuilder::dayHeader(Date day, qint32 x, bool narrow)
{
    qint32 back = in.style.rgbBackUeberschrift;
    pen = in.style.rgbFontUeberschrift;
    if (daySelected(day) && !in.forPrinting) {
        back = in.style.rgbBackMarkiert;
        pen = in.style.rgbFontMarkiert;
    }
    const qint32 top = s.area.top();
    cell(x - 1, top, g.lngSpaltenBreite + 1, g.lngKopfhoehe + 1, kLineColour, back,
         dayHeaderText(day, narrow), kAlignCentre);
    region(x, g.lngOben, g.lngSpaltenBreite, g.lngKopfhoehe, 0, day, 0, tageszellekopf, 1);
    cell(x - 1, top + g.lngKopfhoehe, g.lngSpaltenBreite + 1, g.lngTagesterminHoehe + 1,
         kLineColour, kWhite, QString(), kAlignCentre);
    region(x, g.lngOben + g.lngKopfhoehe, g.lngSpaltenBreite, g.lngTagesterminHoehe, 0, day, 0,
           tageszelle, 1);
}

void SceneBuilder::buildGrid()
{
    const qint32 left = s.area.left(), top = s.area.top(), width = s.area.width();
    const qint32 gridTop = grid.firstRowTop();
    s.rowsInSight = grid.rowsInSight();
    timeColumn(left, gridTop);
    const bool narrow = 10 * in.charWidth > g.lngSpaltenBreite;
    for (qint32 i = 1; i <= grid.dayCount(); ++i) {
        const Date day = grid.firstDay + i - 1;
        const qint32 x = left + g.lngZeitspalteBreite + (i - 1) * g.lngSpaltenBreite;
        dayColumn(day, i - 1, x, gridTop);
        dayHeader(day, x, narrow);
    }
    cell(left, gridTop - g.lngSplitterHoehe, width - 1, g.lngSplitterHoehe + 1, kLineColour,
         in.style.rgbBackUeberschrift, QString(), kAlignLeftTop);
    region(g.lngLinks, gridTop - g.lngSplitterHoehe, g.areaWidth - g.lngLinie,
           g.lngSplitterHoehe + g.lngLinie, 0, 0, 0, splitter, 99);
    // The label keeps the text colour of the last day header. Classic: the week of the date
    // worked on, which may lie elsewhere; modern: the week of the days shown.
    const Date weekOf = in.modern ? in.grid.firstDay : in.currentDate;
    const QString week = in.forPrinting
                             ? QString()
                             : QString::number(cToolbox::WeekOfYear(weekOf)) + QStringLiteral(".Wo");
    cell(left, top, g.lngZeitspalteBreite, g.lngKopfhoehe + 1, kLineColour,
         in.style.rgbBackUeberschrift, week, kAlignCentre);
    cell(left, top + g.lngKopfhoehe, g.lngZeitspalteBreite, g.lngTagesterminHoehe + 1,
         kLineColour, in.style.rgbBackUeberschrift, QString(), kAlignLeftTop);
}

SceneBox SceneBuilder::box(QRect rect, qint32 index, bool inexact)
{
    const TerminEintrag &entry = in.store.at(index);
    const CalendarStyle &st = in.style;
    const bool selected = index == in.selectedIndex && !in.forPrinting;
    SceneBox b;
    b.rect = rect;
    b.colours = st.appointmentColours(selected, entry.blnfeiertag, entry.btagestermin,
                                      entry.backcolor, entry.fontcolor);
    if (in.modern)
        b.colours = AppointmentStyle::modernColours(b.colours, selected, selectionFill);
    // A box without area (many in a crowded column) shows no text.
    if (inexact && !rect.isEmpty()) {
        b.text = germanShortTime(entry.dateStart) % QLatin1Char('-')
                 % germanShortTime(effectiveEnd(entry)) % QLatin1String("\r\n") % entry.memo;
    } else if (!rect.isEmpty()) {
        b.text = entry.memo;
    }
    b.allDay = entry.btagestermin;
    b.struck = entry.blnErledigt && st.blnErledigteDurchstreichen;
    if (in.modern && in.store.details(entry.dsn).seriesOccurrence) {
        const QRect inside = rect.adjusted(g.lngLinie, g.lngLinie, -g.lngLinie, -g.lngLinie);
        const SeriesSignPlace place = seriesSignPlace(inside, in.charHeight, b.allDay);
        if (!place.sign.isEmpty()) {
            b.seriesSign = place.sign;
            b.textRect = place.text;
        }
    }
    return b;
}

void SceneBuilder::segment(const SegmentBox &segment)
{
    const QRect &rect = segment.box;
    region(rect.x(), rect.y(), rect.width(), rect.height(), segment.index, 0, 0, termineintrag, 3);

    SceneAppointment item;
    item.clip = edges(s.area.left(), grid.firstRowTop() + 1, s.area.left() + s.area.width(),
                      s.area.top() + s.area.height());
    // The time bar shows the exact times in the strip left of the box.
    const TerminEintrag &entry = in.store.at(segment.index);
    const Date end = effectiveEnd(entry);
    const Date day = grid.firstDay + segment.column;
    const bool startsHere = cToolbox::DateOnly(entry.dateStart) == day;
    const bool endsHere = cToolbox::DateOnly(end) == day;
    const Date ts = startsHere ? cToolbox::TimeOnly(entry.dateStart) : 0;
    Date te = endsHere ? cToolbox::TimeOnly(end) : 1;
    if (te == 0)
        te = 1;
    const qint32 y1 = grid.timeY(ts);
    qint32 y2 = grid.timeY(te);
    if (in.forPrinting && y2 > g.lngUnten)
        y2 = g.lngUnten;
    const qint32 barHeight = std::max(y2 - y1, roundedUnclamped(g.lngZeilenhoehe / 5.0));
    const qint32 x = rect.x() - segment.timeBarWidth, w = segment.timeBarWidth;
    item.timeBar = QRect(x, y1, w, barHeight);
    const qint32 half = roundedUnclamped(barHeight / 2.0);
    if (startsHere)
        region(x, y1, w, half, segment.index, entry.dateStart, 0, sizenorth, 3);
    if (endsHere)
        region(x, y1 + half, w, half, segment.index, 0, end, sizesouth, 3);
    item.index = segment.index;
    item.column = segment.column;
    item.box = box(rect, segment.index, segment.inexact);
    s.appointments.append(item);
}

void SceneBuilder::allDay(const AllDayBox &entry)
{
    // The modern band draws none of the entries its "+n" counts: the top of one would show
    // under the last row, and they are named by the marker (or listed on paper).
    if (in.modern && hiddenByBand(entry, g))
        return;
    const QRect &rect = entry.box;
    SceneAppointment item;
    item.allDay = true;
    item.clip = edges(g.lngLinks + g.lngZeitspalteBreite, g.lngOben + g.lngKopfhoehe,
                      g.lngLinks + g.areaWidth, g.lngOben + g.lngKopfhoehe + g.lngTagesterminHoehe);
    item.index = entry.index;
    item.box = box(QRect(rect.x(), rect.y(), rect.width(), g.lngZeilenhoehe - 2 * g.lngLinie),
                   entry.index, false);
    // On paper the days before the sheet are not there: the text is centred in the part of
    // the entry that is.
    if (in.modern && in.forPrinting) {
        const QRect inside = item.box.textRect.isNull()
                                 ? item.box.rect.adjusted(g.lngLinie, g.lngLinie, -g.lngLinie, -g.lngLinie)
                                 : item.box.textRect;
        const QRect band(item.clip.topLeft(), QSize(item.clip.width() - 1, item.clip.height() - 1));
        const QRect shown = inside & band;
        if (shown != inside)
            item.box.textRect = shown.isEmpty() ? QRect(inside.topLeft(), QSize(0, inside.height())) : shown;
    }
    s.appointments.append(item);
    const TerminEintrag &record = in.store.at(entry.index);
    region(rect.x(), rect.y(), rect.width(), g.lngZeilenhoehe, entry.index, record.dateStart,
           effectiveEnd(record), tagestermin, 5);
}

void SceneBuilder::buildAppointments()
{
    if (in.modern)
        selectionFill = in.style.modernSelectionColour(ownColours());
    // The occupancy is this view's own; the colours of the host's matrix are not needed for it.
    CellMatrix fresh;
    CellMatrix &occupancy = in.occupancy ? *in.occupancy : fresh;
    if (occupancy.days() != in.matrix.days() || occupancy.rows() != in.matrix.rows())
        occupancy.rebuild(in.matrix.days(), in.matrix.rows());
    const AppointmentLayout layout = layoutAppointments(in.store, occupancy, grid, in.forPrinting);
    // A segment registers up to three regions, an all-day box one.
    s.hits.reserve(s.hits.count() + 3 * qint32(layout.segments.size()) + qint32(layout.allDay.size()));
    s.appointments.reserve(layout.segments.size() + layout.allDay.size());
    // Both lists are in store order; merged by record they are drawn in store order.
    int a = 0, b = 0;
    while (a < layout.allDay.size() || b < layout.segments.size()) {
        const bool allDayNext = b >= layout.segments.size()
                                || (a < layout.allDay.size()
                                    && layout.allDay[a].index < layout.segments[b].index);
        if (allDayNext)
            allDay(layout.allDay[a++]);
        else
            segment(layout.segments[b++]);
    }
    if (in.modern)
        overflowMarkers(layout);
}

// "+n" at the foot of each day's band cell that hides n entries, over the last row shown.
void SceneBuilder::overflowMarkers(const AppointmentLayout &layout)
{
    s.overflows = bandOverflows(layout, grid);
    const qint32 bandTop = g.lngOben + g.lngKopfhoehe;
    const qint32 bandBottom = bandTop + g.lngTagesterminHoehe;
    s.overflowClip = edges(g.lngLinks + g.lngZeitspalteBreite, bandTop, g.lngLinks + g.areaWidth, bandBottom);
    const qint32 markerHeight = std::min(g.lngZeilenhoehe - 2 * g.lngLinie, g.lngTagesterminHoehe - 2);
    pen = in.style.rgbFontUeberschrift;
    for (BandOverflow &overflow : s.overflows) {
        const QString text = QStringLiteral("+%1").arg(overflow.hidden.size());
        const qint32 textWidth = in.textWidth ? in.textWidth(text) : 0;
        const qint32 markerWidth = std::min(textWidth + 6, g.lngSpaltenBreite - 2);
        const qint32 right = grid.columnLeft(overflow.column) + g.lngSpaltenBreite - 2;
        overflow.marker = QRect(right - markerWidth, bandBottom - 1 - markerHeight, markerWidth,
                                markerHeight);
        s.overflowMarkers.append({overflow.marker, kLineColour, in.style.rgbBackUeberschrift,
                                  pen, text, kAlignCentre});
    }
    for (SceneAppointment &a : s.appointments) {
        if (a.allDay)
            keepTextClearOfMarkers(a.box);
    }
}

// A longer all-day box in the band's last row runs under the markers of the days it spans; its
// text goes to the widest stretch between them (the markers come in column order), so that no
// marker covers it.
void SceneBuilder::keepTextClearOfMarkers(SceneBox &box) const
{
    // A series sign keeps its place at the right end.
    const QRect inside = box.textRect.isNull()
                             ? box.rect.adjusted(g.lngLinie, g.lngLinie, -g.lngLinie, -g.lngLinie)
                             : box.textRect;
    const qint32 end = inside.right() + 1;
    qint32 from = inside.left(), bestFrom = from, bestWidth = 0;
    // The stretch from `from` to `to` wins when it is wider than the widest so far.
    const auto stretch = [&](qint32 to) {
        if (to - from > bestWidth) {
            bestFrom = from;
            bestWidth = to - from;
        }
    };
    bool covered = false;
    for (const BandOverflow &overflow : s.overflows) {
        const QRect &marker = overflow.marker;
        if (!marker.intersects(inside))
            continue;
        covered = true;
        stretch(std::min(marker.left(), end));
        from = std::max(from, marker.right() + 1);
    }
    if (!covered)
        return;
    stretch(end);
    box.textRect = QRect(bestFrom, inside.top(), bestWidth, inside.height());
}

} // namespace

QString dayHeaderText(Date day, bool narrow)
{
    return formatGermanDate(day, QStringLiteral("ddd")) + QStringLiteral(", ")
           + formatGermanDate(day, narrow ? QStringLiteral("d.") : QStringLiteral("Short Date"));
}

CalendarScene computeCalendarScene(const SceneInput &in, const CalendarScene *appointmentsOf)
{
    CalendarScene scene;
    scene.grid = in.grid;
    scene.area = in.area;
    scene.ellipsis = in.modern;
    scene.timeBarColour = in.style.rgbZeitbalken;
    const QRect &a = in.area;
    if (in.forPrinting)
        scene.grid.layoutPrint(a.left(), a.top(), a.width(), a.height(), in.charWidth, in.charHeight);
    else
        scene.grid.layoutScreen(a.left(), a.top(), a.width(), a.height(), in.charWidth, in.charHeight);
    SceneBuilder builder(in, scene);
    builder.buildGrid();
    if (!appointmentsOf) {
        builder.buildAppointments();
        return scene;
    }
    scene.appointments = appointmentsOf->appointments;
    scene.overflows = appointmentsOf->overflows;
    scene.overflowMarkers = appointmentsOf->overflowMarkers;
    scene.overflowClip = appointmentsOf->overflowClip;
    // The grid's regions do not depend on the time selection: all regions are the same, with
    // their index, so that a drag does not index thousands of them again at every step.
    scene.hits = appointmentsOf->hits;
    return scene;
}

namespace {

bool sameLook(const SceneCell &a, const SceneCell &b)
{
    return a.frame == b.frame && a.fill == b.fill && a.text == b.text && a.align == b.align
           && a.caption == b.caption;
}

} // namespace

std::optional<QRegion> changedCells(const CalendarScene &before, const CalendarScene &after)
{
    if (before.area != after.area || before.cells.size() != after.cells.size())
        return std::nullopt;
    QRegion region;
    for (int i = 0; i < after.cells.size(); ++i) {
        const SceneCell &a = before.cells[i], &b = after.cells[i];
        if (a.rect != b.rect)
            return std::nullopt;
        if (!sameLook(a, b))
            region += a.rect;
    }
    return region;
}

} // namespace Dayplex

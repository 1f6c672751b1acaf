#include "gantt/ganttpainter.h"

#include "shared/cdc.h"
#include "shared/toolbox.h"
#include "shared/readablecolours.h"

#include <dayplex/error.h>

#include <QFont>
#include <algorithm>
#include <cmath>
#include <limits>

namespace Dayplex {

namespace {

constexpr qint32 kWhite = 0xFFFFFF;
constexpr qint32 kBlack = 0x000000;
constexpr qint32 kRed = 0x0000FF;
constexpr qint32 kAlignCentre = 0;
constexpr qint32 kAlignLeft = 1;

qint32 checked(qint64 value)
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        throw Error(Overflow, QStringLiteral("Overflow: coordinate outside the 32-bit range"));
    return qint32(value);
}

using Colours = ColourPair;

class Painter
{
public:
    Painter(cDC &dc, GanttScene &scene, GanttPaintResult &result, qint32 offsetx, qint32 offsety,
            qint32 width, qint32 height)
        : dc(dc)
        , s(scene)
        , st(scene.style)
        , m(scene.model)
        , out(result)
        , l(result.layout)
        , offsetx(offsetx)
        , offsety(offsety)
        , width(width)
        , height(height)
        , right(checked(qint64(offsetx) + width))
        , bottom(checked(qint64(offsety) + height))
        , first(std::max(scene.firstRow, 1))
        , line(dc.lineWidth())
    {
        if (scene.modern)
            selectionFill = st.modernSelectionColour(ownColours());
    }

    void paint(qint32 th, qint32 cw);

private:
    Colours nameColours(qint32 r) const
    {
        if (m.row(r).blnMarkiert && !s.forPrinting)
            return {st.rgbBackMarkiert, st.rgbFontMarkiert};
        if (r % 2 == 0)
            return {kWhite, kBlack};
        return {st.rgbBackUeberschrift, st.rgbFontUeberschrift};
    }
    Colours barColours(const GanttEintrag &e) const
    {
        const bool selected = e.dsn == m.selectedDate && !s.forPrinting;
        const Colours colours = st.appointmentColours(selected, e.blnfeiertag, e.btagestermin,
                                                      e.backcolor, e.fontcolor);
        return s.modern ? AppointmentStyle::modernColours(colours, selected, selectionFill) : colours;
    }
    QVector<qint32> ownColours() const
    {
        QVector<qint32> colours;
        for (qint32 i = 1; i <= m.dateCount(); ++i) {
            const GanttEintrag &e = m.date(i);
            if (!e.blnfeiertag && !colours.contains(e.backcolor))
                colours.append(e.backcolor);
        }
        return colours;
    }

    void drawRows();
    void drawProposal(qint32 y);
    void drawDayHeader();
    void drawHourHeader();
    void drawBar(const GanttEintrag &e);

    cDC &dc;
    GanttScene &s;
    const GanttStyle &st;
    GanttModel &m;
    GanttPaintResult &out;
    GanttLayout &l;
    const qint32 offsetx, offsety, width, height, right, bottom;
    const qint32 first;
    const qint32 line;
    qint32 selectionFill = 0;
};

void Painter::drawRows()
{
    const qint32 rows = m.rowCount();
    qint64 y = l.lngZeilenOben;
    for (qint32 r = first; r <= rows; ++r, y += l.lngZeilenhoehe) {
        out.panelUpdated = true;
        // Rows below the view would only be clipped; what they leave behind is the text colour
        // of the last name cell, which the header captions then use.
        if (y >= bottom) {
            dc.setTextColor(nameColours(rows).text);
            break;
        }
        const MerkmalEintrag &row = m.row(r);
        const Colours name = nameColours(r);
        dc.setTextColor(name.text);
        // The strip at the end of the column covers the cell's last character width; the
        // modern look shortens the name before it.
        const qint32 nameWidth = s.modern ? l.lngNamenBreite - l.lngZeichenbreite : l.lngNamenBreite;
        dc.FillRect(offsetx, qint32(y), nameWidth, l.lngZeilenhoehe, name.back,
                    QLatin1Char(' ') + row.Merkmal, kAlignLeft);
        dc.FillRect(l.lngNamenBreite, qint32(y), width, l.lngZeilenhoehe,
                    r % 2 == 0 ? kWhite : st.rgbBackUeberschrift);
        dc.FillRect(offsetx, qint32(y), width, line, cToolbox::GridLineColor());
        if (m.vorschlagVon > 0 && row.blnMarkiert)
            drawProposal(qint32(y));
    }
    if (!out.panelUpdated)
        return;
    if (m.vorschlagVon > 0) {
        out.lblVorschlag = ganttProposalLabel(m.vorschlagVon, m.vorschlagBis);
        out.cmdNeuEnabled = true;
    } else {
        out.lblVorschlag.clear();
        out.cmdNeuEnabled = false;
    }
}

void Painter::drawProposal(qint32 y)
{
    if (s.forPrinting)
        return;
    const BarRect r = ganttProposalRect(l, m.vorschlagVon, m.vorschlagBis, y);
    if (r.width > 0)
        dc.FillRect(r.left, r.top, r.width, r.height, st.rgbBackMarkiert);
}

void Painter::drawDayHeader()
{
    const HeaderScale &scale = out.scale;
    const qint32 cellWidth = qint32(std::clamp(qint64(l.lngPixelProTag) * scale.dayStep,
                                               qint64(-(1 << 30)), qint64(1 << 30)));
    const bool forward = l.dblPixelProStunde >= 0;
    for (qint64 k = 0;; ++k) {
        const Date d = l.startDate + double(k) * scale.dayStep;
        if (d > l.dEnd)
            break;
        const qint32 x = l.xOf(d);
        // Every later cell starts further right, beyond the target as well.
        if (forward && x >= right)
            break;
        const bool visible = cellWidth > 0 && l.lngKopfhoehe > 0;
        dc.FillRect(x, offsety, cellWidth, l.lngKopfhoehe, st.rgbBackUeberschrift,
                    visible ? ganttDayLabel(d, cellWidth, l.lngZeichenbreite) : QString(),
                    kAlignLeft);
        dc.FillRect(x, offsety, line, height, cToolbox::GridLineColor());
    }
}

void Painter::drawHourHeader()
{
    const HeaderScale &scale = out.scale;
    const bool forward = l.dblPixelProStunde >= 0;
    // The cells leave the line above them and the line at their left edge uncovered.
    const qint32 cellTop = checked(qint64(offsety) + l.lngKopfhoehe + line);
    const qint32 lineTop = checked(qint64(offsety) + l.lngKopfhoehe);
    const qint32 cellHeight = l.lngKopfhoehe - 2 - line;
    const qint32 cellWidth = scale.hourStep < 24
                                 ? qint32(std::nearbyint(std::clamp(l.dblPixelProStunde * scale.hourStep, -1e9, 1e9)))
                                 : l.lngPixelProTag - 1;
    qint32 lastLineX = 0;
    qint32 lastLineColour = -1;
    for (qint64 h = 0; h <= l.hours; h += scale.hourStep) {
        const double pos = std::nearbyint(l.lngNamenBreite + double(h) * l.dblPixelProStunde);
        const qint32 x = qint32(std::clamp(pos, -1e9, 1e9));
        if (forward && x >= right)
            break;
        const bool visible = cellWidth > 0 && cellHeight > 0;
        dc.FillRect(checked(qint64(x) + line), cellTop, cellWidth, cellHeight, st.rgbBackUeberschrift,
                    visible ? ganttHourLabel(h, scale, l.startDate) : QString(), kAlignCentre);
        const qint32 colour = h % 24 == 0 ? kBlack : cToolbox::GridLineColor();
        // The same line on the same column again changes no pixel (very long ranges).
        if (x != lastLineX || colour != lastLineColour)
            dc.FillRect(x, lineTop, line, height, colour);
        lastLineX = x;
        lastLineColour = colour;
    }
}

void Painter::drawBar(const GanttEintrag &e)
{
    dc.FillRect(e.barLeft, e.barTop, e.barWidth, e.barHeight, kBlack);
    const Colours c = barColours(e);
    dc.setTextColor(c.text);
    const bool struck = e.blnErledigt && st.blnErledigteDurchstreichen;
    const QFont *font = dc.Font();
    QFont strikeFont;
    if (struck) {
        strikeFont = font ? *font : QFont();
        strikeFont.setStrikeOut(true);
        dc.setFont(&strikeFont);
        dc.UpdateFont();
    }
    dc.FillRect(e.barLeft + line, e.barTop + line, e.barWidth - 2 * line, e.barHeight - 2 * line,
                c.back);
    dc.Text(QLatin1Char(' ') + e.notiz, e.barLeft + line, e.barTop + line, e.barWidth - 2 * line,
            e.barHeight - 2 * line, true, false);
    if (struck) {
        dc.setFont(font);
        dc.UpdateFont();
    }
}

void Painter::paint(qint32 th, qint32 cw)
{
    // 1. Background, clip to the target.
    dc.setEllipsis(s.modern);
    dc.FillRect(offsetx, offsety, width, height, st.rgbBackUeberschrift);
    dc.SetClipRec(offsetx, offsety, right, bottom);

    // 2., 3. Layout fields and row height.
    l = ganttLayout(offsetx, offsety, width, height, th, cw, s.startDate, s.endDate, m.rowCount(),
                    st.blnOptimiertezeilenhoehe, st.lngHoeheTerminzelle);
    out.layoutValid = true;

    // 4. Rows.
    drawRows();

    // 5. The line between the two header rows.
    dc.FillRect(l.lngNamenBreite, checked(qint64(offsety) + l.lngKopfhoehe), width, line,
                cToolbox::GridLineColor());

    // 6. to 8. Header rows.
    out.scale = ganttHeaderScale(l);
    drawDayHeader();
    drawHourHeader();

    // 9. Current time.
    if (!s.forPrinting && l.startDate <= s.now && s.now <= l.dEnd)
        dc.FillRect(l.xOf(s.now), checked(qint64(offsety) + l.lngKopfhoehe), line, height, kRed);

    // 10. Strip at the right end of the name column.
    const qint32 stripLeft = checked(qint64(l.lngNamenBreite) - l.lngZeichenbreite);
    const qint32 stripTop = checked(qint64(l.lngZeilenOben) + 1);
    dc.FillRect(stripLeft, stripTop, l.lngZeichenbreite, height, kWhite);
    dc.FillRect(stripLeft, stripTop, line, height, kBlack);

    // 11., 12. Bar rectangles and the overlap staircase. A marker is given as ending at the
    // edge of the time area with the negative width 1 - cw; it is filled as the equal
    // rectangle with a positive width, so that it shows in the strip.
    out.bars = ganttLayoutBars(m, l, first);
    for (const OverlapMarker &marker : out.bars.markers)
        dc.FillRect(stripLeft, marker.top, l.lngZeichenbreite - 1, marker.height, st.rgbZeitbalken);

    // 13. Bars in list order. Bars wholly outside the target would only be clipped.
    for (qint32 i = 1; i <= m.dateCount(); ++i) {
        const GanttEintrag &e = m.date(i);
        if (e.barTop <= 0)
            continue;
        if (e.barTop >= bottom || qint64(e.barTop) + e.barHeight <= offsety || e.barLeft >= right
            || qint64(e.barLeft) + e.barWidth <= offsetx)
            continue;
        drawBar(e);
    }

    // 14.
    dc.ClipClear();
}

} // namespace

void GanttZeichnen(cDC &dc, GanttScene &scene, GanttPaintResult &result, qint32 offsetx,
                   qint32 offsety, qint32 width, qint32 height, qint32 th, qint32 cw)
{
    Painter painter(dc, scene, result, offsetx, offsety, width, height);
    try {
        painter.paint(th, cw);
    } catch (...) {
        dc.ClipClear();
        throw;
    }
}

void KopfTextZeichnen(cDC &dc, const GanttLayout &layout, const GanttStyle &style, Date datMaus)
{
    dc.FillRect(0, 0, layout.lngNamenBreite, layout.lngZeilenOben, style.rgbBackUeberschrift);
    dc.setTextColor(style.rgbFontUeberschrift);
    dc.Text(ganttCornerText(datMaus), 0, 0, layout.lngNamenBreite, layout.lngZeilenOben, true,
            false);
}

} // namespace Dayplex

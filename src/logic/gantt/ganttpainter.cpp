#include "gantt/ganttpainter.h"

#include "shared/boxinsides.h"
#include "shared/cdc.h"
#include "shared/drawconstants.h"
#include "shared/toolbox.h"
#include "shared/readablecolours.h"
#include "shared/seriessign.h"
#include "gantt/ganttmodern.h"

#include <dayplex/error.h>

#include <QFont>
#include <algorithm>
#include <cmath>
#include <limits>

namespace Dayplex {

namespace {

qint32 checked(qint64 value)
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        throw Error(Overflow, QStringLiteral("Overflow: coordinate outside the 32-bit range"));
    return qint32(value);
}

using Colours = ColourPair;

// The folded hours a tenth darker than their row, so that the fold shows on either row colour.
qint32 foldedShade(qint32 colour)
{
    const auto channel = [colour](int shift) { return ((colour >> shift) & 0xFF) * 9 / 10; };
    return channel(0) | (channel(8) << 8) | (channel(16) << 16);
}

class Painter
{
public:
    Painter(cDC &dc, const GanttContent &content, const GanttScene &scene, BoxInsides *insides)
        : dc(dc)
        , c(content)
        , st(content.style)
        , m(content.model)
        , s(scene)
        , l(scene.layout)
        , offsetx(l.offsetx)
        , offsety(l.offsety)
        , width(l.width)
        , height(l.height)
        , right(scene.right)
        , bottom(scene.bottom)
        , first(scene.firstRow)
        , line(dc.lineWidth())
        , insides(insides)
    {
    }

    void paint();

private:
    Colours nameColours(qint32 r) const
    {
        if (m.row(r).blnMarkiert && !c.forPrinting)
            return {st.rgbBackMarkiert, st.rgbFontMarkiert};
        if (r % 2 == 0)
            return {kWhite, kBlack};
        return {st.rgbBackUeberschrift, st.rgbFontUeberschrift};
    }
    Colours barColours(const GanttEintrag &e) const
    {
        const bool selected = e.dsn == m.selectedDate && !c.forPrinting;
        const Colours colours = st.appointmentColours(selected, e.blnfeiertag, e.btagestermin,
                                                      e.backcolor, e.fontcolor);
        return c.modern ? AppointmentStyle::modernColours(colours, selected, s.selectionFill)
                        : colours;
    }

    qint64 rowsCoverTo() const;
    void drawRows();
    void drawProposal(qint32 y);
    void drawFoldedBands(qint32 y, qint32 rowHeight, qint32 rowColour);
    void drawTicks();
    void drawLabelledBar(const GanttEintrag &e, const BarRect &b, qint32 freeRight,
                         const Colours &colours, bool struck);
    void drawDayHeader();
    void drawHourHeader();
    void drawBar(qint32 index, const BarRect &b);
    void draw(qint32 left, qint32 top, const BoxInsides::Key &key);

    cDC &dc;
    const GanttContent &c;
    const GanttStyle &st;
    const GanttModel &m;
    const GanttScene &s;
    const GanttLayout &l;
    const qint32 offsetx, offsety, width, height, right, bottom;
    const qint32 first;
    const qint32 line;
    BoxInsides *const insides;
};

// Where the rows stop covering the whole width of the target (the name cell and the row's
// cells meet without a gap, and both reach its edges); their top when they do not.
qint64 Painter::rowsCoverTo() const
{
    const qint32 nameWidth = c.modern ? l.lngNamenBreite - l.lngZeichenbreite : l.lngNamenBreite;
    if (qint64(offsetx) + nameWidth < l.lngNamenBreite || l.lngNamenBreite < offsetx)
        return l.lngZeilenOben;
    qint64 y = l.lngZeilenOben;
    for (qint32 r = first; r <= m.rowCount() && y < bottom; ++r) {
        if (l.rowHeight(r) < 0)
            return l.lngZeilenOben;
        y += l.rowHeight(r);
    }
    return std::min<qint64>(y, bottom);
}

void Painter::drawRows()
{
    const qint32 rows = m.rowCount();
    qint64 y = l.lngZeilenOben;
    for (qint32 r = first; r <= rows; y += l.rowHeight(r), ++r) {
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
        const qint32 nameWidth = c.modern ? l.lngNamenBreite - l.lngZeichenbreite : l.lngNamenBreite;
        const qint32 rowHeight = l.rowHeight(r);
        dc.FillRect(offsetx, qint32(y), nameWidth, rowHeight, name.back,
                    QLatin1Char(' ') + row.Merkmal, kAlignLeft);
        dc.FillRect(l.lngNamenBreite, qint32(y), width, rowHeight,
                    r % 2 == 0 ? kWhite : st.rgbBackUeberschrift);
        if (l.folded())
            drawFoldedBands(qint32(y), rowHeight, r % 2 == 0 ? kWhite : st.rgbBackUeberschrift);
        dc.FillRect(offsetx, qint32(y), width, line, cToolbox::GridLineColor());
        if (m.vorschlagVon > 0 && row.blnMarkiert)
            drawProposal(qint32(y));
    }
}

// The folded hours of every day in a shade of their own, so that the fold shows.
void Painter::drawFoldedBands(qint32 y, qint32 rowHeight, qint32 rowColour)
{
    const qint32 band = foldedShade(rowColour);
    const qint32 days = qint32(std::llround(l.dEnd - l.dayOrigin));
    for (qint32 day = 0; day < days; ++day) {
        const Date midnight = l.dayOrigin + day;
        const qint32 dayLeft = l.xOf(midnight);
        if (dayLeft >= right)
            break;
        const qint32 workLeft = l.xOf(midnight + l.workFrom);
        const qint32 workRight = l.xOf(midnight + l.workTo);
        const qint32 dayRight = l.xOf(midnight + 1);
        dc.FillRect(dayLeft, y, workLeft - dayLeft, rowHeight, band);
        dc.FillRect(workRight, y, dayRight - workRight, rowHeight, band);
    }
}

// The hour row of the folded axis: the working hours labelled, the bands left blank.
void Painter::drawTicks()
{
    const qint32 cellTop = checked(qint64(offsety) + l.lngKopfhoehe + line);
    const qint32 lineTop = checked(qint64(offsety) + l.lngKopfhoehe);
    const qint32 cellHeight = l.lngKopfhoehe - 2 - line;
    for (const HourTick &tick : s.ticks) {
        dc.FillRect(tick.x + line, cellTop, tick.width - line, cellHeight, st.rgbBackUeberschrift,
                    tick.label, kAlignLeft);
        dc.FillRect(tick.x, lineTop, line, height, cToolbox::GridLineColor());
    }
    const qint32 days = qint32(std::llround(l.dEnd - l.dayOrigin));
    for (qint32 day = 0; day <= days; ++day) {
        const qint32 x = l.xOf(l.dayOrigin + day);
        if (x >= right)
            break;
        dc.FillRect(x, lineTop, line, height, kBlack);
    }
}

void Painter::drawProposal(qint32 y)
{
    if (c.forPrinting)
        return;
    const BarRect r = ganttProposalRect(l, m.vorschlagVon, m.vorschlagBis, y);
    if (r.width > 0)
        dc.FillRect(r.left, r.top, r.width, r.height, st.rgbBackMarkiert);
}

void Painter::drawDayHeader()
{
    const HeaderScale &scale = s.scale;
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
    const HeaderScale &scale = s.scale;
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

void Painter::drawBar(qint32 index, const BarRect &b)
{
    const GanttEintrag &e = m.date(index);
    const Colours colours = barColours(e);
    const QFont *font = dc.Font();
    // Done appointments are struck through; a struck font stays so.
    const bool struck = (e.blnErledigt && st.blnErledigteDurchstreichen) || (font && font->strikeOut());
    if (c.modern) {
        const qint32 freeRight = index - 1 < s.bars.labelRight.size()
                                     ? s.bars.labelRight.at(index - 1)
                                     : right;
        drawLabelledBar(e, b, freeRight, colours, struck);
        return;
    }
    const QString text = QLatin1Char(' ') + e.notiz;
    SeriesSignPlace sign;
    // The bar's height stands for the text's: the bar is at least a line of text high.
    if (c.modern && m.details(e.dsn).seriesOccurrence)
        sign = seriesSignPlace(QRect(b.left + line, b.top + line, b.width - 2 * line,
                                     b.height - 2 * line),
                               b.height, false);
    if (sign.sign.isEmpty()) {
        draw(b.left, b.top, {text, b.width, b.height, kBlack, line, colours.back, colours.text,
                             struck, 0, false});
        return;
    }
    // The text keeps left of the sign, on the bar's own fill.
    draw(b.left, b.top, {QString(), b.width, b.height, kBlack, line, colours.back, colours.text,
                         struck, 0, false});
    draw(sign.text.left(), sign.text.top(), {text, sign.text.width(), sign.text.height(),
                                             colours.back, 0, colours.back, colours.text, struck,
                                             0, false});
    drawSeriesSign(dc, sign.sign, colours.text);
}

// The modern bar: its start time and subject inside, or beside it on the row when the bar is
// too short for them. An occurrence of a series bears its sign in the bar where it fits.
void Painter::drawLabelledBar(const GanttEintrag &e, const BarRect &b, qint32 freeRight,
                              const Colours &colours, bool struck)
{
    const auto width = [this](const QString &text) { return qint32(dc.textWidth(text)); };
    const BarLabel label = ganttBarLabel(b, freeRight, line, ganttBarTime(e), e.notiz, width);
    const QString text = ganttBarText(e);
    draw(b.left, b.top, {QString(), b.width, b.height, kBlack, line, colours.back, colours.text,
                         struck, 0, false});
    SeriesSignPlace sign;
    // The bar's height stands for the text's: the bar is at least a line of text high.
    if (m.details(e.dsn).seriesOccurrence)
        sign = seriesSignPlace(QRect(b.left + line, b.top + line, b.width - 2 * line,
                                     b.height - 2 * line),
                               b.height, false);
    if (label.inside) {
        const QRect inner = sign.sign.isEmpty() ? QRect(b.left + line, b.top + line,
                                                        b.width - 2 * line, b.height - 2 * line)
                                                : sign.text;
        draw(inner.left(), inner.top(), {text, inner.width(), inner.height(), colours.back, 0,
                                         colours.back, colours.text, struck, line, false});
    } else {
        // Beside the bar the text stands on the row's own colours.
        const bool even = m.merkmalIndexDsn(e.merkmaldsn) % 2 == 0;
        const qint32 back = even ? kWhite : st.rgbBackUeberschrift;
        const qint32 fore = even ? kBlack : st.rgbFontUeberschrift;
        draw(label.rect.left(), label.rect.top(), {text, label.rect.width(), label.rect.height(),
                                                   back, 0, back, fore, struck, 0, false});
    }
    if (!sign.sign.isEmpty())
        drawSeriesSign(dc, sign.sign, colours.text);
}

void Painter::draw(qint32 left, qint32 top, const BoxInsides::Key &key)
{
    if (insides)
        insides->draw(dc, left, top, key);
    else
        BoxInsides::drawInPlace(dc, left, top, key);
}

void Painter::paint()
{
    // Background, clip to the target. The rows paint over their part of it whole, so that
    // part is left to them: it was a second fill of most of the picture.
    dc.setEllipsis(c.modern);
    const qint64 rowsTop = std::clamp<qint64>(l.lngZeilenOben, offsety, std::max(offsety, bottom));
    const qint64 rowsEnd = std::max(rowsTop, rowsCoverTo());
    dc.FillRect(offsetx, offsety, width, qint32(rowsTop - offsety), st.rgbBackUeberschrift);
    dc.FillRect(offsetx, qint32(rowsEnd), width,
                qint32(std::max<qint64>(qint64(offsety) + height - rowsEnd, 0)), st.rgbBackUeberschrift);
    dc.SetClipRec(offsetx, offsety, right, bottom);

    // 4. Rows.
    drawRows();

    // 5. The line between the two header rows.
    dc.FillRect(l.lngNamenBreite, checked(qint64(offsety) + l.lngKopfhoehe), width, line,
                cToolbox::GridLineColor());

    // 6. to 8. Header rows.
    drawDayHeader();
    if (l.folded())
        drawTicks();
    else
        drawHourHeader();

    // 9. Current time.
    if (s.nowVisible)
        dc.FillRect(l.xOf(c.now), checked(qint64(offsety) + l.lngKopfhoehe), line, height, kRed);

    // 10. Strip at the right end of the name column.
    const qint32 stripLeft = checked(qint64(l.lngNamenBreite) - l.lngZeichenbreite);
    const qint32 stripTop = checked(qint64(l.lngZeilenOben) + 1);
    dc.FillRect(stripLeft, stripTop, l.lngZeichenbreite, height, kWhite);
    dc.FillRect(stripLeft, stripTop, line, height, kBlack);

    // 11., 12. Bar rectangles and the overlap staircase. A marker is given as ending at the
    // edge of the time area with the negative width 1 - cw; it is filled as the equal
    // rectangle with a positive width, so that it shows in the strip.
    for (const OverlapMarker &marker : s.bars.markers)
        dc.FillRect(stripLeft, marker.top, l.lngZeichenbreite - 1, marker.height, st.rgbZeitbalken);

    // 13. Bars in list order. Bars wholly outside the target would only be clipped.
    const qint32 count = std::min(qint32(s.bars.rects.size()), m.dateCount());
    for (qint32 i = 1; i <= count; ++i) {
        const BarRect &b = s.bars.rects.at(i - 1);
        if (b.top <= 0)
            continue;
        if (b.top >= bottom || qint64(b.top) + b.height <= offsety || b.left >= right
            || qint64(b.left) + b.width <= offsetx)
            continue;
        drawBar(i, b);
    }

    // 14.
    dc.ClipClear();
}

} // namespace

void GanttZeichnen(cDC &dc, const GanttContent &content, const GanttScene &scene,
                   BoxInsides *insides)
{
    Painter painter(dc, content, scene, insides);
    try {
        painter.paint();
    } catch (...) {
        dc.ClipClear();
        throw;
    }
}

void GanttHintergrund(cDC &dc, const GanttContent &content, qint32 offsetx, qint32 offsety,
                      qint32 width, qint32 height)
{
    dc.setEllipsis(content.modern);
    dc.FillRect(offsetx, offsety, width, height, content.style.rgbBackUeberschrift);
}

void KopfTextZeichnen(cDC &dc, const GanttLayout &layout, const GanttStyle &style, Date datMaus)
{
    dc.FillRect(0, 0, layout.lngNamenBreite, layout.lngZeilenOben, style.rgbBackUeberschrift);
    dc.setTextColor(style.rgbFontUeberschrift);
    dc.Text(ganttCornerText(datMaus), 0, 0, layout.lngNamenBreite, layout.lngZeilenOben, true,
            false);
}

} // namespace Dayplex

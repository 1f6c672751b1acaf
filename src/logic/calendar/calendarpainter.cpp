#include "calendar/calendarpainter.h"

#include "shared/boxinsides.h"
#include "shared/cdc.h"
#include "shared/seriessign.h"

#include <algorithm>
#include <vector>

namespace Dayplex {

namespace {

class Painter
{
public:
    Painter(cDC &dc, BoxInsides *insides)
        : dc(dc)
        , line(dc.lineWidth())
        , insides(insides)
    {
    }

    void cell(const SceneCell &c)
    {
        dc.setTextColor(c.text);
        const QRect &r = c.rect;
        dc.fillFramed(r.x(), r.y(), r.width(), r.height(), c.frame, line, c.fill, c.caption, c.align);
    }

    void clip(const QRect &edges)
    {
        dc.SetClipRec(edges.left(), edges.top(), edges.right(), edges.bottom());
    }

    void box(const SceneBox &b)
    {
        const bool textApart = !b.textRect.isNull();
        // The text keeps a pixel's distance from the frame.
        draw(b.rect.topLeft(), {textApart ? QString() : b.text, b.rect.width(), b.rect.height(), kLineColour,
                                line, b.colours.back, b.colours.text, b.struck, 1, b.allDay});
        // Without a frame, on the box's own fill: only the text shows.
        if (textApart && !b.textRect.isEmpty())
            draw(b.textRect.topLeft(), {b.text, b.textRect.width(), b.textRect.height(), b.colours.back, 0,
                                        b.colours.back, b.colours.text, b.struck, 1, b.allDay});
        drawSeriesSign(dc, b.seriesSign, b.colours.text);
    }

    void draw(QPoint at, const BoxInsides::Key &key)
    {
        if (insides)
            insides->draw(dc, at.x(), at.y(), key);
        else
            BoxInsides::drawInPlace(dc, at.x(), at.y(), key);
    }

    void appointment(const SceneAppointment &a, qint32 barColour)
    {
        clip(a.clip);
        if (!a.allDay) {
            const QRect &bar = a.timeBar;
            // On paper the bar is at least a line wide, like the frames beside it.
            const qint32 w = bar.width() > 0 ? std::max(bar.width(), line) : bar.width();
            dc.FillRect(bar.x(), bar.y(), w, bar.height(), barColour);
        }
        box(a.box);
    }

private:
    cDC &dc;
    const qint32 line;
    BoxInsides *const insides;
};

// The parts of the area that no cell covers, as rectangles: on the screen only they need the
// background, which would otherwise be one more pass over every pixel. Every cell edge starts
// a band of lines, and a band's gaps are where none of the cells spanning it lies.
QVector<QRect> uncovered(const QRect &area, const QVector<SceneCell> &cells)
{
    std::vector<QRect> covered;
    covered.reserve(size_t(cells.size()));
    std::vector<int> edges{area.top(), area.bottom() + 1};
    for (const SceneCell &cell : cells) {
        const QRect r = cell.rect & area;
        if (r.isEmpty())
            continue;
        covered.push_back(r);
        edges.push_back(r.top());
        edges.push_back(r.bottom() + 1);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    QVector<QRect> gaps;
    std::vector<std::pair<int, int>> spans;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const int top = edges[i], height = edges[i + 1] - top;
        spans.clear();
        for (const QRect &r : covered) {
            if (r.top() <= top && r.bottom() >= top)
                spans.emplace_back(r.left(), r.right() + 1);
        }
        std::sort(spans.begin(), spans.end());
        int x = area.left();
        for (const auto &[from, to] : spans) {
            if (from > x)
                gaps.append(QRect(x, top, from - x, height));
            x = std::max(x, to);
        }
        if (x <= area.right())
            gaps.append(QRect(x, top, area.right() + 1 - x, height));
    }
    return gaps;
}

} // namespace

void paintCalendar(cDC &dc, const CalendarScene &scene, bool printFlag, const QRegion *only,
                   BoxInsides *insides)
{
    const QRect bounds = only ? only->boundingRect() : QRect();
    const auto needed = [only, &bounds](const QRect &rect) {
        return !only || (bounds.intersects(rect) && only->intersects(rect));
    };
    dc.setEllipsis(scene.ellipsis);
    const QRect &area = scene.area;
    if (printFlag) {
        dc.FillRect(area.x(), area.y(), area.width(), area.height(), scene.background);
    } else {
        for (const QRect &gap : uncovered(area, scene.cells))
            dc.FillRect(gap.x(), gap.y(), gap.width(), gap.height(), scene.background);
    }
    Painter painter(dc, insides);
    for (const SceneCell &cell : scene.cells) {
        if (needed(cell.rect))
            painter.cell(cell);
    }
    for (const SceneAppointment &appointment : scene.appointments) {
        if (needed(appointment.box.rect) || needed(appointment.timeBar))
            painter.appointment(appointment, scene.timeBarColour);
    }
    if (!scene.overflowMarkers.isEmpty()) {
        painter.clip(scene.overflowClip);
        for (const SceneCell &marker : scene.overflowMarkers)
            painter.cell(marker);
    }
    dc.ClipClear();
    if (!printFlag)
        dc.BlastToScreen(0, 0, -1, -1);
}

} // namespace Dayplex

#include "calendar/calendarpainter.h"

#include "shared/cdc.h"

#include <QFont>
#include <algorithm>

namespace Dayplex {

namespace {

constexpr qint32 kLineColour = 0x000000;

class Painter
{
public:
    explicit Painter(cDC &dc)
        : dc(dc)
        , line(dc.lineWidth())
    {
    }

    void cell(const SceneCell &c)
    {
        dc.setTextColor(c.text);
        const QRect &r = c.rect;
        dc.FillRect(r.x(), r.y(), r.width(), r.height(), c.frame);
        dc.FillRect(r.x() + line, r.y() + line, r.width() - 2 * line, r.height() - 2 * line,
                    c.fill, c.caption, c.align);
    }

    void clip(const QRect &edges)
    {
        dc.SetClipRec(edges.left(), edges.top(), edges.right(), edges.bottom());
    }

    void box(const SceneBox &b)
    {
        qint32 x = b.rect.x(), y = b.rect.y(), w = b.rect.width(), h = b.rect.height();
        dc.FillRect(x, y, w, h, kLineColour);
        x += line, y += line, w -= 2 * line, h -= 2 * line;
        dc.setTextColor(b.colours.text);
        dc.FillRect(x, y, w, h, b.colours.back);
        x += 1, y += 1, w -= 2, h -= 2;
        const QFont *font = dc.Font();
        // The font changes only for a box whose strike-through differs from it.
        if (font && font->strikeOut() == b.struck) {
            dc.Text(b.text, x, y, w, h, !b.allDay, b.allDay);
            return;
        }
        QFont struck = font ? *font : QFont();
        struck.setStrikeOut(b.struck);
        dc.setFont(&struck);
        dc.UpdateFont();
        dc.Text(b.text, x, y, w, h, !b.allDay, b.allDay);
        dc.setFont(font);
        dc.UpdateFont();
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
};

} // namespace

void paintCalendar(cDC &dc, const CalendarScene &scene, bool printFlag, const QRegion *only)
{
    const auto needed = [only](const QRect &rect) { return !only || only->intersects(rect); };
    dc.setEllipsis(scene.ellipsis);
    const QRect &area = scene.area;
    dc.FillRect(area.x(), area.y(), area.width(), area.height(), scene.background);
    Painter painter(dc);
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

#include "gantt/ganttscene.h"

#include "shared/checkedcoordinate.h"

#include "shared/boxhit.h"

#include <dayplex/error.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Dayplex {

namespace {

// The colours of the appointments other than holidays, for the modern selection colour.
QVector<qint32> ownColours(const GanttModel &model)
{
    QVector<qint32> colours;
    for (qint32 i = 1; i <= model.dateCount(); ++i) {
        const GanttEintrag &e = model.date(i);
        if (!e.blnfeiertag && !colours.contains(e.backcolor))
            colours.append(e.backcolor);
    }
    return colours;
}

} // namespace

BarRect GanttScene::bar(const GanttModel &model, qint32 index) const
{
    if (!holds(model) || index < 1 || index > bars.rects.size())
        return {};
    const qint32 row = model.merkmalIndexDsn(model.date(index).merkmaldsn);
    if (row <= lastRow)
        return bars.rects.at(index - 1);
    return layoutBars(model, row, row).rects.at(index - 1);
}

BarPass GanttScene::layoutBars(const GanttModel &model, qint32 fromRow, qint32 toRow) const
{
    if (modern)
        return ganttLaneBars(model, layout, lanes, firstRow, fromRow, toRow, right);
    return ganttLayoutBars(model, layout, firstRow, fromRow, toRow);
}

qint32 GanttScene::entryAt(const GanttModel &model, qint32 x, qint32 y) const
{
    if (!holds(model))
        return 0;
    const qint32 count = std::min(qint32(bars.rects.size()), model.dateCount());
    const auto firstHit = [&](const QVector<BarRect> &rects) {
        for (qint32 i = 0; i < count; ++i) {
            const BarRect &b = rects.at(i);
            // A bar off screen has an all-zero rectangle, which holds no point.
            if (b.width > 0 && b.height > 0 && boxHolds(x, y, b.left, b.top, b.width, b.height))
                return i + 1;
        }
        return 0;
    };
    qint32 hit = firstHit(bars.rects);
    // Below the picture: the row under y, and the two above it, whose staircase may reach
    // a few pixels into it.
    if (layout.lngZeilenhoehe > 0 && y > layout.lngZeilenOben) {
        const qint64 under = (qint64(y) - layout.lngZeilenOben) / layout.lngZeilenhoehe + firstRow;
        const qint32 from = qint32(std::max<qint64>(under - 2, lastRow + 1));
        const qint32 to = qint32(std::min<qint64>(under, model.rowCount()));
        if (from <= to) {
            const qint32 below = firstHit(layoutBars(model, from, to).rects);
            if (below > 0 && (hit == 0 || below < hit))
                hit = below;
        }
    }
    return hit;
}

qint32 GanttContent::nowColumn(const GanttLayout &layout, Date now)
{
    return layout.startDate <= now && now <= layout.dEnd ? layout.xOf(now)
                                                         : std::numeric_limits<qint32>::min();
}

GanttScene ganttScene(const GanttContent &content, qint32 offsetx, qint32 offsety, qint32 width,
                      qint32 height, qint32 th, qint32 cw)
{
    const GanttModel &m = content.model;
    GanttScene s;
    s.right = checkedCoordinate(qint64(offsetx) + width);
    s.bottom = checkedCoordinate(qint64(offsety) + height);
    s.firstRow = std::max(content.firstRow, 1);
    s.layout = ganttLayout(offsetx, offsety, width, height, th, cw, content.startDate,
                           content.endDate, m.rowCount(), content.style.blnOptimiertezeilenhoehe,
                           content.style.lngHoeheTerminzelle);
    if (content.modern) {
        // Lanes of one text line and a half; the rows as high as their lanes need.
        s.modern = true;
        setNameColumn(s.layout, ganttModernNameChars(m));
        foldAxis(s.layout, content.workFrom, content.workTo);
        s.lanes = ganttLanes(m, s.layout.startDate, s.layout.dEnd);
        const qint32 laneHeight = std::max(qint32(std::nearbyint(std::max(th, 1) * 1.5)), 3);
        const qint64 room = qint64(height) - 3 * qint64(s.layout.lngKopfhoehe);
        const qint32 minHeight = qint32(std::nearbyint(
            std::max(content.style.lngHoeheTerminzelle, 1) * std::max(th, 1) * 1.4));
        setRowHeights(s.layout, ganttLaneRowHeights(s.lanes, laneHeight, minHeight,
                                                    content.style.blnOptimiertezeilenhoehe, room));
        s.layout.lngZeilenhoehe = laneHeight + 4;
        s.ticks = ganttFoldedTicks(s.layout, 3 * std::max(cw, 1), s.right);
    }
    s.scale = ganttHeaderScale(s.layout);
    s.nowVisible = !content.forPrinting && s.layout.startDate <= content.now
                   && content.now <= s.layout.dEnd;
    if (content.modern)
        s.selectionFill = content.style.modernSelectionColour(ownColours(m));
    s.modelGeneration = m.generation();
    // The rows whose band starts above the bottom of the picture.
    const qint64 room = qint64(s.bottom) - s.layout.lngZeilenOben;
    const qint64 rowHeight = std::max(s.layout.lngZeilenhoehe, 1);
    const qint64 rows = room > 0 ? (room + rowHeight - 1) / rowHeight : 0;
    s.lastRow = qint32(std::min<qint64>(qint64(s.firstRow) + rows, m.rowCount()));
    if (s.modern) {
        // Rows of their own heights: those whose top lies above the bottom.
        s.lastRow = std::min(s.firstRow, m.rowCount());
        while (s.lastRow < m.rowCount() && s.layout.rowTop(s.lastRow + 1, s.firstRow) < s.bottom)
            ++s.lastRow;
    }
    s.bars = s.layoutBars(m, s.firstRow, s.lastRow);

    // The panel follows every picture that shows a row.
    s.panelUpdated = s.firstRow <= m.rowCount();
    if (s.panelUpdated && m.vorschlagVon > 0) {
        s.lblVorschlag = ganttProposalLabel(m.vorschlagVon, m.vorschlagBis);
        s.cmdNeuEnabled = true;
    }
    return s;
}

} // namespace Dayplex

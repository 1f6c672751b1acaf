#include "gantt/ganttscene.h"

#include "shared/boxhit.h"

#include <dayplex/error.h>

#include <algorithm>
#include <limits>

namespace Dayplex {

namespace {

qint32 checked(qint64 value)
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        throw Error(Overflow, QStringLiteral("Overflow: coordinate outside the 32-bit range"));
    return qint32(value);
}

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
    if (model.generation() != modelGeneration || index < 1 || index > bars.rects.size())
        return {};
    return bars.rects.at(index - 1);
}

qint32 GanttScene::entryAt(const GanttModel &model, qint32 x, qint32 y) const
{
    if (model.generation() != modelGeneration)
        return 0;
    const qint32 count = std::min(qint32(bars.rects.size()), model.dateCount());
    for (qint32 i = 0; i < count; ++i) {
        const BarRect &b = bars.rects.at(i);
        // A bar off screen has an all-zero rectangle, which holds no point.
        if (b.width <= 0 || b.height <= 0)
            continue;
        if (boxHolds(x, y, b.left, b.top, b.width, b.height))
            return i + 1;
    }
    return 0;
}

GanttScene ganttScene(const GanttContent &content, qint32 offsetx, qint32 offsety, qint32 width,
                      qint32 height, qint32 th, qint32 cw)
{
    const GanttModel &m = content.model;
    GanttScene s;
    s.right = checked(qint64(offsetx) + width);
    s.bottom = checked(qint64(offsety) + height);
    s.firstRow = std::max(content.firstRow, 1);
    s.layout = ganttLayout(offsetx, offsety, width, height, th, cw, content.startDate,
                           content.endDate, m.rowCount(), content.style.blnOptimiertezeilenhoehe,
                           content.style.lngHoeheTerminzelle);
    s.scale = ganttHeaderScale(s.layout);
    s.nowVisible = !content.forPrinting && s.layout.startDate <= content.now
                   && content.now <= s.layout.dEnd;
    if (content.modern)
        s.selectionFill = content.style.modernSelectionColour(ownColours(m));
    s.modelGeneration = m.generation();
    s.bars = ganttLayoutBars(m, s.layout, s.firstRow);

    // The panel follows every picture that shows a row.
    s.panelUpdated = s.firstRow <= m.rowCount();
    if (s.panelUpdated && m.vorschlagVon > 0) {
        s.lblVorschlag = ganttProposalLabel(m.vorschlagVon, m.vorschlagBis);
        s.cmdNeuEnabled = true;
    }
    return s;
}

} // namespace Dayplex

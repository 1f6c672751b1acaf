#include "calendar/hittest.h"

#include "shared/ctools.h"
#include "shared/germanformat.h"

namespace Dayplex {

bool findHitRegion(const HitRegionList &regions, double x, double y, qint32 filter,
                   HitRegion &region)
{
    // A NaN position lies in no region; the comparisons below are all false for it.
    qint32 best = 0;
    const HitRegion *taken = nullptr;
    for (const HitRegion &r : regions.all()) {
        if (r.lngPrio <= best)
            continue;
        if (filter != 0 && (filter & r.lngTyp) == 0)
            continue;
        // Edges compared in double precision: the sums cannot overflow.
        if (r.lngLeft <= x && x <= double(r.lngLeft) + r.lngWidth && r.lngTop <= y
            && y <= double(r.lngTop) + r.lngHeight) {
            taken = &r;
            best = r.lngPrio;
        }
    }
    if (!taken)
        return false;
    region = *taken;
    return true;
}

QString terminTooltip(const TerminEintrag &entry)
{
    QString text = cTools::FormatDateText(entry.dateStart);
    if (entry.dateEnd != entry.dateStart)
        text += QStringLiteral(" - ") + cTools::FormatDateText(entry.dateEnd);
    return text + QLatin1Char(' ') + entry.memo;
}

QString dayHeaderTooltip(Date day)
{
    return formatGermanDate(day, QStringLiteral("Long Date")) + QLatin1Char(' ')
           + QString::number(cTools::WeekOfYear(day)) + QStringLiteral(". Woche");
}

HoverFeedback hoverFeedback(const HitRegionList &regions, const AppointmentStore &store, double x,
                            double y, qint32 firstRowTop)
{
    HoverFeedback feedback;
    const qint32 filter = y >= firstRowTop ? HitFilter::HoverInGrid : HitFilter::HoverAboveGrid;
    HitRegion region;
    if (!findHitRegion(regions, x, y, filter, region))
        return feedback;
    bool readOnly = false;
    if (region.lngIdx != 0) {
        if (region.lngIdx < 1 || region.lngIdx > store.count())
            return feedback;
        const TerminEintrag &entry = store.at(region.lngIdx);
        feedback.tooltip = terminTooltip(entry);
        readOnly = entry.breadonly;
    } else if (region.lngTyp == tageszellekopf) {
        feedback.tooltip = dayHeaderTooltip(region.datVon);
    }
    feedback.found = true;
    if (readOnly)
        return feedback;
    switch (region.lngTyp) {
    case splitter:
        feedback.cursorName = QStringLiteral("SplitterNS");
        break;
    case sizenorth:
        feedback.cursorName = QStringLiteral("SizeN");
        break;
    case sizesouth:
        feedback.cursorName = QStringLiteral("SizeS");
        break;
    default:
        break;
    }
    return feedback;
}

} // namespace Dayplex

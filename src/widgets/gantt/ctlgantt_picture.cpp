// The resource view's picture area shows the core's kept picture: painted anew only when what
// it shows changed, with the frame of Drag over it and the keyboard's frame.
#include "gantt/ctlgantt_p.h"

#include "shared/viewsurface.h"

#include <QPainter>
#include <QScopeGuard>
#include <QScrollBar>

namespace Dayplex {

GanttCore &ctlGanttPrivate::synced()
{
    core.startDate = q->mStartDate;
    core.endDate = q->mEndDate;
    core.forPrinting = q->ForPrinting;
    core.firstRow = firstRow();
    core.surfaceSize = calpic->size();
    core.surfaceVisible = calpic->isVisible();
    return core;
}

void ctlGanttPrivate::publishRange()
{
    q->mStartDate = core.startDate;
    q->mEndDate = core.endDate;
}

void ctlGanttPrivate::changeRange(const std::function<void(GanttCore &)> &change)
{
    // Written back also when the NeedDates handler fails.
    const auto publish = qScopeGuard([this] { publishRange(); });
    change(synced());
}

bool ctlGanttPrivate::surfacePaint(QWidget &surface, const QRegion &)
{
    if (q->ForPrinting)
        return false;
    QPainter painter(&surface);
    paintScreen(painter);
    return true;
}

void ctlGanttPrivate::paintScreen(QPainter &target)
{
    const bool straight =
        synced().paintForSurface([&] { return windowPixels(target, calpic->size(), 1); }, showKeptOnly);
    if (!straight) {
        if (core.picture.isNull())
            return;
        core.drawScreen(target);
    }
    if (calpic->hasFocus() && core.gestures.keyboardInUse())
        core.paintFocusFrame(target);
}

void ctlGanttPrivate::showFrame()
{
    // A picture painted for another size is not the screen's: paint afresh.
    if (core.picture.size() != calpic->size()) {
        calpic->repaint();
        return;
    }
    const QRegion changes = core.shownChanges;
    core.shownChanges = QRegion();
    if (changes.isEmpty())
        return;
    showKeptOnly = true;
    calpic->repaint(changes);
    showKeptOnly = false;
}

} // namespace Dayplex

// The Gantt view's free-slot search: the panel, the search buttons and the proposal.
#include "gantt/ctlgantt_p.h"

#include "gantt/freeslotsearch.h"
#include "gantt/ganttsearchpanel.h"
#include "shared/viewsurface.h"
#include "shared/logging.h"

#include <QPointer>
#include <QTimeEdit>

namespace Dayplex {

namespace {

// Thrown when the view is deleted by an event let through during the search.
struct ViewGone
{
};

} // namespace

void ctlGanttPrivate::openSearchPanel()
{
    panel->reset(q->CurrentDate());
    core.openSearch();
    panel->show();
    panel->dtpTimeStunden->setFocus();
    arrange();
    q->Repaint();
}

void ctlGanttPrivate::closeSearchPanel()
{
    panel->hide();
    arrange();
    q->Repaint();
}

void ctlGanttPrivate::runSearch(int index)
{
    if (searching)
        return;
    const QPointer<ctlGantt> alive(q);
    cTools tools; // the busy pointer belongs to the search, not to the view
    const auto abortRequested = [&] {
        const bool abort = tools.AbortRequested();
        if (!alive)
            throw ViewGone();
        return abort;
    };
    const SlotSearchFrontEnd frontEnd{abortRequested, [&](bool busy) { tools.WaitCursor(busy); }};
    searching = true;
    FreeSlotResult result;
    try {
        result = synced().searchFreeSlot(panel->query(), index != 0, frontEnd);
    } catch (...) {
        if (!alive) {
            warnCaught(lcSearch(), QStringLiteral("free-slot search ended with its view"));
            return;
        }
        searching = false;
        publishRange();
        q->Repaint();
        throw;
    }
    publishRange();
    searching = false;
    if (!result.message.isEmpty()) {
        cTools::Message(result.message, Prompt::Kind::Information, freeSlotTitle());
        // The message lets events through; one of them may have closed the view.
        if (!alive)
            return;
    }
    if (result.outcome == FreeSlotOutcome::LongerThanWindow)
        return;
    panel->setSearchFrom(result.searchFrom);
    q->Repaint();
}

void ctlGanttPrivate::createFromProposal()
{
    if (!(core.model.vorschlagVon > 0))
        return;
    Q_EMIT q->NewDate(core.model.vorschlagVon, core.model.vorschlagBis, markedRowList(core.model));
    q->Repaint();
}

} // namespace Dayplex

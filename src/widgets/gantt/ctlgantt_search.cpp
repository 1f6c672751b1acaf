// The Gantt view's free-slot search: the panel, the search buttons and the proposal.
#include "gantt/ctlgantt_p.h"

#include "gantt/freeslotsearch.h"
#include "gantt/ganttsearchpanel.h"
#include "shared/viewsurface.h"
#include "shared/logging.h"

#include <dayplex/error.h>

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
    core.model.sucheAb = 0;
    panel->show();
    markAllRows(core.model);
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
    FreeSlotQuery query;
    query.days = panel->days();
    query.length = panel->length();
    query.windowFrom = panel->windowFrom();
    query.windowTo = panel->windowTo();
    query.searchFrom = panel->searchFrom();
    query.weekends = panel->weekends();

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
        result = synced().searchFreeSlot(query, index != 0, frontEnd);
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

/*!
    Opens the search panel above the chart, searching from the day of dateab: no days, a
    length of one hour, Monday's working hours as the window, every row but the holiday row
    marked. An invalid date throws Dayplex::Error 5.
*/
void ctlGantt::FreienTerminSuchen(double dateab)
{
    requireValidDate(dateab, "FreienTerminSuchen");
    d->core.model.datMaus = dateab;
    d->openSearchPanel();
}

/*!
    Opens the free-slot search from \a from as FreienTerminSuchen does, but with only the rows
    whose keys \a rowKeys names marked (every row when none of them is shown) and, when \a length
    lies between one minute and a day, the slot's length set to it. Invalid dates throw
    Dayplex::Error 5.
*/
void ctlGantt::findFreeSlot(double from, const QStringList &rowKeys, double length)
{
    requireValidDate(from, "findFreeSlot");
    FreienTerminSuchen(from);
    markRowsByKey(d->core.model, rowKeys);
    if (const int minutes = hourPickerMinutes(length); minutes > 0)
        d->panel->dtpTimeStunden->setTime(QTime(0, 0).addSecs(minutes * 60));
    Repaint();
}

/*!
    Whether dateStart to dateEnde may be proposed: no Saturday or Sunday touched unless the
    panel allows weekends and holidays, and no marked row (nor the holiday row, unless allowed)
    busy then. Invalid dates throw Dayplex::Error 5.
*/
bool ctlGantt::isTerminFrei(double dateStart, double dateEnde)
{
    return d->core.isSlotFree(dateStart, dateEnde, d->panel->weekends());
}

/*!
    Whether no appointment of the row strmkmdsn overlaps dateStart to dateEnde; mere notes
    never count. Invalid dates throw Dayplex::Error 5.
*/
bool ctlGantt::isTerminFreiMerkmal(double dateStart, double dateEnde, const QString &strmkmdsn)
{
    return d->core.isRowFree(dateStart, dateEnde, strmkmdsn);
}

/*!
    Makes dateStart to dateEnde the proposal, shown in the marked rows at the next paint.
    Invalid dates throw Dayplex::Error 5 and change nothing.
*/
void ctlGantt::TerminVorSchlagEintragen(double dateStart, double dateEnde)
{
    d->core.propose(dateStart, dateEnde);
}

} // namespace Dayplex

// The Gantt view's free-slot search: the panel, the search buttons and the proposal.
#include "gantt/ctlgantt_p.h"

#include "gantt/freeslotsearch.h"
#include "gantt/ganttsearchpanel.h"
#include "shared/viewsurface.h"
#include "shared/logging.h"

#include <dayplex/error.h>

#include <QElapsedTimer>
#include <QPointer>
#include <QTimeEdit>

#include <cmath>

namespace Dayplex {

namespace {

// Looking for an Escape lets events through; more often than this it would slow the search.
constexpr qint64 kAbortCheckMs = 50;

// Thrown when the view is deleted by an event let through during the search.
struct ViewGone
{
};

class SearchHost : public FreeSlotHost
{
public:
    explicit SearchHost(ctlGantt *q)
        : m_view(q)
    {
    }

    Date displayedFirstDay() const override { return view()->mStartDate; }
    Date displayedLastDay() const override { return view()->mEndDate; }
    void showRange(Date firstDay, Date lastDay) override
    {
        double last = lastDay;
        view()->SetDisplayedRange(firstDay, &last, false, false);
    }
    bool abortRequested() override
    {
        if (m_sinceCheck.isValid() && m_sinceCheck.elapsed() < kAbortCheckMs)
            return false;
        m_sinceCheck.start();
        const bool abort = m_tools.AbortRequested();
        view();
        return abort;
    }
    void setBusy(bool busy) override { m_tools.WaitCursor(busy); }

private:
    ctlGantt *view() const
    {
        if (!m_view)
            throw ViewGone();
        return m_view;
    }

    QPointer<ctlGantt> m_view;
    cTools m_tools; // the busy pointer belongs to the search, not to the view
    QElapsedTimer m_sinceCheck;
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
    SearchHost host(q);
    searching = true;
    FreeSlotResult result;
    try {
        result = searchFreeSlot(core.model, host, core.freeSlotQuery(query), index != 0);
    } catch (...) {
        if (!alive) {
            warnCaught(lcSearch(), QStringLiteral("free-slot search ended with its view"));
            return;
        }
        searching = false;
        q->Repaint();
        throw;
    }
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
    // A length the hour picker can show; longer ones are searched as days by the user.
    if (length * 1440.0 >= 1.0 && length < 1.0)
        d->panel->dtpTimeStunden->setTime(QTime(0, 0).addSecs(int(std::nearbyint(length * 1440.0)) * 60));
    Repaint();
}

/*!
    Whether dateStart to dateEnde may be proposed: no Saturday or Sunday touched unless the
    panel allows weekends and holidays, and no marked row (nor the holiday row, unless allowed)
    busy then. Invalid dates throw Dayplex::Error 5.
*/
bool ctlGantt::isTerminFrei(double dateStart, double dateEnde)
{
    requireValidDate(dateStart, "isTerminFrei");
    requireValidDate(dateEnde, "isTerminFrei");
    return isSlotFree(d->core.model, dateStart, dateEnde, d->panel->weekends());
}

/*!
    Whether no appointment of the row strmkmdsn overlaps dateStart to dateEnde; mere notes
    never count. Invalid dates throw Dayplex::Error 5.
*/
bool ctlGantt::isTerminFreiMerkmal(double dateStart, double dateEnde, const QString &strmkmdsn)
{
    requireValidDate(dateStart, "isTerminFreiMerkmal");
    requireValidDate(dateEnde, "isTerminFreiMerkmal");
    return d->core.model.isRowFree(strmkmdsn, dateStart, dateEnde);
}

/*!
    Makes dateStart to dateEnde the proposal, shown in the marked rows at the next paint.
    Invalid dates throw Dayplex::Error 5 and change nothing.
*/
void ctlGantt::TerminVorSchlagEintragen(double dateStart, double dateEnde)
{
    requireValidDate(dateStart, "TerminVorSchlagEintragen");
    requireValidDate(dateEnde, "TerminVorSchlagEintragen");
    d->core.model.vorschlagVon = dateStart;
    d->core.model.vorschlagBis = dateEnde;
}

} // namespace Dayplex

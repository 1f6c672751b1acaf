// The resource view core's free-slot search over its own range of days.
#include "gantt/ganttcore.h"

#include "shared/toolbox.h"

#include <QElapsedTimer>

namespace Dayplex {

namespace {

class CoreSlotHost : public FreeSlotHost
{
public:
    CoreSlotHost(GanttCore &core, const SlotSearchFrontEnd &frontEnd)
        : m_core(core)
        , m_frontEnd(frontEnd)
    {
    }

    Date displayedFirstDay() const override { return m_core.startDate; }
    Date displayedLastDay() const override { return m_core.endDate; }
    void showRange(Date firstDay, Date lastDay) override
    {
        double last = lastDay;
        m_core.setDisplayedRange(firstDay, &last, false, false);
    }
    bool abortRequested() override
    {
        if (m_sinceCheck.isValid() && m_sinceCheck.elapsed() < GanttCore::kAbortCheckMs)
            return false;
        m_sinceCheck.start();
        return m_frontEnd.abortRequested();
    }
    void setBusy(bool busy) override { m_frontEnd.setBusy(busy); }

private:
    GanttCore &m_core;
    const SlotSearchFrontEnd &m_frontEnd;
    QElapsedTimer m_sinceCheck;
};

} // namespace

FreeSlotResult GanttCore::searchFreeSlot(const FreeSlotQuery &asked, bool forward,
                                         const SlotSearchFrontEnd &frontEnd)
{
    CoreSlotHost host(*this, frontEnd);
    return Dayplex::searchFreeSlot(model, host, freeSlotQuery(asked), forward);
}

void GanttCore::openSearch()
{
    restartSearch();
    markAllRows(model);
}

void GanttCore::restartSearch()
{
    model.sucheAb = 0;
}

bool GanttCore::markRowsForDays()
{
    if (presentation == Presentation::Modern)
        return false;
    markAllRows(model);
    return true;
}

bool GanttCore::isSlotFree(Date start, Date end, bool weekends) const
{
    requireValidDate(start, "isTerminFrei");
    requireValidDate(end, "isTerminFrei");
    return Dayplex::isSlotFree(model, start, end, weekends);
}

bool GanttCore::isRowFree(Date start, Date end, const QString &row) const
{
    requireValidDate(start, "isTerminFreiMerkmal");
    requireValidDate(end, "isTerminFreiMerkmal");
    return model.isRowFree(row, start, end);
}

void GanttCore::propose(Date start, Date end)
{
    requireValidDate(start, "TerminVorSchlagEintragen");
    requireValidDate(end, "TerminVorSchlagEintragen");
    model.vorschlagVon = start;
    model.vorschlagBis = end;
}

} // namespace Dayplex

// The Gantt view for screen readers: its core's table, and the commands on a bar done as the
// mouse does them.
#include "gantt/ctlgantt_p.h"

#include "accessibility/viewsourcebase.h"
#include "accessibility/viewsources.h"
#include "shared/logging.h"

namespace Dayplex {

namespace {

class GanttAccessibleSource : public ViewSourceBase<ctlGantt, ctlGanttPrivate>
{
public:
    using ViewSourceBase::ViewSourceBase;

    const ViewTable *table() const override
    {
        ctlGanttPrivate *d = view();
        // Also null while the surface itself goes, which the view deletes first.
        if (!d || !d->calpic)
            return nullptr;
        // The shown days are the host's fields, which it may have written since the paint.
        d->synced();
        return &d->table;
    }
    const QLoggingCategory &category() const override { return lcGantt(); }

    void select(const AccessibleAppointment &appointment) override
    {
        ctlGanttPrivate *d = view();
        d->core.selectEntry(appointment.index);
        d->q->Repaint();
    }

    void open(const AccessibleAppointment &appointment) override
    {
        select(appointment);
        view()->showSelected();
    }

    void showMenu(const AccessibleAppointment &appointment) override
    {
        ctlGanttPrivate *d = view();
        const GanttModel &model = d->core.model;
        const QString dsn = appointment.index >= 1 && appointment.index <= model.dateCount()
                                ? model.date(appointment.index).dsn
                                : QString();
        d->menu->popup(m_surface->mapToGlobal(appointment.rect.center()), dsn);
    }
};

} // namespace

std::unique_ptr<AccessibleViewSource> ganttAccessibleSource(QWidget *surface)
{
    return GanttAccessibleSource::sourceFor<GanttAccessibleSource>(surface);
}

} // namespace Dayplex

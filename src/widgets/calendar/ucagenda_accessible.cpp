// The calendar for screen readers: its core's table, and the commands on an appointment done
// as the mouse does them.
#include "calendar/ucagenda_p.h"

#include "accessibility/viewsourcebase.h"
#include "accessibility/viewsources.h"
#include "shared/logging.h"

namespace Dayplex {

namespace {

class CalendarAccessibleSource : public ViewSourceBase<ucAgenda, ucAgendaPrivate>
{
public:
    using ViewSourceBase::ViewSourceBase;

    const ViewTable *table() const override
    {
        const ucAgendaPrivate *d = view();
        return d ? &d->table : nullptr;
    }
    const QLoggingCategory &category() const override { return lcCalendar(); }

    void select(const AccessibleAppointment &appointment) override
    {
        ucAgendaPrivate *d = view();
        // As a click on it: the first selectable record of its key.
        d->q->setSelectedDate(d->core.data.store.at(appointment.index).dsn);
        d->core.gesture.followSelection();
        d->q->Repaint();
    }

    void open(const AccessibleAppointment &appointment) override
    {
        select(appointment);
        view()->showSelected();
    }

    void showMenu(const AccessibleAppointment &appointment) override
    {
        ucAgendaPrivate *d = view();
        if (d->openContextMenu)
            d->openContextMenu(appointment.rect.center());
    }
};

} // namespace

std::unique_ptr<AccessibleViewSource> calendarAccessibleSource(QWidget *surface)
{
    return CalendarAccessibleSource::sourceFor<CalendarAccessibleSource>(surface);
}

} // namespace Dayplex

// The calendar for screen readers: its core's table, and the commands on an appointment done
// as the mouse does them.
#include "calendar/ucagenda_p.h"

#include "accessibility/accessibleview.h"
#include "accessibility/viewsources.h"
#include "shared/logging.h"

#include <QWidget>

namespace Dayplex {

namespace {

class CalendarAccessibleSource : public AccessibleViewSource
{
public:
    explicit CalendarAccessibleSource(QWidget *surface)
        : m_surface(surface)
    {
    }

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

private:
    // Null while the calendar is being destroyed: its private part may already be gone.
    ucAgendaPrivate *view() const
    {
        auto *agenda = qobject_cast<ucAgenda *>(m_surface->parentWidget());
        return agenda ? ucAgendaPrivate::get(agenda) : nullptr;
    }

    QWidget *const m_surface;
};

} // namespace

std::unique_ptr<AccessibleViewSource> calendarAccessibleSource(QWidget *surface)
{
    if (!qobject_cast<ucAgenda *>(surface->parentWidget()))
        return nullptr;
    return std::make_unique<CalendarAccessibleSource>(surface);
}

} // namespace Dayplex

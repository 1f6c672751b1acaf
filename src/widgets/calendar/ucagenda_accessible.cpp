// The calendar for screen readers: a table of the day columns (with their headers) by the
// all-day band and the time rows, and the shown appointments with their German names.
#include "calendar/ucagenda_p.h"

#include "accessibility/accessibleview.h"
#include "accessibility/viewsources.h"
#include "shared/accessiblenames.h"
#include "shared/germanformat.h"
#include "shared/logging.h"
#include "shared/uitext.h"

#include <QWidget>

#include <algorithm>

namespace Dayplex {

QVector<ShownAppointment> ucAgendaPrivate::visibleAppointments() const
{
    QVector<ShownAppointment> shown;
    for (const auto &[index, rect] : boxesOnScreen(core.scene))
        shown.append({index, rect});
    return shown;
}

namespace {

class CalendarAccessibleSource : public AccessibleViewSource
{
public:
    explicit CalendarAccessibleSource(QWidget *surface)
        : m_surface(surface)
    {
    }

    bool attached() const override { return view() != nullptr; }
    const QLoggingCategory &category() const override { return lcCalendar(); }

    QString defaultName() const override { return uiText("Dayplex::Accessibility", "Kalender"); }

    QString description() const override
    {
        return accessibleDaysName(view()->core.grid.firstDay, view()->core.grid.lastDay);
    }

    QString shapeKey() const override
    {
        const CalendarGrid &grid = view()->core.grid;
        return QStringLiteral("%1 %2 %3").arg(grid.firstDay).arg(grid.dayCount()).arg(grid.timeRaster);
    }

    // Row 0 is the all-day band, row r + 1 the time row r.
    int rowCount() const override { return view()->core.grid.lastRow + 2; }
    int columnCount() const override { return std::max(view()->core.grid.dayCount(), 0); }

    QString rowHeader(int row) const override
    {
        if (row == 0)
            return accessibleAllDay();
        return formatGermanDate((row - 1) * view()->core.grid.timeRaster, QStringLiteral("Short Time"));
    }

    QString columnHeader(int column) const override
    {
        return accessibleDayName(view()->core.grid.firstDay + column);
    }

    QString cellName(int row, int column) const override
    {
        return columnHeader(column) + QStringLiteral(", ") + rowHeader(row);
    }

    QRect rowHeaderRect(int row) const override
    {
        const GridGeometry &g = view()->core.scene.grid.geo;
        if (row == 0)
            return QRect(g.lngLinks, g.lngOben + g.lngKopfhoehe, g.lngZeitspalteBreite,
                         g.lngTagesterminHoehe);
        return rowRect(row, g.lngLinks, g.lngZeitspalteBreite);
    }

    QRect columnHeaderRect(int column) const override
    {
        const CalendarGrid &grid = view()->core.scene.grid;
        return QRect(grid.columnLeft(column), grid.geo.lngOben, grid.geo.lngSpaltenBreite,
                     grid.geo.lngKopfhoehe);
    }

    QRect cellRect(int row, int column) const override
    {
        const CalendarGrid &grid = view()->core.scene.grid;
        const GridGeometry &g = grid.geo;
        if (row == 0)
            return QRect(grid.columnLeft(column), g.lngOben + g.lngKopfhoehe, g.lngSpaltenBreite,
                         g.lngTagesterminHoehe);
        return rowRect(row, grid.columnLeft(column), g.lngSpaltenBreite);
    }

    bool isCellSelected(int row, int column) const override
    {
        const CalendarGrid &grid = view()->core.grid;
        const Date day = grid.firstDay + column;
        // The band cell stands for the whole day.
        if (row == 0)
            return slotSelected(day) && slotSelected(day + 1 - grid.timeRaster);
        return slotSelected(day + (row - 1) * grid.timeRaster);
    }

    bool isRowSelected(int) const override { return false; }

    std::optional<QPoint> currentCell() const override
    {
        const ucAgendaPrivate *d = view();
        if (d->core.selection.start <= 0)
            return std::nullopt;
        const qint32 column = d->core.grid.columnOf(d->core.selection.start);
        if (column < 0)
            return std::nullopt;
        const bool wholeDay = isCellSelected(0, column);
        return QPoint(column, wholeDay ? 0 : d->core.grid.rowOf(d->core.selection.start) + 1);
    }

    QVector<AccessibleAppointment> appointments() const override
    {
        const ucAgendaPrivate *d = view();
        const QVector<ShownAppointment> shown = d->visibleAppointments();
        if (shown.isEmpty())
            return {};
        const QVector<QString> keys = appointmentKeys();
        const bool keyboardOnIt = d->core.gesture.onAppointment(d->core.gestureView());
        QVector<AccessibleAppointment> items;
        for (const ShownAppointment &s : shown) {
            if (s.index > d->core.data.store.count())
                continue;
            const TerminEintrag &e = d->core.data.store.at(s.index);
            AccessibleAppointment item;
            item.key = keys.at(s.index - 1);
            item.index = s.index;
            item.name = accessibleAppointmentName({e.dateStart, e.dateEnd, e.btagestermin, QString(),
                                                   e.memo, e.blnErledigt, e.breadonly,
                                                   e.blnfeiertag, false,
                                                   d->core.data.store.details(e.dsn)});
            item.rect = s.rect;
            item.selectable = !e.breadonly && !e.blnfeiertag;
            item.selected = s.index == d->core.selection.index;
            item.readOnly = e.breadonly || e.blnfeiertag;
            item.current = item.selected && keyboardOnIt;
            items.append(item);
        }
        // The order Tab walks them in.
        std::sort(items.begin(), items.end(), [d](const AccessibleAppointment &a, const AccessibleAppointment &b) {
            return readsBefore(d->core.data.store, a.index, b.index);
        });
        return items;
    }

    void select(const AccessibleAppointment &appointment) override
    {
        ucAgendaPrivate *d = change();
        // As a click on it: the first selectable record of its key.
        d->q->setSelectedDate(d->core.data.store.at(appointment.index).dsn);
        d->core.gesture.followSelection();
        d->q->Repaint();
    }

    void open(const AccessibleAppointment &appointment) override
    {
        select(appointment);
        change()->showSelected();
    }

    void showMenu(const AccessibleAppointment &appointment) override
    {
        ucAgendaPrivate *d = change();
        if (d->openContextMenu)
            d->openContextMenu(appointment.rect.center());
    }

private:
    // Null while the calendar is being destroyed: its private part may already be gone. Reads go
    // through the const view: a view read through the other may count as changed and paint
    // anew. The commands change it.
    const ucAgendaPrivate *view() const { return change(); }
    ucAgendaPrivate *change() const
    {
        auto *agenda = qobject_cast<ucAgenda *>(m_surface->parentWidget());
        return agenda ? ucAgendaPrivate::get(agenda) : nullptr;
    }

    // Rows and columns where the last paint put them.
    QRect rowRect(int row, qint32 left, qint32 width) const
    {
        const CalendarGrid &grid = view()->core.scene.grid;
        const qint32 timeRow = row - 1;
        const qint32 top = grid.rowTop(timeRow);
        // Rows above the first time or below the surface are out of sight.
        if (timeRow < grid.firstVisibleRow() || top > grid.geo.lngUnten)
            return QRect();
        return QRect(left, top, width, grid.geo.lngZeilenhoehe);
    }

    bool slotSelected(Date slot) const
    {
        const ucAgendaPrivate *d = view();
        // Slots are raster steps added up; a millisecond absorbs their rounding noise.
        constexpr Date tolerance = kOneSecond / 1000;
        return d->core.selection.start > 0 && slot > d->core.selection.start - tolerance
               && slot < d->core.selection.endSlot + tolerance;
    }

    // Keys by record: holiday or appointment and its key text.
    QVector<QString> appointmentKeys() const
    {
        const AppointmentStore &store = view()->core.data.store;
        QVector<QString> keys;
        keys.reserve(store.count());
        AppointmentKeys next;
        for (qint32 i = 1; i <= store.count(); ++i) {
            const TerminEintrag &e = store.at(i);
            keys.append(next.next((e.blnfeiertag ? QStringLiteral("F") : QStringLiteral("T")) + e.dsn));
        }
        return keys;
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

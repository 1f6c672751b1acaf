#include "calendar/agendatable.h"

#include "calendar/agendacore.h"
#include "shared/accessiblenames.h"
#include "shared/germanformat.h"
#include "shared/uitext.h"

#include <algorithm>

namespace Dayplex {

QString AgendaTable::defaultName() const
{
    return uiText("Dayplex::Accessibility", "Kalender");
}

QString AgendaTable::description() const
{
    return accessibleDaysName(m_core.grid.firstDay, m_core.grid.lastDay);
}

QString AgendaTable::selectedName() const
{
    return m_core.data.store.contains(m_core.selection.index) ? appointmentName(m_core.selection.index)
                                                              : QString();
}

QString AgendaTable::shapeKey() const
{
    const CalendarGrid &grid = m_core.grid;
    return QStringLiteral("%1 %2 %3").arg(grid.firstDay).arg(grid.dayCount()).arg(grid.timeRaster);
}

int AgendaTable::rowCount() const
{
    return m_core.grid.lastRow + 2;
}

int AgendaTable::columnCount() const
{
    return std::max(m_core.grid.dayCount(), 0);
}

QString AgendaTable::rowHeader(int row) const
{
    if (row == 0)
        return accessibleAllDay();
    return formatGermanDate((row - 1) * m_core.grid.timeRaster, QStringLiteral("Short Time"));
}

QString AgendaTable::columnHeader(int column) const
{
    return accessibleDayName(m_core.grid.firstDay + column);
}

QString AgendaTable::cellName(int row, int column) const
{
    return columnHeader(column) + QStringLiteral(", ") + rowHeader(row);
}

QRect AgendaTable::rowHeaderRect(int row) const
{
    const GridGeometry &g = m_core.scene.grid.geo;
    if (row == 0)
        return QRect(g.lngLinks, g.lngOben + g.lngKopfhoehe, g.lngZeitspalteBreite, g.lngTagesterminHoehe);
    return rowRect(row, g.lngLinks, g.lngZeitspalteBreite);
}

QRect AgendaTable::columnHeaderRect(int column) const
{
    const CalendarGrid &grid = m_core.scene.grid;
    return QRect(grid.columnLeft(column), grid.geo.lngOben, grid.geo.lngSpaltenBreite, grid.geo.lngKopfhoehe);
}

QRect AgendaTable::cellRect(int row, int column) const
{
    const CalendarGrid &grid = m_core.scene.grid;
    const GridGeometry &g = grid.geo;
    if (row == 0)
        return QRect(grid.columnLeft(column), g.lngOben + g.lngKopfhoehe, g.lngSpaltenBreite,
                     g.lngTagesterminHoehe);
    return rowRect(row, grid.columnLeft(column), g.lngSpaltenBreite);
}

bool AgendaTable::isCellSelected(int row, int column) const
{
    const CalendarGrid &grid = m_core.grid;
    const Date day = grid.firstDay + column;
    // The band cell stands for the whole day.
    if (row == 0)
        return slotSelected(day) && slotSelected(day + 1 - grid.timeRaster);
    return slotSelected(day + (row - 1) * grid.timeRaster);
}

std::optional<QPoint> AgendaTable::currentCell() const
{
    if (m_core.selection.start <= 0)
        return std::nullopt;
    const qint32 column = m_core.grid.columnOf(m_core.selection.start);
    if (column < 0)
        return std::nullopt;
    const bool wholeDay = isCellSelected(0, column);
    return QPoint(column, wholeDay ? 0 : m_core.grid.rowOf(m_core.selection.start) + 1);
}

QVector<AccessibleAppointment> AgendaTable::appointments() const
{
    const auto shown = boxesOnScreen(m_core.scene);
    if (shown.isEmpty())
        return {};
    const AppointmentStore &store = m_core.data.store;
    const QVector<QString> keys = appointmentKeys();
    const bool keyboardOnIt = m_core.gesture.onAppointment(m_core.gestureView());
    QVector<AccessibleAppointment> items;
    for (const auto &[index, rect] : shown) {
        if (index > store.count())
            continue;
        const TerminEintrag &e = store.at(index);
        AccessibleAppointment item =
            tableAppointment(keys.at(index - 1), index, appointmentName(index), rect, e.breadonly || e.blnfeiertag);
        item.selected = index == m_core.selection.index;
        item.current = item.selected && keyboardOnIt;
        items.append(item);
    }
    // The order Tab walks them in.
    std::sort(items.begin(), items.end(), [&store](const AccessibleAppointment &a, const AccessibleAppointment &b) {
        return readsBefore(store, a.index, b.index);
    });
    return items;
}

QRect AgendaTable::rowRect(int row, qint32 left, qint32 width) const
{
    const CalendarGrid &grid = m_core.scene.grid;
    const qint32 timeRow = row - 1;
    const qint32 top = grid.rowTop(timeRow);
    // Rows above the first time or below the surface are out of sight.
    if (timeRow < grid.firstVisibleRow() || top > grid.geo.lngUnten)
        return QRect();
    return QRect(left, top, width, grid.geo.lngZeilenhoehe);
}

bool AgendaTable::slotSelected(Date slot) const
{
    // Slots are raster steps added up; a millisecond absorbs their rounding noise.
    constexpr Date tolerance = kOneSecond / 1000;
    return m_core.selection.start > 0 && slot > m_core.selection.start - tolerance
           && slot < m_core.selection.endSlot + tolerance;
}

QString AgendaTable::appointmentName(qint32 index) const
{
    const AppointmentStore &store = m_core.data.store;
    const TerminEintrag &e = store.at(index);
    return accessibleAppointmentName({e.dateStart, e.dateEnd, e.btagestermin, QString(), e.memo,
                                      e.blnErledigt, e.breadonly, e.blnfeiertag, false,
                                      store.details(e.dsn)});
}

QVector<QString> AgendaTable::appointmentKeys() const
{
    const AppointmentStore &store = m_core.data.store;
    QVector<QString> keys;
    keys.reserve(store.count());
    AppointmentKeys next;
    for (qint32 i = 1; i <= store.count(); ++i) {
        const TerminEintrag &e = store.at(i);
        keys.append(next.next((e.blnfeiertag ? QStringLiteral("F") : QStringLiteral("T")) + e.dsn));
    }
    return keys;
}

} // namespace Dayplex

#include "accessibility/accessibleitems.h"

#include "shared/uitext.h"

namespace Dayplex {

namespace {

// Shown when its rectangle lies on the surface; cells scrolled out have none.
void setPlace(QAccessible::State &state, const QRect &surfaceRect)
{
    state.invisible = surfaceRect.isEmpty();
    state.offscreen = surfaceRect.isEmpty();
}

} // namespace

AccessibleCell::AccessibleCell(const ViewAccessible *view, ViewAccessible::CellKind kind, int row,
                               int column)
    : AccessibleChild(view)
    , m_kind(kind)
    , m_row(row)
    , m_column(column)
{
}

bool AccessibleCell::isValid() const
{
    if (!m_view->isValid())
        return false;
    const ViewTable &table = m_view->table();
    const bool rowExists = m_row >= 0 && m_row < table.rowCount();
    const bool columnExists = m_column >= 0 && m_column < table.columnCount();
    switch (m_kind) {
    case ViewAccessible::CellKind::ColumnHeader:
        return columnExists;
    case ViewAccessible::CellKind::RowHeader:
        return rowExists;
    case ViewAccessible::CellKind::Cell:
        break;
    }
    return rowExists && columnExists;
}

QString AccessibleCell::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !isValid())
        return QString();
    switch (m_kind) {
    case ViewAccessible::CellKind::ColumnHeader:
        return m_view->table().columnHeader(m_column);
    case ViewAccessible::CellKind::RowHeader:
        return m_view->table().rowHeader(m_row);
    case ViewAccessible::CellKind::Cell:
        break;
    }
    return m_view->table().cellName(m_row, m_column);
}

QRect AccessibleCell::surfaceRect() const
{
    if (!isValid())
        return QRect();
    switch (m_kind) {
    case ViewAccessible::CellKind::ColumnHeader:
        return m_view->table().columnHeaderRect(m_column);
    case ViewAccessible::CellKind::RowHeader:
        return m_view->table().rowHeaderRect(m_row);
    case ViewAccessible::CellKind::Cell:
        break;
    }
    return m_view->table().cellRect(m_row, m_column);
}

QRect AccessibleCell::rect() const
{
    return m_view->toScreen(surfaceRect());
}

QAccessible::Role AccessibleCell::role() const
{
    switch (m_kind) {
    case ViewAccessible::CellKind::ColumnHeader:
        return QAccessible::ColumnHeader;
    case ViewAccessible::CellKind::RowHeader:
        return QAccessible::RowHeader;
    case ViewAccessible::CellKind::Cell:
        break;
    }
    return QAccessible::Cell;
}

QAccessible::State AccessibleCell::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    setPlace(state, surfaceRect());
    if (m_kind == ViewAccessible::CellKind::RowHeader) {
        state.selected = m_view->isRowSelected(m_row);
    } else if (m_kind == ViewAccessible::CellKind::Cell) {
        state.selectable = true;
        state.selected = isSelected();
        state.focusable = true;
        state.focused = m_view->focusChild() == this;
    }
    return state;
}

void *AccessibleCell::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TableCellInterface && m_kind == ViewAccessible::CellKind::Cell)
        return static_cast<QAccessibleTableCellInterface *>(this);
    return nullptr;
}

bool AccessibleCell::isSelected() const
{
    return isValid() && m_view->table().isCellSelected(m_row, m_column);
}

QList<QAccessibleInterface *> AccessibleCell::columnHeaderCells() const
{
    if (!isValid())
        return {};
    return {m_view->cellInterface(ViewAccessible::CellKind::ColumnHeader, 0, m_column)};
}

QList<QAccessibleInterface *> AccessibleCell::rowHeaderCells() const
{
    if (!isValid())
        return {};
    return {m_view->cellInterface(ViewAccessible::CellKind::RowHeader, m_row, 0)};
}

AccessibleAppointmentItem::AccessibleAppointmentItem(const ViewAccessible *view, const QString &key)
    : AccessibleChild(view)
    , m_key(key)
{
}

bool AccessibleAppointmentItem::isValid() const
{
    return m_view->isValid() && m_view->appointment(m_key);
}

QString AccessibleAppointmentItem::text(QAccessible::Text t) const
{
    const AccessibleAppointment *item = isValid() ? m_view->appointment(m_key) : nullptr;
    return item && t == QAccessible::Name ? item->name : QString();
}

QRect AccessibleAppointmentItem::rect() const
{
    const AccessibleAppointment *item = isValid() ? m_view->appointment(m_key) : nullptr;
    return item ? m_view->toScreen(item->rect) : QRect();
}

QAccessible::State AccessibleAppointmentItem::state() const
{
    QAccessible::State state;
    const AccessibleAppointment *item = isValid() ? m_view->appointment(m_key) : nullptr;
    if (!item) {
        state.invalid = true;
        return state;
    }
    setPlace(state, item->rect);
    state.selectable = item->selectable;
    state.selected = item->selected;
    state.readOnly = item->readOnly;
    state.focusable = true;
    state.focused = item->current && m_view->surfaceHasFocus();
    return state;
}

void *AccessibleAppointmentItem::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

QStringList AccessibleAppointmentItem::actionNames() const
{
    const AccessibleAppointment *item = isValid() ? m_view->appointment(m_key) : nullptr;
    if (!item)
        return {};
    // What cannot be selected cannot be opened either: a click on it selects nothing, and the
    // double click shows the selection.
    if (!item->selectable)
        return {showMenuAction()};
    return {pressAction(), openAction(), showMenuAction()};
}

QString AccessibleAppointmentItem::localizedActionName(const QString &name) const
{
    if (name == pressAction())
        return uiText("Dayplex::Accessibility", "Auswählen");
    if (name == openAction())
        return uiText("Dayplex::Accessibility", "Öffnen");
    if (name == showMenuAction())
        return uiText("Dayplex::Accessibility", "Kontextmenü");
    return QString();
}

QString AccessibleAppointmentItem::localizedActionDescription(const QString &name) const
{
    if (name == pressAction())
        return uiText("Dayplex::Accessibility", "Wählt den Termin aus");
    if (name == openAction())
        return uiText("Dayplex::Accessibility", "Zeigt den Termin an");
    if (name == showMenuAction())
        return uiText("Dayplex::Accessibility", "Öffnet das Kontextmenü am Termin");
    return QString();
}

void AccessibleAppointmentItem::doAction(const QString &name)
{
    if (!actionNames().contains(name))
        return;
    if (name == pressAction())
        m_view->runLater(m_key, &AccessibleViewSource::select);
    else if (name == openAction())
        m_view->runLater(m_key, &AccessibleViewSource::open);
    else
        m_view->runLater(m_key, &AccessibleViewSource::showMenu);
}

} // namespace Dayplex

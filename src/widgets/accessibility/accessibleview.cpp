#include "accessibility/accessibleview.h"

#include "accessibility/accessibleitems.h"
#include "shared/guarded.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace Dayplex {

namespace {

// The interfaces alive, by surface: a paint asks here whether anyone is listening.
QHash<const QWidget *, ViewAccessible *> &registry()
{
    static QHash<const QWidget *, ViewAccessible *> views;
    return views;
}

AccessibleEventObserver g_observer = nullptr;

qint64 cellKey(ViewAccessible::CellKind kind, int row, int column)
{
    return (qint64(kind) << 60) | (qint64(row) << 30) | qint64(column);
}

const AccessibleAppointment *findItem(const QVector<AccessibleAppointment> &items,
                                      const QString &key)
{
    const auto it = std::find_if(items.cbegin(), items.cend(),
                                 [&key](const AccessibleAppointment &item) { return item.key == key; });
    return it == items.cend() ? nullptr : &*it;
}

} // namespace

ViewAccessible::ViewAccessible(QWidget *surface, std::unique_ptr<AccessibleViewSource> source)
    : QAccessibleWidget(surface, QAccessible::Table)
    , m_surface(surface)
    , m_source(std::move(source))
{
    registry().insert(surface, this);
}

ViewAccessible::~ViewAccessible()
{
    registry().remove(m_surface);
    for (const QAccessible::Id id : std::as_const(m_cellIds))
        QAccessible::deleteAccessibleInterface(id);
    for (const QAccessible::Id id : std::as_const(m_itemIds))
        QAccessible::deleteAccessibleInterface(id);
}

ViewAccessible *ViewAccessible::existing(const QWidget *surface)
{
    return registry().value(surface, nullptr);
}

bool ViewAccessible::isValid() const
{
    return QAccessibleWidget::isValid() && m_source->table() != nullptr;
}

QString ViewAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return QString();
    switch (t) {
    case QAccessible::Name: {
        // A name the host gave the surface or the view wins.
        QString name = widget()->accessibleName();
        if (name.isEmpty() && widget()->parentWidget())
            name = widget()->parentWidget()->accessibleName();
        return name.isEmpty() ? table().defaultName() : name;
    }
    case QAccessible::Description:
        return table().description();
    default:
        return QAccessibleWidget::text(t);
    }
}

bool ViewAccessible::inTable(int row, int column) const
{
    return isValid() && row >= 0 && column >= 0 && row < table().rowCount()
           && column < table().columnCount();
}

int ViewAccessible::columnCount() const
{
    return isValid() ? table().columnCount() : 0;
}

int ViewAccessible::rowCount() const
{
    return isValid() ? table().rowCount() : 0;
}

int ViewAccessible::childCount() const
{
    const int rows = rowCount();
    const int columns = columnCount();
    return columns + rows + rows * columns + int(items().size());
}

QAccessibleInterface *ViewAccessible::child(int index) const
{
    const int rows = rowCount();
    const int columns = columnCount();
    if (index < 0)
        return nullptr;
    if (index < columns)
        return cellInterface(CellKind::ColumnHeader, 0, index);
    index -= columns;
    if (index < rows)
        return cellInterface(CellKind::RowHeader, index, 0);
    index -= rows;
    if (index < rows * columns)
        return cellInterface(CellKind::Cell, index / columns, index % columns);
    index -= rows * columns;
    return index < items().size() ? appointmentInterface(items().at(index).key) : nullptr;
}

int ViewAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const int rows = rowCount();
    const int columns = columnCount();
    if (const auto *cell = dynamic_cast<const AccessibleCell *>(child)) {
        if (cell->parent() != this || !cell->isValid())
            return -1;
        switch (cell->kind()) {
        case CellKind::ColumnHeader:
            return cell->columnIndex();
        case CellKind::RowHeader:
            return columns + cell->rowIndex();
        case CellKind::Cell:
            break;
        }
        return columns + rows + cell->rowIndex() * columns + cell->columnIndex();
    }
    if (const auto *item = dynamic_cast<const AccessibleAppointmentItem *>(child)) {
        if (item->parent() != this)
            return -1;
        for (int i = 0; i < items().size(); ++i)
            if (items().at(i).key == item->key())
                return columns + rows + rows * columns + i;
    }
    return -1;
}

QAccessibleInterface *ViewAccessible::childAt(int x, int y) const
{
    if (!isValid())
        return nullptr;
    const QPoint at = widget()->mapFromGlobal(QPoint(x, y));
    // Appointments lie over the cells; the one drawn last is on top.
    for (auto it = items().crbegin(); it != items().crend(); ++it)
        if (it->rect.contains(at))
            return appointmentInterface(it->key);
    const int rows = table().rowCount();
    const int columns = table().columnCount();
    for (int column = 0; column < columns; ++column)
        if (table().columnHeaderRect(column).contains(at))
            return cellInterface(CellKind::ColumnHeader, 0, column);
    for (int row = 0; row < rows; ++row) {
        if (table().rowHeaderRect(row).contains(at))
            return cellInterface(CellKind::RowHeader, row, 0);
        for (int column = 0; column < columns; ++column)
            if (table().cellRect(row, column).contains(at))
                return cellInterface(CellKind::Cell, row, column);
    }
    return nullptr;
}

bool ViewAccessible::surfaceHasFocus() const
{
    return isValid() && widget()->hasFocus();
}

QAccessibleInterface *ViewAccessible::keyboardChild() const
{
    for (const AccessibleAppointment &item : items())
        if (item.current)
            return appointmentInterface(item.key);
    const std::optional<QPoint> cell = table().currentCell();
    if (cell && inTable(cell->y(), cell->x()))
        return cellInterface(CellKind::Cell, cell->y(), cell->x());
    return nullptr;
}

QAccessibleInterface *ViewAccessible::focusChild() const
{
    if (!surfaceHasFocus())
        return nullptr;
    if (QAccessibleInterface *child = keyboardChild())
        return child;
    return const_cast<ViewAccessible *>(this);
}

void *ViewAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessibleInterface *ViewAccessible::cellAt(int row, int column) const
{
    return inTable(row, column) ? cellInterface(CellKind::Cell, row, column) : nullptr;
}

QVector<QPoint> ViewAccessible::selectedCellPlaces() const
{
    QVector<QPoint> places;
    const int rows = rowCount();
    const int columns = columnCount();
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            if (table().isCellSelected(row, column))
                places.append(QPoint(column, row));
    return places;
}

int ViewAccessible::selectedCellCount() const
{
    return int(selectedCellPlaces().size());
}

QList<QAccessibleInterface *> ViewAccessible::selectedCells() const
{
    QList<QAccessibleInterface *> cells;
    for (const QPoint &place : selectedCellPlaces())
        cells.append(cellInterface(CellKind::Cell, place.y(), place.x()));
    return cells;
}

QString ViewAccessible::columnDescription(int column) const
{
    return inTable(0, column) ? table().columnHeader(column) : QString();
}

QString ViewAccessible::rowDescription(int row) const
{
    return inTable(row, 0) ? table().rowHeader(row) : QString();
}

bool ViewAccessible::isRowSelected(int row) const
{
    return isValid() && row >= 0 && row < table().rowCount() && table().isRowSelected(row);
}

int ViewAccessible::selectedRowCount() const
{
    return int(selectedRows().size());
}

QList<int> ViewAccessible::selectedRows() const
{
    QList<int> rows;
    for (int row = 0; row < rowCount(); ++row)
        if (table().isRowSelected(row))
            rows.append(row);
    return rows;
}

void ViewAccessible::modelChange(QAccessibleTableModelChangeEvent *event)
{
    if (event->modelChangeType() == QAccessibleTableModelChangeEvent::ModelReset)
        dropCells();
}

void ViewAccessible::dropCells()
{
    for (const QAccessible::Id id : std::as_const(m_cellIds))
        QAccessible::deleteAccessibleInterface(id);
    m_cellIds.clear();
}

QRect ViewAccessible::toScreen(const QRect &surfaceRect) const
{
    if (surfaceRect.isEmpty() || !isValid())
        return QRect();
    return QRect(widget()->mapToGlobal(surfaceRect.topLeft()), surfaceRect.size());
}

const QVector<AccessibleAppointment> &ViewAccessible::items() const
{
    if (m_stale && isValid()) {
        m_stale = false;
        m_shape = table().shapeKey();
        m_items = table().appointments();
        m_selectedCells = selectedCellPlaces();
    }
    return m_items;
}

const AccessibleAppointment *ViewAccessible::appointment(const QString &key) const
{
    return findItem(items(), key);
}

QAccessibleInterface *ViewAccessible::cellInterface(CellKind kind, int row, int column) const
{
    const qint64 key = cellKey(kind, row, column);
    if (QAccessibleInterface *cached = QAccessible::accessibleInterface(m_cellIds.value(key, 0)))
        return cached;
    auto *cell = new AccessibleCell(this, kind, row, column);
    m_cellIds.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface *ViewAccessible::appointmentInterface(const QString &key) const
{
    if (QAccessibleInterface *cached = QAccessible::accessibleInterface(m_itemIds.value(key, 0)))
        return cached;
    auto *item = new AccessibleAppointmentItem(this, key);
    m_itemIds.insert(key, QAccessible::registerAccessibleInterface(item));
    return item;
}

void ViewAccessible::runLater(const QString &key, Command command) const
{
    QWidget *surface = widget();
    QTimer::singleShot(0, surface, [surface, key, command] {
        // The table and the appointment may both be gone by now.
        ViewAccessible *view = existing(surface);
        if (!view || !view->isValid())
            return;
        // Asked afresh: the store may have changed since the last paint, and the record
        // must still be the one the key names.
        const QVector<AccessibleAppointment> shown = view->table().appointments();
        if (const AccessibleAppointment *item = findItem(shown, key))
            guarded(view->source().category(), [&] { (view->source().*command)(*item); });
    });
}

void ViewAccessible::send(QAccessibleEvent &event)
{
    if (g_observer)
        g_observer(&event);
    QAccessible::updateAccessibility(&event);
}

void ViewAccessible::send(QAccessibleInterface *iface, QAccessible::Event type)
{
    QAccessibleEvent event(iface, type);
    send(event);
}

void ViewAccessible::sync()
{
    if (!isValid())
        return;
    // Qt makes the interface of every widget shown, screen reader or not. While none listens,
    // the next question brings the table up to date instead of every paint.
    if (!QAccessible::isActive() && !g_observer) {
        m_stale = true;
        return;
    }
    items();
    const QString shape = table().shapeKey();
    if (shape != m_shape) {
        m_shape = shape;
        dropCells();
        QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
        send(reset);
    }

    QVector<AccessibleAppointment> shown = table().appointments();
    bool selectionChanged = false;
    // Told while the appointment is still a child, so that its name and place can be read.
    for (const AccessibleAppointment &gone : std::as_const(m_items)) {
        if (findItem(shown, gone.key))
            continue;
        const QAccessible::Id id = m_itemIds.take(gone.key);
        if (QAccessibleInterface *iface = QAccessible::accessibleInterface(id)) {
            send(iface, QAccessible::ObjectDestroyed);
            QAccessible::deleteAccessibleInterface(id);
        }
        selectionChanged = selectionChanged || gone.selected;
    }
    const QVector<AccessibleAppointment> previous = std::exchange(m_items, std::move(shown));
    for (const AccessibleAppointment &item : std::as_const(m_items)) {
        const AccessibleAppointment *before = findItem(previous, item.key);
        if (!before) {
            send(appointmentInterface(item.key), QAccessible::ObjectCreated);
            selectionChanged = selectionChanged || item.selected;
            continue;
        }
        if (before->name != item.name)
            send(appointmentInterface(item.key), QAccessible::NameChanged);
        if (before->selected != item.selected) {
            send(appointmentInterface(item.key),
                 item.selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
            selectionChanged = true;
        }
    }
    QVector<QPoint> cells = selectedCellPlaces();
    if (cells != m_selectedCells) {
        m_selectedCells = std::move(cells);
        selectionChanged = true;
    }
    if (selectionChanged)
        send(this, QAccessible::SelectionWithin);

    // The keyboard moved to another appointment or cell: a screen reader reads it out.
    QAccessibleInterface *target = surfaceHasFocus() ? keyboardChild() : nullptr;
    const QString focus = target ? QString::number(QAccessible::uniqueId(target)) : QString();
    if (focus != m_focus) {
        m_focus = focus;
        if (target)
            send(target, QAccessible::Focus);
    }
}

AccessibleEventObserver setAccessibleEventObserver(AccessibleEventObserver observer)
{
    return std::exchange(g_observer, observer);
}

void notifyAccessibleView(QWidget *surface)
{
    if (ViewAccessible *view = ViewAccessible::existing(surface))
        view->sync();
}

} // namespace Dayplex

#ifndef DAYPLEX_ACCESSIBLEITEMS_H
#define DAYPLEX_ACCESSIBLEITEMS_H

#include "accessibility/accessibleview.h"

#include <QAccessibleInterface>

namespace Dayplex {

// What the children of a view's table have in common: no object and no children of their own,
// the table as parent.
class AccessibleChild : public QAccessibleInterface
{
public:
    explicit AccessibleChild(const ViewAccessible *view)
        : m_view(view)
    {
    }

    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view->window(); }
    QAccessibleInterface *parent() const override { return const_cast<ViewAccessible *>(m_view); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}

protected:
    const ViewAccessible *const m_view;
};

// A cell or header of a view's table. It reads everything from the view when asked, so it
// stays right across repaints as long as its row and column exist.
class AccessibleCell : public AccessibleChild, public QAccessibleTableCellInterface
{
public:
    AccessibleCell(const ViewAccessible *view, ViewAccessible::CellKind kind, int row, int column);

    ViewAccessible::CellKind kind() const { return m_kind; }

    bool isValid() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    bool isSelected() const override;
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override;
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    QRect surfaceRect() const;

    const ViewAccessible::CellKind m_kind;
    const int m_row;
    const int m_column;
};

// A shown appointment: a list item with its German name, states and the actions of the mouse
// (select, open, context menu).
class AccessibleAppointmentItem : public AccessibleChild, public QAccessibleActionInterface
{
public:
    // The action that raises what a double click raises.
    static QString openAction() { return QStringLiteral("Open"); }

    AccessibleAppointmentItem(const ViewAccessible *view, const QString &key);

    const QString &key() const { return m_key; }

    bool isValid() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    QStringList actionNames() const override;
    QString localizedActionName(const QString &name) const override;
    QString localizedActionDescription(const QString &name) const override;
    void doAction(const QString &name) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    const QString m_key;
};

} // namespace Dayplex

#endif

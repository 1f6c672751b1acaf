#ifndef DAYPLEX_ACCESSIBLEVIEW_H
#define DAYPLEX_ACCESSIBLEVIEW_H

#include "shared/viewtable.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPoint>
#include <QRect>
#include <QVector>

#include <memory>

class QLoggingCategory;

namespace Dayplex {

// What the accessible table of a view reads (its core's table) and asks the view to do.
class AccessibleViewSource
{
public:
    virtual ~AccessibleViewSource() = default;

    // Null once the view is being destroyed; then nothing else is asked.
    virtual const ViewTable *table() const = 0;
    virtual const QLoggingCategory &category() const = 0;
    // What a click, a double click and a right click on the appointment do; the appointment is
    // one the table has just given.
    virtual void select(const AccessibleAppointment &appointment) = 0;
    virtual void open(const AccessibleAppointment &appointment) = 0;
    virtual void showMenu(const AccessibleAppointment &appointment) = 0;
};

// The drawing surface of a view as a table for screen readers. Children, in this order: the
// column headers, the row headers, the cells row by row, then the shown appointments. Children
// keep their identity (and their cached interface) across repaints: a cell by its place, an
// appointment by its key.
class ViewAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    enum class CellKind { ColumnHeader, RowHeader, Cell };
    using Command = void (AccessibleViewSource::*)(const AccessibleAppointment &);

    ViewAccessible(QWidget *surface, std::unique_ptr<AccessibleViewSource> source);
    ~ViewAccessible() override;

    // The interface of a surface, when a screen reader or a test has asked for one.
    static ViewAccessible *existing(const QWidget *surface);

    bool isValid() const override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    // Cells are selected with the mouse or the keys of the view, not through here.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *event) override;

    // Compares what the surface shows with what screen readers were told last, and tells them
    // the difference: a table of other days or rows, appointments that came or went or read
    // differently, selection and the child the keyboard is on.
    void sync();

    // For the children.
    AccessibleViewSource &source() const { return *m_source; }
    const ViewTable &table() const { return *m_source->table(); }
    bool surfaceHasFocus() const;
    QRect toScreen(const QRect &surfaceRect) const;
    const AccessibleAppointment *appointment(const QString &key) const;
    QAccessibleInterface *cellInterface(CellKind kind, int row, int column) const;
    QAccessibleInterface *appointmentInterface(const QString &key) const;
    // Runs a command on an appointment once the event loop is back: an action must answer the
    // screen reader before the view opens a menu or the host a dialog.
    void runLater(const QString &key, Command command) const;

private:
    bool inTable(int row, int column) const;
    // Forgets the interfaces of cells and headers, which may stand for other days now.
    void dropCells();
    static void send(QAccessibleEvent &event);
    static void send(QAccessibleInterface *iface, QAccessible::Event type);
    QVector<QPoint> selectedCellPlaces() const;
    QAccessibleInterface *keyboardChild() const;

    const QWidget *const m_surface; // the registry's key, also while the surface goes
    std::unique_ptr<AccessibleViewSource> m_source;
    // What screen readers were told last; read again when stale.
    const QVector<AccessibleAppointment> &items() const;
    mutable bool m_stale = true;
    mutable QVector<AccessibleAppointment> m_items;
    mutable QString m_shape;
    mutable QVector<QPoint> m_selectedCells;
    QString m_focus; // what sync last reported as having the keyboard
    mutable QHash<qint64, QAccessible::Id> m_cellIds;
    mutable QHash<QString, QAccessible::Id> m_itemIds;
};

// Lets the accessible interface of a drawing surface, if there is one, catch up with a paint.
void notifyAccessibleView(QWidget *surface);

// Sees every event the views send to screen readers. Qt hands events on only while a platform
// bridge listens, which the offscreen platform of the tests has not. Returns the observer in
// force before; null for none.
using AccessibleEventObserver = void (*)(QAccessibleEvent *event);
AccessibleEventObserver setAccessibleEventObserver(AccessibleEventObserver observer);

} // namespace Dayplex

#endif

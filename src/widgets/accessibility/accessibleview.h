#ifndef DAYPLEX_ACCESSIBLEVIEW_H
#define DAYPLEX_ACCESSIBLEVIEW_H

#include <QAccessibleWidget>
#include <QHash>
#include <QPoint>
#include <QRect>
#include <QVector>

#include <memory>
#include <optional>

class QLoggingCategory;

namespace Dayplex {

// Keys for the records of a view that a reload of the same data gives again: the record's own
// key text and which of the records with that text it is.
class AppointmentKeys
{
public:
    QString next(const QString &base) { return base + QLatin1Char('#') + QString::number(m_seen[base]++); }

private:
    QHash<QString, int> m_seen;
};

// An appointment as the last paint of a view placed it, in pixels of the drawing surface.
struct ShownAppointment
{
    qint32 index = 0; // its record in the view's store or model
    QRect rect;
};

// A shown appointment as a screen reader gets to know it.
struct AccessibleAppointment
{
    QString key;          // the same across repaints and reloads while the appointment stays
    qint32 index = 0;     // its record, for the commands
    QString name;
    QRect rect;           // pixels of the drawing surface
    bool selectable = false;
    bool selected = false;
    bool readOnly = false;
    bool current = false; // the one the keyboard works on
};

// What the accessible table of a view reads from the view and asks it to do: cells under row
// and column headers, counted from 0, and the shown appointments in reading order. A rectangle
// is in pixels of the drawing surface, empty for what is scrolled out of sight.
class AccessibleViewSource
{
public:
    virtual ~AccessibleViewSource() = default;

    // False once the view is being destroyed; then nothing else is asked.
    virtual bool attached() const = 0;
    virtual const QLoggingCategory &category() const = 0;
    // The name the view goes by when the host gave neither it nor its surface one.
    virtual QString defaultName() const = 0;
    virtual QString description() const = 0;
    // Changes whenever a row or column comes to stand for something else (other days or rows).
    virtual QString shapeKey() const = 0;

    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    virtual QString rowHeader(int row) const = 0;
    virtual QString columnHeader(int column) const = 0;
    virtual QString cellName(int row, int column) const = 0;
    virtual QRect rowHeaderRect(int row) const = 0;
    virtual QRect columnHeaderRect(int column) const = 0;
    virtual QRect cellRect(int row, int column) const = 0;
    virtual bool isCellSelected(int row, int column) const = 0;
    virtual bool isRowSelected(int row) const = 0;
    // The cell the keyboard works on when no appointment is; x is the column, y the row.
    virtual std::optional<QPoint> currentCell() const = 0;

    virtual QVector<AccessibleAppointment> appointments() const = 0;
    // What a click, a double click and a right click on the appointment do; the appointment is
    // one appointments() has just given.
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

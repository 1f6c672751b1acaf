#ifndef DAYPLEX_VIEWTABLE_H
#define DAYPLEX_VIEWTABLE_H

#include <QHash>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVector>

#include <optional>

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

// An appointment a table shows, not yet selected; a read-only one (holidays are) cannot be
// selected.
AccessibleAppointment tableAppointment(const QString &key, qint32 index, const QString &name, const QRect &rect,
                                       bool readOnly);

// A view as a table for screen readers, read from its core after a paint: cells under row and
// column headers, counted from 0, and the shown appointments in reading order. A rectangle is in
// pixels of the drawing surface, empty for what is scrolled out of sight. Every front end (the
// QWidget's accessible interface, the Qt Quick item's texts) reads the same answers.
class ViewTable
{
public:
    virtual ~ViewTable() = default;

    // The name the view goes by when the host gave it none.
    virtual QString defaultName() const = 0;
    // The shown days.
    virtual QString description() const = 0;
    // The selected appointment as its box or bar reads; empty without one.
    virtual QString selectedName() const = 0;
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
};

// The shown days, then the selected appointment: one text for a view without a table.
QString viewSummary(const ViewTable &table);

} // namespace Dayplex

#endif

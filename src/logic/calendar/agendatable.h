#ifndef DAYPLEX_AGENDATABLE_H
#define DAYPLEX_AGENDATABLE_H

#include "shared/viewtable.h"

#include <dayplex/dates.h>

namespace Dayplex {

class AgendaCore;

// The calendar as a table: the day columns by the all-day band (row 0) and the time rows
// (row r + 1 for time row r), and the boxes of the last paint.
class AgendaTable : public ViewTable
{
public:
    explicit AgendaTable(const AgendaCore &core)
        : m_core(core)
    {
    }

    QString defaultName() const override;
    QString description() const override;
    QString selectedName() const override;
    QString shapeKey() const override;
    int rowCount() const override;
    int columnCount() const override;
    QString rowHeader(int row) const override;
    QString columnHeader(int column) const override;
    QString cellName(int row, int column) const override;
    QRect rowHeaderRect(int row) const override;
    QRect columnHeaderRect(int column) const override;
    QRect cellRect(int row, int column) const override;
    bool isCellSelected(int row, int column) const override;
    bool isRowSelected(int) const override { return false; }
    std::optional<QPoint> currentCell() const override;
    QVector<AccessibleAppointment> appointments() const override;

private:
    // A time row where the last paint put it.
    QRect rowRect(int row, qint32 left, qint32 width) const;
    bool slotSelected(Date slot) const;
    QString appointmentName(qint32 index) const;
    // Keys by record: holiday or appointment and its key text.
    QVector<QString> appointmentKeys() const;

    const AgendaCore &m_core;
};

} // namespace Dayplex

#endif

#ifndef DAYPLEX_GANTTTABLE_H
#define DAYPLEX_GANTTTABLE_H

#include "shared/viewtable.h"

#include <dayplex/dates.h>

#include <utility>

namespace Dayplex {

class GanttCore;
struct GanttEintrag;

// The resource view as a table: the participant rows by the shown days, and the bars of the
// kept picture. A marked row takes part in the free-slot search and counts as selected.
class GanttTable : public ViewTable
{
public:
    explicit GanttTable(const GanttCore &core)
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
    bool isCellSelected(int row, int) const override { return isRowSelected(row); }
    bool isRowSelected(int row) const override;
    std::optional<QPoint> currentCell() const override { return std::nullopt; }
    QVector<AccessibleAppointment> appointments() const override;

private:
    Date firstDay() const;
    // A day column's left edge and width.
    std::pair<qint32, qint32> dayColumn(int column) const;
    QRect rowRect(int row, qint32 left, qint32 width) const;
    QString barName(const GanttEintrag &e) const;
    // The bars the kept picture shows, each with its rectangle on screen.
    QVector<std::pair<qint32, QRect>> shownBars() const;
    // Keys by record: holiday or appointment, its key text and its row.
    QVector<QString> appointmentKeys() const;

    const GanttCore &m_core;
};

} // namespace Dayplex

#endif

#include "shared/viewtable.h"

namespace Dayplex {

AccessibleAppointment tableAppointment(const QString &key, qint32 index, const QString &name, const QRect &rect,
                                       bool readOnly)
{
    // Neither selected nor the keyboard's yet: the table decides that.
    return {key, index, name, rect, !readOnly, false, readOnly, false};
}

QString viewSummary(const ViewTable &table)
{
    const QString selected = table.selectedName();
    return selected.isEmpty() ? table.description()
                              : table.description() + QStringLiteral(". ") + selected;
}

} // namespace Dayplex

// The "+n" markers of the modern presentation: all-day entries the band cuts off.
#include "calendar/ucagenda_p.h"

#include <QWidget>

namespace Dayplex {

const BandOverflow *ucAgendaPrivate::overflowAt(double x, double y) const
{
    for (const BandOverflow &overflow : overflows) {
        const QRect &m = overflow.marker;
        if (x >= m.left() && x < m.left() + m.width() && y >= m.top() && y < m.top() + m.height())
            return &overflow;
    }
    return nullptr;
}

QString ucAgendaPrivate::overflowTooltip(const BandOverflow &overflow) const
{
    QStringList lines;
    for (qint32 index : overflow.hidden) {
        if (index >= 1 && index <= store.count())
            lines.append(store.at(index).memo);
    }
    return lines.join(QLatin1Char('\n'));
}

bool ucAgendaPrivate::pressOverflowMarker(double x, double y)
{
    const BandOverflow *overflow = overflowAt(x, y);
    if (!overflow)
        return false;
    for (qint32 index : overflow->hidden) {
        // Holidays and read-only entries cannot be selected; the first one that can wins.
        if (index < 1 || index > store.count())
            continue;
        const TerminEintrag &e = store.at(index);
        if (store.firstSelectable(e.dsn) == index) {
            q->setSelectedDate(e.dsn);
            q->Repaint();
            break;
        }
    }
    return true;
}

} // namespace Dayplex

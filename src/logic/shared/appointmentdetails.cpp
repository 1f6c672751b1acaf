#include "shared/appointmentdetails.h"

#include "shared/uitext.h"

#include <QStringList>

namespace Dayplex {

bool DetailsByKey::set(const QString &dsn, const AppointmentDetails &details)
{
    if (of(dsn) == details)
        return false;
    if (hasDetails(details))
        m_details.insert(dsn, details);
    else
        m_details.remove(dsn);
    return true;
}

const AppointmentDetails &DetailsByKey::of(const QString &dsn) const
{
    static const AppointmentDetails none;
    const auto found = m_details.constFind(dsn);
    return found == m_details.constEnd() ? none : *found;
}

QStringList detailLines(const AppointmentDetails &details)
{
    QStringList lines;
    if (details.seriesOccurrence)
        lines.append(uiText("Dayplex::AppointmentDetails", "Serientermin"));
    QStringList names;
    for (const QString &name : details.participants) {
        const QString simple = name.simplified();
        if (!simple.isEmpty())
            names.append(simple);
    }
    if (!names.isEmpty())
        lines.append(uiText("Dayplex::AppointmentDetails", "Teilnehmer: %1")
                         .arg(names.join(QStringLiteral(", "))));
    return lines;
}

QString tooltipWithDetails(const QString &tooltip, const AppointmentDetails &details)
{
    QStringList lines = detailLines(details);
    if (lines.isEmpty())
        return tooltip;
    lines.prepend(tooltip);
    return lines.join(QLatin1Char('\n'));
}

} // namespace Dayplex

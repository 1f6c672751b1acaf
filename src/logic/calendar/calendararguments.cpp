#include "calendar/calendararguments.h"

#include "calendar/calendargrid.h"
#include "shared/toolbox.h"

#include <dayplex/error.h>

#include <cmath>

namespace Dayplex {

Date dateArgument(const QVariant &value, const char *member)
{
    switch (value.userType()) {
    case QMetaType::QDateTime:
        return toDate(value.toDateTime());
    case QMetaType::QDate:
        return toDate(value.toDate());
    default:
        break;
    }
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        throw Error(TypeMismatch,
                    QStringLiteral("%1: Datumswert erwartet.").arg(QLatin1String(member)));
    return d;
}

Date roundedDownArgument(Date datum, const QVariant &step)
{
    requireValidDate(datum, "DateAbrunden");
    const Date duration = dateArgument(step, "DateAbrunden");
    if (duration == 0)
        throw Error(DivisionByZero, QStringLiteral("DateAbrunden: Division durch null."));
    if (!(duration > 0) || !std::isfinite(duration))
        throw Error(InvalidArgument,
                    QStringLiteral("DateAbrunden: die Rundung braucht eine positive Dauer."));
    return CalendarGrid::roundDown(datum, duration);
}

double scrollDirectionArgument(const QVariant &direction)
{
    double value = 0;
    if (direction.isValid() && !direction.isNull()) {
        bool ok = false;
        value = direction.toDouble(&ok);
        if (!ok)
            throw Error(TypeMismatch, QStringLiteral("Scroll: eine Zahl wird erwartet."));
    }
    if (!std::isfinite(value))
        throw Error(InvalidArgument, QStringLiteral("Scroll: ungültige Richtung."));
    return value;
}

} // namespace Dayplex

#include "gantt/ganttsettings.h"

#include <algorithm>

namespace Dayplex {

namespace {

// A time option: absent reads as 00:00.
Date timeOption(const cContainer &options, const QString &key)
{
    return options.contains(key) ? options.doubleValue(key) : 0;
}

} // namespace

GanttSettings GanttSettings::withOptions(const QString &optionsString) const
{
    GanttSettings next = *this;
    next.options.setContainerString(optionsString);
    next = next.withLayout(QStringLiteral("strLayoutScreenGantt"));
    next.windowFrom = timeOption(next.options, QStringLiteral("timeArbeitsZeitVon2"));
    next.windowTo = timeOption(next.options, QStringLiteral("timeArbeitsZeitBis2"));
    next.workFrom = next.workTo = 0;
    bool any = false;
    for (int weekday = 1; weekday <= 7; ++weekday) {
        const Date from = timeOption(next.options, QStringLiteral("timeArbeitsZeitVon%1").arg(weekday));
        const Date to = timeOption(next.options, QStringLiteral("timeArbeitsZeitBis%1").arg(weekday));
        // Times of day only; a day without hours or with hours the wrong way round adds none.
        if (!(from >= 0 && to <= 1 && to > from))
            continue;
        next.workFrom = any ? std::min(next.workFrom, from) : from;
        next.workTo = any ? std::max(next.workTo, to) : to;
        any = true;
    }
    return next;
}

GanttSettings GanttSettings::withLayout(const QString &key) const
{
    GanttSettings next = *this;
    next.layout.setContainerString(options.textValue(key));
    next.style = GanttStyle::fromLayout(next.layout);
    return next;
}

} // namespace Dayplex

#include "gantt/ganttsettings.h"

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

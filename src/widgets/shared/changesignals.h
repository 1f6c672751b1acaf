#ifndef DAYPLEX_CHANGESIGNALS_H
#define DAYPLEX_CHANGESIGNALS_H

// A core's change events raised as its control's signals DateChanged and seriesDateChanged,
// which both views spell alike.
#include "shared/changerequest.h"

namespace Dayplex {

template <typename View>
void raiseChangesAsSignals(ViewEvents &events, View *view)
{
    events.dateChanged = [view](const QString &dsn, Date start, Date end) {
        Q_EMIT view->DateChanged(dsn, start, end);
    };
    events.seriesDateChanged = [view](const QString &dsn, SeriesScope scope, Date start, Date end) {
        Q_EMIT view->seriesDateChanged(dsn, scope, start, end);
    };
}

} // namespace Dayplex

#endif

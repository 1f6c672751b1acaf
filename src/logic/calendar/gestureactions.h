#ifndef DAYPLEX_GESTUREACTIONS_H
#define DAYPLEX_GESTUREACTIONS_H

// Short ways to build the calendar gesture's actions, each with all its fields.
#include "calendar/calendargesture.h"

namespace Dayplex::GestureActions {

using A = GestureAction;

inline A act(A::Kind kind) { return A{kind, 0, 0, 0, QRect(), QString()}; }
inline A dates(A::Kind kind, Date from, Date to = 0) { return A{kind, from, to, 0, QRect(), QString()}; }
inline A number(A::Kind kind, qint32 value) { return A{kind, 0, 0, value, QRect(), QString()}; }
inline A text(A::Kind kind, const QString &text) { return A{kind, 0, 0, 0, QRect(), text}; }
inline A ghost(QRect rect) { return A{A::Ghost, 0, 0, 0, rect, QString()}; }
inline A menuAt(QPoint at) { return A{A::OpenContextMenu, 0, 0, 0, QRect(at, QSize(0, 0)), QString()}; }
inline A times(qint32 index, Date start, Date end) { return A{A::SetTimes, start, end, index, QRect(), QString()}; }

inline const TerminEintrag *entryAt(const AppointmentStore &store, qint32 index)
{
    return index >= 1 && index <= store.count() ? &store.at(index) : nullptr;
}

} // namespace Dayplex::GestureActions

#endif

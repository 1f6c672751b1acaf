#ifndef DAYPLEX_TABWALK_H
#define DAYPLEX_TABWALK_H

#include <QtGlobal>

namespace Dayplex {

// Where Tab (forward) or Shift+Tab goes among `count` appointments from the one at `at` (-1: the
// view itself, so to the first or the last); -1 past either end, where the keyboard leaves the
// view so that a chain of widgets goes on.
inline qsizetype tabWalk(qsizetype at, qsizetype count, bool forward)
{
    if (at < 0)
        return count == 0 ? -1 : (forward ? 0 : count - 1);
    const qsizetype next = forward ? at + 1 : at - 1;
    return next < count ? next : -1;
}

} // namespace Dayplex

#endif

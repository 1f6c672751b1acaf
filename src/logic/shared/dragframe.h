#ifndef DAYPLEX_DRAGFRAME_H
#define DAYPLEX_DRAGFRAME_H

#include <QtGlobal>

namespace Dayplex {

// The frame a drag draws inverted over a view's kept picture (the calendar's DrawDragDrop, the
// resource view's Drag), as its four edges; all 0 when there is none.
struct DragFrame
{
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;

    bool none() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

} // namespace Dayplex

#endif

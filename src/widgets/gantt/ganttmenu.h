#ifndef DAYPLEX_GANTTMENU_H
#define DAYPLEX_GANTTMENU_H

#include "shared/viewmenu.h"

namespace Dayplex {

class ctlGanttPrivate;

// The resource view's entries of the context menu and what they do, and the date picker's
// jump and move. A command's error is logged and goes no further.
class GanttMenu : public ViewMenu
{
public:
    explicit GanttMenu(ctlGanttPrivate *d);

    void today();
    // "1 Tag" ... "12 Wochen": the days from the current date.
    void showDays(qint32 count);
    // The date picker at the mouse: "Datum..." (jump) or "Verschieben" (move the selection there).
    void openPickerAtMouse(bool move);
    void pickerChange(double value, bool move);

private:
    ctlGanttPrivate *const d;
};

} // namespace Dayplex

#endif

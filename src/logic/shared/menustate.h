#ifndef DAYPLEX_MENUSTATE_H
#define DAYPLEX_MENUSTATE_H

namespace Dayplex {

// What a view's context menu offers as it opens: the day count whose "Ansicht" entry is ticked,
// "Neu" for a time selection (calendar) or a proposal (resource view), "Anzeigen" for a
// selected appointment, "Verschieben" for one that is not read-only.
struct MenuState
{
    double shownDays = 0;
    bool canCreate = false;
    bool canShow = false;
    bool canMove = false;
};

} // namespace Dayplex

#endif

#ifndef DAYPLEX_CALENDARMENU_H
#define DAYPLEX_CALENDARMENU_H

#include "shared/viewmenu.h"

#include <dayplex/dates.h>

namespace Dayplex {

class ucAgendaPrivate;

// The calendar's entries of the context menu and what they do. Most commands only raise an
// event for the host; the rest change the displayed days or the selection. No command lets an
// error out: it reaches the user as a message.
class CalendarMenu : public ViewMenu
{
    Q_OBJECT

public:
    explicit CalendarMenu(ucAgendaPrivate *d);
    ~CalendarMenu() override;

    // Opens the menu at a point of the drawing surface.
    void popupAt(QPoint surfacePosition);
    void today();
    // The drop-down opens at the control's top left corner.
    void openPickerAtCorner(const QString &mode);
    void pickerChange(double newValue, bool move);
    void newDate();
    // "1 Tag" ... "14 Tage": count days from the current date.
    void showDays(double count);

private:
    void selectWholeDay(Date day);
    static void report(const std::function<void()> &command);

    ucAgendaPrivate *const d;
};

} // namespace Dayplex

#endif

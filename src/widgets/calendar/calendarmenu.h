#ifndef DAYPLEX_CALENDARMENU_H
#define DAYPLEX_CALENDARMENU_H

#include <dayplex/dates.h>

#include <QList>
#include <QObject>
#include <QPoint>
#include <array>
#include <functional>

class QAction;
class QMenu;

namespace Dayplex {

class DatePicker;
class ucAgendaPrivate;

// The calendar's context menu "mnuPopUp" and its date picker "ccrpDtp", both children of the
// control. Most commands only raise an event for the host; the rest change the displayed days
// or the selection. No command lets an error out: it reaches the user as a message.
class CalendarMenu : public QObject
{
    Q_OBJECT

public:
    // The date picker's Tag while it moves the selected appointment.
    static const QString kMoveTag;

    explicit CalendarMenu(ucAgendaPrivate *d);
    ~CalendarMenu() override;

    QMenu *popUp() const { return m_popUp; }
    DatePicker *picker() const { return m_picker; }

    // Sets the ticks of the day counts and the enabled states for the control's state now;
    // runs every time the menu opens.
    void prepare();
    // Opens the menu at a point of the drawing surface and returns at once.
    void popup(QPoint surfacePosition);

    // The commands, as the entries run them.
    void today();
    // Opens the picker's drop-down: mode "" jumps to the picked day, kMoveTag moves the
    // selected appointment there.
    void openPicker(const QString &mode);
    // A day was picked in the drop-down.
    void pickerChange(double newValue);
    void newDate();
    // "1 Tag" ... "14 Tage" by index 0 to 4.
    void showDays(int index);

private:
    QAction *addEntry(const QString &name, const QString &caption, std::function<void()> command);
    void selectWholeDay(Date day);
    // Runs a command; an error becomes a warning message instead of leaving the event loop.
    void run(const std::function<void()> &command);

    ucAgendaPrivate *const d;
    QMenu *m_popUp = nullptr;
    QAction *m_neu = nullptr;
    QAction *m_anzeigen = nullptr;
    QAction *m_verschieben = nullptr;
    std::array<QAction *, 5> m_days{};
    QList<QAction *> m_own; // the entries above; a host's go again before each opening
    DatePicker *m_picker = nullptr;
};

} // namespace Dayplex

#endif

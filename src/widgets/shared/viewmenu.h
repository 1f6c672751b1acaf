#ifndef DAYPLEX_VIEWMENU_H
#define DAYPLEX_VIEWMENU_H

#include "shared/menustate.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

class QAction;
class QMenu;
class QWidget;

namespace Dayplex {

class DatePicker;

// A view's context menu "mnuPopUp" and its date picker "ccrpDtp", both children of the
// control. The view adds its entries in their order; as the menu opens, their ticks and enabled
// states follow the core's MenuState and the host's entries go again. A picked day goes back to
// the view with the mode the picker was opened in.
class ViewMenu : public QObject
{
    Q_OBJECT

public:
    // The date picker's Tag while it moves the selected appointment.
    static const QString kMoveTag;

    // Which part of the core's MenuState an entry's enabled state follows.
    enum class EnabledBy { Always, Create, Show, Move };

    // What the menu asks of its view.
    struct View
    {
        // Runs a command so that no error leaves the event loop.
        std::function<void(const std::function<void()> &)> run;
        std::function<MenuState()> state;
        std::function<double()> currentDate;
        // The host's chance to add its entries; dsn is the appointment the menu opens over.
        std::function<void(QMenu *, const QString &dsn)> aboutToShow;
        // A day was picked in the drop-down; move: it was opened by "Verschieben".
        std::function<void(double value, bool move)> picked;
        // Takes the keys again when the drop-down closes.
        QWidget *keys = nullptr;
    };

    ViewMenu(QWidget *control, View view);
    ~ViewMenu() override;

    QMenu *popUp() const { return m_popUp; }
    DatePicker *picker() const { return m_picker; }

    QAction *addEntry(QMenu *to, const QString &name, const QString &caption, std::function<void()> command,
                      EnabledBy enabledBy = EnabledBy::Always);
    // A checkable entry, ticked while the view shows this many days.
    QAction *addDaysEntry(QMenu *to, const QString &name, const QString &caption, double days,
                          std::function<void()> command);
    // After the last entry: the entries so far are the view's own, defaultEntry is bold.
    void finish(QAction *defaultEntry);

    // Sets the ticks and enabled states for the view's state now; runs as the menu opens.
    void prepare();
    // Shows the menu at a point of the screen and returns at once.
    void popup(QPoint globalPosition, const QString &dsn);
    // Opens the picker's drop-down for mode "" (jump) or kMoveTag, at a point of the screen,
    // else below the picker's box where the view put it.
    void openPicker(const QString &mode, std::optional<QPoint> at = std::nullopt);
    void run(const std::function<void()> &command) const { m_view.run(command); }

private:
    const View m_view;
    QMenu *m_popUp = nullptr;
    QList<std::pair<QAction *, EnabledBy>> m_enabled;
    QList<std::pair<QAction *, double>> m_days;
    QList<QAction *> m_own; // the view's entries; a host's go again before each opening
    DatePicker *m_picker = nullptr;
};

} // namespace Dayplex

#endif

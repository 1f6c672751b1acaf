// A view's context menu and its date picker: enabled states, ticks, the host's entries and the
// picker's two modes.
#include "shared/viewmenu.h"

#include "shared/datepicker.h"
#include "shared/hostentries.h"

#include <QMenu>
#include <QWidget>

namespace Dayplex {

const QString ViewMenu::kMoveTag = QStringLiteral("VERSCHIEBEN");

ViewMenu::ViewMenu(QWidget *control, View view)
    : m_view(std::move(view))
{
    m_popUp = new QMenu(QStringLiteral("PopUp"), control);
    m_popUp->setObjectName(QStringLiteral("mnuPopUp"));
    connect(m_popUp, &QMenu::aboutToShow, this, [this] { run([this] { prepare(); }); });

    m_picker = new DatePicker(control);
    m_picker->hide();
    connect(m_picker, &DatePicker::Change, this, [this](double newValue) {
        run([this, newValue] { m_view.picked(newValue, m_picker->Tag() == kMoveTag); });
    });
    if (QWidget *keys = m_view.keys)
        connect(m_picker, &DatePicker::dropDownClosed, keys, [keys] { keys->setFocus(Qt::PopupFocusReason); });
}

ViewMenu::~ViewMenu()
{
    m_picker->disconnect();
    delete m_picker;
    delete m_popUp;
}

QAction *ViewMenu::addEntry(QMenu *to, const QString &name, const QString &caption,
                            std::function<void()> command, EnabledBy enabledBy)
{
    QAction *entry = to->addAction(caption);
    entry->setObjectName(name);
    connect(entry, &QAction::triggered, this, [this, command = std::move(command)] { run(command); });
    if (enabledBy != EnabledBy::Always)
        m_enabled.append({entry, enabledBy});
    return entry;
}

QAction *ViewMenu::addDaysEntry(QMenu *to, const QString &name, const QString &caption, double days,
                                std::function<void()> command)
{
    QAction *entry = addEntry(to, name, caption, std::move(command));
    entry->setCheckable(true);
    m_days.append({entry, days});
    return entry;
}

void ViewMenu::finish(QAction *defaultEntry)
{
    m_popUp->setDefaultAction(defaultEntry);
    m_own = m_popUp->actions();
}

void ViewMenu::prepare()
{
    const MenuState state = m_view.state();
    for (const auto &[entry, days] : m_days)
        entry->setChecked(days == state.shownDays);
    for (const auto &[entry, enabledBy] : m_enabled) {
        const bool byState[] = {true, state.canCreate, state.canShow, state.canMove};
        entry->setEnabled(byState[int(enabledBy)]);
    }
}

void ViewMenu::popup(QPoint globalPosition, const QString &dsn)
{
    takeOutHostEntries(*m_popUp, m_own);
    m_view.aboutToShow(m_popUp, dsn);
    // popup(), not exec(): the caller returns at once and the menu runs on its own.
    m_popUp->popup(globalPosition);
}

void ViewMenu::openPicker(const QString &mode, std::optional<QPoint> at)
{
    m_picker->setTag(mode);
    m_picker->setValue(m_view.currentDate());
    if (at) {
        m_picker->openDropDownAt(*at);
        return;
    }
    m_picker->show();
    m_picker->setFocus(Qt::OtherFocusReason);
    m_picker->openDropDown();
}

} // namespace Dayplex

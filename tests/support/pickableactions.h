#ifndef DAYPLEX_PICKABLEACTIONS_H
#define DAYPLEX_PICKABLEACTIONS_H

#include <QAction>
#include <QMenu>
#include <QVector>

namespace Dayplex::Testing {

// Every action of a menu and its submenus that a user could pick now.
inline void collectPickableActions(QMenu *menu, QVector<QAction *> &into)
{
    for (QAction *action : menu->actions()) {
        if (action->isSeparator() || !action->isEnabled() || !action->isVisible())
            continue;
        if (QMenu *sub = action->menu())
            collectPickableActions(sub, into);
        else
            into.append(action);
    }
}

} // namespace Dayplex::Testing

#endif

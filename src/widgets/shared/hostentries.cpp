#include "shared/hostentries.h"

#include <QAction>
#include <QMenu>

namespace Dayplex {

void takeOutHostEntries(QMenu &menu, const QList<QAction *> &own)
{
    const QList<QAction *> entries = menu.actions();
    for (QAction *entry : entries) {
        if (own.contains(entry))
            continue;
        menu.removeAction(entry);
        // Entries of a host's own object stay its own; the menu's would pile up.
        if (entry->parent() == &menu)
            entry->deleteLater();
    }
}

} // namespace Dayplex

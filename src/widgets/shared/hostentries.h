#ifndef DAYPLEX_HOSTENTRIES_H
#define DAYPLEX_HOSTENTRIES_H

#include <QList>

class QAction;
class QMenu;

namespace Dayplex {

// Takes out of a view's context menu the entries a host added the last time it opened,
// everything but the view's own; those the menu owns are deleted.
void takeOutHostEntries(QMenu &menu, const QList<QAction *> &own);

} // namespace Dayplex

#endif

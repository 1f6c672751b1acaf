#include "shared/tabwalkkeys.h"

#include "shared/guarded.h"

#include <QKeyEvent>

namespace Dayplex {

bool walkBeforeQt(QEvent &event, const QLoggingCategory &category,
                  const std::function<bool(int key, Qt::KeyboardModifiers modifiers)> &keyPress)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    const auto &key = static_cast<const QKeyEvent &>(event);
    if ((key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab)
        || (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    bool kept = false;
    guarded(category, [&] { kept = keyPress(key.key(), key.modifiers()); });
    if (kept)
        event.accept();
    return kept;
}

} // namespace Dayplex

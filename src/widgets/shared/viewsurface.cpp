#include "shared/viewsurface.h"

#include "shared/tabwalkkeys.h"

namespace Dayplex {

ViewSurface::ViewSurface(const QLoggingCategory &category, QWidget *parent)
    : QWidget(parent)
    , m_category(category)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool ViewSurface::event(QEvent *event)
{
    const auto keyPress = [this](int key, Qt::KeyboardModifiers modifiers) {
        return viewKeyPress(key, modifiers);
    };
    return walkBeforeQt(*event, m_category, keyPress) || QWidget::event(event);
}

} // namespace Dayplex

#ifndef DAYPLEX_VIEWSOURCEBASE_H
#define DAYPLEX_VIEWSOURCEBASE_H

// What the sources of both views share: the drawing surface they read for, and its view's
// private part, found through the surface's parent.
#include "accessibility/accessibleview.h"

#include <QWidget>

#include <memory>

namespace Dayplex {

template <typename View, typename Private>
class ViewSourceBase : public AccessibleViewSource
{
public:
    explicit ViewSourceBase(QWidget *surface)
        : m_surface(surface)
    {
    }

    // The source for a surface whose parent is such a view; null for any other.
    template <typename Source>
    static std::unique_ptr<AccessibleViewSource> sourceFor(QWidget *surface)
    {
        if (!qobject_cast<View *>(surface->parentWidget()))
            return nullptr;
        return std::make_unique<Source>(surface);
    }

protected:
    // Null while the view is being destroyed: its private part may already be gone.
    Private *view() const
    {
        auto *control = qobject_cast<View *>(m_surface->parentWidget());
        return control ? Private::get(control) : nullptr;
    }

    QWidget *const m_surface;
};

} // namespace Dayplex

#endif

#ifndef DAYPLEX_VIEWSURFACE_H
#define DAYPLEX_VIEWSURFACE_H

#include "shared/guarded.h"

#include <QWidget>

class QLoggingCategory;

namespace Dayplex {

// The drawing surface of a view: it shows the view's picture and hands the pointer and key
// events to the view's front end, which takes its focus from it. Tab and Shift+Tab, which Qt
// would take to move the focus, go to the view's keys first, so that they walk the
// appointments. A handler's error is logged in the view's category and stays out of the event
// loop.
class ViewSurface : public QWidget
{
    Q_OBJECT

public:
    ViewSurface(const QLoggingCategory &category, QWidget *parent);

protected:
    bool event(QEvent *event) override;
    // The view's answer to a key (a Qt::Key with its modifiers); false when it goes on.
    virtual bool viewKeyPress(int key, Qt::KeyboardModifiers modifiers) = 0;
    // Runs an event handler of the view.
    template<typename F>
    void guard(F f) const
    {
        guarded(m_category, f);
    }

private:
    const QLoggingCategory &m_category;
};

} // namespace Dayplex

#endif

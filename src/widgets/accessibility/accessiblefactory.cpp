#include "accessibility/accessiblefactory.h"

#include "accessibility/accessibleview.h"
#include "accessibility/viewsources.h"
#include "dialogs/cfrmconfiglayout.h"
#include "shared/viewsurface.h"

#include <QAccessibleWidget>
#include <QTimer>

namespace Dayplex {

namespace {

// A colour swatch opens its chooser on a click, Space or Enter: to a screen reader a button.
class SwatchAccessible : public QAccessibleWidget
{
public:
    explicit SwatchAccessible(cColorLabel *swatch)
        : QAccessibleWidget(swatch, QAccessible::Button)
    {
    }

    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (name != pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        // The chooser is modal: the screen reader gets its answer first.
        auto *swatch = static_cast<cColorLabel *>(widget());
        QTimer::singleShot(0, swatch, [swatch] {
            if (swatch->isEnabled())
                Q_EMIT swatch->clicked();
        });
    }
};

QAccessibleInterface *createInterface(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    std::unique_ptr<AccessibleViewSource> source;
    if (className == QLatin1String(ViewSurface::staticMetaObject.className())) {
        // The view's source tells by the control the surface serves.
        source = calendarAccessibleSource(widget);
        if (!source)
            source = ganttAccessibleSource(widget);
    } else if (className == QLatin1String(cColorLabel::staticMetaObject.className()))
        return new SwatchAccessible(static_cast<cColorLabel *>(widget));
    return source ? new ViewAccessible(widget, std::move(source)) : nullptr;
}

} // namespace

void installAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(&createInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace Dayplex

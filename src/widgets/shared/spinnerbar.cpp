#include "shared/spinnerbar.h"

#include "shared/spinnerstep.h"
#include "shared/wheelnotches.h"

#include <QScopeGuard>
#include <QWheelEvent>

#include <cstdlib>

namespace Dayplex {

SpinnerBar::SpinnerBar(Qt::Orientation orientation, const QString &name, qint32 page, QWidget *parent)
    : QScrollBar(orientation, parent)
    , m_page(page)
{
    setObjectName(name);
    setRange(0, 100);
    setPageStep(10);
    setSingleStep(1);
    setValue(kSpinnerRest);
    // A dragged thumb counts once, when it is let go.
    setTracking(false);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QScrollBar::valueChanged, this, &SpinnerBar::valueMoved);
}

void SpinnerBar::valueMoved(int value)
{
    if (m_resting)
        return;
    const qint32 steps = spinnerStep(value, m_page);
    {
        m_resting = true;
        const auto rested = qScopeGuard([this] { m_resting = false; });
        setValue(kSpinnerRest);
    }
    if (stepped)
        stepped(steps);
}

void SpinnerBar::wheelEvent(QWheelEvent *event)
{
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (delta == 0) {
        QScrollBar::wheelEvent(event);
        return;
    }
    event->accept();
    const int notches = takeWholeNotches(m_wheelRemainder, delta, pageStep());
    for (int n = 0; n < std::abs(notches); ++n)
        triggerAction(notches > 0 ? SliderSingleStepSub : SliderSingleStepAdd);
}

} // namespace Dayplex

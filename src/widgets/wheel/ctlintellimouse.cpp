#include "wheel/ctlintellimouse_p.h"

#include "shared/logging.h"

#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

namespace Dayplex {

namespace {

qint32 toWord(double value)
{
    if (!std::isfinite(value))
        return 0;
    return qint32(std::clamp(std::nearbyint(value), double(std::numeric_limits<qint16>::min()),
                             double(std::numeric_limits<qint16>::max())));
}

qint32 makeLong(qint32 low, qint32 high)
{
    return qint32((quint32(quint16(high)) << 16) | quint32(quint16(low)));
}

} // namespace

WheelMessage toWheelMessage(const QWheelEvent &event)
{
    qint32 key = 0;
    const Qt::MouseButtons buttons = event.buttons();
    if (buttons & Qt::LeftButton)
        key |= MkLButton;
    if (buttons & Qt::RightButton)
        key |= MkRButton;
    if (buttons & Qt::MiddleButton)
        key |= MkMButton;
    if (buttons & Qt::XButton1)
        key |= MkXButton1;
    if (buttons & Qt::XButton2)
        key |= MkXButton2;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & Qt::ShiftModifier)
        key |= MkShift;
    if (modifiers & Qt::ControlModifier)
        key |= MkControl;

    const QPointF global = event.globalPosition();
    WheelMessage message;
    message.w = makeLong(key, toWord(event.angleDelta().y()));
    message.l = makeLong(toWord(global.x()), toWord(global.y()));
    return message;
}

ctlIntellimousePrivate::ctlIntellimousePrivate(ctlIntellimouse *q)
    : q(q)
{
}

ctlIntellimousePrivate::~ctlIntellimousePrivate()
{
    if (window)
        window->removeEventFilter(this);
}

void ctlIntellimousePrivate::DecodeWheelMessage(qint32 a, qint32 w, qint32 l, qint32 b)
{
    Q_UNUSED(a);
    Q_UNUSED(b);
    const qint32 key = tools.LoWord(w);
    const qint32 delta = tools.HiWord(w);
    const qint32 x = tools.LoWord(l);
    const qint32 y = tools.HiWord(l);
    Q_EMIT q->Wheel(key, delta, x, y);
}

void ctlIntellimousePrivate::watch(QWidget *newWindow)
{
    if (window == newWindow)
        return;
    if (window)
        window->removeEventFilter(this);
    window = newWindow;
    if (window)
        window->installEventFilter(this);
}

bool ctlIntellimousePrivate::eventFilter(QObject *watchedObject, QEvent *event)
{
    if (event->type() == QEvent::Wheel && watchedObject == window) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        // Only the vertical wheel sends the wheel message; a tilt has a message of its own.
        if (wheel->angleDelta().y() != 0) {
            const WheelMessage message = toWheelMessage(*wheel);
            try {
                DecodeWheelMessage(0, message.w, message.l, 0);
            } catch (...) {
                // A failing host handler must not take the window's own wheel handling with it.
                warnCaught(lcWheel(), QStringLiteral("wheel handler of the host"));
            }
        }
    }
    // The window still handles its wheel itself.
    return false;
}

/*! Creates the control hidden: it has nothing to show. */
ctlIntellimouse::ctlIntellimouse(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<ctlIntellimousePrivate>(this))
{
    setVisible(false);
}

ctlIntellimouse::~ctlIntellimouse() = default;

/*!
    The window whose wheel turns are reported as Wheel: key flags (1 left, 2 right, 16 middle
    button, 4 shift, 8 control), the delta (120 per notch, positive away from the user) and
    the mouse position in screen coordinates. The window is found with QWidget::find; each
    wheel event reaching it raises Wheel once, and the window still handles the event itself.
    0 or a handle that belongs to no widget of this application stops the reporting. Setting
    the same window again changes nothing; a window destroyed before the control simply stops
    reporting.
*/
void ctlIntellimouse::setHwnd(WId hwnd)
{
    d->watch(hwnd == 0 ? nullptr : QWidget::find(hwnd));
}

} // namespace Dayplex

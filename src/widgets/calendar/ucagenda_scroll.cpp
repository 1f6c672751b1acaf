// The calendar's children and scrolling: the drawing surface and the two scroll bars used as
// spinners, scrolling by days and rows, the wheel, and the auto-scroll timer of a drag.
#include "calendar/ucagenda_p.h"

#include "calendar/calendarsurface.h"
#include "shared/guarded.h"
#include "shared/logging.h"

#include <dayplex/error.h>

#include <QScopeGuard>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace Dayplex {

namespace {

// The bars are spinners: their thumb rests in the middle, and only the direction and size of
// a step count.
constexpr int kBarMiddle = 50;
constexpr int kWheelNotch = 120;
constexpr qint32 kRowsPerPage = 10;

// Adds a wheel turn to what is left of earlier ones and takes out the whole notches in it.
// Turning back drops what was left of a notch the other way; a fling counts at most a page of
// pageNotches, as Qt's own sliders count it, and the rest is dropped.
int takeWholeNotches(int &remainder, int delta, int pageNotches)
{
    if ((delta > 0 && remainder < 0) || (delta < 0 && remainder > 0))
        remainder = 0;
    const int limit = pageNotches * kWheelNotch;
    remainder = std::clamp(remainder + std::clamp(delta, -limit, limit), -limit, limit);
    const int notches = remainder / kWheelNotch;
    remainder -= notches * kWheelNotch;
    return notches;
}

// The wheel over a spinner steps like its arrows, a notch per step; the bar's own handling
// would step three at once, which the spinner reads as a page.
class SpinnerWheel : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        auto *bar = qobject_cast<QScrollBar *>(watched);
        const QPoint angle = static_cast<QWheelEvent *>(event)->angleDelta();
        const int delta = angle.y() != 0 ? angle.y() : angle.x();
        if (!bar || delta == 0)
            return false;
        const int notches = takeWholeNotches(m_remainder, delta, bar->pageStep());
        for (int n = 0; n < std::abs(notches); ++n)
            bar->triggerAction(notches > 0 ? QAbstractSlider::SliderSingleStepSub
                                           : QAbstractSlider::SliderSingleStepAdd);
        return true;
    }

private:
    int m_remainder = 0;
};

QScrollBar *makeSpinner(Qt::Orientation orientation, const QString &name, QWidget *parent)
{
    auto *bar = new QScrollBar(orientation, parent);
    bar->setObjectName(name);
    bar->setRange(0, 100);
    bar->setPageStep(10);
    bar->setSingleStep(1);
    bar->setValue(kBarMiddle);
    // A dragged thumb counts once, when it is let go.
    bar->setTracking(false);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->installEventFilter(new SpinnerWheel(bar));
    return bar;
}

} // namespace

void ucAgendaPrivate::createChildren()
{
    pic = new CalendarSurface(this, q);
    pic->setObjectName(QStringLiteral("pic"));
    q->setFocusProxy(pic);

    hScroll = makeSpinner(Qt::Horizontal, QStringLiteral("HScroll"), q);
    vScroll = makeSpinner(Qt::Vertical, QStringLiteral("VScroll"), q);
    QObject::connect(hScroll, &QScrollBar::valueChanged, q, [this] { guarded(lcCalendar(), [this] { hScrollChange(); }); });
    QObject::connect(vScroll, &QScrollBar::valueChanged, q, [this] { guarded(lcCalendar(), [this] { vScrollChange(); }); });

    timerAutoScroll = new QTimer(q);
    timerAutoScroll->setObjectName(QStringLiteral("timerAutoScroll"));
    QObject::connect(timerAutoScroll, &QTimer::timeout, q, [this] {
        try {
            autoScrollTick();
        } catch (...) {
            warnCaught(lcCalendar(), QStringLiteral("automatic scrolling stopped"));
            q->StopAutoScroll();
        }
    });
}

void ucAgendaPrivate::layoutChildren(qint32 width, qint32 height)
{
    const qint32 barWidth = vScroll->sizeHint().width();
    const qint32 barHeight = hScroll->sizeHint().height();
    surface.area = QRect(0, 0, std::max(width - barWidth, 0), std::max(height - barHeight, 0));
    pic->setGeometry(surface.area);
    vScroll->setGeometry(width - barWidth, 0, barWidth, std::max(height - barHeight, 0));
    hScroll->setGeometry(0, height - barHeight, std::max(width - barWidth, 0), barHeight);
    q->Repaint();
}

void ucAgendaPrivate::hScrollChange()
{
    // Putting the thumb back raises the notification again; that one does not scroll.
    if (surface.hScrollGuard)
        return;
    surface.hScrollGuard = true;
    const int v = hScroll->value();
    const qint32 n = v == 51 ? 1 : v == 49 ? -1 : v > 52 ? 999 : v < 48 ? -999 : 0;
    struct Reset
    {
        ucAgendaPrivate *d;
        ~Reset()
        {
            d->hScroll->setValue(kBarMiddle);
            d->surface.hScrollGuard = false;
        }
    } reset{this};
    q->Scroll(n);
}

void ucAgendaPrivate::vScrollChange()
{
    if (surface.vScrollGuard)
        return;
    surface.vScrollGuard = true;
    const auto release = qScopeGuard([this] { surface.vScrollGuard = false; });
    const int v = vScroll->value();
    const qint32 rows = v == 51 ? 1 : v == 49 ? -1 : v > 52 ? kRowsPerPage : v < 48 ? -kRowsPerPage : 0;
    vScroll->setValue(kBarMiddle);
    scrollRows(rows);
}

void ucAgendaPrivate::scrollRows(qint32 rows)
{
    // The last slot of the day may become the first visible row, whatever fits below it.
    const Date lastSlot = cTools::NormalizeDate(1 - grid.timeRaster);
    Date t = cTools::NormalizeDate(grid.firstTime + double(rows) * grid.timeRaster);
    if (t < 0)
        t = 0;
    else if (t > lastSlot)
        t = lastSlot;
    grid.firstTime = t;
    showPicture();
}

void ucAgendaPrivate::wheel(int angleDelta)
{
    // At most a page of rows per turn, like the time bar's page step.
    const int notches = takeWholeNotches(surface.wheelRemainder, angleDelta, kRowsPerPage);
    if (notches == 0)
        return;
    // Turning away from the user shows earlier times, as the up arrow does.
    scrollRows(-notches);
}

/*!
    Scrolls the displayed days and repaints: by one day for 1 and -1, otherwise by the number
    of displayed days in the direction of the sign (0 shows the same days again). A page step
    is aligned on the AlignOnWeekday weekday, a day step is not. Asks the host for data
    (NeedDates) when the new days leave the filled range. A value that is not a number throws
    Dayplex::Error (type mismatch); an empty value counts as 0.
*/
void ucAgenda::Scroll(const QVariant &lngDirection)
{
    double value = 0;
    if (lngDirection.isValid() && !lngDirection.isNull()) {
        bool ok = false;
        value = lngDirection.toDouble(&ok);
        if (!ok)
            throw Error(TypeMismatch, QStringLiteral("Scroll: eine Zahl wird erwartet."));
    }
    if (!std::isfinite(value))
        throw Error(InvalidArgument, QStringLiteral("Scroll: ungültige Richtung."));
    const qint32 sign = value > 0 ? 1 : value < 0 ? -1 : 0;
    const qint32 n = std::abs(value) == 1 ? sign : GetAnzahlTage() * sign;
    double last = d->grid.lastDay + n;
    SetDisplayedRange(d->grid.firstDay + n, &last, false, std::abs(n) > 1);
    Repaint();
}

/*! Stops the automatic scrolling of a drag. */
void ucAgenda::StopAutoScroll()
{
    d->timerAutoScroll->stop();
    d->gesture.stopAutoScroll();
}

/*!
    Whether the rest of the day from FirstTime on, and two rows more, fits on the drawing
    surface. Uses the geometry of the last paint.
*/
bool ucAgenda::isLastRowVisible()
{
    const GridGeometry &g = d->scene.grid.geo;
    // 24:00:10: ten seconds past the end of the day, so that rounding noise in FirstTime
    // cannot lose the last row.
    const double rows = (1.0 + 10 * kOneSecond - d->grid.firstTime) / d->grid.timeRaster + 2;
    const double y = std::nearbyint(d->scene.grid.firstRowTop() + rows * g.lngZeilenhoehe);
    return y < double(d->surface.area.top()) + d->surface.area.height();
}

} // namespace Dayplex

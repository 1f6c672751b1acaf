// The calendar's children and scrolling: the drawing surface and the two scroll bars used as
// spinners, scrolling by days and rows, the wheel, and the auto-scroll timer of a drag.
#include "calendar/ucagenda_p.h"

#include "calendar/calendararguments.h"
#include "shared/viewsurface.h"
#include "shared/guarded.h"
#include "shared/logging.h"
#include "shared/spinnerstep.h"
#include "shared/wheelnotches.h"

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

constexpr qint32 kRowsPerPage = 10;

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
    bar->setValue(kSpinnerRest);
    // A dragged thumb counts once, when it is let go.
    bar->setTracking(false);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->installEventFilter(new SpinnerWheel(bar));
    return bar;
}

} // namespace

void ucAgendaPrivate::createChildren()
{
    pic = new ViewSurface(*this, lcCalendar(), q);
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
    core.surfaceArea = QRect(0, 0, std::max(width - barWidth, 0), std::max(height - barHeight, 0));
    pic->setGeometry(core.surfaceArea);
    vScroll->setGeometry(width - barWidth, 0, barWidth, std::max(height - barHeight, 0));
    hScroll->setGeometry(0, height - barHeight, std::max(width - barWidth, 0), barHeight);
    q->Repaint();
}

void ucAgendaPrivate::hScrollChange()
{
    // Putting the thumb back raises the notification again; that one does not scroll.
    if (spinnerGuards.horizontal)
        return;
    spinnerGuards.horizontal = true;
    const qint32 n = spinnerStep(hScroll->value(), kPageOfDays);
    struct Reset
    {
        ucAgendaPrivate *d;
        ~Reset()
        {
            d->hScroll->setValue(kSpinnerRest);
            d->spinnerGuards.horizontal = false;
        }
    } reset{this};
    q->Scroll(n);
}

void ucAgendaPrivate::vScrollChange()
{
    if (spinnerGuards.vertical)
        return;
    spinnerGuards.vertical = true;
    const auto release = qScopeGuard([this] { spinnerGuards.vertical = false; });
    const qint32 rows = spinnerStep(vScroll->value(), kRowsPerPage);
    vScroll->setValue(kSpinnerRest);
    scrollRows(rows);
}

void ucAgendaPrivate::scrollRows(qint32 rows)
{
    core.scrollRows(rows);
    showPicture();
}

void ucAgendaPrivate::surfaceWheel(int angleDelta)
{
    const qint32 rows = core.wheelRows(angleDelta);
    if (rows != 0)
        scrollRows(rows);
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
    d->core.scrollDays(scrollDirectionArgument(lngDirection));
    Repaint();
}

/*! Stops the automatic scrolling of a drag. */
void ucAgenda::StopAutoScroll()
{
    d->timerAutoScroll->stop();
    d->core.gesture.stopAutoScroll();
}

/*!
    Whether the rest of the day from FirstTime on, and two rows more, fits on the drawing
    surface. Uses the geometry of the last paint.
*/
bool ucAgenda::isLastRowVisible()
{
    return d->core.lastRowVisible();
}

} // namespace Dayplex

// The calendar front end's parts and scrolling: the drawing surface and the two scroll bars
// used as spinners, scrolling by rows, the wheel, and the auto-scroll timer of a drag.
#include "calendar/ucagenda_p.h"

#include "calendar/calendarmenu.h"
#include "shared/viewsurface.h"
#include "shared/guarded.h"
#include "shared/logging.h"
#include "shared/spinnerbar.h"
#include "shared/spinnerstep.h"

#include <QTimer>
#include <algorithm>

namespace Dayplex {

ucAgendaPrivate::ucAgendaPrivate(ucAgenda *q)
    : q(q)
{
}

ucAgendaPrivate::~ucAgendaPrivate() = default;

void ucAgendaPrivate::createChildren()
{
    pic = new ViewSurface(*this, lcCalendar(), q);
    pic->setObjectName(QStringLiteral("pic"));
    q->setFocusProxy(pic);

    hScroll = new SpinnerBar(Qt::Horizontal, QStringLiteral("HScroll"), kPageOfDays, q);
    vScroll = new SpinnerBar(Qt::Vertical, QStringLiteral("VScroll"), AgendaCore::kRowsPerPage, q);
    hScroll->stepped = [this](qint32 days) { guarded(lcCalendar(), [&] { q->Scroll(days); }); };
    vScroll->stepped = [this](qint32 rows) { guarded(lcCalendar(), [&] { scrollRows(rows); }); };

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

void ucAgendaPrivate::scrollRows(qint32 rows)
{
    core.scrollRows(rows);
    showPicture();
}

void ucAgendaPrivate::dropWheelTurns()
{
    hScroll->dropWheelTurn();
    vScroll->dropWheelTurn();
    core.wheelRemainder = 0;
}

void ucAgendaPrivate::surfaceWheel(int angleDelta)
{
    const qint32 rows = core.wheelRows(angleDelta);
    if (rows != 0)
        scrollRows(rows);
}

} // namespace Dayplex

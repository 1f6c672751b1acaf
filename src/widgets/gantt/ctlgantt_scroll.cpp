// The resource view front end's parts: the search panel, the picture area and the two scroll
// bars, placed in the control's area.
#include "gantt/ctlgantt_p.h"

#include "gantt/ganttsearchpanel.h"
#include "shared/guarded.h"
#include "shared/logging.h"
#include "shared/spinnerbar.h"
#include "shared/spinnerstep.h"

#include <QScrollBar>

namespace Dayplex {

ctlGanttPrivate::ctlGanttPrivate(ctlGantt *q)
    : q(q)
{
}

void ctlGanttPrivate::createChildren()
{
    panel = new GanttSearchPanel(q);
    calpic = new ViewSurface(*this, lcGantt(), q);
    calpic->setObjectName(QStringLiteral("calpic"));
    hScroll = new SpinnerBar(Qt::Horizontal, QStringLiteral("HScroll"), kPageOfDays, q);
    hScroll->stepped = [this](qint32 days) { guarded(lcGantt(), [&] { q->Scroll(days); }); };
    vScroll = new RowScrollBar(q);
    vScroll->setObjectName(QStringLiteral("VScroll"));
    vScroll->setRange(1, 1);
    vScroll->setPageStep(1);
    QObject::connect(vScroll, &QScrollBar::valueChanged, q, [this] {
        if (!noRepaint)
            q->Repaint();
    });
}

QRect ctlGanttPrivate::pictureRect() const
{
    const int barWidth = vScroll->sizeHint().width();
    const int barHeight = hScroll->sizeHint().height();
    // The chart moves below the search panel while it shows, with a gap of 5 pixels.
    const int top = panel->isVisibleTo(q) ? panel->y() + panel->height() + 5 : 0;
    return QRect(0, top, qMax(0, q->width() - barWidth), qMax(0, q->height() - barHeight - top));
}

void ctlGanttPrivate::arrange()
{
    if (panel->isVisibleTo(q)) {
        const int width = q->width();
        const int height = panel->hasHeightForWidth() ? panel->heightForWidth(width)
                                                      : panel->sizeHint().height();
        panel->setGeometry(0, 0, width, height);
    }
    const QRect picture = pictureRect();
    calpic->setGeometry(picture);
    hScroll->setGeometry(0, picture.bottom() + 1, picture.width(), hScroll->sizeHint().height());
    vScroll->setGeometry(picture.width(), picture.top(), vScroll->sizeHint().width(),
                         picture.height());
}

qint32 ctlGanttPrivate::firstRow() const
{
    return vScroll->value();
}

void ctlGanttPrivate::updateRowMaximum()
{
    noRepaint = true;
    vScroll->setMaximum(qMax(core.model.rowCount(), vScroll->minimum()));
    noRepaint = false;
}

} // namespace Dayplex

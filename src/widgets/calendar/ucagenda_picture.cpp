// The calendar's surface shows the core's kept picture and what lies over it on screen.
#include "calendar/ucagenda_p.h"

#include "shared/viewsurface.h"

#include <QPainter>

namespace Dayplex {

AgendaCore &ucAgendaPrivate::synced()
{
    core.forPrinting = q->ForPrinting;
    return core;
}

const QImage &ucAgendaPrivate::picture(QSize size, qreal ratio)
{
    return synced().picture(size, ratio);
}

void ucAgendaPrivate::showPicture()
{
    // A hidden surface paints nothing, and neither does one whose control prints.
    if (!pic || !pic->isVisible() || !pic->updatesEnabled() || q->ForPrinting)
        return;
    const QSize size = pic->size();
    const qreal ratio = pic->devicePixelRatioF();
    const quint64 rendersBefore = core.kept.renders;
    // A picture painted whole goes straight to the surface when it paints.
    const AgendaCore::PictureChange change =
        synced().prepareShow(size, ratio, pic->hasFocus() && core.gesture.keyboardInUse());
    if (!core.kept.unshown.isEmpty())
        pic->repaint(core.kept.unshown);
    // A surface whose window is not on the screen yet did not paint: hit-testing reads the
    // new scene all the same.
    if (change == AgendaCore::PictureChange::Whole && core.kept.renders == rendersBefore)
        picture(size, ratio);
}

bool ucAgendaPrivate::surfacePaint(QWidget &surface, const QRegion &exposed)
{
    if (q->ForPrinting) {
        // What is left unpainted now is painted at the next Repaint.
        core.kept.unshown += exposed;
        return false;
    }
    QPainter painter(&surface);
    paintSurface(&painter, exposed);
    return true;
}

void ucAgendaPrivate::paintSurface(QPainter *painter, const QRegion &exposed)
{
    const QSize size = pic->size();
    if (!screenWhilePrinting.isNull()) {
        // The view's state is the print job's: the screen keeps what it showed.
        painter->drawImage(QPointF(0, 0), screenWhilePrinting);
        return;
    }
    const qreal ratio = pic->devicePixelRatioF();
    const QImage *kept = synced().paintForSurface(size, ratio, [&] { return windowPixels(*painter, size, ratio); },
                                                  exposed.boundingRect());
    // The painter is clipped to the exposed part: only that is painted and copied.
    if (kept)
        painter->drawImage(QPointF(0, 0), *kept);
    core.paintGhost(*painter, size.width(), size.height());
    if (pic->hasFocus() && core.gesture.keyboardInUse())
        core.paintFocusFrame(*painter, size.width(), size.height());
    core.kept.unshown -= exposed;
    // The picture changed beyond the part asked for: the rest follows.
    if (!core.kept.unshown.isEmpty())
        pic->update(core.kept.unshown);
}

} // namespace Dayplex

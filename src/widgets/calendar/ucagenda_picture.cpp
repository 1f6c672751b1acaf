// The calendar's kept picture: painted again only when what it shows has changed.
#include "calendar/ucagenda_p.h"

#include "calendar/calendarpainter.h"
#include "shared/cdc.h"

#include <QPainter>

namespace Dayplex {

const QImage &ucAgendaPrivate::picture(QSize size, qreal ratio)
{
    // Each view shows an end before its start as the start, and keeps it so; a change this
    // makes is a change of the store, which the key below sees.
    data.store.repairEnds();
    const ScenePictureKey key = sceneInput(QRect(QPoint(0, 0), size), false).pictureKey();
    if (kept.valid && kept.key == key && kept.image.devicePixelRatio() == ratio)
        return kept.image;

    const QRect area(0, 0, size.width(), size.height());
    const QSize pixels = cDC::pictureSize(size, ratio);
    if (kept.image.size() != pixels || kept.image.devicePixelRatio() != ratio) {
        // A new size: the one image that is filled and kept while the size stays.
        kept.image = QImage(pixels, QImage::Format_RGB32);
        kept.image.setDevicePixelRatio(ratio);
        kept.image.fill(Qt::white);
        kept.valid = false;
    }
    const bool onlySelection = kept.valid && kept.key.first == key.first;
    QFont font = settings.style.font;
    // Draws on the kept image through a cDC set up as for the screen, within clip if given.
    const auto onImage = [&](const QRegion *clip, const auto &draw) {
        QPainter painter(&kept.image);
        if (clip)
            painter.setClipRegion(*clip);
        cDC dc;
        dc.Initialize(&painter, area.width(), area.height(), false);
        dc.setFont(&font);
        draw(dc);
    };
    CalendarScene next;
    std::optional<QRegion> changed;
    onImage(nullptr, [&](cDC &dc) {
        next = computeScene(dc, area, dc.textWidth(QStringLiteral("w")),
                            dc.textHeight(QStringLiteral("Wy")), false,
                            onlySelection ? &scene : nullptr);
        if (onlySelection)
            changed = changedCells(scene, next);
        if (!changed) {
            paintCalendar(dc, next, false, nullptr, &insides);
            insides.sweep();
        }
    });
    // Only the cells whose colours changed, and what lies on them, are painted again.
    if (changed && !changed->isEmpty())
        onImage(&*changed, [&](cDC &dc) { paintCalendar(dc, next, false, &*changed, &insides); });
    kept.unshown += changed ? *changed : QRegion(area);
    scene = std::move(next);
    kept.key = key;
    kept.valid = true;
    ++kept.renders;
    return kept.image;
}

void ucAgendaPrivate::showPicture()
{
    // A hidden surface paints nothing, and neither does one whose control prints.
    if (!pic || !pic->isVisible() || !pic->updatesEnabled() || q->ForPrinting)
        return;
    picture(pic->size(), pic->devicePixelRatioF());
    // The keyboard's focus frame follows the selection and the walk: it is drawn anew whole.
    if (pic->hasFocus() && gesture.keyboardInUse())
        kept.unshown = QRegion(pic->rect());
    if (!kept.unshown.isEmpty())
        pic->repaint(kept.unshown);
}

void ucAgendaPrivate::paintSurface(QPainter *painter, const QRegion &exposed)
{
    const QSize size = pic->size();
    if (!screenWhilePrinting.isNull()) {
        // The view's state is the print job's: the screen keeps what it showed.
        painter->drawImage(QPointF(0, 0), screenWhilePrinting);
        return;
    }
    // The painter is clipped to the exposed part: only that is copied.
    painter->drawImage(QPointF(0, 0), picture(size, pic->devicePixelRatioF()));
    paintGhost(painter, size.width(), size.height());
    if (pic->hasFocus() && gesture.keyboardInUse())
        paintFocusFrame(painter, size.width(), size.height());
    kept.unshown -= exposed;
    // The picture changed beyond the part asked for: the rest follows.
    if (!kept.unshown.isEmpty())
        pic->update(kept.unshown);
}

} // namespace Dayplex

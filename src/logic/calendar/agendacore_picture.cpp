// The calendar core's kept picture, painted again only when what it shows has changed, the
// drag ghost over it, and the rows it shows.
#include "calendar/agendacore.h"

#include "calendar/calendarpainter.h"
#include "shared/cdc.h"
#include "shared/focusframe.h"
#include "shared/toolbox.h"
#include "shared/wheelnotches.h"

#include <dayplex/error.h>

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace Dayplex {

ScenePictureKey AgendaCore::pictureKey(QSize size)
{
    // Each view shows an end before its start as the start, and keeps it so; a change this
    // makes is a change of the store, which the key sees.
    data.store.repairEnds();
    return sceneInput(QRect(QPoint(0, 0), size), false).pictureKey();
}

std::optional<QRegion> AgendaCore::paintPicture(QImage &target, QSize size, bool cellsOnly,
                                                const QRegion *only)
{
    const QRect area(0, 0, size.width(), size.height());
    QFont font = settings.style.font;
    // Draws on the target through a cDC set up as for the screen, within clip if given.
    const auto onImage = [&](const QRegion *clip, const auto &draw) {
        QPainter painter(&target);
        if (clip)
            painter.setClipRegion(*clip);
        cDC dc;
        dc.Initialize(&painter, area.width(), area.height(), false);
        dc.setFont(&font);
        draw(dc);
    };
    CalendarScene next;
    std::optional<QRegion> changed;
    onImage(only, [&](cDC &dc) {
        next = computeScene(dc, area, dc.textWidth(QStringLiteral("w")),
                            dc.textHeight(QStringLiteral("Wy")), false,
                            cellsOnly ? &scene : nullptr);
        if (cellsOnly)
            changed = changedCells(scene, next);
        if (!changed) {
            paintCalendar(dc, next, false, only, &insides);
            insides.sweep();
        }
    });
    // Only the cells whose colours changed, and what lies on them, are painted again.
    if (changed && !changed->isEmpty())
        onImage(&*changed, [&](cDC &dc) { paintCalendar(dc, next, false, &*changed, &insides); });
    scene = std::move(next);
    return changed;
}

AgendaCore::PictureChange AgendaCore::pictureChange(const ScenePictureKey &key, qreal ratio) const
{
    if (!kept.valid || kept.ratio != ratio || kept.key.first != key.first)
        return PictureChange::Whole;
    // Cells are painted onto the image: an owed one catches up first, once, and follows the
    // selection by its cells from then on (a drag moves it at every step).
    return kept.key == key ? PictureChange::None : PictureChange::Cells;
}

bool AgendaCore::keptIs(const ScenePictureKey &key, qreal ratio) const
{
    return kept.valid && kept.key == key && kept.ratio == ratio;
}

AgendaCore::PictureChange AgendaCore::prepareShow(QSize size, qreal ratio, bool focusFrame)
{
    const ScenePictureKey key = pictureKey(size);
    const PictureChange change = pictureChange(key, ratio);
    if (change == PictureChange::Cells)
        picture(size, ratio, key);
    // The keyboard's focus frame follows the selection and the walk: it is drawn anew whole.
    if (change == PictureChange::Whole || focusFrame)
        kept.unshown = QRegion(QRect(QPoint(0, 0), size));
    return change;
}

const QImage *AgendaCore::paintForSurface(QSize size, qreal ratio, const WindowPixels &windowPixels,
                                          const QRect &exposed)
{
    const ScenePictureKey key = pictureKey(size);
    // Not when the kept picture is current, or only its cells changed: those are copied.
    const PictureChange change = pictureChange(key, ratio);
    if (change == PictureChange::Whole || (change == PictureChange::None && kept.owed)) {
        if (std::optional<QImage> pixels = windowPixels()) {
            paintStraight(*pixels, size, key);
            return nullptr;
        }
    }
    return &picture(size, ratio, key, exposed);
}

void AgendaCore::paintStraight(QImage &target, QSize size, const ScenePictureKey &key)
{
    paintPicture(target, size, false);
    keepPainted(key, target.devicePixelRatio(), true, QRegion());
}

void AgendaCore::keepPainted(const ScenePictureKey &key, qreal ratio, bool owed, const QRegion &held)
{
    kept.key = key;
    kept.ratio = ratio;
    kept.valid = true;
    kept.owed = owed;
    kept.held = held;
    ++kept.renders;
}

bool AgendaCore::keepImageSized(QSize size, qreal ratio)
{
    const QSize pixels = cDC::pictureSize(size, ratio);
    if (kept.image.size() == pixels && kept.image.devicePixelRatio() == ratio)
        return true;
    // A new size: the one image that is kept while the size stays, filled white where it is
    // first painted, so that a paint of a corner touches only the corner's memory.
    kept.image = QImage(pixels, QImage::Format_RGB32);
    kept.image.setDevicePixelRatio(ratio);
    kept.blank = QRegion(0, 0, size.width(), size.height());
    return false;
}

void AgendaCore::fillBlank(const QRegion &part, QSize size)
{
    const QRegion blank = kept.blank & part;
    if (blank.isEmpty())
        return;
    if (blank == QRegion(0, 0, size.width(), size.height())) {
        kept.image.fill(Qt::white);
        kept.blank = QRegion();
        return;
    }
    kept.blank -= part;
    const qreal ratio = kept.image.devicePixelRatio();
    const QRect pixels = kept.image.rect();
    const quint32 white = 0xffffffffu;
    for (const QRect &r : blank) {
        // Every device pixel the logical rectangle touches.
        const QRect at = QRect(QPoint(int(std::floor(r.left() * ratio)), int(std::floor(r.top() * ratio))),
                               QPoint(int(std::ceil((r.right() + 1) * ratio)) - 1,
                                      int(std::ceil((r.bottom() + 1) * ratio)) - 1))
                         & pixels;
        for (int y = at.top(); y <= at.bottom(); ++y) {
            auto *line = reinterpret_cast<quint32 *>(kept.image.scanLine(y));
            std::fill(line + at.left(), line + at.right() + 1, white);
        }
    }
}

const QImage &AgendaCore::picture(QSize size, qreal ratio, const ScenePictureKey &key, const QRect &part)
{
    const QRect whole(0, 0, size.width(), size.height());
    const QRegion needed(part & whole);
    if (needed.isEmpty() || needed == QRegion(whole))
        return picture(size, ratio, key);
    const bool current = keptIs(key, ratio);
    if (current && (!kept.owed || needed.subtracted(kept.held).isEmpty()))
        return kept.image;
    // Only the time selection moved on a whole picture: its cells cost no more than a part.
    if (kept.valid && !kept.owed && kept.ratio == ratio && kept.key.first == key.first)
        return picture(size, ratio, key);
    if (!keepImageSized(size, ratio))
        kept.held = QRegion();
    fillBlank(needed, size);
    paintPicture(kept.image, size, false, &needed);
    if (current) {
        kept.held += needed;
        return kept.image;
    }
    kept.unshown += whole;
    keepPainted(key, ratio, true, needed);
    return kept.image;
}

const QImage &AgendaCore::picture(QSize size, qreal ratio)
{
    return picture(size, ratio, pictureKey(size));
}

const QImage &AgendaCore::picture(QSize size, qreal ratio, const ScenePictureKey &key)
{
    const bool current = keptIs(key, ratio);
    if (current && !kept.owed)
        return kept.image;
    const bool sameSize = keepImageSized(size, ratio);
    fillBlank(QRegion(0, 0, size.width(), size.height()), size);
    if (current) {
        // The screen shows this picture already: the image only catches up with it.
        paintPicture(kept.image, size, false);
        kept.owed = false;
        return kept.image;
    }
    const bool cellsOnly = kept.valid && !kept.owed && sameSize && kept.key.first == key.first;
    const std::optional<QRegion> changed = paintPicture(kept.image, size, cellsOnly);
    kept.unshown += changed ? *changed : QRegion(0, 0, size.width(), size.height());
    keepPainted(key, ratio, false, QRegion());
    return kept.image;
}

QVector<QRect> AgendaCore::ghostSpans(qint32 width, qint32 height) const
{
    if (ghost.none())
        return {};
    // The frame from (left, top) to (right, bottom), both corners included, every pixel
    // inverted once. Edges off the surface are kept just outside it, so that huge values
    // neither overflow nor show.
    const auto clampTo = [](qint64 v, qint32 limit) { return qint32(std::clamp<qint64>(v, -1, limit)); };
    const qint32 l = clampTo(std::min(ghost.left, ghost.right), width);
    const qint32 r = clampTo(std::max(ghost.left, ghost.right), width);
    const qint32 t = clampTo(std::min(ghost.top, ghost.bottom), height);
    const qint32 b = clampTo(std::max(ghost.top, ghost.bottom), height);
    QVector<QRect> spans{QRect(l, t, r - l + 1, 1)};
    if (b > t)
        spans << QRect(l, b, r - l + 1, 1);
    if (b - t > 1) {
        spans << QRect(l, t + 1, 1, b - t - 1);
        if (r > l)
            spans << QRect(r, t + 1, 1, b - t - 1);
    }
    return spans;
}

void AgendaCore::paintGhost(QPainter &painter, qint32 width, qint32 height) const
{
    const QVector<QRect> spans = ghostSpans(width, height);
    if (spans.isEmpty())
        return;
    painter.save();
    painter.setClipping(false);
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setPen(Qt::NoPen);
    for (const QRect &span : spans)
        painter.fillRect(span, Qt::white);
    painter.restore();
}

void AgendaCore::setGhost(qint32 left, qint32 top, qint32 width, qint32 height, QSize surfaceSize)
{
    const qint64 right = qint64(left) + width;
    const qint64 bottom = qint64(top) + height;
    if (right < std::numeric_limits<qint32>::min() || right > std::numeric_limits<qint32>::max()
        || bottom < std::numeric_limits<qint32>::min() || bottom > std::numeric_limits<qint32>::max())
        throw Error(Overflow, QStringLiteral("DrawDragDrop: das Rechteck ist zu groß."));
    for (const QRect &span : ghostSpans(surfaceSize.width(), surfaceSize.height()))
        kept.unshown += span;
    ghost = {left, top, qint32(right), qint32(bottom)};
    for (const QRect &span : ghostSpans(surfaceSize.width(), surfaceSize.height()))
        kept.unshown += span;
}

void AgendaCore::paintFocusFrame(QPainter &painter, qint32 width, qint32 height) const
{
    const GestureView view = gestureView();
    const QRect surface(0, 0, width, height);
    const QRect at = keyboardFocusRect(view, gesture.onAppointment(view));
    // Nothing to frame, or out of sight: the whole view has the keyboard.
    drawFocusFrame(painter, at.isEmpty() ? surface.adjusted(3, 3, -3, -3) : at, surface);
}

bool AgendaCore::lastRowVisible() const
{
    const GridGeometry &g = scene.grid.geo;
    // 24:00:10: ten seconds past the end of the day, so that rounding noise in FirstTime
    // cannot lose the last row.
    const double rows = (1.0 + 10 * kOneSecond - grid.firstTime) / grid.timeRaster + 2;
    const double y = std::nearbyint(scene.grid.firstRowTop() + rows * g.lngZeilenhoehe);
    return y < double(surfaceArea.top()) + surfaceArea.height();
}

void AgendaCore::scrollRows(qint32 rows)
{
    // The last slot of the day may become the first visible row, whatever fits below it.
    const Date lastSlot = cToolbox::NormalizeDate(1 - grid.timeRaster);
    Date t = cToolbox::NormalizeDate(grid.firstTime + double(rows) * grid.timeRaster);
    if (t < 0)
        t = 0;
    else if (t > lastSlot)
        t = lastSlot;
    grid.firstTime = t;
}

void AgendaCore::setFirstTime(Date value)
{
    requireValidDate(value, "FirstTime");
    grid.firstTime = CalendarGrid::roundDown(cToolbox::TimeOnly(value), grid.timeRaster);
}

Date AgendaCore::lastVisibleTime() const
{
    // Before the first paint the height is unknown: the rows down to the end of the day count.
    if (scene.rowsInSight == 0)
        return grid.endZeit;
    Date last = 0;
    for (qint32 k = 0; k < scene.rowsInSight; ++k) {
        const Date t = grid.firstTime + k * grid.timeRaster;
        if (t > grid.endZeit + kOneSecond)
            break;
        last = t;
    }
    return last;
}

bool AgendaCore::ensureVisible(Date moment)
{
    // Each pass scrolls a day or a row; a day has at most lastRow + 1 rows. The bound also
    // ends a host that moves the days back from its NeedDates handler.
    const int maxPasses = grid.lastRow + 32;
    bool moved = false;
    for (int pass = 0; pass < maxPasses; ++pass) {
        const VisibilityStep step = selectionVisibilityStep(moment, grid, lastVisibleTime());
        if (step.kind == VisibilityStep::Done)
            break;
        moved = true;
        if (step.kind == VisibilityStep::DayBack)
            scrollDays(-1);
        else if (step.kind == VisibilityStep::DayForward)
            scrollDays(1);
        else
            grid.firstTime = step.firstTime;
    }
    return moved;
}

qint32 AgendaCore::wheelRows(int angleDelta)
{
    // At most a page of rows per turn, like the time bar's page step.
    const int notches = takeWholeNotches(wheelRemainder, angleDelta, kRowsPerPage);
    // Turning away from the user shows earlier times, as the up arrow does.
    return -notches;
}

} // namespace Dayplex

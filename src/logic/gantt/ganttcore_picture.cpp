// The resource view core's pictures: the kept screen picture, painted anew only when what it
// shows changed, its corner, the frame of Drag over it, and the picture of paintToImage.
#include "gantt/ganttcore.h"

#include "gantt/ganttpainter.h"
#include "shared/cdc.h"
#include "shared/focusframe.h"
#include "shared/logging.h"

#include <dayplex/error.h>

#include <QPainter>

#include <limits>

namespace Dayplex {

namespace {

// The spans of the outline from (left, top) to (right, bottom), both corners included, each
// pixel in one span, cut to the area.
QVector<QRect> outline(const DragFrame &frame, const QRect &area)
{
    qint64 left = frame.left, top = frame.top, right = frame.right, bottom = frame.bottom;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    QVector<QRect> spans;
    const auto add = [&](qint64 x1, qint64 y1, qint64 x2, qint64 y2) {
        x1 = std::max<qint64>(x1, area.left());
        y1 = std::max<qint64>(y1, area.top());
        x2 = std::min<qint64>(x2, area.right());
        y2 = std::min<qint64>(y2, area.bottom());
        if (x1 <= x2 && y1 <= y2)
            spans.append(QRect(QPoint(int(x1), int(y1)), QPoint(int(x2), int(y2))));
    };
    add(left, top, right, top);
    if (bottom != top)
        add(left, bottom, right, bottom);
    if (bottom - top >= 2) {
        add(left, top + 1, left, bottom - 1);
        if (right != left)
            add(right, top + 1, right, bottom - 1);
    }
    return spans;
}

} // namespace

void GanttCore::drawScene(cDC &dc, const GanttContent &content, qint32 offsetx, qint32 offsety,
                          qint32 width, qint32 height, qint32 th, qint32 cw, bool showProposal)
{
    try {
        scene = ganttScene(content, offsetx, offsety, width, height, th, cw);
    } catch (...) {
        // The last picture stays the one hit-testing reads; this one shows its background.
        GanttHintergrund(dc, content, offsetx, offsety, width, height);
        throw;
    }
    if (showProposal && scene.panelUpdated) {
        lblVorschlag = scene.lblVorschlag;
        cmdNeuEnabled = scene.cmdNeuEnabled;
        if (proposalShown)
            proposalShown(lblVorschlag, cmdNeuEnabled);
    }
    GanttZeichnen(dc, content, scene, &insides);
}

void GanttCore::paintAll(cDC &dc, qint32 width, qint32 height, const GanttContent &shown)
{
    QFont font = settings.style.font;
    dc.setFont(&font);
    dc.UpdateFont();
    const qint32 th = dc.textHeight(QStringLiteral("W"));
    const qint32 cw = dc.textWidth(QStringLiteral("X"));
    // Errors are ignored from here on: what was drawn stays, the corner follows.
    try {
        drawScene(dc, shown, 0, 0, width, height, th, cw, true);
    } catch (...) {
        warnCaught(lcGantt(), QStringLiteral("chart not drawn"));
    }
    try {
        KopfTextZeichnen(dc, scene.layout, settings.style, model.datMaus);
    } catch (...) {
        warnCaught(lcGantt(), QStringLiteral("header text not drawn"));
    }
    insides.sweep();
}

QImage GanttCore::paintToImage(const QSize &size, qreal devicePixelRatio)
{
    // The picture covers every pixel with its background first: it is not filled.
    QImage image = cDC::unfilledPicture(size, devicePixelRatio);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    cDC dc;
    dc.Initialize(&painter, size.width(), size.height(), false);
    paintAll(dc, size.width(), size.height(), shownContent());
    // A full paint leaves no inverted frame behind; Drag starts afresh.
    drag = DragFrame();
    return image;
}

GanttContent GanttCore::shownContent() const
{
    return content(forPrinting, presentation == Presentation::Modern);
}

ScreenKey GanttCore::screenKey(const GanttContent &shown) const
{
    return {shown.pictureKey(), nowColumnShown(shown.now), surfaceSize};
}

qint32 GanttCore::nowColumnShown(Date now) const
{
    return GanttContent::nowColumn(screenScene.layout, now);
}

bool GanttCore::keptShowsNow() const
{
    return surfaceVisible && !picture.isNull() && !pictureStale && drag.none()
           && shownChanges.isEmpty() && cornerFullPaint && cornerDate == model.datMaus
           && screenKey(shownContent()) == pictureKey;
}

bool GanttCore::pictureChanged(const ScreenKey &key) const
{
    return pictureStale || !(key == pictureKey);
}

void GanttCore::sizePicture()
{
    const QSize size = surfaceSize;
    if (picture.size() != size)
        picture = cDC::fitsSurface(size.width(), size.height()) ? QImage(size, QImage::Format_RGB32)
                                                                : QImage();
}

void GanttCore::paintWhole(QImage *target, QSize size, const GanttContent &shown)
{
    cDC dc;
    dc.Initialize(target, size.width(), size.height(), false);
    paintAll(dc, size.width(), size.height(), shown);
}

void GanttCore::keepPainted(ScreenKey key, Date now, bool owed)
{
    ++pictureRenders;
    screenScene = scene;
    // The current-time line's column in the geometry just painted.
    key.nowColumn = nowColumnShown(now);
    pictureKey = key;
    pictureStale = false;
    pictureOwed = owed;
    cornerDate = model.datMaus;
    cornerFullPaint = true;
}

void GanttCore::settleScreen(bool rendered)
{
    // A full paint leaves no inverted frame behind; Drag starts afresh.
    drag = DragFrame();
    // Except for the landing frame of a move by the keys, which waits for Enter.
    if (const std::optional<BarRect> pending = gestures.pendingLanding(gestureView()))
        drawDragFrame(pending->left, pending->top, pending->width, pending->height);
    shownChanges = QRegion();
    if (!rendered) {
        scene = screenScene;
        if (cornerDate != model.datMaus || !cornerFullPaint)
            drawCorner(true);
    }
}

bool GanttCore::paintForSurface(const WindowPixels &windowPixels, bool keptOnly)
{
    if (keptOnly && !picture.isNull()) {
        catchUp();
        return false;
    }
    const GanttContent shown = shownContent();
    const ScreenKey key = screenKey(shown);
    const bool changed = pictureChanged(key);
    // Straight into the window's pixels (unscaled only: the kept picture is shown at the
    // window's ratio): no copy of the kept image.
    if (!keptOnly && (changed || pictureOwed) && windowPixels
        && cDC::fitsSurface(surfaceSize.width(), surfaceSize.height())) {
        if (std::optional<QImage> pixels = windowPixels()) {
            sizePicture();
            paintWhole(&*pixels, surfaceSize, shown);
            keepPainted(key, shown.now, true);
            settleScreen(true);
            invertFrame(*pixels, pixels->rect());
            return true;
        }
    }
    if (changed) {
        sizePicture();
        paintWhole(picture.isNull() ? nullptr : &picture, surfaceSize, shown);
        keepPainted(key, shown.now, false);
    } else {
        catchUp();
    }
    settleScreen(changed);
    return false;
}

void GanttCore::prepareScreen(bool keptOnly)
{
    paintForSurface(WindowPixels(), keptOnly);
}

void GanttCore::catchUp()
{
    if (!pictureOwed || picture.isNull())
        return;
    pictureOwed = false;
    const GanttContent shown = shownContent();
    // What the screen shows, unless it changed since: then the next paint paints it whole.
    if (pictureChanged(screenKey(shown)))
        pictureStale = true;
    paintWhole(&picture, picture.size(), shown);
    scene = screenScene;
}

void GanttCore::drawScreen(QPainter &target) const
{
    if (picture.isNull())
        return;
    target.drawImage(0, 0, picture);
    if (drag.none())
        return;
    for (const QRect &span : outline(drag, picture.rect())) {
        QImage inverted = picture.copy(span);
        inverted.invertPixels();
        target.drawImage(span.topLeft(), inverted);
    }
}

void GanttCore::paintFocusFrame(QPainter &target) const
{
    const BarRect bar = screenScene.bar(model, gestures.keyboardBar(model));
    const QRect area = picture.rect();
    // Without a bar on screen the whole view has the keyboard.
    drawFocusFrame(target, bar.isNull() ? area.adjusted(3, 3, -3, -3)
                                        : QRect(bar.left, bar.top, bar.width, bar.height),
                   area);
}

void GanttCore::invertUnderFrame(const QRect &area)
{
    invertFrame(picture, area);
}

void GanttCore::invertFrame(QImage &image, const QRect &area) const
{
    if (drag.none())
        return;
    for (const QRect &span : outline(drag, image.rect())) {
        const QRect covered = span & area;
        for (int y = covered.top(); y <= covered.bottom(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = covered.left(); x <= covered.right(); ++x)
                line[x] ^= 0x00FFFFFFu;
        }
    }
}

void GanttCore::frameChanges()
{
    for (const QRect &span : outline(drag, picture.rect()))
        shownChanges += span;
}

void GanttCore::drawDragFrame(qint32 left, qint32 top, qint32 width, qint32 height)
{
    if (left == drag.left)
        return;
    if (left == -1) {
        drag = DragFrame();
        return;
    }
    const qint64 right = qint64(left) + width;
    const qint64 bottom = qint64(top) + height;
    if (right > std::numeric_limits<qint32>::max() || right < std::numeric_limits<qint32>::min()
        || bottom > std::numeric_limits<qint32>::max()
        || bottom < std::numeric_limits<qint32>::min())
        throw Error(Overflow, QStringLiteral("Drag: das Rechteck ist zu groß."));
    if (!drag.none())
        frameChanges();
    drag = {left, top, qint32(right), qint32(bottom)};
    frameChanges();
}

bool GanttCore::eraseDragFrame()
{
    if (drag.none())
        return false;
    frameChanges();
    drag = DragFrame();
    return true;
}

void GanttCore::drawCorner(bool fullPaint)
{
    if (picture.isNull())
        return;
    catchUp();
    cDC dc;
    dc.Initialize(static_cast<QPaintDevice *>(&picture), picture.width(), picture.height(), false);
    QFont font = settings.style.font;
    dc.setFont(&font);
    dc.UpdateFont();
    dc.setEllipsis(fullPaint && presentation == Presentation::Modern);
    KopfTextZeichnen(dc, scene.layout, settings.style, model.datMaus);
    const QRect corner(0, 0, scene.layout.lngNamenBreite, scene.layout.lngZeilenOben);
    invertUnderFrame(corner);
    shownChanges += corner;
    cornerDate = model.datMaus;
    cornerFullPaint = fullPaint;
}

void GanttCore::fillRowBand(qint32 top, qint32 colour)
{
    catchUp();
    {
        cDC dc;
        dc.Initialize(static_cast<QPaintDevice *>(&picture), picture.width(), picture.height(), false);
        const qint32 left = scene.layout.lngNamenBreite;
        dc.FillRect(left, top, qMax(0, picture.width() - left), scene.layout.lngZeilenhoehe, colour);
    }
    const QRect band(scene.layout.lngNamenBreite, top, picture.width(), scene.layout.lngZeilenhoehe);
    invertUnderFrame(band);
    shownChanges += band;
    // The band stays until the next full paint, which draws the picture anew.
    pictureStale = true;
}

} // namespace Dayplex

// The Gantt view's pictures: the kept screen picture, painted anew only when what it shows
// changed, its corner, the frame of Drag over it, and the picture of paintToImage.
#include "gantt/ctlgantt_p.h"

#include "gantt/ganttpainter.h"
#include "gantt/ganttsurface.h"
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
QVector<QRect> outline(qint64 left, qint64 top, qint64 right, qint64 bottom, const QRect &area)
{
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

void ctlGanttPrivate::applySettings(GanttSettings next)
{
    settings = std::move(next);
    ++settingsRevision;
}

namespace {

// The font, the two measures and the whole view with its corner, onto the surface.
void paintAll(ctlGanttPrivate &d, cDC &dc, qint32 width, qint32 height)
{
    QFont font = d.settings.style.font;
    dc.setFont(&font);
    dc.UpdateFont();
    const qint32 th = dc.textHeight(QStringLiteral("W"));
    const qint32 cw = dc.textWidth(QStringLiteral("X"));
    const GanttContent content = d.content(d.q->ForPrinting, d.presentation == Presentation::Modern);
    // Errors are ignored from here on: what was drawn stays, the corner follows.
    try {
        d.drawScene(dc, content, 0, 0, width, height, th, cw, true);
    } catch (...) {
        warnCaught(lcGantt(), QStringLiteral("chart not drawn"));
    }
    try {
        KopfTextZeichnen(dc, d.scene.layout, d.settings.style, d.model.datMaus);
    } catch (...) {
        warnCaught(lcGantt(), QStringLiteral("header text not drawn"));
    }
    d.insides.sweep();
}

} // namespace

void ctlGanttPrivate::paintView(QPainter *target, qint32 width, qint32 height)
{
    cDC dc;
    dc.Initialize(target, width, height, false);
    paintAll(*this, dc, width, height);
    // A full paint leaves no inverted frame behind; Drag starts afresh.
    dragLeft = dragTop = dragRight = dragBottom = 0;
}

ScreenKey ctlGanttPrivate::pictureKeyNow() const
{
    return {content(q->ForPrinting, presentation == Presentation::Modern)
                .pictureKey(screenScene.layout),
            calpic->size()};
}

bool ctlGanttPrivate::screenShowsNow() const
{
    const bool noFrame = dragLeft == 0 && dragTop == 0 && dragRight == 0 && dragBottom == 0;
    return calpic->isVisible() && !picture.isNull() && !pictureStale && noFrame
           && shownChanges.isEmpty() && cornerFullPaint && cornerDate == model.datMaus
           && pictureKeyNow() == pictureKey;
}

void ctlGanttPrivate::paintScreen(QPainter &target)
{
    if (!(showKeptOnly && !picture.isNull())) {
        const bool rendered = pictureStale || !(pictureKeyNow() == pictureKey);
        if (rendered) {
            const QSize size = calpic->size();
            if (picture.size() != size)
                picture = cDC::fitsSurface(size.width(), size.height())
                              ? QImage(size, QImage::Format_RGB32)
                              : QImage();
            cDC dc;
            dc.Initialize(picture.isNull() ? nullptr : static_cast<QPaintDevice *>(&picture),
                          size.width(), size.height(), false);
            paintAll(*this, dc, size.width(), size.height());
            ++pictureRenders;
            screenScene = scene;
            // With the now line's column in the new geometry.
            pictureKey = pictureKeyNow();
            pictureStale = false;
            cornerDate = model.datMaus;
            cornerFullPaint = true;
        }
        // A full paint leaves no inverted frame behind; Drag starts afresh.
        dragLeft = dragTop = dragRight = dragBottom = 0;
        // Except for the landing frame of a move by the keys, which waits for Enter.
        const GanttAction pending = gestures.pendingLanding(gestureView());
        if (pending.frame == GanttAction::Frame::Draw) {
            const BarRect &r = pending.frameRect;
            drawDragFrame(r.left, r.top, r.width, r.height);
        }
        shownChanges = QRegion();
        if (!rendered) {
            scene = screenScene;
            if (cornerDate != model.datMaus || !cornerFullPaint)
                drawCorner(true);
        }
    }
    if (picture.isNull())
        return;
    target.drawImage(0, 0, picture);
    drawDragOverlay(target);
    if (calpic->hasFocus() && gestures.keyboardInUse())
        paintFocusFrame(target);
}

void ctlGanttPrivate::paintFocusFrame(QPainter &target)
{
    const BarRect bar = screenScene.bar(model, gestures.keyboardBar(model));
    const QRect area = picture.rect();
    // Without a bar on screen the whole view has the keyboard.
    drawFocusFrame(target, bar.isNull() ? area.adjusted(3, 3, -3, -3)
                                        : QRect(bar.left, bar.top, bar.width, bar.height),
                   area);
}

void ctlGanttPrivate::drawDragOverlay(QPainter &target) const
{
    if ((dragLeft == 0 && dragTop == 0 && dragRight == 0 && dragBottom == 0) || picture.isNull())
        return;
    for (const QRect &span : outline(dragLeft, dragTop, dragRight, dragBottom, picture.rect())) {
        QImage inverted = picture.copy(span);
        inverted.invertPixels();
        target.drawImage(span.topLeft(), inverted);
    }
}

void ctlGanttPrivate::invertUnderFrame(const QRect &area)
{
    if (dragLeft == 0 && dragTop == 0 && dragRight == 0 && dragBottom == 0)
        return;
    for (const QRect &span : outline(dragLeft, dragTop, dragRight, dragBottom, picture.rect())) {
        const QRect covered = span & area;
        for (int y = covered.top(); y <= covered.bottom(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
            for (int x = covered.left(); x <= covered.right(); ++x)
                line[x] ^= 0x00FFFFFFu;
        }
    }
}

void ctlGanttPrivate::showFrame()
{
    // A picture painted for another size is not the screen's: paint afresh.
    if (picture.size() != calpic->size()) {
        calpic->repaint();
        return;
    }
    const QRegion changes = shownChanges;
    shownChanges = QRegion();
    if (changes.isEmpty())
        return;
    showKeptOnly = true;
    calpic->repaint(changes);
    showKeptOnly = false;
}

void ctlGanttPrivate::frameChanges()
{
    for (const QRect &span : outline(dragLeft, dragTop, dragRight, dragBottom, picture.rect()))
        shownChanges += span;
}

void ctlGanttPrivate::drawDragFrame(qint32 left, qint32 top, qint32 width, qint32 height)
{
    if (left == dragLeft)
        return;
    if (left == -1) {
        dragLeft = dragTop = dragRight = dragBottom = 0;
        return;
    }
    const qint64 right = qint64(left) + width;
    const qint64 bottom = qint64(top) + height;
    if (right > std::numeric_limits<qint32>::max() || right < std::numeric_limits<qint32>::min()
        || bottom > std::numeric_limits<qint32>::max()
        || bottom < std::numeric_limits<qint32>::min())
        throw Error(Overflow, QStringLiteral("Drag: das Rechteck ist zu groß."));
    if (dragLeft != 0 || dragTop != 0 || dragRight != 0 || dragBottom != 0)
        frameChanges();
    dragLeft = left;
    dragTop = top;
    dragRight = qint32(right);
    dragBottom = qint32(bottom);
    frameChanges();
}

void ctlGanttPrivate::eraseDragFrame()
{
    if (dragLeft == 0 && dragTop == 0 && dragRight == 0 && dragBottom == 0)
        return;
    frameChanges();
    dragLeft = dragTop = dragRight = dragBottom = 0;
    showFrame();
}

void ctlGanttPrivate::drawCorner(bool fullPaint)
{
    if (picture.isNull())
        return;
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

} // namespace Dayplex

// The calendar's mouse and keyboard handling: selecting times and days, selecting, moving and
// resizing appointments, the splitter, the drag ghost and the mouse pointer.
#include "calendar/ucagenda_p.h"

#include "shared/cursors.h"
#include "calendar/hittest.h"
#include "shared/rounding.h"

#include <dayplex/error.h>

#include <QPainter>
#include <QScopeGuard>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>

namespace Dayplex {

namespace {

constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
// A press starts a drag only after the mouse has travelled more than this (x plus y distance),
// so that an unsteady click stays a click.
constexpr double kDragThreshold = 8;

} // namespace

bool ucAgendaPrivate::findHitRegion(double x, double y, qint32 filter, HitRegion &region) const
{
    return Dayplex::findHitRegion(hits, x, y, filter, region);
}

TerminEintrag *ucAgendaPrivate::entry(qint32 index)
{
    if (index < 1 || index > store.count())
        return nullptr;
    return &store.at(index);
}

void ucAgendaPrivate::clearSelection()
{
    selectionStart = 0;
    selectionEnd = 0;
}

void ucAgendaPrivate::restoreSelectedTimes()
{
    if (TerminEintrag *e = entry(lngSelIdx)) {
        e->dateStart = e->dateStartOrig;
        e->dateEnd = e->dateEndOrig;
    }
}

bool ucAgendaPrivate::inGesture() const
{
    return lngDragState != Idle && lngDragState != Selecting;
}

void ucAgendaPrivate::cancelGesture()
{
    const qint32 state = lngDragState;
    lngDragState = Idle;
    q->StopAutoScroll();
    q->MousePointer(0);
    if (state == SplitterDrag)
        q->DrawDragDrop(0, 0, 0, 0);
    if (state == MovingTimed || state == MovingAllDay || state == ResizingStart
        || state == ResizingEnd) {
        restoreSelectedTimes();
        clearSelection();
    }
    q->Repaint();
}

void ucAgendaPrivate::escapeGesture()
{
    cancelGesture();
    escaped = true;
}

void ucAgendaPrivate::mouseDown(int button, int shift, double x, double y)
{
    Q_UNUSED(shift);
    // A second button pressed during a drag does not start anything new: the drag ends only
    // with its release.
    if (inGesture())
        return;
    const qint32 filter = y < grid.firstRowTop() ? HitFilter::PressAboveGrid : HitFilter::PressInGrid;
    HitRegion region;
    if (!findHitRegion(x, y, filter, region))
        return;
    bool readOnly = false;
    if (region.lngIdx != 0) {
        // The store changed since the paint; the picture no longer says what is there.
        const TerminEintrag *e = entry(region.lngIdx);
        if (!e)
            return;
        readOnly = e->breadonly;
    }
    lngMouseDownX = roundedClamped(x);
    lngMouseDownY = roundedClamped(y);
    if (button == 1 && presentation == Presentation::Modern && pressOverflowMarker(x, y))
        return;
    if (button == 2) {
        if (openContextMenu)
            openContextMenu(QPoint(lngMouseDownX, lngMouseDownY));
        return;
    }
    switch (region.lngTyp) {
    case zeitzelle:
        selectionStart = cTools::NormalizeDate(region.datVon);
        selectionEnd = selectionStart;
        lngSelIdx = 0;
        lngDragState = Selecting;
        q->Repaint();
        break;
    case tageszelle:
        selectionStart = cTools::NormalizeDate(region.datVon);
        selectionEnd = cTools::NormalizeDate(region.datVon + 1 - grid.timeRaster);
        lngSelIdx = 0;
        lngDragState = Selecting;
        q->Repaint();
        break;
    case splitter:
        // The ghost appears with the first move.
        lngDragState = SplitterDrag;
        break;
    case sizenorth:
    case sizesouth:
        if (!readOnly) {
            lngSelIdx = region.lngIdx;
            lngDragState = region.lngTyp == sizenorth ? ResizingStart : ResizingEnd;
        }
        break;
    default:
        // Appointment boxes and headers: selection and drag start come with move and release.
        break;
    }
}

void ucAgendaPrivate::mouseMove(int button, int shift, double x, double y)
{
    Q_UNUSED(shift);
    const qint32 state = lngDragState;
    if (button == 1
        && (state == MovingTimed || state == Selecting || state == ResizingStart
            || state == ResizingEnd))
        autoScrollCheck(y);

    HitRegion region;
    switch (state) {
    case ResizingStart:
    case ResizingEnd: {
        TerminEintrag *e = entry(lngSelIdx);
        if (!e || !findHitRegion(x, y, HitFilter::Cell, region))
            break;
        // The end snaps to the end of the slot under the mouse, the start to its start.
        if (state == ResizingEnd)
            e->dateEnd = cTools::NormalizeDate(region.datVon + grid.timeRaster);
        else
            e->dateStart = cTools::NormalizeDate(region.datVon);
        q->setSelectionStart(e->dateStart);
        q->setSelectionEnd(e->dateEnd);
        q->Repaint();
        break;
    }
    case Selecting:
        if (button != 1)
            break;
        if (!findHitRegion(x, y, HitFilter::CellOrBand, region))
            break;
        if (region.lngTyp == zeitzelle) {
            // The range never grows upwards from where it was started.
            if (cTools::DateCompare(region.datVon, QStringLiteral(">="), selectionStart))
                selectionEnd = cTools::NormalizeDate(region.datVon);
        } else {
            const Date lastSlot = cTools::NormalizeDate(region.datVon + 1 - grid.timeRaster);
            if (!cTools::DateCompare(lastSlot, QStringLiteral("<"), selectionStart))
                selectionEnd = lastSlot;
        }
        q->Repaint();
        break;
    case SplitterDrag:
        q->DrawDragDrop(0, roundedClamped(y), picWidth, grid.geo.lngSplitterHoehe);
        break;
    case MovingTimed:
    case MovingAllDay: {
        // The selection shows where the appointment would land.
        const TerminEintrag *e = entry(lngSelIdx);
        if (!e || !findHitRegion(x, y, HitFilter::Cell, region))
            break;
        const Date duration = e->dateEnd - e->dateStart;
        q->setSelectionStart(region.datVon);
        q->setSelectionEnd(cTools::NormalizeDate(region.datVon + duration));
        q->Repaint();
        break;
    }
    default:
        if (button == 1) {
            if (std::abs(x - lngMouseDownX) + std::abs(y - lngMouseDownY) <= kDragThreshold)
                break;
            // The drag takes the appointment under the mouse now, not necessarily the pressed one.
            if (!findHitRegion(x, y, HitFilter::DragStart, region))
                break;
            const TerminEintrag *e = entry(region.lngIdx);
            if (!e || e->breadonly)
                break;
            lngSelIdx = region.lngIdx;
            lngDragState = region.lngTyp == termineintrag ? MovingTimed : MovingAllDay;
            q->Repaint();
            q->MousePointer(QStringLiteral("curMove"));
        } else {
            hover(x, y);
        }
        break;
    }
}

void ucAgendaPrivate::mouseUp(int button, int shift, double x, double y)
{
    Q_UNUSED(button);
    Q_UNUSED(shift);
    const qint32 state = lngDragState;
    const bool dragging = state == MovingTimed || state == MovingAllDay || state == ResizingStart
                          || state == ResizingEnd;
    bool finished = false;
    const auto always = qScopeGuard([&] {
        // An error in the middle of a drop or resize leaves the appointment where it was.
        if (!finished && dragging) {
            restoreSelectedTimes();
            q->Repaint();
        }
        q->StopAutoScroll();
        q->MousePointer(0);
        lngDragState = Idle;
        // The release clears the selection that showed where the appointment would land, but
        // repaints only when the times change: dropped outside every cell or on its old place,
        // the screen would keep that selection. A paint from the event loop takes it away.
        if (dragging && pic)
            pic->update();
    });

    HitRegion region;
    switch (state) {
    case SplitterDrag: {
        q->DrawDragDrop(0, 0, 0, 0);
        const GridGeometry &g = grid.geo;
        if (g.lngZeilenhoehe > 0) {
            qint32 rows = roundedClamped((y - picTop - g.lngKopfhoehe) / g.lngZeilenhoehe);
            // Dropped below the surface, the band would push the splitter out of reach.
            const qint32 fitting = roundedClamped(std::floor(
                double(picHeight - g.lngKopfhoehe - g.lngSplitterHoehe) / g.lngZeilenhoehe));
            rows = std::min(rows, std::max(fitting, 1));
            q->setDayInfoHeight(q->MaxLong(rows, 1));
        }
        q->Repaint();
        break;
    }
    case MovingTimed:
    case MovingAllDay:
        clearSelection();
        // Dropped where no cell is, the appointment stays where it was.
        if (findHitRegion(x, y, HitFilter::CellOrBand, region))
            q->SelectedDateMove(region.datVon, region.lngTyp);
        break;
    case Selecting:
        break;
    case ResizingStart:
    case ResizingEnd:
        clearSelection();
        if (TerminEintrag *e = entry(lngSelIdx)) {
            if (common.ConfirmDateChange(*e, q)) {
                const QString dsn = e->dsn;
                const Date start = e->dateStart, end = e->dateEnd;
                finished = true;
                Q_EMIT q->DateChanged(dsn, start, end);
            }
        }
        break;
    default:
        // A click without a drag; on a "+n" marker its press did the work.
        if (overflowAt(x, y))
            break;
        if (y <= grid.firstRowTop()) {
            if (!findHitRegion(x, y, HitFilter::ClickAboveGrid, region))
                break;
            if (region.lngTyp == tagestermin) {
                if (const TerminEintrag *e = entry(region.lngIdx)) {
                    q->setSelectedDate(e->dsn);
                    q->Repaint();
                }
            } else if (region.lngTyp == tageszellekopf && openDatePicker) {
                openDatePicker();
            }
        } else if (findHitRegion(x, y, HitFilter::ClickInGrid, region)) {
            if (const TerminEintrag *e = entry(region.lngIdx)) {
                q->setSelectedDate(e->dsn);
                q->Repaint();
            }
        }
        break;
    }
    finished = true;
}

void ucAgendaPrivate::dblClick()
{
    showSelected();
}

void ucAgendaPrivate::showSelected()
{
    const QString dsn = q->SelectedDate();
    if (!dsn.isEmpty())
        Q_EMIT q->ShowDate(dsn);
}

void ucAgendaPrivate::hover(double x, double y)
{
    if (const BandOverflow *overflow = overflowAt(x, y)) {
        const QString tip = overflowTooltip(*overflow);
        if (pic && pic->toolTip() != tip)
            pic->setToolTip(tip);
        q->MousePointer(0);
        return;
    }
    const HoverFeedback feedback = hoverFeedback(hits, store, x, y, grid.firstRowTop());
    if (!feedback.found) {
        q->MousePointer(0);
        return;
    }
    if (pic && pic->toolTip() != feedback.tooltip)
        pic->setToolTip(feedback.tooltip);
    if (feedback.cursorName.isEmpty())
        q->MousePointer(0);
    else
        q->MousePointer(feedback.cursorName);
}

void ucAgendaPrivate::keyDown(int keyCode, int shift)
{
    Q_UNUSED(shift);
    if (keyCode >= kKeyLeft && keyCode <= kKeyDown)
        moveSelectionByKey(keyCode);
}

bool ucAgendaPrivate::shiftSelection(Date by)
{
    const Date start = cTools::NormalizeDate(selectionStart + by);
    const Date end = cTools::NormalizeDate(selectionEnd + by);
    if (!isValidDate(start) || !isValidDate(end))
        return false;
    selectionStart = start;
    selectionEnd = end;
    return true;
}

void ucAgendaPrivate::moveSelectionByKey(int keyCode)
{
    if (selectionStart == 0) {
        // The first key press only places the selection on the first displayed day.
        selectionStart = grid.firstDay;
        selectionEnd = grid.firstDay;
        q->Repaint();
        return;
    }
    const Date startTime = cTools::TimeOnly(selectionStart);
    switch (keyCode) {
    case kKeyLeft:
        shiftSelection(-1);
        break;
    case kKeyRight:
        shiftSelection(1);
        break;
    case kKeyUp:
        if (cTools::DateCompare(startTime, QStringLiteral(">="), grid.timeRaster))
            shiftSelection(-grid.timeRaster);
        break;
    case kKeyDown:
        if (cTools::DateCompare(startTime, QStringLiteral("<"), 1 - grid.timeRaster))
            shiftSelection(grid.timeRaster);
        break;
    default:
        return;
    }
    ensureSelectionVisible();
    q->Repaint();
}

void ucAgendaPrivate::ensureSelectionVisible()
{
    const Date lastSlot = cTools::NormalizeDate(1 - grid.timeRaster);
    // Each pass scrolls a day or a row; a day has at most lastRow + 1 rows. The bound also
    // ends the loop when no paint updates the last visible time (the control is hidden).
    const int maxPasses = grid.lastRow + 32;
    for (int pass = 0; pass < maxPasses && selectionStart != 0; ++pass) {
        const Date startTime = cTools::TimeOnly(selectionStart);
        if (selectionStart < grid.firstDay) {
            q->Scroll(-1);
        } else if (cTools::DateOnly(selectionStart) > grid.lastDay) {
            q->Scroll(1);
        } else if (cTools::DateCompare(startTime, QStringLiteral("<"), grid.firstTime)) {
            grid.firstTime = startTime;
        } else if (cTools::DateCompare(startTime, QStringLiteral(">"), lastVisibleTime)
                   && cTools::DateCompare(grid.firstTime, QStringLiteral("<"), lastSlot)) {
            grid.firstTime = cTools::NormalizeDate(grid.firstTime + grid.timeRaster);
        } else {
            break;
        }
        q->Repaint();
    }
}

void ucAgendaPrivate::paintSurface(QPainter *painter, qint32 width, qint32 height)
{
    paintView(painter, width, height);
    if (ghostLeft == 0 && ghostTop == 0 && ghostRight == 0 && ghostBottom == 0)
        return;
    // The frame from (left, top) to (right, bottom), both corners included, every pixel
    // inverted once. Edges off the surface are kept just outside it, so that huge values
    // neither overflow nor show.
    const auto clampTo = [](qint64 v, qint32 limit) { return qint32(std::clamp<qint64>(v, -1, limit)); };
    const qint32 l = clampTo(std::min(ghostLeft, ghostRight), width);
    const qint32 r = clampTo(std::max(ghostLeft, ghostRight), width);
    const qint32 t = clampTo(std::min(ghostTop, ghostBottom), height);
    const qint32 b = clampTo(std::max(ghostTop, ghostBottom), height);
    painter->save();
    painter->setClipping(false);
    painter->setCompositionMode(QPainter::CompositionMode_Difference);
    painter->setPen(Qt::NoPen);
    const QColor white(Qt::white);
    painter->fillRect(QRect(l, t, r - l + 1, 1), white);
    if (b > t)
        painter->fillRect(QRect(l, b, r - l + 1, 1), white);
    if (b - t > 1) {
        painter->fillRect(QRect(l, t + 1, 1, b - t - 1), white);
        if (r > l)
            painter->fillRect(QRect(r, t + 1, 1, b - t - 1), white);
    }
    painter->restore();
}

/*!
    Draws the drag ghost: a frame from (left, top) to (left + width, top + height), inverted
    over the picture of the surface, so that what lies under it stays readable and comes back
    unchanged. The frame drawn before is taken away first; four zeros only take it away. The
    ghost stays over later repaints until it is replaced. Throws Dayplex::Error (overflow) when
    the right or bottom edge leaves the 32-bit range, changing nothing.
*/
void ucAgenda::DrawDragDrop(qint32 left, qint32 top, qint32 width, qint32 height)
{
    const qint64 right = qint64(left) + width;
    const qint64 bottom = qint64(top) + height;
    if (right < std::numeric_limits<qint32>::min() || right > std::numeric_limits<qint32>::max()
        || bottom < std::numeric_limits<qint32>::min() || bottom > std::numeric_limits<qint32>::max())
        throw Error(Overflow, QStringLiteral("DrawDragDrop: das Rechteck ist zu groß."));
    d->ghostLeft = left;
    d->ghostTop = top;
    d->ghostRight = qint32(right);
    d->ghostBottom = qint32(bottom);
    if (d->pic)
        d->pic->repaint();
}

/*!
    Sets the mouse pointer of the drawing surface. A number (or the text "0") is a standard
    pointer: 0 the default, 1 to 15 the standard shapes, 99 the custom cursor last loaded;
    other numbers throw Dayplex::Error (invalid argument). Any other value names one of the
    library's cursors, matched without regard to case: "curMove", "SizeN", "SizeS",
    "SplitterNS"; it is loaded only when it differs from the value given last, so that a mouse
    move over the same zone costs nothing. An unknown name throws Dayplex::Error (invalid
    argument) and leaves pointer and cache as they were.
*/
void ucAgenda::MousePointer(const QVariant &v)
{
    if (const std::optional<qint32> number = cursorNumber(v)) {
        if (*number == 0) {
            d->pic->unsetCursor();
        } else if (*number == 99) {
            d->pic->setCursor(d->mouseIcon);
        } else if (const std::optional<Qt::CursorShape> shape = standardCursorShape(*number)) {
            d->pic->setCursor(*shape);
        } else {
            throw Error(InvalidArgument,
                        QStringLiteral("MousePointer: %1 ist kein Mauszeiger.").arg(*number));
        }
        d->varLastMousePointer = v;
        return;
    }
    const QString name = v.toString();
    if (name != d->varLastMousePointer.toString()) {
        const QCursor cursor = loadNamedCursor(name);
        ++d->cursorLoads;
        d->mouseIcon = cursor;
        d->pic->setCursor(cursor);
    }
    d->varLastMousePointer = v;
}

/*!
    Moves the selected appointment to NewDate, keeping its duration: dragzielTyp 2 (a day of
    the all-day band) keeps its time of day, any other target starts it at NewDate. Whether it
    is an all-day entry does not change. The change then goes through the confirmation
    (ConfirmChanges) and, once committed, DateChanged is raised. Nothing happens without a
    selected appointment. An invalid date throws Dayplex::Error, changing nothing.
*/
void ucAgenda::SelectedDateMove(double NewDate, qint32 dragzielTyp)
{
    TerminEintrag *e = d->entry(d->lngSelIdx);
    if (!e)
        return;
    if (!isValidDate(NewDate))
        throw Error(InvalidArgument, QStringLiteral("SelectedDateMove: ungültiger Datumswert."));
    const Date duration = e->dateEnd - e->dateStart;
    const Date start = cTools::NormalizeDate(
        dragzielTyp == tageszelle ? NewDate + cTools::TimeOnly(e->dateStart) : NewDate);
    const Date end = cTools::NormalizeDate(start + duration);
    if (!isValidDate(start) || !isValidDate(end))
        throw Error(Overflow,
                    QStringLiteral("SelectedDateMove: der Termin läge außerhalb des Kalenders."));
    e->dateStart = start;
    e->dateEnd = end;
    bool committed = false;
    try {
        committed = d->common.ConfirmDateChange(*e, this);
    } catch (...) {
        d->restoreSelectedTimes();
        throw;
    }
    if (!committed)
        return;
    // Copies: a handler that refreshes the store must not pull the values from under the
    // handlers after it.
    const QString dsn = e->dsn;
    const Date newStart = e->dateStart, newEnd = e->dateEnd;
    Q_EMIT DateChanged(dsn, newStart, newEnd);
}

} // namespace Dayplex

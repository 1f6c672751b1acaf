// The calendar's mouse and keyboard handling: the events go to the gesture logic, and what it
// answers is carried out here; the drag ghost and the mouse pointer.
#include "calendar/ucagenda_p.h"

#include "shared/cursors.h"
#include "shared/focusframe.h"
#include "shared/serieschange.h"

#include <dayplex/error.h>

#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>

namespace Dayplex {

namespace {
constexpr int kAutoScrollMilliseconds = 100;
}

void ucAgendaPrivate::restoreSelectedTimes()
{
    if (data.store.contains(selection.index))
        data.store.restoreTimes(selection.index);
}

GestureView ucAgendaPrivate::gestureView() const
{
    GestureView view(scene, data.store, grid);
    view.selectionStart = selection.start;
    view.selectionEnd = selection.endSlot;
    view.selectedIndex = selection.index;
    view.surfaceTop = surface.area.top();
    view.surfaceWidth = surface.area.width();
    view.surfaceHeight = surface.area.height();
    view.lastRowVisible = q->isLastRowVisible();
    view.modern = presentation == Presentation::Modern;
    return view;
}

void ucAgendaPrivate::mousePress(Qt::MouseButton button, bool othersHeld, double x, double y)
{
    if (gesture.keyboardInUse())
        pic->update(); // the focus frame goes
    const GestureResult result = gesture.press(gestureView(), button, othersHeld, x, y);
    perform(result);
    // The stale gesture is over and painted away; the press goes to the new picture.
    if (!result.steps.isEmpty() && result.steps.last().kind == GestureAction::PressAgain)
        perform(gesture.press(gestureView(), button, othersHeld, x, y));
}

void ucAgendaPrivate::mouseMove(Qt::MouseButtons buttons, double x, double y)
{
    perform(gesture.move(gestureView(), buttons, x, y));
}

void ucAgendaPrivate::mouseRelease(bool stillHeld, double x, double y)
{
    perform(gesture.release(gestureView(), stillHeld, x, y));
}

bool ucAgendaPrivate::keyPress(int key, Qt::KeyboardModifiers modifiers)
{
    if (!gesture.keyboardInUse())
        pic->update(); // the focus frame comes
    const GestureResult result = gesture.keyPress(gestureView(), key, modifiers);
    perform(result);
    return !result.passOn;
}

void ucAgendaPrivate::focusIn(Qt::FocusReason reason)
{
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
        gesture.enteredByTab();
    pic->update();
}

void ucAgendaPrivate::focusOut()
{
    perform(gesture.focusLost(gestureView()));
    pic->update();
}

void ucAgendaPrivate::paintFocusFrame(QPainter *painter, qint32 width, qint32 height)
{
    const GestureView view = gestureView();
    const QRect surface(0, 0, width, height);
    const QRect at = keyboardFocusRect(view, gesture.onAppointment(view));
    // Nothing to frame, or out of sight: the whole view has the keyboard.
    drawFocusFrame(*painter, at.isEmpty() ? surface.adjusted(3, 3, -3, -3) : at, surface);
}

void ucAgendaPrivate::autoScrollTick()
{
    perform(gesture.autoScrollTick(gestureView()));
}

void ucAgendaPrivate::perform(const GestureResult &result)
{
    const auto run = [this](const GestureAction &a) {
        using A = GestureAction;
        switch (a.kind) {
        case A::Repaint:
            q->Repaint();
            break;
        case A::UpdateLater:
            if (pic)
                pic->update();
            break;
        case A::SetSelection:
            selection.start = a.from;
            selection.endSlot = a.to;
            break;
        case A::SetSelectionStart:
            q->setSelectionStart(a.from);
            break;
        case A::SetSelectionEnd:
            q->setSelectionEnd(a.from);
            break;
        case A::SelectIndex:
            selection.index = a.value;
            break;
        case A::SelectKey:
            q->setSelectedDate(a.text);
            break;
        case A::SetTimes:
            if (data.store.contains(a.value))
                data.store.setTimes(a.value, a.from, a.to);
            break;
        case A::RestoreTimes:
            restoreSelectedTimes();
            break;
        case A::Ghost:
            q->DrawDragDrop(a.rect.x(), a.rect.y(), a.rect.width(), a.rect.height());
            break;
        case A::Cursor:
            if (a.text.isEmpty())
                q->MousePointer(0);
            else
                q->MousePointer(a.text);
            break;
        case A::Tooltip:
            if (pic && pic->toolTip() != a.text)
                pic->setToolTip(a.text);
            break;
        case A::OpenContextMenu:
            if (openContextMenu)
                openContextMenu(a.rect.topLeft());
            break;
        case A::OpenDatePicker:
            if (openDatePicker)
                openDatePicker();
            break;
        case A::SetDayInfoHeight:
            q->setDayInfoHeight(a.value);
            break;
        case A::Drop:
            q->SelectedDateMove(a.from, a.value);
            break;
        case A::ConfirmResize:
            if (data.store.contains(a.value))
                decideChange(a.value);
            break;
        case A::ShowSelected:
            showSelected();
            break;
        case A::StartAutoScroll:
            // A running timer keeps its rhythm; restarting it with every move would stop it
            // ticking while the mouse keeps moving.
            if (!timerAutoScroll->isActive())
                timerAutoScroll->start(kAutoScrollMilliseconds);
            break;
        case A::StopAutoScroll:
            q->StopAutoScroll();
            break;
        case A::SetFirstTime:
            q->setFirstTime(a.from);
            break;
        case A::EnsureSelectionVisible:
            ensureVisible(selection.start);
            break;
        case A::EnsureVisible:
            ensureVisible(a.from);
            break;
        case A::PressAgain:
            break;
        case A::NewAppointment:
            Q_EMIT q->newAppointmentRequested(a.from, a.to, a.value != 0);
            break;
        case A::RequestDelete:
            Q_EMIT q->deleteRequested(a.text);
            break;
        }
    };
    const auto finish = [&] {
        for (const GestureAction &a : result.finally)
            run(a);
    };
    try {
        for (const GestureAction &a : result.steps)
            run(a);
    } catch (...) {
        if (result.restoreOnFailure) {
            restoreSelectedTimes();
            q->Repaint();
        }
        finish();
        throw;
    }
    finish();
}

void ucAgendaPrivate::decideChange(qint32 index)
{
    // Copies: the question may let the host fill the store anew.
    const QString dsn = data.store.at(index).dsn;
    if (changeQuestion(data.store.details(dsn)) == ChangeQuestion::Classic) {
        if (common.ConfirmDateChange(data.store, index, q))
            emitDateChanged(index, std::nullopt);
    } else if (const std::optional<SeriesScope> scope =
                   common.ConfirmSeriesChange(data.store, index, q)) {
        emitDateChanged(index, scope);
    }
}

void ucAgendaPrivate::emitDateChanged(qint32 index, std::optional<SeriesScope> scope)
{
    // A host that filled the store anew while the question was open has no such change.
    if (!data.store.contains(index))
        return;
    // Copies: a handler that refreshes the store must not pull the values from under the
    // handlers after it.
    const TerminEintrag &e = data.store.at(index);
    const QString dsn = e.dsn;
    const Date start = e.dateStart, end = e.dateEnd;
    if (scope)
        Q_EMIT q->seriesDateChanged(dsn, *scope, start, end);
    else
        Q_EMIT q->DateChanged(dsn, start, end);
}

void ucAgendaPrivate::showSelected()
{
    const QString dsn = q->SelectedDate();
    if (!dsn.isEmpty())
        Q_EMIT q->ShowDate(dsn);
}

void ucAgendaPrivate::ensureVisible(Date moment)
{
    // Each pass scrolls a day or a row; a day has at most lastRow + 1 rows. The bound also
    // ends the loop when no paint updates the last visible time (the control is hidden).
    const int maxPasses = grid.lastRow + 32;
    for (int pass = 0; pass < maxPasses; ++pass) {
        const VisibilityStep step = selectionVisibilityStep(moment, grid, scene.lastVisibleTime);
        if (step.kind == VisibilityStep::Done)
            break;
        if (step.kind == VisibilityStep::DayBack)
            q->Scroll(-1);
        else if (step.kind == VisibilityStep::DayForward)
            q->Scroll(1);
        else
            grid.firstTime = step.firstTime;
        q->Repaint();
    }
}

QVector<QRect> ucAgendaPrivate::ghostSpans(qint32 width, qint32 height) const
{
    const qint32 ghostLeft = surface.ghostLeft, ghostTop = surface.ghostTop;
    const qint32 ghostRight = surface.ghostRight, ghostBottom = surface.ghostBottom;
    if (ghostLeft == 0 && ghostTop == 0 && ghostRight == 0 && ghostBottom == 0)
        return {};
    // The frame from (left, top) to (right, bottom), both corners included, every pixel
    // inverted once. Edges off the surface are kept just outside it, so that huge values
    // neither overflow nor show.
    const auto clampTo = [](qint64 v, qint32 limit) { return qint32(std::clamp<qint64>(v, -1, limit)); };
    const qint32 l = clampTo(std::min(ghostLeft, ghostRight), width);
    const qint32 r = clampTo(std::max(ghostLeft, ghostRight), width);
    const qint32 t = clampTo(std::min(ghostTop, ghostBottom), height);
    const qint32 b = clampTo(std::max(ghostTop, ghostBottom), height);
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

void ucAgendaPrivate::paintGhost(QPainter *painter, qint32 width, qint32 height)
{
    const QVector<QRect> spans = ghostSpans(width, height);
    if (spans.isEmpty())
        return;
    painter->save();
    painter->setClipping(false);
    painter->setCompositionMode(QPainter::CompositionMode_Difference);
    painter->setPen(Qt::NoPen);
    for (const QRect &span : spans)
        painter->fillRect(span, Qt::white);
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
    const QSize size = d->pic->size();
    for (const QRect &span : d->ghostSpans(size.width(), size.height()))
        d->kept.unshown += span;
    d->surface.ghostLeft = left;
    d->surface.ghostTop = top;
    d->surface.ghostRight = qint32(right);
    d->surface.ghostBottom = qint32(bottom);
    for (const QRect &span : d->ghostSpans(size.width(), size.height()))
        d->kept.unshown += span;
    d->showPicture();
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
            d->pic->setCursor(d->surface.mouseIcon);
        } else if (const std::optional<Qt::CursorShape> shape = standardCursorShape(*number)) {
            d->pic->setCursor(*shape);
        } else {
            throw Error(InvalidArgument,
                        QStringLiteral("MousePointer: %1 ist kein Mauszeiger.").arg(*number));
        }
        d->surface.varLastMousePointer = v;
        return;
    }
    const QString name = v.toString();
    if (name != d->surface.varLastMousePointer.toString()) {
        const QCursor cursor = loadNamedCursor(name);
        ++d->surface.cursorLoads;
        d->surface.mouseIcon = cursor;
        d->pic->setCursor(cursor);
    }
    d->surface.varLastMousePointer = v;
}

/*!
    Moves the selected appointment to NewDate, keeping its duration: dragzielTyp 2 (a day of
    the all-day band) keeps its time of day, any other target starts it at NewDate. Whether it
    is an all-day entry does not change. The change then goes through the confirmation
    (ConfirmChanges) and, once committed, DateChanged is raised; an occurrence of a series
    asks for the scope instead and raises seriesDateChanged. Nothing happens without a
    selected appointment. An invalid date throws Dayplex::Error, changing nothing.
*/
void ucAgenda::SelectedDateMove(double NewDate, qint32 dragzielTyp)
{
    const qint32 index = d->selection.index;
    if (!d->data.store.contains(index))
        return;
    if (!isValidDate(NewDate))
        throw Error(InvalidArgument, QStringLiteral("SelectedDateMove: ungültiger Datumswert."));
    const TerminEintrag &e = d->data.store.at(index);
    const Date duration = e.dateEnd - e.dateStart;
    const Date start = cTools::NormalizeDate(
        dragzielTyp == tageszelle ? NewDate + cTools::TimeOnly(e.dateStart) : NewDate);
    const Date end = cTools::NormalizeDate(start + duration);
    if (!isValidDate(start) || !isValidDate(end))
        throw Error(Overflow,
                    QStringLiteral("SelectedDateMove: der Termin läge außerhalb des Kalenders."));
    d->data.store.setTimes(index, start, end);
    try {
        d->decideChange(index);
    } catch (...) {
        d->restoreSelectedTimes();
        throw;
    }
}

} // namespace Dayplex

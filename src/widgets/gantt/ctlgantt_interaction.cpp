// The Gantt view's mouse handling, context menu, date picker and scrolling.
#include "gantt/ctlgantt_p.h"

#include "shared/cursors.h"
#include "gantt/freeslotsearch.h"
#include "gantt/ganttinteraction.h"
#include "gantt/ganttpainter.h"
#include "gantt/ganttsearchpanel.h"
#include "gantt/ganttsurface.h"
#include "shared/cdc.h"
#include "shared/guarded.h"
#include "shared/hostentries.h"
#include "shared/rounding.h"
#include "shared/serieschange.h"
#include "shared/uitext.h"

#include <dayplex/error.h>

#include <QAction>
#include <QCoreApplication>
#include <QCalendarWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScopeGuard>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Dayplex {

namespace {

const char *const kViewCaptions[] = {
    QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "1 Tag"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "2 Tage"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "5 Tage"),
    QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "7 Tage"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "2 Wochen"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "3 Wochen"),
    QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "4 Wochen"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "6 Wochen"), QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "8 Wochen"),
    QT_TRANSLATE_NOOP("Dayplex::ctlGantt", "12 Wochen")};

const QString kMoveTag = QStringLiteral("VERSCHIEBEN");

} // namespace

void ctlGanttPrivate::connectChildren()
{
    for (int index = 0; index < 2; ++index) {
        QObject::connect(panel->cmdAuto[index], &QPushButton::clicked, q,
                         [this, index] { guarded(lcGantt(), [&] { runSearch(index); }); });
    }
    QObject::connect(panel->cmdNeu, &QPushButton::clicked, q,
                     [this] { guarded(lcGantt(), [&] { createFromProposal(); }); });
    QObject::connect(panel->cmdClose, &QPushButton::clicked, q,
                     [this] { guarded(lcGantt(), [&] { closeSearchPanel(); }); });
    // A new start day starts the next search afresh.
    QObject::connect(panel, &GanttSearchPanel::searchFromEdited, q, [this] { model.sucheAb = 0; });
    QObject::connect(panel, &GanttSearchPanel::daysFocused, q, [this] {
        // The modern presentation keeps the rows the user marked for the search.
        if (presentation == Presentation::Modern)
            return;
        guarded(lcGantt(), [&] {
            markAllRows(model);
            q->Repaint();
        });
    });
    // A click on a day, or Enter, picks it.
    const auto picked = [this](QDate date) { guarded(lcGantt(), [&] { datePicked(date); }); };
    QObject::connect(ccrpDtp, &QCalendarWidget::clicked, q, picked);
    QObject::connect(ccrpDtp, &QCalendarWidget::activated, q, picked);
}

GanttGestureView ctlGanttPrivate::gestureView() const
{
    return {model, scene, firstRow(), calpic->height(),
            settings.options.boolValue(QStringLiteral("blnGermanLegalHolidays"))};
}

void ctlGanttPrivate::perform(const GanttAction &action, QPoint globalPos)
{
    applyModelSteps(model, action.modelSteps);
    // The pointer goes back also when the move fails.
    const auto pointer = qScopeGuard([&] {
        if (action.pointer)
            q->MousePointer(action.pointer->isEmpty() ? QVariant(0) : QVariant(*action.pointer));
    });
    if (action.frame == GanttAction::Frame::Draw) {
        const BarRect &r = action.frameRect;
        drawDragFrame(r.left, r.top, r.width, r.height);
    } else if (action.frame == GanttAction::Frame::Erase) {
        eraseDragFrame();
    }
    if (action.corner)
        drawCorner();
    if (action.frame == GanttAction::Frame::Draw || action.corner)
        showFrame();
    if (action.repaint)
        q->Repaint();
    if (action.toolTip && calpic->toolTip() != *action.toolTip)
        calpic->setToolTip(*action.toolTip);
    if (action.firstRow > 0)
        vScroll->setValue(action.firstRow);
    if (action.moveTo > 0)
        q->SelectedDateMove(action.moveTo, 2);
    if (action.menu)
        showMenu(action.menuAt ? calpic->mapToGlobal(*action.menuAt) : globalPos, action.menuKey);
    if (action.datePicker)
        openDatePicker(false);
    if (action.showSelected)
        showSelected();
    if (action.newFrom > 0)
        Q_EMIT q->newAppointmentRequested(action.newFrom, action.newTo, action.newRow);
    if (action.deleteKey)
        Q_EMIT q->deleteRequested(*action.deleteKey);
}

bool ctlGanttPrivate::keyPress(int key, Qt::KeyboardModifiers modifiers)
{
    if (!gestures.keyboardInUse())
        calpic->update(); // the focus frame comes
    const GanttAction action = gestures.keyPress(gestureView(), key, modifiers);
    perform(action);
    return !action.passOn;
}

void ctlGanttPrivate::showSelected()
{
    if (!model.selectedDate.isEmpty())
        Q_EMIT q->ShowDate(model.selectedDate);
}

QMenu *ctlGanttPrivate::contextMenu()
{
    if (menu)
        return menu;
    menu = new QMenu(q);
    menu->setObjectName(QStringLiteral("mnuPopUp"));
    const auto add = [this](QMenu *to, const char *name, const QString &caption, auto handler) {
        QAction *action = to->addAction(caption);
        action->setObjectName(QLatin1String(name));
        QObject::connect(action, &QAction::triggered, q, [handler] { guarded(lcGantt(), handler); });
        return action;
    };
    add(menu, "mnuToday", uiText("Dayplex::ctlGantt", "Heute"), [this] { today(); });
    add(menu, "mnuDatum", uiText("Dayplex::ctlGantt", "Datum..."), [this] { openDatePicker(false); });
    add(menu, "mnuCalendar", uiText("Dayplex::ctlGantt", ">>Kalender"), [this] { Q_EMIT q->ShowImCalendar(); });
    add(menu, "mnuFreienTerminSuchen", uiText("Dayplex::ctlGantt", "Freien Termin suchen"),
        [this] { openSearchPanel(); });
    menu->addSeparator();
    mnuNeu = add(menu, "mnuNeu", uiText("Dayplex::ctlGantt", "Neu"), [this] { createFromProposal(); });
    mnuAnzeigen = add(menu, "mnuAnzeigen", uiText("Dayplex::ctlGantt", "Anzeigen"), [this] { showSelected(); });
    mnuVerschieben = add(menu, "mnuVerschieben", uiText("Dayplex::ctlGantt", "Verschieben"),
                         [this] { openDatePicker(true); });
    menu->addSeparator();
    add(menu, "mnuMerkmale", uiText("Dayplex::ctlGantt", "Teilnehmer..."), [this] { Q_EMIT q->ChangeFilter(); });
    menu->addSeparator();
    viewMenu = menu->addMenu(uiText("Dayplex::ctlGantt", "Ansicht"));
    viewMenu->setObjectName(QStringLiteral("mnuAnsicht"));
    int index = 0;
    for (const char *caption : kViewCaptions) {
        const QString text = QLatin1String(caption);
        QAction *action = add(viewMenu, "", uiText("Dayplex::ctlGantt", caption), [this, text] { showDays(text); });
        // The day count is read from the German caption, whatever the menu shows.
        action->setData(text);
        action->setObjectName(QStringLiteral("mnuAnsichtTage_%1").arg(index++));
        action->setCheckable(true);
    }
    menu->addSeparator();
    add(menu, "mnuOptions", uiText("Dayplex::ctlGantt", "Optionen..."), [this] { q->ShowOptionsDialog(); });
    add(menu, "mnuDrucken", uiText("Dayplex::ctlGantt", "Drucken..."), [this] { q->PrintGantt(false); });
    menu->setDefaultAction(mnuAnzeigen);
    ownMenuEntries = menu->actions();
    return menu;
}

void ctlGanttPrivate::prepareMenu()
{
    contextMenu();
    const double shown = q->mEndDate - q->mStartDate + 1;
    for (QAction *action : viewMenu->actions())
        action->setChecked(ganttDaysFromCaption(action->data().toString()) == shown);
    const bool selected = !model.selectedDate.isEmpty();
    mnuAnzeigen->setEnabled(selected);
    mnuVerschieben->setEnabled(selected && !model.isSelectedReadOnly());
    mnuNeu->setEnabled(model.vorschlagVon > 0);
}

void ctlGanttPrivate::showMenu(QPoint globalPos, const QString &dsn)
{
    prepareMenu();
    takeOutHostEntries(*menu, ownMenuEntries);
    Q_EMIT q->contextMenuAboutToShow(menu, dsn);
    // Not exec: the menu never blocks the caller.
    menu->popup(globalPos);
}

void ctlGanttPrivate::today()
{
    const Date now = currentDateTime();
    q->SetDisplayedRange(cTools::DateOnly(now), nullptr, false, true);
    q->Repaint();
    panel->setSearchFrom(now);
    model.sucheAb = 0;
}

void ctlGanttPrivate::showDays(const QString &caption)
{
    const qint32 n = ganttDaysFromCaption(caption);
    const Date first = q->CurrentDate();
    double last = first + n - 1;
    q->SetDisplayedRange(first, &last, false, true);
    q->Repaint();
}

void ctlGanttPrivate::openDatePicker(bool move)
{
    ccrpDtp->setProperty("tag", move ? kMoveTag : QString());
    const QDate current = toQDate(q->CurrentDate());
    if (current.isValid())
        ccrpDtp->setSelectedDate(current);
    // At the mouse, moved back onto the screen where it would leave it.
    ccrpDtp->adjustSize();
    QRect placed(calpic->mapToGlobal(gestures.downPoint()), ccrpDtp->size());
    if (const QScreen *screen = q->screen()) {
        const QRect available = screen->availableGeometry();
        if (placed.right() > available.right())
            placed.moveRight(available.right());
        if (placed.bottom() > available.bottom())
            placed.moveBottom(available.bottom());
        placed.moveTopLeft(QPoint(std::max(placed.left(), available.left()),
                                  std::max(placed.top(), available.top())));
    }
    ccrpDtp->move(placed.topLeft());
    ccrpDtp->show();
    ccrpDtp->setFocus(Qt::PopupFocusReason);
}

void ctlGanttPrivate::datePicked(QDate date)
{
    if (!ccrpDtp->isVisible())
        return; // the second half of a double click
    ccrpDtp->hide();
    const Date value = toDate(date);
    if (!isValidDate(value))
        return;
    if (ccrpDtp->property("tag").toString() == kMoveTag && !model.selectedDate.isEmpty()
        && !model.isSelectedReadOnly())
        q->SelectedDateMove(std::floor(value), 2);
    q->SetDisplayedRange(value, nullptr, false, true);
    q->Repaint();
}

void ctlGanttPrivate::hScrollChanged(int value)
{
    if (resettingHScroll)
        return;
    const qint32 direction = ganttHScrollDirection(value);
    resettingHScroll = true;
    hScroll->setValue(kGanttHScrollRest);
    resettingHScroll = false;
    guarded(lcGantt(), [&] { q->Scroll(direction); });
}

/*!
    Draws an inverted frame from (left, top) to (left + width, top + height) straight onto the
    picture on screen, after erasing the frame drawn before; the hairline at the mouse is such a
    frame. Nothing happens when left equals the left edge of the last frame; left -1 forgets
    the last frame without drawing. A full paint forgets it as well. A frame whose edges leave
    the 32-bit range throws Dayplex::Error 6.
*/
void ctlGantt::Drag(qint32 left, qint32 top, qint32 width, qint32 height)
{
    const bool drawn = left != d->dragLeft && left != -1;
    d->drawDragFrame(left, top, width, height);
    if (drawn && !d->picture.isNull())
        d->showFrame();
}

/*!
    Sets the mouse pointer of the picture area. A number (or the text "0") is a standard
    pointer: 0 the default, 1 to 15 the standard shapes, 99 the custom cursor last loaded;
    other numbers throw Dayplex::Error 5. Any other value names one of the library's cursors
    ("curMove", "SizeN", "SizeS", "SplitterNS", in any case); it is loaded only when it differs
    from the last value given. An unknown name throws Dayplex::Error 5 and changes nothing.
*/
void ctlGantt::MousePointer(const QVariant &v)
{
    if (const std::optional<qint32> number = cursorNumber(v)) {
        if (*number == 0) {
            d->calpic->unsetCursor();
        } else if (*number == 99) {
            d->calpic->setCursor(d->mouseIcon);
        } else if (const std::optional<Qt::CursorShape> shape = standardCursorShape(*number)) {
            d->calpic->setCursor(*shape);
        } else {
            throw Error(InvalidArgument,
                        QStringLiteral("MousePointer: %1 ist kein Mauszeiger.").arg(*number));
        }
        d->lastCursor = v;
        return;
    }
    const QString name = v.toString();
    if (name != d->lastCursor.toString()) {
        const QCursor cursor = loadNamedCursor(name);
        d->mouseIcon = cursor;
        d->calpic->setCursor(cursor);
    }
    d->lastCursor = v;
}

/*!
    Moves every appointment with the selected key to NewDate, keeping its length: to NewDate
    itself when both NewDate and the old start have a time of day, else to NewDate's day at the
    old clock time. The row never changes. The change goes through the confirmation
    (ConfirmChanges); refused, the old times come back. Repaints, and raises DateChanged for
    a confirmed move. An occurrence of a series asks for the scope instead, also without
    ConfirmChanges, and raises seriesDateChanged; "Abbrechen" brings the old times back. Nothing happens without a selection; dragzielTyp is not used. An invalid
    date, or one the move would carry out of the calendar, throws Dayplex::Error 5 and changes
    nothing.
*/
void ctlGantt::SelectedDateMove(double NewDate, qint32 dragzielTyp)
{
    Q_UNUSED(dragzielTyp);
    if (d->model.selectedDate.isEmpty())
        return;
    if (!isValidDate(NewDate))
        throw Error(InvalidArgument, QStringLiteral("SelectedDateMove: ungültiger Datumswert."));
    struct Move
    {
        qint32 index;
        Date von;
        Date bis;
    };
    QVector<Move> moves;
    for (qint32 i = 1; i <= d->model.dateCount(); ++i) {
        const GanttEintrag &e = d->model.date(i);
        if (e.dsn != d->model.selectedDate)
            continue;
        const Date von = ganttMovedStart(NewDate, e.von);
        const Date bis = cTools::NormalizeDate(von + (e.bis - e.von));
        if (!isValidDate(von) || !isValidDate(bis))
            throw Error(InvalidArgument,
                        QStringLiteral("SelectedDateMove: der Termin läge außerhalb des Kalenders."));
        moves.append({i, von, bis});
    }
    if (moves.isEmpty())
        return;
    for (const Move &m : moves) {
        d->model.date(m.index).von = m.von;
        d->model.date(m.index).bis = m.bis;
    }
    const qint32 last = moves.last().index;
    // Copies: the confirmation repaints and asks, and the list must not move under it.
    GanttEintrag asked = d->model.date(last);
    bool confirmed = false;
    std::optional<SeriesScope> scope;
    try {
        if (changeQuestion(d->model.details(asked.dsn)) == ChangeQuestion::Classic) {
            confirmed = d->common.ConfirmDateChange(asked.notiz, asked.von, asked.bis,
                                                    asked.vonOriginal, asked.bisOriginal, this);
        } else {
            scope = d->common.ConfirmSeriesChange(asked.notiz, asked.von, asked.bis,
                                                  asked.vonOriginal, asked.bisOriginal, this);
            confirmed = scope.has_value();
        }
    } catch (...) {
        // The question failed: the appointments keep their confirmed times.
        for (const Move &m : moves) {
            if (m.index <= d->model.dateCount()) {
                GanttEintrag &e = d->model.date(m.index);
                e.von = e.vonOriginal;
                e.bis = e.bisOriginal;
            }
        }
        Repaint();
        throw;
    }
    for (const Move &m : moves) {
        if (m.index > d->model.dateCount())
            continue;
        GanttEintrag &e = d->model.date(m.index);
        if (confirmed) {
            e.vonOriginal = e.von;
            e.bisOriginal = e.bis;
        } else {
            e.von = e.vonOriginal;
            e.bis = e.bisOriginal;
        }
    }
    Repaint();
    if (confirmed && last <= d->model.dateCount()) {
        // Copies: a handler that refreshes the model must not pull them from under the others.
        const GanttEintrag &e = d->model.date(last);
        const QString dsn = e.dsn;
        const Date von = e.von, bis = e.bis;
        if (scope)
            Q_EMIT seriesDateChanged(dsn, *scope, von, bis);
        else
            Q_EMIT DateChanged(dsn, von, bis);
    }
}

/*!
    Moves the shown days: 1 or -1 by one day, without weekday alignment; any other value by
    one page (the number of shown days) in its direction, aligned to the AlignOnWeekday
    weekday; 0 stays. Asks the host for the new days when needed and repaints. A value that is
    no number throws Dayplex::Error 13.
*/
void ctlGantt::Scroll(const QVariant &lngDirection)
{
    bool ok = false;
    const double direction = lngDirection.toDouble(&ok);
    if (!ok || !std::isfinite(direction))
        throw Error(TypeMismatch, QStringLiteral("Scroll: die Richtung ist keine Zahl."));
    const double shift = ganttScrollShift(direction, mStartDate, mEndDate);
    double last = mEndDate + shift;
    SetDisplayedRange(mStartDate + shift, &last, false, std::fabs(shift) >= 2);
    Repaint();
}

} // namespace Dayplex

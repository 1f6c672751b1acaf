// The Gantt view's keyboard path: walking the appointments with Tab, opening one, its context
// menu, and moving the selection in the steps of a drag until Enter.
#include "gantt/ganttgestures.h"

#include "gantt/ganttinteraction.h"
#include "shared/tabwalk.h"

#include <QHash>
#include <algorithm>
#include <tuple>

namespace Dayplex {

namespace {

// A drop lands on the ten-minute mark under the mouse (rundezeit).
constexpr Date kDragStep = 10.0 / 1440.0;

GanttActions passedOn()
{
    GanttActions action;
    action.passOn = true;
    return action;
}

GanttStep act(GanttStep::Kind kind) { return {kind, 0, 0, 0, BarRect(), QString()}; }

// The first row shown so that `row` is in sight, the rows between staying where they are.
qint32 firstRowShowing(const GanttGestureView &view, qint32 row)
{
    const GanttLayout &l = view.scene.layout;
    const qint32 fitting = l.lngZeilenhoehe > 0
                               ? std::max((view.height - l.lngZeilenOben) / l.lngZeilenhoehe, 1)
                               : 1;
    if (row < view.firstRow)
        return row;
    if (row >= view.firstRow + fitting)
        return row - fitting + 1;
    return 0;
}

} // namespace

QVector<qint32> ganttKeyboardOrder(const GanttModel &model, Date firstDay, Date dEnd)
{
    // The bar in the highest row stands for its key.
    QHash<QString, qint32> byKey;
    const auto row = [&model](qint32 index) { return model.merkmalIndexDsn(model.date(index).merkmaldsn); };
    for (qint32 i = 1; i <= model.dateCount(); ++i) {
        const GanttEintrag &e = model.date(i);
        if (e.breadonly || e.blnfeiertag || e.dsn.isEmpty() || row(i) < 1)
            continue;
        // An all-day entry ends at the midnight of its last day.
        if (!(e.von < dEnd) || (e.btagestermin ? e.bis < firstDay : e.bis <= firstDay))
            continue;
        const qint32 known = byKey.value(e.dsn);
        if (known == 0 || row(i) < row(known))
            byKey.insert(e.dsn, i);
    }
    QVector<qint32> order(byKey.cbegin(), byKey.cend());
    std::sort(order.begin(), order.end(), [&](qint32 a, qint32 b) {
        return std::make_tuple(model.date(a).von, row(a), a) < std::make_tuple(model.date(b).von, row(b), b);
    });
    return order;
}

qint32 GanttGestures::keyboardBar(const GanttModel &model) const
{
    const bool onSelection = m_focusIndex >= 1 && m_focusIndex <= model.dateCount()
                             && !model.selectedDate.isEmpty()
                             && model.date(m_focusIndex).dsn == model.selectedDate;
    return onSelection ? m_focusIndex : 0;
}

GanttActions GanttGestures::keyPress(const GanttGestureView &view, int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    m_keyboardInUse = true;
    if (key == Qt::Key_Escape) {
        if (m_moving)
            return escape();
        if (!movePending())
            return passedOn();
        GanttActions action;
        endPending(action);
        return action;
    }
    // A drag of the mouse owns the view until its release or Escape.
    if (m_moving || m_drawingProposal)
        return {};
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return walk(view, key == Qt::Key_Tab && !(mods & Qt::ShiftModifier));
    if (key == Qt::Key_Delete && mods == Qt::NoModifier) {
        if (view.model.selectedDate.isEmpty() || view.model.isSelectedReadOnly())
            return passedOn();
        GanttActions action;
        endPending(action);
        return action << GanttStep{GanttStep::RequestDelete, 0, 0, 0, BarRect(), view.model.selectedDate};
    }
    if (key == Qt::Key_Menu || (key == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
        GanttActions action;
        endPending(action);
        const BarRect bar = view.scene.bar(view.model, keyboardBar(view.model));
        const BarRect at = bar.isNull() ? BarRect{view.scene.right / 2, view.height / 2, 0, 0}
                                        : BarRect{bar.left + bar.width / 2, bar.top + bar.height / 2, 0, 0};
        return action << GanttStep{GanttStep::Menu, 1, 0, 0, at, view.model.selectedDate};
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        GanttActions action;
        if (movePending()) {
            action << act(GanttStep::EraseFrame);
            // As the release of a drag, while the selection is still the one the keys moved.
            const Date target = std::exchange(m_pendingTarget, 0);
            if (keyboardBar(view.model) == m_movingIndex && target > 0)
                action << GanttStep{GanttStep::Drop, 0, target, 0, BarRect(), QString()};
        } else if (keyboardBar(view.model)) {
            action << act(GanttStep::ShowSelected); // what a double click raises
        } else {
            action.passOn = true;
        }
        return action;
    }
    const bool alt = (mods & Qt::AltModifier) && !(mods & (Qt::ControlModifier | Qt::MetaModifier));
    if (alt && (key == Qt::Key_Left || key == Qt::Key_Right))
        return step(view, key, mods & Qt::ShiftModifier);
    return passedOn();
}

GanttActions GanttGestures::walk(const GanttGestureView &view, bool forward)
{
    GanttActions action;
    endPending(action);
    const GanttModel &model = view.model;
    const GanttLayout &l = view.scene.layout;
    const QVector<qint32> order = ganttKeyboardOrder(model, l.startDate, l.dEnd);
    qsizetype at = -1;
    if (keyboardBar(model)) {
        at = std::find_if(order.cbegin(), order.cend(),
                          [&model](qint32 i) { return model.date(i).dsn == model.selectedDate; })
             - order.cbegin();
        if (at == order.size())
            at = -1;
    }
    const qsizetype next = tabWalk(at, order.size(), forward);
    if (next < 0) {
        action.passOn = true;
        return action;
    }
    m_focusIndex = order.at(next);
    action << GanttStep{GanttStep::Select, 0, 0, 0, BarRect(), model.date(m_focusIndex).dsn}
           << act(GanttStep::Repaint);
    if (const qint32 first = firstRowShowing(view, model.merkmalIndexDsn(model.date(m_focusIndex).merkmaldsn)))
        action << GanttStep{GanttStep::FirstRow, first, 0, 0, BarRect(), QString()};
    return action;
}

GanttActions GanttGestures::step(const GanttGestureView &view, int key, bool byDay)
{
    GanttActions action;
    const GanttModel &model = view.model;
    if (model.selectedDate.isEmpty() || model.isSelectedReadOnly())
        return passedOn();
    if (!keyboardBar(model)) {
        const GanttLayout &l = view.scene.layout;
        for (qint32 index : ganttKeyboardOrder(model, l.startDate, l.dEnd)) {
            if (model.date(index).dsn == model.selectedDate)
                m_focusIndex = index;
        }
        if (!keyboardBar(model))
            return action;
    }
    // The frame shows where the bar the keyboard is on would land.
    if (!movePending() || m_movingIndex != m_focusIndex) {
        m_movingIndex = m_focusIndex;
        m_pendingTarget = model.date(m_focusIndex).von;
    }
    const Date von = model.date(m_focusIndex).von;
    // A move keeps the clock time of an appointment that starts at midnight: it moves by days.
    const Date size = byDay || !ganttHasTime(von) ? 1 : kDragStep;
    const Date target = m_pendingTarget + (key == Qt::Key_Left ? -size : size);
    const GanttLayout &l = view.scene.layout;
    // A drag can drop only on the days shown.
    if (!isValidDate(target) || target < l.startDate || !(target < l.dEnd))
        return action;
    m_pendingTarget = target;
    // The corner tells the moment.
    action << GanttStep{GanttStep::MouseMoment, 0, target, 0, BarRect(), QString()};
    landing(view, target, action);
    return action << act(GanttStep::Corner) << act(GanttStep::ShowFrame);
}

void GanttGestures::endPending(GanttActions &action)
{
    if (!movePending())
        return;
    m_pendingTarget = 0;
    action << act(GanttStep::EraseFrame);
}

std::optional<BarRect> GanttGestures::pendingLanding(const GanttGestureView &view) const
{
    return movePending() ? landingRect(view, m_pendingTarget) : std::nullopt;
}

GanttActions GanttGestures::focusLost()
{
    GanttActions action;
    endPending(action);
    return action;
}

} // namespace Dayplex

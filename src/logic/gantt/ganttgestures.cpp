#include "gantt/ganttgestures.h"

#include "gantt/ganttinteraction.h"
#include "shared/appointmentdetails.h"
#include "shared/rounding.h"

#include <cmath>
#include <utility>

namespace Dayplex {

namespace {

// A mouse coordinate in whole pixels; far beyond any screen it is held at a billion.
qint32 pixelOf(double coordinate)
{
    return roundedClamped(coordinate, -1e9, 1e9);
}

// The row at y when it can be marked: not above or below the rows, not the holiday row.
qint32 usableRowAt(const GanttGestureView &view, qint32 y)
{
    const qint32 row = view.scene.layout.rowAt(y, view.firstRow, view.model.rowCount());
    if (row < 1 || (row == 1 && view.holidayRow))
        return 0;
    return row;
}

GanttModelStep rowStep(GanttModelStep::Kind kind, qint32 row)
{
    return {kind, row, 0, 0, QString()};
}
GanttModelStep dateStep(GanttModelStep::Kind kind, Date from, Date to = 0)
{
    return {kind, 0, from, to, QString()};
}

} // namespace

void applyModelSteps(GanttModel &model, const QVector<GanttModelStep> &steps)
{
    for (const GanttModelStep &step : steps) {
        switch (step.kind) {
        case GanttModelStep::MarkRow: model.row(step.row).blnMarkiert = true; break;
        case GanttModelStep::ToggleRow:
            model.row(step.row).blnMarkiert = !model.row(step.row).blnMarkiert;
            break;
        case GanttModelStep::Select: model.selectedDate = step.key; break;
        case GanttModelStep::Proposal:
            model.vorschlagVon = step.from;
            model.vorschlagBis = step.to;
            break;
        case GanttModelStep::MouseMoment: model.datMaus = step.from; break;
        }
    }
}

GanttAction GanttGestures::press(const GanttGestureView &view, const GanttPointer &pointer)
{
    GanttAction action;
    // After Escape the held button still belongs to the cancelled move.
    if (m_escaped) {
        if ((pointer.buttons & ~pointer.button) != Qt::NoButton)
            return action;
        m_escaped = false; // its release never arrived
    }
    endPending(action);
    m_keyboardInUse = false;
    if (pointer.button == Qt::RightButton) {
        action.menu = true;
        if (const qint32 hit = view.scene.entryAt(view.model, pixelOf(pointer.x), pixelOf(pointer.y)))
            action.menuKey = view.model.date(hit).dsn;
        return action;
    }
    if (pointer.button != Qt::LeftButton)
        return action;
    const GanttModel &model = view.model;
    const GanttLayout &l = view.scene.layout;
    const qint32 x = pixelOf(pointer.x);
    const qint32 y = pixelOf(pointer.y);
    m_downX = x;
    m_downY = y;
    if (y < l.lngZeilenOben) {
        action.datePicker = true;
        return action;
    }
    const qint32 hit = view.scene.entryAt(model, x, y);
    if (x > l.lngNamenBreite && hit == 0) {
        if (const qint32 row = usableRowAt(view, y)) {
            // An empty stretch of a row: the row takes part, and a proposal is drawn from here.
            action.modelSteps << rowStep(GanttModelStep::MarkRow, row);
            m_drawingProposal = true;
            action.modelSteps << dateStep(GanttModelStep::Proposal, l.dateAtX(x), l.dateAtX(x));
            action.repaint = true;
        }
    }
    if (x < l.lngNamenBreite) {
        if (const qint32 row = usableRowAt(view, y)) {
            action.modelSteps << rowStep(GanttModelStep::ToggleRow, row);
            action.repaint = true;
        }
    } else if (hit > 0) {
        const GanttEintrag &e = model.date(hit);
        action.modelSteps << GanttModelStep{GanttModelStep::Select, 0, 0, 0,
                                            e.blnfeiertag || e.breadonly ? QString() : e.dsn};
        // The keyboard follows the click.
        m_focusIndex = hit;
        action.repaint = true;
    }
    return action;
}

GanttAction GanttGestures::move(const GanttGestureView &view, const GanttPointer &pointer)
{
    GanttAction action;
    if (m_escaped && pointer.buttons != Qt::NoButton)
        return action;
    m_escaped = false;
    const GanttModel &model = view.model;
    const GanttLayout &l = view.scene.layout;
    const qint32 x = pixelOf(pointer.x);
    const qint32 y = pixelOf(pointer.y);
    const Date mouse = l.dateAtX(x);
    action.modelSteps << dateStep(GanttModelStep::MouseMoment, mouse);
    // The hairline would take the place of the landing frame of a move by the keys.
    if (mouse > 0 && pointer.buttons == Qt::NoButton && !movePending()) {
        action.frame = GanttAction::Frame::Draw;
        action.frameRect = {x, l.lngKopfhoehe, 1, view.height};
        action.corner = true;
    }
    if (m_drawingProposal) {
        // Dragged back before its start, the proposal goes.
        const bool back = mouse < model.vorschlagVon;
        if (back)
            m_drawingProposal = false;
        action.modelSteps << dateStep(GanttModelStep::Proposal, back ? 0 : model.vorschlagVon,
                                      back ? 0 : mouse);
        action.repaint = true;
    } else if (!(pointer.buttons & Qt::LeftButton)) {
        const qint32 hit = view.scene.entryAt(model, x, y);
        if (hit > 0) {
            const GanttEintrag &entry = model.date(hit);
            action.toolTip = view.scene.modern ? ganttModernToolTip(model, hit)
                                               : tooltipWithDetails(entry.notiz, model.details(entry.dsn));
        } else {
            action.toolTip = QString();
        }
    } else if (m_moving) {
        landing(view, l.dateAtX(x), action);
        action.corner = true;
    } else if (!model.selectedDate.isEmpty()
               && qint64(std::abs(qint64(x) - m_downX)) + std::abs(qint64(y) - m_downY)
                      > kGanttMoveThreshold) {
        m_moving = true;
        // The frame follows the pressed bar, or the first bar of the selection on screen.
        const GanttModel &records = view.model;
        m_movingIndex = view.scene.entryAt(records, m_downX, m_downY);
        if (m_movingIndex > 0 && records.date(m_movingIndex).dsn != records.selectedDate)
            m_movingIndex = 0;
        for (qint32 i = 1; i <= records.dateCount() && m_movingIndex == 0; ++i) {
            if (records.date(i).dsn == records.selectedDate && view.scene.bar(records, i).top > 0)
                m_movingIndex = i;
        }
        action.pointer = QStringLiteral("curMove");
        landing(view, l.dateAtX(x), action);
    }
    return action;
}

GanttAction GanttGestures::release(const GanttGestureView &view, const GanttPointer &pointer)
{
    GanttAction action;
    if (m_escaped) {
        m_escaped = pointer.buttons != Qt::NoButton;
        return action;
    }
    const bool wasMoving = m_moving;
    m_moving = false;
    if (wasMoving)
        action.frame = GanttAction::Frame::Erase;
    if (pointer.button == Qt::LeftButton) {
        if (m_drawingProposal) {
            m_drawingProposal = false; // the proposal stays
        } else if (wasMoving) {
            // Left of the time area the date is 0: the move ends silently.
            action.moveTo = view.scene.layout.dateAtX(pixelOf(pointer.x));
        }
    }
    action.pointer = QString();
    return action;
}

GanttAction GanttGestures::doubleClick(const GanttGestureView &view, const GanttPointer &pointer)
{
    GanttAction action;
    // The second press of a double click is no press of its own: it shows the selection.
    action.showSelected = pointer.button == Qt::LeftButton && !view.model.selectedDate.isEmpty();
    const qint32 x = pixelOf(pointer.x), y = pixelOf(pointer.y);
    const GanttLayout &l = view.scene.layout;
    if (pointer.button != Qt::LeftButton || x <= l.lngNamenBreite || y < l.lngZeilenOben
        || view.scene.entryAt(view.model, x, y) != 0)
        return action;
    const qint32 row = usableRowAt(view, y);
    const Date from = l.dateAtX(x);
    if (row == 0 || !(from > 0))
        return action;
    action.newFrom = from;
    action.newTo = from + kGanttNewLength;
    action.newRow = view.model.row(row).dsn;
    return action;
}

GanttAction GanttGestures::escape()
{
    GanttAction action;
    if (!m_moving)
        return action;
    m_moving = false;
    m_escaped = true;
    action.frame = GanttAction::Frame::Erase;
    action.pointer = QString();
    return action;
}

void GanttGestures::landing(const GanttGestureView &view, Date target, GanttAction &action) const
{
    const GanttModel &model = view.model;
    action.frame = GanttAction::Frame::Erase;
    if (m_movingIndex < 1 || m_movingIndex > model.dateCount())
        return;
    const GanttEintrag &e = model.date(m_movingIndex);
    const GanttLayout &l = view.scene.layout;
    const BarRect landing = ganttLandingRect(l, e.von, e.bis, model.merkmalIndexDsn(e.merkmaldsn),
                                             view.firstRow, target);
    if (landing.isNull())
        return;
    // Just outside the bar's own pixels, so that its black frame stays visible inside.
    action.frame = GanttAction::Frame::Draw;
    action.frameRect = {landing.left - 1, landing.top - 1, landing.width + 1, landing.height + 1};
}

} // namespace Dayplex

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

GanttStep act(GanttStep::Kind kind) { return {kind, 0, 0, 0, BarRect(), QString()}; }
GanttStep rowStep(GanttStep::Kind kind, qint32 row) { return {kind, row, 0, 0, BarRect(), QString()}; }
GanttStep dateStep(GanttStep::Kind kind, Date from, Date to = 0) { return {kind, 0, from, to, BarRect(), QString()}; }
GanttStep textStep(GanttStep::Kind kind, const QString &text) { return {kind, 0, 0, 0, BarRect(), text}; }
GanttStep frameStep(const BarRect &rect) { return {GanttStep::DrawFrame, 0, 0, 0, rect, QString()}; }

} // namespace

bool applyModelStep(GanttModel &model, const GanttStep &step)
{
    switch (step.kind) {
    case GanttStep::MarkRow: model.row(step.value).blnMarkiert = true; return true;
    case GanttStep::ToggleRow:
        model.row(step.value).blnMarkiert = !model.row(step.value).blnMarkiert;
        return true;
    case GanttStep::Select: model.selectedDate = step.text; return true;
    case GanttStep::Proposal:
        model.vorschlagVon = step.from;
        model.vorschlagBis = step.to;
        return true;
    case GanttStep::MouseMoment: model.datMaus = step.from; return true;
    default: return false;
    }
}

GanttActions GanttGestures::press(const GanttGestureView &view, const GanttPointer &pointer)
{
    GanttActions action;
    // After Escape the held button still belongs to the cancelled move.
    if (m_escaped) {
        if ((pointer.buttons & ~pointer.button) != Qt::NoButton)
            return action;
        m_escaped = false; // its release never arrived
    }
    endPending(action);
    m_keyboardInUse = false;
    if (pointer.button == Qt::RightButton) {
        const qint32 hit = view.scene.entryAt(view.model, pixelOf(pointer.x), pixelOf(pointer.y));
        return action << textStep(GanttStep::Menu, hit ? view.model.date(hit).dsn : QString());
    }
    if (pointer.button != Qt::LeftButton)
        return action;
    const GanttModel &model = view.model;
    const GanttLayout &l = view.scene.layout;
    const qint32 x = pixelOf(pointer.x);
    const qint32 y = pixelOf(pointer.y);
    m_downX = x;
    m_downY = y;
    if (y < l.lngZeilenOben)
        return action << act(GanttStep::DatePicker);
    const qint32 hit = view.scene.entryAt(model, x, y);
    if (x > l.lngNamenBreite && hit == 0) {
        if (const qint32 row = usableRowAt(view, y)) {
            // An empty stretch of a row: the row takes part, and a proposal is drawn from here.
            m_drawingProposal = true;
            return action << rowStep(GanttStep::MarkRow, row)
                          << dateStep(GanttStep::Proposal, l.dateAtX(x), l.dateAtX(x))
                          << act(GanttStep::Repaint);
        }
    }
    if (x < l.lngNamenBreite) {
        if (const qint32 row = usableRowAt(view, y))
            action << rowStep(GanttStep::ToggleRow, row) << act(GanttStep::Repaint);
    } else if (hit > 0) {
        // The keyboard follows the click.
        m_focusIndex = hit;
        action << textStep(GanttStep::Select, model.selectableKey(hit))
               << act(GanttStep::Repaint);
    }
    return action;
}

GanttActions GanttGestures::move(const GanttGestureView &view, const GanttPointer &pointer)
{
    GanttActions action;
    if (m_escaped && pointer.buttons != Qt::NoButton)
        return action;
    m_escaped = false;
    const GanttModel &model = view.model;
    const GanttLayout &l = view.scene.layout;
    const qint32 x = pixelOf(pointer.x);
    const qint32 y = pixelOf(pointer.y);
    const Date mouse = l.dateAtX(x);
    action << dateStep(GanttStep::MouseMoment, mouse);
    const bool drawing = m_drawingProposal;
    if (drawing) {
        // Dragged back before its start, the proposal goes.
        const bool back = mouse < model.vorschlagVon;
        if (back)
            m_drawingProposal = false;
        action << dateStep(GanttStep::Proposal, back ? 0 : model.vorschlagVon, back ? 0 : mouse);
    }
    // The frame and the corner drawn onto the kept picture are shown at once.
    bool show = false;
    // The hairline would take the place of the landing frame of a move by the keys.
    if (mouse > 0 && pointer.buttons == Qt::NoButton && !movePending()) {
        action << frameStep({x, l.lngKopfhoehe, 1, view.height}) << act(GanttStep::Corner);
        show = true;
    }
    const bool hover = !drawing && !(pointer.buttons & Qt::LeftButton);
    if (drawing || hover) {
        // The proposal repaints, the tooltip follows the frame.
    } else if (m_moving) {
        landing(view, l.dateAtX(x), action);
        action << act(GanttStep::Corner);
        show = true;
    } else if (!model.selectedDate.isEmpty()
               && qint64(std::abs(qint64(x) - m_downX)) + std::abs(qint64(y) - m_downY)
                      > kGanttMoveThreshold) {
        m_moving = true;
        // The frame follows the pressed bar, or the first bar of the selection on screen.
        m_movingIndex = view.scene.entryAt(model, m_downX, m_downY);
        if (m_movingIndex > 0 && model.date(m_movingIndex).dsn != model.selectedDate)
            m_movingIndex = 0;
        for (qint32 i = 1; i <= model.dateCount() && m_movingIndex == 0; ++i) {
            if (model.date(i).dsn == model.selectedDate && view.scene.bar(model, i).top > 0)
                m_movingIndex = i;
        }
        landing(view, l.dateAtX(x), action);
        show = action.steps.last().kind == GanttStep::DrawFrame;
        action.finally << textStep(GanttStep::Pointer, QStringLiteral("curMove"));
    }
    if (show)
        action << act(GanttStep::ShowFrame);
    if (drawing)
        action << act(GanttStep::Repaint);
    if (hover) {
        const qint32 hit = view.scene.entryAt(model, x, y);
        QString tip;
        if (hit > 0) {
            const GanttEintrag &entry = model.date(hit);
            tip = view.scene.modern ? ganttModernToolTip(model, hit)
                                    : tooltipWithDetails(entry.notiz, model.details(entry.dsn));
        }
        action << textStep(GanttStep::ToolTip, tip);
    }
    return action;
}

GanttActions GanttGestures::release(const GanttGestureView &view, const GanttPointer &pointer)
{
    GanttActions action;
    if (m_escaped) {
        m_escaped = pointer.buttons != Qt::NoButton;
        return action;
    }
    const bool wasMoving = m_moving;
    m_moving = false;
    if (wasMoving)
        action << act(GanttStep::EraseFrame);
    if (pointer.button == Qt::LeftButton) {
        if (m_drawingProposal) {
            m_drawingProposal = false; // the proposal stays
        } else if (wasMoving) {
            // Left of the time area the date is 0: the move ends silently.
            if (const Date target = view.scene.layout.dateAtX(pixelOf(pointer.x)); target > 0)
                action << dateStep(GanttStep::Drop, target);
        }
    }
    action.finally << textStep(GanttStep::Pointer, QString());
    return action;
}

GanttActions GanttGestures::doubleClick(const GanttGestureView &view, const GanttPointer &pointer)
{
    GanttActions action;
    // The second press of a double click is no press of its own: it shows the selection.
    if (pointer.button == Qt::LeftButton && !view.model.selectedDate.isEmpty())
        action << act(GanttStep::ShowSelected);
    const qint32 x = pixelOf(pointer.x), y = pixelOf(pointer.y);
    const GanttLayout &l = view.scene.layout;
    if (pointer.button != Qt::LeftButton || x <= l.lngNamenBreite || y < l.lngZeilenOben
        || view.scene.entryAt(view.model, x, y) != 0)
        return action;
    const qint32 row = usableRowAt(view, y);
    const Date from = l.dateAtX(x);
    if (row == 0 || !(from > 0))
        return action;
    return action << GanttStep{GanttStep::NewAppointment, 0, from, from + kGanttNewLength, BarRect(),
                               view.model.row(row).dsn};
}

GanttActions GanttGestures::escape()
{
    GanttActions action;
    if (!m_moving)
        return action;
    m_moving = false;
    m_escaped = true;
    action << act(GanttStep::EraseFrame);
    action.finally << textStep(GanttStep::Pointer, QString());
    return action;
}

std::optional<BarRect> GanttGestures::landingRect(const GanttGestureView &view, Date target) const
{
    const GanttModel &model = view.model;
    if (m_movingIndex < 1 || m_movingIndex > model.dateCount())
        return std::nullopt;
    const GanttEintrag &e = model.date(m_movingIndex);
    const GanttLayout &l = view.scene.layout;
    const BarRect landing = ganttLandingRect(l, e.von, e.bis, model.merkmalIndexDsn(e.merkmaldsn),
                                             view.firstRow, target);
    if (landing.isNull())
        return std::nullopt;
    // Just outside the bar's own pixels, so that its black frame stays visible inside.
    return BarRect{landing.left - 1, landing.top - 1, landing.width + 1, landing.height + 1};
}

void GanttGestures::landing(const GanttGestureView &view, Date target, GanttActions &action) const
{
    if (const std::optional<BarRect> rect = landingRect(view, target))
        action << frameStep(*rect);
    else
        action << act(GanttStep::EraseFrame);
}

} // namespace Dayplex

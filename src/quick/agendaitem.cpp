#include "agendaitem.h"

#include "quickfeed.h"
#include "calendar/agendatable.h"
#include "model/modelvalues.h"
#include "shared/defaultoptions.h"
#include "shared/focusframe.h"
#include "shared/logging.h"
#include "shared/toolbox.h"
#include "shared/timeaxiszoom.h"

#include <dayplex/error.h>

#include <QPainter>

namespace Dayplex {

namespace {

constexpr int kAutoScrollMilliseconds = 100;

} // namespace

AgendaItem::AgendaItem(QQuickItem *parent) : QuickViewBase(parent)
{
    adopt(m_core);
    m_core.setOptions(defaultOptionsString());
    m_core.grid.setRaster(30 * kOneMinute);
    m_core.grid.dayInfoHeight = 3;
    m_autoScroll.setInterval(kAutoScrollMilliseconds);
    connect(&m_autoScroll, &QTimer::timeout, this, [this] {
        guarded("scrolling while dragging", [this] { perform(m_core.autoScrollTick()); });
    });
}

AgendaItem::~AgendaItem() = default;

int AgendaItem::timeRaster() const
{
    return int(std::nearbyint(m_core.grid.timeRaster / kOneMinute));
}

void AgendaItem::setTimeRaster(int minutes)
{
    if (minutes == timeRaster())
        return;
    guarded("setting the raster", [&] {
        if (!CalendarGrid::dividesDay(minutes * kOneMinute))
            throw Error(InvalidArgument,
                        QStringLiteral("timeRaster: %1 Minuten teilen den Tag nicht in ganze Zeilen.")
                            .arg(minutes));
        m_core.grid.setRaster(minutes * kOneMinute);
        m_core.grid.firstTime = CalendarGrid::roundDown(m_core.grid.firstTime, m_core.grid.timeRaster);
        // The cells follow the new rows.
        double last = m_core.grid.lastDay;
        m_core.setDisplayedRange(m_core.grid.firstDay, &last, false, false);
    });
    told();
    showChanges();
}

QString AgendaItem::selectedDate() const
{
    return m_core.selectedKey();
}

void AgendaItem::setSelectedDate(const QString &key)
{
    m_core.selectKey(key);
    m_core.gesture.followSelection();
    told();
    showChanges();
}

QDateTime AgendaItem::selectionStart() const
{
    return momentOf(m_core.selection.start);
}

QDateTime AgendaItem::selectionEnd() const
{
    return m_core.selection.start > 0 ? momentOf(m_core.selection.endSlot + m_core.grid.timeRaster)
                                      : QDateTime();
}

QDateTime AgendaItem::currentDate() const
{
    return momentOf(m_core.workingDate());
}

bool AgendaItem::confirmChanges() const
{
    return m_core.settings.confirmChanges;
}

void AgendaItem::setConfirmChanges(bool confirm)
{
    if (confirm == m_core.settings.confirmChanges)
        return;
    m_core.settings.confirmChanges = confirm;
    Q_EMIT optionsChanged();
}

QString AgendaItem::accessibleName() const
{
    return AgendaTable(m_core).defaultName();
}

QString AgendaItem::accessibleDescription() const
{
    return viewSummary(AgendaTable(m_core));
}

int AgendaItem::renders() const
{
    return int(m_core.kept.renders);
}

void AgendaItem::addDate(const QString &key, const QString &memo, const QDateTime &start,
                         const QDateTime &end, bool allDay, const QColor &textColour, bool done,
                         const QColor &backgroundColour, bool readOnly)
{
    guarded("addDate", [&] {
        m_core.data.store.add(key, memo, checkedDate(start, "addDate"), checkedDate(end, "addDate"), allDay,
                              appointmentColour(textColour, false, allDay), done,
                              appointmentColour(backgroundColour, true, allDay), readOnly, false);
    });
    showChanges();
}

QPointF AgendaItem::pointOf(const QDateTime &moment, bool band) const
{
    const CalendarGrid &grid = m_core.scene.grid;
    const Date at = moment.isValid() ? toDate(moment) : 0;
    const qint32 column = moment.isValid() ? grid.columnOf(at) : -1;
    const Date time = cToolbox::TimeOnly(at);
    if (column < 0 || (!band && (time < grid.firstTime || time > m_core.scene.lastVisibleTime)))
        return QPointF(-1, -1);
    const qint32 x = grid.columnLeft(column) + grid.geo.lngSpaltenBreite / 2;
    const qint32 y = band ? grid.geo.lngOben + grid.geo.lngKopfhoehe + 2 : grid.timeY(time);
    return QPointF(x, y);
}

QRectF AgendaItem::appointmentRect(const QString &key) const
{
    for (const auto &[index, rect] : boxesOnScreen(m_core.scene))
        if (m_core.data.store.contains(index) && m_core.data.store.at(index).dsn == key)
            return rect;
    return QRectF();
}

const QImage &AgendaItem::picture(QSize size, qreal ratio)
{
    m_core.surfaceArea = QRect(QPoint(0, 0), size);
    const QImage &kept = m_core.picture(size, ratio);
    m_core.kept.unshown = QRegion();
    const bool focusFrame = hasActiveFocus() && m_core.gesture.keyboardInUse();
    if (!focusFrame && m_core.ghost.none())
        return kept;
    // The ghost and the focus frame lie over the kept picture, which stays as it is.
    m_shown = kept.copy();
    QPainter painter(&m_shown);
    m_core.paintGhost(painter, size.width(), size.height());
    if (focusFrame) {
        const GestureView view = m_core.gestureView();
        const QRect surface(QPoint(0, 0), size);
        const QRect at = keyboardFocusRect(view, m_core.gesture.onAppointment(view));
        drawFocusFrame(painter, at.isEmpty() ? surface.adjusted(3, 3, -3, -3) : at, surface);
    }
    return m_shown;
}

void AgendaItem::pointerPress(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at)
{
    // A stale gesture is painted away before the press goes in again.
    m_core.pressAndPerform(button, buttons, at.x(), at.y(), [this](const GestureResult &r) { perform(r); });
}

void AgendaItem::pointerMove(Qt::MouseButtons buttons, QPointF at)
{
    perform(m_core.move(buttons, at.x(), at.y()));
}

void AgendaItem::pointerRelease(bool stillHeld, QPointF at)
{
    perform(m_core.release(stillHeld, at.x(), at.y()));
}

void AgendaItem::pointerDoubleClick(QPointF at)
{
    perform(m_core.doubleClick(at.x(), at.y()));
}

void AgendaItem::wheelTurn(int angleDelta)
{
    if (const qint32 rows = m_core.wheelRows(angleDelta)) {
        m_core.scrollRows(rows);
        showChanges();
    }
}

bool AgendaItem::keyPress(int key, Qt::KeyboardModifiers modifiers)
{
    const GestureResult result = m_core.keyPress(key, modifiers);
    perform(result);
    showChanges(); // the focus frame follows the keyboard
    return !result.passOn;
}

void AgendaItem::cancelGesture()
{
    perform(m_core.gesture.escape());
}

QSizeF AgendaItem::panStep() const
{
    const GridGeometry &geo = m_core.scene.grid.geo;
    return QSizeF(geo.lngSpaltenBreite, geo.lngZeilenhoehe);
}

void AgendaItem::pan(int columns, int rows)
{
    panDays(columns);
    if (rows)
        m_core.scrollRows(rows);
    told();
    showChanges();
}

void AgendaItem::zoom(int steps)
{
    setTimeRaster(zoomedRasterMinutes(timeRaster(), steps));
}

std::unique_ptr<FeedTarget> AgendaItem::feedTarget()
{
    return std::make_unique<AgendaFeed>(this);
}

void AgendaItem::focusOutEvent(QFocusEvent *event)
{
    QuickViewBase::focusOutEvent(event);
    guarded("the keyboard leaving the view", [this] { perform(m_core.focusLost()); });
    showChanges();
}

void AgendaItem::perform(const GestureResult &result)
{
    performAnswer(result, [this](const GestureAction &a) { run(a); }, [&] {
        m_core.answerFailed(result);
        showChanges();
    });
}

void AgendaItem::run(const GestureAction &a)
{
    using A = GestureAction;
    if (m_core.applyOwnStep(a))
        return;
    switch (a.kind) {
    case A::Repaint:
    case A::UpdateLater:
        showChanges();
        break;
    case A::Ghost:
        m_core.setGhost(a.rect.x(), a.rect.y(), a.rect.width(), a.rect.height(),
                        m_core.surfaceArea.size());
        showChanges();
        break;
    case A::Cursor:
        setCursorNamed(a.text);
        break;
    case A::Tooltip:
        setToolTipText(a.text);
        break;
    case A::Drop:
        if (m_core.moveSelected(a.from, a.value))
            decideChange(m_core.selection.index);
        break;
    case A::ConfirmResize:
        decideChange(a.value);
        break;
    case A::ShowSelected:
        if (!m_core.selectedKey().isEmpty())
            Q_EMIT showDate(m_core.selectedKey());
        break;
    case A::StartAutoScroll:
        // A running timer keeps its rhythm; a restart with every move would stop its ticks.
        if (!m_autoScroll.isActive())
            m_autoScroll.start();
        break;
    case A::StopAutoScroll:
        m_autoScroll.stop();
        m_core.gesture.stopAutoScroll();
        break;
    case A::NewAppointment:
        Q_EMIT newAppointmentRequested(toQDateTime(a.from), toQDateTime(a.to), a.value != 0);
        break;
    case A::RequestDelete:
        Q_EMIT deleteRequested(a.text);
        break;
    // A Qt Quick window has no menu or date picker of the view's own.
    case A::OpenContextMenu:
    case A::OpenDatePicker:
    default: // PressAgain, or one of the core's own
        break;
    }
}

void AgendaItem::decideChange(qint32 index)
{
    const std::optional<ChangeRequest> request = m_core.changeRequest(index);
    if (!request)
        return;
    ask(*request, m_core.data.store.at(request->index).dsn);
}

std::pair<Date, Date> AgendaItem::shownDays() const
{
    return {m_core.grid.firstDay, m_core.grid.lastDay};
}

bool AgendaItem::selectionMovedSinceTold()
{
    const std::tuple<Date, Date, qint32> selection{m_core.selection.start, m_core.selection.endSlot,
                                                   m_core.selection.index};
    return std::exchange(m_toldSelection, selection) != selection;
}

} // namespace Dayplex

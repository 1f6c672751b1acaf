#include "resourceviewitem.h"

#include "model/modelvalues.h"
#include "quickfeed.h"
#include "gantt/gantttable.h"
#include "shared/cdc.h"
#include "shared/logging.h"
#include "shared/timeaxiszoom.h"
#include "shared/wheelnotches.h"

#include <dayplex/error.h>

#include <QPainter>

#include <algorithm>

namespace Dayplex {

ResourceViewItem::ResourceViewItem(QQuickItem *parent) : QuickViewBase(parent)
{
    adopt(m_core);
}

ResourceViewItem::~ResourceViewItem() = default;

int ResourceViewItem::dayCount() const
{
    return int(m_core.endDate - m_core.startDate) + 1;
}

void ResourceViewItem::setDayCount(int days)
{
    if (days == dayCount() || days < 1)
        return;
    guarded("setting the days shown", [&] {
        double last = m_core.startDate + days - 1;
        m_core.setDisplayedRange(m_core.startDate, &last, false, false);
    });
    told();
    showChanges();
}

QString ResourceViewItem::selectedDate() const
{
    return m_core.model.selectedDate;
}

void ResourceViewItem::setSelectedDate(const QString &key)
{
    m_core.model.selectedDate = key;
    told();
    showChanges();
}

bool ResourceViewItem::confirmChanges() const
{
    return m_core.settings.options.boolValue(QStringLiteral("blnConfirmChanges"));
}

QString ResourceViewItem::accessibleName() const
{
    return GanttTable(m_core).defaultName();
}

QString ResourceViewItem::accessibleDescription() const
{
    return viewSummary(GanttTable(m_core));
}

int ResourceViewItem::renders() const
{
    return int(m_core.pictureRenders);
}

void ResourceViewItem::addMerkmal(const QString &name, const QString &key)
{
    m_core.model.addMerkmal(name, key);
    showChanges();
}

void ResourceViewItem::addDate(const QString &key, const QString &text, const QDateTime &start,
                               const QDateTime &end, const QString &rowKey, bool allDay,
                               const QColor &textColour, bool done,
                               const QColor &backgroundColour, bool readOnly)
{
    guarded("addDate", [&] {
        m_core.model.addDate(key, text, checkedDate(start, "addDate"), checkedDate(end, "addDate"), allDay,
                             appointmentColour(textColour, false, allDay), done,
                             appointmentColour(backgroundColour, true, allDay), readOnly, rowKey,
                             false, false);
    });
    showChanges();
}

QPointF ResourceViewItem::pointOf(const QDateTime &moment, const QString &rowKey) const
{
    const GanttLayout &layout = m_core.scene.layout;
    const qint32 row = m_core.model.merkmalIndexDsn(rowKey);
    if (!moment.isValid() || row < m_core.scene.firstRow || row > m_core.scene.lastRow)
        return QPointF(-1, -1);
    const qint32 top = layout.rowTop(row, m_core.scene.firstRow);
    return QPointF(layout.xOf(toDate(moment)), top + layout.rowHeight(row) / 2);
}

QRectF ResourceViewItem::appointmentRect(const QString &key) const
{
    for (qint32 i = 1; i <= m_core.model.dateCount(); ++i) {
        if (m_core.model.date(i).dsn != key)
            continue;
        const BarRect bar = m_core.scene.bar(m_core.model, i);
        if (!bar.isNull())
            return QRectF(bar.left, bar.top, bar.width, bar.height);
    }
    return QRectF();
}

const QImage &ResourceViewItem::picture(QSize size, qreal)
{
    m_core.surfaceSize = size;
    m_core.surfaceVisible = true;
    m_core.prepareScreen(false);
    m_core.shownChanges = QRegion();
    const bool focusFrame = hasActiveFocus() && m_core.gestures.keyboardInUse();
    if (m_core.drag.none() && !focusFrame)
        return m_core.picture;
    // The frame of a drag and the focus frame lie over the kept picture, which stays as it is.
    m_shown = QImage(m_core.picture.size(), QImage::Format_RGB32);
    QPainter painter(&m_shown);
    m_core.drawScreen(painter);
    if (focusFrame)
        m_core.paintFocusFrame(painter);
    return m_shown;
}

void ResourceViewItem::pointerPress(Qt::MouseButton button, Qt::MouseButtons, QPointF at)
{
    perform(m_core.press({button, button, at.x(), at.y()}));
}

void ResourceViewItem::pointerMove(Qt::MouseButtons buttons, QPointF at)
{
    perform(m_core.move({Qt::NoButton, buttons, at.x(), at.y()}));
}

void ResourceViewItem::pointerRelease(bool stillHeld, QPointF at)
{
    perform(m_core.release({Qt::LeftButton, stillHeld ? Qt::LeftButton : Qt::NoButton, at.x(), at.y()}));
}

void ResourceViewItem::pointerDoubleClick(QPointF at)
{
    perform(m_core.doubleClick({Qt::LeftButton, Qt::LeftButton, at.x(), at.y()}));
}

void ResourceViewItem::wheelTurn(int angleDelta)
{
    // A notch scrolls a row, a fling at most a page of five.
    if (const int notches = takeWholeNotches(m_wheelRest, angleDelta, 5))
        pan(0, -notches);
}

bool ResourceViewItem::keyPress(int key, Qt::KeyboardModifiers modifiers)
{
    const GanttActions actions = m_core.keyPress(key, modifiers);
    perform(actions);
    showChanges(); // the focus frame follows the keyboard
    return !actions.passOn;
}

void ResourceViewItem::cancelGesture()
{
    perform(m_core.gestures.escape());
}

QSizeF ResourceViewItem::panStep() const
{
    const GanttLayout &layout = m_core.scene.layout;
    const qint32 row = std::max(m_core.scene.firstRow, 1);
    return QSizeF(layout.xOf(m_core.startDate + 1) - layout.xOf(m_core.startDate), layout.rowHeight(row));
}

void ResourceViewItem::pan(int columns, int rows)
{
    panDays(columns);
    m_core.firstRow = std::clamp(m_core.firstRow + rows, 1, std::max(m_core.model.rowCount(), 1));
    told();
    showChanges();
}

void ResourceViewItem::zoom(int steps)
{
    setDayCount(zoomedDayCount(dayCount(), steps));
}

std::unique_ptr<FeedTarget> ResourceViewItem::feedTarget()
{
    return std::make_unique<GanttFeed>(this);
}

void ResourceViewItem::focusOutEvent(QFocusEvent *event)
{
    QuickViewBase::focusOutEvent(event);
    guarded("the keyboard leaving the view", [this] { perform(m_core.focusLost()); });
    showChanges();
}

void ResourceViewItem::perform(const GanttActions &actions)
{
    performAnswer(actions, [this](const GanttStep &step) { run(step); }, [] {});
}

void ResourceViewItem::run(const GanttStep &step)
{
    if (applyModelStep(m_core.model, step))
        return showChanges();
    using S = GanttStep;
    switch (step.kind) {
    case S::DrawFrame:
        m_core.drawDragFrame(step.rect.left, step.rect.top, step.rect.width, step.rect.height);
        showChanges();
        break;
    case S::EraseFrame:
        m_core.eraseDragFrame();
        showChanges();
        break;
    case S::Corner:
        m_core.drawCorner();
        showChanges();
        break;
    case S::ShowFrame:
    case S::Repaint:
        showChanges();
        break;
    case S::ToolTip:
        setToolTipText(step.text);
        break;
    case S::Pointer:
        setCursorNamed(step.text);
        break;
    case S::FirstRow:
        m_core.firstRow = step.value;
        showChanges();
        break;
    case S::Drop:
        if (const std::optional<ChangeRequest> request = m_core.moveSelected(step.from))
            ask(*request, m_core.model.date(request->index).dsn);
        break;
    case S::ShowSelected:
        if (!m_core.model.selectedDate.isEmpty())
            Q_EMIT showDate(m_core.model.selectedDate);
        break;
    case S::NewAppointment:
        Q_EMIT newAppointmentRequested(toQDateTime(step.from), toQDateTime(step.to), step.text);
        break;
    case S::RequestDelete:
        Q_EMIT deleteRequested(step.text);
        break;
    // A Qt Quick window has no menu or date picker of the view's own.
    case S::Menu:
    case S::DatePicker:
    default:
        break;
    }
}

std::pair<Date, Date> ResourceViewItem::shownDays() const
{
    return {m_core.startDate, m_core.endDate};
}

bool ResourceViewItem::selectionMovedSinceTold()
{
    return std::exchange(m_toldSelection, m_core.model.selectedDate) != m_core.model.selectedDate;
}

} // namespace Dayplex

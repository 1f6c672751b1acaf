#ifndef DAYPLEX_RESOURCEVIEWITEM_H
#define DAYPLEX_RESOURCEVIEWITEM_H

#include "gantt/ganttcore.h"
#include "quickviewbase.h"

#include <QDateTime>

namespace Dayplex {

/// The resource view as a Qt Quick item: one row per participant, the appointments as bars on
/// a time axis of days, drawn exactly as the widget ctlGantt draws it. The host answers
/// needDates with setFilledRange, addMerkmal and addDate, or sets a model and a participant
/// model. ResourceView (ResourceView.qml) is this item with the default questions and screen
/// reader texts.
class DAYPLEX_QUICK_EXPORT ResourceViewItem : public QuickViewBase
{
    Q_OBJECT
    QML_ELEMENT
    /// The number of days shown; a pinch changes it (28, 21, 14, 7, 5, 3, 2, 1).
    Q_PROPERTY(int dayCount READ dayCount WRITE setDayCount NOTIFY rangeChanged)
    /// The key of the selected appointment; empty for none.
    Q_PROPERTY(QString selectedDate READ selectedDate WRITE setSelectedDate NOTIFY selectionChanged)
    /// Whether a move is asked about first (changeQuestion): the option blnConfirmChanges.
    Q_PROPERTY(bool confirmChanges READ confirmChanges NOTIFY optionsChanged)

public:
    explicit ResourceViewItem(QQuickItem *parent = nullptr);
    ~ResourceViewItem() override;

    int dayCount() const;
    void setDayCount(int days);
    QString selectedDate() const;
    void setSelectedDate(const QString &key);
    bool confirmChanges() const;
    QString accessibleName() const override;
    QString accessibleDescription() const override;
    int renders() const override;

    /// One row: the name shown and the key appointments name it by.
    Q_INVOKABLE void addMerkmal(const QString &name, const QString &key);
    /// One bar in the row with the key rowKey; an invalid colour takes the layout's colour. A
    /// start or end that is not a date is refused with a warning in the log.
    Q_INVOKABLE void addDate(const QString &key, const QString &text, const QDateTime &start,
                             const QDateTime &end, const QString &rowKey, bool allDay = false,
                             const QColor &textColour = QColor(), bool done = false,
                             const QColor &backgroundColour = QColor(), bool readOnly = false);
    /// Where the moment is drawn in the row with the key: its x, and the middle of the row;
    /// (-1, -1) when it is not in sight. In the item's coordinates, after the last paint.
    Q_INVOKABLE QPointF pointOf(const QDateTime &moment, const QString &rowKey) const;
    /// The first bar of the appointment with the key on the screen; empty when none shows.
    Q_INVOKABLE QRectF appointmentRect(const QString &key) const;

Q_SIGNALS:
    /// The user double-clicked free time of the row with the key rowKey.
    void newAppointmentRequested(const QDateTime &start, const QDateTime &end, const QString &rowKey);

protected:
    const QImage &picture(QSize size, qreal ratio) override;
    void pointerPress(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at) override;
    void pointerMove(Qt::MouseButtons buttons, QPointF at) override;
    void pointerRelease(bool stillHeld, QPointF at) override;
    void pointerDoubleClick(QPointF at) override;
    void wheelTurn(int angleDelta) override;
    bool keyPress(int key, Qt::KeyboardModifiers modifiers) override;
    void cancelGesture() override;
    QSizeF panStep() const override;
    void pan(int columns, int rows) override;
    void zoom(int steps) override;
    std::unique_ptr<FeedTarget> feedTarget() override;
    std::pair<Date, Date> shownDays() const override;
    bool selectionMovedSinceTold() override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    friend class GanttFeed;
    void perform(const GanttActions &actions);
    void run(const GanttStep &step);

    GanttCore m_core;
    QImage m_shown; // the picture with the frame of a drag and the focus frame over it
    int m_wheelRest = 0;
    QString m_toldSelection; // the selection QML was told last
};

} // namespace Dayplex

#endif

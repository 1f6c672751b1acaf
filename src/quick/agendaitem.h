#ifndef DAYPLEX_AGENDAITEM_H
#define DAYPLEX_AGENDAITEM_H

#include "calendar/agendacore.h"
#include "quickviewbase.h"

#include <QDateTime>
#include <QTimer>

namespace Dayplex {

/// The calendar as a Qt Quick item: one to fourteen day columns of a time raster with an
/// all-day band, drawn exactly as the widget ucAgenda draws it. The host answers needDates
/// with setFilledRange and addDate, or sets a model. Dates are local date and time (a JS Date).
/// Agenda (Agenda.qml) is this item with the default questions and screen reader texts.
class DAYPLEX_QUICK_EXPORT AgendaItem : public QuickViewBase
{
    Q_OBJECT
    QML_ELEMENT
    /// The length of a time row in minutes (5, 10, 15, 30, 60 ...); a pinch changes it.
    Q_PROPERTY(int timeRaster READ timeRaster WRITE setTimeRaster NOTIFY rangeChanged)
    /// The key of the selected appointment; empty for none.
    Q_PROPERTY(QString selectedDate READ selectedDate WRITE setSelectedDate NOTIFY selectionChanged)
    /// The selected time; invalid when none is selected.
    Q_PROPERTY(QDateTime selectionStart READ selectionStart NOTIFY selectionChanged)
    Q_PROPERTY(QDateTime selectionEnd READ selectionEnd NOTIFY selectionChanged)
    /// The date the user works on: the selected appointment's, else the selected time's, else
    /// the first day.
    Q_PROPERTY(QDateTime currentDate READ currentDate NOTIFY selectionChanged)
    /// Whether a move or resize is asked about first (changeQuestion); blnConfirmChanges.
    Q_PROPERTY(bool confirmChanges READ confirmChanges WRITE setConfirmChanges NOTIFY optionsChanged)

public:
    explicit AgendaItem(QQuickItem *parent = nullptr);
    ~AgendaItem() override;

    int timeRaster() const;
    void setTimeRaster(int minutes);
    QString selectedDate() const;
    void setSelectedDate(const QString &key);
    QDateTime selectionStart() const;
    QDateTime selectionEnd() const;
    QDateTime currentDate() const;
    bool confirmChanges() const;
    void setConfirmChanges(bool confirm);
    QString accessibleName() const override;
    QString accessibleDescription() const override;
    int renders() const override;

    /// One appointment; an invalid colour takes the layout's colour. A start or end that is not
    /// a date is refused with a warning in the log.
    Q_INVOKABLE void addDate(const QString &key, const QString &memo, const QDateTime &start,
                             const QDateTime &end, bool allDay = false,
                             const QColor &textColour = QColor(), bool done = false,
                             const QColor &backgroundColour = QColor(), bool readOnly = false);
    /// Where the moment is drawn: the middle of its day column at the top of its time row
    /// (the all-day band's row for a time of 00:00 when band is true); (-1, -1) when the moment
    /// is not in sight. In the item's coordinates, after the last paint.
    Q_INVOKABLE QPointF pointOf(const QDateTime &moment, bool band = false) const;
    /// The first box of the appointment with the key on the screen; empty when none shows.
    Q_INVOKABLE QRectF appointmentRect(const QString &key) const;
Q_SIGNALS:
    /// The user double-clicked free time: a new appointment there.
    void newAppointmentRequested(const QDateTime &start, const QDateTime &end, bool allDay);

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
    friend class AgendaFeed;
    void perform(const GestureResult &result);
    void run(const GestureAction &action);
    void decideChange(qint32 index);

    AgendaCore m_core;
    QTimer m_autoScroll;
    QImage m_shown; // the picture with the ghost and the focus frame over it
    // The selection QML was told last.
    std::tuple<Date, Date, qint32> m_toldSelection;
};

} // namespace Dayplex

#endif

#ifndef DAYPLEX_QUICKVIEWBASE_H
#define DAYPLEX_QUICKVIEWBASE_H

#include "dayplexquick_export.h"
#include "model/modelfeed.h"
#include "quickcorelink.h"
#include "quickquestion.h"
#include "shared/answersteps.h"
#include "shared/twofingers.h"

#include <QAbstractItemModel>
#include <QImage>
#include <QPointer>
#include <QQuickPaintedItem>
#include <QtQml/qqml.h>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace Dayplex {

// A date of QML as the views keep it; throws Dayplex::Error naming the member for an invalid
// one or one outside the calendar.
Date checkedDate(const QDateTime &moment, const char *member);
// A date of the views for QML; invalid for none (0).
QDateTime momentOf(Date date);

// What both Qt Quick views share: the picture of their core drawn as the item's content, mouse,
// wheel, keys and touch handed to the core as plain values, the model binding, the questions
// before a change as signals the QML answers, and the texts for Qt Quick's accessibility.
class DAYPLEX_QUICK_EXPORT QuickViewBase : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ANONYMOUS
    /// The appointments, one row each (see AppointmentRoles); null shows none. Setting a model
    /// answers needDates from it; the host keeps answering the other signals.
    Q_PROPERTY(QAbstractItemModel *model READ model WRITE setModel NOTIFY modelChanged)
    /// Where the fields are in the model: {"start": "begin", "end": 3, ...}; a ListModel whose
    /// roles are named after the fields needs none.
    Q_PROPERTY(QVariantMap fields READ fields WRITE setFields NOTIFY modelChanged)
    /// The resource view's rows and the names of a meeting's participants (ParticipantRoles).
    Q_PROPERTY(QAbstractItemModel *participantModel READ participantModel WRITE setParticipantModel
               NOTIFY modelChanged)
    Q_PROPERTY(QVariantMap participantFields READ participantFields WRITE setParticipantFields
               NOTIFY modelChanged)
    /// The options string, as the widget's Options takes it; a string that cannot be read
    /// leaves the options as they were (the reason is in the log).
    Q_PROPERTY(QString options READ options WRITE setOptions NOTIFY optionsChanged)
    Q_PROPERTY(QDateTime firstDay READ firstDay NOTIFY rangeChanged)
    Q_PROPERTY(QDateTime lastDay READ lastDay NOTIFY rangeChanged)
    /// The modern presentation (ellipsis, "+n" markers, readable colours); false: the classic look.
    Q_PROPERTY(bool modern READ modern WRITE setModern NOTIFY modernChanged)
    /// The tooltip the view shows at the mouse; empty for none.
    Q_PROPERTY(QString toolTipText READ toolTipText NOTIFY toolTipTextChanged)
    /// The German name and description screen readers read (the selected appointment).
    Q_PROPERTY(QString accessibleName READ accessibleName CONSTANT)
    Q_PROPERTY(QString accessibleDescription READ accessibleDescription NOTIFY accessibleDescriptionChanged)
    /// Whether the view raises needDates; true by default (a model sets it).
    Q_PROPERTY(bool needDatesEnabled MEMBER m_needDatesEnabled NOTIFY needDatesEnabledChanged)
    /// How often the picture was painted anew (not the kept one shown again).
    Q_PROPERTY(int renders READ renders NOTIFY rendered)

public:
    explicit QuickViewBase(QQuickItem *parent = nullptr);
    ~QuickViewBase() override;

    QAbstractItemModel *model() const;
    void setModel(QAbstractItemModel *model);
    QVariantMap fields() const { return m_fields; }
    void setFields(const QVariantMap &fields);
    QAbstractItemModel *participantModel() const;
    void setParticipantModel(QAbstractItemModel *model);
    QVariantMap participantFields() const { return m_participantFields; }
    void setParticipantFields(const QVariantMap &fields);
    QString options() const;
    void setOptions(const QString &options);
    QDateTime firstDay() const;
    QDateTime lastDay() const;
    bool modern() const;
    void setModern(bool modern);
    QString toolTipText() const { return m_toolTip; }
    virtual QString accessibleName() const = 0;
    virtual QString accessibleDescription() const = 0;
    virtual int renders() const = 0;

    /// The host's answer to needDates: the days it delivers; empties what the view shows.
    Q_INVOKABLE void setFilledRange(const QDateTime &first, const QDateTime &last);
    /// Shows the days from first to last (the calendar at most fourteen); without last as many
    /// as now.
    Q_INVOKABLE void setDisplayedRange(const QDateTime &first, const QDateTime &last = QDateTime());
    /// One day on (1) or back (-1), or the shown days on or back (2, -2).
    Q_INVOKABLE void scroll(int direction);
    /// Asks the host for the shown days again and shows them.
    Q_INVOKABLE void refresh();
    /// Empties the appointments (the resource view its rows as well).
    Q_INVOKABLE void clear();
    /// What the appointment with the key is beyond its record (see ucAgenda::setAppointmentDetails).
    Q_INVOKABLE void setAppointmentDetails(const QString &key, bool seriesOccurrence,
                                           const QStringList &participants = QStringList());

    /// The answer to changeQuestion: the change stands (dateChanged) or goes back.
    Q_INVOKABLE void answerChange(bool agreed);
    /// The answer to seriesScopeQuestion: the button's place (0 only this, 1 this and the
    /// following, 2 the whole series, anything else cancels).
    Q_INVOKABLE void answerSeriesScope(int button);

    /// The view as the item shows it, painted into an image of that size (logical pixels).
    Q_INVOKABLE QImage paintToImage(const QSize &size, qreal devicePixelRatio = 1);

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void needDatesEnabledChanged();
    void optionsChanged();
    void rangeChanged();
    void selectionChanged();
    /// The view needs the appointments (and the resource view its rows) of the days first to
    /// last; the host answers at once with setFilledRange and addDate.
    void needDates(const QDateTime &first, const QDateTime &last, const QString &fieldList);
    /// The user moved or resized the appointment and the change stands.
    void dateChanged(const QString &key, const QDateTime &start, const QDateTime &end);
    /// As dateChanged, for an occurrence of a series with the scope chosen (0, 1, 2).
    void seriesDateChanged(const QString &key, int scope, const QDateTime &start, const QDateTime &end);
    /// The user asked to open the appointment (double click, Enter).
    void showDate(const QString &key);
    /// The user pressed Delete on the selected writable appointment.
    void deleteRequested(const QString &key);
    void modelChanged();
    void modernChanged();
    void toolTipTextChanged();
    void accessibleDescriptionChanged();
    void rendered();
    /// Asks whether the moved appointment may change; answer with answerChange. The view shows
    /// the new times meanwhile. buttons: "Ja", "Nein".
    void changeQuestion(const QString &key, const QString &text, const QStringList &buttons);
    /// Asks which occurrences of the series the change is for; answer with answerSeriesScope.
    void seriesScopeQuestion(const QString &key, const QString &text, const QStringList &buttons);
    /// The model refused the new times of the appointment in \a row; the view shows the old ones.
    void changeRefused(const QModelIndex &row, const QDateTime &start, const QDateTime &end);
    /// The user moved an occurrence of a series for more than itself: the host changes the
    /// series in the model (see ModelBinding::seriesChangeRequested).
    void seriesChangeRequested(const QModelIndex &row, int scope, const QDateTime &start,
                               const QDateTime &end);

protected:
    // The item's core, reached by the members both cores share; its host protocol raises
    // the item's signals. Called once by the item's constructor.
    template <class Core>
    void adopt(Core &core)
    {
        m_coreLink = std::make_unique<QuickCoreLinkTo<Core>>(core);
        core.events = hostEvents();
    }
    // The first range is asked for once QML's handlers are connected.
    void componentComplete() override;
    // Scrolls the days a column at a time (the two-finger pan).
    void panDays(int columns);
    // The shown days and the selection told to QML when they moved since last time.
    void told();
    // Runs the steps of the gestures' answer in their order, then the steps done also after a
    // failure, and tells QML what moved; a failing step is thrown on once failed() has put
    // the view right.
    template <class Answer, class Run, class Failed>
    void performAnswer(const Answer &answer, Run run, Failed failed)
    {
        runAnswer(answer, run, failed, [this] { told(); });
    }
    virtual std::pair<Date, Date> shownDays() const = 0;
    // True once after each change of the selection.
    virtual bool selectionMovedSinceTold() = 0;

    // The core's picture for the size; painted again only when what it shows changed.
    virtual const QImage &picture(QSize size, qreal ratio) = 0;
    // buttons: all held now, the pressed one among them.
    virtual void pointerPress(Qt::MouseButton button, Qt::MouseButtons buttons, QPointF at) = 0;
    virtual void pointerMove(Qt::MouseButtons buttons, QPointF at) = 0;
    virtual void pointerRelease(bool stillHeld, QPointF at) = 0;
    virtual void pointerDoubleClick(QPointF at) = 0;
    virtual void wheelTurn(int angleDelta) = 0;
    // False when the key is not the view's (Tab past either end).
    virtual bool keyPress(int key, Qt::KeyboardModifiers modifiers) = 0;
    // A running drag or resize ends as if it never began (a second finger landed).
    virtual void cancelGesture() = 0;
    // The width of a column and the height of a row for the two-finger pan.
    virtual QSizeF panStep() const = 0;
    virtual void pan(int columns, int rows) = 0;
    // Zooms the time axis by steps: positive shows less time larger.
    virtual void zoom(int steps) = 0;
    // What the model binding fills.
    virtual std::unique_ptr<FeedTarget> feedTarget() = 0;
    // Hands the question of a moved appointment to QML, or settles it at once when none is
    // asked; an open question is refused first.
    void ask(const ChangeRequest &request, const QString &key);

    // Runs a handler of the event loop: an error is logged and the view carries on.
    void guarded(const char *doing, const std::function<void()> &handler);
    // The picture changed: the scene graph takes it at the next frame.
    void showChanges();
    void setToolTipText(const QString &text);
    // The views' named pointers ("curMove", "SizeN", "SizeS", "SplitterNS") as Qt's shapes;
    // empty for the default.
    void setCursorNamed(const QString &name);

    void updatePolish() override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void hoverMoveEvent(QHoverEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void touchEvent(QTouchEvent *event) override;

private:
    // The host protocol of a core raised as the item's signals, or answered by the model.
    ViewEvents hostEvents();
    // The answer made: the times stand or go back, and the host hears of a change that stands.
    void settle(const PendingQuestion::Decision &decision);
    ModelFeed &ensureFeed();
    void bindModel();
    qreal pixelRatio() const;

    std::unique_ptr<QuickCoreLink> m_coreLink;
    std::unique_ptr<ModelFeed> m_feed;
    QPointer<QAbstractItemModel> m_model;
    QPointer<QAbstractItemModel> m_participantModel;
    QVariantMap m_fields;
    QVariantMap m_participantFields;
    // The fields are found anew when the models' role names change: a ListModel names its
    // roles with its first row.
    QList<QMetaObject::Connection> m_rolesAppear;
    QString m_toolTip;
    // The picture of the last polish, which paint() draws on the render thread.
    QImage m_frame;
    TwoFingers m_twoFingers;
    PendingQuestion m_question;
    bool m_needDatesEnabled = true;
    // What QML was told last, so that the signals fire only on real changes.
    std::pair<Date, Date> m_toldRange;
};

} // namespace Dayplex

#endif

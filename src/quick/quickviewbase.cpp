#include "quickviewbase.h"

#include "model/modelfields.h"
#include "shared/logging.h"
#include "shared/toolbox.h"

#include <QCursor>
#include <QPainter>
#include <QQuickWindow>

namespace Dayplex {

Date checkedDate(const QDateTime &moment, const char *member)
{
    const Date value = moment.isValid() ? toDate(moment) : kMaxDate + 1;
    requireValidDate(value, member);
    return value;
}

QDateTime momentOf(Date date)
{
    return date > 0 ? toQDateTime(date) : QDateTime();
}

QuickViewBase::QuickViewBase(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
    setAcceptHoverEvents(true);
    setAcceptTouchEvents(true);
    setActiveFocusOnTab(true);
    setOpaquePainting(true);
}

QuickViewBase::~QuickViewBase() = default;

void QuickViewBase::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    guarded("showing the first days",
            [this] { m_coreLink->setDisplayedRange(Dayplex::currentDate(), nullptr, false, true); });
    told();
    showChanges();
}

QString QuickViewBase::options() const
{
    return m_coreLink->options();
}

void QuickViewBase::setOptions(const QString &options)
{
    guarded("setting the options", [&] {
        m_coreLink->setOptions(options);
        Q_EMIT optionsChanged();
        refresh();
    });
}

QDateTime QuickViewBase::firstDay() const
{
    return momentOf(shownDays().first);
}

QDateTime QuickViewBase::lastDay() const
{
    return momentOf(shownDays().second);
}

bool QuickViewBase::modern() const
{
    return m_coreLink->presentation() == Presentation::Modern;
}

void QuickViewBase::setModern(bool modern)
{
    if (!m_coreLink->setPresentation(modern ? Presentation::Modern : Presentation::Classic))
        return;
    Q_EMIT modernChanged();
    showChanges();
}

void QuickViewBase::setFilledRange(const QDateTime &first, const QDateTime &last)
{
    guarded("setFilledRange", [&] {
        m_coreLink->setFilledRange(checkedDate(first, "setFilledRange"), checkedDate(last, "setFilledRange"));
    });
    showChanges();
}

void QuickViewBase::setDisplayedRange(const QDateTime &first, const QDateTime &last)
{
    guarded("setDisplayedRange", [&] {
        double lastDay = last.isValid() ? checkedDate(last, "setDisplayedRange") : 0;
        m_coreLink->setDisplayedRange(checkedDate(first, "setDisplayedRange"),
                                  last.isValid() ? &lastDay : nullptr, false, true);
    });
    told();
    showChanges();
}

void QuickViewBase::scroll(int direction)
{
    guarded("scroll", [&] { m_coreLink->scrollDays(direction); });
    told();
    showChanges();
}

void QuickViewBase::refresh()
{
    guarded("refresh", [this] { m_coreLink->refresh(); });
    told();
    showChanges();
}

void QuickViewBase::clear()
{
    m_coreLink->clear();
    told();
    showChanges();
}

void QuickViewBase::setAppointmentDetails(const QString &key, bool seriesOccurrence,
                                          const QStringList &participants)
{
    m_coreLink->setAppointmentDetails(key, AppointmentDetails{seriesOccurrence, participants});
    showChanges();
}

void QuickViewBase::panDays(int columns)
{
    for (int i = 0; i < std::abs(columns); ++i)
        m_coreLink->scrollDays(columns > 0 ? 1 : -1);
}

void QuickViewBase::focusInEvent(QFocusEvent *event)
{
    QQuickPaintedItem::focusInEvent(event);
    m_coreLink->focusGained(event->reason());
    showChanges();
}

void QuickViewBase::settle(const PendingQuestion::Decision &decision)
{
    const bool stands = m_coreLink->commitChange(decision.first, decision.second);
    showChanges();
    if (stands)
        m_coreLink->raiseChange(decision.first, decision.second);
    told();
}

void QuickViewBase::told()
{
    const std::pair<Date, Date> range = shownDays();
    const bool rangeMoved = std::exchange(m_toldRange, range) != range;
    const bool selectionMoved = selectionMovedSinceTold();
    if (rangeMoved)
        Q_EMIT rangeChanged();
    if (selectionMoved)
        Q_EMIT selectionChanged();
    if (rangeMoved || selectionMoved)
        Q_EMIT accessibleDescriptionChanged();
}

ViewEvents QuickViewBase::hostEvents()
{
    ViewEvents events;
    events.needDates = [this](Date first, Date last, const QString &fields) {
        if (!m_needDatesEnabled)
            return;
        if (m_feed && m_feed->model())
            m_feed->answer(first, last);
        else
            Q_EMIT needDates(toQDateTime(first), toQDateTime(last), fields);
    };
    events.dateChanged = [this](const QString &key, Date start, Date end) {
        if (m_feed && m_feed->model())
            m_feed->write(key, start, end);
        Q_EMIT dateChanged(key, toQDateTime(start), toQDateTime(end));
    };
    events.seriesDateChanged = [this](const QString &key, SeriesScope scope, Date start, Date end) {
        if (m_feed && m_feed->model())
            m_feed->seriesChanged(key, scope, start, end);
        Q_EMIT seriesDateChanged(key, int(scope), toQDateTime(start), toQDateTime(end));
    };
    return events;
}

void QuickViewBase::guarded(const char *doing, const std::function<void()> &handler)
{
    try {
        handler();
    } catch (...) {
        warnCaught(lcQuick(), QString::fromLatin1(doing));
    }
}

void QuickViewBase::showChanges()
{
    polish();
    update();
}

void QuickViewBase::setToolTipText(const QString &text)
{
    if (text == m_toolTip)
        return;
    m_toolTip = text;
    Q_EMIT toolTipTextChanged();
}

void QuickViewBase::setCursorNamed(const QString &name)
{
    const QString n = name.toLower();
    if (n.isEmpty())
        unsetCursor();
    else if (n == QLatin1String("curmove"))
        setCursor(QCursor(Qt::SizeAllCursor));
    else if (n == QLatin1String("splitterns"))
        setCursor(QCursor(Qt::SplitVCursor));
    else
        setCursor(QCursor(Qt::SizeVerCursor)); // the resize zones: SizeN, SizeS
}

qreal QuickViewBase::pixelRatio() const
{
    return window() ? window()->effectiveDevicePixelRatio() : 1.0;
}

void QuickViewBase::updatePolish()
{
    // The picture is made here on the GUI thread; paint() only draws it on the render thread.
    const QSize size = boundingRect().size().toSize();
    if (size.isEmpty())
        return;
    guarded("painting the view", [&] {
        const int before = renders();
        m_frame = picture(size, pixelRatio());
        if (renders() != before)
            Q_EMIT rendered();
    });
}

void QuickViewBase::paint(QPainter *painter)
{
    if (!m_frame.isNull())
        painter->drawImage(QPointF(0, 0), m_frame);
}

QImage QuickViewBase::paintToImage(const QSize &size, qreal devicePixelRatio)
{
    QImage image;
    guarded("painting the view into an image", [&] { image = picture(size, devicePixelRatio); });
    return image;
}

void QuickViewBase::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        showChanges();
}

void QuickViewBase::mousePressEvent(QMouseEvent *event)
{
    forceActiveFocus(Qt::MouseFocusReason);
    guarded("a press on the view",
            [&] { pointerPress(event->button(), event->buttons(), event->position()); });
    event->accept();
}

void QuickViewBase::mouseMoveEvent(QMouseEvent *event)
{
    guarded("a move over the view", [&] { pointerMove(event->buttons(), event->position()); });
}

void QuickViewBase::hoverMoveEvent(QHoverEvent *event)
{
    guarded("a move over the view", [&] { pointerMove(Qt::NoButton, event->position()); });
}

void QuickViewBase::mouseReleaseEvent(QMouseEvent *event)
{
    guarded("a release on the view",
            [&] { pointerRelease(event->buttons() != Qt::NoButton, event->position()); });
}

void QuickViewBase::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The window has handed the second press in as a press already (widgets get the double
    // click in its place); only the left button's double click means more.
    if (event->button() == Qt::LeftButton)
        guarded("a double click on the view", [&] { pointerDoubleClick(event->position()); });
}

void QuickViewBase::wheelEvent(QWheelEvent *event)
{
    guarded("a wheel turn over the view", [&] { wheelTurn(event->angleDelta().y()); });
}

void QuickViewBase::keyPressEvent(QKeyEvent *event)
{
    bool taken = false;
    guarded("a key on the view", [&] { taken = keyPress(event->key(), event->modifiers()); });
    event->setAccepted(taken);
}

void QuickViewBase::touchEvent(QTouchEvent *event)
{
    const QList<QEventPoint> &points = event->points();
    guarded("a touch on the view", [&] {
        int down = 0;
        for (const QEventPoint &p : points)
            down += p.state() != QEventPoint::Released ? 1 : 0;
        if (down >= 2) {
            // A second finger turns a drag of the first into a pan or a pinch.
            if (!m_twoFingers.active()) {
                cancelGesture();
                m_twoFingers.start(points.at(0).position(), points.at(1).position());
                return;
            }
            const TwoFingerSteps steps =
                m_twoFingers.update(points.at(0).position(), points.at(1).position(), panStep());
            if (steps.columns || steps.rows)
                pan(steps.columns, steps.rows);
            if (steps.zoom)
                zoom(steps.zoom);
            return;
        }
        if (m_twoFingers.active()) {
            // The fingers leave one by one; the one left behind starts nothing.
            if (down == 0)
                m_twoFingers.end();
            return;
        }
        const QEventPoint &p = points.first();
        switch (p.state()) {
        case QEventPoint::Pressed:
            forceActiveFocus(Qt::MouseFocusReason);
            pointerPress(Qt::LeftButton, Qt::LeftButton, p.position());
            break;
        case QEventPoint::Updated:
            pointerMove(Qt::LeftButton, p.position());
            break;
        case QEventPoint::Released:
            pointerRelease(false, p.position());
            break;
        default:
            break;
        }
    });
    event->accept();
}

void QuickViewBase::ask(const ChangeRequest &request, const QString &key)
{
    if (const std::optional<PendingQuestion::Decision> old = m_question.refuse())
        settle(*old);
    std::optional<PendingQuestion::Decision> now;
    const std::optional<PendingQuestion::Asked> asked = m_question.ask(request, &now);
    showChanges();
    if (now)
        return settle(*now);
    if (asked->series)
        Q_EMIT seriesScopeQuestion(key, asked->text, asked->buttons);
    else
        Q_EMIT changeQuestion(key, asked->text, asked->buttons);
}

void QuickViewBase::answerChange(bool agreed)
{
    guarded("answering the change question", [&] {
        if (const std::optional<PendingQuestion::Decision> decision = m_question.answer(agreed))
            settle(*decision);
    });
    showChanges();
}

void QuickViewBase::answerSeriesScope(int button)
{
    guarded("answering the series question", [&] {
        if (const std::optional<PendingQuestion::Decision> decision = m_question.answerScope(button))
            settle(*decision);
    });
    showChanges();
}

ModelFeed &QuickViewBase::ensureFeed()
{
    if (!m_feed) {
        FeedReports reports;
        reports.changeRefused = [this](const QModelIndex &row, const QDateTime &start,
                                       const QDateTime &end) { Q_EMIT changeRefused(row, start, end); };
        reports.seriesChangeRequested = [this](const QModelIndex &row, SeriesScope scope,
                                               const QDateTime &start, const QDateTime &end) {
            Q_EMIT seriesChangeRequested(row, int(scope), start, end);
        };
        m_feed = std::make_unique<ModelFeed>(feedTarget(), std::move(reports));
    }
    return *m_feed;
}

void QuickViewBase::bindModel()
{
    guarded("binding the model", [&] {
        QStringList problems;
        ModelFeed &feed = ensureFeed();
        AppointmentRoles roles;
        if (m_model)
            roles = appointmentRolesFor(*m_model, m_fields, &problems);
        ParticipantRoles participantRoles;
        if (m_participantModel)
            participantRoles = participantRolesFor(*m_participantModel, m_participantFields, &problems);
        for (const QString &problem : std::as_const(problems))
            qCWarning(lcQuick, "%s", qUtf8Printable(problem));
        feed.setParticipantModel(m_participantModel, participantRoles);
        feed.setModel(m_model, roles);
        for (const QMetaObject::Connection &c : std::as_const(m_rolesAppear))
            QObject::disconnect(c);
        m_rolesAppear.clear();
        for (QAbstractItemModel *model : {m_model.data(), m_participantModel.data()}) {
            if (!model)
                continue;
            m_rolesAppear << connect(model, &QAbstractItemModel::rowsInserted, this,
                                     [this, model, names = model->roleNames()] {
                                         if (model->roleNames() != names)
                                             bindModel();
                                     });
        }
    });
    Q_EMIT modelChanged();
}

QAbstractItemModel *QuickViewBase::model() const
{
    return m_model;
}

void QuickViewBase::setModel(QAbstractItemModel *model)
{
    if (model == m_model)
        return;
    m_model = model;
    bindModel();
}

void QuickViewBase::setFields(const QVariantMap &fields)
{
    if (fields == m_fields)
        return;
    m_fields = fields;
    if (m_model)
        bindModel();
}

QAbstractItemModel *QuickViewBase::participantModel() const
{
    return m_participantModel;
}

void QuickViewBase::setParticipantModel(QAbstractItemModel *model)
{
    if (model == m_participantModel)
        return;
    m_participantModel = model;
    bindModel();
}

void QuickViewBase::setParticipantFields(const QVariantMap &fields)
{
    if (fields == m_participantFields)
        return;
    m_participantFields = fields;
    if (m_participantModel)
        bindModel();
}

} // namespace Dayplex

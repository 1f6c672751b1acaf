#include "model/modelfeed.h"

#include "model/modelvalues.h"
#include "shared/logging.h"

#include <QAbstractItemModel>
#include <QScopedValueRollback>

#include <algorithm>

namespace Dayplex {

qint32 textColourOf(const ModelAppointment &a)
{
    return a.textColour.value_or(plainAppointmentColour(false, a.allDay));
}

qint32 backgroundColourOf(const ModelAppointment &a)
{
    return a.backgroundColour.value_or(plainAppointmentColour(true, a.allDay));
}

QStringList participantRows(const QVector<ModelAppointment> &appointments,
                            const ModelParticipants &participants, bool participantModel)
{
    QStringList rows = participants.keys;
    if (!participantModel)
        for (const ModelAppointment &a : appointments)
            for (const QString &key : a.participants)
                if (!rows.contains(key))
                    rows.append(key);
    return rows;
}

AppointmentDetails detailsOf(const ModelAppointment &a, const ModelParticipants &participants)
{
    AppointmentDetails details;
    details.seriesOccurrence = a.seriesOccurrence;
    // One participant is the person whose calendar it is; several make a meeting.
    if (a.participants.size() > 1)
        for (const QString &key : a.participants)
            details.participants.append(participants.nameOf(key));
    return details;
}

ModelFeed::ModelFeed(std::unique_ptr<FeedTarget> target, FeedReports reports)
    : m_target(std::move(target)), m_reports(std::move(reports))
{
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    QObject::connect(&m_refreshTimer, &QTimer::timeout, &m_context, [this] {
        // Called from the event loop, which no exception may cross.
        try {
            m_target->refresh();
        } catch (...) {
            warnCaught(lcModel(), QStringLiteral("reloading the view from the model"));
        }
    });
}

ModelFeed::~ModelFeed() = default;

bool ModelFeed::touchesShownDays(AppointmentIndex::Span span) const
{
    return m_filled && span.overlaps(m_filled->from, m_filled->to);
}

void ModelFeed::answer(Date first, Date last)
{
    m_filled = AppointmentIndex::Span{first, last + 1};
    QVector<ModelAppointment> shown;
    if (m_model) {
        const QVector<int> rows = m_index.rowsIn(m_filled->from, m_filled->to);
        shown.reserve(rows.size());
        for (int row : rows)
            if (std::optional<ModelAppointment> a = readAppointment(*m_model, m_roles, row))
                shown.append(std::move(*a));
    }
    m_shownRows = int(shown.size());
    m_target->fill(first, last, shown, m_participants, m_participantModel != nullptr);
}

void ModelFeed::write(const QString &key, Date start, Date end)
{
    // Whatever the model answers, the view shows the model's times again.
    scheduleRefresh();
    const QModelIndex row = indexOf(key);
    if (!row.isValid()) {
        qCWarning(lcModel, "no row of the model has the moved appointment's key %s among the shown days",
                  qUtf8Printable(key));
        return;
    }
    // Writing the start may move the row (a proxy sorted by time): the end follows it.
    const QPersistentModelIndex startIndex = m_model->index(row.row(), m_roles.start.column);
    const QPersistentModelIndex endIndex = m_roles.end.column < 0
        ? QPersistentModelIndex()
        : QPersistentModelIndex(m_model->index(row.row(), m_roles.end.column));
    const QVariant oldStart = m_model->data(startIndex, m_roles.start.role);
    const QVariant oldEnd = m_model->data(endIndex, m_roles.end.role);
    bool written = m_model->setData(startIndex, dateForModel(start, oldStart), m_roles.start.role);
    if (written && endIndex.isValid()) {
        written = m_model->setData(endIndex, dateForModel(end, oldEnd), m_roles.end.role);
        if (!written)
            m_model->setData(startIndex, oldStart, m_roles.start.role);
    }
    if (written)
        return;
    qCWarning(lcModel, "the model refused the new times of the appointment %s", qUtf8Printable(key));
    if (m_reports.changeRefused)
        m_reports.changeRefused(startIndex.sibling(startIndex.row(), 0), toQDateTime(start),
                                toQDateTime(end));
}

void ModelFeed::seriesChanged(const QString &key, SeriesScope scope, Date start, Date end)
{
    if (scope == SeriesScope::OnlyThis)
        return write(key, start, end);
    const QModelIndex row = indexOf(key);
    scheduleRefresh();
    if (row.isValid() && m_reports.seriesChangeRequested)
        m_reports.seriesChangeRequested(row, scope, toQDateTime(start), toQDateTime(end));
}

void ModelFeed::rebuild()
{
    if (m_model) {
        // A model that fetches lazily (QSqlTableModel) hands out all rows first: the index covers
        // every day. The rows it inserts meanwhile are read below.
        const QScopedValueRollback<bool> fetching(m_resetting, true);
        while (m_model->canFetchMore(QModelIndex()))
            m_model->fetchMore(QModelIndex());
    }
    const int rows = m_model ? m_model->rowCount() : 0;
    m_index.reset(rows ? readSpans(*m_model, m_roles, 0, rows - 1) : QVector<AppointmentIndex::Span>());
    if (m_shownRows > 0 || (m_filled && !m_index.rowsIn(m_filled->from, m_filled->to).isEmpty()))
        scheduleRefresh();
}

void ModelFeed::changed(int first, int last)
{
    // A model that tells of rows it has not announced is read anew rather than trusted.
    if (first < 0 || last >= m_index.rowCount())
        return rebuild();
    bool touches = false;
    for (int row = first; row <= last; ++row) {
        const AppointmentIndex::Span now = readSpan(*m_model, m_roles, row);
        touches = touches || touchesShownDays(m_index.span(row)) || touchesShownDays(now);
        m_index.setSpan(row, now);
    }
    if (touches)
        scheduleRefresh();
}

void ModelFeed::inserted(int first, int last)
{
    const QVector<AppointmentIndex::Span> spans = readSpans(*m_model, m_roles, first, last);
    m_index.insertRows(first, spans);
    if (std::any_of(spans.begin(), spans.end(), [this](auto span) { return touchesShownDays(span); }))
        scheduleRefresh();
}

void ModelFeed::removed(int first, int last)
{
    bool touches = false;
    for (int row = first; row <= last; ++row)
        touches = touches || touchesShownDays(m_index.span(row));
    m_index.removeRows(first, last);
    if (touches)
        scheduleRefresh();
}

void ModelFeed::connectModel()
{
    for (const auto &connection : std::as_const(m_modelConnections))
        QObject::disconnect(connection);
    m_modelConnections.clear();
    if (!m_model)
        return;
    QAbstractItemModel *m = m_model;
    QObject *const c = &m_context;
    const auto topLevel = [](const QModelIndex &parent) { return !parent.isValid(); };
    const auto rebuildIt = [this] { rebuild(); };
    m_modelConnections
        << QObject::connect(m, &QAbstractItemModel::dataChanged, c,
                            [=](const QModelIndex &from, const QModelIndex &to) {
                                if (!m_resetting && topLevel(from.parent()))
                                    changed(from.row(), to.row());
                            })
        << QObject::connect(m, &QAbstractItemModel::rowsInserted, c,
                            [=](const QModelIndex &parent, int first, int last) {
                                if (!m_resetting && topLevel(parent))
                                    inserted(first, last);
                            })
        << QObject::connect(m, &QAbstractItemModel::rowsRemoved, c,
                            [=](const QModelIndex &parent, int first, int last) {
                                if (!m_resetting && topLevel(parent))
                                    removed(first, last);
                            })
        // Anything that renumbers rows or columns is read anew.
        << QObject::connect(m, &QAbstractItemModel::modelReset, c, rebuildIt)
        << QObject::connect(m, &QAbstractItemModel::layoutChanged, c, rebuildIt)
        << QObject::connect(m, &QAbstractItemModel::rowsMoved, c, rebuildIt)
        << QObject::connect(m, &QAbstractItemModel::columnsInserted, c, rebuildIt)
        << QObject::connect(m, &QAbstractItemModel::columnsRemoved, c, rebuildIt)
        << QObject::connect(m, &QAbstractItemModel::columnsMoved, c, rebuildIt)
        << QObject::connect(m, &QObject::destroyed, c, [this] {
               m_index.reset({});
               scheduleRefresh();
           });
}

void ModelFeed::readParticipantModel()
{
    // Fetching the rest of a lazy model inserts rows, which would call this again.
    if (m_readingParticipants)
        return;
    const QScopedValueRollback<bool> reading(m_readingParticipants, true);
    m_participants = ModelParticipants();
    if (m_participantModel) {
        while (m_participantModel->canFetchMore(QModelIndex()))
            m_participantModel->fetchMore(QModelIndex());
        m_participants.names =
            readParticipants(*m_participantModel, m_participantRoles, &m_participants.keys);
    }
    scheduleRefresh();
}

void ModelFeed::setModel(QAbstractItemModel *model, const AppointmentRoles &roles)
{
    m_model = model;
    m_roles = roles;
    connectModel();
    rebuild();
    m_refreshTimer.stop();
    m_target->enable();
    m_target->refresh();
}

void ModelFeed::setParticipantModel(QAbstractItemModel *model, const ParticipantRoles &roles)
{
    if (m_participantModel)
        m_participantModel->disconnect(&m_context);
    m_participantModel = model;
    m_participantRoles = roles;
    if (model) {
        QObject *const c = &m_context;
        const auto reread = [this] { readParticipantModel(); };
        QObject::connect(model, &QAbstractItemModel::modelReset, c, reread);
        QObject::connect(model, &QAbstractItemModel::layoutChanged, c, reread);
        QObject::connect(model, &QAbstractItemModel::dataChanged, c, reread);
        QObject::connect(model, &QAbstractItemModel::rowsInserted, c, reread);
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, c, reread);
        QObject::connect(model, &QAbstractItemModel::rowsMoved, c, reread);
        QObject::connect(model, &QObject::destroyed, c, reread);
    }
    readParticipantModel();
}

QModelIndex ModelFeed::indexOf(const QString &key) const
{
    if (!m_model || !m_filled)
        return {};
    for (int row : m_index.rowsIn(m_filled->from, m_filled->to))
        if (fieldValue(*m_model, row, m_roles.key).toString() == key)
            return m_model->index(row, 0);
    return {};
}

} // namespace Dayplex

#include <dayplex/modelbinding.h>

#include "model/boundview.h"
#include "model/modelvalues.h"
#include "shared/logging.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/ucagenda.h>

#include <QAbstractItemModel>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace Dayplex {

class ModelBindingPrivate
{
public:
    ModelBindingPrivate(ModelBinding *q, std::unique_ptr<BoundView> view) : q(q), view(std::move(view))
    {
        refreshTimer.setSingleShot(true);
        refreshTimer.setInterval(0);
        QObject::connect(&refreshTimer, &QTimer::timeout, q, [this] {
            // Called from the event loop, which no exception may cross.
            try {
                this->view->refresh();
            } catch (...) {
                warnCaught(lcModel(), QStringLiteral("reloading the view from the model"));
            }
        });
    }

    template<typename View>
    void connectView(View *v)
    {
        QObject::connect(v, &View::NeedDates, q, [this](double first, double last, const QString &) {
            answer(first, last);
        });
        QObject::connect(v, &View::DateChanged, q, [this](const QString &key, double start, double end) {
            write(key, start, end);
        });
        QObject::connect(v, &View::seriesDateChanged, q,
                         [this](const QString &key, SeriesScope scope, double start, double end) {
                             if (scope == SeriesScope::OnlyThis)
                                 return write(key, start, end);
                             const QModelIndex row = q->indexOf(key);
                             scheduleRefresh();
                             if (row.isValid())
                                 Q_EMIT q->seriesChangeRequested(row, scope, toQDateTime(start),
                                                                 toQDateTime(end));
                         });
    }

    void answer(Date first, Date last);
    void write(const QString &key, Date start, Date end);
    void rebuild();
    void readParticipantModel();
    void connectModel();
    void scheduleRefresh() { refreshTimer.start(); }
    bool touchesShownDays(AppointmentIndex::Span span) const
    {
        return filled && span.overlaps(filled->from, filled->to);
    }
    void changed(int first, int last);
    void inserted(int first, int last);
    void removed(int first, int last);

    ModelBinding *const q;
    std::unique_ptr<BoundView> const view;
    QPointer<QAbstractItemModel> model;
    AppointmentRoles roles;
    QPointer<QAbstractItemModel> participantModel;
    ParticipantRoles participantRoles;
    ModelParticipants participants;
    AppointmentIndex index;
    // The days the view was last filled with, through the end of the last one.
    std::optional<AppointmentIndex::Span> filled;
    int shownRows = 0;
    QTimer refreshTimer;
    bool resetting = false;
    bool readingParticipants = false;
    QList<QMetaObject::Connection> modelConnections;
};

void ModelBindingPrivate::answer(Date first, Date last)
{
    filled = AppointmentIndex::Span{first, last + 1};
    QVector<ModelAppointment> shown;
    if (model) {
        const QVector<int> rows = index.rowsIn(filled->from, filled->to);
        shown.reserve(rows.size());
        for (int row : rows)
            if (std::optional<ModelAppointment> a = readAppointment(*model, roles, row))
                shown.append(std::move(*a));
    }
    shownRows = int(shown.size());
    view->fill(first, last, shown, participants, participantModel != nullptr);
}

void ModelBindingPrivate::write(const QString &key, Date start, Date end)
{
    // Whatever the model answers, the view shows the model's times again.
    scheduleRefresh();
    const QModelIndex row = q->indexOf(key);
    if (!row.isValid()) {
        qCWarning(lcModel, "no row of the model has the moved appointment's key %s among the shown days",
                  qUtf8Printable(key));
        return;
    }
    // Writing the start may move the row (a proxy sorted by time): the end follows it.
    const QPersistentModelIndex startIndex = model->index(row.row(), roles.start.column);
    const QPersistentModelIndex endIndex = roles.end.column < 0
        ? QPersistentModelIndex()
        : QPersistentModelIndex(model->index(row.row(), roles.end.column));
    const QVariant oldStart = model->data(startIndex, roles.start.role);
    const QVariant oldEnd = model->data(endIndex, roles.end.role);
    bool written = model->setData(startIndex, dateForModel(start, oldStart), roles.start.role);
    if (written && endIndex.isValid()) {
        written = model->setData(endIndex, dateForModel(end, oldEnd), roles.end.role);
        if (!written)
            model->setData(startIndex, oldStart, roles.start.role);
    }
    if (written)
        return;
    qCWarning(lcModel, "the model refused the new times of the appointment %s", qUtf8Printable(key));
    Q_EMIT q->changeRefused(startIndex.sibling(startIndex.row(), 0), toQDateTime(start),
                            toQDateTime(end));
}

void ModelBindingPrivate::rebuild()
{
    if (model) {
        // A model that fetches lazily (QSqlTableModel) hands out all rows first: the index covers
        // every day. The rows it inserts meanwhile are read below.
        const QScopedValueRollback<bool> fetching(resetting, true);
        while (model->canFetchMore(QModelIndex()))
            model->fetchMore(QModelIndex());
    }
    const int rows = model ? model->rowCount() : 0;
    index.reset(rows ? readSpans(*model, roles, 0, rows - 1) : QVector<AppointmentIndex::Span>());
    if (shownRows > 0 || (filled && !index.rowsIn(filled->from, filled->to).isEmpty()))
        scheduleRefresh();
}

void ModelBindingPrivate::changed(int first, int last)
{
    // A model that tells of rows it has not announced is read anew rather than trusted.
    if (first < 0 || last >= index.rowCount())
        return rebuild();
    bool touches = false;
    for (int row = first; row <= last; ++row) {
        const AppointmentIndex::Span now = readSpan(*model, roles, row);
        touches = touches || touchesShownDays(index.span(row)) || touchesShownDays(now);
        index.setSpan(row, now);
    }
    if (touches)
        scheduleRefresh();
}

void ModelBindingPrivate::inserted(int first, int last)
{
    const QVector<AppointmentIndex::Span> spans = readSpans(*model, roles, first, last);
    index.insertRows(first, spans);
    if (std::any_of(spans.begin(), spans.end(), [this](auto span) { return touchesShownDays(span); }))
        scheduleRefresh();
}

void ModelBindingPrivate::removed(int first, int last)
{
    bool touches = false;
    for (int row = first; row <= last; ++row)
        touches = touches || touchesShownDays(index.span(row));
    index.removeRows(first, last);
    if (touches)
        scheduleRefresh();
}

void ModelBindingPrivate::connectModel()
{
    for (const auto &connection : std::as_const(modelConnections))
        QObject::disconnect(connection);
    modelConnections.clear();
    if (!model)
        return;
    QAbstractItemModel *m = model;
    const auto topLevel = [](const QModelIndex &parent) { return !parent.isValid(); };
    modelConnections
        << QObject::connect(m, &QAbstractItemModel::dataChanged, q,
                            [=](const QModelIndex &from, const QModelIndex &to) {
                                if (!resetting && topLevel(from.parent()))
                                    changed(from.row(), to.row());
                            })
        << QObject::connect(m, &QAbstractItemModel::rowsInserted, q,
                            [=](const QModelIndex &parent, int first, int last) {
                                if (!resetting && topLevel(parent))
                                    inserted(first, last);
                            })
        << QObject::connect(m, &QAbstractItemModel::rowsRemoved, q,
                            [=](const QModelIndex &parent, int first, int last) {
                                if (!resetting && topLevel(parent))
                                    removed(first, last);
                            })
        // Anything that renumbers rows or columns is read anew.
        << QObject::connect(m, &QAbstractItemModel::modelReset, q, [this] { rebuild(); })
        << QObject::connect(m, &QAbstractItemModel::layoutChanged, q, [this] { rebuild(); })
        << QObject::connect(m, &QAbstractItemModel::rowsMoved, q, [this] { rebuild(); })
        << QObject::connect(m, &QAbstractItemModel::columnsInserted, q, [this] { rebuild(); })
        << QObject::connect(m, &QAbstractItemModel::columnsRemoved, q, [this] { rebuild(); })
        << QObject::connect(m, &QAbstractItemModel::columnsMoved, q, [this] { rebuild(); })
        << QObject::connect(m, &QObject::destroyed, q, [this] {
               index.reset({});
               scheduleRefresh();
           });
}

void ModelBindingPrivate::readParticipantModel()
{
    // Fetching the rest of a lazy model inserts rows, which would call this again.
    if (readingParticipants)
        return;
    const QScopedValueRollback<bool> reading(readingParticipants, true);
    participants = ModelParticipants();
    if (participantModel) {
        while (participantModel->canFetchMore(QModelIndex()))
            participantModel->fetchMore(QModelIndex());
        participants.names = readParticipants(*participantModel, participantRoles, &participants.keys);
    }
    scheduleRefresh();
}

ModelBinding::ModelBinding(ucAgenda *view, QObject *parent)
    : QObject(parent), d(std::make_unique<ModelBindingPrivate>(this, boundView(view)))
{
    d->connectView(view);
}

ModelBinding::ModelBinding(ctlGantt *view, QObject *parent)
    : QObject(parent), d(std::make_unique<ModelBindingPrivate>(this, boundView(view)))
{
    d->connectView(view);
}

ModelBinding::~ModelBinding() = default;

void ModelBinding::setModel(QAbstractItemModel *model, const AppointmentRoles &roles)
{
    d->model = model;
    d->roles = roles;
    d->connectModel();
    d->rebuild();
    d->refreshTimer.stop();
    d->view->enable();
    d->view->refresh();
}

QAbstractItemModel *ModelBinding::model() const
{
    return d->model;
}

void ModelBinding::setParticipantModel(QAbstractItemModel *model, const ParticipantRoles &roles)
{
    if (d->participantModel)
        d->participantModel->disconnect(this);
    d->participantModel = model;
    d->participantRoles = roles;
    if (model) {
        const auto reread = [this] { d->readParticipantModel(); };
        connect(model, &QAbstractItemModel::modelReset, this, reread);
        connect(model, &QAbstractItemModel::layoutChanged, this, reread);
        connect(model, &QAbstractItemModel::dataChanged, this, reread);
        connect(model, &QAbstractItemModel::rowsInserted, this, reread);
        connect(model, &QAbstractItemModel::rowsRemoved, this, reread);
        connect(model, &QAbstractItemModel::rowsMoved, this, reread);
        connect(model, &QObject::destroyed, this, reread);
    }
    d->readParticipantModel();
}

QAbstractItemModel *ModelBinding::participantModel() const
{
    return d->participantModel;
}

QModelIndex ModelBinding::indexOf(const QString &key) const
{
    if (!d->model || !d->filled)
        return {};
    for (int row : d->index.rowsIn(d->filled->from, d->filled->to))
        if (fieldValue(*d->model, row, d->roles.key).toString() == key)
            return d->model->index(row, 0);
    return {};
}

} // namespace Dayplex

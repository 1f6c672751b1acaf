#include <dayplex/modelbinding.h>

#include "model/boundview.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/ucagenda.h>

namespace Dayplex {

class ModelBindingPrivate
{
public:
    ModelBindingPrivate(ModelBinding *q, std::unique_ptr<FeedTarget> target)
        : feed(std::move(target), reportsTo(q))
    {
    }

    static FeedReports reportsTo(ModelBinding *q)
    {
        FeedReports reports;
        reports.changeRefused = [q](const QModelIndex &row, const QDateTime &start,
                                    const QDateTime &end) { Q_EMIT q->changeRefused(row, start, end); };
        reports.seriesChangeRequested = [q](const QModelIndex &row, SeriesScope scope,
                                            const QDateTime &start, const QDateTime &end) {
            Q_EMIT q->seriesChangeRequested(row, scope, start, end);
        };
        return reports;
    }

    template<typename View>
    void connectView(ModelBinding *q, View *v)
    {
        QObject::connect(v, &View::NeedDates, q, [this](double first, double last, const QString &) {
            feed.answer(first, last);
        });
        QObject::connect(v, &View::DateChanged, q, [this](const QString &key, double start, double end) {
            feed.write(key, start, end);
        });
        QObject::connect(v, &View::seriesDateChanged, q,
                         [this](const QString &key, SeriesScope scope, double start, double end) {
                             feed.seriesChanged(key, scope, start, end);
                         });
    }

    ModelFeed feed;
};

ModelBinding::ModelBinding(ucAgenda *view, QObject *parent)
    : QObject(parent), d(std::make_unique<ModelBindingPrivate>(this, boundView(view)))
{
    d->connectView(this, view);
}

ModelBinding::ModelBinding(ctlGantt *view, QObject *parent)
    : QObject(parent), d(std::make_unique<ModelBindingPrivate>(this, boundView(view)))
{
    d->connectView(this, view);
}

ModelBinding::~ModelBinding() = default;

void ModelBinding::setModel(QAbstractItemModel *model, const AppointmentRoles &roles)
{
    d->feed.setModel(model, roles);
}

QAbstractItemModel *ModelBinding::model() const
{
    return d->feed.model();
}

void ModelBinding::setParticipantModel(QAbstractItemModel *model, const ParticipantRoles &roles)
{
    d->feed.setParticipantModel(model, roles);
}

QAbstractItemModel *ModelBinding::participantModel() const
{
    return d->feed.participantModel();
}

QModelIndex ModelBinding::indexOf(const QString &key) const
{
    return d->feed.indexOf(key);
}

} // namespace Dayplex

#ifndef DAYPLEX_MODELFEED_H
#define DAYPLEX_MODELFEED_H

#include "model/modelrows.h"

#include <dayplex/series.h>

#include <QDateTime>
#include <QHash>
#include <QModelIndex>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class QAbstractItemModel;

namespace Dayplex {

// The participants a view is filled with: keys in their order and names by key.
struct ModelParticipants
{
    QStringList keys;
    QHash<QString, QString> names;
    QString nameOf(const QString &key) const { return names.value(key, key); }
};

// The colours a row names, else the layout's plain colours of an appointment.
qint32 textColourOf(const ModelAppointment &a);
qint32 backgroundColourOf(const ModelAppointment &a);
// What a view is told beyond the record: a series, a meeting's participants by name.
AppointmentDetails detailsOf(const ModelAppointment &a, const ModelParticipants &participants);
// Tells a view (a widget or a core) the details of an appointment that has any.
template <class View>
void tellDetails(View &view, const ModelAppointment &a, const ModelParticipants &participants)
{
    const AppointmentDetails details = detailsOf(a, participants);
    if (details != AppointmentDetails())
        view.setAppointmentDetails(a.key, details);
}
// The resource view's rows: the participant model's, or else every participant of the shown
// appointments in the order they first appear.
QStringList participantRows(const QVector<ModelAppointment> &appointments,
                            const ModelParticipants &participants, bool participantModel);

// A view fed from a model, whatever its front end (widget or Qt Quick item): what the feed does
// with it through the view's own members.
class FeedTarget
{
public:
    virtual ~FeedTarget() = default;
    virtual void enable() = 0;
    virtual void refresh() = 0;
    // The classic answer to NeedDates(first, last): the filled range, rows, appointments.
    virtual void fill(Date first, Date last, const QVector<ModelAppointment> &appointments,
                      const ModelParticipants &participants, bool participantModel) = 0;
};

// What the feed tells its owner: a refused change and a change of a series the host makes.
struct FeedReports
{
    std::function<void(const QModelIndex &, const QDateTime &, const QDateTime &)> changeRefused;
    std::function<void(const QModelIndex &, SeriesScope, const QDateTime &, const QDateTime &)>
        seriesChangeRequested;
};

// Answers a view's NeedDates from an item model, writes the user's moves back with setData and
// shows the model's changes once the event loop turns, only when they touch the shown days.
class ModelFeed
{
public:
    ModelFeed(std::unique_ptr<FeedTarget> target, FeedReports reports);
    ~ModelFeed();

    void setModel(QAbstractItemModel *model, const AppointmentRoles &roles);
    QAbstractItemModel *model() const { return m_model; }
    const AppointmentRoles &roles() const { return m_roles; }
    void setParticipantModel(QAbstractItemModel *model, const ParticipantRoles &roles);
    QAbstractItemModel *participantModel() const { return m_participantModel; }
    QModelIndex indexOf(const QString &key) const;

    // The view's events.
    void answer(Date first, Date last);
    void write(const QString &key, Date start, Date end);
    void seriesChanged(const QString &key, SeriesScope scope, Date start, Date end);

private:
    void rebuild();
    void readParticipantModel();
    void connectModel();
    void scheduleRefresh() { m_refreshTimer.start(); }
    bool touchesShownDays(AppointmentIndex::Span span) const;
    void changed(int first, int last);
    void inserted(int first, int last);
    void removed(int first, int last);

    std::unique_ptr<FeedTarget> const m_target;
    FeedReports const m_reports;
    // The receiver of the models' signals and the timer's, gone with the feed.
    QObject m_context;
    QPointer<QAbstractItemModel> m_model;
    AppointmentRoles m_roles;
    QPointer<QAbstractItemModel> m_participantModel;
    ParticipantRoles m_participantRoles;
    ModelParticipants m_participants;
    AppointmentIndex m_index;
    // The days the view was last filled with, through the end of the last one.
    std::optional<AppointmentIndex::Span> m_filled;
    int m_shownRows = 0;
    QTimer m_refreshTimer;
    bool m_resetting = false;
    bool m_readingParticipants = false;
    QList<QMetaObject::Connection> m_modelConnections;
};

} // namespace Dayplex

#endif

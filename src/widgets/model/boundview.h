#ifndef DAYPLEX_BOUNDVIEW_H
#define DAYPLEX_BOUNDVIEW_H

#include "model/modelrows.h"

#include <QPointer>
#include <QWidget>

namespace Dayplex {

// The participants a view is filled with: keys in their order and names by key.
struct ModelParticipants
{
    QStringList keys;
    QHash<QString, QString> names;
    QString nameOf(const QString &key) const { return names.value(key, key); }
};

// What the binding does with a view through its public members: the calendar and the resource
// view take the same answer in their own classic calls.
class BoundView
{
public:
    virtual ~BoundView() = default;
    virtual QWidget *widget() const = 0;
    virtual void enable() = 0;
    virtual void refresh() = 0;
    // The classic answer to NeedDates(first, last): the filled range, rows, appointments.
    virtual void fill(Date first, Date last, const QVector<ModelAppointment> &appointments,
                      const ModelParticipants &participants, bool participantModel) = 0;
};

std::unique_ptr<BoundView> boundView(class ucAgenda *view);
std::unique_ptr<BoundView> boundView(class ctlGantt *view);

} // namespace Dayplex

#endif

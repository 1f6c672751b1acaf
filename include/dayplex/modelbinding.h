#ifndef DAYPLEX_MODELBINDING_H
#define DAYPLEX_MODELBINDING_H

/// \file modelbinding.h
/// Either view fed from a QAbstractItemModel, beside the classic NeedDates protocol.

#include <dayplex/dayplex_export.h>
#include <dayplex/modelroles.h>
#include <dayplex/series.h>

#include <QDateTime>
#include <QModelIndex>
#include <QObject>

#include <memory>

class QAbstractItemModel;

namespace Dayplex {

class ucAgenda;
class ctlGantt;
class ModelBindingPrivate;

/// Binds a QAbstractItemModel to a calendar or a resource view: the binding answers the view's
/// NeedDates from the model, writes a move or resize the user agreed to back into the model
/// with setData, and shows the model's changes.
///
/// The binding keeps an index of the rows by their time, so a view's days are answered without
/// reading every row; it reads every row once when the model is set or reset, and fetches all
/// rows of a model that fetches lazily (QSqlTableModel) then. A change of the model (dataChanged, rowsInserted, rowsRemoved, modelReset,
/// a new layout) reloads and repaints the view once the event loop runs again, and only when
/// the changed rows were or are on the days the view shows. A move or resize that the model
/// refuses (setData returns false) leaves the model as it was and the view shows the old times
/// again; changeRefused tells the host. Moving an occurrence of a series writes the row for
/// "Nur diesen Termin" and leaves the other answers to the host (seriesChangeRequested).
///
/// The host keeps answering the view's other events (NewDate, ShowDate, OptionsChanged ...) and
/// sets its displayed range; it does not answer NeedDates itself while the binding is set.
class DAYPLEX_EXPORT ModelBinding : public QObject
{
    Q_OBJECT
public:
    /// Binds the calendar \a view; it lives at least as long as the binding.
    explicit ModelBinding(ucAgenda *view, QObject *parent = nullptr);
    /// Binds the resource view \a view; it lives at least as long as the binding.
    explicit ModelBinding(ctlGantt *view, QObject *parent = nullptr);
    /// Leaves the view and the models as they are.
    ~ModelBinding() override;

    /// Shows the appointments of \a model, found with \a roles; null shows none. Turns the
    /// view's Enabled on and loads its displayed days at once. The binding neither owns the
    /// model nor changes it except for the moves and resizes the user makes.
    void setModel(QAbstractItemModel *model, const AppointmentRoles &roles = AppointmentRoles());
    /// The appointment model; null when none is set or it was deleted.
    QAbstractItemModel *model() const;
    /// The rows of the resource view, in the model's order, found with \a roles. Without a
    /// participant model the view shows one row per participant key of the displayed days, in
    /// the order they first appear, named by the key. The calendar names a meeting's
    /// participants from this model. Any change of the participant model reloads the view.
    void setParticipantModel(QAbstractItemModel *model,
                             const ParticipantRoles &roles = ParticipantRoles());
    /// The participant model; null when none is set or it was deleted.
    QAbstractItemModel *participantModel() const;

    /// The row of the appointment model with the key \a key among the displayed days; invalid
    /// when none of them has it.
    QModelIndex indexOf(const QString &key) const;

Q_SIGNALS:
    /// The model refused the new times \a start to \a end of the appointment in \a row; the view
    /// shows its old times again.
    void changeRefused(const QModelIndex &row, const QDateTime &start, const QDateTime &end);
    /// The user moved the occurrence of a series in \a row and asked to change \a scope, which
    /// is not "Nur diesen Termin": the host changes the series in the model, which the view then
    /// shows; until then the view shows the occurrence where it was.
    void seriesChangeRequested(const QModelIndex &row, Dayplex::SeriesScope scope,
                               const QDateTime &start, const QDateTime &end);

private:
    std::unique_ptr<ModelBindingPrivate> const d;
};

} // namespace Dayplex

#endif

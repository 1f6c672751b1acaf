#ifndef TERMINPLANER_APPOINTMENTDIALOG_H
#define TERMINPLANER_APPOINTMENTDIALOG_H

#include "database.h"

#include <QColor>
#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace Terminplaner {

class RecurrenceEditor;

QColor colorFromWindows(qint32 value);
qint32 windowsFromColor(const QColor &color);

// The appointment form for new and existing appointments: Betreff, Beginn, Ende, Ganztägig,
// Wiederholung, Teilnehmer, Farben and flags. Several checked participants make one meeting.
class AppointmentDialog : public QDialog
{
    Q_OBJECT
public:
    enum Outcome { Cancelled = QDialog::Rejected, Saved = QDialog::Accepted, Deleted = 2 };

    explicit AppointmentDialog(const QVector<Participant> &participants, QWidget *parent = nullptr);

    // existing: the appointment is in the database and may be deleted.
    void setAppointment(const Appointment &appointment, const QList<int> &participantIds,
                        bool existing);
    // participantId is the first checked participant, participantIds all of them; rrule the
    // series' rule (empty for a single appointment).
    Appointment appointment() const;
    QList<int> participantIds() const;
    void setParticipantIds(const QList<int> &ids);
    // Shows the appointment without a way to change it (a read-only database): every field
    // off, no "Speichern" and no "Löschen".
    void setViewOnly(bool viewOnly);

    // Empty when the form can be saved, otherwise the German reason.
    QString validationError() const;

    // Asks before deleting; tests replace it, so that no message box blocks.
    std::function<bool(QWidget *parent, const QString &text)> confirmDelete;

public Q_SLOTS:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    void requestDelete();

private:
    void fitHeight();
    void allDayToggled(bool allDay);
    void startChanged(const QDateTime &start);
    void updateEnabled();
    void chooseColor(QComboBox *box);
    static void selectColor(QComboBox *box, qint32 value);
    static qint32 selectedColor(const QComboBox *box);

    Appointment m_original;
    bool m_existing = false;
    bool m_viewOnly = false;
    QDateTime m_lastStart;
    QLineEdit *m_subject;
    QDateTimeEdit *m_start;
    QDateTimeEdit *m_end;
    QCheckBox *m_allDay;
    RecurrenceEditor *m_recurrence;
    QListWidget *m_participants;
    QComboBox *m_backColor;
    QComboBox *m_fontColor;
    QCheckBox *m_done;
    QCheckBox *m_readOnly;
    QCheckBox *m_note;
    QLabel *m_error;
    QPushButton *m_delete;
    QPushButton *m_save;
};

} // namespace Terminplaner

#endif

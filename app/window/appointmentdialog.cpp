#include "appointmentdialog.h"

#include "recurrenceeditor.h"

#include <dayplex/dates.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace Terminplaner {

namespace {

constexpr int kCustomColor = -1;
const char kDateTimeFormat[] = "dd.MM.yyyy HH:mm";
const char kDateFormat[] = "dd.MM.yyyy";

struct NamedColor
{
    const char *name;
    int r, g, b;
};

const NamedColor kBackColors[] = {
    {"Weiß", 255, 255, 255},   {"Hellblau", 198, 224, 255}, {"Hellgrün", 200, 238, 200},
    {"Hellgelb", 255, 248, 196}, {"Orange", 255, 222, 173},  {"Rosa", 255, 205, 205},
    {"Flieder", 226, 208, 242}, {"Grau", 222, 222, 222},
};

const NamedColor kFontColors[] = {
    {"Schwarz", 0, 0, 0},
    {"Dunkelgrau", 90, 90, 90},
    {"Dunkelblau", 0, 40, 120},
    {"Dunkelrot", 150, 0, 0},
};

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

template <size_t N>
QComboBox *colorBox(const NamedColor (&colors)[N], const QString &objectName, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(objectName);
    for (const NamedColor &c : colors) {
        const QColor color(c.r, c.g, c.b);
        box->addItem(swatch(color), QString::fromUtf8(c.name), windowsFromColor(color));
    }
    return box;
}

} // namespace

QColor colorFromWindows(qint32 value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

qint32 windowsFromColor(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

AppointmentDialog::AppointmentDialog(const QVector<Participant> &participants, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTermin"));
    setWindowTitle(tr("Termin"));

    m_subject = new QLineEdit(this);
    m_subject->setObjectName(QStringLiteral("txtBetreff"));
    m_subject->setPlaceholderText(tr("z. B. Projektbesprechung"));
    m_subject->setMaxLength(500);

    m_start = new QDateTimeEdit(this);
    m_start->setObjectName(QStringLiteral("dtpBeginn"));
    m_end = new QDateTimeEdit(this);
    m_end->setObjectName(QStringLiteral("dtpEnde"));
    for (QDateTimeEdit *edit : {m_start, m_end}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QString::fromLatin1(kDateTimeFormat));
    }
    m_allDay = new QCheckBox(tr("Ganztägig"), this);
    m_allDay->setObjectName(QStringLiteral("chkGanztaegig"));

    m_recurrence = new RecurrenceEditor(this);

    m_participants = new QListWidget(this);
    m_participants->setObjectName(QStringLiteral("lstTeilnehmer"));
    for (const Participant &p : participants) {
        auto *item = new QListWidgetItem(p.role.isEmpty() ? p.name : tr("%1 (%2)").arg(p.name, p.role),
                                         m_participants);
        item->setData(Qt::UserRole, p.id);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_participants->setMinimumHeight(150);

    m_backColor = colorBox(kBackColors, QStringLiteral("cboHintergrund"), this);
    m_fontColor = colorBox(kFontColors, QStringLiteral("cboSchrift"), this);
    auto colorRow = [this](QComboBox *box) {
        auto *row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        auto *more = new QToolButton(this);
        more->setText(QStringLiteral("…"));
        more->setToolTip(tr("Weitere Farbe wählen"));
        connect(more, &QToolButton::clicked, this, [this, box] { chooseColor(box); });
        row->addWidget(box, 1);
        row->addWidget(more);
        return row;
    };

    m_done = new QCheckBox(tr("Erledigt"), this);
    m_done->setObjectName(QStringLiteral("chkErledigt"));
    m_readOnly = new QCheckBox(tr("Schreibgeschützt (nicht verschiebbar)"), this);
    m_readOnly->setObjectName(QStringLiteral("chkSchreibgeschuetzt"));
    m_note = new QCheckBox(tr("Nur Hinweis (blockiert keine Zeit)"), this);
    m_note->setObjectName(QStringLiteral("chkHinweis"));

    m_error = new QLabel(this);
    m_error->setObjectName(QStringLiteral("lblFehler"));
    m_error->setStyleSheet(QStringLiteral("color: #b00020;"));
    m_error->setWordWrap(true);
    m_error->hide();

    auto *form = new QFormLayout;
    form->addRow(tr("&Betreff:"), m_subject);
    form->addRow(tr("B&eginn:"), m_start);
    form->addRow(tr("E&nde:"), m_end);
    form->addRow(QString(), m_allDay);
    form->addRow(m_recurrence);
    form->addRow(tr("&Teilnehmer:"), m_participants);
    auto *hint = new QLabel(tr("Mehrere Teilnehmer nehmen am selben Termin teil."), this);
    hint->setStyleSheet(QStringLiteral("color: palette(mid);"));
    form->addRow(QString(), hint);
    // Labels of layout rows get no buddy from the form, hence their own.
    auto *backLabel = new QLabel(tr("Hinter&grundfarbe:"), this);
    backLabel->setBuddy(m_backColor);
    form->addRow(backLabel, colorRow(m_backColor));
    auto *fontLabel = new QLabel(tr("Sch&riftfarbe:"), this);
    fontLabel->setBuddy(m_fontColor);
    form->addRow(fontLabel, colorRow(m_fontColor));
    form->addRow(QString(), m_done);
    form->addRow(QString(), m_readOnly);
    form->addRow(QString(), m_note);

    auto *buttons = new QDialogButtonBox(this);
    m_save = buttons->addButton(tr("Speichern"), QDialogButtonBox::AcceptRole);
    m_save->setObjectName(QStringLiteral("cmdSpeichern"));
    m_save->setDefault(true);
    buttons->addButton(tr("Abbrechen"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cmdAbbrechen"));
    m_delete = buttons->addButton(tr("Löschen"), QDialogButtonBox::DestructiveRole);
    m_delete->setObjectName(QStringLiteral("cmdLoeschen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &AppointmentDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AppointmentDialog::reject);
    connect(m_delete, &QPushButton::clicked, this, &AppointmentDialog::requestDelete);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_error);
    layout->addWidget(buttons);

    connect(m_allDay, &QCheckBox::toggled, this, &AppointmentDialog::allDayToggled);
    connect(m_start, &QDateTimeEdit::dateTimeChanged, this, &AppointmentDialog::startChanged);
    connect(m_readOnly, &QCheckBox::toggled, this, &AppointmentDialog::updateEnabled);
    connect(m_recurrence, &RecurrenceEditor::changed, this, [this] {
        m_error->hide();
        fitHeight();
    });

    confirmDelete = [](QWidget *parent, const QString &text) {
        return QMessageBox::question(parent, tr("Termin löschen"), text,
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    };

    Appointment empty;
    const Dayplex::Date now = Dayplex::currentDateTime();
    empty.start = std::floor(now * 24.0 + 1.0) / 24.0;
    empty.end = empty.start + 1.0 / 24.0;
    setAppointment(empty, {}, false);
    resize(460, sizeHint().height());
}

void AppointmentDialog::setAppointment(const Appointment &appointment,
                                       const QList<int> &participantIds, bool existing)
{
    m_original = appointment;
    m_existing = existing;
    setWindowTitle(existing ? tr("Termin bearbeiten") : tr("Neuer Termin"));
    m_subject->setText(appointment.text);
    {
        // The end follows a changed start only when the user changes it.
        const QSignalBlocker blocker(m_start);
        m_allDay->setChecked(appointment.allDay);
        allDayToggled(appointment.allDay);
        m_start->setDateTime(Dayplex::toQDateTime(appointment.start));
        m_end->setDateTime(Dayplex::toQDateTime(std::max(appointment.end, appointment.start)));
    }
    m_lastStart = m_start->dateTime();
    // An occurrence shows the rule of its series from its own day on.
    m_recurrence->setRule(appointment.rrule, m_start->date());
    setParticipantIds(participantIds);
    selectColor(m_backColor, appointment.backColor);
    selectColor(m_fontColor, appointment.fontColor);
    m_done->setChecked(appointment.done);
    m_readOnly->setChecked(appointment.readOnly);
    m_note->setChecked(appointment.note);
    m_error->hide();
    updateEnabled();
}

Appointment AppointmentDialog::appointment() const
{
    Appointment a = m_original;
    a.text = m_subject->text().trimmed();
    a.allDay = m_allDay->isChecked();
    if (a.allDay) {
        a.start = Dayplex::toDate(m_start->date());
        a.end = Dayplex::toDate(m_end->date());
    } else {
        a.start = Dayplex::toDate(m_start->date()) + Dayplex::toTimeOfDay(m_start->time());
        a.end = Dayplex::toDate(m_end->date()) + Dayplex::toTimeOfDay(m_end->time());
    }
    a.backColor = selectedColor(m_backColor);
    a.fontColor = selectedColor(m_fontColor);
    a.done = m_done->isChecked();
    a.readOnly = m_readOnly->isChecked();
    a.note = m_note->isChecked();
    const QList<int> ids = participantIds();
    // An edited appointment stays with its participant while that one is still checked.
    a.participantId = ids.contains(m_original.participantId) ? m_original.participantId
                                                             : (ids.isEmpty() ? 0 : ids.first());
    a.participantIds = ids;
    a.rrule = m_recurrence->rrule();
    if (a.rrule.isEmpty()) {
        a.rdates.clear();
        a.exdates.clear();
    }
    return a;
}

QList<int> AppointmentDialog::participantIds() const
{
    QList<int> ids;
    for (int i = 0; i < m_participants->count(); ++i) {
        const QListWidgetItem *item = m_participants->item(i);
        if (item->checkState() == Qt::Checked)
            ids.append(item->data(Qt::UserRole).toInt());
    }
    // The appointment's own participant first: it keeps the existing record.
    if (ids.removeOne(m_original.participantId))
        ids.prepend(m_original.participantId);
    return ids;
}

void AppointmentDialog::setParticipantIds(const QList<int> &ids)
{
    for (int i = 0; i < m_participants->count(); ++i) {
        QListWidgetItem *item = m_participants->item(i);
        item->setCheckState(ids.contains(item->data(Qt::UserRole).toInt()) ? Qt::Checked : Qt::Unchecked);
    }
}

QString AppointmentDialog::validationError() const
{
    const Appointment a = appointment();
    if (a.text.isEmpty())
        return tr("Bitte geben Sie einen Betreff ein.");
    if (a.end < a.start)
        return tr("Das Ende liegt vor dem Beginn.");
    if (participantIds().isEmpty())
        return tr("Bitte wählen Sie mindestens einen Teilnehmer.");
    return m_recurrence->validationError();
}

void AppointmentDialog::accept()
{
    // Enter in a form that cannot be saved only closes it.
    if (m_viewOnly) {
        reject();
        return;
    }
    const QString error = validationError();
    if (!error.isEmpty()) {
        m_error->setText(error);
        m_error->show();
        return;
    }
    QDialog::accept();
}

void AppointmentDialog::requestDelete()
{
    if (!m_existing || m_original.readOnly)
        return;
    if (confirmDelete && !confirmDelete(this, tr("Den Termin „%1“ wirklich löschen?").arg(m_original.text)))
        return;
    done(Deleted);
}

void AppointmentDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fitHeight();
}

void AppointmentDialog::fitHeight()
{
    // The rows of a series take room that a form made without them lacks.
    layout()->activate();
    if (height() < sizeHint().height())
        resize(width(), sizeHint().height());
}

void AppointmentDialog::allDayToggled(bool allDay)
{
    const QString format = QString::fromLatin1(allDay ? kDateFormat : kDateTimeFormat);
    m_start->setDisplayFormat(format);
    m_end->setDisplayFormat(format);
}

void AppointmentDialog::startChanged(const QDateTime &start)
{
    // Moving the start keeps the duration, as users expect from calendar forms.
    if (m_lastStart.isValid() && start.isValid())
        m_end->setDateTime(m_end->dateTime().addSecs(m_lastStart.secsTo(start)));
    m_lastStart = start;
    m_recurrence->setStart(start.date());
}

void AppointmentDialog::updateEnabled()
{
    // A protected appointment can only be unprotected; everything else waits for that.
    const bool editable =
        !m_viewOnly && !(m_existing && m_original.readOnly && m_readOnly->isChecked());
    for (QWidget *w : std::initializer_list<QWidget *>{m_subject, m_start, m_end, m_allDay,
                                                       m_recurrence, m_participants, m_backColor,
                                                       m_fontColor, m_done, m_note})
        w->setEnabled(editable);
    m_readOnly->setEnabled(!m_viewOnly);
    m_delete->setEnabled(m_existing && editable);
    m_delete->setVisible(m_existing && !m_viewOnly);
    m_save->setVisible(!m_viewOnly);
}

void AppointmentDialog::setViewOnly(bool viewOnly)
{
    m_viewOnly = viewOnly;
    updateEnabled();
}

void AppointmentDialog::chooseColor(QComboBox *box)
{
    const QColor color = QColorDialog::getColor(colorFromWindows(selectedColor(box)), this, tr("Farbe wählen"));
    if (color.isValid())
        selectColor(box, windowsFromColor(color));
}

void AppointmentDialog::selectColor(QComboBox *box, qint32 value)
{
    int index = box->findData(value);
    if (index < 0) {
        // Colours from elsewhere keep their value as an extra entry.
        index = box->findData(kCustomColor, Qt::UserRole + 1);
        const QColor color = colorFromWindows(value);
        const QString text = tr("Eigene Farbe (%1)").arg(color.name().toUpper());
        if (index < 0) {
            box->addItem(swatch(color), text, value);
            index = box->count() - 1;
            box->setItemData(index, kCustomColor, Qt::UserRole + 1);
        } else {
            box->setItemIcon(index, swatch(color));
            box->setItemText(index, text);
            box->setItemData(index, value);
        }
    }
    box->setCurrentIndex(index);
}

qint32 AppointmentDialog::selectedColor(const QComboBox *box)
{
    return box->currentData().toInt();
}

} // namespace Terminplaner

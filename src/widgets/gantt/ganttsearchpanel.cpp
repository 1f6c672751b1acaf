#include "gantt/ganttsearchpanel.h"

#include "shared/ctools.h"
#include "shared/leadingnumber.h"
#include "shared/uitext.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimeEdit>

#include <cmath>

namespace Dayplex {

namespace {

QTimeEdit *timePicker(const char *name, QWidget *parent)
{
    auto *picker = new QTimeEdit(parent);
    picker->setObjectName(QLatin1String(name));
    picker->setDisplayFormat(QStringLiteral("HH:mm"));
    return picker;
}

QLabel *caption(const QString &text, QWidget *parent, QWidget *buddy = nullptr)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

Date timeOfPicker(const QTimeEdit *picker)
{
    return toTimeOfDay(picker->time());
}

QTime pickerTime(Date value)
{
    // Options may hold anything; only a time of day reaches the picker.
    const Date time = std::isfinite(value) ? cTools::TimeOnly(value) : 0;
    const QTime t = toQTime(time);
    return t.isValid() ? t : QTime(0, 0);
}

} // namespace

GanttSearchPanel::GanttSearchPanel(QWidget *parent)
    : QGroupBox(uiText("Dayplex::ctlGantt", "Freien Termin für alle angezeigten Teilnehmer und Ressourcen suchen"),
                parent)
{
    setObjectName(QStringLiteral("frmTerminSuchen"));

    txtTage = new QLineEdit(this);
    txtTage->setObjectName(QStringLiteral("txtTage"));
    // Whole days only; five digits already reach past the last day a search examines.
    txtTage->setMaxLength(5);
    txtTage->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), txtTage));
    txtTage->setMaximumWidth(txtTage->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    txtTage->installEventFilter(this);
    dtpTimeStunden = timePicker("dtpTimeStunden", this);
    dtpTimeVon = timePicker("dtpTimeVon", this);
    dtpTimeBis = timePicker("dtpTimeBis", this);
    dtpDayAb = new QDateEdit(this);
    dtpDayAb->setObjectName(QStringLiteral("dtpDayAb"));
    dtpDayAb->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    dtpDayAb->setCalendarPopup(true);
    chkWochenende = new QCheckBox(uiText("Dayplex::ctlGantt", "Auch an Feiertagen und  Wochenenden"), this);
    chkWochenende->setObjectName(QStringLiteral("chkWochenende"));
    cmdAuto[0] = new QPushButton(QStringLiteral("<<"), this);
    cmdAuto[0]->setObjectName(QStringLiteral("cmdAuto_0"));
    cmdAuto[1] = new QPushButton(uiText("Dayplex::ctlGantt", "AutoZeitwahl >>"), this);
    cmdAuto[1]->setObjectName(QStringLiteral("cmdAuto_1"));
    lblVorschlag = new QLabel(this);
    lblVorschlag->setObjectName(QStringLiteral("lblVorschlag"));
    // Two lines are reserved, so the panel keeps its height when a proposal appears.
    lblVorschlag->setMinimumHeight(2 * lblVorschlag->fontMetrics().lineSpacing());
    lblVorschlag->setMinimumWidth(lblVorschlag->fontMetrics().horizontalAdvance(
        uiText("Dayplex::ctlGantt", "Von: ") + QStringLiteral("00.00.0000 00:00  ")));
    cmdNeu = new QPushButton(uiText("Dayplex::ctlGantt", "Neu"), this);
    cmdNeu->setObjectName(QStringLiteral("cmdNeu"));
    cmdNeu->setEnabled(false);
    cmdClose = new QPushButton(uiText("Dayplex::ctlGantt", "Schließen"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    // Where a label alone would say too little, or the caption is arrows.
    txtTage->setAccessibleName(uiText("Dayplex::ctlGantt", "Dauer in Tagen"));
    dtpTimeStunden->setAccessibleName(uiText("Dayplex::ctlGantt", "Dauer in Stunden"));
    dtpTimeVon->setAccessibleName(uiText("Dayplex::ctlGantt", "Suchbereich von"));
    dtpTimeBis->setAccessibleName(uiText("Dayplex::ctlGantt", "Suchbereich bis"));
    cmdAuto[0]->setAccessibleName(uiText("Dayplex::ctlGantt", "Rückwärts suchen"));
    cmdAuto[1]->setAccessibleName(uiText("Dayplex::ctlGantt", "AutoZeitwahl vorwärts"));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(caption(uiText("Dayplex::ctlGantt", "Dauer"), this), 0, 0);
    auto *length = new QHBoxLayout;
    length->addWidget(txtTage);
    length->addWidget(caption(uiText("Dayplex::ctlGantt", "Tage"), this, txtTage));
    length->addSpacing(8);
    length->addWidget(dtpTimeStunden);
    length->addWidget(caption(uiText("Dayplex::ctlGantt", "Stunden"), this, dtpTimeStunden));
    length->addSpacing(16);
    grid->addLayout(length, 0, 1);
    grid->addWidget(caption(uiText("Dayplex::ctlGantt", "Suchbereich"), this, dtpTimeVon), 0, 2);
    auto *window = new QHBoxLayout;
    window->addWidget(dtpTimeVon);
    window->addWidget(caption(uiText("Dayplex::ctlGantt", "bis"), this, dtpTimeBis));
    window->addWidget(dtpTimeBis);
    window->addStretch();
    grid->addLayout(window, 0, 3);

    grid->addWidget(caption(uiText("Dayplex::ctlGantt", "Suchen ab"), this, dtpDayAb), 1, 0);
    auto *start = new QHBoxLayout;
    start->addWidget(dtpDayAb);
    start->addStretch();
    grid->addLayout(start, 1, 1);
    grid->addWidget(chkWochenende, 1, 2, 1, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdAuto[0]);
    buttons->addWidget(cmdAuto[1]);
    buttons->addSpacing(12);
    buttons->addWidget(lblVorschlag, 1);
    buttons->addWidget(cmdNeu);
    buttons->addWidget(cmdClose);
    grid->addLayout(buttons, 2, 0, 1, 5);
    // Wide controls keep their fields together on the left.
    grid->setColumnStretch(4, 1);

    connect(txtTage, &QLineEdit::textChanged, this, [this] { updateTimePickers(); });
    connect(dtpDayAb, &QDateEdit::dateChanged, this, [this] {
        if (!m_settingSearchFrom)
            Q_EMIT searchFromEdited();
    });
    dtpTimeStunden->setTime(QTime(1, 0));
    hide();
}

FreeSlotQuery GanttSearchPanel::query() const
{
    FreeSlotQuery asked;
    asked.days = days();
    asked.length = length();
    asked.windowFrom = windowFrom();
    asked.windowTo = windowTo();
    asked.searchFrom = searchFrom();
    asked.weekends = weekends();
    return asked;
}

double GanttSearchPanel::days() const
{
    const double n = leadingNumber(txtTage->text());
    return std::isfinite(n) ? n : 0;
}

Date GanttSearchPanel::length() const
{
    return timeOfPicker(dtpTimeStunden);
}

Date GanttSearchPanel::windowFrom() const
{
    return timeOfPicker(dtpTimeVon);
}

Date GanttSearchPanel::windowTo() const
{
    return timeOfPicker(dtpTimeBis);
}

void GanttSearchPanel::setWindow(Date from, Date to)
{
    dtpTimeVon->setTime(pickerTime(from));
    dtpTimeBis->setTime(pickerTime(to));
}

Date GanttSearchPanel::searchFrom() const
{
    return toDate(dtpDayAb->date());
}

void GanttSearchPanel::setSearchFrom(Date day)
{
    const QDate date = toQDate(day);
    if (!date.isValid())
        return;
    m_settingSearchFrom = true;
    dtpDayAb->setDate(date);
    m_settingSearchFrom = false;
}

bool GanttSearchPanel::weekends() const
{
    return chkWochenende->isChecked();
}

void GanttSearchPanel::showProposal(const QString &text, bool canCreate)
{
    // The label breaks lines at "\n"; the proposal text keeps its CR LF for the host.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (lblVorschlag->text() != shown)
        lblVorschlag->setText(shown);
    cmdNeu->setEnabled(canCreate);
}

void GanttSearchPanel::reset(Date day)
{
    txtTage->clear();
    updateTimePickers();
    dtpTimeStunden->setTime(QTime(1, 0));
    setSearchFrom(cTools::DateOnly(day));
}

void GanttSearchPanel::updateTimePickers()
{
    // The hour length and the window count only while no days are given.
    const bool hours = days() == 0;
    dtpTimeStunden->setEnabled(hours);
    dtpTimeVon->setEnabled(hours);
    dtpTimeBis->setEnabled(hours);
}

bool GanttSearchPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtTage) {
        if (event->type() == QEvent::FocusIn) {
            Q_EMIT daysFocused();
        } else if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent *>(event)->text();
            // Typed characters only; editing and navigation keys pass.
            if (text.size() == 1 && text.at(0).unicode() >= 32) {
                qint16 key = qint16(text.at(0).unicode());
                cTools::FilterNumericKey(key);
                if (key == 0)
                    return true;
            }
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

} // namespace Dayplex

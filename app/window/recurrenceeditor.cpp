#include "recurrenceeditor.h"

#include "recurrence.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <vector>

Q_LOGGING_CATEGORY(lcRecurrenceForm, "terminplaner.form")

namespace Terminplaner {

namespace {

using Frequency = RecurrenceRule::Frequency;

const char *const kShortWeekdays[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
const char *const kLongWeekdays[] = {"Montag", "Dienstag", "Mittwoch", "Donnerstag",
                                     "Freitag", "Samstag", "Sonntag"};
const char *const kMonths[] = {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli",
                               "August", "September", "Oktober", "November", "Dezember"};

struct Ordinal
{
    const char *text;
    int value;
};
const Ordinal kOrdinals[] = {{"ersten", 1}, {"zweiten", 2}, {"dritten", 3}, {"vierten", 4},
                             {"letzten", -1}};

// The ordinal of the start's weekday in its month: the last one when no further one follows.
int ordinalOf(QDate day)
{
    if (day.addDays(7).month() != day.month())
        return -1;
    return (day.day() - 1) / 7 + 1;
}

QWidget *row(QWidget *parent, std::initializer_list<QWidget *> widgets)
{
    auto *container = new QWidget(parent);
    auto *layout = new QHBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget *w : widgets)
        layout->addWidget(w);
    layout->addStretch(1);
    return container;
}

} // namespace

RecurrenceEditor::RecurrenceEditor(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("fraWiederholung"));
    m_frequency = new QComboBox(this);
    m_frequency->setObjectName(QStringLiteral("cboWiederholung"));
    m_frequency->addItem(tr("Keine"));
    m_frequency->addItem(tr("Täglich"), int(Frequency::Daily));
    m_frequency->addItem(tr("Wöchentlich"), int(Frequency::Weekly));
    m_frequency->addItem(tr("Monatlich"), int(Frequency::Monthly));
    m_frequency->addItem(tr("Jährlich"), int(Frequency::Yearly));

    m_interval = new QSpinBox(this);
    m_interval->setObjectName(QStringLiteral("spnIntervall"));
    m_interval->setRange(1, 999);
    m_intervalUnit = new QLabel(this);
    auto *every = new QLabel(tr("A&lle"), this);
    every->setBuddy(m_interval);
    m_intervalRow = row(this, {every, m_interval, m_intervalUnit});

    auto *on = new QLabel(tr("am"), this);
    QList<QWidget *> days{on};
    for (int i = 0; i < 7; ++i) {
        auto *box = new QCheckBox(QString::fromUtf8(kShortWeekdays[i]), this);
        box->setObjectName(QStringLiteral("chkTag%1").arg(i + 1));
        box->setToolTip(QString::fromUtf8(kLongWeekdays[i]));
        m_weekdays.append(box);
        days.append(box);
    }
    m_weekdayRow = new QWidget(this);
    {
        auto *layout = new QHBoxLayout(m_weekdayRow);
        layout->setContentsMargins(0, 0, 0, 0);
        for (QWidget *w : days)
            layout->addWidget(w);
        layout->addStretch(1);
    }

    m_byMonthDay = new QRadioButton(this);
    m_byMonthDay->setObjectName(QStringLiteral("optMonatstag"));
    m_monthDay = new QSpinBox(this);
    m_monthDay->setObjectName(QStringLiteral("spnMonatstag"));
    m_monthDay->setRange(1, 31);
    m_monthDay->setSuffix(QStringLiteral("."));
    m_byWeekday = new QRadioButton(tr("am"), this);
    m_byWeekday->setObjectName(QStringLiteral("optWochentag"));
    m_ordinal = new QComboBox(this);
    m_ordinal->setObjectName(QStringLiteral("cboOrdinal"));
    for (const Ordinal &o : kOrdinals)
        m_ordinal->addItem(QString::fromUtf8(o.text), o.value);
    m_ordinalWeekday = new QComboBox(this);
    m_ordinalWeekday->setObjectName(QStringLiteral("cboWochentag"));
    for (int i = 0; i < 7; ++i)
        m_ordinalWeekday->addItem(QString::fromUtf8(kLongWeekdays[i]), i + 1);
    m_monthRow = new QWidget(this);
    {
        auto *layout = new QVBoxLayout(m_monthRow);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(row(m_monthRow, {m_byMonthDay, m_monthDay}));
        m_inMonth = new QLabel(m_monthRow);
        layout->addWidget(row(m_monthRow, {m_byWeekday, m_ordinal, m_ordinalWeekday, m_inMonth}));
    }
    m_byMonthDay->setChecked(true);

    m_endNever = new QRadioButton(tr("&nie"), this);
    m_endNever->setObjectName(QStringLiteral("optEndeNie"));
    m_endUntil = new QRadioButton(tr("a&m"), this);
    m_endUntil->setObjectName(QStringLiteral("optEndeAm"));
    m_until = new QDateEdit(this);
    m_until->setObjectName(QStringLiteral("dtpEndeAm"));
    m_until->setCalendarPopup(true);
    m_until->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_endCount = new QRadioButton(tr("na&ch"), this);
    m_endCount->setObjectName(QStringLiteral("optEndeNach"));
    m_count = new QSpinBox(this);
    m_count->setObjectName(QStringLiteral("spnAnzahl"));
    m_count->setRange(1, 999);
    m_count->setValue(10);
    m_count->setSuffix(tr(" Terminen"));
    m_endGroup = new QButtonGroup(this);
    for (QRadioButton *b : {m_endNever, m_endUntil, m_endCount})
        m_endGroup->addButton(b);
    m_endNever->setChecked(true);
    m_endRow = row(this, {m_endNever, m_endUntil, m_until, m_endCount, m_count});

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblSerie"));
    m_summary->setWordWrap(true);

    auto *form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(tr("&Wiederholung:"), m_frequency);
    form->addRow(QString(), m_intervalRow);
    form->addRow(QString(), m_weekdayRow);
    form->addRow(QString(), m_monthRow);
    auto *endLabel = new QLabel(tr("Endet:"), this);
    form->addRow(endLabel, m_endRow);
    form->addRow(QString(), m_summary);

    connect(m_frequency, &QComboBox::currentIndexChanged, this, &RecurrenceEditor::frequencyChanged);
    const auto edited = [this] {
        m_foreignRule.clear();
        updateVisible();
        updateSummary();
    };
    connect(m_interval, &QSpinBox::valueChanged, this, edited);
    connect(m_monthDay, &QSpinBox::valueChanged, this, edited);
    connect(m_count, &QSpinBox::valueChanged, this, edited);
    connect(m_until, &QDateEdit::dateChanged, this, edited);
    connect(m_ordinal, &QComboBox::currentIndexChanged, this, edited);
    connect(m_ordinalWeekday, &QComboBox::currentIndexChanged, this, edited);
    for (QRadioButton *b : {m_byMonthDay, m_byWeekday, m_endNever, m_endUntil, m_endCount})
        connect(b, &QAbstractButton::toggled, this, edited);
    for (QCheckBox *box : m_weekdays)
        connect(box, &QCheckBox::toggled, this, edited);

    setRule(QString(), QDate::currentDate());
}

void RecurrenceEditor::setRule(const QString &rrule, QDate start)
{
    m_start = start;
    RecurrenceRule rule;
    rule.weekdays = {start.dayOfWeek()};
    bool showable = true;
    if (!rrule.isEmpty()) {
        try {
            rule = RecurrenceRule::fromRRule(rrule);
        } catch (const RecurrenceError &error) {
            // Kept as text: the series stays as it came, the form only names it.
            qCWarning(lcRecurrenceForm) << "rule shown as text only:" << rrule << error.what();
            showable = false;
        }
    }
    {
        const QSignalBlocker blocker(this);
        showRule(rule);
        const int index = rrule.isEmpty() ? 0 : m_frequency->findData(int(rule.frequency));
        const QSignalBlocker comboBlocker(m_frequency);
        m_frequency->setCurrentIndex(showable ? index : std::max(index, 1));
    }
    m_foreignRule = showable ? QString() : rrule;
    updateVisible();
    updateSummary();
}

void RecurrenceEditor::showRule(const RecurrenceRule &rule)
{
    const QList<QWidget *> fields{m_interval, m_monthDay, m_count, m_until, m_ordinal, m_ordinalWeekday,
                                  m_byMonthDay, m_byWeekday, m_endNever, m_endUntil, m_endCount};
    std::vector<QSignalBlocker> blockers;
    blockers.reserve(fields.size() + m_weekdays.size());
    for (QWidget *w : fields)
        blockers.emplace_back(w);
    for (QCheckBox *box : m_weekdays)
        blockers.emplace_back(box);
    m_interval->setValue(rule.interval);
    for (int i = 0; i < 7; ++i)
        m_weekdays[i]->setChecked(rule.weekdays.contains(i + 1));
    m_monthDay->setValue(rule.monthDay > 0 ? rule.monthDay : m_start.day());
    const bool byWeekday = rule.weekdayOrdinal != 0 && !rule.weekdays.isEmpty();
    m_byWeekday->setChecked(byWeekday);
    m_byMonthDay->setChecked(!byWeekday);
    m_ordinal->setCurrentIndex(std::max(0, m_ordinal->findData(byWeekday ? rule.weekdayOrdinal : ordinalOf(m_start))));
    m_ordinalWeekday->setCurrentIndex((byWeekday ? rule.weekdays.first() : m_start.dayOfWeek()) - 1);
    m_until->setDate(rule.until.isValid() ? rule.until : m_start.addMonths(3));
    m_count->setValue(rule.count > 0 ? std::min(rule.count, m_count->maximum()) : 10);
    m_endUntil->setChecked(rule.until.isValid());
    m_endCount->setChecked(!rule.until.isValid() && rule.count > 0);
    m_endNever->setChecked(!rule.until.isValid() && rule.count <= 0);
}

QString RecurrenceEditor::rrule() const
{
    if (m_frequency->currentIndex() <= 0)
        return QString();
    if (!m_foreignRule.isEmpty())
        return m_foreignRule;
    return ruleFromFields().toRRule();
}

RecurrenceRule RecurrenceEditor::ruleFromFields() const
{
    RecurrenceRule rule;
    rule.frequency = Frequency(m_frequency->currentData().toInt());
    rule.interval = m_interval->value();
    if (rule.frequency == Frequency::Weekly) {
        for (int i = 0; i < 7; ++i)
            if (m_weekdays[i]->isChecked())
                rule.weekdays.append(i + 1);
    } else if ((rule.frequency == Frequency::Monthly || rule.frequency == Frequency::Yearly)
               && m_byWeekday->isChecked()) {
        rule.weekdays = {m_ordinalWeekday->currentData().toInt()};
        rule.weekdayOrdinal = m_ordinal->currentData().toInt();
        if (rule.frequency == Frequency::Yearly)
            rule.month = m_start.month();
    } else if (rule.frequency == Frequency::Monthly) {
        rule.monthDay = m_monthDay->value();
    }
    if (m_endUntil->isChecked())
        rule.until = m_until->date();
    else if (m_endCount->isChecked())
        rule.count = m_count->value();
    return rule;
}

void RecurrenceEditor::setStart(QDate start)
{
    if (!start.isValid() || start == m_start)
        return;
    const QDate old = m_start;
    m_start = start;
    if (m_foreignRule.isEmpty()) {
        const QSignalBlocker blocker(this);
        // Fields that still say what the old start implied follow the new one.
        const bool onlyOldWeekday = [&] {
            for (int i = 0; i < 7; ++i)
                if (m_weekdays[i]->isChecked() != (i + 1 == old.dayOfWeek()))
                    return false;
            return true;
        }();
        if (onlyOldWeekday)
            for (int i = 0; i < 7; ++i)
                m_weekdays[i]->setChecked(i + 1 == start.dayOfWeek());
        if (m_monthDay->value() == old.day())
            m_monthDay->setValue(start.day());
        if (m_ordinalWeekday->currentIndex() == old.dayOfWeek() - 1)
            m_ordinalWeekday->setCurrentIndex(start.dayOfWeek() - 1);
    }
    updateVisible();
    updateSummary();
}

QString RecurrenceEditor::validationError() const
{
    if (m_frequency->currentIndex() <= 0 || !m_foreignRule.isEmpty())
        return QString();
    const RecurrenceRule rule = ruleFromFields();
    if (rule.frequency == Frequency::Weekly && rule.weekdays.isEmpty())
        return tr("Bitte wählen Sie mindestens einen Wochentag der Serie.");
    if (rule.until.isValid() && rule.until < m_start)
        return tr("Das Ende der Serie liegt vor ihrem ersten Termin.");
    return QString();
}

void RecurrenceEditor::frequencyChanged()
{
    m_foreignRule.clear();
    updateVisible();
    updateSummary();
}

void RecurrenceEditor::updateVisible()
{
    const bool series = m_frequency->currentIndex() > 0;
    const bool foreign = !m_foreignRule.isEmpty();
    const auto frequency = Frequency(m_frequency->currentData().toInt());
    m_intervalRow->setVisible(series && !foreign);
    m_weekdayRow->setVisible(series && !foreign && frequency == Frequency::Weekly);
    const bool monthly = frequency == Frequency::Monthly || frequency == Frequency::Yearly;
    m_monthRow->setVisible(series && !foreign && monthly);
    m_endRow->setVisible(series && !foreign);
    m_summary->setVisible(series);
    static const char *const units[][2] = {{"Tag", "Tage"}, {"Woche", "Wochen"}, {"Monat", "Monate"}, {"Jahr", "Jahre"}};
    if (series)
        m_intervalUnit->setText(QString::fromUtf8(units[int(frequency)][m_interval->value() == 1 ? 0 : 1]));
    const bool yearly = frequency == Frequency::Yearly;
    m_monthDay->setVisible(!yearly);
    m_byMonthDay->setText(yearly ? tr("am %1. %2").arg(m_start.day()).arg(QString::fromUtf8(kMonths[m_start.month() - 1]))
                                 : tr("am"));
    m_inMonth->setText(yearly ? tr("im %1").arg(QString::fromUtf8(kMonths[m_start.month() - 1])) : QString());
    m_inMonth->setVisible(yearly);
    m_until->setEnabled(m_endUntil->isChecked());
    m_count->setEnabled(m_endCount->isChecked());
}

void RecurrenceEditor::updateSummary()
{
    const QString rule = rrule();
    QString text;
    if (!rule.isEmpty()) {
        const QString error = validationError();
        text = error.isEmpty() ? tr("Serie: %1").arg(RecurrenceRule::describe(rule)) : error;
    }
    m_summary->setText(text);
    Q_EMIT changed();
}

} // namespace Terminplaner

#ifndef TERMINPLANER_RECURRENCEEDITOR_H
#define TERMINPLANER_RECURRENCEEDITOR_H

#include <QDate>
#include <QList>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace Terminplaner {

struct RecurrenceRule;

// The "Wiederholung" part of the appointment form: none, daily, weekly on chosen weekdays,
// monthly on the n-th day or the n-th weekday, yearly; ending never, on a date or after n
// times. Reads and writes the RRULE value the database stores. A rule the form cannot show
// (one imported from elsewhere) is kept as it is until the user picks another.
class RecurrenceEditor : public QWidget
{
    Q_OBJECT
public:
    explicit RecurrenceEditor(QWidget *parent = nullptr);

    // An empty rule is "Keine". start is the first occurrence's day: the defaults follow it.
    void setRule(const QString &rrule, QDate start);
    QString rrule() const;
    // The first occurrence moved in the form: a weekly rule still holding only the old
    // weekday, or an unedited day of the month, follow it.
    void setStart(QDate start);
    // Empty when the rule can be saved, otherwise the German reason.
    QString validationError() const;

Q_SIGNALS:
    void changed();

private:
    void frequencyChanged();
    void updateVisible();
    void updateSummary();
    RecurrenceRule ruleFromFields() const;
    void showRule(const RecurrenceRule &rule);

    QDate m_start;
    QString m_foreignRule; // a rule the fields cannot show, kept while "Keine" is not chosen
    QComboBox *m_frequency;
    QSpinBox *m_interval;
    QLabel *m_intervalUnit;
    QWidget *m_intervalRow;
    QWidget *m_weekdayRow;
    QList<QCheckBox *> m_weekdays;
    QWidget *m_monthRow;
    QRadioButton *m_byMonthDay;
    QSpinBox *m_monthDay;
    QRadioButton *m_byWeekday;
    QComboBox *m_ordinal;
    QComboBox *m_ordinalWeekday;
    QLabel *m_inMonth;
    QWidget *m_endRow;
    QButtonGroup *m_endGroup;
    QRadioButton *m_endNever;
    QRadioButton *m_endUntil;
    QDateEdit *m_until;
    QRadioButton *m_endCount;
    QSpinBox *m_count;
    QLabel *m_summary;
};

} // namespace Terminplaner

#endif

#ifndef DAYPLEX_DATEPICKER_H
#define DAYPLEX_DATEPICKER_H

#include <dayplex/dates.h>

#include <QDate>
#include <QDateEdit>
#include <QFrame>
#include <QList>
#include <QPalette>

class QCalendarWidget;
class QGridLayout;
class QLabel;
class QToolButton;

namespace Dayplex {

// How many months the drop-down shows side by side and one below the other.
struct MonthGrid
{
    int across = 4;
    int down = 3;
};

// The month grid for a screen of this width in pixels: below 1000 pixels four months side by
// side would run off the screen, so it shrinks to two across and three down.
MonthGrid monthGridForScreen(int screenWidth, MonthGrid designed);

// The drop-down of the date picker: a grid of month calendars with week numbers, starting at
// the month of the value, and buttons that turn a whole page of months. A click on a day (or
// Enter on it) picks it and closes the drop-down; Escape or a click elsewhere only closes it.
class DatePickerDropDown : public QFrame
{
    Q_OBJECT

public:
    explicit DatePickerDropDown(QWidget *parent = nullptr);

    // Lays out across x down months from the month of value on; value is the marked day.
    void setup(QDate value, MonthGrid grid, bool weekNumbers);
    QDate firstMonth() const { return m_firstMonth; }
    MonthGrid grid() const { return m_grid; }
    // The month calendars in reading order.
    const QList<QCalendarWidget *> &months() const { return m_months; }
    // The month calendar showing this day, nullptr when none does.
    QCalendarWidget *monthOf(QDate day) const;
    // Turns by whole pages of months, back for negative counts.
    void turn(int pages);

Q_SIGNALS:
    void picked(QDate day);
    void closed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void rebuild();
    void buildMonths(int count);

    QGridLayout *m_monthLayout = nullptr;
    QToolButton *m_previous = nullptr;
    QToolButton *m_next = nullptr;
    QList<QCalendarWidget *> m_months;
    QList<QWidget *> m_cells;
    QList<QLabel *> m_captions;
    QDate m_firstMonth;
    QDate m_value;
    MonthGrid m_grid;
    bool m_weekNumbers = true;
    // The grid and week numbers of the month calendars there are.
    MonthGrid m_built;
    bool m_builtWeekNumbers = true;
    QPalette m_hiddenSelection;
};

// A view's date picker "ccrpDtp": a date box whose drop-down of month calendars is used to
// jump to a day or to move the selected appointment there. The box itself normally lies
// outside the visible area; only the drop-down is seen. Value keeps a time of day: picking a
// day keeps the time the value had. Change is raised only when a day is picked in the
// drop-down. Tag holds what the pick is for (read with cTools::GetTag).
class DatePicker : public QDateEdit
{
    Q_OBJECT
    Q_PROPERTY(double Value READ Value WRITE setValue)
    Q_PROPERTY(QString tag READ Tag WRITE setTag)
    Q_PROPERTY(int monthsacross READ monthsAcross WRITE setMonthsAcross)
    Q_PROPERTY(int monthsdown READ monthsDown WRITE setMonthsDown)
    Q_PROPERTY(bool showweeknumbers READ showWeekNumbers WRITE setShowWeekNumbers)

public:
    // Month counts beyond this would make a drop-down larger than any screen.
    static constexpr int kMaxMonthsPerSide = 6;

    explicit DatePicker(QWidget *parent = nullptr);
    ~DatePicker() override;

    double Value() const { return m_value; }
    // Throws Dayplex::Error (invalid argument) for a value outside the calendar's dates.
    void setValue(double value);
    QString Tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }
    int monthsAcross() const { return m_grid.across; }
    void setMonthsAcross(int count);
    int monthsDown() const { return m_grid.down; }
    void setMonthsDown(int count);
    bool showWeekNumbers() const { return m_weekNumbers; }
    void setShowWeekNumbers(bool show) { m_weekNumbers = show; }

    // Opens the drop-down below the box, kept on the screen, without waiting for the pick.
    void openDropDown();
    // Opens it with its top left corner at this point of the screen, kept on the screen; the
    // box itself may stay hidden.
    void openDropDownAt(QPoint at);
    DatePickerDropDown *dropDown() const { return m_dropDown; }

Q_SIGNALS:
    void Change(double NewValue);
    void dropDownClosed();

protected:
    // F4 and Alt+Down open the drop-down, as in a date box of the platform.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void pick(QDate day);

    DatePickerDropDown *m_dropDown = nullptr;
    double m_value = 0;
    QString m_tag;
    MonthGrid m_grid;
    bool m_weekNumbers = true;
    // The grid and week numbers of the month calendars there are.
    MonthGrid m_built;
    bool m_builtWeekNumbers = true;
};

} // namespace Dayplex

#endif

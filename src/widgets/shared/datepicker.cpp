// The views' date picker: a date box with a drop-down of one or several month calendars.
#include "shared/datepicker.h"

#include "shared/ctools.h"
#include "shared/germanformat.h"
#include "shared/popupplace.h"

#include <dayplex/error.h>

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTextCharFormat>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace Dayplex {

namespace {

const QDate kFirstMonth(100, 1, 1);
const QDate kLastMonth(9999, 12, 1);
constexpr int kSmallScreenWidth = 1000;

QDate monthStart(QDate day)
{
    return QDate(day.year(), day.month(), 1);
}

} // namespace

MonthGrid monthGridForScreen(int screenWidth, MonthGrid designed)
{
    if (screenWidth < kSmallScreenWidth)
        return MonthGrid{2, 3};
    return designed;
}

DatePickerDropDown::DatePickerDropDown(QWidget *parent)
    : QFrame(parent, Qt::Popup)
{
    setObjectName(QStringLiteral("ccrpDtpDropDown"));
    setFrameShape(QFrame::StyledPanel);
    // Day names, the week numbers and Monday as the first day follow German use.
    setLocale(QLocale(QLocale::German, QLocale::Germany));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(2);
    auto *bar = new QHBoxLayout;
    m_previous = new QToolButton(this);
    m_previous->setObjectName(QStringLiteral("cmdZurueck"));
    m_previous->setArrowType(Qt::LeftArrow);
    m_previous->setAutoRaise(true);
    m_next = new QToolButton(this);
    m_next->setObjectName(QStringLiteral("cmdVor"));
    m_next->setArrowType(Qt::RightArrow);
    m_next->setAutoRaise(true);
    bar->addWidget(m_previous);
    bar->addStretch();
    bar->addWidget(m_next);
    outer->addLayout(bar);
    m_monthLayout = new QGridLayout;
    m_monthLayout->setHorizontalSpacing(12);
    m_monthLayout->setVerticalSpacing(6);
    outer->addLayout(m_monthLayout);

    connect(m_previous, &QToolButton::clicked, this, [this] { turn(-1); });
    connect(m_next, &QToolButton::clicked, this, [this] { turn(1); });
}

void DatePickerDropDown::setup(QDate value, MonthGrid grid, bool weekNumbers)
{
    m_value = value.isValid() ? value : toQDate(currentDate());
    m_grid = grid;
    m_weekNumbers = weekNumbers;
    m_firstMonth = monthStart(m_value);
    turn(0);
}

QCalendarWidget *DatePickerDropDown::monthOf(QDate day) const
{
    for (QCalendarWidget *month : m_months)
        if (day >= month->minimumDate() && day <= month->maximumDate())
            return month;
    return nullptr;
}

void DatePickerDropDown::turn(int pages)
{
    const int count = m_grid.across * m_grid.down;
    const QDate lastFirst = kLastMonth.addMonths(-(count - 1));
    QDate first = m_firstMonth.addMonths(pages * count);
    // Near the ends of the calendar the page stops at the first or the last month there is.
    if (!first.isValid() || first < kFirstMonth)
        first = kFirstMonth;
    if (first > lastFirst)
        first = lastFirst;
    m_firstMonth = first;
    rebuild();
}

void DatePickerDropDown::rebuild()
{
    const int count = m_grid.across * m_grid.down;
    // Opened again with the same grid: the month calendars are filled anew rather than built,
    // which costs most of an opening (their icons, fonts and size hints). A page turn builds
    // them anew, so that the month with the keyboard hands its focus on as before.
    const bool reuse = !isVisible() && !m_months.isEmpty() && m_built.across == m_grid.across
                       && m_built.down == m_grid.down && m_builtWeekNumbers == m_weekNumbers;
    if (!reuse)
        buildMonths(count);
    else if (QWidget *focus = focusWidget())
        focus->clearFocus();

    // A month that does not hold the value would show its nearest day as selected; only the
    // month with the keyboard focus shows its selection.
    m_hiddenSelection = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        m_hiddenSelection.setColor(group, QPalette::Highlight, m_hiddenSelection.color(group, QPalette::Base));
        m_hiddenSelection.setColor(group, QPalette::HighlightedText, m_hiddenSelection.color(group, QPalette::Text));
    }
    QTextCharFormat todayFormat;
    todayFormat.setFontWeight(QFont::Bold);
    todayFormat.setFontUnderline(true);
    const QDate today = toQDate(currentDate());

    for (int i = 0; i < count; ++i) {
        const QDate first = m_firstMonth.addMonths(i);
        const QDate last = first.addMonths(1).addDays(-1);
        m_captions.at(i)->setText(germanMonthName(first.month()) + QLatin1Char(' ') + QString::number(first.year()));
        QCalendarWidget *month = m_months.at(i);
        // Days of the neighbouring months are shown greyed and cannot be picked here.
        month->setDateRange(first, last);
        month->setCurrentPage(first.year(), first.month());
        // A new calendar selects the computer's today, moved into its range.
        month->setSelectedDate(m_value >= first && m_value <= last ? m_value
                                                                   : std::clamp(QDate::currentDate(), first, last));
        month->setDateTextFormat(QDate(), QTextCharFormat());
        month->setDateTextFormat(today, todayFormat);
        month->setPalette(m_hiddenSelection);
    }
    m_previous->setEnabled(m_firstMonth > kFirstMonth);
    m_next->setEnabled(m_firstMonth.addMonths(count - 1) < kLastMonth);
    adjustSize();
}

void DatePickerDropDown::buildMonths(int count)
{
    // The months leave the list before their cells go: deleting a month that has the focus
    // sends focus events to eventFilter, which walks the list.
    m_months.clear();
    m_captions.clear();
    qDeleteAll(m_cells);
    m_cells.clear();
    m_built = m_grid;
    m_builtWeekNumbers = m_weekNumbers;
    for (int i = 0; i < count; ++i) {
        auto *cell = new QWidget(this);
        auto *column = new QVBoxLayout(cell);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);
        auto *caption = new QLabel(cell);
        caption->setAlignment(Qt::AlignCenter);
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setFont(bold);
        auto *month = new QCalendarWidget(cell);
        month->setObjectName(QStringLiteral("month_%1").arg(i));
        month->setLocale(locale());
        month->setNavigationBarVisible(false);
        month->setVerticalHeaderFormat(m_weekNumbers ? QCalendarWidget::ISOWeekNumbers
                                                     : QCalendarWidget::NoVerticalHeader);
        if (QAbstractItemView *view = month->findChild<QAbstractItemView *>())
            view->installEventFilter(this);
        connect(month, &QCalendarWidget::clicked, this, &DatePickerDropDown::picked);
        connect(month, &QCalendarWidget::activated, this, &DatePickerDropDown::picked);
        column->addWidget(caption);
        column->addWidget(month);
        m_monthLayout->addWidget(cell, i / m_grid.across, i % m_grid.across);
        m_cells.append(cell);
        m_captions.append(caption);
        m_months.append(month);
    }
}

bool DatePickerDropDown::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        for (QCalendarWidget *month : m_months) {
            if (month->isAncestorOf(qobject_cast<QWidget *>(watched)))
                month->setPalette(event->type() == QEvent::FocusIn ? palette() : m_hiddenSelection);
        }
    }
    return QFrame::eventFilter(watched, event);
}

void DatePickerDropDown::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        event->accept();
        return;
    }
    QFrame::keyPressEvent(event);
}

void DatePickerDropDown::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    Q_EMIT closed();
}

DatePicker::DatePicker(QWidget *parent)
    : QDateEdit(parent)
{
    setObjectName(QStringLiteral("ccrpDtp"));
    setCalendarPopup(false);
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    m_value = currentDate();
    setDate(toQDate(m_value));
    // Typing in the box changes the day and keeps the time of the value.
    connect(this, &QDateEdit::dateChanged, this, [this](QDate day) {
        if (day.isValid() && day != toQDate(m_value))
            m_value = toDate(day) + cTools::TimeOnly(m_value);
    });
    m_dropDown = new DatePickerDropDown(this);
    connect(m_dropDown, &DatePickerDropDown::picked, this, &DatePicker::pick);
    connect(m_dropDown, &DatePickerDropDown::closed, this, &DatePicker::dropDownClosed);
}

DatePicker::~DatePicker()
{
    // Gone before this object is half destroyed, so that its closing reaches nobody.
    m_dropDown->disconnect(this);
    delete m_dropDown;
}

void DatePicker::setValue(double value)
{
    if (!isValidDate(value))
        throw Error(InvalidArgument, QStringLiteral("ccrpDtp.Value: ungültiger Datumswert."));
    m_value = value;
    setDate(toQDate(value));
}

void DatePicker::setMonthsAcross(int count)
{
    m_grid.across = std::clamp(count, 1, kMaxMonthsPerSide);
}

void DatePicker::setMonthsDown(int count)
{
    m_grid.down = std::clamp(count, 1, kMaxMonthsPerSide);
}

void DatePicker::openDropDown()
{
    openDropDownAt(mapToGlobal(QPoint(0, height())));
}

void DatePicker::openDropDownAt(QPoint at)
{
    const QDate value = toQDate(m_value);
    m_dropDown->setup(value, m_grid, m_weekNumbers);
    if (const QScreen *s = screen())
        at = keptOnScreen(at, m_dropDown->size(), s->availableGeometry());
    m_dropDown->move(at);
    m_dropDown->show();
    if (QCalendarWidget *month = m_dropDown->monthOf(value))
        month->setFocus(Qt::PopupFocusReason);
}

void DatePicker::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F4
        || (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        openDropDown();
        event->accept();
        return;
    }
    QDateEdit::keyPressEvent(event);
}

void DatePicker::pick(QDate day)
{
    if (!day.isValid())
        return;
    m_value = toDate(day) + cTools::TimeOnly(m_value);
    setDate(day);
    // Closed first, so that a question the change asks is not hidden under the drop-down.
    m_dropDown->hide();
    Q_EMIT Change(m_value);
}

} // namespace Dayplex

#include "dialogs/cfrmconfigcalendar.h"

#include "dialogs/cfrmconfiglayout.h"
#include "dialogs/modaldialog.h"
#include "shared/ctools.h"
#include "shared/defaultoptions.h"
#include "shared/germanformat.h"
#include "shared/logging.h"
#include "shared/uitext.h"

#include <dayplex/error.h>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace Dayplex {

namespace {

using Kind = cContainer::Kind;

constexpr int kFreiColumn = 1;
constexpr int kFirstTimeColumn = 2;

struct LayoutButton
{
    int index;
    const char *caption;
    const char *key;
    bool druckausgabe;
    bool gantt;
};

// Indexed as the buttons are; there is no button 2.
const LayoutButton kLayoutButtons[] = {
    {0, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigCalendar", "Bildschirmlayout Kalender"), "strLayoutScreenCalendar", false, false},
    {1, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigCalendar", "Bildschirmlayout Gantt"), "strLayoutScreenGantt", false, true},
    {3, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigCalendar", "Drucklayout Wochenblatt"), "strLayoutDruckWoche", true, false},
    {4, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigCalendar", "Drucklayout Tagesblatt"), "strLayoutDruckTag", true, false},
    {5, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigCalendar", "Drucklayout Gantt"), "strLayoutDruckGantt", true, true},
};

// The day names of the table's rows, by weekday number (1 = Sonntag).
const char *const kWeekdayNames[] = {QT_TRANSLATE_NOOP("Dayplex::cfrmConfigCalendar", "Sonntag"), QT_TRANSLATE_NOOP("Dayplex::cfrmConfigCalendar", "Montag"), QT_TRANSLATE_NOOP("Dayplex::cfrmConfigCalendar", "Dienstag"),
                                     QT_TRANSLATE_NOOP("Dayplex::cfrmConfigCalendar", "Mittwoch"), QT_TRANSLATE_NOOP("Dayplex::cfrmConfigCalendar", "Donnerstag"), QT_TRANSLATE_NOOP("Dayplex::cfrmConfigCalendar", "Freitag"),
                                     QT_TRANSLATE_NOOP("Dayplex::cfrmConfigCalendar", "Samstag")};

const char *const kOverlapKeys[] = {"blnUeberschneidenAKT", "blnUeberschneidenCalendar",
                                    "blnUeberschneidenGantt", "blnUeberschneidenFeiertage"};

cfrmConfigCalendar::LayoutDialogFactory &layoutFactorySlot()
{
    static cfrmConfigCalendar::LayoutDialogFactory factory;
    return factory;
}

std::unique_ptr<cfrmConfigLayout> makeLayoutDialog(QWidget *parent)
{
    const cfrmConfigCalendar::LayoutDialogFactory factory = layoutFactorySlot();
    return factory ? factory(parent) : std::make_unique<cfrmConfigLayout>(parent);
}

// A grey heading cell that can be neither selected nor edited.
QTableWidgetItem *headingItem(const QString &text, const QPalette &palette)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::NoItemFlags);
    item->setBackground(palette.button());
    item->setForeground(palette.buttonText());
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

bool isEditableCell(const QTableWidgetItem *item)
{
    return item && (item->flags() & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable));
}

// Draws the "Frei" tick box in the middle of its cell, under its centred heading (item views
// put it at the left edge), and ticks it on a click anywhere in the cell or on the space bar.
class CentredCheckDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        if (!(cell.features & QStyleOptionViewItem::HasCheckIndicator)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QWidget *widget = option.widget;
        const QStyle *style = widget ? widget->style() : QApplication::style();
        QStyleOptionViewItem check = cell;
        check.rect = checkRect(cell);
        check.state = (cell.state & ~(QStyle::State_On | QStyle::State_Off))
                      | (cell.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
        cell.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
    }

    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override
    {
        const Qt::ItemFlags flags = index.flags();
        if (!(flags & Qt::ItemIsUserCheckable) || !(flags & Qt::ItemIsEnabled))
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        switch (event->type()) {
        case QEvent::MouseButtonRelease: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() != Qt::LeftButton
                || !option.rect.contains(mouse->position().toPoint()))
                return false;
            break;
        }
        case QEvent::MouseButtonDblClick:
            return true; // the second release ticks again, as with any tick box
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key != Qt::Key_Space && key != Qt::Key_Select)
                return false;
            break;
        }
        default:
            return false;
        }
        const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }

private:
    static QRect checkRect(const QStyleOptionViewItem &cell)
    {
        const QWidget *widget = cell.widget;
        const QStyle *style = widget ? widget->style() : QApplication::style();
        const QSize size =
            style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &cell, widget).size();
        return QStyle::alignedRect(cell.direction, Qt::AlignCenter, size, cell.rect);
    }
};

} // namespace

cfrmConfigCalendar::cfrmConfigCalendar(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QLatin1String(ModalWindow::OptionsDialog));
    setWindowTitle(uiText("Dayplex::cfrmConfigCalendar", "Kalenderoptionen"));
    setWindowIcon(optionsIcon());
    buildControls();
    ssArbeitszeit->setCurrentCell(kFirstDayRow, kFirstTimeColumn);
}

cfrmConfigCalendar::~cfrmConfigCalendar() = default;

void cfrmConfigCalendar::buildControls()
{
    auto *frame1 = new QGroupBox(uiText("Dayplex::cfrmConfigCalendar", "Arbeitszeit"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));

    ssArbeitszeit = new QTableWidget(kRows, kColumns, frame1);
    ssArbeitszeit->setObjectName(QStringLiteral("ssArbeitszeit"));
    ssArbeitszeit->setAccessibleName(uiText("Dayplex::cfrmConfigCalendar", "Arbeitszeit"));
    // The arrow keys move between the cells; Tab goes on to the next control instead of
    // running through all 91 cells first.
    ssArbeitszeit->setTabKeyNavigation(false);
    ssArbeitszeit->horizontalHeader()->hide();
    ssArbeitszeit->verticalHeader()->hide();
    ssArbeitszeit->setSelectionMode(QAbstractItemView::SingleSelection);
    ssArbeitszeit->setEditTriggers(QAbstractItemView::DoubleClicked
                                   | QAbstractItemView::EditKeyPressed
                                   | QAbstractItemView::AnyKeyPressed);
    ssArbeitszeit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ssArbeitszeit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ssArbeitszeit->installEventFilter(this);
    ssArbeitszeit->setItemDelegateForColumn(kFreiColumn, new CentredCheckDelegate(ssArbeitszeit));

    const QPalette pal = ssArbeitszeit->palette();
    // The header sections stay hidden; screen readers name a cell by them ("Pause 1 von").
    QStringList columnNames{uiText("Dayplex::cfrmConfigCalendar", "Tag"),
                            uiText("Dayplex::cfrmConfigCalendar", "Frei")};
    QStringList rowNames{QString(), QString()};
    ssArbeitszeit->setItem(0, 0, headingItem(columnNames.at(0), pal));
    ssArbeitszeit->setSpan(0, 0, 2, 1);
    ssArbeitszeit->setItem(0, kFreiColumn, headingItem(columnNames.at(kFreiColumn), pal));
    ssArbeitszeit->setSpan(0, kFreiColumn, 2, 1);
    // Each heading of the first row stands over its "von" and "bis" column.
    for (int k = 0; k <= 5; ++k) {
        const int column = kFirstTimeColumn + 2 * k;
        const QString caption =
            k == 0 ? uiText("Dayplex::cfrmConfigCalendar", "Arbeitszeit") : uiText("Dayplex::cfrmConfigCalendar", "Pause %1").arg(k);
        const QString from = uiText("Dayplex::cfrmConfigCalendar", "von");
        const QString to = uiText("Dayplex::cfrmConfigCalendar", "bis");
        columnNames << caption + QLatin1Char(' ') + from << caption + QLatin1Char(' ') + to;
        ssArbeitszeit->setItem(0, column, headingItem(caption, pal));
        ssArbeitszeit->setSpan(0, column, 1, 2);
        ssArbeitszeit->setItem(1, column, headingItem(from, pal));
        ssArbeitszeit->setItem(1, column + 1, headingItem(to, pal));
    }
    for (int row = kFirstDayRow; row < kRows; ++row) {
        rowNames << uiText("Dayplex::cfrmConfigCalendar", kWeekdayNames[weekdayOfRow(row) - 1]);
        auto *day = headingItem(rowNames.last(), pal);
        day->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        ssArbeitszeit->setItem(row, 0, day);
        auto *frei = new QTableWidgetItem;
        frei->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        frei->setCheckState(Qt::Unchecked);
        ssArbeitszeit->setItem(row, kFreiColumn, frei);
        for (int column = kFirstTimeColumn; column < kColumns; ++column) {
            auto *cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            cell->setTextAlignment(Qt::AlignCenter);
            ssArbeitszeit->setItem(row, column, cell);
        }
    }
    ssArbeitszeit->setHorizontalHeaderLabels(columnNames);
    ssArbeitszeit->setVerticalHeaderLabels(rowNames);
    const QFontMetrics fm(ssArbeitszeit->font());
    int dayWidth = 0;
    for (const char *name : kWeekdayNames)
        dayWidth = std::max(dayWidth, fm.horizontalAdvance(uiText("Dayplex::cfrmConfigCalendar", name)));
    ssArbeitszeit->setColumnWidth(0, dayWidth + 16);
    ssArbeitszeit->setColumnWidth(kFreiColumn, fm.horizontalAdvance(uiText("Dayplex::cfrmConfigCalendar", "Frei")) + 24);
    for (int column = kFirstTimeColumn; column < kColumns; ++column)
        ssArbeitszeit->setColumnWidth(column, fm.horizontalAdvance(QStringLiteral("00:00")) + 18);
    int width = 2 * ssArbeitszeit->frameWidth();
    for (int column = 0; column < kColumns; ++column)
        width += ssArbeitszeit->columnWidth(column);
    int height = 2 * ssArbeitszeit->frameWidth();
    for (int row = 0; row < kRows; ++row) {
        ssArbeitszeit->setRowHeight(row, fm.height() + 8);
        height += ssArbeitszeit->rowHeight(row);
    }
    ssArbeitszeit->setFixedSize(width, height);

    connect(ssArbeitszeit, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) {
                cmdZeileNachUntenKopieren->setEnabled(row != kLastRow);
            });

    cmdZeileNachUntenKopieren = new QPushButton(uiText("Dayplex::cfrmConfigCalendar", "Zeile nach unten kopieren"), frame1);
    cmdZeileNachUntenKopieren->setObjectName(QStringLiteral("cmdZeileNachUntenKopieren"));
    connect(cmdZeileNachUntenKopieren, &QPushButton::clicked, this, [this] {
        try {
            copyRowDown();
        } catch (...) {
            warnCaught(lcDialogs(), QStringLiteral("row not copied down"));
        }
    });
    auto *frame1Layout = new QVBoxLayout(frame1);
    frame1Layout->addWidget(ssArbeitszeit);
    auto *copyRow = new QHBoxLayout;
    copyRow->addStretch();
    copyRow->addWidget(cmdZeileNachUntenKopieren);
    frame1Layout->addLayout(copyRow);

    chkFeiertage = new QCheckBox(uiText("Dayplex::cfrmConfigCalendar", "berechnete Feiertage für Deutschland anzeigen"), this);
    chkFeiertage->setObjectName(QStringLiteral("chkFeiertage"));
    chkConfirmChanges = new QCheckBox(uiText("Dayplex::cfrmConfigCalendar", "Terminänderungen müssen bestätigt werden"), this);
    chkConfirmChanges->setObjectName(QStringLiteral("chkConfirmChanges"));

    auto *frame4 = new QGroupBox(uiText("Dayplex::cfrmConfigCalendar", "Terminüberschneidungen automatisch prüfen"), this);
    frame4->setObjectName(QStringLiteral("Frame4"));
    auto *overlaps = new QGridLayout(frame4);
    const QString overlapCaptions[] = {uiText("Dayplex::cfrmConfigCalendar", "Aktivitätenfenster"), uiText("Dayplex::cfrmConfigCalendar", "Kalender"), uiText("Dayplex::cfrmConfigCalendar", "Gantt"),
                                       uiText("Dayplex::cfrmConfigCalendar", "Feiertage einbeziehen")};
    for (int i = 0; i < 4; ++i) {
        auto *box = new QCheckBox(overlapCaptions[i], frame4);
        box->setObjectName(QStringLiteral("chkTerminUeberschneidungen_%1").arg(i));
        box->setProperty("index", i);
        box->setProperty("DataField", QString::fromLatin1(kOverlapKeys[i]));
        chkTerminUeberschneidungen[i] = box;
        overlaps->addWidget(box, i / 2, i % 2);
    }

    auto *frame2 = new QGroupBox(uiText("Dayplex::cfrmConfigCalendar", "Bildschirmlayout"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto *frame3 = new QGroupBox(uiText("Dayplex::cfrmConfigCalendar", "Drucklayout"), this);
    frame3->setObjectName(QStringLiteral("Frame3"));
    auto *screenButtons = new QVBoxLayout(frame2);
    auto *printButtons = new QVBoxLayout(frame3);
    auto addLayoutButton = [this](QGroupBox *frame, QVBoxLayout *box, int index,
                                  const QString &caption) {
        auto *button = new QPushButton(caption, frame);
        button->setObjectName(QStringLiteral("cmdAnsicht_%1").arg(index));
        // Two buttons say "Gantt...": a screen reader gets the layout's full name.
        for (const LayoutButton &layout : kLayoutButtons)
            if (layout.index == index)
                button->setAccessibleName(uiText("Dayplex::cfrmConfigCalendar", layout.caption));
        button->setProperty("index", index);
        box->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, index] { cmdAnsicht(index); });
    };
    addLayoutButton(frame2, screenButtons, 0, uiText("Dayplex::cfrmConfigCalendar", "Kalender..."));
    addLayoutButton(frame2, screenButtons, 1, uiText("Dayplex::cfrmConfigCalendar", "Gantt..."));
    screenButtons->addStretch();
    addLayoutButton(frame3, printButtons, 4, uiText("Dayplex::cfrmConfigCalendar", "Tagesblatt..."));
    addLayoutButton(frame3, printButtons, 3, uiText("Dayplex::cfrmConfigCalendar", "Wochenblatt..."));
    addLayoutButton(frame3, printButtons, 5, uiText("Dayplex::cfrmConfigCalendar", "Gantt..."));
    printButtons->addStretch();

    auto *switches = new QVBoxLayout;
    switches->addWidget(chkFeiertage);
    switches->addWidget(chkConfirmChanges);
    switches->addWidget(frame4);
    switches->addStretch();

    // The two button frames equally wide, so that their buttons match; the wider title decides.
    const int frameWidth =
        std::max({frame2->sizeHint().width(), frame2->minimumSizeHint().width(),
                  frame3->sizeHint().width(), frame3->minimumSizeHint().width()});
    frame2->setMinimumWidth(frameWidth);
    frame3->setMinimumWidth(frameWidth);

    auto *middle = new QHBoxLayout;
    middle->addLayout(switches, 1);
    middle->addWidget(frame2);
    middle->addWidget(frame3);

    auto *cmdDefault = new QPushButton(uiText("Dayplex::cfrmConfigCalendar", "Standardwerte"), this);
    cmdDefault->setObjectName(QStringLiteral("cmdDefault"));
    cmdDefault->setAutoDefault(false);
    connect(cmdDefault, &QPushButton::clicked, this, [this] {
        try {
            setOptions(defaultOptionsString());
        } catch (...) {
            warnCaught(lcDialogs(), QStringLiteral("default options not loaded"));
        }
    });
    auto *cmdOK = new QPushButton(uiText("Dayplex::cfrmConfigCalendar", "OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto *cmdCancel = new QPushButton(uiText("Dayplex::cfrmConfigCalendar", "Abbrechen"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOK, &QPushButton::clicked, this, &cfrmConfigCalendar::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &cfrmConfigCalendar::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdDefault);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *main = new QVBoxLayout(this);
    main->addWidget(frame1);
    main->addLayout(middle);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

int cfrmConfigCalendar::weekdayOfRow(int row)
{
    if (row < kFirstDayRow || row > kLastRow)
        return 0;
    // Montag (2) to Samstag (7) in rows 2 to 7; Sonntag (1) comes last.
    return row == kLastRow ? 1 : row;
}

QString cfrmConfigCalendar::keyOfCell(int row, int column)
{
    const int n = weekdayOfRow(row);
    if (n == 0 || column < kFreiColumn || column >= kColumns)
        return QString();
    const QString day = QString::number(n);
    if (column == kFreiColumn)
        return QStringLiteral("blnFrei") + day;
    const int k = (column - kFirstTimeColumn) / 2;
    const bool from = (column - kFirstTimeColumn) % 2 == 0;
    if (k == 0)
        return (from ? QStringLiteral("timeArbeitszeitVon") : QStringLiteral("timeArbeitszeitBis"))
               + day;
    return QStringLiteral("timePause") + QString::number(k)
           + (from ? QStringLiteral("Von") : QStringLiteral("Bis")) + day;
}

QString cfrmConfigCalendar::format_zeit(Date time)
{
    const QString text = formatGermanDate(time, QStringLiteral("Short Time"));
    return text == QLatin1String("00:00") ? QString() : text;
}

Date cfrmConfigCalendar::parseTimeCell(const QString &text)
{
    // An optional German date before the time is allowed and dropped, as only the time of
    // day is kept.
    static const QRegularExpression pattern(QStringLiteral(
        "^\\s*(?:(\\d{1,2})\\.(\\d{1,2})\\.(\\d{2,4})\\s+)?(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return 0;
    if (match.capturedLength(1) > 0) {
        int year = match.captured(3).toInt();
        if (match.capturedLength(3) == 2)
            year += year < 30 ? 2000 : 1900;
        if (!QDate(year, match.captured(2).toInt(), match.captured(1).toInt()).isValid())
            return 0;
    }
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt(),
                     match.captured(6).toInt());
    return time.isValid() ? toTimeOfDay(time) : 0;
}

/*!
    Loads an options string: it is merged into the dialog's container, then every control
    shows the value the container holds. Missing weekday keys show an unticked box and empty
    time cells; a value that cannot be read as its kind leaves its control as it was. Throws
    Dayplex::Error, changing nothing, for a text that is not a container string.
*/
void cfrmConfigCalendar::setOptions(const QString &options)
{
    m_container.setContainerString(options);
    loadControls();
}

void cfrmConfigCalendar::loadControls()
{
    auto loadFlag = [this](QCheckBox *box, const QString &key) {
        try {
            box->setChecked(m_container.boolValue(key));
        } catch (const Error &) {
            warnCaught(lcOptions(), QStringLiteral("option %1 not shown").arg(key));
        }
    };
    loadFlag(chkFeiertage, QStringLiteral("blnGermanLegalHolidays"));
    loadFlag(chkConfirmChanges, QStringLiteral("blnConfirmChanges"));
    for (QCheckBox *box : chkTerminUeberschneidungen)
        loadFlag(box, box->property("DataField").toString());

    for (int row = kFirstDayRow; row < kRows; ++row) {
        for (int column = kFreiColumn; column < kColumns; ++column) {
            QTableWidgetItem *cell = ssArbeitszeit->item(row, column);
            const QString key = keyOfCell(row, column);
            try {
                if (column == kFreiColumn)
                    cell->setCheckState(m_container.boolValue(key) ? Qt::Checked : Qt::Unchecked);
                else
                    cell->setText(format_zeit(m_container.doubleValue(key)));
            } catch (const Error &) {
                warnCaught(lcOptions(), QStringLiteral("option %1 not shown").arg(key));
            }
        }
    }
}

/*!
    Stores the controls into the dialog's container and returns its container string: the
    switches as the numbers 0 and 1, "Frei" as a Boolean, every time cell as a time of day
    (an empty or unreadable cell as 00:00). Every other key passes through unchanged, except
    the layouts confirmed in the layout dialog.
*/
QString cfrmConfigCalendar::Options()
{
    auto storeFlag = [this](const QCheckBox *box, const QString &key) {
        m_container.setValue(key, QVariant::fromValue(short(box->isChecked() ? 1 : 0)),
                             Kind::Integer);
    };
    storeFlag(chkFeiertage, QStringLiteral("blnGermanLegalHolidays"));
    storeFlag(chkConfirmChanges, QStringLiteral("blnConfirmChanges"));
    for (const QCheckBox *box : chkTerminUeberschneidungen)
        storeFlag(box, box->property("DataField").toString());

    for (int row = kFirstDayRow; row < kRows; ++row) {
        for (int column = kFreiColumn; column < kColumns; ++column) {
            const QTableWidgetItem *cell = ssArbeitszeit->item(row, column);
            const QString key = keyOfCell(row, column);
            if (column == kFreiColumn)
                m_container.setValue(key, cell->checkState() == Qt::Checked, Kind::Boolean);
            else
                m_container.setValue(key, parseTimeCell(cell->text()), Kind::Date);
        }
    }
    return m_container.ContainerString();
}

/*!
    Edits one layout in the layout dialog: defaults first, then the stored layout, so that a
    layout missing from the options, or missing keys, show the defaults. A stored layout that
    is no container string is shown as the defaults and replaced on OK.
*/
void cfrmConfigCalendar::cmdAnsicht(int index)
{
    try {
        const LayoutButton *button = nullptr;
        for (const LayoutButton &b : kLayoutButtons)
            if (b.index == index)
                button = &b;
        if (!button)
            return;
        const QString key = QString::fromLatin1(button->key);

        std::unique_ptr<cfrmConfigLayout> dialog = makeLayoutDialog(this);
        if (!dialog)
            return;
        dialog->setWindowTitle(uiText("Dayplex::cfrmConfigCalendar", button->caption));
        dialog->setDruckausgabe(button->druckausgabe);
        dialog->setGantt(button->gantt);
        dialog->setPresentation(m_presentation);
        dialog->setWert(defaultLayoutString());
        try {
            dialog->setWert(m_container.textValue(key));
        } catch (const Error &) {
            warnCaught(lcOptions(), QStringLiteral("layout %1 shown with its defaults").arg(key));
        }

        const QPointer<cfrmConfigLayout> alive(dialog.get());
        runModal(*dialog);
        if (!alive) {
            // Deleted while it ran (its owner went away): nothing to read.
            (void)dialog.release();
            return;
        }
        if (!dialog->Cancel())
            m_container.setValue(key, dialog->wert(), Kind::Text);
    } catch (...) {
        // A failing layout dialog leaves the options as they were.
        warnCaught(lcDialogs(), QStringLiteral("layout dialog"));
    }
}

void cfrmConfigCalendar::copyRowDown()
{
    const int row = ssArbeitszeit->currentRow();
    if (row < kFirstDayRow || row >= kLastRow)
        return;
    for (int column = kFreiColumn; column < kColumns; ++column) {
        const QTableWidgetItem *from = ssArbeitszeit->item(row, column);
        QTableWidgetItem *to = ssArbeitszeit->item(row + 1, column);
        if (column == kFreiColumn)
            to->setCheckState(from->checkState());
        else
            to->setText(from->text());
    }
    ssArbeitszeit->setCurrentCell(row + 1, kFirstTimeColumn);
    ssArbeitszeit->setFocus();
}

bool cfrmConfigCalendar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ssArbeitszeit && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        QTableWidgetItem *cell = ssArbeitszeit->currentItem();
        if (isEditableCell(cell)) {
            cell->setText(QString());
            if (cell->flags() & Qt::ItemIsUserCheckable)
                cell->setCheckState(Qt::Unchecked);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void cfrmConfigCalendar::accept()
{
    QDialog::accept();
}

void cfrmConfigCalendar::reject()
{
    m_cancel = true;
    QDialog::reject();
}

// The close box is refused: the dialog ends with OK or Abbrechen only. The program ends it with
// accept or reject, or deletes it. Qt does not tell a close box from close() in every case, so
// every close request is refused while the dialog is shown.
void cfrmConfigCalendar::closeEvent(QCloseEvent *event)
{
    if (isVisible()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

cfrmConfigCalendar::LayoutDialogFactory
cfrmConfigCalendar::setLayoutDialogFactory(LayoutDialogFactory factory)
{
    LayoutDialogFactory previous = std::move(layoutFactorySlot());
    layoutFactorySlot() = std::move(factory);
    return previous;
}

} // namespace Dayplex

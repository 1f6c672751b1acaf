// Both views shown in one window between two fields, as a screen reader and a keyboard user
// meet them: the table and the appointments with their names and actions, Tab through the
// chain of widgets, a move by keys through the change question, and the focus frame.
#include "accessibility/accessibleview.h"
#include "support/testing.h"
#include "support/testmain.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/ucagenda.h>

#include <QAccessible>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>
#include <QtTest>

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

// The week of Good Friday (2024-03-29), a holiday the views add themselves.
const Date kMonday = day(2024, 3, 25);

struct Entry
{
    QString dsn;
    QString text;
    Date start;
    Date end;
    bool allDay;
    bool readOnly;
    QString row; // empty: not in the Gantt view
};

const Entry kMeeting{"A", "Teambesprechung", kMonday + hm(9, 0), kMonday + hm(10, 30), false,
                     false, "R1"};
const Entry kFair{"C", "Messe", kMonday + 2, kMonday + 2, true, false, "R1"};

// A writable meeting, a read-only visit, an all-day fair, and an early shift above the
// calendar's first time (08:00), so not on its screen.
QVector<Entry> weekData()
{
    return {kMeeting,
            {"B", "Kundentermin\r\nHansen KG", kMonday + 1 + hm(10, 0), kMonday + 1 + hm(11, 0),
             false, true, "R2"},
            kFair,
            {"D", "Frühdienst", kMonday + 3 + hm(6, 0), kMonday + 3 + hm(7, 0), false, false,
             "R2"}};
}

// Both views between the fields "before" and "after", filled from `data` on every request.
struct Views
{
    explicit Views(const QVector<Entry> &data = weekData())
        : data(data)
    {
        QObject::connect(calendar, &ucAgenda::NeedDates, calendar,
                         [this](double from, double to, const QString &) {
                             calendar->SetFilledRange(from, to);
                             for (const Entry &e : std::as_const(this->data))
                                 calendar->AddDate(e.dsn, e.text, e.start, e.end, e.allDay, 0,
                                                   false, 0xFFFFFF, e.readOnly);
                         });
        QObject::connect(gantt, &ctlGantt::NeedDates, gantt,
                         [this](double from, double to, const QString &) {
                             gantt->SetFilledRange(from, to);
                             gantt->AddMerkmal("Anna Berg", "R1");
                             gantt->AddMerkmal("Ben Koch", "R2");
                             for (const Entry &e : std::as_const(this->data))
                                 if (!e.row.isEmpty())
                                     gantt->AddDate(e.dsn, e.text, e.start, e.end, e.allDay, 0,
                                                    false, 0xFFFFFF, e.readOnly, e.row, false);
                         });
        before->setObjectName("before");
        after->setObjectName("after");
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *w : std::initializer_list<QWidget *>{before, calendar, gantt, after})
            layout->addWidget(w);
        window.resize(900, 1180);
        window.show();
        calendar->Enabled = gantt->Enabled = true;
        double last = kMonday + 6;
        calendar->SetDisplayedRange(kMonday, &last, false, false);
        gantt->SetDisplayedRange(kMonday, &last, false, false);
        window.activateWindow();
        before->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    QWidget *view(bool ofGantt) const
    {
        return ofGantt ? static_cast<QWidget *>(gantt) : calendar;
    }
    QWidget *surface(bool ofGantt) const
    {
        return view(ofGantt)->findChild<QWidget *>(ofGantt ? "calpic" : "pic");
    }
    QAccessibleInterface *table(bool ofGantt) const
    {
        return QAccessible::queryAccessibleInterface(surface(ofGantt));
    }
    // Where the keyboard is: a field, or a view and its selection.
    QString focus() const
    {
        QWidget *w = QApplication::focusWidget();
        if (w == before || w == after)
            return w->objectName();
        const bool ofGantt = w == surface(true);
        const QString selected = view(ofGantt)->property("SelectedDate").toString();
        return (ofGantt ? "gantt " : "calendar ") + selected;
    }

    QVector<Entry> data;
    QWidget window;
    QLineEdit *before = new QLineEdit;
    ucAgenda *calendar = new ucAgenda;
    ctlGantt *gantt = new ctlGantt;
    QLineEdit *after = new QLineEdit;
};

// The appointment children of a table, which come after its headers and cells.
QList<QAccessibleInterface *> appointments(QAccessibleInterface *table)
{
    QList<QAccessibleInterface *> items;
    for (int i = 0; i < table->childCount(); ++i)
        if (QAccessibleInterface *child = table->child(i); child->role() == QAccessible::ListItem)
            items.append(child);
    return items;
}

QStringList g_focused;

void recordFocus(QAccessibleEvent *event)
{
    if (event->type() == QAccessible::Focus && event->accessibleInterface())
        g_focused << event->accessibleInterface()->text(QAccessible::Name);
}

} // namespace

class tst_AccessibleViews : public QObject
{
    Q_OBJECT

private slots:
    // Catches a view that is one blank element, a table of the wrong shape or with headers
    // and cells that name the wrong day or time, appointments in a reading order other than by
    // day and time, and appointments listed that are scrolled out of sight.
    void tree_data()
    {
        QTest::addColumn<bool>("ofGantt");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("columnsByRows");
        QTest::addColumn<QPoint>("cell"); // column, row
        QTest::addColumn<QString>("cellName");
        QTest::addColumn<QString>("rowHeader");
        QTest::addColumn<QString>("columnHeader");
        QTest::addColumn<QStringList>("appointments");
        QTest::newRow("calendar: band and 48 half hours")
            << false << "Kalender" << QSize(7, 49) << QPoint(1, 21)
            << "Dienstag, 26. März 2024, 10:00" << "10:00" << "Dienstag, 26. März 2024"
            << QStringList{"Montag, 25. März 2024, 09:00 bis 10:30, Teambesprechung",
                           "Dienstag, 26. März 2024, 10:00 bis 11:00, Kundentermin Hansen KG, "
                           "schreibgeschützt",
                           "Mittwoch, 27. März 2024, ganztägig, Messe",
                           "Freitag, 29. März 2024, ganztägig, Karfreitag, Feiertag"};
        QTest::newRow("Gantt: holiday row and two participants")
            << true << "Ressourcenansicht" << QSize(7, 3) << QPoint(2, 1)
            << "Anna Berg, Mittwoch, 27. März 2024" << "Anna Berg" << "Mittwoch, 27. März 2024"
            << QStringList{"Freitag, 29. März 2024, ganztägig, Karfreitag, Feiertag",
                           "Montag, 25. März 2024, 09:00 bis 10:30, Anna Berg: Teambesprechung",
                           "Mittwoch, 27. März 2024, ganztägig, Anna Berg: Messe",
                           "Dienstag, 26. März 2024, 10:00 bis 11:00, Ben Koch: Kundentermin "
                           "Hansen KG, schreibgeschützt",
                           // The Gantt view shows whole days.
                           "Donnerstag, 28. März 2024, 06:00 bis 07:00, Ben Koch: Frühdienst"};
    }
    void tree()
    {
        QFETCH(bool, ofGantt);
        QFETCH(QString, name);
        QFETCH(QSize, columnsByRows);
        QFETCH(QPoint, cell);
        QFETCH(QString, cellName);
        QFETCH(QString, rowHeader);
        QFETCH(QString, columnHeader);
        QFETCH(QStringList, appointments);
        Views views;
        QAccessibleInterface *table = views.table(ofGantt);
        QVERIFY(table && table->isValid());
        QCOMPARE(table->role(), QAccessible::Table);
        QCOMPARE(table->text(QAccessible::Name), name);
        QCOMPARE(table->text(QAccessible::Description),
                 "Montag, 25. März 2024 bis Sonntag, 31. März 2024");
        QAccessibleTableInterface *grid = table->tableInterface();
        QCOMPARE(QSize(grid->columnCount(), grid->rowCount()), columnsByRows);
        QAccessibleInterface *one = grid->cellAt(cell.y(), cell.x());
        QAccessibleTableCellInterface *inGrid = one->tableCellInterface();
        QCOMPARE(one->text(QAccessible::Name), cellName);
        QCOMPARE(inGrid->rowHeaderCells().value(0)->text(QAccessible::Name), rowHeader);
        QCOMPARE(inGrid->columnHeaderCells().value(0)->text(QAccessible::Name), columnHeader);
        QCOMPARE(table->indexOfChild(one), grid->columnCount() + grid->rowCount()
                                               + cell.y() * grid->columnCount() + cell.x());
        QStringList names;
        for (QAccessibleInterface *item : ::appointments(table))
            names << item->text(QAccessible::Name);
        QCOMPARE(names, appointments);
        // A screen reader's pointer finds the appointment over the cells.
        QAccessibleInterface *first = ::appointments(table).first();
        QCOMPARE(table->childAt(first->rect().center().x(), first->rect().center().y()), first);
    }

    // Catches an action that raises another event than the click, double click or right click
    // it stands for, one that raises it twice, and one that runs before the screen reader has
    // its answer. Press selects, Open selects and shows, the menu opens at the appointment and
    // leaves the selection.
    void actions_data()
    {
        QTest::addColumn<bool>("ofGantt");
        QTest::addColumn<QString>("action");
        for (bool ofGantt : {false, true})
            for (const QString &action : {QAccessibleActionInterface::pressAction(),
                                          QStringLiteral("Open"),
                                          QAccessibleActionInterface::showMenuAction()})
                QTest::addRow("%s: %s", ofGantt ? "Gantt" : "calendar", qPrintable(action))
                    << ofGantt << action;
    }
    void actions()
    {
        QFETCH(bool, ofGantt);
        QFETCH(QString, action);
        const bool menu = action == QAccessibleActionInterface::showMenuAction();
        const QString selected = menu ? "C" : "A";
        const int shown = action == "Open" ? 1 : 0;
        Views views;
        QWidget *view = views.view(ofGantt);
        view->setProperty("SelectedDate", "C");
        QSignalSpy show(view, SIGNAL(ShowDate(QString)));
        QAccessibleInterface *meeting = appointments(views.table(ofGantt)).at(ofGantt ? 1 : 0);
        QVERIFY(meeting->text(QAccessible::Name).contains("Teambesprechung"));
        meeting->actionInterface()->doAction(action);
        QCOMPARE(view->property("SelectedDate").toString(), "C");
        QTRY_COMPARE(view->property("SelectedDate").toString(), selected);
        QTest::qWait(10);
        QCOMPARE(show.size(), shown);
        if (shown)
            QCOMPARE(show.first().first().toString(), "A");
        QMenu *popUp = view->findChild<QMenu *>("mnuPopUp");
        QCOMPARE(popUp && popUp->isVisible(), menu);
        if (popUp)
            popUp->hide();
    }

    // Catches a view that traps Tab or cannot be reached by it, a walk out of order, Shift+Tab
    // that comes back in elsewhere than at the last appointment, and a walk that a screen
    // reader is not told of.
    void tabChain()
    {
        Views views({kMeeting, {"C", "Messe", kMonday + 2, kMonday + 2, true, false, ""}});
        g_focused.clear();
        setAccessibleEventObserver(recordFocus);
        QStringList walk;
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab,
                            Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Backtab}) {
            QTest::keyClick(QApplication::focusWidget(), key,
                            key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            walk << views.focus();
        }
        setAccessibleEventObserver(nullptr);
        QCOMPARE(walk, QStringList({"calendar ", "calendar A", "calendar C", "gantt ", "gantt A",
                                    "after", "gantt A", "gantt A", "calendar C"}));
        QVERIFY(g_focused.contains("Montag, 25. März 2024, 09:00 bis 10:30, Teambesprechung"));
        QVERIFY(g_focused.contains("Mittwoch, 27. März 2024, ganztägig, Messe"));
    }

    // Catches a focus frame that is missing on screen, drawn into the picture the view keeps
    // (paintToImage and printing read it), left behind when the keyboard goes, or shown to a
    // mouse user; and a move by keys that does not show before Enter, bypasses the change
    // question, asks more than once, raises DateChanged without a yes or with other times, or
    // keeps the new times after a no.
    void keyboardOnTheView_data()
    {
        QTest::addColumn<bool>("ofGantt");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<double>("newStart");
        QTest::newRow("calendar, yes") << false << true << kMonday + hm(9, 30);
        QTest::newRow("Gantt, no") << true << false << kMonday + 1 + hm(9, 0);
    }
    void keyboardOnTheView()
    {
        QFETCH(bool, ofGantt);
        QFETCH(bool, yes);
        QFETCH(double, newStart);
        Views views({kMeeting});
        QWidget *view = views.view(ofGantt);
        QWidget *surface = views.surface(ofGantt);
        const auto picture = [&] {
            const QImage image = ofGantt ? views.gantt->paintToImage(surface->size())
                                         : views.calendar->paintToImage(surface->size());
            return image.convertToFormat(QImage::Format_RGB32);
        };
        const auto shown = [surface] {
            return surface->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        surface->setFocus(Qt::TabFocusReason);
        QTest::keyClick(surface, Qt::Key_Tab);
        const QRect box = views.table(ofGantt)->focusChild()->rect();
        const QPoint frame = surface->mapFromGlobal(box.topLeft()) - QPoint(2, 2);
        QCOMPARE(QColor(shown().pixel(frame)), QColor(0x0B, 0x3D, 0x91));
        QCOMPARE(QColor(shown().pixel(frame - QPoint(1, 1))), QColor(Qt::white));
        QVERIFY(picture().pixel(frame) != shown().pixel(frame));
        views.before->setFocus();
        QCOMPARE(shown().pixel(frame), picture().pixel(frame));
        QTest::mouseClick(surface, Qt::LeftButton, {}, surface->mapFromGlobal(box.center()));
        QVERIFY(surface->hasFocus());
        QCOMPARE(shown().pixel(frame), picture().pixel(frame));

        view->setProperty("ConfirmChanges", true);
        view->setProperty("SelectedDate", "A");
        PromptAnswers answers(yes);
        QSignalSpy changed(view, SIGNAL(DateChanged(QString,double,double)));
        const Qt::KeyboardModifiers modifiers =
            ofGantt ? Qt::AltModifier | Qt::ShiftModifier : Qt::AltModifier;
        const Qt::Key key = ofGantt ? Qt::Key_Right : Qt::Key_Down;
        QTest::keyClick(surface, key, modifiers);
        // The change shows until Escape, also through a full paint.
        const QImage pending = surface->grab().toImage();
        QTest::keyClick(surface, Qt::Key_Escape);
        QVERIFY(surface->grab().toImage() != pending);
        QTest::keyClick(surface, key, modifiers);
        QCOMPARE(answers.prompts.size(), 0);
        QTest::keyClick(surface, Qt::Key_Return);
        QCOMPARE(answers.prompts.size(), 1);
        QCOMPARE(changed.size(), yes ? 1 : 0);
        if (yes)
            QCOMPARE(changed.first().at(1).toDouble(), newStart);
        else
            QVERIFY(surface->grab().toImage() != pending);
        QTest::keyClick(surface, Qt::Key_Return); // nothing waits any more: opens
        QCOMPARE(answers.prompts.size(), 1);
    }
};

DAYPLEX_TEST_MAIN(tst_AccessibleViews)
#include "tst_accessibleviews.moc"

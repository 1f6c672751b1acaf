// Both views as a screen reader and a keyboard user meet them: key sequences through the
// gesture logic without a window; then both views shown in one window between two fields, with
// the table and the appointments with their names and actions, Tab through the chain of
// widgets, a move by keys through the change question, and the focus frame.
#include "accessibility/accessibleview.h"
#include "calendar/calendargesture.h"
#include "calendar/hittest.h"
#include "gantt/ganttgestures.h"
#include "gantt/ganttinteraction.h"
#include "support/calendarweek.h"
#include "support/seriesanswers.h"
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

// The shared week (A Monday 09:00-10:30, B Tuesday 10:15-11:00, R read-only Wednesday, T all
// day Tuesday, the holiday Good Friday).
struct Week : CalendarWeek
{
    // What lies at a point a menu opens at: an appointment's key or a cell's time.
    QString at(QPoint p) const
    {
        HitRegion r;
        if (findHitRegion(scene.hits, p.x(), p.y(), termineintrag | tagestermin, r))
            return store.at(r.lngIdx).dsn;
        return findHitRegion(scene.hits, p.x(), p.y(), zeitzelle, r) ? when(r.datVon) : "?";
    }
    // One key: what the control is asked to do, and the state the next key reads.
    QString press(QKeyCombination key)
    {
        const GestureResult result = gesture.keyPress(view(), key.key(), key.keyboardModifiers());
        QStringList words;
        using A = GestureAction;
        for (const A &a : result.steps) {
            switch (a.kind) {
            case A::SelectKey:
                selected = store.firstSelectable(a.text);
                words << a.text;
                break;
            case A::SetSelection:
                selectionStart = a.from, selectionEnd = a.to;
                words << "cell " + when(a.from);
                break;
            case A::SetTimes:
                store.setTimes(a.value, a.from, a.to);
                words << when(a.from) + "-" + when(a.to).mid(4);
                break;
            case A::Drop: words << "drop " + when(a.from); break;
            case A::ConfirmResize: words << "resize"; break;
            case A::ShowSelected: words << "show"; break;
            case A::EnsureVisible: words << (words.isEmpty() ? "*" : words.takeLast() + '*'); break;
            case A::OpenContextMenu: words << "menu " + at(a.rect.topLeft()); break;
            case A::Repaint: paint(); break;
            default: break;
            }
        }
        if (result.passOn)
            words << "leave";
        return words.join(' ');
    }
};

// The resource view's Monday and Tuesday: the holiday row; Anna with A Monday 09:05-11:00 (also
// in Ben's row) and the fair M all day Tuesday; Ben with the read-only visit V.
struct Rows
{
    GanttModel model;
    GanttStyle style;
    GanttScene scene;
    GanttGestures gestures;

    Rows()
    {
        model.addMerkmal("Feiertage", GanttModel::holidayRowDsn());
        model.addMerkmal("Anna", "R1");
        model.addMerkmal("Ben", "R2");
        const auto add = [this](const char *dsn, Date from, Date to, bool allDay, bool readOnly,
                                const char *row) {
            model.addDate(dsn, dsn, from, to, allDay, 0, false, 0, readOnly, row, false, false);
        };
        add("V", kMonday + hm(8, 0), kMonday + hm(9, 0), false, true, "R2");
        add("A", kMonday + hm(9, 5), kMonday + hm(11, 0), false, false, "R2");
        add("A", kMonday + hm(9, 5), kMonday + hm(11, 0), false, false, "R1");
        add("M", kMonday + 1, kMonday + 1, true, false, "R1");
        GanttContent content{model, style};
        content.startDate = kMonday;
        content.endDate = kMonday + 1;
        scene = ganttScene(content, 0, 0, 900, 420, 13, 8);
    }
    QString press(QKeyCombination key)
    {
        const GanttActions a = gestures.keyPress({model, scene, 1, 420, true}, key.key(),
                                                 key.keyboardModifiers());
        const auto bar = [this] { return model.date(gestures.keyboardBar(model)); };
        const auto asked = [&a](GanttStep::Kind kind) -> const GanttStep * {
            for (const GanttStep &t : a.steps)
                if (t.kind == kind)
                    return &t;
            return nullptr;
        };
        for (const GanttStep &t : a.steps)
            applyModelStep(model, t);
        QStringList words;
        if (asked(GanttStep::Repaint))
            words << model.selectedDate + " row " + bar().merkmaldsn;
        if (asked(GanttStep::DrawFrame))
            words << "frame " + when(model.datMaus);
        if (asked(GanttStep::EraseFrame) && !asked(GanttStep::DrawFrame))
            words << "erase";
        if (const GanttStep *drop = asked(GanttStep::Drop))
            words << "move " + when(ganttMovedStart(drop->from, bar().von));
        if (asked(GanttStep::ShowSelected))
            words << "show";
        if (const GanttStep *menu = asked(GanttStep::Menu))
            words << "menu " + model.date(scene.entryAt(model, menu->rect.left, menu->rect.top)).dsn;
        if (a.passOn)
            words << "leave";
        return words.join(' ');
    }
};

// A writable meeting, a read-only visit, an all-day fair, and an early shift above the
// calendar's first time (08:00), so not on its screen.
QVector<Entry> weekData()
{
    return {kMeeting,
            {"B", "Kundentermin\r\nHansen KG", kMonday + 1 + hm(10, 0), kMonday + 1 + hm(11, 0),
             false, true, "R2"},
            {"C", "Messe", kMonday + 2, kMonday + 2, true, false, "R1"},
            {"D", "Frühdienst", kMonday + 3 + hm(6, 0), kMonday + 3 + hm(7, 0), false, false,
             "R2"}};
}

// Both views between the fields "before" and "after", filled with `data` the way a host answers.
struct Views
{
    explicit Views(const QVector<Entry> &data = weekData())
    {
        before->setObjectName("before");
        after->setObjectName("after");
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *w : std::initializer_list<QWidget *>{before, calendar, gantt, after})
            layout->addWidget(w);
        double last = kMonday + 6;
        calendar->SetDisplayedRange(kMonday, &last, false, false);
        gantt->SetDisplayedRange(kMonday, &last, false, false);
        calendar->SetFilledRange(kMonday, last);
        gantt->SetFilledRange(kMonday, last);
        gantt->AddMerkmal("Anna Berg", "R1");
        gantt->AddMerkmal("Ben Koch", "R2");
        for (const Entry &e : data) {
            calendar->AddDate(e.dsn, e.text, e.start, e.end, e.allDay, 0, false, 0xFFFFFF,
                              e.readOnly);
            if (!e.row.isEmpty())
                gantt->AddDate(e.dsn, e.text, e.start, e.end, e.allDay, 0, false, 0xFFFFFF,
                               e.readOnly, e.row, false);
        }
        window.resize(900, 1180);
        window.show();
        window.activateWindow();
        before->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    QWidget *view(bool ofGantt) const { return ofGantt ? static_cast<QWidget *>(gantt) : calendar; }
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

} // namespace

class tst_AccessibleViews : public QObject
{
    Q_OBJECT

private slots:
    // The calendar catches a Tab order other than time order (with the all-day entry first on
    // its day), a walk that visits what a click cannot select or traps the keyboard at either
    // end, Alt with an arrow that asks at every step or moves by another step, a change that
    // passes its start, leaves the shown days or is confirmed by the wrong path, an Escape that
    // keeps it, Enter or the menu key acting on something else than where the keyboard is, and
    // Alt with an arrow that no longer moves the time selection when nothing can be moved.
    // The resource view catches a walk that visits a key once per row or visits the read-only
    // visit, a move by another step than a drag's (ten minutes, or a day for a start at
    // midnight), a move past the shown days, an Escape whose frame stays, and a menu away from
    // the bar.
    void keys_data()
    {
        QTest::addColumn<bool>("ofGantt");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("log");
        // "*": the view is asked to bring it into sight.
        QTest::newRow("calendar: Tab walks in time order and leaves after the last")
            << false << "Tab Tab Tab Tab" << "A*|T|B*|leave";
        QTest::newRow("calendar: Shift+Tab starts at the last and leaves before the first")
            << false << "Shift+Tab Shift+Tab Shift+Tab Shift+Tab" << "B*|T|A*|leave";
        QTest::newRow("calendar: steps add up into one drop")
            << false << "Tab Alt+Down Alt+Down Alt+Right Return"
            << "A*|Mon 09:30-11:00*|Mon 10:00-11:30*|Tue 10:00-11:30*|drop Tue 10:00";
        QTest::newRow("calendar: a new end is confirmed as a resize")
            << false << "Tab Alt+Shift+Down Alt+Down Return"
            << "A*|Mon 09:00-11:00*|Mon 09:30-11:30*|resize";
        QTest::newRow("calendar: the end stops before the start")
            << false << "Tab Alt+Shift+Up Alt+Shift+Up Alt+Shift+Up"
            << "A*|Mon 09:00-10:00*|Mon 09:00-09:30*|";
        QTest::newRow("calendar: not off the shown days")
            << false << "Tab Alt+Left Return" << "A*||drop Mon 09:00";
        QTest::newRow("calendar: Escape puts the times back, then is the parent's")
            << false << "Tab Alt+Down Escape Escape" << "A*|Mon 09:30-11:00*|Mon 09:00-10:30|leave";
        QTest::newRow("calendar: an all-day entry moves by days only")
            << false << "Tab Tab Alt+Down Alt+Right Return"
            << "A*|T||Wed 00:00-00:00|drop Wed 00:00";
        QTest::newRow("calendar: Enter opens where Tab went, not where an arrow went")
            << false << "Tab Return Down Return" << "A*|show|cell Mon 10:30|leave";
        QTest::newRow("calendar: the menu key at the appointment, Shift+F10 at the cell")
            << false << "Tab Menu Down Shift+F10" << "A*|menu A|cell Mon 10:30|menu Mon 10:30";
        QTest::newRow("calendar: without a writable selection Alt moves the time selection")
            << false << "Alt+Down Alt+Up" << "cell Mon 10:30|cell Mon 10:00";
        QTest::newRow("Gantt: Tab visits each key once, in its highest row")
            << true << "Tab Tab Tab Shift+Tab" << "A row R1|M row R1|leave|A row R1";
        QTest::newRow("Gantt: ten minutes a step, one question")
            << true << "Tab Alt+Right Alt+Right Return"
            << "A row R1|frame Mon 09:15|frame Mon 09:25|erase move Mon 09:25";
        QTest::newRow("Gantt: Alt+Shift moves by a day, a midnight start always")
            << true << "Tab Alt+Shift+Right Tab Alt+Left Return"
            << "A row R1|frame Tue 09:05|M row R1 erase|frame Mon 00:00|erase move Mon 00:00";
        QTest::newRow("Gantt: not past the shown days")
            << true << "Tab Tab Alt+Right" << "A row R1|M row R1|";
        QTest::newRow("Gantt: Escape ends the move, Enter then opens")
            << true << "Tab Alt+Left Escape Return" << "A row R1|frame Mon 08:55|erase|show";
        QTest::newRow("Gantt: the menu key at the bar") << true << "Tab Menu" << "A row R1|menu A";
        QTest::newRow("Gantt: nothing to move or open is the parent's")
            << true << "Alt+Right Return" << "leave|leave";
    }
    void keys()
    {
        QFETCH(bool, ofGantt);
        QFETCH(QString, keys);
        QFETCH(QString, log);
        Week week;
        week.selectionStart = week.selectionEnd = kMonday + hm(10, 0);
        Rows rows;
        // What each key did, joined by '|'.
        QStringList done;
        for (const QString &name : keys.split(' ')) {
            const QKeyCombination key = QKeySequence::fromString(name)[0];
            done << (ofGantt ? rows.press(key) : week.press(key));
        }
        QCOMPARE(done.join('|'), log);
    }

    // Catches a view that is one blank element, a table of the wrong shape or with headers
    // and cells that name the wrong day or time, appointments in a reading order other than by
    // day and time, and appointments listed that are scrolled out of sight.
    void tree_data()
    {
        QTest::addColumn<bool>("ofGantt");
        QTest::addColumn<QPoint>("cell"); // column, row
        // Its name, columns x rows, then the cell's name and its row and column headers.
        QTest::addColumn<QStringList>("table");
        QTest::addColumn<QStringList>("appointments");
        QTest::newRow("calendar: band and 48 half hours")
            << false << QPoint(1, 21)
            << QStringList{"Kalender", "7x49", "Dienstag, 26. März 2024, 10:00", "10:00",
                           "Dienstag, 26. März 2024"}
            << QStringList{"Montag, 25. März 2024, 09:00 bis 10:30, Teambesprechung",
                           "Dienstag, 26. März 2024, 10:00 bis 11:00, Kundentermin Hansen KG, "
                           "schreibgeschützt",
                           "Mittwoch, 27. März 2024, ganztägig, Messe",
                           "Freitag, 29. März 2024, ganztägig, Karfreitag, Feiertag"};
        QTest::newRow("Gantt: holiday row and two participants")
            << true << QPoint(2, 1)
            << QStringList{"Ressourcenansicht", "7x3", "Anna Berg, Mittwoch, 27. März 2024",
                           "Anna Berg", "Mittwoch, 27. März 2024"}
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
        QFETCH(QPoint, cell);
        QFETCH(QStringList, table);
        QFETCH(QStringList, appointments);
        Views views;
        QAccessibleInterface *view = views.table(ofGantt);
        QVERIFY(view && view->isValid());
        QCOMPARE(view->role(), QAccessible::Table);
        QCOMPARE(view->text(QAccessible::Description),
                 "Montag, 25. März 2024 bis Sonntag, 31. März 2024");
        QAccessibleTableInterface *grid = view->tableInterface();
        QAccessibleInterface *one = grid->cellAt(cell.y(), cell.x());
        QAccessibleTableCellInterface *inGrid = one->tableCellInterface();
        QCOMPARE(QStringList({view->text(QAccessible::Name),
                              QString("%1x%2").arg(grid->columnCount()).arg(grid->rowCount()),
                              one->text(QAccessible::Name),
                              inGrid->rowHeaderCells().value(0)->text(QAccessible::Name),
                              inGrid->columnHeaderCells().value(0)->text(QAccessible::Name)}),
                 table);
        QCOMPARE(view->indexOfChild(one), grid->columnCount() + grid->rowCount()
                                              + cell.y() * grid->columnCount() + cell.x());
        QStringList names;
        for (QAccessibleInterface *item : ::appointments(view))
            names << item->text(QAccessible::Name);
        QCOMPARE(names, appointments);
        views.view(ofGantt)->setAccessibleName("Plan der Abteilung"); // the host's name wins
        QCOMPARE(view->text(QAccessible::Name), "Plan der Abteilung");
        // A screen reader's pointer finds the appointment over the cells.
        QAccessibleInterface *first = ::appointments(view).first();
        QCOMPARE(view->childAt(first->rect().center().x(), first->rect().center().y()), first);
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
        static QStringList told; // names that took the focus, and the other events' numbers
        setAccessibleEventObserver([](QAccessibleEvent *event) {
            const QAccessibleInterface *item = event->accessibleInterface();
            told << (event->type() == QAccessible::Focus && item ? item->text(QAccessible::Name) : QString::number(event->type()));
        });
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
        for (const QString &event : {QString("Montag, 25. März 2024, 09:00 bis 10:30, Teambesprechung"),
                                     QString("Mittwoch, 27. März 2024, ganztägig, Messe"), QString::number(QAccessible::SelectionAdd)})
            QVERIFY2(told.contains(event), qPrintable(event));
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
        static int renamed = 0; // a moving appointment has new times in its name
        setAccessibleEventObserver([](QAccessibleEvent *event) { renamed += event->type() == QAccessible::NameChanged; });
        QTest::keyClick(surface, key, modifiers);
        // The change shows until Escape, also through a full paint.
        const QImage pending = surface->grab().toImage();
        QTest::keyClick(surface, Qt::Key_Escape);
        QVERIFY(surface->grab().toImage() != pending);
        QTest::keyClick(surface, key, modifiers);
        QCOMPARE(answers.prompts.size(), 0);
        QTest::keyClick(surface, Qt::Key_Return);
        setAccessibleEventObserver(nullptr);
        QVERIFY(renamed > 0);
        QCOMPARE(answers.prompts.size(), 1);
        QCOMPARE(changed.size(), yes ? 1 : 0);
        if (yes)
            QCOMPARE(changed.first().at(1).toDouble(), newStart);
        else
            QVERIFY(surface->grab().toImage() != pending);
        QTest::keyClick(surface, Qt::Key_Return); // nothing waits any more: opens
        QCOMPARE(answers.prompts.size(), 1);
    }
    // Catches a screen reader's name without the details the host told, a move by the keys of
    // an occurrence of a series that skips the scope question or asks the classic one, raises
    // DateChanged or another scope or time, and a new place kept after "Abbrechen" or Escape.
    void seriesByKeys_data()
    {
        QTest::addColumn<bool>("ofGantt");
        QTest::addColumn<QString>("button"); // empty: Escape
        QTest::addColumn<int>("scope");      // -1: cancelled
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("newStart");
        const QString calendar = "Montag, 25. März 2024, 09:00 bis 10:30, Teambesprechung, "
                                 "Serientermin, Teilnehmer: Anna Berg, Ben Koch";
        const QString gantt = "Montag, 25. März 2024, 09:00 bis 10:30, Anna Berg: "
                              "Teambesprechung, Serientermin, Teilnehmer: Anna Berg, Ben Koch";
        QTest::newRow("calendar, only this one") << false << "Nur diesen Termin"
            << int(SeriesScope::OnlyThis) << calendar << kMonday + hm(9, 30);
        QTest::newRow("calendar, Abbrechen") << false << "Abbrechen" << -1 << calendar << 0.0;
        QTest::newRow("Gantt, the whole series") << true << "Alle Termine der Serie"
            << int(SeriesScope::AllOfSeries) << gantt << kMonday + 1 + hm(9, 0);
        QTest::newRow("Gantt, Escape") << true << "" << -1 << gantt << 0.0;
    }
    void seriesByKeys()
    {
        QFETCH(bool, ofGantt);
        QFETCH(QString, button);
        QFETCH(int, scope);
        QFETCH(QString, name);
        QFETCH(double, newStart);
        Views views({kMeeting});
        const AppointmentDetails details{true, {"Anna Berg", "Ben Koch"}};
        views.calendar->setAppointmentDetails("A", details);
        views.gantt->setAppointmentDetails("A", details);
        views.calendar->Repaint();
        views.gantt->Repaint();
        QWidget *view = views.view(ofGantt);
        QWidget *surface = views.surface(ofGantt);
        const auto nameOfA = [&] {
            for (QAccessibleInterface *item : ::appointments(views.table(ofGantt)))
                if (item->text(QAccessible::Name).contains("Teambesprechung"))
                    return item->text(QAccessible::Name);
            return QString();
        };
        QCOMPARE(nameOfA(), name);

        PromptAnswers classic;
        SeriesAnswers answers(button);
        QSignalSpy changed(view, SIGNAL(DateChanged(QString,double,double)));
        QSignalSpy seriesChanged(view, SIGNAL(seriesDateChanged(QString,Dayplex::SeriesScope,double,double)));
        surface->setFocus(Qt::TabFocusReason);
        view->setProperty("SelectedDate", "A");
        QTest::keyClick(surface, ofGantt ? Qt::Key_Right : Qt::Key_Down,
                        ofGantt ? Qt::AltModifier | Qt::ShiftModifier : Qt::AltModifier);
        QTest::keyClick(surface, Qt::Key_Return);
        QCOMPARE(answers.texts.size(), 1);
        QCOMPARE(classic.prompts.size(), 0);
        QCOMPARE(changed.size(), 0);
        QCOMPARE(seriesChanged.size(), scope < 0 ? 0 : 1);
        // Back at its place after a cancel, the name tells the old times again.
        QCOMPARE(nameOfA() == name, scope < 0);
        if (scope >= 0)
            QCOMPARE(seriesChanged.first().mid(0, 3),
                 (QVariantList{"A", QVariant::fromValue(SeriesScope(scope)), newStart}));
    }
};

DAYPLEX_TEST_MAIN(tst_AccessibleViews)
#include "tst_accessibleviews.moc"

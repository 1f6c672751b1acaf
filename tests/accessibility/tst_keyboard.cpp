// Both views by keyboard alone: key sequences through the gesture logic without a window. The
// wiring in shown widgets is in the accessible views' suite.
#include "calendar/calendargesture.h"
#include "gantt/ganttgestures.h"
#include "gantt/ganttinteraction.h"
#include "calendar/hittest.h"
#include "shared/toolbox.h"
#include "support/calendarweek.h"
#include "support/testing.h"
#include "support/testmain.h"

#include <QtTest>

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMonday = day(2024, 3, 25);

QString when(Date d)
{
    return toQDateTime(d).toString("ddd hh:mm");
}

// Runs "Tab Alt+Down Return" key by key.
template<typename Press>
QStringList pressEach(const QString &keys, Press press)
{
    QStringList log;
    for (const QString &name : keys.split(' ', Qt::SkipEmptyParts)) {
        const QKeyCombination key = QKeySequence::fromString(name)[0];
        log << press(int(key.key()), key.keyboardModifiers());
    }
    return log;
}

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
    QString press(int key, Qt::KeyboardModifiers modifiers)
    {
        const GestureResult result = gesture.keyPress(view(), key, modifiers);
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
        model.addDate("V", "Besuch", kMonday + hm(8, 0), kMonday + hm(9, 0), false, 0, false, 0, true, "R2", false, false);
        model.addDate("A", "Besprechung", kMonday + hm(9, 5), kMonday + hm(11, 0), false, 0, false, 0, false, "R2", false, false);
        model.addDate("A", "Besprechung", kMonday + hm(9, 5), kMonday + hm(11, 0), false, 0, false, 0, false, "R1", false, false);
        model.addDate("M", "Messe", kMonday + 1, kMonday + 1, true, 0, false, 0, false, "R1", false, false);
        GanttContent content{model, style};
        content.startDate = kMonday;
        content.endDate = kMonday + 1;
        scene = ganttScene(content, 0, 0, 900, 420, 13, 8);
    }
    QString press(int key, Qt::KeyboardModifiers modifiers)
    {
        const GanttAction a = gestures.keyPress({model, scene, 1, 420, true}, key, modifiers);
        QStringList words;
        if (a.repaint)
            words << model.selectedDate + " row " + model.date(gestures.keyboardBar(model)).merkmaldsn;
        if (a.frame == GanttAction::Frame::Draw)
            words << "frame " + when(model.datMaus);
        if (a.frame == GanttAction::Frame::Erase)
            words << "erase";
        if (a.moveTo > 0)
            words << "move " + when(ganttMovedStart(a.moveTo, model.date(gestures.keyboardBar(model)).von));
        if (a.showSelected)
            words << "show";
        if (a.menuAt)
            words << "menu " + model.date(scene.entryAt(model, a.menuAt->x(), a.menuAt->y())).dsn;
        if (a.passOn)
            words << "leave";
        return words.join(' ');
    }
};

} // namespace

class tst_Keyboard : public QObject
{
    Q_OBJECT

private slots:
    // Catches a Tab order other than time order (with the all-day entry first on its day), a
    // walk that visits what a click cannot select or traps the keyboard at either end, Alt with
    // an arrow that asks at every step or moves by another step, a change that passes its
    // start, leaves the shown days or is confirmed by the wrong path, an Escape that keeps it,
    // Enter or the menu key acting on something else than where the keyboard is, and Alt with
    // an arrow that no longer moves the time selection when nothing can be moved.
    void calendarKeys_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("log");
        QTest::newRow("Tab walks in time order and leaves after the last")
            << "" << "Tab Tab Tab Tab" << "A|T|B|leave";
        QTest::newRow("Shift+Tab starts at the last and leaves before the first")
            << "" << "Shift+Tab Shift+Tab Shift+Tab Shift+Tab" << "B|T|A|leave";
        QTest::newRow("steps add up into one drop")
            << "A" << "Alt+Down Alt+Down Alt+Right Return"
            << "Mon 09:30-11:00|Mon 10:00-11:30|Tue 10:00-11:30|drop Tue 10:00";
        QTest::newRow("a new end is confirmed as a resize")
            << "A" << "Alt+Shift+Down Alt+Down Return" << "Mon 09:00-11:00|Mon 09:30-11:30|resize";
        QTest::newRow("the end stops before the start")
            << "A" << "Alt+Shift+Up Alt+Shift+Up Alt+Shift+Up" << "Mon 09:00-10:00|Mon 09:00-09:30|";
        QTest::newRow("not off the shown days") << "A" << "Alt+Left Return" << "|drop Mon 09:00";
        QTest::newRow("Escape puts the times back, then is the parent's")
            << "A" << "Alt+Down Escape Escape" << "Mon 09:30-11:00|Mon 09:00-10:30|leave";
        QTest::newRow("an all-day entry moves by days only")
            << "T" << "Alt+Down Alt+Right Return" << "|Wed 00:00-00:00|drop Wed 00:00";
        QTest::newRow("Enter opens where Tab went, not where an arrow went")
            << "" << "Tab Return Down Return" << "A|show|cell Mon 10:30|leave";
        QTest::newRow("the menu key at the appointment, Shift+F10 at the cell")
            << "" << "Tab Menu Down Shift+F10" << "A|menu A|cell Mon 10:30|menu Mon 10:30";
        QTest::newRow("without a writable selection Alt moves the time selection")
            << "" << "Alt+Down Alt+Up" << "cell Mon 10:30|cell Mon 10:00";
    }
    void calendarKeys()
    {
        QFETCH(QString, selected);
        QFETCH(QString, keys);
        QFETCH(QString, log);
        Week week;
        week.selected = week.store.firstSelectable(selected);
        week.gesture.followSelection();
        week.selectionStart = week.selectionEnd = kMonday + hm(10, 0);
        const QStringList words = pressEach(keys, [&](int key, Qt::KeyboardModifiers m) { return week.press(key, m); });
        QCOMPARE(words.join('|'), log);
    }

    // Catches a walk that visits a key once per row or visits the read-only visit, a move by
    // another step than a drag's (ten minutes, or a day for a start at midnight), a move past
    // the shown days, an Escape whose frame stays, and a menu away from the bar.
    void ganttKeys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("log");
        QTest::newRow("Tab visits each key once, in its highest row")
            << "Tab Tab Tab Shift+Tab" << "A row R1|M row R1|leave|A row R1";
        QTest::newRow("ten minutes a step, one question")
            << "Tab Alt+Right Alt+Right Return" << "A row R1|frame Mon 09:15|frame Mon 09:25|erase move Mon 09:25";
        QTest::newRow("Alt+Shift moves by a day, a midnight start always")
            << "Tab Alt+Shift+Right Tab Alt+Left Return"
            << "A row R1|frame Tue 09:05|M row R1 erase|frame Mon 00:00|erase move Mon 00:00";
        QTest::newRow("not past the shown days") << "Tab Tab Alt+Right" << "A row R1|M row R1|";
        QTest::newRow("Escape ends the move, Enter then opens")
            << "Tab Alt+Left Escape Return" << "A row R1|frame Mon 08:55|erase|show";
        QTest::newRow("the menu key at the bar") << "Tab Menu" << "A row R1|menu A";
        QTest::newRow("nothing to move or open is the parent's") << "Alt+Right Return" << "leave|leave";
    }
    void ganttKeys()
    {
        QFETCH(QString, keys);
        QFETCH(QString, log);
        Rows rows;
        const QStringList words = pressEach(keys, [&](int key, Qt::KeyboardModifiers m) { return rows.press(key, m); });
        QCOMPARE(words.join('|'), log);
    }
};

DAYPLEX_TEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"

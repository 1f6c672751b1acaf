// The calendar's mouse and keyboard state machine without a window: scripts of events on a
// computed week, and the actions the control is asked to carry out.
#include <dayplex/kalenderobjekttyp.h>
#include "support/calendarweek.h"

#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMonday = day(2024, 3, 25);

// The shared week, with a log of what the control is asked to do.
struct Week : CalendarWeek
{
    QStringList log;

    static QString when(Date d)
    {
        return d == 0 ? QStringLiteral("0") : Testing::when(d);
    }
    QString key(qint32 index) const { return index > 0 ? store.at(index).dsn : QStringLiteral("-"); }

    // Logs an action and does what the control does with the state the next event reads.
    void carry(const GestureAction &a)
    {
        using A = GestureAction;
        switch (a.kind) {
        case A::Repaint: log << "repaint"; paint(); break;
        case A::UpdateLater: log << "later"; break;
        case A::SetSelection:
            log << "select " + when(a.from) + "-" + when(a.to);
            selectionStart = a.from, selectionEnd = a.to;
            break;
        case A::SetSelectionStart: log << "start " + when(a.from); break;
        case A::SetSelectionEnd: log << "end " + when(a.from); break;
        case A::SelectIndex: log << "index " + key(a.value); selected = a.value; break;
        case A::SelectKey: log << "key " + a.text; selected = store.firstSelectable(a.text); break;
        case A::SetTimes:
            log << "times " + key(a.value) + " " + when(a.from) + "-" + when(a.to);
            store.setTimes(a.value, a.from, a.to);
            break;
        case A::RestoreTimes: log << "restore"; break;
        case A::Ghost:
            log << QStringLiteral("ghost %1,%2,%3,%4").arg(a.rect.x()).arg(a.rect.y()).arg(a.rect.width()).arg(a.rect.height());
            break;
        case A::Cursor: log << "cursor " + (a.text.isEmpty() ? QStringLiteral("-") : a.text); break;
        case A::Tooltip: log << "tooltip"; break;
        case A::OpenContextMenu: log << "menu"; break;
        case A::OpenDatePicker: log << "picker"; break;
        case A::SetDayInfoHeight: log << "band " + QString::number(a.value); break;
        case A::Drop: log << QStringLiteral("drop %1 %2").arg(when(a.from)).arg(a.value); break;
        case A::ConfirmResize: log << "confirm " + key(a.value); break;
        case A::ShowSelected: log << "show"; break;
        case A::StartAutoScroll: log << (a.from < 0 ? "scroll up" : "scroll down"); break;
        case A::StopAutoScroll: log << "stop"; break;
        case A::SetFirstTime: log << "first " + toQDateTime(a.from).toString("hh:mm"); break;
        case A::EnsureSelectionVisible: log << "ensure"; break;
        case A::EnsureVisible: log << "ensure " + when(a.from); break;
        case A::PressAgain: log << "again"; break;
        case A::NewAppointment:
            log << "new " + when(a.from) + "-" + when(a.to) + (a.value ? " all day" : "");
            break;
        case A::RequestDelete: log << "delete " + a.text; break;
        }
    }
    void carry(const GestureResult &result)
    {
        for (const GestureAction &a : result.steps)
            carry(a);
        for (const GestureAction &a : result.finally)
            carry(a);
    }

    // A region as the scripts name it: "cell Tue 14:00", "band Wed", "head Wed", "box A", "bar T",
    // "north A", "south B" or "splitter".
    QString nameOf(const HitRegion &r) const
    {
        const QString dsn = r.lngIdx > 0 ? store.at(r.lngIdx).dsn : QString();
        switch (r.lngTyp) {
        case zeitzelle: return "cell " + when(r.datVon);
        case tageszelle: return "band " + when(r.datVon).left(3);
        case tageszellekopf: return "head " + when(r.datVon).left(3);
        case termineintrag: return "box " + dsn;
        case tagestermin: return "bar " + dsn;
        case sizenorth: return "north " + dsn;
        case sizesouth: return "south " + dsn;
        case splitter: return QStringLiteral("splitter");
        }
        return QString();
    }
    // The centre of a named region, or "@x,y"; either may be followed by an offset "+dx+dy".
    QPointF at(const QString &spot) const
    {
        const QRegularExpressionMatch m =
            QRegularExpression("^(@(\\d+),(\\d+)|.*?)(?: ([+-]\\d+)([+-]\\d+))?$").match(spot);
        const QPointF offset(m.captured(4).toInt(), m.captured(5).toInt());
        if (m.capturedLength(2) > 0)
            return QPointF(m.captured(2).toInt(), m.captured(3).toInt()) + offset;
        for (const HitRegion &r : scene.hits.all())
            if (nameOf(r) == m.captured(1))
                return QPointF(r.lngLeft + r.lngWidth / 2, r.lngTop + r.lngHeight / 2) + offset;
        qFatal("no region for %s", qPrintable(spot));
    }

    // Runs a script of events separated by ";" and returns the actions of the last one.
    QString run(const QString &script)
    {
        for (const QString &step : script.split(QLatin1Char(';'))) {
            log.clear();
            const QString event = step.trimmed().section(QLatin1Char(' '), 0, 0);
            const QString spot = step.trimmed().section(QLatin1Char(' '), 1);
            if (event == "press" || event == "right") {
                const Qt::MouseButton button = event == "right" ? Qt::RightButton : Qt::LeftButton;
                carry(gesture.press(view(), button, false, at(spot).x(), at(spot).y()));
                if (log.endsWith("again"))
                    carry(gesture.press(view(), button, false, at(spot).x(), at(spot).y()));
            } else if (event == "drag" || event == "hover") {
                carry(gesture.move(view(), event == "drag" ? Qt::LeftButton : Qt::NoButton, at(spot).x(),
                                   at(spot).y()));
            } else if (event == "release" || event == "lift") {
                // "lift": another button is still held.
                carry(gesture.release(view(), event == "lift", at(spot).x(), at(spot).y()));
            } else if (event == "esc") {
                carry(gesture.escape());
            } else if (event == "key") {
                carry(gesture.key(view(), spot.toInt()));
            } else if (event == "tick") {
                carry(gesture.autoScrollTick(view()));
            } else if (event == "double") {
                carry(spot.isEmpty() ? gesture.doubleClick()
                                     : gesture.doubleClick(view(), at(spot).x(), at(spot).y()));
            } else if (event == "del") {
                carry(gesture.keyPress(view(), Qt::Key_Delete, Qt::NoModifier));
            } else if (event == "modern") {
                modern = true;
                paint();
            }
        }
        return log.join(QStringLiteral("; "));
    }
};

} // namespace

class tst_CalendarGesture : public QObject
{
    Q_OBJECT

private slots:
    // Catches a wrong answer to a gesture: selecting that grows upwards, a drag that starts too
    // early or on a read-only entry, a drop or resize that lands in the wrong slot, a splitter
    // that gives the band a wrong height, a click that selects the wrong thing, a drag that
    // Escape or a lost release does not undo, a hover with the wrong pointer, arrow keys that
    // leave the day, an auto-scroll that starts where there is nothing more to show.
    void script_data()
    {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("actions"); // of the last event
        QTest::addColumn<int>("state");       // afterwards

        // Selecting.
        QTest::newRow("drag up keeps the anchor") << "press cell Mon 14:00; drag cell Mon 13:00" << "stop; select Mon 14:00-Mon 14:00; repaint" << 4;
        QTest::newRow("band cell: the whole day") << "press band Mon" << "select Mon 00:00-Mon 23:30; index -; repaint" << 4;
        QTest::newRow("the release keeps the selection") << "press cell Mon 14:00; release cell Mon 15:00" << "stop; cursor -" << 0;

        // Clicks.
        QTest::newRow("click on a box") << "press box A; release box A" << "key A; repaint; stop; cursor -" << 0;
        QTest::newRow("click on a day header") << "press head Wed; release head Wed" << "picker; stop; cursor -" << 0;
        QTest::newRow("right button opens the menu") << "right box A" << "menu" << 0;
        QTest::newRow("double click") << "double" << "show" << 0;
        QTest::newRow("double click on free time") << "press cell Mon 14:00; release cell Mon 14:00; double cell Mon 14:00"
                                                   << "show; new Mon 14:00-Mon 14:30" << 0;
        QTest::newRow("double click inside the selection")
            << "press cell Mon 14:00; drag cell Mon 15:00; release cell Mon 15:00; press cell Mon 14:30; release cell Mon 14:30; double cell Mon 14:30"
            << "show; select Mon 14:00-Mon 15:00; repaint; new Mon 14:00-Mon 15:30" << 0;
        QTest::newRow("double click on a band cell") << "press band Wed; release band Wed; double band Wed"
                                                     << "show; new Wed 00:00-Thu 00:00 all day" << 0;
        QTest::newRow("double click on a box opens it") << "press box A; release box A; double box A" << "show" << 0;
        QTest::newRow("Delete asks for the selected") << "press box A; release box A; del" << "delete A" << 0;
        QTest::newRow("Delete without a selection") << "press cell Mon 14:00; del" << "" << 4;

        // Drag start and move.
        QTest::newRow("8 pixels are a click") << "press box A; drag box A +5+3" << "" << 0;
        QTest::newRow("9 pixels start the drag") << "press box A; drag box A +5+4" << "index A; repaint; cursor curMove" << 2;
        QTest::newRow("an all-day bar") << "press bar T; drag bar T +9+0" << "index T; repaint; cursor curMove" << 3;
        QTest::newRow("read-only") << "press box R; drag box R +9+0" << "" << 0;
        QTest::newRow("landing place shows the duration") << "press box A; drag box A +9+0; drag cell Thu 14:00"
                                                          << "stop; start Thu 14:00; end Thu 15:30; repaint" << 2;
        QTest::newRow("drop on a time cell") << "press box A; drag box A +9+0; release cell Thu 14:00"
                                             << "select 0-0; drop Thu 14:00 1; stop; cursor -; later" << 0;

        // Resizing from the time bar.
        QTest::newRow("end over 11:00 ends at 11:30") << "press south B; drag cell Tue 11:00"
                                                      << "stop; times B Tue 10:15-Tue 11:30; start Tue 10:15; end Tue 11:30; repaint" << 6;
        QTest::newRow("start over 08:00") << "press north A; drag cell Mon 08:00"
                                          << "stop; times A Mon 08:00-Mon 10:30; start Mon 08:00; end Mon 10:30; repaint" << 5;
        QTest::newRow("release asks") << "press south B; release south B" << "select 0-0; confirm B; stop; cursor -; later" << 0;
        QTest::newRow("start past the end: ends where it starts") << "press north A; drag cell Tue 09:00"
            << "stop; times A Tue 09:00-Tue 09:00; start Tue 09:00; end Tue 09:00; repaint" << 5;
        QTest::newRow("end above the start") << "press south B; drag cell Mon 09:00"
            << "stop; times B Tue 10:15-Tue 10:15; start Tue 10:15; end Tue 10:15; repaint" << 6;

        // The modern presentation's box edges act as the time bar's zones; classic boxes only move.
        QTest::newRow("modern: hover on the top edge") << "modern; hover box A +0-34" << "tooltip; cursor 7" << 0;
        QTest::newRow("modern: the top edge resizes the start") << "modern; press box A +0-34; drag cell Mon 08:00"
            << "stop; times A Mon 08:00-Mon 10:30; start Mon 08:00; end Mon 10:30; repaint" << 5;
        QTest::newRow("modern: the bottom edge resizes the end") << "modern; press box B +0+22; drag cell Tue 11:30"
            << "stop; times B Tue 10:15-Tue 12:00; start Tue 10:15; end Tue 12:00; repaint" << 6;
        QTest::newRow("modern: inside the edges a box moves") << "modern; press box A +0-28" << "" << 0;
        QTest::newRow("modern: read-only edge") << "modern; hover box R +0-22" << "tooltip; cursor -" << 0;
        QTest::newRow("classic: no edge") << "press box A +0-34" << "" << 0;
        QTest::newRow("classic: hover on the edge") << "hover box A +0-34" << "tooltip; cursor -" << 0;

        // The splitter: rows of 24 pixels below a header of 24 on a surface of 700.
        QTest::newRow("splitter ghost") << "press splitter; drag @300,150" << "ghost 0,150,1000,5" << 1;
        QTest::newRow("splitter at 124: four rows") << "press splitter; release @300,124" << "ghost 0,0,0,0; band 4; repaint; stop; cursor -" << 0;
        QTest::newRow("splitter below the surface: what fits") << "press splitter; release @300,2000" << "ghost 0,0,0,0; band 27; repaint; stop; cursor -" << 0;

        // Escape and a lost release.
        QTest::newRow("Escape undoes a move") << "press box A; drag box A +9+0; esc" << "stop; cursor -; restore; select 0-0; repaint" << 0;
        QTest::newRow("after Escape a button still held is ignored")
            << "press box A; drag box A +9+0; esc; lift cell Thu 14:00; drag box B +9+0" << "" << 0;
        QTest::newRow("after Escape the held button is ignored") << "press box A; drag box A +9+0; esc; drag cell Thu 14:00; release cell Thu 14:00" << "" << 0;
        QTest::newRow("a press ends a drag whose release was lost") << "press box A; drag box A +9+0; press cell Mon 14:00"
            << "stop; cursor -; restore; select 0-0; repaint; again; select Mon 14:00-Mon 14:00; index -; repaint" << 4;

        // Hovering.
        QTest::newRow("hover on the end zone") << "hover south B" << "tooltip; cursor SizeS" << 0;

        // Keys.
        QTest::newRow("first arrow places the selection") << "key 40" << "select Mon 00:00-Mon 00:00; repaint" << 0;
        QTest::newRow("modern: first arrow at the first row") << "modern; key 40" << "select Mon 08:00-Mon 08:00; repaint" << 0;
        QTest::newRow("down a slot") << "press cell Mon 14:00; key 40" << "select Mon 14:30-Mon 14:30; ensure; repaint" << 4;
        QTest::newRow("up at midnight stays") << "key 40; key 38" << "ensure; repaint" << 0;

        QTest::newRow("selecting below the grid") << "press cell Mon 14:00; drag @100,690" << "scroll down; select Mon 14:00-Mon 20:30; repaint" << 4;
        QTest::newRow("a tick up") << "press cell Mon 14:00; drag @300,30; tick" << "first 07:30; repaint" << 4;
        QTest::newRow("a tick down") << "press cell Mon 14:00; drag @300,690; tick" << "first 08:30; repaint" << 4;
    }
    void script()
    {
        QFETCH(QString, events);
        Week week;
        QTEST(week.run(events), "actions");
        QTEST(int(week.gesture.state()), "state");
    }

    // Catches a modern week cell that names the week of a date worked on elsewhere (January)
    // above the days of week 13, and a classic one that stops naming it.
    void weekCell_data()
    {
        QTest::addColumn<bool>("modern");
        QTest::addColumn<QString>("label");
        QTest::newRow("classic: the date worked on") << false << "2.Wo";
        QTest::newRow("modern: the days shown") << true << "13.Wo";
    }
    void weekCell()
    {
        QFETCH(bool, modern);
        Week week;
        week.modern = modern;
        week.currentDate = day(2024, 1, 10);
        week.paint();
        const auto cell = std::find_if(week.scene.cells.cbegin(), week.scene.cells.cend(),
                                       [](const SceneCell &c) { return c.caption.endsWith(".Wo"); });
        QVERIFY(cell != week.scene.cells.cend());
        QTEST(cell->caption, "label");
    }

    // Catches the arrow keys' scrolling going the wrong way or not stopping.
    void visibilityStep_data()
    {
        QTest::addColumn<Date>("start");
        QTest::addColumn<int>("kind");
        QTest::addColumn<Date>("firstTime");
        QTest::newRow("in view") << kMonday + hm(12, 0) << int(VisibilityStep::Done) << 0.0;
        QTest::newRow("before the first day") << kMonday - 1 + hm(12, 0) << int(VisibilityStep::DayBack) << 0.0;
        QTest::newRow("after the last day") << kMonday + 7 << int(VisibilityStep::DayForward) << 0.0;
        QTest::newRow("above the first row") << kMonday + hm(7, 0) << int(VisibilityStep::FirstTime) << hm(7, 0);
        QTest::newRow("below the last row: one row down") << kMonday + hm(22, 0) << int(VisibilityStep::FirstTime) << hm(8, 30);
        QTest::newRow("no selection") << 0.0 << int(VisibilityStep::Done) << 0.0;
    }
    void visibilityStep()
    {
        QFETCH(Date, start);
        QFETCH(Date, firstTime);
        Week week; // rows 08:00 to 21:00 show
        const VisibilityStep step = selectionVisibilityStep(start, week.grid, week.scene.lastVisibleTime);
        QTEST(int(step.kind), "kind");
        QVERIFY(std::abs(step.firstTime - firstTime) < 1e-9);
    }
};

DAYPLEX_TEST_MAIN(tst_CalendarGesture)

#include "tst_calendargesture.moc"

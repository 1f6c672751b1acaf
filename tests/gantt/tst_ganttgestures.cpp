// The Gantt view's gestures without a window: what a script of pointer events and Escape
// changes in the model and asks the view to do, on a computed picture of two days.
#include "gantt/freeslotsearch.h"
#include "gantt/ganttgestures.h"
#include "gantt/ganttinteraction.h"
#include "support/testing.h"

#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMonday = day(2024, 3, 4);

// One event of a script: a left press, a move with the left button held or with none, a left
// release, a right press, a double click, a press in the name column, or Escape. Places are a
// moment in a row (1-based, the holiday row first; 0 the header), moved by dx, dy pixels.
struct Step
{
    QString op;
    Date moment = 0;
    int row = 0;
    int dx = 0;
    int dy = 0;
};
using Script = QVector<Step>;

Step press(Date t, int row, int dx = 0, int dy = 0) { return {"press", t, row, dx, dy}; }
Step drag(Date t, int row, int dx = 0, int dy = 0) { return {"drag", t, row, dx, dy}; }
Step release(Date t, int row, int dx = 0, int dy = 0) { return {"release", t, row, dx, dy}; }
Step step(const char *op, Date t = 0, int row = 0) { return {op, t, row}; }

// The holiday row, Anna with a meeting on Monday 09:00-11:00 and a fair all day
// on Tuesday, Ben with a read-only visit on Tuesday 09:00-11:00, painted on 900 x 420 pixels.
struct Picture
{
    GanttModel model;
    GanttStyle style;
    GanttScene scene;

    Picture()
    {
        model.addMerkmal("Feiertage", GanttModel::holidayRowDsn());
        model.addMerkmal("Anna", "R1");
        model.addMerkmal("Ben", "R2");
        model.addDate("A", "Besprechung", kMonday + hm(9, 0), kMonday + hm(11, 0), false, 0, false, 0,
                      false, "R1", false, false);
        model.addDate("M", "Messe", kMonday + 1, kMonday + 1, true, 0, false, 0, false, "R1", false, false);
        model.addDate("B", "Besuch", kMonday + 1 + hm(9, 0), kMonday + 1 + hm(11, 0), false, 0, false, 0,
                      true, "R2", false, false);
        GanttContent content{model, style};
        content.startDate = kMonday;
        content.endDate = kMonday + 1;
        scene = ganttScene(content, 0, 0, 900, 420, 13, 8);
    }
    GanttGestureView view() { return {model, scene, 1, 420, true}; }
    QPointF at(const Step &s) const
    {
        const GanttLayout &l = scene.layout;
        const double y = s.row == 0 ? 5 : l.rowTop(s.row, 1) + l.lngZeilenhoehe / 2;
        const double x = s.op == "name" ? l.lngNamenBreite / 2 : l.xOf(s.moment);
        return {x + s.dx, y + s.dy};
    }
    static QString box(const BarRect &b)
    {
        return QString("%1,%2,%3x%4").arg(b.left).arg(b.top).arg(b.width).arg(b.height);
    }

    // Runs the script and writes down what the view is asked to do, one word per request.
    QString run(GanttGestures &gestures, const Script &script)
    {
        QStringList log;
        for (const Step &s : script) {
            const QPointF p = at(s);
            const bool left = s.op != "right" && s.op != "hover" && s.op != "release";
            const GanttPointer pointer{s.op == "right" ? Qt::RightButton : Qt::LeftButton,
                                       left ? Qt::LeftButton : Qt::NoButton, p.x(), p.y()};
            const GanttActions a = s.op == "drag" || s.op == "hover" ? gestures.move(view(), pointer)
                                   : s.op == "release"               ? gestures.release(view(), pointer)
                                   : s.op == "double"                ? gestures.doubleClick(view(), pointer)
                                   : s.op == "escape"                ? gestures.escape()
                                   : s.op == "del" ? gestures.keyPress(view(), Qt::Key_Delete, Qt::NoModifier)
                                                                     : gestures.press(view(), pointer);
            // The words of the steps; what is done also after a failure says so.
            const auto word = [this](const GanttStep &t) -> QString {
                if (applyModelStep(model, t)) // as the view does, in its place
                    return {};
                switch (t.kind) {
                case GanttStep::DrawFrame: return "frame:" + box(t.rect);
                case GanttStep::EraseFrame: return "erase";
                case GanttStep::Corner: return "corner";
                case GanttStep::Repaint: return "repaint";
                case GanttStep::ToolTip: return "tip:" + t.text;
                case GanttStep::Pointer: return "pointer:" + t.text;
                case GanttStep::Drop: return "move:" + when(t.from);
                case GanttStep::Menu: return t.text.isEmpty() ? "menu" : "menu over:" + t.text;
                case GanttStep::DatePicker: return "picker";
                case GanttStep::ShowSelected: return "show";
                case GanttStep::NewAppointment: return "new:" + when(t.from) + "-" + when(t.to) + " " + t.text;
                case GanttStep::RequestDelete: return "delete:" + t.text;
                default: return {}; // ShowFrame follows every frame and corner
                }
            };
            for (const GanttStep &t : a.steps)
                if (const QString w = word(t); !w.isEmpty())
                    log << w;
            for (const GanttStep &t : a.finally)
                if (const QString w = word(t); !w.isEmpty())
                    log << "finally " + w;
        }
        return log.join(' ');
    }
    QString proposal() const
    {
        return model.vorschlagVon > 0 ? when(model.vorschlagVon) + "-" + when(model.vorschlagBis) : "";
    }
};

} // namespace

Q_DECLARE_METATYPE(Script)

class tst_GanttGestures : public QObject
{
    Q_OBJECT

private slots:
    // Catches a move started by a jitter or by an unselectable bar, a drop left of the time area
    // that still moves, an Escape that does not end the move or lets its release through,
    // marking the holiday row, name cells that do not toggle, a proposal that does not follow
    // the mouse or survives dragging back, a right click that changes the selection, and a
    // hairline, corner or tooltip that does not follow the mouse.
    void scripts_data()
    {
        const Date m = kMonday;
        QTest::addColumn<QString>("selected");
        QTest::addColumn<Script>("script");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("marked");
        QTest::addColumn<QString>("proposal");

        QTest::newRow("a read-only bar clears the selection") << "A"
            << Script{press(m + 1 + hm(10, 0), 3)} << "repaint" << "" << "" << "";
        QTest::newRow("5 pixels: no move") << ""
            << Script{press(m + hm(10, 0), 2), drag(m + hm(10, 0), 2, 5), release(m + hm(10, 0), 2, 5)}
            << "repaint finally pointer:" << "A" << "" << "";
        QTest::newRow("9 pixels over both axes: moves to the release time") << ""
            << Script{press(m + hm(10, 0), 2), drag(m + hm(10, 0), 2, 5, 4), drag(m + hm(14, 0), 2),
                      release(m + hm(14, 0), 2)}
            << "repaint frame:274,51,34x15 finally pointer:curMove frame:335,51,34x15 corner erase "
               "move:Mon 14:00 finally pointer:"
            << "A" << "" << "";
        QTest::newRow("dropped on the names: no move") << ""
            << Script{press(m + hm(10, 0), 2), drag(m + hm(12, 0), 2), release(m - 1, 2)}
            << "repaint frame:302,51,34x15 finally pointer:curMove erase finally pointer:" << "A" << "" << "";
        QTest::newRow("Escape ends the move, its release does nothing") << ""
            << Script{press(m + hm(10, 0), 2), drag(m + hm(12, 0), 2), step("escape"),
                      drag(m + hm(14, 0), 2), release(m + hm(14, 0), 2), press(m + hm(10, 0), 2)}
            << "repaint frame:302,51,34x15 finally pointer:curMove erase finally pointer: repaint" << "A" << ""
            << "";
        QTest::newRow("header: the date picker, dragging moves nothing") << ""
            << Script{press(m + hm(15, 0), 0), drag(m + hm(18, 0), 2), release(m + hm(18, 0), 2)}
            << "picker finally pointer:" << "" << "" << "";
        QTest::newRow("holiday row: neither marked nor a proposal") << ""
            << Script{step("name", m, 1), press(m + hm(15, 0), 1)} << "" << "" << "" << "";
        QTest::newRow("name cell marks the row, a second click unmarks it") << ""
            << Script{step("name", m, 3), step("name", m, 3), step("name", m, 3)}
            << "repaint repaint repaint" << "" << "R2" << "";
        QTest::newRow("proposal drawn from 10:00 to 12:00") << ""
            << Script{press(m + hm(10, 0), 3), drag(m + hm(11, 0), 3), drag(m + hm(12, 0), 3),
                      release(m + hm(12, 0), 3)}
            << "repaint repaint repaint finally pointer:" << "" << "R2" << "Mon 10:00-Mon 12:00";
        QTest::newRow("proposal dragged back left of its start") << ""
            << Script{press(m + hm(10, 0), 3), drag(m + hm(9, 0), 3), drag(m + hm(12, 0), 3)}
            << "repaint repaint" << "" << "R2" << "";
        QTest::newRow("right click: the menu, the selection stays") << "A"
            << Script{step("right", m + 1 + hm(10, 0), 3)} << "menu over:B" << "A" << "" << "";
        QTest::newRow("hover: hairline, corner and the bar's note") << ""
            << Script{step("hover", m + hm(10, 0), 2), step("hover", m + hm(15, 0), 2)}
            << "frame:270,16,1x420 corner tip:Besprechung frame:353,16,1x420 corner tip:" << ""
            << "" << "";
        QTest::newRow("landing frames: around the bar's place, cut at the right edge") << ""
            << Script{press(m + hm(10, 0), 2), drag(m + 1 + hm(8, 0), 2), drag(m + 1 + hm(23, 0), 2),
                      drag(m - 1, 2), step("escape")}
            << "repaint frame:634,51,34x15 finally pointer:curMove frame:882,51,18x15 corner erase corner "
               "erase finally pointer:"
            << "A" << "" << "";
        QTest::newRow("double click on free time: an hour from there") << "A"
            << Script{step("double", m + hm(15, 0), 2)} << "show new:Mon 15:00-Mon 16:00 R1" << "A" << "" << "";
        QTest::newRow("double click on a bar only shows the selection") << "A"
            << Script{step("double", m + hm(10, 0), 2)} << "show" << "A" << "" << "";
        QTest::newRow("double click on the holiday row") << "" << Script{step("double", m + hm(15, 0), 1)} << "" << "" << "" << "";
        QTest::newRow("Entf asks to delete the selection") << "A" << Script{step("del")} << "delete:A" << "A" << "" << "";
        QTest::newRow("Entf on a read-only selection") << "B" << Script{step("del")} << "" << "B" << "" << "";
    }
    void scripts()
    {
        QFETCH(QString, selected);
        QFETCH(Script, script);
        Picture picture;
        picture.model.selectedDate = selected;
        GanttGestures gestures;
        QTEST(picture.run(gestures, script), "log");
        QTEST(picture.model.selectedDate, "selection");
        QTEST(markedRowList(picture.model), "marked");
        QTEST(picture.proposal(), "proposal");
        QVERIFY(!gestures.moving());
    }

    // Catches hit-testing that prefers the later of two bars or leaves out an edge, bars below a
    // short picture that it misses (their rows are laid out only when asked, and must answer as
    // if laid out with the rest), and rectangles taken for appointments delivered after them.
    void hitTest()
    {
        GanttModel model;
        GanttStyle style;
        for (int r = 1; r <= 12; ++r) {
            const QString row = QStringLiteral("R%1").arg(r);
            model.addMerkmal(row, row);
            for (int k = 0; k < 4; ++k) // a staircase of four
                model.addDate("x", "", kMonday + hm(8 + k, 0), kMonday + hm(11 + k, 0), false, 0, false, 0,
                              false, row, false, false);
        }
        GanttContent content{model, style};
        content.startDate = kMonday;
        content.endDate = kMonday;
        content.firstRow = 2;
        const GanttScene scene = ganttScene(content, 0, 0, 600, 90, 13, 8);
        QVERIFY(scene.lastRow < model.rowCount());
        const BarPass all = ganttLayoutBars(model, scene.layout, 2, 1, model.rowCount());
        // The picture lays out every bar that reaches into it, those of the row cut off at the
        // bottom too.
        QVERIFY((90 - scene.layout.lngZeilenOben) % scene.layout.lngZeilenhoehe != 0);
        const BarPass shown = ganttLayoutBars(model, scene.layout, 2, 2, model.rowCount());
        for (qint32 i = 1; i <= model.dateCount(); ++i)
            if (shown.rects.at(i - 1).top < 90)
                QCOMPARE(scene.bars.rects.at(i - 1).top, shown.rects.at(i - 1).top);
        for (int y = 0; y < 400; ++y) {
            for (int x = 100; x < 600; x += 3) {
                qint32 expected = 0;
                for (qint32 i = 1; i <= model.dateCount() && expected == 0; ++i) {
                    const BarRect &b = all.rects.at(i - 1);
                    if (b.width > 0 && b.height > 0 && b.left <= x && x <= b.left + b.width && b.top <= y
                        && y <= b.top + b.height)
                        expected = i;
                }
                QCOMPARE(scene.entryAt(model, x, y), expected);
            }
            QCOMPARE(scene.bar(model, y % 48 + 1).top, all.rects.at(y % 48).top);
        }
        const BarRect a = all.rects.at(4);
        model.clear();
        model.addMerkmal("R2", "R2");
        model.addDate("N", "", kMonday, kMonday + 1, false, 0, false, 0, false, "R2", false, false);
        QCOMPARE(scene.entryAt(model, a.left + 1, a.top + 1), 0);
    }
};

DAYPLEX_TEST_MAIN(tst_GanttGestures)
#include "tst_ganttgestures.moc"

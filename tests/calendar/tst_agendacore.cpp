// The calendar core without a window: the change question answered later, as a Qt Quick front
// end answers it, and the NeedDates protocol through its event.
#include "calendar/agendacore.h"
#include "calendar/calendararguments.h"

#include <dayplex/kalenderobjekttyp.h>

#include <QtTest>

#include <cmath>

#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMon = day(2024, 3, 4);

// What the core raised, one line per event.
struct Raised
{
    QStringList lines;
    void listen(AgendaCore &core)
    {
        core.events.dateChanged = [this](const QString &dsn, Date start, Date end) {
            lines << QStringLiteral("changed %1 %2-%3").arg(dsn, when(start), when(end));
        };
        core.events.seriesDateChanged = [this](const QString &dsn, SeriesScope scope, Date start, Date) {
            lines << QStringLiteral("series %1 %2 %3").arg(dsn).arg(int(scope)).arg(when(start));
        };
        core.events.needDates = [this](Date first, Date last, const QString &) {
            lines << QStringLiteral("need %1-%2").arg(when(first), when(last));
        };
    }
};

void add(AgendaCore &core, const char *dsn, const char *memo, Date from, Date to, bool allDay = false)
{
    core.data.store.add(QString::fromLatin1(dsn), QString::fromLatin1(memo), from, to, allDay, 0, false, 0,
                        false, false);
}

// A week from kMon from 8:00, painted on the given height, so that its cells can be pointed at.
struct PaintedWeek
{
    AgendaCore core;
    const QSize size;
    explicit PaintedWeek(int height = 400, bool appointment = true) : size(700, height)
    {
        double last = kMon + 6;
        core.setDisplayedRange(kMon, &last, false, false);
        core.grid.firstTime = hm(8, 0);
        if (appointment)
            add(core, "W", "Mittwoch", kMon + 2 + hm(9, 0), kMon + 2 + hm(10, 0));
        paint();
    }
    void paint()
    {
        core.surfaceArea = QRect(QPoint(0, 0), size);
        core.picture(size, 1);
    }
    // The middle of a time cell, or of a region of the appointment (type termineintrag,
    // sizesouth ...).
    QPointF at(Date moment, qint32 type = zeitzelle) const
    {
        for (const HitRegion &r : core.scene.hits.all())
            if (r.lngTyp == type && (type == zeitzelle ? std::abs(r.datVon - moment) < 1e-7 : r.lngIdx == 1))
                return QPointF(r.lngLeft + r.lngWidth / 2.0, r.lngTop + r.lngHeight / 2.0);
        return QPointF(-1, -1);
    }
    // Applies the core's own steps of an answer.
    void apply(const GestureResult &result)
    {
        for (const GestureAction &a : result.steps)
            core.applyOwnStep(a);
    }
    // Performs the core's own steps of an answer; how many answers there were.
    int press(QPointF at, Qt::MouseButtons held = Qt::LeftButton)
    {
        int answers = 0;
        core.pressAndPerform(Qt::LeftButton, held, at.x(), at.y(), [&](const GestureResult &r) {
            ++answers;
            apply(r);
        });
        return answers;
    }
};

} // namespace

class tst_AgendaCore : public QObject
{
    Q_OBJECT

private slots:
    // Catches a change that stands without its answer, a refusal that keeps the new times, a
    // series change raised without its scope and a refilled store whose records take the
    // answer of a question about a record it no longer holds.
    void changeAnsweredLater_data()
    {
        QTest::addColumn<bool>("series");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("scope"); // -1: "Abbrechen"
        QTest::addColumn<bool>("refilled");
        QTest::addColumn<QString>("times"); // of record 1 afterwards, confirmed times beside
        QTest::addColumn<QString>("raised");
        const QString moved = QStringLiteral("Mon 10:00 Mon 10:00");
        const QString back = QStringLiteral("Mon 09:00 Mon 09:00");
        QTest::newRow("yes") << false << true << true << -1 << false << moved << "changed A Mon 10:00-Mon 11:00";
        QTest::newRow("no") << false << true << false << -1 << false << back << "";
        QTest::newRow("series, this one") << true << false << false << 0 << false << moved << "series A 0 Mon 10:00";
        QTest::newRow("series, cancelled") << true << false << true << -1 << false << back << "";
        QTest::newRow("store refilled meanwhile") << false << true << true << -1 << true
                                                  << "Mon 12:00 Mon 12:00" << "";
    }
    void changeAnsweredLater()
    {
        QFETCH(bool, series);
        QFETCH(bool, confirm);
        QFETCH(bool, accepted);
        QFETCH(int, scope);
        QFETCH(bool, refilled);
        AgendaCore core;
        Raised raised;
        raised.listen(core);
        core.settings.confirmChanges = confirm;
        add(core, "A", "Termin", kMon + hm(9, 0), kMon + hm(10, 0));
        // An unchanged record, or none, asks nothing.
        QVERIFY(!core.changeRequest(1) && !core.changeRequest(2));
        AppointmentDetails details;
        details.seriesOccurrence = series;
        core.data.store.setDetails(QStringLiteral("A"), details);
        core.selection.index = 1;
        QVERIFY(core.moveSelected(kMon + hm(10, 0), 0));
        const std::optional<ChangeRequest> request = core.changeRequest(1);
        QVERIFY(request);
        QCOMPARE(request->question == ChangeQuestion::SeriesScope, series);
        QCOMPARE(request->confirm, confirm);
        if (refilled) {
            core.clear();
            add(core, "B", "Neu", kMon + hm(12, 0), kMon + hm(13, 0));
        }
        ChangeAnswer answer;
        answer.accepted = accepted;
        if (scope >= 0)
            answer.scope = SeriesScope(scope);
        core.commitChange(*request, answer);
        core.raiseChange(*request, answer);
        const TerminEintrag &e = core.data.store.at(1);
        QTEST(QStringLiteral("%1 %2").arg(when(e.dateStart), when(e.dateStartOrig)), "times");
        QTEST(raised.lines.join(QLatin1Char('|')), "raised");
    }

    // Catches a switch of presentation that leaves the "+n" marker of the last modern paint
    // answering the pointer until the next paint, and one that is taken for a switch when the
    // presentation stays.
    void presentationSwitch_data()
    {
        QTest::addColumn<int>("switchTo");
        QTest::addColumn<bool>("switched");
        QTest::addColumn<QString>("tooltip"); // over the marker before the next paint
        QTest::newRow("to the classic one") << int(Presentation::Classic) << true << QString();
        QTest::newRow("modern again") << int(Presentation::Modern) << false << QStringLiteral("Urlaub");
    }
    void presentationSwitch()
    {
        QFETCH(int, switchTo);
        PaintedWeek week(400, false);
        AgendaCore &core = week.core;
        core.grid.dayInfoHeight = 1;
        // Tuesday's band has room for one of its two entries.
        add(core, "M", "Messe", kMon + 1, kMon + 1, true);
        add(core, "U", "Urlaub", kMon + 1, kMon + 1, true);
        QVERIFY(core.setPresentation(Presentation::Modern));
        week.paint();
        QCOMPARE(core.scene.overflows.size(), 1);
        const QPointF marker = QRectF(core.scene.overflows.first().marker).center();

        QTEST(core.setPresentation(Presentation(switchTo)), "switched");
        QString tooltip;
        for (const GestureAction &a : core.move(Qt::NoButton, marker.x(), marker.y()).steps)
            if (a.kind == GestureAction::Tooltip && a.text == QLatin1String("Urlaub"))
                tooltip = a.text;
        QTEST(tooltip, "tooltip");
    }

    // Catches a time selection that stops following the left button while a button the view
    // does not know (back, forward) is held with it, and one that follows that button alone.
    void moveWithOtherButtons_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<bool>("follows");
        QTest::newRow("left") << int(Qt::LeftButton) << true;
        QTest::newRow("left and back") << int(Qt::LeftButton | Qt::BackButton) << true;
        QTest::newRow("back alone") << int(Qt::BackButton) << false;
        QTest::newRow("left and right") << int(Qt::LeftButton | Qt::RightButton) << false;
    }
    void moveWithOtherButtons()
    {
        QFETCH(int, buttons);
        PaintedWeek week;
        AgendaCore &core = week.core;
        const QPointF to = week.at(kMon + hm(10, 0));
        QVERIFY(to.x() >= 0);
        week.press(week.at(kMon + hm(9, 0)));
        bool followed = false;
        for (const GestureAction &a : core.move(Qt::MouseButtons(buttons), to.x(), to.y()).steps)
            followed = followed || (a.kind == GestureAction::SetSelection && std::abs(a.to - (kMon + hm(10, 0))) < 1e-7);
        QTEST(followed, "follows");
    }

    // Catches a press that ends a move whose release never arrived and is then lost instead
    // of going to the picture without that move, one handed in twice after a release, and a
    // second button during the drag that ends it.
    void pressAfterADrag_data()
    {
        QTest::addColumn<bool>("released");
        QTest::addColumn<int>("held");
        QTest::addColumn<int>("answers");
        QTest::addColumn<bool>("selects");
        QTest::newRow("the release lost") << false << int(Qt::LeftButton) << 2 << true;
        QTest::newRow("the release arrived") << true << int(Qt::LeftButton) << 1 << true;
        QTest::newRow("a second button during the drag")
            << false << int(Qt::LeftButton | Qt::RightButton) << 1 << false;
    }
    void pressAfterADrag()
    {
        QFETCH(bool, released);
        QFETCH(int, held);
        PaintedWeek week;
        const QPointF box = week.at(0, termineintrag), to = box + QPointF(9, 0);
        QVERIFY(box.x() >= 0);
        week.press(box);
        week.core.move(Qt::LeftButton, to.x(), to.y());
        if (released)
            week.core.release(false, to.x(), to.y());
        QTEST(week.press(week.at(kMon + 1 + hm(14, 0)), Qt::MouseButtons(held)), "answers");
        QTEST(std::abs(week.core.selection.start - (kMon + 1 + hm(14, 0))) < 1e-7, "selects");
    }

    // Catches a resize whose release fails (the change question, a host's handler) and leaves
    // the appointment at its new end, and an answer without that need that puts it back.
    void failedAnswer_data()
    {
        QTest::addColumn<bool>("ofTheRelease"); // else of a hover after it
        QTest::addColumn<QString>("end");
        QTest::newRow("the release's") << true << "10:00";
        QTest::newRow("a hover's") << false << "11:30";
    }
    void failedAnswer()
    {
        QFETCH(bool, ofTheRelease);
        PaintedWeek week;
        const QPointF edge = week.at(0, sizesouth), to = week.at(kMon + 2 + hm(11, 0));
        QVERIFY(edge.x() >= 0 && to.x() >= 0);
        week.press(edge);
        week.apply(week.core.move(Qt::LeftButton, to.x(), to.y()));
        GestureResult answer = week.core.release(false, to.x(), to.y());
        if (!ofTheRelease)
            answer = week.core.move(Qt::NoButton, to.x(), to.y());
        week.core.answerFailed(answer);
        QTEST(when(week.core.data.store.at(1).dateEnd).right(5), "end");
    }

    // Catches a print dialog that starts on the resource view while the calendar is shown, or
    // on the calendar while only the resource view is, and a resource period not in whole days.
    void presetChoice_data()
    {
        QTest::addColumn<bool>("calendarShown");
        QTest::addColumn<bool>("resourceShown");
        QTest::addColumn<QString>("expected");
        QTest::newRow("both shown") << true << true << "week 0-6";
        QTest::newRow("the resource view alone") << false << true << "resource 2-4";
        QTest::newRow("the calendar alone") << true << false << "week 0-6";
        QTest::newRow("neither, a window not yet shown") << false << false << "week 0-6";
    }
    void presetChoice()
    {
        QFETCH(bool, calendarShown);
        QFETCH(bool, resourceShown);
        AgendaCore core;
        double last = kMon + 6;
        core.setDisplayedRange(kMon, &last, false, false);
        std::optional<std::pair<Date, Date>> resource;
        if (resourceShown)
            resource.emplace(kMon + 2 + hm(8, 0), kMon + 4 + hm(18, 0));
        const PrintChoice choice = core.presetChoice(calendarShown, resource);
        const QString sheet = choice.sheet == PrintSheet::Resource ? "resource" : choice.sheet == PrintSheet::Week ? "week" : "day";
        QTEST(QStringLiteral("%1 %2-%3").arg(sheet).arg(choice.firstDay - kMon).arg(choice.lastDay - kMon), "expected");
    }

    // Catches a NeedDates asked from inside its own handler, one lost after a handler threw,
    // and one asked for days the host has delivered.
    void needDates()
    {
        AgendaCore core;
        Raised raised;
        raised.listen(core);
        int calls = 0;
        const auto outer = core.events.needDates;
        core.events.needDates = [&](Date first, Date last, const QString &fields) {
            outer(first, last, fields);
            if (++calls == 1)
                core.setDisplayedRange(first + 7, nullptr, false, false); // not asked again
            else
                throw Error(InvalidArgument, QStringLiteral("Host"));
        };
        double last = kMon + 6;
        core.setDisplayedRange(kMon, &last, false, false);
        QCOMPARE(raised.lines, QStringList{QStringLiteral("need Mon 00:00-Sun 00:00")});
        QCOMPARE(errorNumber([&] { core.setDisplayedRange(kMon + 14, nullptr, false, false); }), int(InvalidArgument));
        QCOMPARE(calls, 2);
        core.setFilledRange(kMon, kMon + 30);
        core.events.needDates = [&](Date, Date, const QString &) { ++calls; };
        core.setDisplayedRange(kMon + 21, nullptr, false, false);
        QCOMPARE(calls, 2);
        core.setDisplayedRange(kMon + 40, nullptr, false, false);
        QCOMPARE(calls, 3);
    }

    // Catches holidays of the wrong years, in particular a century of them for a range that
    // ends in an earlier year than it starts.
    void filledRangeHolidays_data()
    {
        QTest::addColumn<Date>("from");
        QTest::addColumn<Date>("to");
        QTest::addColumn<int>("expected");
        QTest::newRow("one year") << kMon << kMon + 6 << 9;
        QTest::newRow("across the turn of the year") << day(2024, 12, 30) << day(2025, 1, 5) << 18;
        QTest::newRow("ending in an earlier year") << kMon << 0.0 << 0;
        QTest::newRow("ending earlier in the same year") << kMon << kMon - 30 << 9;
        QTest::newRow("before the Gregorian calendar") << day(1500, 3, 1) << day(1500, 3, 31) << 0;
    }
    void filledRangeHolidays()
    {
        QFETCH(Date, from);
        QFETCH(Date, to);
        AgendaCore core;
        core.setFilledRange(from, to);
        QTEST(int(core.data.store.count()), "expected");
    }

    // Catches a scroll into sight that stops a row or a day short of the moment or goes one
    // too far, and one that paints on the way: the core answers it from the last paint's rows,
    // and the next paint shows the moment.
    void ensureVisible_data()
    {
        QTest::addColumn<int>("dayOffset"); // from the first shown day
        QTest::addColumn<bool>("fromLowest"); // rows counted from the lowest row in sight, else the first
        QTest::addColumn<int>("rowOffset");
        QTest::addColumn<int>("daysMoved");
        QTest::addColumn<int>("rowsMoved");
        QTest::newRow("the first row") << 0 << false << 0 << 0 << 0;
        QTest::newRow("a row above it") << 0 << false << -1 << 0 << -1;
        QTest::newRow("the lowest row in sight") << 3 << true << 0 << 0 << 0;
        QTest::newRow("a row below it") << 3 << true << 1 << 0 << 1;
        QTest::newRow("four rows below it") << 3 << true << 4 << 0 << 4;
        QTest::newRow("the last shown day") << 6 << false << 0 << 0 << 0;
        QTest::newRow("the day after") << 7 << false << 0 << 1 << 0;
        QTest::newRow("the day before") << -1 << false << 0 << -1 << 0;
    }
    void ensureVisible()
    {
        QFETCH(int, dayOffset);
        QFETCH(bool, fromLowest);
        QFETCH(int, rowOffset);
        PaintedWeek week(300, false);
        AgendaCore &core = week.core;
        const Date raster = core.grid.timeRaster;
        const Date anchor = fromLowest ? core.scene.lastVisibleTime : core.grid.firstTime;
        const Date moment = kMon + dayOffset + anchor + rowOffset * raster;
        const quint64 renders = core.kept.renders;

        core.ensureVisible(moment);
        QCOMPARE(core.kept.renders, renders);
        QTEST(int(core.grid.firstDay - kMon), "daysMoved");
        QTEST(qRound((core.grid.firstTime - hm(8, 0)) / raster), "rowsMoved");
        week.paint();
        const Date time = moment - std::floor(moment);
        QVERIFY(core.grid.firstTime <= time + 1e-9 && time <= core.scene.lastVisibleTime + 1e-9);
    }

    // Catches a loose API argument read the wrong way: a zero or negative rounding step
    // taken, a word taken as a date or a direction, an empty direction refused.
    void looseArguments_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<double>("expected");
        QTest::addColumn<int>("error"); // 0: none
        QTest::newRow("a QDate") << "date" << QVariant(QDate(2024, 3, 4)) << kMon << 0;
        QTest::newRow("a number as text") << "date" << QVariant("45355.5") << 45355.5 << 0;
        QTest::newRow("a word") << "date" << QVariant("morgen") << 0.0 << int(TypeMismatch);
        QTest::newRow("a quarter of an hour") << "round" << QVariant(hm(0, 15)) << kMon + hm(9, 15) << 0;
        QTest::newRow("no step") << "round" << QVariant(0.0) << 0.0 << int(DivisionByZero);
        QTest::newRow("a step back") << "round" << QVariant(-hm(0, 15)) << 0.0 << int(InvalidArgument);
        QTest::newRow("no direction") << "scroll" << QVariant() << 0.0 << 0;
        QTest::newRow("a direction as text") << "scroll" << QVariant("-1") << -1.0 << 0;
        QTest::newRow("a word for a direction") << "scroll" << QVariant("vor") << 0.0 << int(TypeMismatch);
        QTest::newRow("an endless direction") << "scroll" << QVariant(qInf()) << 0.0 << int(InvalidArgument);
    }
    void looseArguments()
    {
        QFETCH(QString, reader);
        QFETCH(QVariant, value);
        double read = 0;
        const int error = errorNumber([&] {
            if (reader == "date")
                read = dateArgument(value, "Test");
            else if (reader == "round")
                read = roundedDownArgument(kMon + hm(9, 20), value);
            else
                read = scrollDirectionArgument(value);
        });
        QTEST(error, "error");
        QTEST(read, "expected");
    }
};

DAYPLEX_TEST_MAIN(tst_AgendaCore)
#include "tst_agendacore.moc"

// What the calendar paints (colours, boxes, bars and hit regions of known scenes), and its
// wiring as a control shown offscreen: a drag with its question and event, the drag ghost,
// errors that stay inside and the context menu's commands, at points taken from the hit
// regions of its last paint. Set DAYPLEX_PICTURES to a folder to keep the pictures for a look.
#include "calendar/calendarmenu.h"
#include "calendar/calendarpainter.h"
#include "shared/cdc.h"
#include "shared/clock.h"
#include "shared/readablecolours.h"
#include "shared/toolbox.h"
#include "support/agendaweek.h"

#include <QMenu>
#include <QTimer>
#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMonday = AgendaWeek::monday();

constexpr qint32 kA = 10, kB = 11;

} // namespace

class tst_CalendarPicture : public QObject
{
    Q_OBJECT

private slots:
    void init() { setCurrentDateTimeForTesting(kMonday + 2 + hm(10, 17)); }
    void cleanup()
    {
        setCurrentDateTimeForTesting(0);
        setPromptHandler({});
    }

    // Overlapping appointments are drawn side by side in their sub-columns, in their own colours
    // and framed in black. Headers use the short date, or the day number alone in narrow
    // columns; one per day.
    void weekPicture()
    {
        QCOMPARE(dayHeaderText(kMonday, false) + " | " + dayHeaderText(kMonday, true), "Mo, 25.03.2024 | Mo, 25.");
        AgendaWeek week;
        const QImage image = week.agenda.paintToImage(QSize(1000, 700));
        keepPicture(image, QStringLiteral("week"));
        QVERIFY(week.region(tageszellekopf, kMonday + 6).lngWidth > 0 && !week.region(tageszellekopf, kMonday + 7).lngTyp);
        const HitRegion a = week.region(termineintrag, 0, kA), b = week.region(termineintrag, 0, kB);
        QVERIFY(a.lngHeight > 0 && b.lngLeft > a.lngLeft + a.lngWidth);
        const auto below = [](const HitRegion &r) {
            return QPoint(r.lngLeft + r.lngWidth / 2, r.lngTop + r.lngHeight * 3 / 4); };
        QCOMPARE(image.pixelColor(below(a)), cDC::toQColor(0xF0D0A0));
        QCOMPARE(image.pixelColor(below(b)), cDC::toQColor(0xC0E0C0));
        QCOMPARE(image.pixelColor(a.lngLeft, a.lngTop + 5), QColor(Qt::black));
    }

    // Catches a modern band that marks no day or the wrong one with "+n", a marker outside the
    // band, and the text of a longer all-day box left under a marker: Messe Hannover runs from
    // Tuesday, whose band hides Urlaub Weber, into Wednesday.
    void modernBandMarksHiddenEntries()
    {
        AgendaWeek week;
        week.agenda.setPresentation(Presentation::Modern);
        week.agenda.setDayInfoHeight(1); // Tuesday has two all-day entries
        keepPicture(week.agenda.paintToImage(QSize(1000, 700)), QStringLiteral("modern-band"));
        const CalendarScene &s = week.d->scene;
        QCOMPARE(s.overflows.size(), 1);
        const BandOverflow &tuesday = s.overflows.first();
        QCOMPARE(tuesday.column, 1);
        QCOMPARE(tuesday.hidden, QVector<qint32>{kA + 6}); // Urlaub Weber
        const auto messe = std::find_if(s.appointments.begin(), s.appointments.end(),
            [](const SceneAppointment &a) { return a.box.text == QLatin1String("Messe Hannover"); });
        QVERIFY(messe != s.appointments.end() && messe->clip.contains(tuesday.marker) && messe->box.rect.intersects(tuesday.marker));
        QVERIFY(messe->box.textRect.width() > 0 && !messe->box.textRect.intersects(tuesday.marker));

        // Hovering the marker names what it hides, a click selects it.
        const QPointF marker = QRectF(tuesday.marker).center();
        week.send(QEvent::MouseMove, marker, Qt::NoButton, Qt::NoButton);
        QCOMPARE(week.pic->toolTip(), QStringLiteral("Urlaub Weber"));
        week.press(marker);
        week.release(marker);
        QCOMPARE(week.agenda.SelectedDate(), QStringLiteral("G"));

        // Pale text on a pale fill, and an own fill in the selection's colour, selected: every
        // text stays readable, and the selection apart from the fill it replaces.
        week.add("P", "Betriebsversammlung", kMonday + 4 + hm(8, 0), kMonday + 4 + hm(9, 0), 0xE0E0E0, false, 0xB0B0B0);
        week.add("S", "Kundentermin", kMonday + 4 + hm(10, 0), kMonday + 4 + hm(11, 0), cToolbox::DefaultSelectionColor());
        week.agenda.setSelectedDate(QStringLiteral("S"));
        week.agenda.paintToImage(QSize(1000, 700));
        for (const SceneAppointment &a : week.d->scene.appointments) // S is the selected one
            QVERIFY2(contrastRatio(a.box.colours.text, a.box.colours.back) >= kReadableContrast && (!a.box.text.endsWith("Kundentermin")
                     || colourDistance(a.box.colours.back, cToolbox::DefaultSelectionColor()) >= kDistinctColourDistance), qPrintable(a.box.text));
    }

    // Catches a stale picture and a wrong partial repaint: every change of what the view shows
    // paints it again, the rest draws the kept picture, and either way the picture is the one a
    // full paint gives.
    void keptPicture_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("paintsAgain");
        for (const char *same : {"Repaint", "DrawDragDrop", "MousePointer"})
            QTest::newRow(same) << same << false;
        for (const char *changed :
             {"same range again (cells coloured anew)", "AddDate", "Clear", "Scroll", "setOptions",
              "setFirstTime", "setDayInfoHeight", "setMinDateHeight", "time selection",
              "whole days", "SelectedDate", "backcolor", "presentation", "the next day",
              "a record's times"})
            QTest::newRow(changed) << changed << true;
    }
    void keptPicture()
    {
        QFETCH(QString, change);
        AgendaWeek week;
        ucAgenda &a = week.agenda;
        ucAgendaPrivate *d = week.d;
        const QSize size(900, 600);
        a.setSelectionStart(kMonday + 1 + hm(9, 0));
        a.paintToImage(size);
        const QHash<QString, std::function<void()>> changes{
            {"Repaint", [&] { a.Repaint(); }},
            {"DrawDragDrop", [&] { a.DrawDragDrop(10, 10, 100, 50); }},
            {"same range again (cells coloured anew)", [&] { double last = a.LastDay(); a.SetDisplayedRange(a.FirstDay(), &last, false, false); }},
            {"MousePointer", [&] { a.MousePointer(QStringLiteral("SizeN")); }},
            {"AddDate", [&] { a.AddDate("Z", "Neu", kMonday + hm(15, 0), kMonday + hm(16, 0), false, 0, false, 0, false); }},
            {"Clear", [&] { a.Clear(); }},
            {"Scroll", [&] { a.Scroll(1); }},
            {"setOptions", [&] { a.setOptions("cContainer 1\nstrLayoutScreenCalendar:s34="
                                              "cContainer 1\nrgbArbeitszeit:l=255\n\n"); }},
            {"setFirstTime", [&] { a.setFirstTime(hm(10, 0)); }},
            {"setDayInfoHeight", [&] { a.setDayInfoHeight(1); }},
            {"setMinDateHeight", [&] { a.setMinDateHeight(6); }},
            {"time selection", [&] { a.setSelectionEnd(kMonday + 1 + hm(11, 0)); }},
            {"whole days", [&] { a.setSelectionStart(kMonday + 3); a.setSelectionEnd(kMonday + 5); }},
            {"SelectedDate", [&] { a.setSelectedDate("B"); }},
            {"backcolor", [&] { a.setBackcolor(kMonday + hm(12, 0), 0x00FF00); }},
            {"presentation", [&] { a.setPresentation(Presentation::Modern); }},
            {"the next day", [&] { setCurrentDateTimeForTesting(kMonday + 3 + hm(0, 1)); }},
            // As a refused change puts the times back after a repaint.
            {"a record's times", [&] { const TerminEintrag &e = d->data.store.at(kA); d->data.store.setTimes(kA, e.dateStart - hm(1, 0), e.dateEnd); }},
        };
        changes.value(change)();
        QTEST(!(d->kept.valid && d->viewKey(size, 1) == d->kept.key), "paintsAgain");
        const QImage kept = a.paintToImage(size).copy();
        d->kept.valid = false;
        QCOMPARE(kept, a.paintToImage(size));
    }

    // A drag by the mouse, past the bottom edge (auto-scroll) to its target: a drop keeps the
    // duration and whether the entry is an all-day entry; errors of the question or of the host
    // never leave the event loop, the gesture ends and an unconfirmed change is undone.
    void dragEndsInTheStore_data()
    {
        QTest::addColumn<QString>("dsn");
        QTest::addColumn<int>("grip");
        QTest::addColumn<Date>("target");
        QTest::addColumn<QString>("fails"); // "question", "host" or nothing
        QTest::addColumn<Date>("start");
        QTest::addColumn<Date>("end");
        const Date wed = kMonday + 2, thu = kMonday + 3;
        QTest::newRow("move, confirmed")
            << "A" << int(termineintrag) << thu + hm(14, 0) << "" << thu + hm(14, 0)
            << thu + hm(16, 0);
        QTest::newRow("all-day entry onto a time")
            << "G" << int(tagestermin) << thu + hm(10, 0) << "" << thu + hm(10, 0)
            << thu + hm(10, 0);
        QTest::newRow("resize, the question fails")
            << "E" << int(sizesouth) << wed + hm(12, 0) << "question" << wed + hm(10, 10)
            << wed + hm(10, 40);
        QTest::newRow("resize, the host's handler fails")
            << "E" << int(sizesouth) << wed + hm(12, 0) << "host" << wed + hm(10, 10)
            << wed + hm(12, 30);
    }
    void dragEndsInTheStore()
    {
        QFETCH(QString, dsn);
        QFETCH(int, grip);
        QFETCH(Date, target);
        QFETCH(QString, fails);
        const bool questionFails = fails == "question";
        QFETCH(Date, start);
        QFETCH(Date, end);
        AgendaWeek c;
        QVERIFY(c.shown());
        int questions = 0;
        setPromptHandler([&](const Prompt &) {
            if (++questions && questionFails)
                throw std::runtime_error("no answer");
            return true;
        });
        QSignalSpy changed(&c.agenda, &ucAgenda::DateChanged);
        if (fails == "host")
            QObject::connect(&c.agenda, &ucAgenda::DateChanged, &c.agenda,
                             [] { throw Error(InvalidArgument, "host"); });
        const qint32 index = c.d->data.store.firstSelectable(dsn);
        const bool allDay = c.d->data.store.at(index).btagestermin;
        const QPointF from = c.centre(grip, 0, index), to = c.centre(zeitzelle, target);
        QVERIFY(from.x() >= 0 && to.x() >= 0);
        c.press(from);
        c.drag(from + QPointF(10, 0));
        c.drag(QPointF(to.x(), c.pic->height() - 2));
        c.drag(to);
        c.release(to);

        QCOMPARE(qint32(c.d->gesture.state()), 0);
        QVERIFY(!c.d->timerAutoScroll->isActive());
        QCOMPARE(questions, 1);
        const TerminEintrag &a = c.d->data.store.at(index);
        QCOMPARE(a.btagestermin, allDay);
        QCOMPARE(QPointF(a.dateStart, a.dateEnd), QPointF(start, end));
        QCOMPARE(QPointF(a.dateStartOrig, a.dateEndOrig), QPointF(start, end));
        QCOMPARE(changed.size(), questionFails ? 0 : 1);
        if (!questionFails)
            QCOMPARE(changed.first().mid(0, 3), (QVariantList{dsn, start, end}));
    }

    // The ghost inverts the picture along its frame and nowhere else; drawing it away, or drawing
    // another one, gives back exactly the picture under it.
    void ghostIsInvertedAndUndone()
    {
        AgendaWeek c;
        QVERIFY(c.shown());
        const QPointF bar = c.centre(splitter, 0);
        QVERIFY(bar.x() >= 0);
        const QImage before = c.pic->grab().toImage();
        const auto inverted = [&](const QImage &now, int x, int y) {
            return now.pixel(x, y) == (before.pixel(x, y) ^ 0x00FFFFFFu);
        };
        const qint32 y = 200;
        c.press(bar);
        c.drag(QPointF(bar.x(), y));
        const QImage ghost = c.pic->grab().toImage();
        keepPicture(ghost, QStringLiteral("splitter-ghost"));
        QVERIFY(inverted(ghost, 0, y) && inverted(ghost, 300, y) && inverted(ghost, 0, y + 1));
        QCOMPARE(ghost.pixel(300, y - 1), before.pixel(300, y - 1));
        QCOMPARE(ghost.pixel(300, y + 1), before.pixel(300, y + 1));

        // Replaced by another ghost, and then taken away.
        c.agenda.DrawDragDrop(40, 60, 100, 30);
        const QImage moved = c.pic->grab().toImage();
        keepPicture(moved, QStringLiteral("ghost-box"));
        QCOMPARE(moved.pixel(300, y), before.pixel(300, y));
        QVERIFY(inverted(moved, 70, 60) && inverted(moved, 140, 75));
        QCOMPARE(moved.pixel(70, 75), before.pixel(70, 75));
        c.agenda.DrawDragDrop(0, 0, 0, 0);
        QCOMPARE(c.pic->grab().toImage(), before);
        c.release(QPointF(bar.x(), y));
    }

    // Catches menu commands that raise the wrong event, date or key.
    void menuCommands_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QByteArray>("event");
        QTest::addColumn<QVariantList>("arguments");
        const QByteArray gantt = SIGNAL(ShowImGantt(double));
        QTest::newRow(">> Gantt: date value 0") << "mnuGantt" << gantt << QVariantList{0.0};
        QTest::newRow("free slot from the appointment")
            << "mnuFreienTerminSuchen" << gantt << QVariantList{kMonday + hm(10, 0)};
        QTest::newRow("Anzeigen names the appointment")
            << "mnuAnzeigen" << QByteArray(SIGNAL(ShowDate(QString))) << QVariantList{"B"};
        QTest::newRow("Teilnehmer asks for the filter")
            << "mnuMerkmale" << QByteArray(SIGNAL(ChangeFilter())) << QVariantList();
    }
    void menuCommands()
    {
        QFETCH(QString, entry);
        QFETCH(QByteArray, event);
        AgendaWeek c;
        c.agenda.setSelectedDate(QStringLiteral("B"));
        QSignalSpy raised(&c.agenda, event.constData());
        c.d->menu->prepare();
        QAction *action = c.d->menu->popUp()->findChild<QAction *>(entry);
        QVERIFY(action && action->isEnabled());
        action->trigger();
        QCOMPARE(raised.size(), 1);
        QTEST(raised.first(), "arguments");
    }
};

DAYPLEX_TEST_MAIN(tst_CalendarPicture)
#include "tst_calendarpicture.moc"

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
#include "support/onscreen.h"
#include "support/seriesanswers.h"

#include <QMenu>
#include <QTimer>
#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMonday = AgendaWeek::monday();

constexpr qint32 kA = 10, kB = 11;
const AppointmentDetails kSeries{true, {}};
const AppointmentDetails kMeeting{false, {"Anna Berg", "Ben Koch"}};
const QSize kKeptSize(900, 600);
using Change = std::function<void(ucAgenda &)>;

// The answers of the series question, in the order of the scopes.
const QStringList kScopeButtons{"Nur diesen Termin", "Diesen und alle folgenden Termine",
                                "Alle Termine der Serie"};

// Tells the view that E is an occurrence of a series, now and whenever the host delivers.
void markSeries(AgendaWeek &week)
{
    const auto tell = [&week] { week.agenda.setAppointmentDetails("E", kSeries); };
    QObject::connect(&week.agenda, &ucAgenda::NeedDates, &week.agenda, tell);
    tell();
}

} // namespace

Q_DECLARE_METATYPE(Change)

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
        const CalendarScene &s = week.d->core.scene;
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
        for (const SceneAppointment &a : week.d->core.scene.appointments) // S is the selected one
            QVERIFY2(contrastRatio(a.box.colours.text, a.box.colours.back) >= kReadableContrast && (!a.box.text.endsWith("Kundentermin")
                     || colourDistance(a.box.colours.back, cToolbox::DefaultSelectionColor()) >= kDistinctColourDistance), qPrintable(a.box.text));
    }

    // Catches a stale picture and a wrong partial repaint: every change of what the view shows
    // paints it again, the rest draws the kept picture, and either way the picture is the one a
    // full paint gives.
    void keptPicture_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("paintsAgain");
        const auto row = [](const char *tag, bool again, const Change &change) { QTest::newRow(tag) << change << again; };
        row("Repaint", false, [](ucAgenda &a) { a.Repaint(); });
        row("DrawDragDrop", false, [](ucAgenda &a) { a.DrawDragDrop(10, 10, 100, 50); });
        row("MousePointer", false, [](ucAgenda &a) { a.MousePointer(QStringLiteral("SizeN")); });
        row("same range again (cells coloured anew)", true, [](ucAgenda &a) {
            double last = a.LastDay();
            a.SetDisplayedRange(a.FirstDay(), &last, false, false);
        });
        row("AddDate", true, [](ucAgenda &a) { a.AddDate("Z", "Neu", kMonday + hm(15, 0), kMonday + hm(16, 0), false, 0, false, 0, false); });
        row("Clear", true, [](ucAgenda &a) { a.Clear(); });
        row("Scroll", true, [](ucAgenda &a) { a.Scroll(1); });
        row("setOptions", true, [](ucAgenda &a) { a.setOptions("cContainer 1\nstrLayoutScreenCalendar:s34=cContainer 1\nrgbArbeitszeit:l=255\n\n"); });
        row("setFirstTime", true, [](ucAgenda &a) { a.setFirstTime(hm(10, 0)); });
        row("setDayInfoHeight", true, [](ucAgenda &a) { a.setDayInfoHeight(1); });
        row("setMinDateHeight", true, [](ucAgenda &a) { a.setMinDateHeight(6); });
        row("time selection", true, [](ucAgenda &a) { a.setSelectionEnd(kMonday + 1 + hm(11, 0)); });
        row("whole days", true, [](ucAgenda &a) { a.setSelectionStart(kMonday + 3); a.setSelectionEnd(kMonday + 5); });
        row("SelectedDate", true, [](ucAgenda &a) { a.setSelectedDate("B"); });
        row("backcolor", true, [](ucAgenda &a) { a.setBackcolor(kMonday + hm(12, 0), 0x00FF00); });
        row("presentation", true, [](ucAgenda &a) { a.setPresentation(Presentation::Modern); });
        row("the next day", true, [](ucAgenda &) { setCurrentDateTimeForTesting(kMonday + 3 + hm(0, 1)); });
        // As a refused change puts the times back after a repaint.
        row("a record's times", true, [](ucAgenda &a) {
            AppointmentStore &store = ucAgendaPrivate::get(&a)->core.data.store;
            store.setTimes(kA, store.at(kA).dateStart - hm(1, 0), store.at(kA).dateEnd);
        });
        row("setTimeRaster", true, [](ucAgenda &a) { a.setTimeRaster(15 * kOneMinute); });
        row("another size", true, [](ucAgenda &a) { a.paintToImage(QSize(800, 500)); });
        row("another pixel ratio", true, [](ucAgenda &a) { a.paintToImage(kKeptSize, 2); });
    }
    void keptPicture()
    {
        QFETCH(Change, change);
        AgendaWeek week;
        ucAgenda &a = week.agenda;
        ucAgendaPrivate *d = week.d;
        const QSize size = kKeptSize;
        a.setSelectionStart(kMonday + 1 + hm(9, 0));
        a.paintToImage(size);
        change(a);
        const quint64 before = d->core.kept.renders;
        const QImage kept = a.paintToImage(size).copy();
        QTEST(d->core.kept.renders > before, "paintsAgain");
        d->core.kept.valid = false;
        QCOMPARE(kept, a.paintToImage(size));
    }

    // Catches a window that shows another picture than the view's: painted straight into the
    // window at the wrong place, or a kept picture that did not catch up with the screen before
    // a part of it was shown again or only its cells were painted anew, or a part painted
    // alone that leaves another part of the kept picture stale.
    void screenShowsThePicture_data()
    {
        QTest::addColumn<QString>("step");
        for (const char *step : {"refill", "time selection", "ghost drawn and taken away",
                                 "part exposed", "resize", "scrolled",
                                 "time selection into an image first", "parts exposed one by one",
                                 "a corner painted into an image after a change"})
            QTest::newRow(step) << QString::fromLatin1(step);
    }
    void screenShowsThePicture()
    {
        QFETCH(QString, step);
        QWidget window;
        AgendaWeek c;
        c.agenda.setParent(&window);
        c.agenda.move(30, 20);
        window.resize(1040, 840);
        window.show();
        QVERIFY(c.shown());
        ucAgenda &a = c.agenda;
        // The refill brings another picture than the one kept.
        QObject::connect(&a, &ucAgenda::NeedDates, &a, [&] {
            c.add("N", "Neu", kMonday + hm(10, 0), kMonday + 4 + hm(14, 0), 0x80C0FF);
        });
        a.Refresh();
        QVERIFY(c.d->core.kept.owed); // painted straight into the window
        const QHash<QString, std::function<void()>> steps{
            {"refill", [] {}},
            {"time selection", [&] { a.setSelectionStart(kMonday + 1 + hm(9, 0)); a.setSelectionEnd(kMonday + 1 + hm(11, 0)); }},
            {"ghost drawn and taken away", [&] { a.DrawDragDrop(40, 60, 100, 30); a.DrawDragDrop(0, 0, 0, 0); }},
            {"part exposed", [&] { c.pic->repaint(QRect(10, 10, 200, 150)); }},
            {"resize", [&] { a.resize(900, 700); }},
            {"scrolled", [&] { a.Scroll(1); }},
            {"parts exposed one by one", [&] {
                c.pic->repaint(QRect(10, 10, 200, 150));
                c.pic->repaint(QRect(150, 100, 300, 200));
            }},
            {"a corner painted into an image after a change", [&] {
                c.pic->setUpdatesEnabled(false);
                a.Scroll(1);
                QImage corner(64, 48, QImage::Format_RGB32);
                c.pic->render(&corner, QPoint(), QRegion(40, 30, 64, 48));
                c.pic->setUpdatesEnabled(true);
            }},
            {"time selection into an image first", [&] {
                a.setUpdatesEnabled(false);
                a.setSelectionStart(kMonday + 1 + hm(9, 0));
                a.paintToImage(c.pic->size());
                a.setUpdatesEnabled(true);
            }},
        };
        steps.value(step)();
        a.Repaint();
        const QImage screen = onScreen(c.pic);
        QCOMPARE(screen, a.paintToImage(c.pic->size()));
        c.d->core.kept.valid = false; // and it is the view's picture, painted afresh
        QCOMPARE(screen, a.paintToImage(c.pic->size()));
    }

    // A drag by the mouse, past the bottom edge (auto-scroll) to its target: a drop keeps the
    // duration and whether the entry is an all-day entry; errors of the question or of the host
    // never leave the event loop, the gesture ends and an unconfirmed change is undone. E as an
    // occurrence of a series asks for the scope instead, with ConfirmChanges off as well, and
    // raises seriesDateChanged with it, or nothing and back to its place after a cancel.
    void dragEndsInTheStore_data()
    {
        QTest::addColumn<QString>("dsn");
        QTest::addColumn<int>("grip");
        QTest::addColumn<Date>("target");
        QTest::addColumn<QString>("fails"); // "question", "host", "series:<answer>" or nothing
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
        QTest::newRow("series: move, only this one")
            << "E" << int(termineintrag) << thu + hm(14, 0) << "series:Nur diesen Termin"
            << thu + hm(14, 0) << thu + hm(14, 30);
        QTest::newRow("series: resize, the whole series")
            << "E" << int(sizesouth) << wed + hm(12, 0) << "series:Alle Termine der Serie"
            << wed + hm(10, 10) << wed + hm(12, 30);
        QTest::newRow("series: move, Abbrechen")
            << "E" << int(termineintrag) << thu + hm(14, 0) << "series:Abbrechen"
            << wed + hm(10, 10) << wed + hm(10, 40);
        QTest::newRow("series: resize, Escape")
            << "E" << int(sizesouth) << wed + hm(12, 0) << "series:" << wed + hm(10, 10)
            << wed + hm(10, 40);
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
        const bool series = fails.startsWith("series:");
        const int scope = kScopeButtons.indexOf(fails.mid(7));
        SeriesAnswers answers(fails.mid(7));
        AgendaWeek c;
        if (series)
            markSeries(c);
        c.agenda.setConfirmChanges(!series);
        QVERIFY(c.shown());
        int questions = 0;
        setPromptHandler([&](const Prompt &) {
            if (++questions && questionFails)
                throw std::runtime_error("no answer");
            return true;
        });
        QSignalSpy changed(&c.agenda, &ucAgenda::DateChanged);
        QSignalSpy seriesChanged(&c.agenda, &ucAgenda::seriesDateChanged);
        if (fails == "host")
            QObject::connect(&c.agenda, &ucAgenda::DateChanged, &c.agenda,
                             [] { throw Error(InvalidArgument, "host"); });
        const qint32 index = c.d->core.data.store.firstSelectable(dsn);
        const bool allDay = c.d->core.data.store.at(index).btagestermin;
        const QPointF from = c.centre(grip, 0, index), to = c.centre(zeitzelle, target);
        QVERIFY(from.x() >= 0 && to.x() >= 0);
        c.press(from);
        c.drag(from + QPointF(10, 0));
        c.drag(QPointF(to.x(), c.pic->height() - 2));
        c.drag(to);
        c.release(to);

        QCOMPARE(qint32(c.d->core.gesture.state()), 0);
        QVERIFY(!c.d->timerAutoScroll->isActive());
        QCOMPARE(questions, series ? 0 : 1);
        QCOMPARE(answers.texts.size(), series ? 1 : 0);
        const TerminEintrag &a = c.d->core.data.store.at(index);
        QCOMPARE(a.btagestermin, allDay);
        QCOMPARE(QPointF(a.dateStart, a.dateEnd), QPointF(start, end));
        QCOMPARE(QPointF(a.dateStartOrig, a.dateEndOrig), QPointF(start, end));
        QCOMPARE(changed.size(), questionFails || series ? 0 : 1);
        if (!questionFails && !series)
            QCOMPARE(changed.first().mid(0, 3), (QVariantList{dsn, start, end}));
        QCOMPARE(seriesChanged.size(), scope >= 0 ? 1 : 0);
        if (scope >= 0)
            QCOMPARE(seriesChanged.first(),
                     (QVariantList{dsn, QVariant::fromValue(SeriesScope(scope)), start, end}));
        if (series)
            QCOMPARE(answers.texts.first() + " | " + answers.buttons.join('|'),
                     "dlgSeriesScope „Anruf Schmidt“ ist ein Serientermin. Für welche Termine gilt "
                     "die Änderung? | Abbrechen|Alle Termine der Serie|Diesen und alle folgenden "
                     "Termine|Nur diesen Termin");
    }

    // Catches details that outlive the appointments they were told for (Clear, and
    // SetFilledRange, which clears), and details of one key given to another.
    void detailsLastUntilClear()
    {
        AgendaWeek c;
        for (const auto &forget : {std::function<void()>([&] { c.agenda.Clear(); }),
                                   std::function<void()>([&] { c.agenda.SetFilledRange(kMonday, kMonday + 6); })}) {
            c.agenda.setAppointmentDetails("E", kMeeting);
            QCOMPARE(c.agenda.appointmentDetails("E"), kMeeting);
            QCOMPARE(c.agenda.appointmentDetails("e"), AppointmentDetails());
            forget();
            QCOMPARE(c.agenda.appointmentDetails("E"), AppointmentDetails());
        }
    }

    // Catches a classic or printed picture that the details change, a modern one without the
    // sign in the box of the occurrence, a sign elsewhere or for a meeting, and a sign over the
    // text. Keeps the modern week at 1x and 2x for a look.
    void seriesSign_data()
    {
        QTest::addColumn<bool>("modern");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("classic") << false << 1.0;
        QTest::newRow("modern") << true << 1.0;
        QTest::newRow("modern, HiDPI") << true << 2.0;
    }
    void seriesSign()
    {
        QFETCH(bool, modern);
        QFETCH(qreal, ratio);
        AgendaWeek c;
        c.agenda.setPresentation(modern ? Presentation::Modern : Presentation::Classic);
        const QSize size(1000, 700);
        const QImage plain = c.agenda.paintToImage(size, ratio);
        c.agenda.setAppointmentDetails("A", kMeeting);
        const QImage meeting = c.agenda.paintToImage(size, ratio);
        QCOMPARE(meeting, plain);
        c.agenda.setAppointmentDetails("E", kSeries);
        c.agenda.setAppointmentDetails("F", kSeries); // all day
        const QImage series = c.agenda.paintToImage(size, ratio);
        keepPicture(series, QStringLiteral("series-%1-%2x").arg(modern ? "modern" : "classic").arg(ratio));
        const QRect changed = changedArea(series, plain);
        if (!modern) {
            QVERIFY(changed.isNull());
            return;
        }
        QRect boxE, boxF;
        for (const SceneAppointment &a : c.d->core.scene.appointments) {
            if (a.box.text.endsWith("Anruf Schmidt")) {
                boxE = a.box.rect;
                QVERIFY(!a.box.seriesSign.isEmpty() && !a.box.seriesSign.intersects(a.box.textRect));
            }
            if (a.box.text == "Messe Hannover")
                boxF = a.box.rect;
        }
        const QRect inE = QRect(boxE.topLeft() * ratio, boxE.size() * ratio);
        const QRect inF = QRect(boxF.topLeft() * ratio, boxF.size() * ratio);
        QVERIFY(!changed.isNull() && (inE | inF).contains(changed));
        QVERIFY(changed.intersects(inE) && changed.intersects(inF));
    }

    // Catches a tooltip that leaves out the details or changes one without them.
    void tooltipWithDetails()
    {
        AgendaWeek c;
        QVERIFY(c.shown());
        const auto tooltip = [&](const AppointmentDetails &details) {
            c.agenda.setAppointmentDetails("E", details);
            c.agenda.Repaint();
            const qint32 index = c.d->core.data.store.firstSelectable("E");
            c.send(QEvent::MouseMove, c.centre(termineintrag, 0, index), Qt::NoButton, Qt::NoButton);
            return c.pic->toolTip();
        };
        const QString plain = "27.03.2024 10:10 - 27.03.2024 10:40 Anruf Schmidt";
        QCOMPARE(tooltip({}), plain);
        QCOMPARE(tooltip({true, {"Anna Berg", " ", "Ben Koch"}}),
                 plain + "\nSerientermin\nTeilnehmer: Anna Berg, Ben Koch");
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

    // Catches a hook for the host that does not come through the real surface, or comes with
    // the wrong times or key: a double click on free time, Entf on the selected appointment,
    // the context menu over it, whose entries of the host go again before the next opening.
    void hostHooks_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QByteArray>("event");
        QTest::addColumn<QVariantList>("arguments"); // the last ones of the event
        const Date thu = kMonday + 3;
        QTest::newRow("double click on a free slot") << "double" << QByteArray(SIGNAL(newAppointmentRequested(double, double, bool)))
                                                     << QVariantList{thu + hm(9, 0), thu + hm(9, 30), false};
        QTest::newRow("Entf on the selected") << "delete" << QByteArray(SIGNAL(deleteRequested(QString))) << QVariantList{"A"};
        QTest::newRow("Entf without a selection") << "delete none" << QByteArray(SIGNAL(deleteRequested(QString))) << QVariantList();
        QTest::newRow("menu over a box") << "menu" << QByteArray(SIGNAL(contextMenuAboutToShow(QMenu *, QString))) << QVariantList{"A"};
    }
    void hostHooks()
    {
        QFETCH(QString, gesture);
        QFETCH(QByteArray, event);
        QFETCH(QVariantList, arguments);
        AgendaWeek c;
        QVERIFY(c.shown());
        QSignalSpy raised(&c.agenda, event.constData());
        const QPointF box = c.centre(termineintrag, 0, kA);
        if (gesture == "double") {
            const QPointF free = c.centre(zeitzelle, kMonday + 3 + hm(9, 0));
            c.press(free);
            c.release(free);
            c.send(QEvent::MouseButtonDblClick, free, Qt::LeftButton, Qt::LeftButton);
        } else if (gesture.startsWith("delete")) {
            c.agenda.setSelectedDate(gesture.endsWith("none") ? QString() : QStringLiteral("A"));
            QTest::keyClick(c.pic, Qt::Key_Delete);
        } else {
            QMenu *menu = c.d->menu->popUp();
            const auto addOwn = [](QMenu *m) { m->addAction(QStringLiteral("Löschen")); };
            connect(&c.agenda, &ucAgenda::contextMenuAboutToShow, &c.agenda, addOwn);
            for (int opening = 0; opening < 2; ++opening) {
                c.send(QEvent::MouseButtonPress, box, Qt::RightButton, Qt::RightButton);
                menu->hide();
            }
            QCOMPARE(menu->actions().first()->objectName(), QStringLiteral("mnuToday"));
            QCOMPARE(menu->actions().last()->text(), QStringLiteral("Löschen"));
            const QList<QAction *> entries = menu->actions();
            QCOMPARE(std::count_if(entries.begin(), entries.end(), [](QAction *a) { return a->text() == "Löschen"; }), 1);
        }
        QCOMPARE(raised.size(), arguments.isEmpty() ? 0 : 1 + (gesture == "menu"));
        if (!arguments.isEmpty())
            QCOMPARE(raised.last().mid(raised.last().size() - arguments.size()), arguments);
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

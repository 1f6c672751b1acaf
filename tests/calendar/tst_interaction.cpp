// The calendar's wiring on a real control shown offscreen: a drag with its question and event,
// the drag ghost, errors that stay inside and the context menu's commands, at points taken from
// the hit regions of its last paint. Set DAYPLEX_PICTURES to a folder to keep the pictures of
// the drag ghost.
#include "calendar/calendarmenu.h"
#include "calendar/hittest.h"
#include "calendar/ucagenda_p.h"
#include "support/testing.h"

#include <dayplex/error.h>
#include <dayplex/ucagenda.h>

#include <QMenu>
#include <QTimer>
#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

bool same(Date a, Date b) { return std::abs(a - b) < 1e-7; }

const Date kMonday = day(2024, 3, 25);

// The week of 25 March 2024 with a host that delivers A (Monday 09:00-10:30), B (Tuesday
// 10:15-11:00) and T (all day on Tuesday), shown offscreen.
struct Calendar
{
    ucAgenda agenda;
    ucAgendaPrivate *d = ucAgendaPrivate::get(&agenda);
    QWidget *pic = agenda.findChild<QWidget *>(QStringLiteral("pic"));

    Calendar()
    {
        QObject::connect(&agenda, &ucAgenda::NeedDates, &agenda, [this](double from, double to) {
            agenda.SetFilledRange(from, to);
            agenda.AddDate("A", "Teambesprechung", kMonday + hm(9, 0), kMonday + hm(10, 30), false,
                           0, false, 0xFFFFFF, false);
            agenda.AddDate("B", "Kundentermin", kMonday + 1 + hm(10, 15), kMonday + 1 + hm(11, 0),
                           false, 0, false, 0xFFFFFF, false);
            agenda.AddDate("T", "Messe", kMonday + 1, kMonday + 1, true, 0, false, 0xFFFFFF, false);
        });
        agenda.Enabled = true;
        double last = kMonday + 6;
        agenda.SetDisplayedRange(kMonday, &last, false, false);
        agenda.resize(1000, 800);
        agenda.show();
    }

    qint32 indexOf(const QString &dsn) const
    {
        for (qint32 i = 1; i <= d->data.store.count(); ++i)
            if (d->data.store.at(i).dsn == dsn)
                return i;
        return 0;
    }

    // The centre of the first region of a kind that belongs to a record, or else stands for a
    // moment (0 for the splitter); (-1, -1) when there is none.
    QPointF centre(qint32 type, Date moment, qint32 index = 0) const
    {
        for (const HitRegion &r : d->scene.hits.all())
            if (r.lngTyp == type && (index ? r.lngIdx == index : same(r.datVon, moment)))
                return QPointF(r.lngLeft + r.lngWidth / 2.0, r.lngTop + r.lngHeight / 2.0);
        return QPointF(-1, -1);
    }

    void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, pic->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(pic, &event);
    }
    void press(QPointF at) { send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void drag(QPointF at) { send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }
    void release(QPointF at) { send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
};

} // namespace

class tst_Interaction : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setPromptHandler({}); }

    // A drag by the mouse, past the bottom edge (auto-scroll) to its target: a drop keeps the
    // duration and whether the entry is an all-day entry; errors of the question or of the host
    // never leave the event loop, the gesture ends and an unconfirmed change is undone.
    void dragEndsInTheStore_data()
    {
        QTest::addColumn<QString>("dsn");
        QTest::addColumn<int>("grip");
        QTest::addColumn<Date>("target");
        QTest::addColumn<bool>("questionFails");
        QTest::addColumn<bool>("hostFails");
        QTest::addColumn<Date>("start");
        QTest::addColumn<Date>("end");
        const Date thu = kMonday + 3, mon = kMonday;
        QTest::newRow("move, confirmed")
            << "A" << int(termineintrag) << thu + hm(14, 0) << false << false << thu + hm(14, 0)
            << thu + hm(15, 30);
        QTest::newRow("all-day entry onto a time")
            << "T" << int(tagestermin) << thu + hm(10, 0) << false << false << thu + hm(10, 0)
            << thu + hm(10, 0);
        QTest::newRow("resize, the question fails")
            << "A" << int(sizesouth) << mon + hm(12, 0) << true << false << mon + hm(9, 0)
            << mon + hm(10, 30);
        QTest::newRow("resize, the host's handler fails")
            << "A" << int(sizesouth) << mon + hm(12, 0) << false << true << mon + hm(9, 0)
            << mon + hm(12, 30);
    }
    void dragEndsInTheStore()
    {
        QFETCH(QString, dsn);
        QFETCH(int, grip);
        QFETCH(Date, target);
        QFETCH(bool, questionFails);
        QFETCH(bool, hostFails);
        QFETCH(Date, start);
        QFETCH(Date, end);
        Calendar c;
        QVERIFY(QTest::qWaitForWindowExposed(&c.agenda));
        QStringList questions;
        setPromptHandler([&](const Prompt &prompt) {
            questions << prompt.text;
            if (questionFails)
                throw std::runtime_error("no answer");
            return true;
        });
        QSignalSpy changed(&c.agenda, &ucAgenda::DateChanged);
        if (hostFails)
            QObject::connect(&c.agenda, &ucAgenda::DateChanged, &c.agenda,
                             [] { throw Error(InvalidArgument, "host"); });
        const bool allDay = c.d->data.store.at(c.indexOf(dsn)).btagestermin;
        const QPointF from = c.centre(grip, 0, c.indexOf(dsn)), to = c.centre(zeitzelle, target);
        QVERIFY(from.x() >= 0 && to.x() >= 0);
        c.press(from);
        c.drag(from + QPointF(10, 0));
        c.drag(QPointF(to.x(), c.pic->height() - 2));
        c.drag(to);
        c.release(to);

        QCOMPARE(qint32(c.d->gesture.state()), 0);
        QVERIFY(!c.d->timerAutoScroll->isActive());
        QCOMPARE(questions.size(), 1);
        const TerminEintrag &a = c.d->data.store.at(c.indexOf(dsn));
        QCOMPARE(a.btagestermin, allDay);
        QVERIFY(same(a.dateStart, start) && same(a.dateEnd, end));
        QVERIFY(same(a.dateStartOrig, start) && same(a.dateEndOrig, end));
        QCOMPARE(changed.size(), questionFails ? 0 : 1);
        if (!questionFails) {
            QCOMPARE(changed.first().at(0).toString(), dsn);
            QVERIFY(same(changed.first().at(1).toDouble(), start));
            QVERIFY(same(changed.first().at(2).toDouble(), end));
        }
    }

    // The ghost inverts the picture along its frame and nowhere else; drawing it away, or drawing
    // another one, gives back exactly the picture under it.
    void ghostIsInvertedAndUndone()
    {
        Calendar c;
        QVERIFY(QTest::qWaitForWindowExposed(&c.agenda));
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
        QCOMPARE(errorNumber([&] { c.agenda.DrawDragDrop(2147483000, 0, 1000, 0); }), int(Overflow));
    }

    // Catches menu commands that raise the wrong event, date or key.
    void menuCommands_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("event");
        QTest::addColumn<QVariant>("argument");
        QTest::newRow(">> Gantt: date value 0") << "mnuGantt" << "ShowImGantt" << QVariant(0.0);
        QTest::newRow("free slot from the appointment") << "mnuFreienTerminSuchen" << "ShowImGantt"
                                                        << QVariant(kMonday + 1 + hm(10, 15));
        QTest::newRow("Anzeigen names the appointment")
            << "mnuAnzeigen" << "ShowDate" << QVariant("B");
        QTest::newRow("Teilnehmer asks for the filter")
            << "mnuMerkmale" << "ChangeFilter" << QVariant();
    }
    void menuCommands()
    {
        QFETCH(QString, entry);
        QFETCH(QString, event);
        QFETCH(QVariant, argument);
        Calendar c;
        c.agenda.setSelectedDate(QStringLiteral("B"));
        QSignalSpy gantt(&c.agenda, &ucAgenda::ShowImGantt);
        QSignalSpy show(&c.agenda, &ucAgenda::ShowDate);
        QSignalSpy filter(&c.agenda, &ucAgenda::ChangeFilter);
        c.d->menu->prepare();
        QAction *action = c.d->menu->popUp()->findChild<QAction *>(entry);
        QVERIFY(action && action->isEnabled());
        action->trigger();
        QCOMPARE(gantt.size(), int(event == QLatin1String("ShowImGantt")));
        QCOMPARE(show.size(), int(event == QLatin1String("ShowDate")));
        QCOMPARE(filter.size(), int(event == QLatin1String("ChangeFilter")));
        if (!gantt.isEmpty())
            QVERIFY(same(gantt.at(0).at(0).toDouble(), argument.toDouble()));
        if (!show.isEmpty())
            QCOMPARE(show.at(0).at(0), argument);
    }
};

DAYPLEX_TEST_MAIN(tst_Interaction)
#include "tst_interaction.moc"

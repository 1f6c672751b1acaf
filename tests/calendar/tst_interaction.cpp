// The calendar's wiring on a real control shown offscreen: a drag with its question and event,
// the drag ghost, errors that stay inside and the context menu's commands, at points taken from
// the hit regions of its last paint. Set DAYPLEX_PICTURES to a folder to keep the pictures of
// the drag ghost.
#include "calendar/calendarmenu.h"
#include "calendar/hittest.h"
#include "calendar/ucagenda_p.h"
#include "shared/ctools.h"
#include "support/testing.h"

#include <dayplex/error.h>
#include <dayplex/ucagenda.h>

#include <QMenu>
#include <QTimer>
#include <QtTest>
#include <optional>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

bool same(Date a, Date b) { return std::abs(a - b) < 1e-7; }

const Date kMonday = day(2024, 3, 25); // Good Friday is on the 29th
const Date kHalfHour = 30 * kOneMinute;

struct Delivered
{
    const char *dsn, *memo;
    Date start, end;
    bool allDay, readOnly;
};

const Delivered kWeek[] = {
    {"A", "Teambesprechung", kMonday + hm(9, 0), kMonday + hm(10, 30), false, false},
    {"B", "Kundentermin", kMonday + 1 + hm(10, 15), kMonday + 1 + hm(11, 0), false, false},
    {"R", "Betriebsrat", kMonday + 2 + hm(13, 0), kMonday + 2 + hm(14, 0), false, true},
    {"T", "Messe", kMonday + 1, kMonday + 1, true, false},
};

// Answers every change question and keeps the texts asked; may also fail instead.
struct Answer
{
    explicit Answer(bool yes, bool fail = false)
    {
        previous = cTools::setPromptHandler([this, yes, fail](const Prompt &prompt) {
            questions.append(prompt.text);
            if (fail)
                throw std::runtime_error("no answer");
            return yes;
        });
    }
    ~Answer() { cTools::setPromptHandler(previous); }
    QStringList questions;
    cTools::PromptHandler previous;
};

// The calendar of the week of 25 March 2024 with a host that delivers four appointments (and
// the holidays of the year), shown offscreen.
struct Calendar
{
    ucAgenda agenda;
    ucAgendaPrivate *d = ucAgendaPrivate::get(&agenda);
    QWidget *pic = agenda.findChild<QWidget *>(QStringLiteral("pic"));

    explicit Calendar(QSize size = QSize(1000, 800), Date first = kMonday, int days = 7, qint32 align = 0)
    {
        QObject::connect(&agenda, &ucAgenda::NeedDates, &agenda, [this](double from, double to, const QString &) {
            agenda.SetFilledRange(from, to);
            for (const Delivered &e : kWeek)
                agenda.AddDate(QString::fromLatin1(e.dsn), QString::fromUtf8(e.memo), e.start, e.end, e.allDay,
                               0, false, 0xFFFFFF, e.readOnly);
        });
        agenda.Enabled = true;
        agenda.setAlignOnWeekday(align);
        double last = first + days - 1;
        agenda.SetDisplayedRange(first, &last, false, false);
        agenda.resize(size);
        agenda.show();
    }

    bool exposed() { return QTest::qWaitForWindowExposed(&agenda); }

    // The record of a key.
    qint32 index(const QString &dsn) const
    {
        for (qint32 i = 1; i <= d->data.store.count(); ++i)
            if (d->data.store.at(i).dsn == dsn)
                return i;
        return 0;
    }
    const TerminEintrag &entry(const QString &dsn) const { return d->data.store.at(index(dsn)); }

    std::optional<HitRegion> region(qint32 type, const std::function<bool(const HitRegion &)> &which) const
    {
        for (const HitRegion &r : d->scene.hits.all())
            if (r.lngTyp == type && which(r))
                return r;
        return std::nullopt;
    }

    // The region of a kind that stands for a moment: a time cell, a band cell or a day header.
    std::optional<HitRegion> at(qint32 type, Date moment) const
    {
        return region(type, [&](const HitRegion &r) { return same(r.datVon, moment); });
    }
    std::optional<HitRegion> cell(Date moment) const { return at(zeitzelle, moment); }
    std::optional<HitRegion> of(qint32 type, const QString &dsn) const
    {
        const qint32 idx = index(dsn);
        return region(type, [&](const HitRegion &r) { return r.lngIdx == idx; });
    }
    std::optional<HitRegion> splitterBar() const
    {
        return region(splitter, [](const HitRegion &) { return true; });
    }

    void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, pic->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(pic, &event);
    }

    void press(QPointF at, Qt::MouseButton button = Qt::LeftButton) { send(QEvent::MouseButtonPress, at, button, button); }
    void drag(QPointF at) { send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }
    void release(QPointF at, Qt::MouseButton button = Qt::LeftButton) { send(QEvent::MouseButtonRelease, at, button, Qt::NoButton); }
};

QPointF centre(const HitRegion &r) { return QPointF(r.lngLeft + r.lngWidth / 2.0, r.lngTop + r.lngHeight / 2.0); }

// A region the test needs; missing, the test fails at once instead of clicking at (0, 0).
#define REGION(name, lookup)                                                                       \
    const std::optional<HitRegion> name##Found = (lookup);                                         \
    QVERIFY2(name##Found.has_value(), #lookup);                                                    \
    const HitRegion name = *name##Found

// Where a gesture starts or ends: a kind of region and the moment it stands for.
struct Spot
{
    qint32 type;
    Date moment;
};

} // namespace

Q_DECLARE_METATYPE(Spot)

class tst_Interaction : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { cTools::setPromptHandler({}); }

    // A drop keeps the duration, a band cell keeps the time of day, and whether the entry is an
    // all-day entry never changes; while dragging a timed entry the selection shows the new times;
    // the answer to the question decides whether DateChanged is raised or the old times come back.
    void dragAndDrop_data()
    {
        QTest::addColumn<QString>("dsn");
        QTest::addColumn<int>("grip");
        QTest::addColumn<Spot>("target");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<Date>("start"); // 0: stays where it was
        QTest::addColumn<Date>("end");
        const Date thu = kMonday + 3;
        const Spot thu14{zeitzelle, thu + hm(14, 0)}, thu10{zeitzelle, thu + hm(10, 0)};
        const int box = termineintrag, bar = tagestermin;
        QTest::newRow("timed to Thursday 14:00, confirmed")
            << "A" << box << thu14 << true << thu + hm(14, 0) << thu + hm(15, 30);
        QTest::newRow("all-day onto Thursday 10:00")
            << "T" << bar << thu10 << true << thu + hm(10, 0) << thu + hm(10, 0);
    }
    void dragAndDrop()
    {
        QFETCH(QString, dsn);
        QFETCH(int, grip);
        QFETCH(Spot, target);
        QFETCH(bool, yes);
        QFETCH(Date, start);
        QFETCH(Date, end);
        Calendar c;
        QVERIFY(c.exposed());
        Answer answer(yes);
        QSignalSpy changed(&c.agenda, &ucAgenda::DateChanged);
        const TerminEintrag before = c.entry(dsn);
        const bool fixed = before.breadonly || before.blnfeiertag;
        const bool ghost = !fixed && !before.btagestermin && target.type == zeitzelle;
        REGION(from, c.of(grip, dsn));
        REGION(to, c.at(target.type, target.moment));
        c.press(centre(from));
        c.drag(centre(from) + QPointF(10, 0));
        if (fixed)
            QVERIFY(qint32(c.d->gesture.state()) == 0 || qint32(c.d->gesture.state()) == 4);
        else
            QCOMPARE(qint32(c.d->gesture.state()), before.btagestermin ? 3 : 2);
        c.drag(centre(to));
        if (ghost) {
            QVERIFY(same(c.agenda.SelectionStart(), target.moment));
            QVERIFY(same(c.agenda.SelectionEnd(), target.moment + before.dateEnd - before.dateStart));
        }
        c.release(centre(to));

        const bool moved = start != 0;
        const TerminEintrag &after = c.entry(dsn);
        QVERIFY(same(after.dateStart, moved ? start : before.dateStart));
        QVERIFY(same(after.dateEnd, moved ? end : before.dateEnd));
        QVERIFY(same(after.dateStartOrig, after.dateStart) && same(after.dateEndOrig, after.dateEnd));
        QCOMPARE(after.btagestermin, before.btagestermin);
        QCOMPARE(answer.questions.size(), 1);
        QCOMPARE(changed.size(), moved ? 1 : 0);
        if (moved) {
            QCOMPARE(changed.first().at(0).toString(), dsn);
            QVERIFY(same(changed.first().at(1).toDouble(), start) && same(changed.first().at(2).toDouble(), end));
        }
        if (ghost)
            QCOMPARE(c.agenda.SelectionStart(), 0.0);
        QCOMPARE(qint32(c.d->gesture.state()), 0);
    }

    // The ghost inverts the picture along its frame and nowhere else; drawing it away, or drawing
    // another one, gives back exactly the picture under it.
    void ghostIsInvertedAndUndone()
    {
        Calendar c;
        QVERIFY(c.exposed());
        REGION(bar, c.splitterBar());
        const QImage before = c.pic->grab().toImage();
        const qint32 y = c.d->scene.grid.firstRowTop() + 5 * c.d->scene.grid.geo.lngZeilenhoehe + 7;
        c.press(centre(bar));
        c.drag(QPointF(centre(bar).x(), y));
        const QImage ghost = c.pic->grab().toImage();
        keepPicture(ghost, QStringLiteral("splitter-ghost"));
        const qint32 h = c.d->scene.grid.geo.lngSplitterHoehe;
        const qint32 right = c.pic->width() - 1;
        const auto inverted = [&](int px, int py) { return ghost.pixel(px, py) == (before.pixel(px, py) ^ 0x00FFFFFFu); };
        const auto unchanged = [&](int px, int py) { return ghost.pixel(px, py) == before.pixel(px, py); };
        for (int x : {0, 5, 200, right - 1}) {
            QVERIFY2(inverted(x, y), qPrintable(QString::number(x)));
            QVERIFY2(inverted(x, y + h), qPrintable(QString::number(x)));
            QVERIFY(unchanged(x == 0 ? 1 : x, y - 1));
            QVERIFY(unchanged(x == 0 ? 1 : x, y + h + 1));
        }
        QVERIFY(inverted(0, y + 1));
        QVERIFY(unchanged(5, y + 1));

        // Replaced by another ghost, and then taken away.
        c.agenda.DrawDragDrop(40, 60, 100, 30);
        const QImage moved = c.pic->grab().toImage();
        keepPicture(moved, QStringLiteral("ghost-box"));
        QCOMPARE(moved.pixel(5, y), before.pixel(5, y));
        QCOMPARE(moved.pixel(70, 60), before.pixel(70, 60) ^ 0x00FFFFFFu);
        QCOMPARE(moved.pixel(140, 75), before.pixel(140, 75) ^ 0x00FFFFFFu);
        QCOMPARE(moved.pixel(70, 75), before.pixel(70, 75));
        c.agenda.DrawDragDrop(0, 0, 0, 0);
        QCOMPARE(c.pic->grab().toImage(), before);
        c.release(QPointF(centre(bar).x(), y));
        QCOMPARE(errorNumber([&] { c.agenda.DrawDragDrop(2147483000, 0, 1000, 0); }), int(Overflow));
    }

    // Errors of the host or of the question never leave the event loop; the gesture ends and an
    // unconfirmed change is undone.
    void errorsStayInsideTheControl_data()
    {
        QTest::addColumn<bool>("questionFails");
        QTest::addColumn<bool>("committed");
        QTest::newRow("question fails") << true << false;
        QTest::newRow("host handler of DateChanged fails") << false << true;
    }
    void errorsStayInsideTheControl()
    {
        QFETCH(bool, questionFails);
        QFETCH(bool, committed);
        Calendar c;
        QVERIFY(c.exposed());
        Answer answer(true, questionFails);
        QObject::connect(&c.agenda, &ucAgenda::DateChanged, &c.agenda, [] { throw Error(InvalidArgument, "host"); });
        REGION(grip, c.of(sizesouth, "A"));
        REGION(target, c.cell(kMonday + hm(12, 0)));
        c.press(centre(grip));
        c.drag(QPointF(centre(target).x(), c.pic->height() - 2));
        c.drag(centre(target));
        c.release(centre(target));
        QCOMPARE(qint32(c.d->gesture.state()), 0);
        QVERIFY(!c.d->timerAutoScroll->isActive());
        const TerminEintrag &a = c.entry("A");
        const Date end = committed ? kMonday + hm(12, 30) : kMonday + hm(10, 30);
        QVERIFY(same(a.dateEnd, end));
        QVERIFY(same(a.dateEndOrig, end));
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
        QTest::newRow("Anzeigen names the appointment") << "mnuAnzeigen" << "ShowDate" << QVariant("B");
        QTest::newRow("Teilnehmer asks for the filter") << "mnuMerkmale" << "ChangeFilter" << QVariant();
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

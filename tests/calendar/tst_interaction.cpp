// The calendar under the mouse and the keyboard: selecting, moving, resizing, the splitter,
// the drag ghost, scrolling and auto-scrolling, driven on a real control shown offscreen at
// points taken from the hit regions of its last paint. Set DAYPLEX_PICTURES to a folder to
// keep the rendered pictures of the drag ghost for a look.
#include "calendar/hittest.h"
#include "calendar/ucagenda_p.h"
#include "shared/ctools.h"
#include "support/testing.h"

#include <dayplex/error.h>
#include <dayplex/ucagenda.h>

#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QtTest>
#include <optional>

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

bool same(Date a, Date b) { return std::abs(a - b) < 1e-7; }

void keep(const QImage &image, const QString &name)
{
    const QString dir = qEnvironmentVariable("DAYPLEX_PICTURES");
    if (!dir.isEmpty())
        image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

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
    void hover(QPointF at) { send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
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

QRect barPart(QScrollBar *bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

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
        const Date wed = kMonday + 2, thu = kMonday + 3;
        const Spot thu14{zeitzelle, thu + hm(14, 0)}, thu10{zeitzelle, thu + hm(10, 0)};
        const int box = termineintrag, bar = tagestermin;
        QTest::newRow("timed to Thursday 14:00, confirmed")
            << "A" << box << thu14 << true << thu + hm(14, 0) << thu + hm(15, 30);
        QTest::newRow("timed to Thursday 14:00, refused") << "A" << box << thu14 << false << 0.0 << 0.0;
        QTest::newRow("timed 10:15 onto the band of Wednesday")
            << "B" << box << Spot{tageszelle, wed} << true << wed + hm(10, 15) << wed + hm(11, 0);
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

    // Catches an Escape key that does not reach the gesture: the move stays running, is
    // committed or asked about when the still-held button is released.
    void escapeCancelsTheGesture()
    {
        Calendar c;
        QVERIFY(c.exposed());
        Answer answer(true);
        QSignalSpy changed(&c.agenda, &ucAgenda::DateChanged);
        const Date start = c.entry("A").dateStart;
        REGION(from, c.of(termineintrag, "A"));
        REGION(to, c.cell(kMonday + 3 + hm(14, 0)));
        c.press(centre(from));
        c.drag(centre(from) + QPointF(10, 0));
        c.drag(centre(to));
        QTest::keyClick(c.pic, Qt::Key_Escape);
        QCOMPARE(qint32(c.d->gesture.state()), 0);
        c.drag(centre(to));
        c.release(centre(to));
        QVERIFY(same(c.entry("A").dateStart, start));
        QCOMPARE(answer.questions.size(), 0);
        QCOMPARE(changed.size(), 0);
        QCOMPARE(c.agenda.SelectionStart(), 0.0);
    }

    // The end snaps to the end of the slot under the mouse, the start to its start; an end dragged
    // above the start is raised to it by the next paint.
    void resizeFromTheTimeBar_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<Date>("over"); // 0: released where pressed
        QTest::addColumn<bool>("yes");
        QTest::addColumn<Date>("start");
        QTest::addColumn<Date>("end");
        QTest::addColumn<int>("events");
        const Date mon = kMonday;
        QTest::newRow("end above the start") << int(sizesouth) << mon + hm(8, 0) << true << mon + hm(9, 0) << mon + hm(9, 0) << 1;
        QTest::newRow("refused") << int(sizesouth) << mon + hm(11, 0) << false << mon + hm(9, 0) << mon + hm(10, 30) << 0;
    }
    void resizeFromTheTimeBar()
    {
        QFETCH(int, zone);
        QFETCH(Date, over);
        QFETCH(bool, yes);
        QFETCH(Date, start);
        QFETCH(Date, end);
        QFETCH(int, events);
        Calendar c;
        QVERIFY(c.exposed());
        Answer answer(yes);
        QSignalSpy changed(&c.agenda, &ucAgenda::DateChanged);
        REGION(grip, c.of(zone, "A"));
        c.press(centre(grip));
        QCOMPARE(qint32(c.d->gesture.state()), zone == sizenorth ? 5 : 6);
        QPointF at = centre(grip);
        if (over != 0) {
            REGION(target, c.cell(over));
            at = centre(target);
            c.drag(at);
        }
        c.release(at);
        const TerminEintrag &a = c.entry("A");
        QVERIFY(same(a.dateStart, start));
        QVERIFY(same(a.dateEnd, end));
        QVERIFY(same(a.dateEndOrig, end));
        QCOMPARE(changed.size(), events);
        QCOMPARE(answer.questions.size(), over == 0 ? 0 : 1);
        if (events)
            QVERIFY(same(changed.first().at(2).toDouble(), end));
        QCOMPARE(c.agenda.SelectionStart(), 0.0);
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
        keep(ghost, QStringLiteral("splitter-ghost"));
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
        keep(moved, QStringLiteral("ghost-box"));
        QCOMPARE(moved.pixel(5, y), before.pixel(5, y));
        QCOMPARE(moved.pixel(70, 60), before.pixel(70, 60) ^ 0x00FFFFFFu);
        QCOMPARE(moved.pixel(140, 75), before.pixel(140, 75) ^ 0x00FFFFFFu);
        QCOMPARE(moved.pixel(70, 75), before.pixel(70, 75));
        c.agenda.DrawDragDrop(0, 0, 0, 0);
        QCOMPARE(c.pic->grab().toImage(), before);
        c.release(QPointF(centre(bar).x(), y));
        QCOMPARE(errorNumber([&] { c.agenda.DrawDragDrop(2147483000, 0, 1000, 0); }), int(Overflow));
    }

    // The double click shows the selected appointment (ShowDate) and never asks for a new one.
    void doubleClickShowsTheSelectedAppointment_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("dsn"); // empty: an empty time cell
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("appointment") << int(termineintrag) << "A" << QStringList{"A"};
        QTest::newRow("empty cell after a selected appointment") << int(zeitzelle) << "" << QStringList{};
    }
    void doubleClickShowsTheSelectedAppointment()
    {
        QFETCH(int, type);
        QFETCH(QString, dsn);
        QFETCH(QStringList, shown);
        Calendar c;
        QVERIFY(c.exposed());
        c.agenda.setSelectedDate("B");
        QSignalSpy showSpy(&c.agenda, &ucAgenda::ShowDate);
        QSignalSpy newSpy(&c.agenda, &ucAgenda::NewDate);
        REGION(target, dsn.isEmpty() ? c.cell(kMonday + hm(15, 0)) : c.of(type, dsn));
        const QPointF at = centre(target);
        c.press(at);
        c.release(at);
        c.send(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
        c.release(at);
        QStringList keys;
        for (const QVariantList &args : showSpy)
            keys.append(args.at(0).toString());
        QCOMPARE(keys, shown);
        QCOMPARE(newSpy.size(), 0);
    }

    // Below the lowest visible row the view follows one row per key press, and the last slot of
    // the day is as far as the selection goes.
    void downKeyScrollsOneRowAtATime()
    {
        Calendar c(QSize(1000, 500));
        QVERIFY(c.exposed());
        const Date lowest = c.d->scene.lastVisibleTime;
        QVERIFY(lowest < hm(23, 30));
        c.agenda.setSelectionStart(kMonday + lowest);
        c.agenda.setSelectionEnd(kMonday + lowest + kHalfHour);
        QTest::keyClick(&c.agenda, Qt::Key_Down);
        QVERIFY(same(c.agenda.FirstTime(), hm(8, 30)));
        QVERIFY(same(c.d->scene.lastVisibleTime, lowest + kHalfHour));
        for (int i = 0; i < 48; ++i)
            QTest::keyClick(&c.agenda, Qt::Key_Down);
        QVERIFY(same(c.agenda.SelectionStart(), kMonday + hm(23, 30)));
        QVERIFY(same(c.d->scene.lastVisibleTime, hm(23, 30)));
        QVERIFY(c.cell(kMonday + hm(23, 30)).has_value());
    }

    // Below the grid the view scrolls a row per tick until the rest of the day and two rows fit;
    // back over the grid it stops at once.
    void autoScrollRunsUntilTheDayFits()
    {
        Calendar c(QSize(1000, 500));
        QVERIFY(c.exposed());
        REGION(from, c.cell(kMonday + hm(14, 0)));
        c.press(centre(from));
        const QPointF bottom(centre(from).x(), c.pic->height() - 3);
        c.drag(bottom);
        QVERIFY(c.d->timerAutoScroll->isActive());
        // The real timer ticks.
        QTRY_VERIFY(c.agenda.FirstTime() > hm(8, 0) + kOneMinute);
        c.drag(centre(from));
        QVERIFY(!c.d->timerAutoScroll->isActive());

        c.agenda.setFirstTime(hm(8, 0));
        c.agenda.Repaint();
        c.drag(bottom);
        Date expected = hm(8, 0);
        int ticks = 0;
        while (c.d->timerAutoScroll->isActive() && ticks < 100) {
            const bool fits = c.agenda.isLastRowVisible();
            c.d->autoScrollTick();
            if (!fits)
                expected += kHalfHour;
            QVERIFY(same(c.agenda.FirstTime(), expected));
            ++ticks;
        }
        QVERIFY(!c.d->timerAutoScroll->isActive());
        QVERIFY(c.agenda.isLastRowVisible());
        c.agenda.setFirstTime(expected - kHalfHour);
        c.agenda.Repaint();
        QVERIFY(!c.agenda.isLastRowVisible());
        c.release(bottom);
    }

    // Scroll moves the days by one for 1 and -1 and by the displayed count otherwise; a page is
    // aligned on the align weekday.
    void scrollDays_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<QVariant>("direction");
        QTest::addColumn<Date>("first");
        QTest::addColumn<Date>("last");
        QTest::addColumn<int>("error");
        const Date mon = day(2024, 3, 4);
        QTest::newRow("one day forward") << 7 << QVariant(1) << mon + 1 << mon + 7 << 0;
        QTest::newRow("one day back") << 7 << QVariant(-1) << mon - 1 << mon + 5 << 0;
        QTest::newRow("a page back, aligned") << 7 << QVariant(-7) << day(2024, 2, 26) << day(2024, 3, 3) << 0;
        QTest::newRow("0 shows the same days") << 7 << QVariant(0) << mon << mon + 6 << 0;
        QTest::newRow("2 with five days: a page, not aligned away from its first day")
            << 5 << QVariant(2) << mon + 5 << mon + 9 << 0;
        QTest::newRow("text 1") << 7 << QVariant("1") << mon + 1 << mon + 7 << 0;
        QTest::newRow("not a number") << 7 << QVariant("vor") << mon << mon + 6 << int(TypeMismatch);
        QTest::newRow("empty counts as 0") << 7 << QVariant() << mon << mon + 6 << 0;
    }
    void scrollDays()
    {
        QFETCH(int, days);
        QFETCH(QVariant, direction);
        QFETCH(Date, first);
        QFETCH(Date, last);
        QFETCH(int, error);
        Calendar c(QSize(1000, 800), day(2024, 3, 4), days, 2);
        QVERIFY(c.exposed());
        QCOMPARE(errorNumber([&] { c.agenda.Scroll(direction); }), error);
        QVERIFY(same(c.agenda.FirstDay(), first));
        QVERIFY(same(c.agenda.LastDay(), last));
    }

    // The bars are spinners: an arrow steps a day or a row, the trough a page of days or ten rows,
    // the times stop at 00:00 and at the last slot, and the thumb goes back to the middle.
    void barsAreSpinners_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<Date>("firstTime");
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<Date>("firstDay");
        QTest::addColumn<Date>("expectedTime");
        const int addLine = QStyle::SC_ScrollBarAddLine, subLine = QStyle::SC_ScrollBarSubLine;
        const int addPage = QStyle::SC_ScrollBarAddPage, subPage = QStyle::SC_ScrollBarSubPage;
        const Date mon = kMonday, eight = hm(8, 0);
        QTest::newRow("day bar right arrow") << "HScroll" << eight << addLine << 1 << mon + 1 << eight;
        QTest::newRow("day bar left arrow") << "HScroll" << eight << subLine << 1 << mon - 1 << eight;
        QTest::newRow("day bar trough right") << "HScroll" << eight << addPage << 1 << mon + 7 << eight;
        QTest::newRow("day bar trough left") << "HScroll" << eight << subPage << 1 << mon - 7 << eight;
        QTest::newRow("time bar down arrow") << "VScroll" << eight << addLine << 1 << mon << hm(8, 30);
        QTest::newRow("time bar down arrow at 23:00") << "VScroll" << hm(23, 0) << addLine << 1 << mon << hm(23, 30);
        QTest::newRow("time bar down arrow twice at 23:00") << "VScroll" << hm(23, 0) << addLine << 2 << mon << hm(23, 30);
        QTest::newRow("time bar up arrow at 00:00") << "VScroll" << 0.0 << subLine << 1 << mon << 0.0;
        QTest::newRow("time bar trough down") << "VScroll" << eight << addPage << 1 << mon << hm(13, 0);
        QTest::newRow("time bar trough up near midnight") << "VScroll" << hm(3, 0) << subPage << 1 << mon << 0.0;
    }
    void barsAreSpinners()
    {
        QFETCH(QString, bar);
        QFETCH(Date, firstTime);
        QFETCH(int, part);
        QFETCH(int, clicks);
        QFETCH(Date, firstDay);
        QFETCH(Date, expectedTime);
        Calendar c;
        QVERIFY(c.exposed());
        auto *target = c.agenda.findChild<QScrollBar *>(bar);
        QVERIFY(target);
        c.agenda.setFirstTime(firstTime);
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(target, Qt::LeftButton, {}, barPart(target, QStyle::SubControl(part)).center());
        QVERIFY(same(c.agenda.FirstDay(), firstDay));
        QVERIFY(same(c.agenda.LastDay(), firstDay + 6));
        QVERIFY(same(c.agenda.FirstTime(), expectedTime));
        QCOMPARE(target->value(), 50);
        // The surface was painted with the new first row and day.
        QVERIFY(c.cell(firstDay + expectedTime).has_value());
        QVERIFY(!c.cell(firstDay + expectedTime - kHalfHour).has_value());
    }

    // A notch of the wheel is one arrow step, over the grid (a row) and over either bar; partial
    // turns add up. A bar by itself would step three at once, which the spinner reads as a page.
    void wheelStepsLikeTheArrows_data()
    {
        QTest::addColumn<QString>("over");
        QTest::addColumn<QList<int>>("deltas");
        QTest::addColumn<Date>("firstDay");
        QTest::addColumn<Date>("firstTime");
        QTest::newRow("grid, a notch towards the user") << "pic" << QList<int>{-120} << kMonday << hm(8, 30);
        QTest::newRow("grid, two notches away") << "pic" << QList<int>{240} << kMonday << hm(7, 0);
        QTest::newRow("grid, two half notches") << "pic" << QList<int>{-60, -60} << kMonday << hm(8, 30);
        QTest::newRow("grid, half a notch and back") << "pic" << QList<int>{-60, 60, -60} << kMonday << hm(8, 0);
        QTest::newRow("time bar, a notch towards the user") << "VScroll" << QList<int>{-120} << kMonday << hm(8, 30);
        QTest::newRow("day bar, a notch towards the user") << "HScroll" << QList<int>{-120} << kMonday + 1 << hm(8, 0);
        QTest::newRow("day bar, a notch away") << "HScroll" << QList<int>{120} << kMonday - 1 << hm(8, 0);
        // A fling of any size counts a page at most, and the sum of two never overflows.
        const int fling = std::numeric_limits<int>::max();
        QTest::newRow("grid, two flings towards the user") << "pic" << QList<int>{-fling, -fling} << kMonday << hm(18, 0);
        QTest::newRow("grid, two flings away") << "pic" << QList<int>{fling, fling} << kMonday << hm(0, 0);
        QTest::newRow("day bar, a fling towards the user") << "HScroll" << QList<int>{-fling} << kMonday + 10 << hm(8, 0);
        QTest::newRow("time bar, a fling towards the user") << "VScroll" << QList<int>{-fling} << kMonday << hm(13, 0);
    }
    void wheelStepsLikeTheArrows()
    {
        QFETCH(QString, over);
        QFETCH(QList<int>, deltas);
        QFETCH(Date, firstDay);
        QFETCH(Date, firstTime);
        Calendar c;
        QVERIFY(c.exposed());
        QWidget *target = c.agenda.findChild<QWidget *>(over);
        QVERIFY(target);
        const QPointF at = QRectF(target->rect()).center();
        for (int delta : deltas) {
            QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &event);
        }
        QVERIFY(same(c.agenda.FirstDay(), firstDay));
        QVERIFY(same(c.agenda.FirstTime(), firstTime));
    }

    // True exactly when the painted 23:30 row and two more rows fit on the surface.
    void isLastRowVisible_data()
    {
        QTest::addColumn<Date>("firstTime");
        for (int minutes = 8 * 60; minutes <= 23 * 60 + 30; minutes += 30)
            QTest::addRow("first row %02d:%02d", minutes / 60, minutes % 60) << minutes * kOneMinute;
    }
    void isLastRowVisible()
    {
        QFETCH(Date, firstTime);
        Calendar c(QSize(1000, 500));
        QVERIFY(c.exposed());
        c.agenda.setFirstTime(firstTime);
        c.agenda.Repaint();
        const std::optional<HitRegion> last = c.cell(kMonday + hm(23, 30));
        const bool fits = last && last->lngTop + last->lngHeight + 2 * c.d->scene.grid.geo.lngZeilenhoehe < c.pic->height();
        QCOMPARE(c.agenda.isLastRowVisible(), fits);
    }

    // The surface takes the control's area left of the time bar and above the day bar, and the
    // picture is laid out on the surface, not on the whole control; the image paint keeps its size.
    void surfaceAndBarsShareTheControl()
    {
        Calendar c(QSize(700, 400));
        QVERIFY(c.exposed());
        auto *h = c.agenda.findChild<QScrollBar *>(QStringLiteral("HScroll"));
        auto *v = c.agenda.findChild<QScrollBar *>(QStringLiteral("VScroll"));
        QVERIFY(h && v && c.pic);
        QVERIFY(c.agenda.findChild<QTimer *>(QStringLiteral("timerAutoScroll")));
        const int vw = v->width(), hh = h->height();
        QVERIFY(vw > 0 && hh > 0);
        QCOMPARE(c.pic->geometry(), QRect(0, 0, 700 - vw, 400 - hh));
        QCOMPARE(v->geometry(), QRect(700 - vw, 0, vw, 400 - hh));
        QCOMPARE(h->geometry(), QRect(0, 400 - hh, 700 - vw, hh));
        REGION(bar, c.splitterBar());
        QCOMPARE(bar.lngWidth, c.pic->width() - 1);

        c.agenda.resize(900, 600);
        QTRY_COMPARE(c.pic->geometry(), QRect(0, 0, 900 - vw, 600 - hh));
        c.agenda.Repaint();
        REGION(wider, c.splitterBar());
        QCOMPARE(wider.lngWidth, c.pic->width() - 1);

        c.agenda.paintToImage(QSize(1200, 300));
        REGION(image, c.splitterBar());
        QCOMPARE(image.lngWidth, 1199);
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

    // After Clear without a repaint the regions name appointments that are gone; the mouse must
    // neither crash nor act on them.
    void staleRegionsAreIgnored()
    {
        Calendar c;
        QVERIFY(c.exposed());
        Answer answer(true);
        QSignalSpy changed(&c.agenda, &ucAgenda::DateChanged);
        REGION(box, c.of(termineintrag, "A"));
        REGION(grip, c.of(sizesouth, "A"));
        c.agenda.Clear();
        c.hover(centre(grip));
        c.press(centre(grip));
        c.drag(centre(grip) + QPointF(0, 40));
        c.release(centre(grip) + QPointF(0, 40));
        c.press(centre(box));
        c.drag(centre(box) + QPointF(30, 0));
        c.release(centre(box) + QPointF(30, 0));
        QCOMPARE(changed.size(), 0);
        QCOMPARE(answer.questions.size(), 0);
        QCOMPARE(qint32(c.d->gesture.state()), 0);
    }
};

QTEST_MAIN(tst_Interaction)
#include "tst_interaction.moc"

// What the calendar paints: colours, boxes, bars and hit regions of known scenes. Set
// DAYPLEX_PICTURES to a folder to keep the rendered pictures for a look.
#include "calendar/calendarpainter.h"
#include "calendar/ucagenda_p.h"
#include "shared/cdc.h"
#include "shared/clock.h"
#include "support/testing.h"

#include <dayplex/ucagenda.h>

#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

QColor colourOf(qint32 windowsColour) { return cDC::toQColor(windowsColour); }

QVector<HitRegion> regionsOf(ucAgenda &agenda, qint32 type, qint32 index = -1)
{
    QVector<HitRegion> found;
    for (const HitRegion &r : ucAgendaPrivate::get(&agenda)->scene.hits.all()) {
        if (r.lngTyp == type && (index < 0 || r.lngIdx == index))
            found.append(r);
    }
    return found;
}

QPoint centre(const HitRegion &r) { return QPoint(r.lngLeft + r.lngWidth / 2, r.lngTop + r.lngHeight / 2); }

const Date kMonday = day(2024, 3, 25); // Easter week: Good Friday on the 29th

// The week the pictures show, with a host that delivers a known set of appointments; record
// indices follow the holidays of 2024 (nine), so the first appointment is record 10.
struct Week
{
    ucAgenda agenda;

    explicit Week(int days = 7, Date first = kMonday)
    {
        QObject::connect(&agenda, &ucAgenda::NeedDates, &agenda, [this](double from, double to, const QString &) {
            agenda.SetFilledRange(from, to);
            add("A", "Teambesprechung", kMonday + hm(9, 0), kMonday + hm(11, 0), 0xF0D0A0);
            add("B", "Kundentermin Müller", kMonday + hm(10, 0), kMonday + hm(12, 0), 0xC0E0C0);
            add("C", "Mittagessen", kMonday + hm(11, 0), kMonday + hm(13, 0), 0xA0E0FF);
            agenda.AddDate("D", "Angebot verschickt", kMonday + 1 + hm(14, 0), kMonday + 1 + hm(15, 30), false,
                           0, true, 0xC0C0FF, false);
            add("E", "Anruf Schmidt", kMonday + 2 + hm(10, 10), kMonday + 2 + hm(10, 40), 0xE0E0A0);
            agenda.AddDate("F", "Messe Hannover", kMonday + 1, kMonday + 2, true, 0, false, 0x80FFFF, false);
            agenda.AddDate("G", "Urlaub Weber", kMonday + 1, kMonday + 1, true, 0, false, 0xFFC0C0, false);
            add("H", "Projekt-Review", kMonday + 3 + hm(13, 0), kMonday + 3 + hm(14, 0), 0xD0D0D0);
        });
        agenda.Enabled = true;
        agenda.setAlignOnWeekday(2);
        double last = first + days - 1;
        agenda.SetDisplayedRange(first, &last, false, true);
    }

    void add(const char *dsn, const char *memo, Date from, Date to, qint32 colour)
    {
        agenda.AddDate(QString::fromLatin1(dsn), QString::fromUtf8(memo), from, to, false, 0, false, colour, false);
    }
};

constexpr qint32 kA = 10, kB = 11;

} // namespace

// A layout entry as the layout dialog writes it, nested into an options string.
static QString layoutOptions(const QString &key, const QString &kindAndValue)
{
    const QString layout = QStringLiteral("cContainer 1\n") + key + QLatin1Char(':') + kindAndValue + QLatin1Char('\n');
    return QStringLiteral("cContainer 1\nstrLayoutScreenCalendar:s%1=%2\n").arg(layout.size()).arg(layout);
}

class tst_CalendarPicture : public QObject
{
    Q_OBJECT

private slots:
    void init() { setCurrentDateTimeForTesting(kMonday + 2 + hm(10, 17)); }
    void cleanup() { setCurrentDateTimeForTesting(0); }

    // Overlapping appointments are drawn side by side in their sub-columns, in their own colours.
    void overlappingBoxesShareTheColumn()
    {
        Week week;
        const QImage image = week.agenda.paintToImage(QSize(1000, 700));
        keepPicture(image, QStringLiteral("week"));
        const auto a = regionsOf(week.agenda, termineintrag, kA);
        const auto b = regionsOf(week.agenda, termineintrag, kB);
        QVERIFY(a.size() == 1 && b.size() == 1);
        QVERIFY(b[0].lngLeft > a[0].lngLeft + a[0].lngWidth);
        QCOMPARE(image.pixelColor(centre(a[0]) + QPoint(0, a[0].lngHeight / 4)), colourOf(0xF0D0A0));
        QCOMPARE(image.pixelColor(centre(b[0]) + QPoint(0, b[0].lngHeight / 4)), colourOf(0xC0E0C0));
        // The boxes are framed in black.
        QCOMPARE(image.pixelColor(a[0].lngLeft, a[0].lngTop + 5), QColor(Qt::black));
    }

    // Headers use the short date, or the day number alone in narrow columns.
    void headers_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("firstHeader");
        QTest::newRow("week") << 7 << 1000 << "Mo, 25.03.2024";
        QTest::newRow("one day") << 1 << 600 << "Mo, 25.03.2024";
        QTest::newRow("fourteen narrow days") << 14 << 700 << "Mo, 25.";
    }
    void headers()
    {
        QFETCH(int, days);
        QFETCH(int, width);
        QFETCH(QString, firstHeader);
        Week week(days);
        const QImage image = week.agenda.paintToImage(QSize(width, 700));
        keepPicture(image, QStringLiteral("days-%1").arg(days));
        const GridGeometry &geo = ucAgendaPrivate::get(&week.agenda)->scene.grid.geo;
        QCOMPARE(regionsOf(week.agenda, tageszellekopf).size(), days);
        const bool narrow = 10 * geo.lngZeichenbreite > geo.lngSpaltenBreite;
        QCOMPARE(dayHeaderText(kMonday, narrow), firstHeader);
    }

    // Catches a stale picture and a wrong partial repaint: every change of what the view shows
    // paints it again, the rest draws the kept picture, and either way the picture is the one a
    // full paint gives.
    void keptPicture_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("paintsAgain");
        for (const char *same : {"nothing", "Repaint", "DrawDragDrop", "MousePointer"})
            QTest::newRow(same) << same << false;
        for (const char *changed : {"same range again (cells coloured anew)", "AddDate", "Clear", "Refresh", "Scroll", "setOptions", "setFirstTime",
                                    "setDayInfoHeight", "setMinDateHeight", "time selection", "whole days",
                                    "SelectedDate", "backcolor", "presentation", "the next day",
                                    "a record's times"})
            QTest::newRow(changed) << changed << true;
    }
    void keptPicture()
    {
        QFETCH(QString, change);
        QFETCH(bool, paintsAgain);
        Week week;
        ucAgenda &a = week.agenda;
        ucAgendaPrivate *d = ucAgendaPrivate::get(&a);
        const QSize size(900, 600);
        a.setSelectionStart(kMonday + 1 + hm(9, 0));
        a.paintToImage(size);
        const QHash<QString, std::function<void()>> changes{
            {"nothing", [] {}},
            {"Repaint", [&] { a.Repaint(); }},
            {"DrawDragDrop", [&] { a.DrawDragDrop(10, 10, 100, 50); }},
            {"same range again (cells coloured anew)", [&] { double last = a.LastDay(); a.SetDisplayedRange(a.FirstDay(), &last, false, false); }},
            {"MousePointer", [&] { a.MousePointer(QStringLiteral("SizeN")); }},
            {"AddDate", [&] { a.AddDate("Z", "Neu", kMonday + hm(15, 0), kMonday + hm(16, 0), false, 0, false, 0, false); }},
            {"Clear", [&] { a.Clear(); }},
            {"Refresh", [&] { a.Refresh(); }},
            {"Scroll", [&] { a.Scroll(1); }},
            {"setOptions", [&] { a.setOptions(layoutOptions("rgbArbeitszeit", "l=255")); }},
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
        QCOMPARE(!(d->kept.valid && d->viewKey(size, 1) == d->kept.key), paintsAgain);
        const QImage kept = a.paintToImage(size).copy();
        d->kept.valid = false;
        QCOMPARE(kept, a.paintToImage(size));
    }
};

DAYPLEX_TEST_MAIN(tst_CalendarPicture)
#include "tst_calendarpicture.moc"

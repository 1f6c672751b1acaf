// What the calendar paints: colours, boxes, bars and hit regions of known scenes. Set
// DAYPLEX_PICTURES to a folder to keep the rendered pictures for a look.
#include "calendar/calendarpainter.h"
#include "calendar/ucagenda_p.h"
#include "shared/cdc.h"
#include "shared/clock.h"
#include "shared/readablecolours.h"
#include "support/testing.h"

#include <dayplex/ucagenda.h>

#include <QtTest>

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

QColor colourOf(qint32 windowsColour) { return cDC::toQColor(windowsColour); }

void keep(const QImage &image, const QString &name)
{
    const QString dir = qEnvironmentVariable("DAYPLEX_PICTURES");
    if (!dir.isEmpty())
        image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

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

constexpr qint32 kA = 10, kB = 11, kC = 12, kD = 13, kE = 14, kF = 15, kG = 16, kH = 17;

void send(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// The fill of a box (its inside next to the bottom right corner, where no text goes) and the
// colour of its text area that stands out most against it.
struct BoxColours
{
    qint32 fill = 0;
    double textContrast = 1;
};
BoxColours paintedColours(const QImage &image, const HitRegion &box)
{
    const auto windows = [](QRgb c) { return qint32(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16)); };
    BoxColours colours;
    colours.fill = windows(image.pixel(box.lngLeft + box.lngWidth - 3, box.lngTop + box.lngHeight - 3));
    for (int y = box.lngTop + 2; y < box.lngTop + box.lngHeight - 2; ++y)
        for (int x = box.lngLeft + 2; x < box.lngLeft + box.lngWidth - 2; ++x)
            colours.textContrast = std::max(colours.textContrast, contrastRatio(windows(image.pixel(x, y)), colours.fill));
    return colours;
}

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
        keep(image, QStringLiteral("week"));
        const auto a = regionsOf(week.agenda, termineintrag, kA), b = regionsOf(week.agenda, termineintrag, kB),
                   c = regionsOf(week.agenda, termineintrag, kC);
        QCOMPARE(a.size(), 1);
        QCOMPARE(b.size(), 1);
        QCOMPARE(c.size(), 1);
        QCOMPARE(c[0].lngLeft, a[0].lngLeft); // C reuses A's sub-column
        QVERIFY(b[0].lngLeft > a[0].lngLeft + a[0].lngWidth);
        QCOMPARE(b[0].lngWidth, a[0].lngWidth);
        QCOMPARE(image.pixelColor(centre(a[0]) + QPoint(0, a[0].lngHeight / 4)), colourOf(0xF0D0A0));
        QCOMPARE(image.pixelColor(centre(b[0]) + QPoint(0, b[0].lngHeight / 4)), colourOf(0xC0E0C0));
        // The boxes are framed in black.
        QCOMPARE(image.pixelColor(a[0].lngLeft, a[0].lngTop + 5), QColor(Qt::black));
    }

    // Cells show working time, free time and pauses in the layout colours.
    void cellColoursFollowWorkingTime_data()
    {
        QTest::addColumn<Date>("moment");
        QTest::addColumn<bool>("working");
        QTest::newRow("Friday 09:00 (holiday, but working hours)") << kMonday + 4 + hm(9, 0) << true;
        QTest::newRow("Tuesday 12:30 pause") << kMonday + 1 + hm(12, 30) << false;
        QTest::newRow("Tuesday 17:30 working") << kMonday + 1 + hm(17, 30) << true;
        QTest::newRow("Tuesday 18:00 free") << kMonday + 1 + hm(18, 0) << false;
        QTest::newRow("Saturday 10:00 free") << kMonday + 5 + hm(10, 0) << false;
        QTest::newRow("Sunday 10:00 free (changeover day)") << kMonday + 6 + hm(10, 0) << false;
    }
    void cellColoursFollowWorkingTime()
    {
        QFETCH(Date, moment);
        QFETCH(bool, working);
        Week week;
        const QImage image = week.agenda.paintToImage(QSize(1000, 900));
        const auto cells = regionsOf(week.agenda, zeitzelle);
        const auto it = std::find_if(cells.begin(), cells.end(), [&](const HitRegion &r) {
            return qAbs(r.datVon - moment) < 1e-6;
        });
        QVERIFY(it != cells.end());
        // Right of the strip, near the cell's right edge, where no appointment lies.
        const QPoint p(it->lngLeft + it->lngWidth - 4, it->lngTop + it->lngHeight / 2);
        QCOMPARE(image.pixelColor(p), colourOf(working ? 0xFFFFFF : cTools::DefaultFreeTimeColor()));
    }

    // A 10:10-10:40 appointment covers the 10:00 and 10:30 rows but its bar shows the true times.
    void inexactAppointmentHasExactTimeBar()
    {
        Week week;
        week.agenda.paintToImage(QSize(1000, 700));
        const auto box = regionsOf(week.agenda, termineintrag, kE);
        const auto north = regionsOf(week.agenda, sizenorth, kE), south = regionsOf(week.agenda, sizesouth, kE);
        QCOMPARE(box.size(), 1);
        QCOMPARE(north.size(), 1);
        QCOMPARE(south.size(), 1);
        const CalendarGrid &grid = ucAgendaPrivate::get(&week.agenda)->scene.grid;
        const qint32 rowHeight = grid.geo.lngZeilenhoehe;
        QCOMPARE(box[0].lngTop, grid.rowTop(20));
        QCOMPARE(box[0].lngHeight, 4 * rowHeight); // at least MinDateHeight rows
        const qint32 y1 = qint32(std::nearbyint(grid.rowTop(20) + rowHeight / 3.0));
        const qint32 y2 = qint32(std::nearbyint(grid.rowTop(21) + rowHeight / 3.0));
        QCOMPARE(north[0].lngTop, y1);
        QCOMPARE(north[0].lngHeight + south[0].lngHeight, 2 * qint32(std::nearbyint((y2 - y1) / 2.0)));
        QCOMPARE(north[0].lngLeft + north[0].lngWidth, box[0].lngLeft); // the bar is left of the box
        QCOMPARE(north[0].datVon, kMonday + 2 + hm(10, 10));
        QCOMPARE(south[0].datBis, kMonday + 2 + hm(10, 40));
    }

    // All-day entries of one day stack in band rows; the holiday lies in its own day.
    void allDayEntriesStack()
    {
        Week week;
        week.agenda.paintToImage(QSize(1000, 700));
        const auto bands = regionsOf(week.agenda, tagestermin);
        const auto byIndex = [&](qint32 index) {
            return *std::find_if(bands.begin(), bands.end(), [&](const HitRegion &r) { return r.lngIdx == index; });
        };
        const HitRegion messe = byIndex(kF), urlaub = byIndex(kG);
        QCOMPARE(urlaub.lngTop, messe.lngTop + messe.lngHeight); // second band row
        QCOMPARE(messe.lngLeft, urlaub.lngLeft);
        const auto holidays = std::count_if(bands.begin(), bands.end(), [](const HitRegion &r) { return r.lngIdx <= 9; });
        QCOMPARE(holidays, 1); // Good Friday; Easter Monday is outside the week
        const auto headers = regionsOf(week.agenda, tageszellekopf);
        QCOMPARE(byIndex(2).lngLeft, headers[4].lngLeft); // Karfreitag is the second holiday of 2024
    }

    // A selected appointment shows the selection colour; a done one keeps its colours.
    void selectedAndDoneAppointments()
    {
        Week week;
        week.agenda.setSelectedDate(QStringLiteral("H"));
        const QImage image = week.agenda.paintToImage(QSize(1000, 700));
        keep(image, QStringLiteral("week-selected"));
        const auto h = regionsOf(week.agenda, termineintrag, kH), d = regionsOf(week.agenda, termineintrag, kD);
        QCOMPARE(image.pixelColor(h[0].lngLeft + 3, h[0].lngTop + h[0].lngHeight - 4), colourOf(cTools::DefaultSelectionColor()));
        QCOMPARE(image.pixelColor(d[0].lngLeft + d[0].lngWidth - 4, d[0].lngTop + d[0].lngHeight - 4), colourOf(0xC0C0FF));
    }

    // Today's column has a red frame around its left strip; the other columns have none.
    void todaysStripIsRed()
    {
        Week week;
        const QImage image = week.agenda.paintToImage(QSize(1000, 700));
        const auto cells = regionsOf(week.agenda, zeitzelle);
        const auto cellOf = [&](Date d) {
            return *std::find_if(cells.begin(), cells.end(), [&](const HitRegion &r) { return qAbs(r.datVon - d) < 1e-6; });
        };
        const HitRegion wednesday = cellOf(kMonday + 2 + hm(15, 0)), tuesday = cellOf(kMonday + 1 + hm(15, 0));
        QCOMPARE(image.pixelColor(wednesday.lngLeft, wednesday.lngTop + 3), QColor(Qt::red));
        QCOMPARE(image.pixelColor(tuesday.lngLeft, tuesday.lngTop + 3), QColor(Qt::white));
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
        keep(image, QStringLiteral("days-%1").arg(days));
        const GridGeometry &geo = ucAgendaPrivate::get(&week.agenda)->scene.grid.geo;
        QCOMPARE(regionsOf(week.agenda, tageszellekopf).size(), days);
        const bool narrow = 10 * geo.lngZeichenbreite > geo.lngSpaltenBreite;
        QCOMPARE(dayHeaderText(kMonday, narrow), firstHeader);
    }

    // The grid registers every visible cell with its date and stops at the bottom edge.
    void gridRegionsCoverTheDays()
    {
        Week week;
        week.agenda.paintToImage(QSize(1000, 700));
        const ucAgendaPrivate *d = ucAgendaPrivate::get(&week.agenda);
        const auto cells = regionsOf(week.agenda, zeitzelle);
        QVERIFY(cells.size() % 7 == 0);
        const int rows = cells.size() / 7;
        QCOMPARE(cells.first().datVon, kMonday + hm(8, 0));
        QVERIFY(cells[rows - 1].lngTop <= 700);
        QVERIFY(cells[rows - 1].lngTop + cells[rows - 1].lngHeight > 700);
        QCOMPARE(d->scene.lastVisibleTime, hm(8, 0) + (rows - 1) * hm(0, 30));
        const auto splitters = regionsOf(week.agenda, splitter);
        QCOMPARE(splitters.size(), 1);
        QCOMPARE(splitters[0].lngPrio, 99);
        QCOMPARE(splitters[0].lngTop + splitters[0].lngHeight - 1, d->scene.grid.firstRowTop());
    }

    // A small known scene registers exactly the expected regions, in drawing order.
    void regionsOfASmallScene()
    {
        ucAgenda agenda;
        agenda.setOptions(QStringLiteral("cContainer 1\nblnGermanLegalHolidays:b=0\n"));
        double last = kMonday;
        agenda.SetDisplayedRange(kMonday, &last, false, false);
        agenda.AddDate("X", "Termin", kMonday + hm(8, 0), kMonday + hm(9, 0), false, 0, false, 0xFFFFFF, false);
        agenda.AddDate("Y", "Ganztags", kMonday, kMonday, true, 0, false, 0xFFFFFF, false);
        agenda.paintToImage(QSize(400, 300));
        const ucAgendaPrivate *d = ucAgendaPrivate::get(&agenda);
        const GridGeometry &g = d->scene.grid.geo;
        QVector<qint32> types;
        for (const HitRegion &r : d->scene.hits.all())
            types.append(r.lngTyp);
        // Time labels and cells of each row, header and band cell, splitter, then the
        // appointments in store order: box, start and end zones, all-day bar.
        const int rows = types.count(0);
        QCOMPARE(types.count(zeitzelle), rows);
        QCOMPARE(types.mid(2 * rows), (QVector<qint32>{tageszellekopf, tageszelle, splitter, termineintrag,
                                                       sizenorth, sizesouth, tagestermin}));
        const HitRegion &box = d->scene.hits.at(2 * rows + 4);
        const qint32 m = qint32(std::nearbyint(g.lngZeichenbreite / 3.0));
        QCOMPARE(box.lngLeft, g.lngZeitspalteBreite + g.lngZeichenbreite);
        QCOMPARE(box.lngWidth, qint32(std::nearbyint(g.lngSpaltenBreite - g.lngZeichenbreite - 3.0 * m)));
        QCOMPARE(box.lngTop, d->scene.grid.firstRowTop());
        QCOMPARE(box.lngHeight, 4 * g.lngZeilenhoehe); // at least MinDateHeight rows
        const HitRegion &band = d->scene.hits.at(2 * rows + 7);
        QCOMPARE(band.lngLeft, g.lngZeitspalteBreite);
        QCOMPARE(band.lngWidth, g.lngSpaltenBreite);
        QCOMPARE(band.lngTop, g.lngKopfhoehe);
        QCOMPARE(band.datVon, kMonday);
    }

    // Catches a band that hides entries without a word in the modern presentation, a marker
    // that names the wrong entries or selects none, and markers leaking into the classic look.
    void hiddenAllDayEntriesGetAMarker_data()
    {
        QTest::addColumn<bool>("modern");
        QTest::newRow("classic: the second row is clipped away") << false;
        QTest::newRow("modern: +1 on Tuesday") << true;
    }
    void hiddenAllDayEntriesGetAMarker()
    {
        QFETCH(bool, modern);
        Week week;
        week.agenda.setDayInfoHeight(1); // Tuesday has two all-day entries
        week.agenda.setPresentation(modern ? Presentation::Modern : Presentation::Classic);
        const QImage image = week.agenda.paintToImage(QSize(1000, 700));
        keep(image, modern ? QStringLiteral("band-modern") : QStringLiteral("band-classic"));
        ucAgendaPrivate *d = ucAgendaPrivate::get(&week.agenda);
        if (!modern) {
            QVERIFY(d->scene.overflows.isEmpty());
            return;
        }
        QCOMPARE(d->scene.overflows.size(), 1);
        const BandOverflow overflow = d->scene.overflows.first();
        QCOMPARE(overflow.column, 1);
        QCOMPARE(overflow.hidden, QVector<qint32>{kG}); // Urlaub Weber, below Messe Hannover
        const HitRegion tuesday = regionsOf(week.agenda, tageszelle)[1];
        const QRect band(tuesday.lngLeft, tuesday.lngTop, tuesday.lngWidth, tuesday.lngHeight);
        QVERIFY(band.contains(overflow.marker));
        // "+1" in the header colours, framed.
        const QRect m = overflow.marker;
        QCOMPARE(image.pixelColor(m.left(), m.center().y()), QColor(Qt::black));
        QCOMPARE(image.pixelColor(m.left() + 2, m.top() + 2), colourOf(d->settings.style.rgbBackUeberschrift));
        int ink = 0;
        for (int x = m.left() + 2; x < m.right() - 1; ++x)
            ink += qGray(image.pixel(x, m.center().y())) < 100;
        QVERIFY(ink > 0);

        send(d->pic, QEvent::MouseMove, m.center(), Qt::NoButton);
        QCOMPARE(d->pic->toolTip(), QStringLiteral("Urlaub Weber"));
        send(d->pic, QEvent::MouseButtonPress, m.center(), Qt::LeftButton);
        send(d->pic, QEvent::MouseButtonRelease, m.center(), Qt::NoButton);
        QCOMPARE(week.agenda.SelectedDate(), QStringLiteral("G"));
        QCOMPARE(week.agenda.SelectionStart(), 0.0); // the day was not selected
    }

    // Catches modern boxes whose text stays hard to read on its fill (read-only and done entries
    // in pale colours), and a selection that looks like an appointment colour of the layout.
    // The classic rows show that the scene has the fault to begin with.
    void modernColoursStayReadable_data()
    {
        QTest::addColumn<QString>("dsn");
        QTest::addColumn<bool>("modern");
        QTest::addColumn<bool>("readable");
        QTest::newRow("read-only, classic") << "R" << false << false;
        QTest::newRow("read-only, modern") << "R" << true << true;
        QTest::newRow("done, classic") << "D" << false << false;
        QTest::newRow("done, modern") << "D" << true << true;
        QTest::newRow("selected in the appointment colour, classic") << "S" << false << false;
        QTest::newRow("selected in the appointment colour, modern") << "S" << true << true;
    }
    void modernColoursStayReadable()
    {
        QFETCH(QString, dsn);
        QFETCH(bool, modern);
        QFETCH(bool, readable);
        ucAgenda agenda;
        // The layout's appointment colour is the selection colour; "S" uses it.
        agenda.setOptions(layoutOptions("rgbBackTermine", QStringLiteral("l=%1").arg(cTools::DefaultSelectionColor())));
        agenda.setPresentation(modern ? Presentation::Modern : Presentation::Classic);
        double last = kMonday;
        agenda.SetDisplayedRange(kMonday, &last, false, false);
        agenda.AddDate("R", "Betriebsversammlung", kMonday + hm(8, 0), kMonday + hm(10, 0), false, 0xB0B0B0,
                       false, 0xE0E0E0, true);
        agenda.AddDate("D", "Angebot verschickt", kMonday + hm(11, 0), kMonday + hm(13, 0), false, 0x80FFFF,
                       true, 0xFFFFFF, false);
        agenda.AddDate("S", "Kundentermin", kMonday + hm(14, 0), kMonday + hm(16, 0), false, 0,
                       false, cTools::DefaultSelectionColor(), false);
        agenda.AddDate("T", "Rückruf", kMonday + hm(16, 0), kMonday + hm(18, 0), false, 0,
                       false, cTools::DefaultSelectionColor(), false);
        agenda.setSelectedDate(QStringLiteral("S"));
        const QImage image = agenda.paintToImage(QSize(500, 700));
        keep(image, QStringLiteral("colours-%1-%2").arg(dsn, modern ? "modern" : "classic"));
        const auto boxOf = [&](const QString &key) {
            const AppointmentStore &store = ucAgendaPrivate::get(&agenda)->data.store;
            qint32 index = store.count();
            while (index > 0 && store.at(index).dsn != key)
                --index;
            return regionsOf(agenda, termineintrag, index).first();
        };
        if (dsn == QLatin1String("S")) {
            const BoxColours selected = paintedColours(image, boxOf("S"));
            const BoxColours other = paintedColours(image, boxOf("T"));
            QCOMPARE(colourDistance(selected.fill, other.fill) >= kDistinctColourDistance, readable);
            QVERIFY(selected.textContrast >= kReadableContrast);
        } else {
            QCOMPARE(paintedColours(image, boxOf(dsn)).textContrast >= kReadableContrast, readable);
        }
    }

    // Raster, first time, cell heights, colours and font of the layout change what is painted.
    void optionsChangeThePicture_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("what");
        QTest::newRow("60-minute raster") << layoutOptions("strAufloesung", "s10=60 Minuten") << "raster";
        QTest::newRow("first time 10:00") << layoutOptions("timeStartZeit", "d=0.4166666666666667") << "first";
        QTest::newRow("working time colour") << layoutOptions("rgbArbeitszeit", "l=13434828") << "work";
        QTest::newRow("header colour") << layoutOptions("rgbBackUeberschrift", "l=16711680") << "header";
        QTest::newRow("bigger font") << layoutOptions("strFont", "s17=DejaVu Sans, 14pt") << "font";
        QTest::newRow("band of two rows") << layoutOptions("lngHoeheTagestermin", "i=2") << "band";
        QTest::newRow("cells of one row") << layoutOptions("lngHoeheTerminzelle", "i=1") << "cells";
    }
    void optionsChangeThePicture()
    {
        QFETCH(QString, options);
        QFETCH(QString, what);
        Week before;
        const QImage oldImage = before.agenda.paintToImage(QSize(1000, 700));
        const ucAgendaPrivate *old = ucAgendaPrivate::get(&before.agenda);
        const GridGeometry oldGeo = old->scene.grid.geo;
        const qint32 oldCells = regionsOf(before.agenda, zeitzelle).size();
        const HitRegion oldBox = regionsOf(before.agenda, termineintrag, kE).first();

        Week after;
        after.agenda.setOptions(options);
        const QImage image = after.agenda.paintToImage(QSize(1000, 700));
        keep(image, QStringLiteral("options-") + what);
        const ucAgendaPrivate *d = ucAgendaPrivate::get(&after.agenda);
        const auto cells = regionsOf(after.agenda, zeitzelle);
        QVERIFY(image != oldImage);
        if (what == QLatin1String("raster")) {
            QVERIFY(qAbs(cells[1].datVon - cells[0].datVon - hm(1, 0)) < 1e-9);
            QVERIFY(cells.size() < oldCells);
        } else if (what == QLatin1String("first")) {
            QCOMPARE(cells.first().datVon, kMonday + hm(10, 0));
        } else if (what == QLatin1String("work")) {
            const HitRegion c = cells[2]; // Monday 09:00, the grid's first day comes first
            QCOMPARE(image.pixelColor(c.lngLeft + c.lngWidth - 4, c.lngTop + c.lngHeight / 2), colourOf(13434828));
        } else if (what == QLatin1String("header")) {
            const HitRegion header = regionsOf(after.agenda, tageszellekopf).first();
            QCOMPARE(image.pixelColor(header.lngLeft + 2, header.lngTop + 2), colourOf(16711680));
        } else if (what == QLatin1String("font")) {
            QVERIFY(d->scene.grid.geo.lngZeilenhoehe > oldGeo.lngZeilenhoehe);
            QVERIFY(d->scene.grid.geo.lngZeitspalteBreite > oldGeo.lngZeitspalteBreite);
        } else if (what == QLatin1String("band")) {
            QCOMPARE(d->scene.grid.geo.lngTagesterminHoehe, 2 * oldGeo.lngZeilenhoehe);
            QCOMPARE(d->grid.dayInfoHeight, 2);
        } else if (what == QLatin1String("cells")) {
            const HitRegion box = regionsOf(after.agenda, termineintrag, kE).first();
            QCOMPARE(box.lngHeight, 2 * oldGeo.lngZeilenhoehe); // 10:10-10:40 covers two rows
            QVERIFY(box.lngHeight < oldBox.lngHeight);
        }
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

QTEST_MAIN(tst_CalendarPicture)
#include "tst_calendarpicture.moc"

// The Gantt view on a real control: what it paints (rows, bars and their staircase, the
// current-time line), the kept screen picture that a change must renew, and a move by mouse
// with its question and event. Set DAYPLEX_PICTURES to a folder to keep the pictures.
#include "gantt/ctlgantt_p.h"
#include "dialogs/cprintdialog.h"
#include "dialogs/cprintpreview.h"
#include "gantt/ganttlayout.h"
#include "shared/datepicker.h"
#include "shared/viewsurface.h"
#include "shared/cdc.h"
#include "shared/clock.h"
#include "shared/germanformat.h"
#include "support/onscreen.h"
#include "support/seriesanswers.h"
#include "support/testing.h"

#include <dayplex/ctlgantt.h>

#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const auto colourOf = &cDC::toQColor;

// The share of the pixels of a rectangle that have the colour.
double share(const QImage &image, const QRect &rect, const QColor &colour)
{
    const QRect area = rect & image.rect();
    if (area.isEmpty())
        return 0;
    int hits = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            hits += image.pixelColor(x, y) == colour;
    }
    return double(hits) / (area.width() * area.height());
}

QRect interior(const BarRect &e) { return QRect(e.left + 1, e.top + 1, e.width - 2, e.height - 2); }

// A vertical wheel turn by the angle over a widget.
void turnWheel(QWidget &widget, int angle)
{
    const QPointF inside(5, 5);
    QWheelEvent turn(inside, widget.mapToGlobal(inside), QPoint(), QPoint(0, angle), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&widget, &turn);
}

const Date kMonday = day(2024, 3, 25); // Easter week: Good Friday on the 29th
const qint32 kHeaderBack = cTools::DefaultFreeTimeColor();
const qint32 kZeitbalken = 0xFF0000;

// Eight participants after the holiday row, with a host that delivers a known set of bars.
struct Scene
{
    ctlGantt gantt;

    Scene()
    {
        QObject::connect(&gantt, &ctlGantt::NeedDates, &gantt,
                         [this](double from, double to, const QString &) { deliver(from, to); });
        gantt.Enabled = true;
        double last = kMonday + 6;
        gantt.SetDisplayedRange(kMonday, &last, false, false);
    }

    void deliver(Date from, Date to)
    {
        gantt.SetFilledRange(from, to);
        for (int k = 1; k <= 8; ++k)
            gantt.AddMerkmal(QStringLiteral("Teilnehmer %1").arg(k), QStringLiteral("R%1").arg(k));
        const Date m = kMonday;
        add("A", "Team", m + hm(9, 0), m + hm(13, 0), 0xC0E0C0, "R1");
        add("B", "Kunde", m + hm(11, 0), m + hm(15, 0), 0xA0E0FF, "R1");
        add("C", "Anruf", m + hm(14, 0), m + hm(18, 0), 0xE0E0A0, "R1");
        gantt.AddDate("D", "Angebot fertig", m + 1 + hm(14, 0), m + 2 + hm(10, 0), false, 0, true,
                      0xC0C0FF, false, "R2", false);
        add("E", "Kundentermin", m + 2 + hm(8, 0), m + 2 + hm(20, 0), 0xD0D0D0, "R3");
        gantt.AddDate("F", "Messe", m + 3, m + 3, true, 0, false, 0x80FFFF, false, "R4", false);
        add("G", "Schulung", m + 1 + hm(10, 0), m + 1 + hm(12, 0), 0xFFD0FF, "R5");
        add("H", "Urlaub", m + hm(8, 0), m + 4 + hm(18, 0), 0xFFC0C0, "R6");
        add("I", "kurz", m + 3 + hm(10, 0), m + 3 + hm(10, 1), 0x60A0F0, "R7");
        add("J", "ohne Zeile", m + hm(9, 0), m + hm(12, 0), 0x000000, "R99");
    }

    void add(const QString &dsn, const QString &notiz, Date von, Date bis, qint32 colour,
             const QString &row)
    {
        gantt.AddDate(dsn, notiz, von, bis, false, 0, false, colour, false, row, false);
    }

    // On the screen, for the mouse and the kept picture.
    void show()
    {
        gantt.resize(900, 420);
        gantt.show();
        QVERIFY(QTest::qWaitForWindowExposed(&gantt));
        gantt.Repaint();
    }

    ctlGanttPrivate *d() { return ctlGanttPrivate::get(&gantt); }
    GanttModel &model() { return d()->core.model; }
    QWidget *pic() { return d()->calpic; }
    const GanttLayout &layout() { return d()->core.scene.layout; }
    BarRect bar(const QString &dsn) { return d()->core.scene.bar(model(), indexOfDsn(model(), dsn)); }
    const GanttEintrag &entry(const QString &dsn) { return model().date(indexOfDsn(model(), dsn)); }
    // The rectangle of a row's time band, below its top grid line.
    QRect band(qint32 row)
    {
        const GanttLayout &l = layout();
        const qint32 top = l.rowTop(row, d()->firstRow());
        return QRect(l.lngNamenBreite, top + 1, l.width - l.lngNamenBreite, l.lngZeilenhoehe - 1);
    }
    // The picture as the screen shows it, with the frame of Drag.
    QImage shown() { return onScreen(pic()); }
};

} // namespace

class tst_GanttView : public QObject
{
    Q_OBJECT

private slots:
    void init() { setCurrentDateTimeForTesting(kMonday + 2 + hm(10, 17)); }
    void cleanup() { setCurrentDateTimeForTesting(0); }

    // Catches bars in the wrong row, place or colour, rows in the wrong colours, overlapping
    // bars drawn on top of each other instead of as a staircase with marks, and a missing
    // current-time line.
    void weekRowsAndBars()
    {
        Scene scene;
        const QImage image = scene.gantt.paintToImage(QSize(1000, 760));
        keepPicture(image, QStringLiteral("gantt-week"));
        const GanttLayout &l = scene.layout();
        const BarRect h = scene.bar("H");
        QVERIFY(share(image, interior(h), colourOf(0xFFC0C0)) > 0.6);
        QCOMPARE(image.pixelColor(h.left, h.top + h.height / 2), QColor(Qt::black)); // frame
        QVERIFY(image.pixelColor(h.left - 2, h.top + h.height / 2) != colourOf(0xFFC0C0));

        // Good Friday in the holiday colours.
        const BarRect goodFriday = scene.d()->core.scene.bar(scene.model(), 2);
        QVERIFY(share(image, interior(goodFriday), colourOf(0x00FFFF)) > 0.6);

        // Even rows are white, odd rows in the header colour; row 9 (R8) holds no bars.
        QVERIFY(share(image, scene.band(9), colourOf(kHeaderBack)) > 0.9);
        QVERIFY(share(image, scene.band(8).adjusted(l.xOf(kMonday + 5) - l.lngNamenBreite, 0, 0, 0),
                      QColor(Qt::white)) > 0.9);
        // Day boundaries in the hour row are black.
        QCOMPARE(image.pixelColor(l.xOf(kMonday + 1), l.lngKopfhoehe + 3), QColor(Qt::black));

        const BarRect a = scene.bar("A"), &b = scene.bar("B"), &c = scene.bar("C");
        QVERIFY(share(image, interior(a), colourOf(0xC0E0C0)) > 0.5);
        QVERIFY(share(image, interior(b), colourOf(0xA0E0FF)) > 0.3);
        QVERIFY(share(image, interior(c), colourOf(0xE0E0A0)) > 0.3);
        // Marks in the strip at the end of the name column, beside the halved bars.
        const qint32 stripX = l.lngNamenBreite - l.lngZeichenbreite + 2;
        QCOMPARE(image.pixelColor(stripX, a.top + 1), colourOf(kZeitbalken));
        QCOMPARE(image.pixelColor(stripX, b.top + 1), colourOf(kZeitbalken));
        QCOMPARE(image.pixelColor(stripX, c.top + c.height + 2), QColor(Qt::white));
        // The marks are the one thing of the strip a hit never finds.
        QCOMPARE(scene.gantt.GetidxGanttEintrag(stripX, a.top + 1), QVariant());
        QCOMPARE(scene.gantt.GetidxGanttEintrag(b.left + b.width - 2, b.top + 1),
                 QVariant(indexOfDsn(scene.model(), "B")));

        // The current-time line runs through the rows and the hour row, not the day row.
        const qint32 now = l.xOf(kMonday + 2 + hm(10, 17));
        QCOMPARE(image.pixelColor(now, scene.band(9).center().y()), QColor(Qt::red));
        QCOMPARE(image.pixelColor(now, l.lngKopfhoehe + 4), QColor(Qt::red));
        QVERIFY(image.pixelColor(now, 5) != QColor(Qt::red));

        // The modern look moves a selection colour that equals an own fill (A's) away from it.
        scene.gantt.setOptions(QStringLiteral("cContainer 1\nstrLayoutScreenGantt:s40=cContainer 1\n"
                                              "rgbBackMarkiert:l=12640448\n\n"));
        scene.gantt.setPresentation(Presentation::Modern);
        scene.gantt.setSelectedDate(QStringLiteral("B"));
        QVERIFY(share(scene.gantt.paintToImage(QSize(1000, 760)), interior(scene.bar("B")), colourOf(0xC0E0C0)) < 0.1);
    }

    // Catches a current-time line drawn for a moment outside the days, or on paper.
    void noCurrentTimeLine_data()
    {
        QTest::addColumn<Date>("now");
        QTest::addColumn<bool>("printed");
        QTest::newRow("now after the range") << kMonday + 8 << false;
        QTest::newRow("printed: a page shows no now") << kMonday + 2 + hm(10, 17) << true;
    }
    void noCurrentTimeLine()
    {
        QFETCH(Date, now);
        QFETCH(bool, printed);
        setCurrentDateTimeForTesting(now);
        Scene scene;
        scene.gantt.ForPrinting = printed;
        const QImage image = scene.gantt.paintToImage(QSize(1000, 760));
        const GanttLayout &l = scene.layout();
        const qint32 x = l.xOf(kMonday + 2 + hm(10, 17));
        QVERIFY(image.pixelColor(x, scene.band(9).center().y()) != QColor(Qt::red));
        QVERIFY(image.pixelColor(x, l.lngKopfhoehe + 4) != QColor(Qt::red));
    }

    // Catches a move that asks no question or one with other times or another text, a whole-day
    // start that picks up the drop time, and a pointer left as the move cursor. An occurrence of
    // a series asks for the scope instead, with ConfirmChanges off as well, and raises
    // seriesDateChanged with it, or nothing and back to its place after "Abbrechen". A no to
    // the classic question and the other scopes are the keyboard suite's: mouse and keys end in
    // the same move.
    void moveByMouse_data()
    {
        QTest::addColumn<QString>("dsn");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QString>("series"); // the answer to the scope question; empty: no series
        QTest::addColumn<QString>("question");
        QTest::newRow("9 pixels over both axes: moves")
            << "G" << QPoint(5, 4) << ""
            << QStringLiteral("Soll der Eintrag 'Schulung'\r\n von 26.03.2024 10:00:00 - "
                              "26.03.2024 12:00:00\r\n auf 26.03.2024 11:50:00 - "
                              "26.03.2024 13:50:00\r\nverändert werden");
        QTest::newRow("whole-day start stays at midnight")
            << "F" << QPoint(-300, 0) << ""
            << QStringLiteral("Soll der Eintrag 'Messe'\r\n von 28.03.2024 - 28.03.2024\r\n"
                              " auf 25.03.2024 - 25.03.2024\r\nverändert werden");
        const QString scope = "dlgSeriesScope „Schulung“ ist ein Serientermin. Für welche Termine "
                              "gilt die Änderung?";
        QTest::newRow("series: this and the following")
            << "G" << QPoint(5, 4) << "Diesen und alle folgenden Termine" << scope;
        QTest::newRow("series: Abbrechen") << "G" << QPoint(5, 4) << "Abbrechen" << scope;
    }
    void moveByMouse()
    {
        QFETCH(QString, dsn);
        QFETCH(QPoint, offset);
        QFETCH(QString, series);
        PromptAnswers answers;
        SeriesAnswers scopes(series);
        Scene view;
        if (!series.isEmpty()) {
            view.gantt.setAppointmentDetails(dsn, {true, {}});
            view.gantt.setOptions(QStringLiteral("cContainer 1\nblnConfirmChanges:b=0\n"));
        }
        view.show();
        QSignalSpy changed(&view.gantt, &ctlGantt::DateChanged);
        QSignalSpy seriesChanged(&view.gantt, &ctlGantt::seriesDateChanged);
        const Date von = view.entry(dsn).von, bis = view.entry(dsn).bis;
        const BarRect bar = view.bar(dsn);
        const QPoint press(bar.left + bar.width / 2, bar.top + bar.height / 2);
        const QPoint release = press + offset;
        const Date target = view.layout().dateAtX(release.x());

        QTest::mousePress(view.pic(), Qt::LeftButton, {}, press);
        QCOMPARE(view.gantt.SelectedDate(), dsn);
        QTest::mouseMove(view.pic(), release);
        QCOMPARE(view.pic()->cursor().shape(), Qt::BitmapCursor);
        QTest::mouseRelease(view.pic(), Qt::LeftButton, {}, release);
        QCOMPARE(view.pic()->cursor().shape(), Qt::ArrowCursor);

        const bool cancelled = series == "Abbrechen";
        const Date newVon = cancelled ? von : dsn == "F" ? cTools::DateOnly(target) : target;
        const GanttEintrag &e = view.entry(dsn);
        QCOMPARE(e.von, newVon);
        QVERIFY(cTools::DateCompare(e.bis - e.von, "=", bis - von));
        QCOMPARE(e.vonOriginal, e.von);
        QTEST((answers.texts() + scopes.texts).join('|'), "question");
        QCOMPARE(changed.size() + seriesChanged.size(), cancelled ? 0 : 1);
        if (series.isEmpty())
            QCOMPARE(changed.at(0), (QVariantList{dsn, e.von, e.bis}));
        else if (!cancelled)
            QCOMPARE(seriesChanged.at(0), (QVariantList{dsn, QVariant::fromValue(SeriesScope::ThisAndFollowing), e.von, e.bis}));
    }

    // Catches a classic picture that the details change, a modern one without the sign on the
    // bar of the occurrence or with it elsewhere, a sign for a mere meeting, and a tooltip
    // without the details.
    void seriesSignAndTooltip_data()
    {
        QTest::addColumn<bool>("modern");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("classic") << false << 1.0;
        QTest::newRow("modern") << true << 1.0;
        QTest::newRow("modern, HiDPI") << true << 2.0;
    }
    void seriesSignAndTooltip()
    {
        QFETCH(bool, modern);
        QFETCH(qreal, ratio);
        Scene view;
        view.gantt.setPresentation(modern ? Presentation::Modern : Presentation::Classic);
        const QSize size(900, 420);
        const QImage plain = view.gantt.paintToImage(size, ratio);
        view.gantt.setAppointmentDetails("A", {false, {"Anna Berg", "Ben Koch"}});
        QCOMPARE(view.gantt.paintToImage(size, ratio), plain);
        view.gantt.setAppointmentDetails("E", {true, {"Anna Berg"}});
        const QImage series = view.gantt.paintToImage(size, ratio);
        keepPicture(series, QStringLiteral("gantt-series-%1-%2x").arg(modern ? "modern" : "classic").arg(ratio));
        const QRect changed = changedArea(series, plain);
        const BarRect bar = view.bar("E");
        QVERIFY(modern ? QRect(QPoint(bar.left, bar.top) * ratio, QSize(bar.width, bar.height) * ratio)
                             .adjusted(1, 1, -1, -1).contains(changed)
                       : changed.isNull());
        QCOMPARE(changed.isNull(), !modern);

        view.show();
        const BarRect shown = view.bar("E");
        // Sent, not moved: the pointer may stand there from the row before.
        const QPointF at(shown.left + 2, shown.top + shown.height / 2);
        QMouseEvent hover(QEvent::MouseMove, at, view.pic()->mapToGlobal(at), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view.pic(), &hover);
        // The modern tooltip names the time and the person first.
        const QStringList tip = view.pic()->toolTip().split('\n');
        QCOMPARE(tip.mid(modern ? 2 : 0),
                 (QStringList{"Kundentermin", "Serientermin", "Teilnehmer: Anna Berg"}));
        if (modern)
            QCOMPARE(tip.mid(0, 2), (QStringList{formatGermanDate(view.entry("E").von, "ddd, dd.mm.yyyy")
                                                     + " 08:00–20:00",
                                                 "Teilnehmer 3"}));
    }

    // Catches menu entries enabled against the view's state (showing without a selection,
    // moving a read-only appointment, "Neu" without a proposal), the wrong day count ticked and
    // a right click that changes the selection.
    void menuStates_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("proposal");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("enabled"); // of mnuNeu, mnuAnzeigen, mnuVerschieben
        QTest::addColumn<QString>("ticked");
        QTest::newRow("nothing selected") << "" << false << 7 << "" << "mnuAnsichtTage_3";
        QTest::newRow("writable selected") << "G" << false << 14 << "mnuAnzeigen mnuVerschieben" << "mnuAnsichtTage_4";
        QTest::newRow("read-only selected") << "K" << false << 5 << "mnuAnzeigen" << "mnuAnsichtTage_2";
        QTest::newRow("a proposal") << "" << true << 1 << "mnuNeu" << "mnuAnsichtTage_0";
        QTest::newRow("3 days: no entry") << "" << false << 3 << "" << "";
    }
    void menuStates()
    {
        QFETCH(QString, selected);
        QFETCH(int, days);
        Scene view;
        double last = kMonday + days - 1;
        view.gantt.SetDisplayedRange(kMonday, &last, false, false);
        view.gantt.AddDate("K", "fest", kMonday + hm(8, 0), kMonday + hm(9, 0), false, 0, false, 0, true, "R8", false);
        view.show();
        view.gantt.setSelectedDate(selected);
        QFETCH(bool, proposal);
        if (proposal)
            view.gantt.TerminVorSchlagEintragen(kMonday + hm(9, 0), kMonday + hm(10, 0));
        const BarRect bar = view.bar("A");
        const QPoint onA(bar.left + 2, bar.top + 2);
        QTest::mousePress(view.pic(), Qt::RightButton, {}, onA);
        auto *popUp = view.gantt.findChild<QMenu *>(QStringLiteral("mnuPopUp"));
        QVERIFY(popUp->isVisible());
        popUp->hide();
        QTest::mouseRelease(view.pic(), Qt::RightButton, {}, onA);
        QCOMPARE(view.gantt.SelectedDate(), selected);
        QStringList enabled, ticked;
        for (const char *name : {"mnuNeu", "mnuAnzeigen", "mnuVerschieben"})
            if (popUp->findChild<QAction *>(QLatin1String(name))->isEnabled())
                enabled << QLatin1String(name);
        for (const QAction *entry : popUp->findChild<QMenu *>(QStringLiteral("mnuAnsicht"))->actions())
            if (entry->isChecked())
                ticked << entry->objectName();
        QTEST(enabled.join(' '), "enabled");
        QTEST(ticked.join(' '), "ticked");
    }

    // Catches menu commands that raise the wrong event, and a picked day that moves the view
    // or the selected appointment to another day or keeps the view where it was.
    void menuCommands_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QByteArray>("event");
        QTest::addColumn<QVariantList>("arguments"); // empty: the event is not raised
        QTest::addColumn<Date>("firstShown"); // after a day was picked; 0: none is
        const Date friday = kMonday + 4;
        QTest::newRow(">>Kalender") << "mnuCalendar" << QByteArray(SIGNAL(ShowImCalendar())) << QVariantList{"raised"} << 0.0;
        QTest::newRow("Teilnehmer") << "mnuMerkmale" << QByteArray(SIGNAL(ChangeFilter())) << QVariantList{"raised"} << 0.0;
        QTest::newRow("Anzeigen") << "mnuAnzeigen" << QByteArray(SIGNAL(ShowDate(QString))) << QVariantList{"G"} << 0.0;
        QTest::newRow("Neu: the proposal")
            << "mnuNeu" << QByteArray(SIGNAL(NewDate(double, double, QString)))
            << QVariantList{kMonday + hm(9, 0), kMonday + hm(10, 0), ""} << 0.0;
        QTest::newRow("Verschieben: to Friday at its time")
            << "mnuVerschieben" << QByteArray(SIGNAL(DateChanged(QString, double, double)))
            << QVariantList{"G", friday + hm(10, 0), friday + hm(12, 0)} << friday;
        QTest::newRow("Datum...: only the view") << "mnuDatum" << QByteArray(SIGNAL(DateChanged(QString, double, double)))
                                                 << QVariantList() << friday;
    }
    void menuCommands()
    {
        QFETCH(QString, entry);
        QFETCH(QByteArray, event);
        QFETCH(Date, firstShown);
        PromptAnswers answers;
        Scene view;
        view.gantt.setAlignOnWeekday(0);
        view.show();
        view.gantt.setSelectedDate(QStringLiteral("G"));
        view.gantt.TerminVorSchlagEintragen(kMonday + hm(9, 0), kMonday + hm(10, 0));
        QSignalSpy raised(&view.gantt, event.constData());
        view.d()->menu->prepare();
        view.d()->menu->popUp()->findChild<QAction *>(entry)->trigger();
        if (firstShown > 0) {
            DatePickerDropDown *dropDown = view.d()->menu->picker()->dropDown();
            QVERIFY(dropDown->isVisible());
            Q_EMIT dropDown->picked(toQDate(firstShown));
            QCOMPARE(view.gantt.mStartDate, firstShown);
        }
        QFETCH(QVariantList, arguments);
        QCOMPARE(raised.size(), arguments.isEmpty() ? 0 : 1);
        if (!arguments.isEmpty() && arguments != QVariantList{"raised"})
            QCOMPARE(raised.first(), arguments);
    }

    // Catches a search whose days the view does not show afterwards, or shows without telling
    // mStartDate: every weekday of the week is taken by "Urlaub", so the slot lies beyond it.
    void searchBeyondTheShownDays()
    {
        Scene view;
        view.show();
        view.gantt.FreienTerminSuchen(kMonday);
        QTest::mouseClick(view.gantt.findChild<QPushButton *>(QStringLiteral("cmdAuto_1")), Qt::LeftButton);
        const Date found = view.model().vorschlagVon;
        QVERIFY2(found > kMonday + 6, qPrintable(formatGermanDate(found, "dd.mm.yyyy hh:nn")));
        QCOMPARE(view.gantt.mStartDate, view.d()->core.startDate);
        QVERIFY(view.gantt.mStartDate <= found && found < view.gantt.mEndDate + 1);
    }

    // Catches a print job that leaves the screen in the print layout or on other days, for the
    // classic and the modern paper.
    void printRestoresTheScreen_data()
    {
        QTest::addColumn<bool>("modern");
        QTest::newRow("classic") << false;
        QTest::newRow("modern") << true;
    }
    void printRestoresTheScreen()
    {
        QFETCH(bool, modern);
        Scene view;
        view.show();
        view.gantt.setPrintPresentation(modern ? Presentation::Modern : Presentation::Classic);
        const QImage before = view.shown();
        cPrintDialog::setHandler(cPrintDialog::preview());
        bool previewed = false;
        cPrintPreview::setHandler([&](cPrintPreview &) { previewed = true; });
        const auto reset = qScopeGuard([] {
            cPrintDialog::setHandler({});
            cPrintPreview::setHandler({});
        });
        view.gantt.PrintGantt(true);
        QVERIFY(previewed);
        QCOMPARE(view.gantt.mStartDate, kMonday);
        view.gantt.Repaint();
        QCOMPARE(view.shown(), before);
    }

    // Catches a day bar that moves by its own rules instead of the calendar's spinner: a wheel
    // notch that moves three days or a page, an arrow that pages, a bar that does not rest in
    // the middle afterwards.
    void dayBarSteps_data()
    {
        QTest::addColumn<int>("action"); // a slider action, or below zero a wheel turn by that angle
        QTest::addColumn<Date>("firstShown");
        QTest::newRow("arrow right") << int(QAbstractSlider::SliderSingleStepAdd) << kMonday + 1;
        QTest::newRow("arrow left") << int(QAbstractSlider::SliderSingleStepSub) << kMonday - 1;
        QTest::newRow("beside the thumb") << int(QAbstractSlider::SliderPageStepAdd) << kMonday + 7;
        QTest::newRow("a wheel notch down") << -120 << kMonday + 1;
        QTest::newRow("half a notch") << -60 << kMonday;
    }
    void dayBarSteps()
    {
        QFETCH(int, action);
        Scene view;
        view.show();
        auto *bar = view.gantt.findChild<QScrollBar *>(QStringLiteral("HScroll"));
        const int rest = bar->value();
        if (action < 0)
            turnWheel(*bar, action);
        else
            bar->triggerAction(QAbstractSlider::SliderAction(action));
        QTEST(view.gantt.mStartDate, "firstShown");
        QCOMPARE(bar->value(), rest);
    }

    // Catches half a wheel notch over the day bar that outlives a jump of the host's days (a
    // kept view then answers the same turns unlike a new one), and two halves that never step.
    void halfNotchesAroundAJump_data()
    {
        QTest::addColumn<bool>("jump");
        QTest::addColumn<Date>("firstShown");
        QTest::newRow("two halves step a day") << false << kMonday + 1;
        QTest::newRow("a jump between drops the first half") << true << kMonday;
    }
    void halfNotchesAroundAJump()
    {
        QFETCH(bool, jump);
        Scene view;
        view.show();
        auto *bar = view.gantt.findChild<QScrollBar *>(QStringLiteral("HScroll"));
        turnWheel(*bar, -60);
        if (jump) {
            double last = kMonday + 6;
            view.gantt.SetDisplayedRange(kMonday, &last, false, false);
        }
        turnWheel(*bar, -60);
        QTEST(view.gantt.mStartDate, "firstShown");
    }

    // Catches a weekday range that refuses Saturday or "none", takes 8 or -1, or forgets the
    // weekday in force after a refused one (Wednesday here): the range from Thursday moves
    // back to the weekday taken.
    void alignWeekdayLimits_data()
    {
        QTest::addColumn<int>("weekday");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<Date>("firstShown");
        QTest::newRow("-1 refused") << -1 << false << kMonday + 2;
        QTest::newRow("0: none") << 0 << true << kMonday + 3;
        QTest::newRow("1: Sunday") << 1 << true << kMonday - 1;
        QTest::newRow("7: Saturday") << 7 << true << kMonday - 2;
        QTest::newRow("8 refused") << 8 << false << kMonday + 2;
    }
    void alignWeekdayLimits()
    {
        QFETCH(int, weekday);
        Scene view;
        ctlGantt &g = view.gantt;
        g.setAlignOnWeekday(4);
        bool threw = false;
        try {
            g.setAlignOnWeekday(weekday);
        } catch (const Error &) {
            threw = true;
        }
        QTEST(!threw, "taken");
        double last = kMonday + 9; // a week from Thursday
        g.SetDisplayedRange(kMonday + 3, &last, false, true);
        QTEST(g.mStartDate, "firstShown");
    }

    // Catches a kept screen picture that is shown again after a change of what it shows, and
    // one painted anew although nothing changed. The picture must equal a fresh one either way.
    void keptPicture_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<bool>("painted");
        const char *const changes[] = {
            "nothing", "AddDate", "AddMerkmal", "Clear", "another day",
            "options", "resize", "selection", "row marked", "proposal", "scrolled",
            "modern presentation", "an hour later", "a second later", "hover", "paintToImage",
            "appointment moved", "first day written by a late-bound host"};
        const QVector<int> unchanged{0, 13, 14, 15};
        for (int k = 0; k < int(std::size(changes)); ++k)
            QTest::newRow(changes[k]) << k << !unchanged.contains(k);
    }
    void keptPicture()
    {
        QFETCH(int, change);
        PromptAnswers answers;
        Scene view;
        view.show();
        ctlGantt &g = view.gantt;
        const quint64 before = view.d()->core.pictureRenders;
        const GanttLayout &l = view.layout(); // A's row, the first after the holiday row
        const QPoint inA(l.xOf(kMonday + hm(10, 0)), l.rowTop(2, 1) + l.lngZeilenhoehe / 2);
        double last = kMonday + 8;
        switch (change) {
        case 1: view.add("N", "neu", kMonday + hm(14, 0), kMonday + hm(16, 0), 0, "R2"); break;
        case 2: g.AddMerkmal("Cleo", "R9"); break;
        case 3: g.Clear(); break;
        case 4: g.SetDisplayedRange(kMonday + 1, &last, false, false); break;
        case 5: // a header colour in the screen layout, a container of 39 characters
            g.setOptions(QStringLiteral("cContainer 1\nstrLayoutScreenGantt:s39=cContainer 1\n"
                                        "rgbBackUeberschrift:l=255\n\n"));
            break;
        case 6: g.resize(800, 400); break;
        case 7: g.setSelectedDate("A"); break;
        case 8: view.model().row(3).blnMarkiert = true; break;
        case 9: g.TerminVorSchlagEintragen(kMonday + hm(12, 0), kMonday + hm(13, 0)); break;
        case 10: view.d()->vScroll->setValue(2); break;
        case 11: g.setPresentation(Presentation::Modern); break;
        case 12: setCurrentDateTimeForTesting(kMonday + 2 + hm(11, 17)); break;
        case 13: setCurrentDateTimeForTesting(kMonday + 2 + hm(10, 17) + 1.0 / 86400); break;
        case 14: // the hairline is inverted over the picture
            QTest::mouseMove(view.pic(), inA);
            QCOMPARE(view.shown().pixel(inA.x(), inA.y()),
                     view.d()->core.picture.pixel(inA.x(), inA.y()) ^ 0xFFFFFFu);
            break;
        case 15: g.paintToImage(QSize(300, 200)); break;
        case 16:
            g.setSelectedDate("A");
            g.Repaint();
            g.SelectedDateMove(kMonday + hm(15, 0), 2);
            break;
        case 17: g.setProperty("mStartDate", kMonday + 1); break;
        }
        g.Repaint();
        QTEST(view.d()->core.pictureRenders > before + (change == 16 ? 1 : 0), "painted");
        QCOMPARE(view.shown(), g.paintToImage(view.pic()->size())); // and no frame is left
        if (change == 15) // hit-testing is back on the screen's picture
            QCOMPARE(g.GetMerkmalIndex(inA.y()), 2);
    }

    // Catches a window that shows another picture than the view's: painted straight into the
    // window at the wrong place, or a kept picture that did not catch up with the screen before
    // a part of it was shown again.
    void screenShowsThePicture_data()
    {
        QTest::addColumn<int>("step");
        const char *const steps[] = {"refill", "selection", "frame drawn and taken away",
                                     "part exposed", "resize", "hover and back"};
        for (int k = 0; k < int(std::size(steps)); ++k)
            QTest::newRow(steps[k]) << k;
    }
    void screenShowsThePicture()
    {
        QFETCH(int, step);
        QWidget window;
        Scene view;
        ctlGantt &g = view.gantt;
        g.setParent(&window);
        g.move(30, 20);
        window.resize(960, 480);
        window.show();
        view.show();
        // The refill brings another picture than the one kept.
        QObject::connect(&g, &ctlGantt::NeedDates, &g, [&] {
            view.add("N", "neu", kMonday + hm(8, 0), kMonday + 3 + hm(16, 0), 0x80C0FF, "R2");
        });
        g.Refresh();
        QVERIFY(view.d()->core.pictureOwed); // painted straight into the window
        const QPoint inA(view.layout().xOf(kMonday + hm(10, 0)), view.layout().rowTop(2, 1) + 5);
        switch (step) {
        case 1: g.setSelectedDate("A"); break;
        case 2: g.Drag(40, 60, 100, 30); g.Repaint(); g.Drag(-1, 0, 0, 0); break;
        case 3: view.pic()->repaint(QRect(10, 10, 200, 150)); break;
        case 4: g.resize(800, 400); break;
        case 5: QTest::mouseMove(view.pic(), inA); QTest::mouseMove(view.pic(), QPoint(-5, -5)); break;
        }
        g.Repaint();
        QCOMPARE(view.shown(), g.paintToImage(view.pic()->size()));
        view.d()->core.prepareScreen(true); // and the kept picture, caught up, is the view's
        QCOMPARE(view.d()->core.picture, g.paintToImage(view.pic()->size()));
    }

    // Catches a bar of rows painted at every refill, or not painted when its rows changed.
    void rowBarPaintedWhenItsRowsChange_data()
    {
        QTest::addColumn<int>("moreRows");
        QTest::addColumn<int>("scrolledTo");
        QTest::addColumn<bool>("painted");
        QTest::newRow("the same rows") << 0 << 1 << false;
        QTest::newRow("a row more") << 1 << 1 << true;
        QTest::newRow("scrolled, back to the first row") << 0 << 3 << true;
    }
    void rowBarPaintedWhenItsRowsChange()
    {
        QFETCH(int, moreRows);
        QFETCH(int, scrolledTo);
        Scene view;
        view.show();
        ctlGantt &g = view.gantt;
        int rows = 0;
        QObject::connect(&g, &ctlGantt::NeedDates, &g, [&] {
            for (int k = 0; k < rows; ++k)
                g.AddMerkmal(QStringLiteral("Gast %1").arg(k), QStringLiteral("G%1").arg(k));
        });
        view.d()->vScroll->setValue(scrolledTo);
        QCoreApplication::processEvents();
        struct PaintCount : QObject
        {
            int paints = 0;
            bool eventFilter(QObject *, QEvent *e) override
            {
                paints += e->type() == QEvent::Paint;
                return false;
            }
        } count;
        view.d()->vScroll->installEventFilter(&count);
        rows = moreRows;
        g.Refresh();
        QCoreApplication::processEvents();
        QTEST(count.paints > 0, "painted");
        QCOMPARE(view.d()->vScroll->maximum(), 9 + moreRows);
        // And the bar shows its rows and position.
        QCOMPARE(onScreen(view.d()->vScroll),
                 view.d()->vScroll->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
};

DAYPLEX_TEST_MAIN(tst_GanttView)
#include "tst_ganttview.moc"

// The Gantt view under the mouse, its menu, scrolling, the search panel and printing, on a
// real control shown offscreen. Set DAYPLEX_PICTURES to a folder to keep pictures and PDFs.
#include "dialogs/cprintdialog.h"
#include "gantt/ctlgantt_p.h"
#include "gantt/freeslotsearch.h"
#include "gantt/ganttsurface.h"
#include "shared/cdc.h"
#include "shared/clock.h"
#include "support/testing.h"

#include <dayplex/ctlgantt.h>

#include <QAction>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QtTest>

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMonday = day(2024, 3, 4);

QString keepDir() { return qEnvironmentVariable("DAYPLEX_PICTURES"); }

void send(QWidget *widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
          Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// A left-button gesture: press, moves with the button held, release at the last point.
void drag(QWidget *widget, QPoint from, const QVector<QPoint> &moves)
{
    send(widget, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (const QPoint &to : moves)
        send(widget, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(widget, QEvent::MouseButtonRelease, moves.isEmpty() ? from : moves.last(), Qt::LeftButton,
         Qt::NoButton);
}

int pdfPageCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    int count = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
        count += pdf.mid(at, 12) != "/Type /Pages";
    return count;
}

// Two participants after the holiday row: Anna with a meeting on Monday 09:00-11:00 and a fair
// all day on Tuesday, Ben with a read-only customer visit on Tuesday 09:00-11:00.
struct View
{
    ctlGantt gantt;
    int requests = 0;

    explicit View(int days = 2, bool holidays = true)
    {
        if (!holidays)
            gantt.setOptions(QStringLiteral("cContainer 1\nblnGermanLegalHolidays:b=0\n"));
        QObject::connect(&gantt, &ctlGantt::NeedDates, &gantt, [this](double from, double to, const QString &) {
            ++requests;
            gantt.SetFilledRange(from, to);
            gantt.AddMerkmal(QStringLiteral("Anna Müller"), QStringLiteral("R1"));
            gantt.AddMerkmal(QStringLiteral("Ben Weber"), QStringLiteral("R2"));
            gantt.AddDate("A", "Besprechung", kMonday + hm(9, 0), kMonday + hm(11, 0), false, 0, false,
                          0xC0E0C0, false, "R1", false);
            gantt.AddDate("M", "Messe", kMonday + 1, kMonday + 1, true, 0, false, 0x80FFFF, false, "R1", false);
            gantt.AddDate("B", "Kundentermin", kMonday + 1 + hm(9, 0), kMonday + 1 + hm(11, 0), false, 0,
                          false, 0xA0E0FF, true, "R2", false);
        });
        gantt.Enabled = true;
        double last = kMonday + days - 1;
        gantt.SetDisplayedRange(kMonday, &last, false, false);
        gantt.resize(900, 420);
        gantt.show();
        QVERIFY(QTest::qWaitForWindowExposed(&gantt));
        gantt.Repaint();
    }

    ctlGanttPrivate *d() { return ctlGanttPrivate::get(&gantt); }
    QWidget *pic() { return d()->calpic; }
    const GanttLayout &layout() { return d()->scene.layout; }
    // The middle of a row at a moment; rows count from 1, the holiday row first.
    QPoint at(Date moment, int row)
    {
        const GanttLayout &l = layout();
        return QPoint(l.xOf(moment), l.rowTop(row, 1) + l.lngZeilenhoehe / 2);
    }
    QPoint nameCell(int row) { return QPoint(layout().lngNamenBreite / 2, at(kMonday, row).y()); }
    qint32 indexOf(const QString &dsn)
    {
        for (qint32 i = 1; i <= d()->model.dateCount(); ++i) {
            if (d()->model.date(i).dsn == dsn)
                return i;
        }
        qFatal("no entry %s", qPrintable(dsn));
    }
    const GanttEintrag &entry(const QString &dsn) { return d()->model.date(indexOf(dsn)); }
    // The picture as the screen shows it, with the frame of Drag.
    QImage shown()
    {
        QImage image = d()->picture.copy();
        QPainter painter(&image);
        d()->drawDragOverlay(painter);
        return image;
    }
    QAction *action(const char *name) { return d()->contextMenu()->findChild<QAction *>(name); }
};

} // namespace

class tst_GanttInteraction : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        setCurrentDateTimeForTesting(kMonday + hm(10, 17));
        cTools::setPromptHandler([this](const Prompt &p) { return prompts << p, answer; });
        prompts.clear();
        answer = true;
    }

    void cleanup()
    {
        setCurrentDateTimeForTesting(0);
        cTools::setPromptHandler({});
        cPrintDialog::setHandler({});
    }

    // Catches a move that ignores the confirmation or Escape, a whole-day start that picks up
    // the drop time, and a pointer left as the move cursor.
    void moveByMouse_data()
    {
        QTest::addColumn<QString>("dsn");
        QTest::addColumn<Date>("pressAt");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("escape");
        QTest::newRow("9 pixels over both axes: moves") << "A" << kMonday + hm(10, 0) << QPoint(5, 4) << true << false;
        QTest::newRow("refused: back to the old times") << "A" << kMonday + hm(10, 0) << QPoint(40, 0) << false << false;
        QTest::newRow("Escape: nothing asked or changed") << "A" << kMonday + hm(10, 0) << QPoint(40, 0) << true << true;
        QTest::newRow("whole-day start stays at midnight") << "M" << kMonday + 1 + hm(12, 0) << QPoint(-300, 0) << true << false;
    }
    void moveByMouse()
    {
        QFETCH(QString, dsn);
        QFETCH(Date, pressAt);
        QFETCH(QPoint, offset);
        QFETCH(bool, confirm);
        QFETCH(bool, escape);
        answer = confirm;
        const bool moved = confirm && !escape;
        View view;
        QSignalSpy changed(&view.gantt, &ctlGantt::DateChanged);
        const Date von = view.entry(dsn).von, bis = view.entry(dsn).bis;
        const QPoint press = view.at(pressAt, 2);
        const QPoint release = press + offset;
        const Date target = view.layout().dateAtX(release.x());

        send(view.pic(), QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(view.gantt.SelectedDate(), dsn);
        send(view.pic(), QEvent::MouseMove, release, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(view.pic()->cursor().shape(), Qt::BitmapCursor);
        if (escape)
            QTest::keyClick(view.pic(), Qt::Key_Escape);
        send(view.pic(), QEvent::MouseButtonRelease, release, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(view.pic()->cursor().shape(), Qt::ArrowCursor);

        const Date newVon = dsn == "M" ? cTools::DateOnly(target) : target;
        QCOMPARE(view.entry(dsn).von, moved ? newVon : von);
        QVERIFY(cTools::DateCompare(view.entry(dsn).bis - view.entry(dsn).von, "=", bis - von));
        QCOMPARE(view.entry(dsn).vonOriginal, view.entry(dsn).von);
        QCOMPARE(prompts.size(), escape ? 0 : 1);
        QCOMPARE(changed.size(), moved ? 1 : 0);
        if (moved)
            QCOMPARE(changed.at(0), (QVariantList{dsn, view.entry(dsn).von, view.entry(dsn).bis}));
    }

    // Catches a kept screen picture that is shown again after a change of what it shows, and
    // one painted anew although nothing changed. The picture must equal a fresh one either way.
    void keptPicture_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<bool>("painted");
        const char *const changes[] = {
            "nothing", "AddDate", "AddMerkmal", "Clear", "SetFilledRange", "another day",
            "options", "resize", "selection", "row marked by a click", "proposal", "scrolled",
            "modern presentation", "an hour later", "a second later", "hover", "paintToImage",
            "appointment moved"};
        const QVector<int> unchanged{0, 14, 15, 16};
        for (int k = 0; k < int(std::size(changes)); ++k)
            QTest::newRow(changes[k]) << k << !unchanged.contains(k);
    }
    void keptPicture()
    {
        QFETCH(int, change);
        View view(7);
        ctlGantt &g = view.gantt;
        const quint64 before = view.d()->pictureRenders;
        const QPoint inA = view.at(kMonday + hm(10, 0), 2);
        double last = kMonday + 8;
        switch (change) {
        case 1: g.AddDate("N", "neu", kMonday + hm(14, 0), kMonday + hm(16, 0), false, 0, false, 0, false, "R2", false); break;
        case 2: g.AddMerkmal("Cleo", "R3"); break;
        case 3: g.Clear(); break;
        case 4: g.SetFilledRange(kMonday, kMonday + 6); break;
        case 5: g.SetDisplayedRange(kMonday + 1, &last, false, false); break;
        case 6: {
            const QString layout = QStringLiteral("cContainer 1\nrgbBackUeberschrift:l=255\n");
            g.setOptions(QStringLiteral("cContainer 1\nstrLayoutScreenGantt:s%1=%2\n").arg(layout.size()).arg(layout));
            break;
        }
        case 7: g.resize(800, 400); break;
        case 8: g.setSelectedDate("A"); break;
        case 9: drag(view.pic(), view.nameCell(3), {}); break;
        case 10: g.TerminVorSchlagEintragen(kMonday + hm(12, 0), kMonday + hm(13, 0)); break;
        case 11: view.d()->vScroll->setValue(2); break;
        case 12: g.setPresentation(Presentation::Modern); break;
        case 13: setCurrentDateTimeForTesting(kMonday + hm(11, 17)); break;
        case 14: setCurrentDateTimeForTesting(kMonday + hm(10, 17) + 1.0 / 86400); break;
        case 15: // the hairline is inverted over the picture
            send(view.pic(), QEvent::MouseMove, inA, Qt::NoButton, Qt::NoButton);
            QCOMPARE(view.shown().pixel(inA.x(), inA.y()), view.d()->picture.pixel(inA.x(), inA.y()) ^ 0xFFFFFFu);
            break;
        case 16: g.paintToImage(QSize(300, 200)); break;
        case 17: g.setSelectedDate("A"); g.Repaint(); g.SelectedDateMove(kMonday + hm(15, 0), 2); break;
        }
        g.Repaint();
        QTEST(view.d()->pictureRenders > before + (change == 17 ? 1 : 0), "painted");
        QCOMPARE(view.shown(), g.paintToImage(view.pic()->size())); // and no frame is left
        if (change == 16) // hit-testing is back on the screen's picture
            QCOMPARE(g.GetMerkmalIndex(inA.y()), 2);
    }

    // Catches menu entries enabled without their object, a right click that changes the selection,
    // and day counts ticked for the wrong span.
    void menuStates_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("proposal");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("ticked");
        QTest::newRow("nothing selected") << "" << false << 2 << "mnuAnsichtTage_1";
        QTest::newRow("movable appointment") << "A" << false << 7 << "mnuAnsichtTage_3";
        QTest::newRow("read-only appointment, proposal") << "B" << true << 14 << "mnuAnsichtTage_4";
        QTest::newRow("span with no entry") << "A" << true << 9 << "";
    }
    void menuStates()
    {
        QFETCH(QString, selected);
        QFETCH(bool, proposal);
        QFETCH(int, days);
        QFETCH(QString, ticked);
        View view(days);
        view.gantt.setSelectedDate(selected);
        if (proposal)
            view.gantt.TerminVorSchlagEintragen(kMonday + hm(14, 0), kMonday + hm(15, 0));
        send(view.pic(), QEvent::MouseButtonPress, view.at(kMonday + hm(10, 0), 3), Qt::RightButton, Qt::RightButton);
        QMenu *menu = view.d()->menu;
        QVERIFY(menu && menu->isVisible());
        QCOMPARE(menu->defaultAction(), view.action("mnuAnzeigen"));
        QCOMPARE(view.gantt.SelectedDate(), selected);
        QCOMPARE(view.action("mnuAnzeigen")->isEnabled(), !selected.isEmpty());
        QCOMPARE(view.action("mnuVerschieben")->isEnabled(), selected == "A");
        QCOMPARE(view.action("mnuNeu")->isEnabled(), proposal);
        QStringList ticks;
        for (QAction *action : view.d()->viewMenu->actions()) {
            if (action->isChecked())
                ticks << action->objectName();
        }
        QCOMPARE(ticks.join(','), ticked);
        menu->hide();
    }

    // Catches single-day steps that align to the weekday, pages that do not, a scroll bar that
    // does not return to its rest, and "Ansicht" or "Heute" showing the wrong days.
    void rangeCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Date>("first");
        QTest::addColumn<Date>("last");
        const Date wed = kMonday + 2;
        QTest::newRow("Scroll(1): one day, not aligned") << "1" << wed + 1 << wed + 7;
        QTest::newRow("Scroll(-1)") << "-1" << wed - 1 << wed + 5;
        QTest::newRow("Scroll(2): one page, aligned to Monday") << "2" << kMonday + 7 << kMonday + 13;
        QTest::newRow("Scroll(0) stays") << "0" << wed << wed + 6;
        QTest::newRow("scroll bar arrow right") << "bar 51" << wed + 1 << wed + 7;
        QTest::newRow("scroll bar page left") << "bar 40" << kMonday - 7 << kMonday - 1;
        QTest::newRow("Ansicht 2 Wochen from Wednesday") << "mnuAnsichtTage_4" << kMonday << kMonday + 13;
        QTest::newRow("Heute on the Thursday after") << "mnuToday" << kMonday + 7 << kMonday + 13;
    }
    void rangeCommands()
    {
        QFETCH(QString, command);
        QFETCH(Date, first);
        QFETCH(Date, last);
        setCurrentDateTimeForTesting(kMonday + 10 + hm(9, 0));
        View view(7);
        view.gantt.setAlignOnWeekday(2);
        double end = kMonday + 8;
        view.gantt.SetDisplayedRange(kMonday + 2, &end, false, false); // Wednesday to Tuesday
        view.d()->model.datMaus = kMonday + 2 + hm(10, 0);
        auto *bar = view.gantt.findChild<QScrollBar *>("HScroll");
        if (command.startsWith("bar "))
            bar->setValue(command.mid(4).toInt());
        else if (command.startsWith("mnu"))
            view.action(command.toLatin1().constData())->trigger();
        else
            view.gantt.Scroll(command.toInt());
        QCOMPARE(view.gantt.FirstDay(), first);
        QCOMPARE(view.gantt.LastDay(), last);
        QCOMPARE(bar->value(), 50);
    }

    // Catches a picker that does not open its calendar, a jump that moves the appointment, and a
    // move that loses the clock time.
    void datePicker_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Date>("von");
        QTest::newRow("Datum... only jumps") << "mnuDatum" << kMonday + hm(9, 0);
        QTest::newRow("Verschieben keeps the clock time") << "mnuVerschieben" << kMonday + 9 + hm(9, 0);
    }
    void datePicker()
    {
        QFETCH(QString, command);
        QFETCH(Date, von);
        View view;
        view.gantt.setSelectedDate("A");
        QSignalSpy changed(&view.gantt, &ctlGantt::DateChanged);
        view.action(command.toLatin1().constData())->trigger();
        auto *picker = view.gantt.findChild<QCalendarWidget *>("ccrpDtp");
        QVERIFY(picker->isVisible());
        QCOMPARE(picker->selectedDate(), QDate(2024, 3, 4));
        picker->setSelectedDate(QDate(2024, 3, 13)); // as the user picks it with Enter
        QTest::keyClick(picker->findChild<QWidget *>("qt_calendar_calendarview"), Qt::Key_Return);
        QVERIFY(!picker->isVisible());
        QCOMPARE(view.gantt.FirstDay(), kMonday + 9);
        // The host delivers the new days afresh; the move itself is what DateChanged reports.
        QCOMPARE(changed.size(), von == kMonday + hm(9, 0) ? 0 : 1);
        if (!changed.isEmpty())
            QCOMPARE(changed.at(0).at(1).toDouble(), von);
    }

    // Catches a panel that does not open above the chart, a search that ignores the panel's
    // values, a proposal that does not reach "Neu", and NewDate without the marked rows.
    void searchPanel()
    {
        View view(7);
        auto *panel = view.gantt.findChild<QGroupBox *>("frmTerminSuchen");
        QVERIFY(!panel->isVisible());
        view.gantt.FreienTerminSuchen(kMonday + hm(15, 30));
        QVERIFY(panel->isVisible());
        QCOMPARE(view.pic()->y(), panel->geometry().bottom() + 1 + 5);
        QCOMPARE(panel->findChild<QDateEdit *>("dtpDayAb")->date(), QDate(2024, 3, 4));
        QCOMPARE(panel->findChild<QTimeEdit *>("dtpTimeStunden")->time(), QTime(1, 0));
        QCOMPARE(markedRowList(view.d()->model), QStringLiteral("R1|R2"));
        auto *days = panel->findChild<QLineEdit *>("txtTage");
        QTest::keyClicks(days, "x2");
        QCOMPARE(days->text(), QStringLiteral("2"));
        QVERIFY(!panel->findChild<QTimeEdit *>("dtpTimeVon")->isEnabled());
        days->clear();
        QVERIFY(panel->findChild<QTimeEdit *>("dtpTimeVon")->isEnabled());
        panel->findChild<QTimeEdit *>("dtpTimeStunden")->setTime(QTime(2, 0));

        QSignalSpy created(&view.gantt, &ctlGantt::NewDate);
        QTest::mouseClick(panel->findChild<QPushButton *>("cmdAuto_1"), Qt::LeftButton);
        // Anna's meeting ends at 11:00.
        QCOMPARE(view.d()->model.vorschlagVon, kMonday + hm(11, 0));
        QCOMPARE(panel->findChild<QLabel *>("lblVorschlag")->text(),
                 QStringLiteral("Von: 04.03.2024 11:00\nBis: 04.03.2024 13:00"));
        if (!keepDir().isEmpty())
            view.gantt.grab().save(keepDir() + QStringLiteral("/gantt-search-panel.png"));
        auto *neu = panel->findChild<QPushButton *>("cmdNeu");
        QTest::mouseClick(neu, Qt::LeftButton);
        drag(view.pic(), view.nameCell(3), {}); // unmark Ben
        QTest::mouseClick(neu, Qt::LeftButton);
        QCOMPARE(created.size(), 2);
        QCOMPARE(created.at(0).at(0).toDouble(), kMonday + hm(11, 0));
        QCOMPARE(created.at(0).at(1).toDouble(), kMonday + hm(13, 0));
        QCOMPARE(created.at(0).at(2).toString(), QStringLiteral("R1|R2"));
        QCOMPARE(created.at(1).at(2).toString(), QStringLiteral("R1"));

        panel->findChild<QTimeEdit *>("dtpTimeStunden")->setTime(QTime(12, 0));
        QTest::mouseClick(panel->findChild<QPushButton *>("cmdAuto_0"), Qt::LeftButton);
        QCOMPARE(prompts.size(), 1);
        QCOMPARE(prompts.at(0).text, QStringLiteral("Der gesuchte Termin ist länger als der Suchbereich."));
        QCOMPARE(prompts.at(0).title, QStringLiteral("Freie Termine Suchen"));
        QCOMPARE(view.d()->model.vorschlagVon, kMonday + hm(11, 0));

        QTest::mouseClick(panel->findChild<QPushButton *>("cmdClose"), Qt::LeftButton);
        QVERIFY(!panel->isVisible());
        QCOMPARE(view.pic()->y(), 0);
    }

    // Catches a print job with the wrong number of pages, and a screen left on the print layout
    // or on the printed days.
    void printJob_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("across");
        QTest::newRow("one page") << 1 << 1;
        QTest::newRow("two pages") << 2 << 1;
        QTest::newRow("two views across") << 1 << 2;
    }
    void printJob()
    {
        QFETCH(int, pages);
        QFETCH(int, across);
        QTemporaryDir dir;
        const QString pdf = (keepDir().isEmpty() ? dir.path() : keepDir()) + QStringLiteral("/gantt-print-%1-%2.pdf").arg(pages).arg(across);
        cPrintDialog::setHandler(cPrintDialog::printToFile(pdf, pages));
        View view(7);
        const QString printLayout = QStringLiteral("cContainer 1\nblnQuerformat:b=-1\nlngAnzahlAnsichtenNebeneinander:i=%1\n"
                                                   "strFont:s14=DejaVu Sans, 7\n").arg(across);
        view.gantt.setOptions(QStringLiteral("cContainer 1\nstrLayoutDruckGantt:s%1=%2\n").arg(printLayout.size()).arg(printLayout));
        view.gantt.setSelectedDate("A");
        view.gantt.TerminVorSchlagEintragen(kMonday + hm(14, 0), kMonday + hm(16, 0));
        view.d()->model.row(2).blnMarkiert = true;
        const QFont screenFont = view.d()->settings.style.font;
        view.requests = 0;

        view.gantt.PrintGantt(false);
        QCOMPARE(pdfPageCount(pdf), pages);
        QCOMPARE(view.gantt.ForPrinting, false);
        QCOMPARE(view.gantt.FirstDay(), kMonday);
        QCOMPARE(view.gantt.LastDay(), kMonday + 6);
        QCOMPARE(view.d()->settings.style.font, screenFont);
        QCOMPARE(view.requests, pages * across + 1); // one per printed view, one for the way back
    }

    // Catches the selection, marking, current-time line or proposal in the printed view, and a
    // printed view without its black frame.
    void printedViewLeavesOutScreenState_data()
    {
        QTest::addColumn<bool>("forPrinting");
        QTest::newRow("printing") << true;
        QTest::newRow("not printing (the screen state shows)") << false;
    }
    void printedViewLeavesOutScreenState()
    {
        QFETCH(bool, forPrinting);
        View view(2);
        view.gantt.setSelectedDate("A");
        view.gantt.TerminVorSchlagEintragen(kMonday + hm(14, 0), kMonday + hm(16, 0));
        view.d()->model.row(2).blnMarkiert = true;
        view.gantt.ForPrinting = forPrinting;
        QImage page(1000, 600, QImage::Format_RGB32);
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
            view.gantt.PrintAnsicht(&painter, 50, 40, 900, 500);
        }
        view.gantt.ForPrinting = false;
        if (!keepDir().isEmpty())
            page.save(keepDir() + QStringLiteral("/gantt-printed-view-%1.png").arg(forPrinting));
        const QColor selection = cDC::toQColor(cTools::DefaultSelectionColor());
        const QColor red(255, 0, 0);
        int selected = 0, redPixels = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                selected += c == selection;
                redPixels += c == red;
            }
        }
        QCOMPARE(selected > 0, !forPrinting);
        QCOMPARE(redPixels > 0, !forPrinting);
        QCOMPARE(page.pixelColor(50, 300), QColor(Qt::black));
        QCOMPARE(page.pixelColor(950, 300), QColor(Qt::black));
        QCOMPARE(page.pixelColor(500, 540), QColor(Qt::black));
        QCOMPARE(page.pixelColor(49, 300), QColor(Qt::white));
    }

private:
    QList<Prompt> prompts;
    bool answer = true;
};

QTEST_MAIN(tst_GanttInteraction)
#include "tst_ganttinteraction.moc"

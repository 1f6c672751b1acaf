// The Gantt view on a real control shown offscreen: a move by mouse with its question and
// event, and the kept picture that a change must renew.
#include "gantt/ctlgantt_p.h"
#include "gantt/ganttsurface.h"
#include "shared/clock.h"
#include "support/testing.h"

#include <dayplex/ctlgantt.h>

#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMonday = day(2024, 3, 4);

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

private:
    QList<Prompt> prompts;
    bool answer = true;
};

DAYPLEX_TEST_MAIN(tst_GanttInteraction)
#include "tst_ganttinteraction.moc"

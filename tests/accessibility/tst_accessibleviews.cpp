// Both views as a screen reader sees them, through the QAccessible API: the table and the
// appointments with their names and actions.
#include "accessibility/accessibleview.h"
#include "support/testing.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/ucagenda.h>

#include <QAccessible>
#include <QMenu>
#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

// The week of Good Friday (2024-03-29), a holiday the views add themselves.
const Date kMonday = day(2024, 3, 25);

struct Entry
{
    QString dsn;
    QString text;
    Date start;
    Date end;
    bool allDay;
    bool readOnly;
    QString row;
};

// What the host delivers: a writable meeting, a read-only visit, an all-day fair, and an early
// shift above the calendar's first time (08:00), so not on screen.
QVector<Entry> weekData()
{
    return {{"A", "Teambesprechung", kMonday + hm(9, 0), kMonday + hm(10, 30), false, false, "R1"},
            {"B", "Kundentermin\r\nHansen KG", kMonday + 1 + hm(10, 0), kMonday + 1 + hm(11, 0), false, true, "R2"},
            {"C", "Messe", kMonday + 2, kMonday + 2, true, false, "R1"},
            {"D", "Frühdienst", kMonday + 3 + hm(6, 0), kMonday + 3 + hm(7, 0), false, false, "R2"}};
}

// Both views on the same week, shown offscreen and painted, filled from `data` on every request.
struct Views
{
    Views()
    {
        QObject::connect(&calendar, &ucAgenda::NeedDates, &calendar, [this](double from, double to, const QString &) {
            calendar.SetFilledRange(from, to);
            for (const Entry &e : std::as_const(data))
                calendar.AddDate(e.dsn, e.text, e.start, e.end, e.allDay, 0, false, 0xFFFFFF, e.readOnly);
        });
        QObject::connect(&gantt, &ctlGantt::NeedDates, &gantt, [this](double from, double to, const QString &) {
            gantt.SetFilledRange(from, to);
            gantt.AddMerkmal(QStringLiteral("Anna Berg"), QStringLiteral("R1"));
            gantt.AddMerkmal(QStringLiteral("Ben Koch"), QStringLiteral("R2"));
            for (const Entry &e : std::as_const(data))
                gantt.AddDate(e.dsn, e.text, e.start, e.end, e.allDay, 0, false, 0xFFFFFF, e.readOnly, e.row, false);
        });
        for (QWidget *view : {static_cast<QWidget *>(&calendar), static_cast<QWidget *>(&gantt)}) {
            view->resize(900, 560);
            view->show();
        }
        calendar.Enabled = gantt.Enabled = true;
        double last = kMonday + 6;
        calendar.SetDisplayedRange(kMonday, &last, false, false);
        gantt.SetDisplayedRange(kMonday, &last, false, false);
        QVERIFY(QTest::qWaitForWindowExposed(&calendar) && QTest::qWaitForWindowExposed(&gantt));
        calendar.Repaint();
        gantt.Repaint();
    }

    QWidget *surface(bool ofGantt)
    {
        return ofGantt ? gantt.findChild<QWidget *>(QStringLiteral("calpic"))
                       : calendar.findChild<QWidget *>(QStringLiteral("pic"));
    }
    QAccessibleInterface *table(bool ofGantt)
    {
        return QAccessible::queryAccessibleInterface(surface(ofGantt));
    }
    void refresh(bool ofGantt)
    {
        if (ofGantt)
            gantt.Refresh();
        else
            calendar.Refresh();
    }

    QVector<Entry> data = weekData();
    ucAgenda calendar;
    ctlGantt gantt;
};

// The appointment children of a table, which come after its headers and cells.
QList<QAccessibleInterface *> appointments(QAccessibleInterface *table)
{
    QList<QAccessibleInterface *> items;
    for (int i = 0; i < table->childCount(); ++i)
        if (QAccessibleInterface *child = table->child(i); child->role() == QAccessible::ListItem)
            items.append(child);
    return items;
}

QStringList names(const QList<QAccessibleInterface *> &items)
{
    QStringList list;
    for (QAccessibleInterface *item : items)
        list.append(item->text(QAccessible::Name));
    return list;
}

QAccessibleInterface *appointment(QAccessibleInterface *table, const QString &text)
{
    for (QAccessibleInterface *item : appointments(table))
        if (item->text(QAccessible::Name).contains(text))
            return item;
    return nullptr;
}

} // namespace

class tst_AccessibleViews : public QObject
{
    Q_OBJECT

private slots:
    // Catches a view that is one blank element, a table of the wrong shape or with headers
    // and cells that name the wrong day or time, appointments in a reading order other than by
    // day and time, and appointments listed that are scrolled out of sight.
    void tree_data()
    {
        QTest::addColumn<bool>("ofGantt");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("columnsByRows");
        QTest::addColumn<QPoint>("cell"); // column, row
        QTest::addColumn<QString>("cellName");
        QTest::addColumn<QString>("rowHeader");
        QTest::addColumn<QString>("columnHeader");
        QTest::addColumn<QStringList>("appointments");
        QTest::newRow("calendar: band and 48 half hours")
            << false << "Kalender" << QSize(7, 49) << QPoint(1, 21) << "Dienstag, 26. März 2024, 10:00" << "10:00"
            << "Dienstag, 26. März 2024"
            << QStringList{"Montag, 25. März 2024, 09:00 bis 10:30, Teambesprechung",
                           "Dienstag, 26. März 2024, 10:00 bis 11:00, Kundentermin Hansen KG, schreibgeschützt",
                           "Mittwoch, 27. März 2024, ganztägig, Messe",
                           "Freitag, 29. März 2024, ganztägig, Karfreitag, Feiertag"};
        QTest::newRow("Gantt: holiday row and two participants")
            << true << "Ressourcenansicht" << QSize(7, 3) << QPoint(2, 1) << "Anna Berg, Mittwoch, 27. März 2024"
            << "Anna Berg" << "Mittwoch, 27. März 2024"
            << QStringList{"Freitag, 29. März 2024, ganztägig, Karfreitag, Feiertag",
                           "Montag, 25. März 2024, 09:00 bis 10:30, Anna Berg: Teambesprechung",
                           "Mittwoch, 27. März 2024, ganztägig, Anna Berg: Messe",
                           "Dienstag, 26. März 2024, 10:00 bis 11:00, Ben Koch: Kundentermin Hansen KG, "
                           "schreibgeschützt",
                           // The Gantt view shows whole days.
                           "Donnerstag, 28. März 2024, 06:00 bis 07:00, Ben Koch: Frühdienst"};
    }
    void tree()
    {
        QFETCH(bool, ofGantt);
        QFETCH(QString, name);
        QFETCH(QSize, columnsByRows);
        QFETCH(QPoint, cell);
        QFETCH(QString, cellName);
        QFETCH(QString, rowHeader);
        QFETCH(QString, columnHeader);
        QFETCH(QStringList, appointments);
        Views views;
        QAccessibleInterface *table = views.table(ofGantt);
        QVERIFY(table && table->isValid());
        QCOMPARE(table->role(), QAccessible::Table);
        QCOMPARE(table->text(QAccessible::Name), name);
        QCOMPARE(table->text(QAccessible::Description), "Montag, 25. März 2024 bis Sonntag, 31. März 2024");
        QAccessibleTableInterface *grid = table->tableInterface();
        QCOMPARE(QSize(grid->columnCount(), grid->rowCount()), columnsByRows);
        QAccessibleInterface *one = grid->cellAt(cell.y(), cell.x());
        QCOMPARE(one->text(QAccessible::Name), cellName);
        QCOMPARE(one->tableCellInterface()->rowHeaderCells().value(0)->text(QAccessible::Name), rowHeader);
        QCOMPARE(one->tableCellInterface()->columnHeaderCells().value(0)->text(QAccessible::Name), columnHeader);
        QCOMPARE(table->indexOfChild(one), grid->columnCount() + grid->rowCount()
                                               + cell.y() * grid->columnCount() + cell.x());
        QCOMPARE(names(::appointments(table)), appointments);
        // A screen reader's pointer finds the appointment over the cells.
        QAccessibleInterface *first = ::appointments(table).first();
        QCOMPARE(table->childAt(first->rect().center().x(), first->rect().center().y()), first);
    }

    // Catches an action that raises another event than the click, double click or right click
    // it stands for, one that raises it twice, and one that runs before the screen reader has
    // its answer.
    void actions_data()
    {
        QTest::addColumn<bool>("ofGantt");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("menu");
        for (bool ofGantt : {false, true}) {
            const char *view = ofGantt ? "Gantt" : "calendar";
            QTest::addRow("%s: press selects", view) << ofGantt << QAccessibleActionInterface::pressAction() << "A" << 0 << false;
            QTest::addRow("%s: open shows", view) << ofGantt << "Open" << "A" << 1 << false;
            QTest::addRow("%s: menu at it", view) << ofGantt << QAccessibleActionInterface::showMenuAction() << "C" << 0 << true;
        }
    }
    void actions()
    {
        QFETCH(bool, ofGantt);
        QFETCH(QString, action);
        QFETCH(QString, selected);
        QFETCH(int, shown);
        QFETCH(bool, menu);
        Views views;
        QWidget *view = ofGantt ? static_cast<QWidget *>(&views.gantt) : &views.calendar;
        view->setProperty("SelectedDate", "C");
        QSignalSpy show(view, SIGNAL(ShowDate(QString)));
        appointment(views.table(ofGantt), "Teambesprechung")->actionInterface()->doAction(action);
        QCOMPARE(view->property("SelectedDate").toString(), "C");
        QTRY_COMPARE(view->property("SelectedDate").toString(), selected);
        QTest::qWait(10);
        QCOMPARE(show.size(), shown);
        if (shown)
            QCOMPARE(show.first().first().toString(), "A");
        QMenu *popUp = view->findChild<QMenu *>(QStringLiteral("mnuPopUp"));
        QCOMPARE(popUp && popUp->isVisible(), menu);
        if (popUp)
            popUp->hide();
    }

};

DAYPLEX_TEST_MAIN(tst_AccessibleViews)
#include "tst_accessibleviews.moc"

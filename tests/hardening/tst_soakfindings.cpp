// Faults the soak run of both views found, each replayed on its own so that it stays fixed.
#include "calendar/datepicker.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;

class tst_SoakFindings : public QObject
{
    Q_OBJECT

private slots:
    void pageTurnWithFocusedMonth_data()
    {
        QTest::addColumn<int>("across");
        QTest::addColumn<int>("down");
        QTest::addColumn<int>("focused"); // index of the month that has the keyboard focus
        QTest::addColumn<int>("pages");
        QTest::newRow("4 x 3, last month focused, next page") << 4 << 3 << 11 << 1;
        QTest::newRow("4 x 3, first month focused, previous page") << 4 << 3 << 0 << -1;
        QTest::newRow("2 x 3, middle month focused, same page again") << 2 << 3 << 3 << 0;
        QTest::newRow("1 x 2, second month focused, two pages on") << 1 << 2 << 1 << 2;
    }

    // Catches the drop-down reading months it has already deleted: turning the page deletes the
    // month calendars, the focused one hands its focus on, and the focus handling walked the
    // list of months while they went.
    void pageTurnWithFocusedMonth()
    {
        QFETCH(int, across);
        QFETCH(int, down);
        QFETCH(int, focused);
        QFETCH(int, pages);
        DatePickerDropDown dropDown;
        dropDown.setup(QDate(2024, 3, 6), MonthGrid{across, down}, true);
        dropDown.show();
        dropDown.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dropDown));
        QCOMPARE(dropDown.months().size(), across * down);
        auto *view = dropDown.months().at(focused)->findChild<QAbstractItemView *>();
        QVERIFY(view);
        view->setFocus();
        QVERIFY(view->hasFocus());
        const QDate before = dropDown.firstMonth();
        dropDown.turn(pages);
        QCOMPARE(dropDown.months().size(), across * down);
        QCOMPARE(dropDown.firstMonth(), before.addMonths(pages * across * down));
    }
};

DAYPLEX_TEST_MAIN(tst_SoakFindings)
#include "tst_soakfindings.moc"

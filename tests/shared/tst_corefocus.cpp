// Both view cores take the keyboard's arrival alike: Tab shows the focus frame at once.
#include "calendar/agendacore.h"
#include "gantt/ganttcore.h"

#include <QtTest>

#include "support/testmain.h"

using namespace Dayplex;

class tst_CoreFocus : public QObject
{
    Q_OBJECT

private slots:
    // Catches a focus frame missing after Tab, or shown after a click or a window switch.
    void focusGained_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("keyboard");
        QTest::newRow("tab") << int(Qt::TabFocusReason) << true;
        QTest::newRow("backtab") << int(Qt::BacktabFocusReason) << true;
        QTest::newRow("mouse") << int(Qt::MouseFocusReason) << false;
        QTest::newRow("window") << int(Qt::ActiveWindowFocusReason) << false;
    }
    void focusGained()
    {
        QFETCH(int, reason);
        QFETCH(bool, keyboard);
        AgendaCore calendar;
        GanttCore gantt;
        calendar.focusGained(Qt::FocusReason(reason));
        gantt.focusGained(Qt::FocusReason(reason));
        QCOMPARE(calendar.gesture.keyboardInUse(), keyboard);
        QCOMPARE(gantt.gestures.keyboardInUse(), keyboard);
    }
};

DAYPLEX_TEST_MAIN(tst_CoreFocus)
#include "tst_corefocus.moc"

// The free-slot panel and the option dialogs by keyboard and screen reader: Tab reaches every
// control in reading order, and each control has a name that a screen reader reads.
#include "dialogs/cfrmconfigcalendar.h"
#include "dialogs/cfrmconfiglayout.h"
#include "gantt/ganttsearchpanel.h"

#include <QAccessible>
#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>
#include "support/testmain.h"

using namespace Dayplex;

using Make = std::function<QWidget *()>;
Q_DECLARE_METATYPE(Make)

namespace {

Make searchPanel()
{
    return [] { return new GanttSearchPanel(nullptr); };
}

Make optionsDialog()
{
    return [] { return new cfrmConfigCalendar; };
}

Make layoutDialog(bool print)
{
    return [print] {
        auto *dialog = new cfrmConfigLayout;
        dialog->setDruckausgabe(print);
        return dialog;
    };
}

std::unique_ptr<QWidget> shown(const Make &make)
{
    std::unique_ptr<QWidget> window(make());
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qFatal("window not active");
    return window;
}

// The controls Tab visits from the one with the keyboard until it is back there, by object
// name; a control that keeps Tab for itself a while (the sections of a time) counts once.
QStringList tabCycle()
{
    QStringList visited;
    QWidget *first = QApplication::focusWidget();
    bool left = false;
    for (int step = 0; step < 400 && first; ++step) {
        QWidget *now = QApplication::focusWidget();
        left = left || now != first;
        if (left && now == first)
            break;
        if (visited.isEmpty() || visited.last() != now->objectName())
            visited.append(now->objectName());
        QTest::keyClick(now, Qt::Key_Tab);
    }
    return visited;
}

// Everything on the window a user edits or presses.
QSet<QString> controls(QWidget &window)
{
    QSet<QString> names;
    for (QWidget *w : window.findChildren<QWidget *>()) {
        const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QAbstractSpinBox *>(w)
                             || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractItemView *>(w)
                             || qobject_cast<cColorLabel *>(w)
                             || (qobject_cast<QLineEdit *>(w) && !qobject_cast<QAbstractSpinBox *>(w->parent())
                                 && !qobject_cast<QComboBox *>(w->parent()));
        if (control && w->isVisibleTo(&window) && w->isEnabled())
            names.insert(w->objectName());
    }
    return names;
}

} // namespace

class tst_DialogKeyboard : public QObject
{
    Q_OBJECT

private slots:
    // Catches a control Tab never reaches (a mouse-only swatch), one reached twice, and for the
    // panel, whose order is short enough to pin, an order other than the one of the fields.
    void tabReachesEveryControl_data()
    {
        QTest::addColumn<Make>("make");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("free-slot panel")
            << searchPanel()
            << QStringList{"txtTage", "dtpTimeStunden", "dtpTimeVon", "dtpTimeBis", "dtpDayAb",
                           "chkWochenende", "cmdAuto_0", "cmdAuto_1", "cmdClose"};
        QTest::newRow("calendar options") << optionsDialog() << QStringList();
        QTest::newRow("screen layout") << layoutDialog(false) << QStringList();
        QTest::newRow("print layout") << layoutDialog(true) << QStringList();
    }
    void tabReachesEveryControl()
    {
        QFETCH(Make, make);
        QFETCH(QStringList, order);
        const std::unique_ptr<QWidget> window = shown(make);
        const QStringList cycle = tabCycle();
        QCOMPARE(QSet<QString>(cycle.cbegin(), cycle.cend()), controls(*window));
        QCOMPARE(cycle.size(), controls(*window).size());
        if (!order.isEmpty())
            QCOMPARE(cycle, order);
    }

    // Catches a cell of the working hours that a screen reader can place only by counting:
    // the hidden headers name its day and column.
    void workingHoursCells()
    {
        const std::unique_ptr<QWidget> dialog(optionsDialog()());
        QAccessibleTableInterface *table =
            QAccessible::queryAccessibleInterface(dialog->findChild<QTableWidget *>("ssArbeitszeit"))
                ->tableInterface();
        QCOMPARE(table->rowDescription(cfrmConfigCalendar::kLastRow), "Sonntag");
        QCOMPARE(table->columnDescription(5), "Pause 1 bis");
    }
};

DAYPLEX_TEST_MAIN(tst_DialogKeyboard)
#include "tst_dialogkeyboard.moc"

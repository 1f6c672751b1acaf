// How the option dialogs and the free-slot panel meet a user: laid out at the default font with
// their German and their English texts, Tab reaching every control in reading order, and each
// control named for a screen reader. Set DAYPLEX_SCREENSHOT_DIR to a folder (an absolute path,
// such as the repository's docs/images) to keep the dialogs' pictures.
#include "dialogs/cfrmconfigcalendar.h"
#include "dialogs/cfrmconfiglayout.h"
#include "dialogs/modaldialog.h"
#include "gantt/ganttsearchpanel.h"
#include "shared/defaultoptions.h"
#include "shared/uitext.h"

#include <QAccessible>
#include <QtTest>
#include <QtWidgets>
#include "support/testmain.h"

using namespace Dayplex;

namespace {

// Problems of one laid-out dialog, one line each: a caption wider or taller than its widget,
// visible siblings on top of each other, a widget reaching out of its frame or the dialog.
QStringList layoutFaults(const QWidget &dialog)
{
    QStringList faults;
    const auto name = [](const QWidget *w) {
        const QString text = w->property("text").toString();
        return w->objectName().isEmpty() || !text.isEmpty()
                   ? QStringLiteral("%1 \"%2\"").arg(w->objectName(), text)
                   : w->objectName();
    };
    for (const QWidget *w : dialog.findChildren<QWidget *>()) {
        if (!w->isVisible())
            continue;
        // Line edits are left out: their size hint is a general width, not their text's.
        const auto *label = qobject_cast<const QLabel *>(w);
        const bool showsText = (label && !label->wordWrap())
                               || qobject_cast<const QAbstractButton *>(w)
                               || qobject_cast<const QComboBox *>(w)
                               || qobject_cast<const QAbstractSpinBox *>(w);
        const QSize need = showsText                            ? w->sizeHint()
                           : qobject_cast<const QGroupBox *>(w) ? w->minimumSizeHint()
                                                                : QSize();
        if (need.isValid() && (need.width() > w->width() || need.height() > w->height()))
            faults << QStringLiteral("cut: %1 needs %2x%3, has %4x%5")
                          .arg(name(w))
                          .arg(need.width()).arg(need.height())
                          .arg(w->width()).arg(w->height());
    }
    // Only the dialog and its frames are laid out here; complex widgets place their own parts.
    QList<const QWidget *> containers{&dialog};
    for (const QGroupBox *frame : dialog.findChildren<QGroupBox *>())
        containers << frame;
    for (const QWidget *container : containers) {
        QList<const QWidget *> children;
        for (const QObject *o : container->children()) {
            const auto *w = qobject_cast<const QWidget *>(o);
            if (w && w->isVisible() && !w->isWindow())
                children << w;
        }
        for (int i = 0; i < children.size(); ++i) {
            if (!container->rect().contains(children[i]->geometry()))
                faults << QStringLiteral("outside %1: %2")
                              .arg(container->objectName(), name(children[i]));
            for (int j = i + 1; j < children.size(); ++j)
                if (children[i]->geometry().intersects(children[j]->geometry()))
                    faults << QStringLiteral("overlap: %1 / %2")
                                  .arg(name(children[i]), name(children[j]));
        }
    }
    // The dialogs must fit a small laptop screen.
    if (dialog.width() > 1024 || dialog.height() > 700)
        faults << QStringLiteral("too large: %1x%2").arg(dialog.width()).arg(dialog.height());
    return faults;
}

// The controls Tab visits from the one with the keyboard until it is back there, once the
// window is active, by object name; a control that keeps Tab for itself a while (the sections of
// a time) counts once.
QStringList tabCycle(QWidget &window)
{
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return {QStringLiteral("window not active")};
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

// Everything on the window a user edits or presses, sorted by name.
QStringList controls(QWidget &window)
{
    QStringList names;
    for (QWidget *w : window.findChildren<QWidget *>()) {
        QObject *parent = w->parent();
        const bool control =
            qobject_cast<QAbstractButton *>(w) || qobject_cast<QAbstractSpinBox *>(w)
            || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractItemView *>(w)
            || qobject_cast<cColorLabel *>(w)
            || (qobject_cast<QLineEdit *>(w) && !qobject_cast<QAbstractSpinBox *>(parent)
                && !qobject_cast<QComboBox *>(parent));
        if (control && w->isVisibleTo(&window) && w->isEnabled())
            names.append(w->objectName());
    }
    names.sort();
    return names;
}

// Checks the dialog shown and Tab's way through it (every control once, a mouse-only swatch
// would be missing), and keeps its picture when DAYPLEX_SCREENSHOT_DIR names a folder.
void inspect(QDialog &dialog, const QString &fileName)
{
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QStringList faults = layoutFaults(dialog);
    const QString dir = qEnvironmentVariable("DAYPLEX_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(dialog.grab().save(QDir(dir).filePath(fileName), "PNG"));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    QStringList cycle = tabCycle(dialog);
    cycle.sort();
    QCOMPARE(cycle, controls(dialog));
}

} // namespace

class tst_DialogLayout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    // Catches captions cut off, controls laid over each other or out of their frame, and a
    // control Tab never reaches or reaches twice, in the options dialog and in the layout dialog
    // in each of its five enable modes, in German and with the longer or shorter English texts.
    void laidOut_data();
    void laidOut();
    // Catches a free-slot panel whose Tab order is not the order of its fields.
    void searchPanelTabOrder();
    // Catches a cell of the working hours that a screen reader can place only by counting:
    // the hidden headers name its day and column.
    void workingHoursCells();
};

void tst_DialogLayout::cleanup()
{
    setModalRunner({});
    QLocale::setDefault(QLocale::c());
    chooseUiLanguage(QLocale());
}

void tst_DialogLayout::laidOut_data()
{
    QTest::addColumn<QLocale>("language");
    QTest::addColumn<QString>("button"); // "" for the options dialog itself
    QTest::addColumn<QString>("fileName");

    // The C locale keeps the German source texts, and the pictures as they always were made.
    const QLocale german = QLocale::c();
    const QLocale english(QLocale::English, QLocale::UnitedKingdom);
    const struct
    {
        const char *dialog;
        const char *button;
        const char *fileName;
    } dialogs[] = {
        {"Kalenderoptionen", "", "dialog-kalenderoptionen"},
        {"Bildschirmlayout Kalender", "cmdAnsicht_0", "dialog-layout-kalender"},
        {"Bildschirmlayout Gantt", "cmdAnsicht_1", "dialog-layout-gantt"},
        {"Drucklayout Wochenblatt", "cmdAnsicht_3", "dialog-layout-druck-woche"},
        {"Drucklayout Tagesblatt", "cmdAnsicht_4", "dialog-layout-druck-tag"},
        {"Drucklayout Gantt", "cmdAnsicht_5", "dialog-layout-druck-gantt"},
    };
    for (const auto &d : dialogs) {
        QTest::newRow(d.dialog) << german << d.button << QStringLiteral("%1.png").arg(d.fileName);
        QTest::addRow("%s, English", d.dialog)
            << english << d.button << QStringLiteral("%1-en.png").arg(d.fileName);
    }
}

void tst_DialogLayout::laidOut()
{
    QFETCH(QLocale, language);
    QFETCH(QString, button);
    QFETCH(QString, fileName);

    QLocale::setDefault(language);
    chooseUiLanguage(QLocale());
    cfrmConfigCalendar options;
    options.setOptions(defaultOptionsString());
    if (button.isEmpty()) {
        inspect(options, fileName);
        return;
    }
    // The layout dialog as its button opens it: caption, enable mode and values.
    int runs = 0;
    setModalRunner([&](QDialog &dialog) {
        ++runs;
        inspect(dialog, fileName);
        dialog.reject();
    });
    options.findChild<QAbstractButton *>(button)->click();
    QCOMPARE(runs, 1);
}

void tst_DialogLayout::searchPanelTabOrder()
{
    GanttSearchPanel panel(nullptr);
    const QStringList order = tabCycle(panel);
    QCOMPARE(order, (QStringList{"txtTage", "dtpTimeStunden", "dtpTimeVon", "dtpTimeBis",
                                 "dtpDayAb", "chkWochenende", "cmdAuto_0", "cmdAuto_1",
                                 "cmdClose"}));
    QStringList sorted = order;
    sorted.sort();
    QCOMPARE(sorted, controls(panel));
}

void tst_DialogLayout::workingHoursCells()
{
    cfrmConfigCalendar dialog;
    QWidget *grid = dialog.findChild<QTableWidget *>("ssArbeitszeit");
    QAccessibleTableInterface *table =
        QAccessible::queryAccessibleInterface(grid)->tableInterface();
    QCOMPARE(table->rowDescription(cfrmConfigCalendar::kLastRow), "Sonntag");
    QCOMPARE(table->columnDescription(5), "Pause 1 bis");
}

DAYPLEX_TEST_MAIN(tst_DialogLayout)
#include "tst_dialoglayout.moc"

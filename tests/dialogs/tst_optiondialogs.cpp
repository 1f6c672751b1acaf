// The calendar options dialog and the layout dialog: what they store on OK and what they keep
// when left otherwise; and how they and the free-slot panel meet a user: laid out at the default
// font with their German and their English texts, Tab reaching every control in reading order,
// and each control named for a screen reader. Set DAYPLEX_SCREENSHOT_DIR to a folder (an
// absolute path, such as the repository's docs/images) to keep the dialogs' pictures.
#include "accessibility/accessiblefactory.h"
#include "dialogs/cfrmconfigcalendar.h"
#include "dialogs/cfrmconfiglayout.h"
#include "dialogs/modaldialog.h"
#include "gantt/ganttsearchpanel.h"
#include "shared/ccontainer.h"
#include "shared/ctools.h"
#include "shared/defaultoptions.h"
#include "shared/uitext.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/error.h>
#include <dayplex/ucagenda.h>

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;
using Testing::hm;

using Edit = std::function<void(QDialog &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

// Flags compare as flags (stored -1 and written 1 are both true), texts as texts, everything
// else as numbers: "20" equals 20.
QVariant reading(const cContainer &c, const QString &key)
{
    if (key.startsWith(QLatin1String("str"), Qt::CaseInsensitive))
        return c.textValue(key);
    if (key.startsWith(QLatin1String("bln"), Qt::CaseInsensitive))
        return c.boolValue(key);
    return c.doubleValue(key);
}

// The base string with some values replaced (the kind follows the variant, a double is a time)
// and one key left out.
QString withValues(const QString &base, const QVariantMap &values, const QString &without = {})
{
    cContainer from, c;
    from.setContainerString(base);
    for (const QString &key : from.keys())
        if (key != without)
            c.setValue(key, from.Value(key), from.kind(key));
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const int type = it.value().typeId();
        c.setValue(it.key(), it.value(),
                   type == QMetaType::Double    ? cContainer::Kind::Date
                   : type == QMetaType::QString ? cContainer::Kind::Text
                   : type == QMetaType::Bool    ? cContainer::Kind::Boolean
                                                : cContainer::Kind::Long);
    }
    return c.ContainerString();
}

template<typename T>
T *child(QWidget &dialog, const QString &name)
{
    T *found = dialog.findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

void click(QWidget &dialog, const QString &name)
{
    child<QAbstractButton>(dialog, name)->click();
}

QTableWidget *grid(QWidget &d)
{
    return child<QTableWidget>(d, QStringLiteral("ssArbeitszeit"));
}

std::optional<QColor> answeredColour;
std::optional<QFont> answeredFont;
QStringList choosersRun; // "tag=initial value" of every chooser, in order

// Answers the colour and font choosers as the user would: the prepared value and OK, or
// Abbrechen when there is none.
void answerChooser(QDialog &dialog)
{
    auto *colour = qobject_cast<QColorDialog *>(&dialog);
    auto *font = qobject_cast<QFontDialog *>(&dialog);
    if (!colour && !font)
        QFAIL(qPrintable("unexpected window " + dialog.objectName()));
    QCOMPARE(dialog.objectName(), QLatin1String(colour ? ModalWindow::ColorChooser : ModalWindow::FontChooser));
    choosersRun << dialog.property("tag").toString() + '='
                       + (colour ? colour->currentColor().name() : QString::number(font->currentFont().pointSize()));
    if (colour ? !answeredColour : !answeredFont)
        return dialog.reject();
    if (colour)
        colour->setCurrentColor(*answeredColour);
    else
        font->setCurrentFont(*answeredFont);
    dialog.accept();
}

// What a dialog stored on OK against what it was given: every key of `in` is kept, with the
// value of `changes` where it has one; keys `in` lacks are written as 00:00.
void compareStored(const cContainer &in, const QString &stored, const QVariantMap &changes)
{
    cContainer out;
    out.setContainerString(stored);
    for (const QString &key : in.keys())
        QVERIFY2(out.contains(key), qPrintable(key));
    for (const QString &key : out.keys()) {
        const QVariant expected = changes.contains(key) ? changes.value(key)
                                  : in.contains(key)    ? reading(in, key)
                                                        : QVariant(0.0);
        QVERIFY2(reading(out, key) == expected, qPrintable(key));
    }
}

// Problems of one laid-out dialog, one line each: a caption wider or taller than its widget,
// visible siblings on top of each other, a widget reaching out of its frame or the dialog.
QStringList layoutFaults(const QWidget &dialog)
{
    QStringList faults;
    const auto name = [](const QWidget *w) {
        return QStringLiteral("%1 \"%2\"").arg(w->objectName(), w->property("text").toString());
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

class tst_OptionDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // As the first view does, before any dialog asks for an interface.
        installAccessibleInterfaces();
    }
    void init()
    {
        setModalRunner(answerChooser);
        choosersRun.clear();
    }
    void cleanup()
    {
        setModalRunner({});
        QLocale::setDefault(QLocale::c());
        chooseUiLanguage(QLocale());
    }

    // Catches lost host keys or keys altered on OK, wrong kinds of controls, choosers that start
    // from another value or name another key, choosers or filters that store what the dialog did
    // not show, switches of the options written as -1, and time cells not stored as 00:00 when
    // emptied or unreadable; in the layout dialog and in the options dialog.
    void storesExactlyTheEdits_data()
    {
        QTest::addColumn<bool>("layout"); // the layout dialog, else the options dialog
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QVariantMap>("changes");

        const QVariantMap none;
        QTest::newRow("raster not in the list shows and stores 5 Minuten")
            << true << QVariantMap{{"strAufloesung", "7 Minuten"}}
            << Edit([](QDialog &d) {
                   QCOMPARE(child<QComboBox>(d, "cboAufloesung")->currentText(), "5 Minuten");
               })
            << QVariantMap{{"strAufloesung", "5 Minuten"}};
        QTest::newRow("only the text colour changed")
            << true << QVariantMap{{"rgbBackTermine", 0x00FFFF}, {"rgbFontTermine", 0}}
            << Edit([](QDialog &d) {
                   auto *label = child<cColorLabel>(d, "lblColor_7");
                   QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::yellow));
                   QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
                   answeredColour = QColor(255, 0, 0);
                   click(d, "cmdSchritfarbe_7");
                   QCOMPARE(choosersRun, QStringList{"rgbFontTermine=#000000"});
               })
            << QVariantMap{{"rgbFontTermine", double(0x0000FF)}};
        QTest::newRow("background chosen with Space, another by a screen reader's press")
            << true << none
            << Edit([](QDialog &d) {
                   answeredColour.reset();
                   QTest::keyClick(child<QWidget>(d, "lblColor_6"), Qt::Key_Space);
                   answeredColour = QColor(0, 128, 0);
                   QAccessibleInterface *button =
                       QAccessible::queryAccessibleInterface(child<QWidget>(d, "lblColor_7"));
                   QCOMPARE(button->role(), QAccessible::Button);
                   button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                   QTRY_COMPARE(choosersRun,
                                (QStringList{"rgbBackTagesTermine=#ffff00", "rgbBackTermine=#ffff00"}));
               })
            << QVariantMap{{"rgbBackTermine", double(0x008000)}};
        QTest::newRow("font chosen")
            << true << none
            << Edit([](QDialog &d) {
                   QCOMPARE(child<QLabel>(d, "lblFont")->text(), "MS Sans Serif, 8pt");
                   answeredFont = QFont(QStringLiteral("DejaVu Sans"), 12);
                   click(d, "cmdFont");
                   QCOMPARE(choosersRun, QStringList{"strFont=8"});
               })
            << QVariantMap{{"strFont", "DejaVu Sans, 12 Punkt"}};
        QTest::newRow("check box and time edited")
            << true << none
            << Edit([](QDialog &d) {
                   child<QCheckBox>(d, "Check2")->setChecked(false);
                   child<QDateTimeEdit>(d, "dtpStartzeit")->setTime(QTime(7, 30));
               })
            << QVariantMap{{"blnIndividuelleTerminfarben", false}, {"timeStartZeit", hm(7, 30)}};
        QTest::newRow("unreadable values keep the defaults")
            << true
            << QVariantMap{{"timeStartZeit", "abc"}, {"blnQuerformat", "xyz"}, {"rgbFreizeit", "rot"}}
            << Edit([](QDialog &) {})
            << QVariantMap{{"timeStartZeit", hm(8, 0)}, {"blnQuerformat", false},
                           {"rgbFreizeit", double(cTools::DefaultFreeTimeColor())}};
        QTest::newRow("foreign text is refused and changes nothing")
            << true << none
            << Edit([](QDialog &d) {
                   auto &layout = static_cast<cfrmConfigLayout &>(d);
                   QVERIFY_THROWS_EXCEPTION(Error, layout.setWert(QStringLiteral("Farbe=rot")));
               })
            << none;
        QTest::newRow("Delete clears a cell, stored as 00:00")
            << false << none
            << Edit([](QDialog &d) {
                   grid(d)->setCurrentCell(3, 3);
                   QTest::keyClick(grid(d), Qt::Key_Delete);
                   QCOMPARE(grid(d)->item(3, 3)->text(), QString());
               })
            << QVariantMap{{"timeArbeitszeitBis3", 0.0}};
        QTest::newRow("check boxes")
            << false << none
            << Edit([](QDialog &d) {
                   grid(d)->item(2, 1)->setCheckState(Qt::Checked);
                   child<QCheckBox>(d, "chkFeiertage")->setChecked(false);
                   child<QCheckBox>(d, "chkTerminUeberschneidungen_2")->setChecked(false);
               })
            << QVariantMap{{"blnFrei2", true}, {"blnGermanLegalHolidays", false},
                           {"blnUeberschneidenGantt", false}};
        QTest::newRow("Monday's times typed and copied down twice")
            << false << none
            << Edit([](QDialog &d) {
                   grid(d)->item(2, 6)->setText("7:45");
                   grid(d)->item(2, 7)->setText("15:15");
                   grid(d)->setCurrentCell(2, 5);
                   click(d, "cmdZeileNachUntenKopieren");
                   click(d, "cmdZeileNachUntenKopieren");
                   QCOMPARE(grid(d)->currentRow(), 4);
               })
            << QVariantMap{{"timePause2Von2", hm(7, 45)}, {"timePause2Bis2", hm(15, 15)},
                           {"timePause2Von3", hm(7, 45)}, {"timePause2Bis3", hm(15, 15)},
                           {"timePause2Von4", hm(7, 45)}, {"timePause2Bis4", hm(15, 15)}};
        QTest::newRow("Standardwerte")
            << false << QVariantMap{{"blnConfirmChanges", false}, {"timeArbeitszeitVon5", hm(9, 0)}}
            << Edit([](QDialog &d) { click(d, "cmdDefault"); })
            << QVariantMap{{"blnConfirmChanges", true}, {"timeArbeitszeitVon5", hm(8, 0)}};
    }
    void storesExactlyTheEdits()
    {
        QFETCH(bool, layout);
        QFETCH(QVariantMap, stored);
        QFETCH(Edit, edit);
        QFETCH(QVariantMap, changes);

        // A key only the host knows rides along in every row.
        stored.insert(QStringLiteral("strHostFilter"), QStringLiteral("AD_Name = 'Meier'"));
        const QString defaults = layout ? defaultLayoutString() : defaultOptionsString();
        cContainer in;
        in.setContainerString(withValues(defaults, stored));
        cfrmConfigLayout layoutDialog;
        cfrmConfigCalendar optionsDialog;
        layoutDialog.setDruckausgabe(true);
        layoutDialog.setGantt(true);
        for (const QString &given : {defaults, in.ContainerString()})
            layout ? layoutDialog.setWert(given) : optionsDialog.setOptions(given);
        QDialog &d = layout ? static_cast<QDialog &>(layoutDialog) : optionsDialog;
        d.show();
        edit(d);
        click(d, "cmdOK");
        QVERIFY(layout ? !layoutDialog.Cancel() : !optionsDialog.Cancel());
        // Keys the defaults lack (weekend times, pauses 2 to 5) are written as 00:00.
        const QString written = layout ? layoutDialog.wert() : optionsDialog.Options();
        compareStored(in, written, changes);
        cContainer out;
        out.setContainerString(written);
        for (const char *key : {"blnGermanLegalHolidays", "blnConfirmChanges", "blnUeberschneidenAKT"})
            QVERIFY(!out.contains(key) || out.longValue(key) == 0 || out.longValue(key) == 1);
    }
    // Catches, in the modern presentation, plain names that store other keys than the user
    // chose, a list or font rewritten by only being shown, and a font named as stored although
    // another one is drawn.
    void plainWords_data()
    {
        QTest::addColumn<QString>("fields"); // as stored
        QTest::addColumn<QString>("font");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("shownFields"); // after the edit
        QTest::addColumn<QString>("shownFont");
        QTest::addColumn<QString>("storedFields"); // on OK
        QTest::addColumn<QString>("storedFont");

        const QString keys = "AKT_Merkmale, AKT_Notiz, AD_Name";
        const QString msSans = "MS Sans Serif, 8pt";
        const QString missing = "MS Sans Serif, 8 pt\n(angezeigt als DejaVu Sans, 8 pt)";
        const Edit none([](QDialog &) {});
        QTest::newRow("default list, font not installed")
            << keys << msSans << none << "Teilnehmer, Betreff/Notiz, Name" << missing << keys
            << msSans;
        QTest::newRow("unknown field and odd spacing kept, installed font")
            << "AD_Firma,akt_notiz, XY_Raum" << "DejaVu Sans, 12 Punkt" << none
            << "Firma, Betreff/Notiz, XY_Raum" << "DejaVu Sans, 12 pt"
            << "AD_Firma,akt_notiz, XY_Raum" << "DejaVu Sans, 12 Punkt";
        QTest::newRow("size out of bounds drawn at 8 pt")
            << "" << "DejaVu Sans, 500pt" << none << ""
            << "DejaVu Sans, 500 pt\n(angezeigt als DejaVu Sans, 8 pt)" << ""
            << "DejaVu Sans, 500pt";
        QTest::newRow("names typed, letter case and an unknown one")
            << keys << msSans << Edit([](QDialog &d) {
                   auto *names = child<QLineEdit>(d, "txtFeldnamen");
                   names->selectAll();
                   QTest::keyClicks(names, "name,  betreff/notiz, ,Raum");
               })
            << "name,  betreff/notiz, ,Raum" << missing << "AD_Name, AKT_Notiz, Raum" << msSans;
        QTest::newRow("chosen from the menu")
            << "AKT_Merkmale, akt_notiz, Raum" << msSans << Edit([](QDialog &d) {
                   auto *menu = child<QMenu>(d, "mnuFeldwahl");
                   Q_EMIT menu->aboutToShow();
                   QStringList ticked;
                   for (QAction *action : menu->actions())
                       if (action->isChecked())
                           ticked << action->text();
                   QCOMPARE(ticked, (QStringList{"Teilnehmer", "Betreff/Notiz"}));
                   menu->actions().at(0)->trigger(); // Teilnehmer off
                   menu->actions().at(5)->trigger(); // Ort on
               })
            << "Betreff/Notiz, Raum, Ort" << missing << "AKT_Notiz, Raum, AKT_Ort" << msSans;
        QTest::newRow("font chosen")
            << keys << msSans << Edit([](QDialog &d) {
                   answeredFont = QFont(QStringLiteral("DejaVu Serif"), 10);
                   click(d, "cmdFont");
               })
            << "Teilnehmer, Betreff/Notiz, Name" << "DejaVu Serif, 10 pt" << keys
            << "DejaVu Serif, 10 Punkt";
    }
    void plainWords()
    {
        QFETCH(QString, fields);
        QFETCH(QString, font);
        QFETCH(Edit, edit);

        cfrmConfigLayout d;
        d.setPresentation(Presentation::Modern);
        d.setWert(defaultLayoutString());
        d.setWert(withValues(defaultLayoutString(),
                             {{"strAusgabefelder", fields}, {"strFont", font}}));
        d.show();
        QVERIFY(!child<QWidget>(d, "txtAusgabefelder")->isVisible());
        QVERIFY(!child<QWidget>(d, "lblFont")->isVisible());
        edit(d);
        QTEST(child<QLineEdit>(d, "txtFeldnamen")->text(), "shownFields");
        QTEST(child<QLabel>(d, "lblSchriftAnzeige")->text(), "shownFont");
        click(d, "cmdOK");
        cContainer out;
        out.setContainerString(d.wert());
        QTEST(out.textValue("strAusgabefelder"), "storedFields");
        QTEST(out.textValue("strFont"), "storedFont");
    }
    // Catches a view whose options dialog loses the view's presentation on its way to the
    // layout dialog.
    void viewsPassTheirPresentation_data()
    {
        QTest::addColumn<bool>("gantt");
        QTest::addColumn<bool>("modern");
        for (const bool gantt : {false, true})
            for (const bool modern : {false, true})
                QTest::addRow("%s, %s", gantt ? "Gantt" : "Kalender", modern ? "modern" : "classic")
                    << gantt << modern;
    }
    void viewsPassTheirPresentation()
    {
        QFETCH(bool, gantt);
        QFETCH(bool, modern);

        const Presentation presentation = modern ? Presentation::Modern : Presentation::Classic;
        ucAgenda calendar;
        ctlGantt resources;
        calendar.setPresentation(presentation);
        resources.setPresentation(presentation);
        QList<bool> plainShown;
        setModalRunner([&](QDialog &dialog) {
            if (dialog.objectName() == QLatin1String(ModalWindow::OptionsDialog))
                click(dialog, "cmdAnsicht_0");
            else
                plainShown << child<QWidget>(dialog, "txtFeldnamen")->isVisibleTo(&dialog);
            dialog.reject();
        });
        gantt ? resources.ShowOptionsDialog() : calendar.ShowOptionsDialog();
        QCOMPARE(plainShown, QList<bool>{modern});
    }
    // Catches layout buttons wired to the wrong key, and a layout left with Abbrechen that is
    // stored anyway.
    void layoutButtons_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("storedLayout"); // "-" leaves the key out
        QTest::addColumn<Edit>("leave"); // OK when empty

        const QString layout = defaultLayoutString();
        const Edit ok;
        QTest::newRow("Kalender...") << 0 << "strLayoutScreenCalendar" << layout << ok;
        QTest::newRow("screen Gantt... cancelled")
            << 1 << "strLayoutScreenGantt" << layout
            << Edit([](QDialog &d) { click(d, "cmdCancel"); });
        // The close box and Escape reach Abbrechen by paths of their own.
        QTest::newRow("screen Gantt... closed by the close box")
            << 1 << "strLayoutScreenGantt" << layout << Edit([](QDialog &d) {
                   d.show();
                   d.windowHandle()->close();
               });
        QTest::newRow("screen Gantt... left with Escape")
            << 1 << "strLayoutScreenGantt" << layout << Edit([](QDialog &d) {
                   d.show();
                   QTest::keyClick(&d, Qt::Key_Escape);
               });
        QTest::newRow("print Gantt... missing from the options")
            << 5 << "strLayoutDruckGantt" << "-" << ok;
        QTest::newRow("broken layout replaced") << 5 << "strLayoutDruckGantt" << "kaputt" << ok;
    }
    void layoutButtons()
    {
        QFETCH(int, index);
        QFETCH(QString, key);
        QFETCH(QString, storedLayout);
        QFETCH(Edit, leave);

        cfrmConfigCalendar d;
        d.setOptions(defaultOptionsString());
        d.setOptions(storedLayout == QLatin1String("-")
                         ? withValues(defaultOptionsString(), {}, key)
                         : withValues(defaultOptionsString(), {{key, storedLayout}}));
        int runs = 0;
        setModalRunner([&](QDialog &dialog) {
            ++runs;
            auto *layout = qobject_cast<cfrmConfigLayout *>(&dialog);
            QVERIFY(layout);
            // Disabled for screen layouts, and stored all the same.
            child<QLineEdit>(*layout, "txtNum_4")->setText("33");
            if (leave)
                leave(*layout);
            else
                click(*layout, "cmdOK");
            QVERIFY(!layout->isVisible());
        });
        click(d, QStringLiteral("cmdAnsicht_%1").arg(index));
        QCOMPARE(runs, 1);

        cContainer out, result;
        out.setContainerString(d.Options());
        if (leave) {
            QCOMPARE(out.textValue(key), storedLayout);
            return;
        }
        result.setContainerString(out.textValue(key));
        QCOMPARE(result.longValue("lngRandLinks"), 33);
        QCOMPARE(result.textValue("strAufloesung"), "30 Minuten");
    }
    // Catches a layout dialog opened under another caption, captions cut off, controls laid over
    // each other or out of their frame, and a control Tab never reaches or reaches twice, in the
    // options dialog and in the layout dialog in each of its five enable modes, in German and
    // with the longer or shorter English texts.
    void laidOut_data()
    {
        QTest::addColumn<QLocale>("language");
        QTest::addColumn<QString>("button"); // "" for the options dialog itself
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("modern");

        // The C locale keeps the German source texts, and the pictures as they always were made.
        const QLocale german = QLocale::c();
        const QLocale english(QLocale::English, QLocale::UnitedKingdom);
        const char *const dialogs[][3] = {
            // caption, button, picture
            {"Kalenderoptionen", "", "dialog-kalenderoptionen"},
            {"Bildschirmlayout Kalender", "cmdAnsicht_0", "dialog-layout-kalender"},
            {"Bildschirmlayout Gantt", "cmdAnsicht_1", "dialog-layout-gantt"},
            {"Drucklayout Wochenblatt", "cmdAnsicht_3", "dialog-layout-druck-woche"},
            {"Drucklayout Tagesblatt", "cmdAnsicht_4", "dialog-layout-druck-tag"},
            {"Drucklayout Gantt", "cmdAnsicht_5", "dialog-layout-druck-gantt"},
        };
        for (const auto &d : dialogs) {
            QTest::newRow(d[0]) << german << d[1] << QStringLiteral("%1.png").arg(d[2]) << false;
            QTest::addRow("%s, English", d[0])
                << english << d[1] << QStringLiteral("%1-en.png").arg(d[2]) << false;
        }
        // The plain words of the modern presentation, in a screen and in a print layout.
        for (const auto *d : {dialogs[1], dialogs[5]}) {
            QTest::addRow("%s, modern", d[0])
                << german << d[1] << QStringLiteral("%1-modern.png").arg(d[2]) << true;
            QTest::addRow("%s, modern, English", d[0])
                << english << d[1] << QStringLiteral("%1-modern-en.png").arg(d[2]) << true;
        }
    }
    void laidOut()
    {
        QFETCH(QLocale, language);
        QFETCH(QString, button);
        QFETCH(QString, fileName);
        QFETCH(bool, modern);

        QLocale::setDefault(language);
        chooseUiLanguage(QLocale());
        cfrmConfigCalendar options;
        options.setOptions(defaultOptionsString());
        options.setPresentation(modern ? Presentation::Modern : Presentation::Classic);
        if (button.isEmpty()) {
            inspect(options, fileName);
            return;
        }
        // The layout dialog as its button opens it: caption, enable mode and values.
        int runs = 0;
        setModalRunner([&](QDialog &dialog) {
            ++runs;
            if (language == QLocale::c())
                QCOMPARE(dialog.windowTitle(),
                         QString::fromUtf8(QTest::currentDataTag()).section(", ", 0, 0));
            inspect(dialog, fileName);
            QCOMPARE(dialog.findChild<QWidget *>("txtFeldnamen")->isVisible(), modern);
            dialog.reject();
        });
        options.findChild<QAbstractButton *>(button)->click();
        QCOMPARE(runs, 1);
    }
    // Catches a free-slot panel whose Tab order is not the order of its fields.
    void searchPanelTabOrder()
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
    // Catches a cell of the working hours that a screen reader can place only by counting:
    // the hidden headers name its day and column.
    void workingHoursCells()
    {
        cfrmConfigCalendar dialog;
        QAccessibleTableInterface *table =
            QAccessible::queryAccessibleInterface(grid(dialog))->tableInterface();
        QCOMPARE(table->rowDescription(cfrmConfigCalendar::kLastRow), "Sonntag");
        QCOMPARE(table->columnDescription(5), "Pause 1 bis");
    }
};

DAYPLEX_TEST_MAIN(tst_OptionDialogs)
#include "tst_optiondialogs.moc"

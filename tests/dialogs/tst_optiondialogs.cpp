// The calendar options dialog and the layout dialog: what they store on OK and what they keep
// when left otherwise.
#include "accessibility/accessiblefactory.h"
#include "dialogs/cfrmconfigcalendar.h"
#include "dialogs/cfrmconfiglayout.h"
#include "dialogs/modaldialog.h"
#include "shared/ccontainer.h"
#include "shared/ctools.h"
#include "shared/defaultoptions.h"

#include <dayplex/error.h>

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include "support/testmain.h"

using namespace Dayplex;

using LayoutEdit = std::function<void(cfrmConfigLayout &)>;
using OptionsEdit = std::function<void(cfrmConfigCalendar &)>;
Q_DECLARE_METATYPE(LayoutEdit)
Q_DECLARE_METATYPE(OptionsEdit)

namespace {

Date at(int hour, int minute = 0)
{
    return toTimeOfDay(QTime(hour, minute));
}

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

QTableWidget *grid(cfrmConfigCalendar &d)
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
    if (auto *colour = qobject_cast<QColorDialog *>(&dialog)) {
        QCOMPARE(colour->objectName(), QLatin1String(ModalWindow::ColorChooser));
        choosersRun << colour->property("tag").toString() + '=' + colour->currentColor().name();
        if (!answeredColour)
            return colour->reject();
        colour->setCurrentColor(*answeredColour);
        colour->accept();
    } else if (auto *font = qobject_cast<QFontDialog *>(&dialog)) {
        QCOMPARE(font->objectName(), QLatin1String(ModalWindow::FontChooser));
        choosersRun << font->property("tag").toString() + '='
                           + QString::number(font->currentFont().pointSize());
        if (!answeredFont)
            return font->reject();
        font->setCurrentFont(*answeredFont);
        font->accept();
    } else {
        QFAIL(qPrintable("unexpected window " + dialog.objectName()));
    }
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

} // namespace

class tst_OptionDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    // Catches lost or altered keys on OK, wrong kinds of controls, choosers that start from
    // another value or name another key, and choosers or filters that store what the dialog did
    // not show.
    void layoutStoresExactlyTheEdits_data();
    void layoutStoresExactlyTheEdits();
    // Catches lost host keys, switches written as -1, and time cells not stored as 00:00 when
    // emptied or unreadable.
    void optionsStoreExactlyTheEdits_data();
    void optionsStoreExactlyTheEdits();
    // Catches layout buttons wired to the wrong key or mode, and a layout left with Abbrechen,
    // its close box or Escape that is stored anyway.
    void layoutButtons_data();
    void layoutButtons();
};

void tst_OptionDialogs::initTestCase()
{
    // As the first view does, before any dialog asks for an interface.
    installAccessibleInterfaces();
}

void tst_OptionDialogs::init()
{
    setModalRunner(answerChooser);
    choosersRun.clear();
}

void tst_OptionDialogs::cleanupTestCase()
{
    setModalRunner({});
}

void tst_OptionDialogs::layoutStoresExactlyTheEdits_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<LayoutEdit>("edit");
    QTest::addColumn<QVariantMap>("changes");

    const QVariantMap none;
    QTest::newRow("raster not in the list shows and stores 5 Minuten")
        << QVariantMap{{"strAufloesung", "7 Minuten"}}
        << LayoutEdit([](cfrmConfigLayout &d) {
               QCOMPARE(child<QComboBox>(d, "cboAufloesung")->currentText(), "5 Minuten");
           })
        << QVariantMap{{"strAufloesung", "5 Minuten"}};
    QTest::newRow("only the text colour changed")
        << QVariantMap{{"rgbBackTermine", 0x00FFFF}, {"rgbFontTermine", 0}}
        << LayoutEdit([](cfrmConfigLayout &d) {
               auto *label = child<cColorLabel>(d, "lblColor_7");
               QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::yellow));
               QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
               answeredColour = QColor(255, 0, 0);
               click(d, "cmdSchritfarbe_7");
               QCOMPARE(choosersRun, QStringList{"rgbFontTermine=#000000"});
           })
        << QVariantMap{{"rgbFontTermine", double(0x0000FF)}};
    QTest::newRow("background chosen with Space, another by a screen reader's press")
        << none
        << LayoutEdit([](cfrmConfigLayout &d) {
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
        << none
        << LayoutEdit([](cfrmConfigLayout &d) {
               QCOMPARE(child<QLabel>(d, "lblFont")->text(), "MS Sans Serif, 8pt");
               answeredFont = QFont(QStringLiteral("DejaVu Sans"), 12);
               click(d, "cmdFont");
               QCOMPARE(choosersRun, QStringList{"strFont=8"});
           })
        << QVariantMap{{"strFont", "DejaVu Sans, 12 Punkt"}};
    QTest::newRow("check box and time edited")
        << none
        << LayoutEdit([](cfrmConfigLayout &d) {
               child<QCheckBox>(d, "Check2")->setChecked(false);
               child<QDateTimeEdit>(d, "dtpStartzeit")->setTime(QTime(7, 30));
           })
        << QVariantMap{{"blnIndividuelleTerminfarben", false}, {"timeStartZeit", at(7, 30)}};
    QTest::newRow("unreadable values keep the defaults")
        << QVariantMap{{"timeStartZeit", "abc"}, {"blnQuerformat", "xyz"}, {"rgbFreizeit", "rot"}}
        << LayoutEdit([](cfrmConfigLayout &) {})
        << QVariantMap{{"timeStartZeit", at(8)}, {"blnQuerformat", false},
                       {"rgbFreizeit", double(cTools::DefaultFreeTimeColor())}};
    QTest::newRow("foreign text is refused and changes nothing")
        << none
        << LayoutEdit([](cfrmConfigLayout &d) {
               QVERIFY_THROWS_EXCEPTION(Error, d.setWert(QStringLiteral("Farbe=rot")));
           })
        << none;
}

void tst_OptionDialogs::layoutStoresExactlyTheEdits()
{
    QFETCH(QVariantMap, stored);
    QFETCH(LayoutEdit, edit);
    QFETCH(QVariantMap, changes);

    // A key only the host knows rides along in every row.
    stored.insert(QStringLiteral("strHostNotiz"), QStringLiteral("bleibt"));
    cContainer in;
    in.setContainerString(withValues(defaultLayoutString(), stored));
    cfrmConfigLayout d;
    d.setDruckausgabe(true);
    d.setGantt(true);
    d.setWert(defaultLayoutString());
    d.setWert(in.ContainerString());
    d.show();
    edit(d);
    click(d, "cmdOK");
    QVERIFY(!d.Cancel());
    compareStored(in, d.wert(), changes);
}

void tst_OptionDialogs::optionsStoreExactlyTheEdits_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<OptionsEdit>("edit");
    QTest::addColumn<QVariantMap>("changes");

    const QVariantMap none;
    QTest::newRow("Delete clears a cell, stored as 00:00")
        << none
        << OptionsEdit([](cfrmConfigCalendar &d) {
               grid(d)->setCurrentCell(3, 3);
               QTest::keyClick(grid(d), Qt::Key_Delete);
               QCOMPARE(grid(d)->item(3, 3)->text(), QString());
           })
        << QVariantMap{{"timeArbeitszeitBis3", 0.0}};
    QTest::newRow("check boxes")
        << none
        << OptionsEdit([](cfrmConfigCalendar &d) {
               grid(d)->item(2, 1)->setCheckState(Qt::Checked);
               child<QCheckBox>(d, "chkFeiertage")->setChecked(false);
               child<QCheckBox>(d, "chkTerminUeberschneidungen_2")->setChecked(false);
           })
        << QVariantMap{{"blnFrei2", true}, {"blnGermanLegalHolidays", false},
                       {"blnUeberschneidenGantt", false}};
    QTest::newRow("Monday's times typed and copied down twice")
        << none
        << OptionsEdit([](cfrmConfigCalendar &d) {
               grid(d)->item(2, 6)->setText("7:45");
               grid(d)->item(2, 7)->setText("15:15");
               grid(d)->setCurrentCell(2, 5);
               click(d, "cmdZeileNachUntenKopieren");
               click(d, "cmdZeileNachUntenKopieren");
               QCOMPARE(grid(d)->currentRow(), 4);
           })
        << QVariantMap{{"timePause2Von2", at(7, 45)}, {"timePause2Bis2", at(15, 15)},
                       {"timePause2Von3", at(7, 45)}, {"timePause2Bis3", at(15, 15)},
                       {"timePause2Von4", at(7, 45)}, {"timePause2Bis4", at(15, 15)}};
    QTest::newRow("Standardwerte")
        << QVariantMap{{"blnConfirmChanges", false}, {"timeArbeitszeitVon5", at(9)}}
        << OptionsEdit([](cfrmConfigCalendar &d) { click(d, "cmdDefault"); })
        << QVariantMap{{"blnConfirmChanges", true}, {"timeArbeitszeitVon5", at(8)}};
}

void tst_OptionDialogs::optionsStoreExactlyTheEdits()
{
    QFETCH(QVariantMap, stored);
    QFETCH(OptionsEdit, edit);
    QFETCH(QVariantMap, changes);

    // A key only the host knows rides along in every row.
    stored.insert(QStringLiteral("strHostFilter"), QStringLiteral("AD_Name = 'Meier'"));
    cContainer in;
    in.setContainerString(withValues(defaultOptionsString(), stored));
    cfrmConfigCalendar d;
    d.setOptions(defaultOptionsString());
    d.setOptions(in.ContainerString());
    d.show();
    edit(d);
    click(d, "cmdOK");
    QVERIFY(!d.Cancel());
    // Keys the defaults lack (weekend times, pauses 2 to 5) are written as 00:00.
    compareStored(in, d.Options(), changes);
    cContainer out;
    out.setContainerString(d.Options());
    for (const char *key : {"blnGermanLegalHolidays", "blnConfirmChanges", "blnUeberschneidenAKT"})
        QVERIFY(out.longValue(key) == 0 || out.longValue(key) == 1);
}

void tst_OptionDialogs::layoutButtons_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("druckausgabe");
    QTest::addColumn<bool>("gantt");
    QTest::addColumn<QString>("storedLayout"); // "-" leaves the key out
    QTest::addColumn<LayoutEdit>("leave");     // OK when empty

    const QString layout = defaultLayoutString();
    const LayoutEdit ok;
    QTest::newRow("Kalender...") << 0 << "strLayoutScreenCalendar" << "Bildschirmlayout Kalender"
                                 << false << false << layout << ok;
    QTest::newRow("screen Gantt... cancelled")
        << 1 << "strLayoutScreenGantt" << "Bildschirmlayout Gantt" << false << true << layout
        << LayoutEdit([](cfrmConfigLayout &d) { click(d, "cmdCancel"); });
    QTest::newRow("screen Gantt... closed by its close box")
        << 1 << "strLayoutScreenGantt" << "Bildschirmlayout Gantt" << false << true << layout
        << LayoutEdit([](cfrmConfigLayout &d) {
               d.show();
               d.windowHandle()->close();
           });
    QTest::newRow("screen Gantt... left with Escape")
        << 1 << "strLayoutScreenGantt" << "Bildschirmlayout Gantt" << false << true << layout
        << LayoutEdit([](cfrmConfigLayout &d) { QTest::keyClick(&d, Qt::Key_Escape); });
    QTest::newRow("print Gantt... missing from the options")
        << 5 << "strLayoutDruckGantt" << "Drucklayout Gantt" << true << true << "-" << ok;
    QTest::newRow("broken layout replaced")
        << 5 << "strLayoutDruckGantt" << "Drucklayout Gantt" << true << true << "kaputt" << ok;
}

void tst_OptionDialogs::layoutButtons()
{
    QFETCH(int, index);
    QFETCH(QString, key);
    QFETCH(QString, storedLayout);
    QFETCH(LayoutEdit, leave);

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
        QTEST(layout->windowTitle(), "caption");
        QTEST(layout->Druckausgabe(), "druckausgabe");
        QTEST(layout->Gantt(), "gantt");
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

DAYPLEX_TEST_MAIN(tst_OptionDialogs)
#include "tst_optiondialogs.moc"

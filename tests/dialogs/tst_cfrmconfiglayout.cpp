#include "accessibility/accessiblefactory.h"
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

using Edit = std::function<void(cfrmConfigLayout &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

// Flags compare as flags, texts as texts, everything else as numbers: "20" equals 20.
QVariant reading(const cContainer &c, const QString &key)
{
    if (key.startsWith(QLatin1String("str"), Qt::CaseInsensitive))
        return c.textValue(key);
    if (key.startsWith(QLatin1String("bln"), Qt::CaseInsensitive))
        return c.boolValue(key);
    return c.doubleValue(key);
}

// The base string with some values replaced; the kind follows the variant (double a time).
QString withValues(const QString &base, const QVariantMap &values)
{
    cContainer c;
    c.setContainerString(base);
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
T *child(QWidget &dialog, const char *name)
{
    T *found = dialog.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
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

} // namespace

class tst_cfrmConfigLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    // Catches lost or altered keys on OK, wrong kinds of controls, choosers that start from
    // another value or name another key, and choosers or filters that store what the dialog did
    // not show.
    void storesExactlyTheEdits_data();
    void storesExactlyTheEdits();
    // Catches a close box or Escape that lets the caller store the values.
    void leaving_data();
    void leaving();
};

void tst_cfrmConfigLayout::initTestCase()
{
    // As the first view does, before any dialog asks for an interface.
    installAccessibleInterfaces();
    setModalRunner(answerChooser);
}

void tst_cfrmConfigLayout::cleanupTestCase()
{
    setModalRunner({});
}

void tst_cfrmConfigLayout::storesExactlyTheEdits_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QVariantMap>("changes");

    const QVariantMap none;

    QTest::newRow("raster not in the list shows and stores 5 Minuten")
        << QVariantMap{{"strAufloesung", "7 Minuten"}}
        << Edit([](cfrmConfigLayout &d) {
               QCOMPARE(child<QComboBox>(d, "cboAufloesung")->currentText(), "5 Minuten");
           })
        << QVariantMap{{"strAufloesung", "5 Minuten"}};
    QTest::newRow("only the text colour changed")
        << QVariantMap{{"rgbBackTermine", 0x00FFFF}, {"rgbFontTermine", 0}}
        << Edit([](cfrmConfigLayout &d) {
               auto *label = child<cColorLabel>(d, "lblColor_7");
               QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::yellow));
               QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
               answeredColour = QColor(255, 0, 0);
               child<QAbstractButton>(d, "cmdSchritfarbe_7")->click();
               QCOMPARE(choosersRun, QStringList{"rgbFontTermine=#000000"});
           })
        << QVariantMap{{"rgbFontTermine", double(0x0000FF)}};
    QTest::newRow("background chosen with Space, another by a screen reader's press")
        << none
        << Edit([](cfrmConfigLayout &d) {
               QWidget *swatch = child<QWidget>(d, "lblColor_6");
               answeredColour.reset();
               QTest::keyClick(swatch, Qt::Key_Space);
               answeredColour = QColor(0, 128, 0);
               QAccessibleInterface *button = QAccessible::queryAccessibleInterface(child<QWidget>(d, "lblColor_7"));
               QCOMPARE(button->role(), QAccessible::Button);
               button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
               QTRY_COMPARE(choosersRun,
                            (QStringList{"rgbBackTagesTermine=#ffff00", "rgbBackTermine=#ffff00"}));
           })
        << QVariantMap{{"rgbBackTermine", double(0x008000)}};
    QTest::newRow("font chosen")
        << none
        << Edit([](cfrmConfigLayout &d) {
               QCOMPARE(child<QLabel>(d, "lblFont")->text(), "MS Sans Serif, 8pt");
               answeredFont = QFont(QStringLiteral("DejaVu Sans"), 12);
               child<QAbstractButton>(d, "cmdFont")->click();
               QCOMPARE(choosersRun, QStringList{"strFont=8"});
           })
        << QVariantMap{{"strFont", "DejaVu Sans, 12 Punkt"}};
    QTest::newRow("check box and time edited")
        << none
        << Edit([](cfrmConfigLayout &d) {
               child<QCheckBox>(d, "Check2")->setChecked(false);
               child<QDateTimeEdit>(d, "dtpStartzeit")->setTime(QTime(7, 30));
           })
        << QVariantMap{{"blnIndividuelleTerminfarben", false}, {"timeStartZeit", 7.5 / 24}};
    QTest::newRow("unreadable values keep the defaults")
        << QVariantMap{{"timeStartZeit", "abc"}, {"blnQuerformat", "xyz"}, {"rgbFreizeit", "rot"}}
        << Edit([](cfrmConfigLayout &) {})
        << QVariantMap{{"timeStartZeit", 8.0 / 24}, {"blnQuerformat", false},
                       {"rgbFreizeit", double(cTools::DefaultFreeTimeColor())}};
    QTest::newRow("foreign text is refused and changes nothing")
        << none
        << Edit([](cfrmConfigLayout &d) {
               QVERIFY_THROWS_EXCEPTION(Error, d.setWert(QStringLiteral("Farbe=rot")));
           })
        << none;
}

void tst_cfrmConfigLayout::storesExactlyTheEdits()
{
    QFETCH(QVariantMap, stored);
    QFETCH(Edit, edit);
    QFETCH(QVariantMap, changes);
    choosersRun.clear();

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
    child<QPushButton>(d, "cmdOK")->click();
    QVERIFY(!d.Cancel());

    cContainer out;
    out.setContainerString(d.wert());
    QCOMPARE(out.count(), in.count());
    for (const QString &key : in.keys()) {
        const QVariant expected = changes.contains(key) ? changes.value(key) : reading(in, key);
        QVERIFY2(reading(out, key) == expected, qPrintable(key));
    }
}

void tst_cfrmConfigLayout::leaving_data()
{
    QTest::addColumn<Edit>("leave");
    QTest::addColumn<bool>("cancel");

    QTest::newRow("OK") << Edit([](cfrmConfigLayout &d) { child<QPushButton>(d, "cmdOK")->click(); }) << false;
    QTest::newRow("Abbrechen") << Edit([](cfrmConfigLayout &d) { child<QPushButton>(d, "cmdCancel")->click(); }) << true;
    QTest::newRow("close box") << Edit([](cfrmConfigLayout &d) { d.windowHandle()->close(); }) << true;
    QTest::newRow("Escape") << Edit([](cfrmConfigLayout &d) { QTest::keyClick(&d, Qt::Key_Escape); }) << true;
}

void tst_cfrmConfigLayout::leaving()
{
    QFETCH(Edit, leave);
    cfrmConfigLayout d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    leave(d);
    QVERIFY(!d.isVisible());
    QTEST(d.Cancel(), "cancel");
}

DAYPLEX_TEST_MAIN(tst_cfrmConfigLayout)
#include "tst_cfrmconfiglayout.moc"

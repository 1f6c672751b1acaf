#include "dialogs/cfrmconfigcalendar.h"
#include "dialogs/cfrmconfiglayout.h"
#include "dialogs/modaldialog.h"
#include "shared/ccontainer.h"
#include "shared/defaultoptions.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include "support/testmain.h"

using namespace Dayplex;

using Edit = std::function<void(cfrmConfigCalendar &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

Date at(int hour, int minute = 0)
{
    return toTimeOfDay(QTime(hour, minute));
}

// Flags compare as flags (stored -1 and written 1 are both true), texts as texts, times as
// numbers.
QVariant reading(const cContainer &c, const QString &key)
{
    if (key.startsWith(QLatin1String("str"), Qt::CaseInsensitive))
        return c.textValue(key);
    if (key.startsWith(QLatin1String("bln"), Qt::CaseInsensitive))
        return c.boolValue(key);
    return c.doubleValue(key);
}

// The options with some values replaced (a double is stored as a time) and one key left out.
QString options(const QVariantMap &values = {}, const QString &without = QString())
{
    cContainer defaults, c;
    defaults.setContainerString(defaultOptionsString());
    for (const QString &key : defaults.keys())
        if (key != without)
            c.setValue(key, defaults.Value(key), defaults.kind(key));
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        c.setValue(it.key(), it.value(),
                   it.value().typeId() == QMetaType::Double ? cContainer::Kind::Date
                   : it.value().typeId() == QMetaType::Bool ? cContainer::Kind::Boolean
                                                            : cContainer::Kind::Text);
    return c.ContainerString();
}

QTableWidget *grid(cfrmConfigCalendar &d)
{
    return d.findChild<QTableWidget *>(QStringLiteral("ssArbeitszeit"));
}

void click(QWidget &d, const QString &name)
{
    QAbstractButton *button = d.findChild<QAbstractButton *>(name);
    QVERIFY2(button, qPrintable(name));
    button->click();
}

} // namespace

class tst_cfrmConfigCalendar : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    // Catches lost host keys, switches written as -1, and time cells not stored as 00:00 when
    // emptied or unreadable.
    void storesExactlyTheEdits_data();
    void storesExactlyTheEdits();
    // Catches layout buttons wired to the wrong key or mode, and a cancelled layout that is
    // stored anyway.
    void layoutButtons_data();
    void layoutButtons();
};

void tst_cfrmConfigCalendar::cleanup()
{
    setModalRunner({});
}

void tst_cfrmConfigCalendar::storesExactlyTheEdits_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QVariantMap>("changes");

    const QVariantMap none;
    const auto setCell = [](int row, int column, const char *text) {
        return Edit([=](cfrmConfigCalendar &d) { grid(d)->item(row, column)->setText(text); });
    };
    QTest::newRow("time typed") << none << setCell(2, 2, "7:45")
                                << QVariantMap{{"timeArbeitszeitVon2", at(7, 45)}};
    QTest::newRow("Delete clears a cell, stored as 00:00")
        << none
        << Edit([](cfrmConfigCalendar &d) {
               grid(d)->setCurrentCell(3, 3);
               QTest::keyClick(grid(d), Qt::Key_Delete);
               QCOMPARE(grid(d)->item(3, 3)->text(), QString());
           })
        << QVariantMap{{"timeArbeitszeitBis3", 0.0}};
    QTest::newRow("check boxes")
        << none
        << Edit([](cfrmConfigCalendar &d) {
               grid(d)->item(2, 1)->setCheckState(Qt::Checked);
               d.findChild<QCheckBox *>("chkFeiertage")->setChecked(false);
               d.findChild<QCheckBox *>("chkTerminUeberschneidungen_2")->setChecked(false);
           })
        << QVariantMap{{"blnFrei2", true}, {"blnGermanLegalHolidays", false},
                       {"blnUeberschneidenGantt", false}};
    QTest::newRow("copy Monday down twice")
        << none
        << Edit([](cfrmConfigCalendar &d) {
               grid(d)->item(2, 6)->setText("15:00");
               grid(d)->item(2, 7)->setText("15:15");
               grid(d)->setCurrentCell(2, 5);
               click(d, "cmdZeileNachUntenKopieren");
               click(d, "cmdZeileNachUntenKopieren");
               QCOMPARE(grid(d)->currentRow(), 4);
           })
        << QVariantMap{{"timePause2Von2", at(15)}, {"timePause2Bis2", at(15, 15)},
                       {"timePause2Von3", at(15)}, {"timePause2Bis3", at(15, 15)},
                       {"timePause2Von4", at(15)}, {"timePause2Bis4", at(15, 15)}};
    QTest::newRow("Standardwerte")
        << QVariantMap{{"blnConfirmChanges", false}, {"timeArbeitszeitVon5", at(9)}}
        << Edit([](cfrmConfigCalendar &d) { click(d, "cmdDefault"); })
        << QVariantMap{{"blnConfirmChanges", true}, {"timeArbeitszeitVon5", at(8)}};
}

void tst_cfrmConfigCalendar::storesExactlyTheEdits()
{
    QFETCH(QVariantMap, stored);
    QFETCH(Edit, edit);
    QFETCH(QVariantMap, changes);

    // A key only the host knows rides along in every row.
    stored.insert(QStringLiteral("strHostFilter"), QStringLiteral("AD_Name = 'Meier'"));
    cContainer in;
    in.setContainerString(options(stored));
    cfrmConfigCalendar d;
    d.setOptions(defaultOptionsString());
    d.setOptions(in.ContainerString());
    d.show();
    edit(d);
    click(d, "cmdOK");
    QVERIFY(!d.Cancel());

    cContainer out;
    out.setContainerString(d.Options());
    // Keys the defaults lack (weekend times, pauses 2 to 5) are written as 00:00.
    for (const QString &key : out.keys()) {
        const QVariant expected = changes.contains(key) ? changes.value(key)
                                  : in.contains(key)    ? reading(in, key)
                                                        : QVariant(0.0);
        QVERIFY2(reading(out, key) == expected, qPrintable(key));
    }
    for (const QString &key : in.keys())
        QVERIFY2(out.contains(key), qPrintable(key));
    for (const char *key : {"blnGermanLegalHolidays", "blnConfirmChanges", "blnUeberschneidenAKT"})
        QVERIFY(out.longValue(key) == 0 || out.longValue(key) == 1);
}

void tst_cfrmConfigCalendar::layoutButtons_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("druckausgabe");
    QTest::addColumn<bool>("gantt");
    QTest::addColumn<QString>("storedLayout"); // "-" leaves the key out
    QTest::addColumn<bool>("confirm");

    const QString layout = defaultLayoutString();
    QTest::newRow("Kalender...") << 0 << "strLayoutScreenCalendar" << "Bildschirmlayout Kalender" << false << false << layout << true;
    QTest::newRow("screen Gantt... cancelled") << 1 << "strLayoutScreenGantt" << "Bildschirmlayout Gantt" << false << true << layout << false;
    QTest::newRow("print Gantt... missing from the options")
        << 5 << "strLayoutDruckGantt" << "Drucklayout Gantt" << true << true << "-" << true;
    QTest::newRow("broken layout replaced")
        << 5 << "strLayoutDruckGantt" << "Drucklayout Gantt" << true << true << "kaputt" << true;
}

void tst_cfrmConfigCalendar::layoutButtons()
{
    QFETCH(int, index);
    QFETCH(QString, key);
    QFETCH(QString, storedLayout);
    QFETCH(bool, confirm);

    cfrmConfigCalendar d;
    d.setOptions(defaultOptionsString());
    d.setOptions(storedLayout == QLatin1String("-") ? options({}, key)
                                                    : options({{key, storedLayout}}));
    int runs = 0;
    setModalRunner([&](QDialog &dialog) {
        ++runs;
        auto *layout = qobject_cast<cfrmConfigLayout *>(&dialog);
        QVERIFY(layout);
        QTEST(layout->windowTitle(), "caption");
        QTEST(layout->Druckausgabe(), "druckausgabe");
        QTEST(layout->Gantt(), "gantt");
        // Disabled for screen layouts, and stored all the same.
        layout->findChild<QLineEdit *>("txtNum_4")->setText("33");
        click(*layout, confirm ? "cmdOK" : "cmdCancel");
    });
    click(d, QStringLiteral("cmdAnsicht_%1").arg(index));
    QCOMPARE(runs, 1);

    cContainer out, result;
    out.setContainerString(d.Options());
    if (!confirm) {
        QCOMPARE(out.textValue(key), storedLayout);
        return;
    }
    result.setContainerString(out.textValue(key));
    QCOMPARE(result.longValue("lngRandLinks"), 33);
    QCOMPARE(result.textValue("strAufloesung"), "30 Minuten");
}

DAYPLEX_TEST_MAIN(tst_cfrmConfigCalendar)
#include "tst_cfrmconfigcalendar.moc"

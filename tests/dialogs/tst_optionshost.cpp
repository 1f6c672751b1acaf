#include "dialogs/ccommoncalendar.h"
#include "dialogs/cfrmconfigcalendar.h"
#include "dialogs/cfrmconfiglayout.h"
#include "dialogs/modaldialog.h"
#include "shared/ccontainer.h"
#include "shared/defaultoptions.h"

#include <dayplex/error.h>

#include <QtTest>
#include <QtWidgets>

using namespace Dayplex;

namespace {

// The default options without one key, plus a key only the host knows.
QString optionsWithout(const QString &missing)
{
    cContainer defaults, c;
    defaults.setContainerString(defaultOptionsString());
    for (const QString &key : defaults.keys())
        if (key != missing)
            c.setValue(key, defaults.Value(key), defaults.kind(key));
    c.setValue(QStringLiteral("strHostSortierung"), QStringLiteral("Beginn"));
    return c.ContainerString();
}

void click(QWidget &dialog, const QString &name)
{
    QAbstractButton *button = dialog.findChild<QAbstractButton *>(name);
    QVERIFY2(button, qPrintable(name));
    button->click();
}

} // namespace

class tst_OptionsHost : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    // Catches a cancelled dialog that still returns its edits, a confirmed one that drops
    // host keys, and a layout confirmed for missing options that is not added.
    void show_data();
    void show();
    // Catches a foreign text that is shown as if it were options instead of refused.
    void foreignTextIsRefused();
};

void tst_OptionsHost::cleanup()
{
    setModalRunner({});
}

void tst_OptionsHost::show_data()
{
    QTest::addColumn<bool>("openLayout");
    QTest::addColumn<QString>("leaveWith");
    QTest::addColumn<bool>("empty");

    QTest::newRow("edited then Abbrechen") << false << "cmdCancel" << true;
    QTest::newRow("layout confirmed then Abbrechen") << true << "cmdCancel" << true;
    QTest::newRow("edited then OK") << false << "cmdOK" << false;
    QTest::newRow("missing layout confirmed then OK") << true << "cmdOK" << false;
}

void tst_OptionsHost::show()
{
    QFETCH(bool, openLayout);
    QFETCH(QString, leaveWith);

    int runs = 0;
    setModalRunner([&](QDialog &dialog) {
        ++runs;
        if (auto *layout = qobject_cast<cfrmConfigLayout *>(&dialog)) {
            layout->findChild<QLineEdit *>("txtAnzahlTage")->setText("14");
            click(*layout, "cmdOK");
            return;
        }
        auto *form = qobject_cast<cfrmConfigCalendar *>(&dialog);
        QVERIFY(form);
        // The stored options are shown over the defaults.
        QVERIFY(form->findChild<QCheckBox *>("chkFeiertage")->isChecked());
        form->findChild<QCheckBox *>("chkFeiertage")->setChecked(false);
        if (openLayout)
            click(*form, "cmdAnsicht_5");
        click(*form, leaveWith);
    });

    cCommonCalendar host;
    const QString result = host.Show(optionsWithout(QStringLiteral("strLayoutDruckGantt")));
    QCOMPARE(runs, openLayout ? 2 : 1);
    QTEST(result.isEmpty(), "empty");
    if (result.isEmpty())
        return;

    cContainer out;
    out.setContainerString(result);
    QCOMPARE(out.boolValue("blnGermanLegalHolidays"), false);
    QCOMPARE(out.textValue("strHostSortierung"), "Beginn");
    QCOMPARE(out.textValue("strLayoutScreenCalendar"), defaultLayoutString());
    if (openLayout) {
        cContainer layout;
        layout.setContainerString(out.textValue("strLayoutDruckGantt"));
        QCOMPARE(layout.longValue("lngAnzahlTage"), 14);
    } else {
        // Not missing any more: the defaults were loaded first.
        QCOMPARE(out.textValue("strLayoutDruckGantt"), defaultLayoutString());
    }
}

void tst_OptionsHost::foreignTextIsRefused()
{
    int runs = 0;
    setModalRunner([&](QDialog &) { ++runs; });
    cCommonCalendar host;
    QVERIFY_THROWS_EXCEPTION(Error, host.Show(QStringLiteral("blnConfirmChanges=0")));
    QCOMPARE(runs, 0);
}

QTEST_MAIN(tst_OptionsHost)
#include "tst_optionshost.moc"

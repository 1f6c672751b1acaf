// The views' scroll bars as spinners: an arrow steps once, a click beside the thumb pages, and
// the values next to the rest do nothing.
#include "shared/spinnerstep.h"
#include "support/testmain.h"

#include <QTest>

using namespace Dayplex;

class tst_SpinnerStep : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void steps_data();
    void steps();
};

void tst_SpinnerStep::steps_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<qint32>("expected");
    QTest::newRow("a page back") << 47 << qint32(-10);
    QTest::newRow("two below the rest: nothing") << 48 << qint32(0);
    QTest::newRow("the arrow back") << 49 << qint32(-1);
    QTest::newRow("the rest") << 50 << qint32(0);
    QTest::newRow("the arrow on") << 51 << qint32(1);
    QTest::newRow("two above the rest: nothing") << 52 << qint32(0);
    QTest::newRow("a page on") << 53 << qint32(10);
}

// A page taken for an arrow, or the thumb's put-back counted as a step, shows here.
void tst_SpinnerStep::steps()
{
    QFETCH(int, value);
    QTEST(spinnerStep(value, 10), "expected");
}

DAYPLEX_TEST_MAIN(tst_SpinnerStep)
#include "tst_spinnerstep.moc"

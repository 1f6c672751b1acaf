// The interaction members as a host reaches them through the shared library: by name through
// the dispatch facility, with the cursors from the library's own resources.
#include <dayplex/dayplex.h>

#include "support/testing.h"

#include <QtTest>

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

} // namespace

class tst_ucAgendaInteraction : public QObject
{
    Q_OBJECT

private slots:
    // The cursor pictures are compiled into the shared library; a host that loads it gets them.
    void cursorsComeWithTheLibrary_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("hotSpot");
        QTest::newRow("SIZEN") << "SIZEN" << QPoint(15, 0);
        QTest::newRow("SizeS") << "SizeS" << QPoint(15, 31);
    }
    void cursorsComeWithTheLibrary()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, hotSpot);
        ucAgenda agenda;
        QVariantList args{name};
        Dispatch::invoke(&agenda, QStringLiteral("MousePointer"), Dispatch::Call::Method, args);
        QWidget *pic = agenda.findChild<QWidget *>(QStringLiteral("pic"));
        QVERIFY(pic);
        QCOMPARE(pic->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(pic->cursor().hotSpot(), hotSpot);
    }

};

QTEST_MAIN(tst_ucAgendaInteraction)
#include "tst_ucagenda_interaction.moc"

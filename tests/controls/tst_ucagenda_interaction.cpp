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

    // Each member answers when called by name with the arguments a host passes, and refuses bad
    // arguments with the documented error.
    void membersByName_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QVariant>("result");
        QTest::addColumn<Date>("firstDay");
        QTest::addColumn<int>("error");
        const Date mon = day(2024, 3, 4);
        QTest::newRow("Scroll a page") << "Scroll" << QVariantList{-3} << QVariant() << mon - 7 << 0;
        QTest::newRow("Scroll with a text") << "Scroll" << QVariantList{"x"} << QVariant() << mon << 13;
        QTest::newRow("isLastRowVisible before any paint") << "isLastRowVisible" << QVariantList{} << QVariant(false)
                                                           << mon << 0;
        QTest::newRow("MousePointer unknown name") << "MousePointer" << QVariantList{"Sanduhr"} << QVariant() << mon
                                                   << 5;
    }
    void membersByName()
    {
        QFETCH(QString, member);
        QFETCH(QVariantList, args);
        QFETCH(QVariant, result);
        QFETCH(Date, firstDay);
        QFETCH(int, error);
        ucAgenda agenda;
        double last = day(2024, 3, 10);
        agenda.SetDisplayedRange(day(2024, 3, 4), &last, false, false);
        QVariant answer;
        QCOMPARE(errorNumber([&] { answer = Dispatch::invoke(&agenda, member, Dispatch::Call::Method, args); }), error);
        if (result.isValid())
            QCOMPARE(answer, result);
        QCOMPARE(agenda.FirstDay(), firstDay);
        QCOMPARE(agenda.GetAnzahlTage(), 7);
    }

    // The wheel control's hwnd takes a window handle by name and 0 to let go.
    void wheelControlByName()
    {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ctlIntellimouse control;
        QVariantList attach{QVariant::fromValue(window.winId())};
        Dispatch::invoke(&control, QStringLiteral("hwnd"), Dispatch::Call::PropertyPut, attach);
        QSignalSpy spy(&control, &ctlIntellimouse::Wheel);
        QWheelEvent event(QPointF(1, 1), QPointF(100, 200), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::ShiftModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&window, &event);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first(), (QVariantList{4, -120, 100, 200}));
        QVariantList detach{0};
        Dispatch::invoke(&control, QStringLiteral("hwnd"), Dispatch::Call::PropertyPut, detach);
        QApplication::sendEvent(&window, &event);
        QCOMPARE(spy.size(), 1);
    }
};

QTEST_MAIN(tst_ucAgendaInteraction)
#include "tst_ucagenda_interaction.moc"

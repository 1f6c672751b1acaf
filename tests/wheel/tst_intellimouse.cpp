// The wheel control: decoding the wheel message, converting real wheel events of the watched
// window, and surviving windows and controls that go away.
#include "wheel/ctlintellimouse_p.h"

#include <dayplex/ctlintellimouse.h>

#include <QtTest>
#include <memory>
#include "support/testmain.h"

using namespace Dayplex;

namespace {

qint32 makeLong(int low, int high) { return qint32(quint32(quint16(high)) << 16 | quint16(low)); }

// Delivered as the window system delivers it: spontaneous, so that a child that does not use
// the wheel passes it on to its parent.
void turnWheel(QWidget *target, QPoint global, int delta, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent event(QPointF(5, 5), QPointF(global), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(target, &event);
}

} // namespace

class tst_Intellimouse : public QObject
{
    Q_OBJECT

private slots:
    // Every word is a signed 16-bit number: read unsigned, a turn towards the user or a
    // position left of the screen would arrive as 65416 instead of -120.
    void decodeWheelMessage_data()
    {
        using L = QVariantList;
        QTest::addColumn<qint32>("w");
        QTest::addColumn<qint32>("l");
        QTest::addColumn<QVariantList>("expected");
        QTest::newRow("one notch away") << makeLong(0, 120) << makeLong(300, 200)
                                        << L{0, 120, 300, 200};
        QTest::newRow("shift and left button") << makeLong(5, -120) << 0 << L{5, -120, 0, 0};
        QTest::newRow("extreme words, both signs in each")
            << qint32(0x7FFF8000) << qint32(0x80007FFF) << L{-32768, 32767, 32767, -32768};
    }
    void decodeWheelMessage()
    {
        QFETCH(qint32, w);
        QFETCH(qint32, l);
        QFETCH(QVariantList, expected);
        ctlIntellimouse control;
        QSignalSpy spy(&control, &ctlIntellimouse::Wheel);
        ctlIntellimousePrivate::get(&control)->DecodeWheelMessage(12345, w, l, -1);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first(), expected);
    }

    // A wheel event sent to the window given to hwnd raises Wheel once, with converted values;
    // the window still sees the event, even when a host's handler of Wheel throws. The control
    // may go first: the window's later wheel events must not reach a dead filter.
    void watchedWindowRaisesWheel()
    {
        struct Receiver : QWidget
        {
            int wheels = 0;
            void wheelEvent(QWheelEvent *event) override
            {
                ++wheels;
                event->accept();
            }
        } window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto control = std::make_unique<ctlIntellimouse>();
        control->setHwnd(window.winId());
        QSignalSpy spy(control.get(), &ctlIntellimouse::Wheel);
        const auto failingHandler = [] { throw std::runtime_error("host"); };
        QObject::connect(control.get(), &ctlIntellimouse::Wheel, failingHandler);
        turnWheel(&window, QPoint(-30, 700), -120, Qt::ControlModifier);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first(), QVariantList({8, -120, -30, 700}));
        QCOMPARE(window.wheels, 1);
        QVERIFY(control->isHidden());
        control.reset();
        turnWheel(&window, QPoint(1, 1), 120, Qt::NoModifier);
        QCOMPARE(window.wheels, 2);
    }
};

DAYPLEX_TEST_MAIN(tst_Intellimouse)
#include "tst_intellimouse.moc"

// The wheel control: decoding the wheel message, converting real wheel events of the watched
// window, and surviving windows and controls that go away.
#include "wheel/ctlintellimouse_p.h"

#include <dayplex/ctlintellimouse.h>

#include <QtTest>
#include <memory>

using namespace Dayplex;

namespace {

qint32 makeLong(int low, int high)
{
    return qint32((quint32(quint16(high)) << 16) | quint32(quint16(low)));
}

struct Turn
{
    QPoint global;
    int delta = 0;
    Qt::MouseButtons buttons;
    Qt::KeyboardModifiers modifiers;
};

// Delivered as the window system delivers it: spontaneous, so that a child that does not use
// the wheel passes it on to its parent.
void turnWheel(QWidget *target, const Turn &turn)
{
    QWheelEvent event(QPointF(5, 5), QPointF(turn.global), QPoint(), QPoint(0, turn.delta), turn.buttons,
                      turn.modifiers, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(target, &event);
}

QVariantList wheelValues(int key, int delta, int x, int y)
{
    return {key, delta, x, y};
}

} // namespace

class tst_Intellimouse : public QObject
{
    Q_OBJECT

private slots:
    void decodeWheelMessage_data();
    void decodeWheelMessage();
    void wheelEventToMessage_data();
    void wheelEventToMessage();
    void watchedWindowRaisesWheel();
    void controlDestroyedBeforeTheWindow();
    void failingHandlerLeavesTheWindowWorking();
};

// Every word is a signed 16-bit number: read unsigned, a turn towards the user or a position
// left of the screen would arrive as 65416 instead of -120.
void tst_Intellimouse::decodeWheelMessage_data()
{
    QTest::addColumn<qint32>("w");
    QTest::addColumn<qint32>("l");
    QTest::addColumn<QVariantList>("expected");
    QTest::newRow("one notch away") << makeLong(0, 120) << makeLong(300, 200) << wheelValues(0, 120, 300, 200);
    QTest::newRow("one notch towards the user") << qint32(0xFF880000u) << makeLong(300, 200)
                                                << wheelValues(0, -120, 300, 200);
    QTest::newRow("two notches at once") << makeLong(0, 240) << 0 << wheelValues(0, 240, 0, 0);
    QTest::newRow("control key held") << makeLong(8, 120) << 0 << wheelValues(8, 120, 0, 0);
    QTest::newRow("shift and left button") << makeLong(5, -120) << 0 << wheelValues(5, -120, 0, 0);
    QTest::newRow("left of and above the primary screen") << makeLong(0, 120) << makeLong(-1280, -40)
                                                          << wheelValues(0, 120, -1280, -40);
    QTest::newRow("extreme words") << qint32(0x7FFF8000) << qint32(0x80007FFF)
                                   << wheelValues(-32768, 32767, 32767, -32768);
}

void tst_Intellimouse::decodeWheelMessage()
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

// A Qt wheel event becomes the platform's message: buttons and modifiers as key flags, the
// vertical angle as the delta, the global position as screen coordinates.
void tst_Intellimouse::wheelEventToMessage_data()
{
    QTest::addColumn<QPoint>("global");
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<qint32>("w");
    QTest::addColumn<qint32>("l");
    QTest::newRow("plain notch") << QPoint(640, 480) << 120 << 0 << 0 << makeLong(0, 120) << makeLong(640, 480);
    QTest::newRow("towards the user with control")
        << QPoint(10, 20) << -120 << 0 << int(Qt::ControlModifier) << makeLong(8, -120) << makeLong(10, 20);
    QTest::newRow("left and middle button, shift")
        << QPoint(0, 0) << 240 << int(Qt::LeftButton | Qt::MiddleButton) << int(Qt::ShiftModifier)
        << makeLong(1 | 16 | 4, 240) << 0;
    QTest::newRow("right button and control")
        << QPoint(0, 0) << 120 << int(Qt::RightButton) << int(Qt::ControlModifier) << makeLong(2 | 8, 120) << 0;
    QTest::newRow("left of the primary screen") << QPoint(-1920, -5) << 120 << 0 << 0 << makeLong(0, 120)
                                                << makeLong(-1920, -5);
    QTest::newRow("high-resolution wheel keeps its small delta") << QPoint(1, 1) << 15 << 0 << 0
                                                                  << makeLong(0, 15) << makeLong(1, 1);
    QTest::newRow("beyond 16 bits is clamped") << QPoint(40000, -40000) << 100000 << 0 << 0
                                               << makeLong(0, 32767) << makeLong(32767, -32768);
}

void tst_Intellimouse::wheelEventToMessage()
{
    QFETCH(QPoint, global);
    QFETCH(int, delta);
    QFETCH(int, buttons);
    QFETCH(int, modifiers);
    QFETCH(qint32, w);
    QFETCH(qint32, l);
    const QWheelEvent event(QPointF(1, 1), QPointF(global), QPoint(), QPoint(0, delta),
                            Qt::MouseButtons(buttons), Qt::KeyboardModifiers(modifiers),
                            Qt::NoScrollPhase, false);
    const WheelMessage message = toWheelMessage(event);
    QCOMPARE(message.w, w);
    QCOMPARE(message.l, l);
}

// A wheel event sent to the window given to hwnd raises Wheel once, with converted values,
// and the window still sees the event.
void tst_Intellimouse::watchedWindowRaisesWheel()
{
    QWidget window;
    window.resize(200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ctlIntellimouse control;
    control.setHwnd(window.winId());
    QSignalSpy spy(&control, &ctlIntellimouse::Wheel);
    turnWheel(&window, {QPoint(-30, 700), -120, Qt::NoButton, Qt::ControlModifier});
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.first(), wheelValues(8, -120, -30, 700));
    QVERIFY(control.isHidden());
}

// The control may go first: the window's later wheel events must not reach a dead filter.
void tst_Intellimouse::controlDestroyedBeforeTheWindow()
{
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    int raised = 0;
    {
        ctlIntellimouse control;
        control.setHwnd(window.winId());
        QObject::connect(&control, &ctlIntellimouse::Wheel, [&raised] { ++raised; });
        turnWheel(&window, {QPoint(1, 1), 120, Qt::NoButton, Qt::NoModifier});
    }
    turnWheel(&window, {QPoint(1, 1), 120, Qt::NoButton, Qt::NoModifier});
    QCOMPARE(raised, 1);
}

// An exception from a host's Wheel handler stays inside the control.
void tst_Intellimouse::failingHandlerLeavesTheWindowWorking()
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
    ctlIntellimouse control;
    control.setHwnd(window.winId());
    QObject::connect(&control, &ctlIntellimouse::Wheel, [] { throw std::runtime_error("host"); });
    turnWheel(&window, {QPoint(1, 1), 120, Qt::NoButton, Qt::NoModifier});
    QCOMPARE(window.wheels, 1);
}

QTEST_MAIN(tst_Intellimouse)
#include "tst_intellimouse.moc"

#ifndef DAYPLEX_CTLINTELLIMOUSE_P_H
#define DAYPLEX_CTLINTELLIMOUSE_P_H

#include "shared/ctools.h"

#include <dayplex/ctlintellimouse.h>

#include <QObject>
#include <QPointer>

class QWheelEvent;

namespace Dayplex {

// The two parameters of the platform's mouse-wheel message.
struct WheelMessage
{
    qint32 w = 0; // low word: key flags; high word: signed delta, 120 per notch
    qint32 l = 0; // low word: x, high word: y, signed screen coordinates
};

// Key flags of the wheel message.
enum WheelKeyFlag : qint32 {
    MkLButton = 0x0001,
    MkRButton = 0x0002,
    MkShift = 0x0004,
    MkControl = 0x0008,
    MkMButton = 0x0010,
    MkXButton1 = 0x0020,
    MkXButton2 = 0x0040,
};

// The wheel message a vertical wheel event stands for. Delta and coordinates that do not fit
// 16 bits are clamped to the nearest value that does.
WheelMessage toWheelMessage(const QWheelEvent &event);

// Watches the window given to hwnd and turns its wheel events into Wheel.
class ctlIntellimousePrivate : public QObject
{
public:
    explicit ctlIntellimousePrivate(ctlIntellimouse *q);
    ~ctlIntellimousePrivate() override;

    static ctlIntellimousePrivate *get(ctlIntellimouse *control) { return control->d.get(); }

    // Decodes one wheel message (w, l; a and b are not used) and raises Wheel once.
    void DecodeWheelMessage(qint32 a, qint32 w, qint32 l, qint32 b);

    void watch(QWidget *window);
    QWidget *watched() const { return window; }

    bool eventFilter(QObject *watchedObject, QEvent *event) override;

    ctlIntellimouse *const q;
    cTools tools;
    QPointer<QWidget> window; // becomes null when the window goes first
};

} // namespace Dayplex

#endif

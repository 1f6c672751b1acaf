#ifndef DAYPLEX_CTLINTELLIMOUSE_H
#define DAYPLEX_CTLINTELLIMOUSE_H

#include <dayplex/dayplex_export.h>

#include <QWidget>
#include <memory>

namespace Dayplex {

class ctlIntellimousePrivate;

/// An invisible control that reports the wheel turns of a given window as the Wheel event.
class DAYPLEX_EXPORT ctlIntellimouse : public QWidget
{
    Q_OBJECT
    Q_CLASSINFO("ClassID", "{89161814-1CED-11D3-85D0-0080C8394789}")
    Q_CLASSINFO("InterfaceID", "{89161813-1CED-11D3-85D0-0080C8394789}")
    Q_CLASSINFO("EventsID", "{89161815-1CED-11D3-85D0-0080C8394789}")
    Q_CLASSINFO("ProgID", "Dayplex.ctlIntellimouse")
    Q_CLASSINFO("Interface", "_ctlIntellimouse")
    Q_CLASSINFO("EventInterface", "__ctlIntellimouse")

public:
    explicit ctlIntellimouse(QWidget *parent = nullptr);
    ~ctlIntellimouse() override;

    /// Write-only property: the window whose wheel turns are reported; 0 stops the reporting.
    Q_INVOKABLE void setHwnd(WId hwnd);

Q_SIGNALS:
    /// One wheel turn over the watched window: \a key the pressed buttons and modifiers (1 left,
    /// 2 right, 16 middle button, 4 shift, 8 control), \a delta 120 per notch, positive away
    /// from the user, and the mouse position \a x, \a y in screen coordinates.
    void Wheel(qint32 key, qint32 delta, qint32 x, qint32 y);

private:
    friend class ctlIntellimousePrivate;
    std::unique_ptr<ctlIntellimousePrivate> const d;
};

} // namespace Dayplex

#endif

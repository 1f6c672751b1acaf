#include <dayplex/ctlintellimouse.h>

#include "shared/unavailable.h"

namespace Dayplex {

class ctlIntellimousePrivate
{
};

/*! Creates the control hidden: it has nothing to show. */
ctlIntellimouse::ctlIntellimouse(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<ctlIntellimousePrivate>())
{
    setVisible(false);
}

ctlIntellimouse::~ctlIntellimouse() = default;

void ctlIntellimouse::setHwnd(WId hwnd)
{
    throwNotYetAvailable("ctlIntellimouse.hwnd");
}

} // namespace Dayplex

#include "dialogs/modaldialog.h"

// The resources of the static library are not registered by themselves. Q_INIT_RESOURCE must
// be used outside any namespace; registering twice is harmless.
static void registerDayplexResources()
{
    Q_INIT_RESOURCE(dayplex);
}

namespace Dayplex {

QIcon optionsIcon()
{
    static const bool registered = (registerDayplexResources(), true);
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/dayplex/icons/icooptions.png"));
}

} // namespace Dayplex

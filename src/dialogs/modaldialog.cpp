#include "dialogs/modaldialog.h"

#include <QDialog>

// The resources of the static library are not registered by themselves. Q_INIT_RESOURCE must
// be used outside any namespace; registering twice is harmless.
static void registerDayplexResources()
{
    Q_INIT_RESOURCE(dayplex);
}

namespace Dayplex {

namespace {

ModalRunner &runnerSlot()
{
    static ModalRunner runner;
    return runner;
}

} // namespace

void runModal(QDialog &dialog)
{
    // A copy, so that a runner that replaces itself while it runs stays alive until it returns.
    const ModalRunner runner = runnerSlot();
    if (runner)
        runner(dialog);
    else
        dialog.exec();
}

ModalRunner setModalRunner(ModalRunner runner)
{
    ModalRunner previous = std::move(runnerSlot());
    runnerSlot() = std::move(runner);
    return previous;
}

QIcon optionsIcon()
{
    static const bool registered = (registerDayplexResources(), true);
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/dayplex/icons/icooptions.png"));
}

} // namespace Dayplex

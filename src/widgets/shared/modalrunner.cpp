#include "shared/modalrunner.h"

#include <QDialog>

namespace Dayplex {

Q_LOGGING_CATEGORY(lcDayplexModal, "dayplex.modal")

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

} // namespace Dayplex

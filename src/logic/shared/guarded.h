#ifndef DAYPLEX_GUARDED_H
#define DAYPLEX_GUARDED_H

#include <QDebug>

#include <exception>

namespace Dayplex {

// Runs an event handler of a view so that no error leaves the Qt event loop; the handlers
// leave their state consistent themselves. The error goes to the log as a warning.
template<typename F>
void guarded(F f)
{
    try {
        f();
    } catch (const std::exception &error) {
        qWarning().noquote() << "Dayplex:" << error.what();
    } catch (...) {
        qWarning("Dayplex: unknown error in an event handler");
    }
}

} // namespace Dayplex

#endif

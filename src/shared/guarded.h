#ifndef DAYPLEX_GUARDED_H
#define DAYPLEX_GUARDED_H

namespace Dayplex {

// Runs an event handler of a view so that no error leaves the Qt event loop; the handlers
// leave their state consistent themselves.
template<typename F>
void guarded(F f)
{
    try {
        f();
    } catch (...) {
    }
}

} // namespace Dayplex

#endif

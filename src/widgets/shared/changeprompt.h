#ifndef DAYPLEX_CHANGEPROMPT_H
#define DAYPLEX_CHANGEPROMPT_H

#include "shared/changerequest.h"

#include <functional>

namespace Dayplex {

// Answers a view core's change request with the message boxes (through the modal runner):
// nothing asked for a request without a change; else showNewPlace first, then the classic
// question (only when the view confirms changes) or the scope question of a series.
ChangeAnswer askChange(const ChangeRequest &request, const std::function<void()> &showNewPlace);

} // namespace Dayplex

#endif

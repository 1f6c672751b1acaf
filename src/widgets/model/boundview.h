#ifndef DAYPLEX_BOUNDVIEW_H
#define DAYPLEX_BOUNDVIEW_H

#include "model/modelfeed.h"

namespace Dayplex {

// The calendar and the resource view take the model's answer in their own classic calls.
std::unique_ptr<FeedTarget> boundView(class ucAgenda *view);
std::unique_ptr<FeedTarget> boundView(class ctlGantt *view);

} // namespace Dayplex

#endif

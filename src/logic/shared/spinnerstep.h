#ifndef DAYPLEX_SPINNERSTEP_H
#define DAYPLEX_SPINNERSTEP_H

#include <QtGlobal>

namespace Dayplex {

// The views' day bars (and the calendar's time bar) are spinners: the thumb rests in the
// middle and is put back after each step, so only the direction and size of a step count.
constexpr int kSpinnerRest = 50;
// The page of a day bar, as both views' Scroll takes it: any step but 1 and -1 moves by the
// shown days.
constexpr qint32 kPageOfDays = 999;

// The step a spinner's value asks for: 1 or -1 for an arrow (one from the rest), a page in
// that direction for a click beside the thumb (three or more above, three or more below), 0
// for anything nearer the rest.
qint32 spinnerStep(int value, qint32 page);

} // namespace Dayplex

#endif

#ifndef DAYPLEX_DEFAULTOPTIONS_H
#define DAYPLEX_DEFAULTOPTIONS_H

#include <QString>
#include <QStringList>

namespace Dayplex {

// The complete options string of a fresh view: working times, the five layout strings and
// the switches, in the order hosts and dialogs expect them.
QString defaultOptionsString();
// The complete layout string: raster, times, cell heights, margins, font and colours.
QString defaultLayoutString();

// The option keys that hold a layout string, in the order the defaults store them.
QStringList layoutOptionKeys();

} // namespace Dayplex

#endif

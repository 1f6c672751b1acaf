#ifndef DAYPLEX_LEADINGNUMBER_H
#define DAYPLEX_LEADINGNUMBER_H

#include <QStringView>

namespace Dayplex {

// The numeric value of the number a text starts with, after leading blanks: "30 Minuten" is
// 30, " 8pt" is 8, "7.5 Minuten" is 7.5; a text that starts with no number is 0. Used for the
// raster text and the size piece of a font string.
double leadingNumber(QStringView text);

} // namespace Dayplex

#endif

#ifndef DAYPLEX_FONTSTRING_H
#define DAYPLEX_FONTSTRING_H

#include <QFont>
#include <QString>

namespace Dayplex {

// The font of a font string "name, size": the name is the text before the comma, the size
// the leading number after it ("8pt" and " 8 Punkt" both give 8). "MS Sans Serif", which
// most systems lack, becomes the platform's default sans-serif font at the same size; a size
// that is missing or absurd becomes 8 points.
QFont fontFromString(const QString &fontString);

} // namespace Dayplex

#endif

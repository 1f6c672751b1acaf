#ifndef DAYPLEX_KALENDEROBJEKTTYP_H
#define DAYPLEX_KALENDEROBJEKTTYP_H

#include <dayplex/dayplex_export.h>

#include <QObject>

namespace Dayplex {
Q_NAMESPACE_EXPORT(DAYPLEX_EXPORT)
Q_CLASSINFO("EnumID", "{6037C508-D2E8-11D2-802E-0080C83B816D}")

/// Kinds of hit region of the calendar; single bits, so that a lookup can ask for several.
enum kalenderobjekttyp : int {
    zeitzelle = 1,        ///< a cell of the time grid
    tageszelle = 2,       ///< a cell of the all-day band
    splitter = 4,         ///< the splitter between all-day band and time grid
    termineintrag = 8,    ///< an appointment bar in the time grid
    sizenorth = 16,       ///< the upper resize zone of an appointment
    sizesouth = 32,       ///< the lower resize zone of an appointment
    tagestermin = 64,     ///< an all-day appointment
    tageszellekopf = 128, ///< a day header cell
};
Q_ENUM_NS(kalenderobjekttyp)

} // namespace Dayplex

#endif

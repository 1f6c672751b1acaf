#ifndef DAYPLEX_HITTEST_H
#define DAYPLEX_HITTEST_H

#include "calendar/appointmentstore.h"
#include "calendar/hitregion.h"

#include <dayplex/kalenderobjekttyp.h>

#include <QString>

namespace Dayplex {

// The kinds of region each situation of the mouse handling may act on.
namespace HitFilter {
constexpr qint32 PressAboveGrid = tageszelle | splitter | tagestermin | tageszellekopf; // 198
constexpr qint32 PressInGrid = 255;
constexpr qint32 HoverBase = zeitzelle | tageszelle | splitter | tageszellekopf; // 135
constexpr qint32 HoverInGrid = HoverBase | termineintrag | sizenorth | sizesouth;  // 191
constexpr qint32 HoverAboveGrid = HoverBase | tagestermin;                         // 199
constexpr qint32 DragStart = termineintrag | tagestermin;                          // 72
constexpr qint32 Cell = zeitzelle;                                                  // 1
constexpr qint32 CellOrBand = zeitzelle | tageszelle;                               // 3
constexpr qint32 ClickAboveGrid = tageszelle | tagestermin | tageszellekopf;        // 194
constexpr qint32 ClickInGrid = termineintrag;                                       // 8
} // namespace HitFilter

// The region under (x, y), edges included, of a kind the filter admits (0 admits every kind).
// The highest priority wins; among equal priorities the region registered first. Regions of
// priority 0 or less are never found. Writes region only when something is found.
bool findHitRegion(const HitRegionList &regions, double x, double y, qint32 filter,
                   HitRegion &region);

// "04.03.2024 10:00 - 04.03.2024 11:00 Teambesprechung"; a holiday shows one date and its name.
QString terminTooltip(const TerminEintrag &entry);
// "Montag, 4. März 2024 10. Woche"
QString dayHeaderTooltip(Date day);

// What the mouse shows while it hovers without a drag.
struct HoverFeedback
{
    bool found = false;   // false: default cursor, tooltip unchanged
    QString tooltip;
    QString cursorName;   // a named cursor, empty for the default cursor
};

// Hover classification at (x, y); firstRowTop is the top of the time grid. A region naming an
// appointment that is no longer in the store counts as nothing found.
HoverFeedback hoverFeedback(const HitRegionList &regions, const AppointmentStore &store, double x,
                            double y, qint32 firstRowTop);

// The modern presentation's resize edges: the top few pixels of a timed appointment's box on
// the day it starts, the bottom few on the day it ends, act as the time bar's zones there.
struct BoxEdge
{
    qint32 typ = 0;   // sizenorth or sizesouth; 0 off the edges
    qint32 index = 0; // the appointment
};
constexpr qint32 kBoxEdgePixels = 5;
BoxEdge boxEdgeAt(const HitRegionList &regions, double x, double y);

} // namespace Dayplex

#endif

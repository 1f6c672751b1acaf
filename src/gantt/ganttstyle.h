#ifndef DAYPLEX_GANTTSTYLE_H
#define DAYPLEX_GANTTSTYLE_H

#include <QFont>
#include <QtGlobal>

namespace Dayplex {

class cContainer;

// The colours, switches and font of the Gantt view's layout string, read whenever the layout
// changes, so that a paint never meets an unreadable value. Colours are Windows colour values.
struct GanttStyle
{
    qint32 rgbBackUeberschrift = 0;
    qint32 rgbFontUeberschrift = 0;
    qint32 rgbBackMarkiert = 0;
    qint32 rgbFontMarkiert = 0;
    qint32 rgbBackFeiertag = 0;
    qint32 rgbFontFeiertag = 0;
    qint32 rgbBackTermine = 0;
    qint32 rgbFontTermine = 0;
    qint32 rgbBackTagestermine = 0;
    qint32 rgbFontTagestermine = 0;
    qint32 rgbZeitbalken = 0;
    bool blnIndividuelleTerminfarben = false;
    bool blnErledigteDurchstreichen = false;
    bool blnOptimiertezeilenhoehe = false;
    qint32 lngHoeheTerminzelle = 1; // minimum row height in text lines
    QFont font;

    // Throws Dayplex::Error when a value cannot be read as its kind.
    static GanttStyle fromLayout(const cContainer &layout);
};

} // namespace Dayplex

#endif

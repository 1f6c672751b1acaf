#ifndef DAYPLEX_CALENDARSTYLE_H
#define DAYPLEX_CALENDARSTYLE_H

#include <QFont>
#include <QtGlobal>

namespace Dayplex {

class cContainer;

// The colours, switches and font of a layout string, read once when the layout is applied,
// so that a paint never meets an unreadable value. Colours are Windows colour values.
struct CalendarStyle
{
    qint32 rgbBackUeberschrift = 0;
    qint32 rgbFontUeberschrift = 0;
    qint32 rgbBackMarkiert = 0;
    qint32 rgbFontMarkiert = 0;
    qint32 rgbBackFeiertag = 0;
    qint32 rgbFontFeiertag = 0;
    qint32 rgbBackTagestermine = 0;
    qint32 rgbFontTagestermine = 0;
    qint32 rgbBackTermine = 0;
    qint32 rgbFontTermine = 0;
    qint32 rgbZeitbalken = 0;
    qint32 rgbBackKopfzeilen = 0;
    qint32 rgbFontKopfzeilen = 0;
    qint32 rgbBackMonatsuebersichtkopf = 0;
    qint32 rgbFontMonatsuebersichtkopf = 0;
    bool blnIndividuelleTerminfarben = false;
    bool blnErledigteDurchstreichen = false;
    QFont font;

    // Throws Dayplex::Error when a value cannot be read as its kind.
    static CalendarStyle fromLayout(const cContainer &layout);
};

} // namespace Dayplex

#endif

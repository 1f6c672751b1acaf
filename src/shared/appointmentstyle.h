#ifndef DAYPLEX_APPOINTMENTSTYLE_H
#define DAYPLEX_APPOINTMENTSTYLE_H

#include <QFont>
#include <QtGlobal>

namespace Dayplex {

class cContainer;

// Background and text colour of one box, as Windows colour values.
struct ColourPair
{
    qint32 back = 0;
    qint32 text = 0;
};

// What both views read from their layout string to draw headers and appointments: the
// colours, the two switches and the font. Read once when the layout is applied, so that a
// paint never meets an unreadable value.
struct AppointmentStyle
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
    bool blnIndividuelleTerminfarben = false;
    bool blnErledigteDurchstreichen = false;
    QFont font;

    // The colours of an appointment box, first match wins: selected (on screen), holiday,
    // the appointment's own colours when individual colours are on, all-day, timed.
    ColourPair appointmentColours(bool selected, bool holiday, bool allDay, qint32 ownBack,
                                  qint32 ownText) const;

protected:
    // Throws Dayplex::Error when a value cannot be read as its kind.
    void readFrom(const cContainer &layout);
};

} // namespace Dayplex

#endif

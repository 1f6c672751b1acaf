#ifndef DAYPLEX_APPOINTMENTSTYLE_H
#define DAYPLEX_APPOINTMENTSTYLE_H

#include <QFont>
#include <QVector>
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

    // The modern presentation's fill of the selected appointment: the selection colour, made
    // darker where it would look like one of the appointment colours of the layout or, with
    // individual colours on, like one of ownColours.
    qint32 modernSelectionColour(const QVector<qint32> &ownColours) const;
    // The modern colours of a box: the selected one takes selectionFill, and every text keeps
    // the readable contrast against its fill.
    static ColourPair modernColours(ColourPair classic, bool selected, qint32 selectionFill);

protected:
    // Throws Dayplex::Error when a value cannot be read as its kind.
    void readFrom(const cContainer &layout);
};

} // namespace Dayplex

#endif

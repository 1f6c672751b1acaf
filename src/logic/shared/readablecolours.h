#ifndef DAYPLEX_READABLECOLOURS_H
#define DAYPLEX_READABLECOLOURS_H

#include <QVector>
#include <QtGlobal>

namespace Dayplex {

// Colour rules of the modern presentation. Colours are Windows colour values 0x00BBGGRR; system
// colours are resolved first.

// The contrast ratio of two colours after WCAG 2: 1 for equal colours up to 21 for black on
// white; text needs 4.5 to stay readable.
double contrastRatio(qint32 a, qint32 b);
constexpr double kReadableContrast = 4.5;

// The text colour moved towards black or white, whichever gives more contrast, just far enough
// to reach the readable contrast against back; a text colour that already reaches it is kept.
qint32 readableTextColour(qint32 text, qint32 back);

// The distance of two colours in CIELAB (CIE76 delta E): about 2 is the smallest difference
// people see, from about 20 two fills read as different colours at a glance.
double colourDistance(qint32 a, qint32 b);
constexpr double kDistinctColourDistance = 20;

// colour itself when it is at least the distinct distance from each of others; otherwise the
// first of its darker shades that is, or the shade farthest from them all.
qint32 distinctColour(qint32 colour, const QVector<qint32> &others);

} // namespace Dayplex

#endif

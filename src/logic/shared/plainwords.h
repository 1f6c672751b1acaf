#ifndef DAYPLEX_PLAINWORDS_H
#define DAYPLEX_PLAINWORDS_H

#include <QString>
#include <QStringList>

namespace Dayplex {

// The words the layout dialog shows in the modern presentation for values that are stored in
// the host's own terms: the field list names the host's fields ("AKT_Notiz"), the font string a
// font the machine may lack. The stored texts never change by being shown.

// The fields the dialog offers for choosing, by key, in the order offered.
QStringList offeredFieldKeys();

// The name an office worker reads for a field key ("AKT_Notiz" gives "Betreff/Notiz"); a key
// the table does not know is shown as it is.
QString plainFieldName(const QString &key);

// A field list shown with those names, joined by ", ": "AKT_Merkmale, AKT_Notiz, AD_Name" gives
// "Teilnehmer, Betreff/Notiz, Name".
QString plainFieldList(const QString &fieldKeys);

// The keys of a list typed with the shown names, one by one: a piece that is a shown name or
// a key of the table (letter case ignored) gives the key, any other piece stays as typed; empty
// pieces are dropped. fieldKeysOf joins them by ", ", as the field list is stored.
QStringList fieldKeys(const QString &plainList);
QString fieldKeysOf(const QString &plainList);

// The font of a font string as the user reads it, "Arial, 10 pt"; when the font drawn is
// another (the machine lacks the named family, or the size was out of bounds) it names both:
// "MS Sans Serif, 8 pt (angezeigt als DejaVu Sans, 8 pt)".
QString plainFontText(const QString &fontString, const QString &familyShown, double sizeShown);

} // namespace Dayplex

#endif

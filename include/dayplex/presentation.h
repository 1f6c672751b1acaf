#ifndef DAYPLEX_PRESENTATION_H
#define DAYPLEX_PRESENTATION_H

namespace Dayplex {

/// How the views draw texts, clipped all-day rows and colours on the screen.
///
/// Classic is the look the controls always had: texts cut at the box edge, all-day rows below
/// the band clipped away, the colours of the layout as they are. Modern ends texts that do not
/// fit with an ellipsis, shows "+n" in a day's band cell that hides n entries (its tooltip names
/// them, a click selects the first), keeps every appointment text at a contrast of at least
/// 4.5:1 against its fill and gives the selected appointment a fill that stands apart from the
/// appointment colours. The resource view in Modern folds the hours outside the working hours
/// into narrow bands, lays overlapping appointments in lanes and labels each with its start
/// time. Printing follows a setting of its own (setPrintPresentation of either view), Classic
/// unless the host chooses otherwise.
///
/// The view's options dialog follows it: in the modern presentation its layout dialogs name the
/// output fields as an office worker knows them ("Teilnehmer, Betreff/Notiz, Name" instead of
/// "AKT_Merkmale, AKT_Notiz, AD_Name"), offer them in a menu, and name the font actually drawn
/// when the stored one is not installed. The options string they store is the same.
///
/// The setting is a plain C++ property of each view: it is not part of the options string, so
/// stored option strings and hosts that bind late by name see no change.
enum class Presentation {
    Classic, ///< the look the controls always had; the default
    Modern,  ///< ellipses, "+n" markers, readable and distinct colours
};

} // namespace Dayplex

#endif

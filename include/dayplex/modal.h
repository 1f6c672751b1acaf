#ifndef DAYPLEX_MODAL_H
#define DAYPLEX_MODAL_H

#include <dayplex/dayplex_export.h>

#include <QString>
#include <functional>

class QDialog;

namespace Dayplex {

/// A modal question or message of the views: the question before a dragged appointment is
/// changed, the two messages of the free-slot search, the message about a print layout that
/// leaves no room on the page.
struct Prompt
{
    /// What the window asks or tells.
    enum class Kind {
        Question,    ///< a yes/no question
        Information, ///< a message with an information icon
        Warning,     ///< a message with a warning icon
    };
    Kind kind = Kind::Information; ///< question or message
    QString title;                 ///< the window title
    QString text;                  ///< the question or message, in the library's language
    bool defaultYes = true;        ///< for a question: the button that Enter chooses
};

/// For hosts that answer the views' questions and run their modal windows themselves, and for
/// their tests, which must not block on a window. The handler returns the answer to a question
/// (true for "Ja"); an empty handler restores the message box. Returns the handler in force before.
using PromptHandler = std::function<bool(const Prompt &)>;
/// Sets the handler of the views' questions and messages; see PromptHandler.
DAYPLEX_EXPORT PromptHandler setPromptHandler(PromptHandler handler);

/// Runs one modal window of the library; it must return once the window is answered (hidden
/// again). An empty runner restores QDialog::exec. Returns the runner in force before.
///
/// Every modal window the library opens is a QDialog and passes through the runner; its
/// objectName says which one it is (the names below). A runner answers a window as the user
/// would: it sets the value (or leaves it), then accepts or rejects the dialog. It may also show
/// the dialog without modality and let a person answer, returning once it is hidden. A window it
/// leaves without an answer counts as cancelled.
///
/// - OptionsDialog, LayoutDialog: the two option dialogs. Their controls carry the fixed control
///   names ("chkConfirmChanges", "cmdAnsicht_0", "cboAufloesung", "lblColor_7", ...); press
///   "cmdOK" or "cmdCancel" (QAbstractButton::click). A layout dialog runs inside the run of the
///   options dialog, from its "cmdAnsicht_<n>" buttons.
/// - ColorChooser (a QColorDialog), FontChooser (a QFontDialog): opened by the layout dialog,
///   which is their parent. The dynamic property "tag" names the key of the layout string the
///   answer goes to ("rgbBackTermine", "rgbFontTermine", "strFont", ...); currentColor() and
///   currentFont() start at the value shown. Answer with setCurrentColor / setCurrentFont and
///   accept(); reject() keeps the value.
/// - PrintDialog (a QPrintDialog): asks for printer and pages of a print job. printer() is the
///   job's printer; the tab "Kalender" ("Calendar" in English) holds the page count "txtPageCount" (QSpinBox) and the
///   preview choice "chkPreview" (QCheckBox). Where the host offers the choice of sheet and
///   period (ucAgenda::offerPrintChoice) the page count gives way to the sheet "cboSheet"
///   (QComboBox) and the period "dtpFrom", "dtpTo" (QDateEdit). done(QDialog::Accepted) starts the job with the
///   printer as the runner set it up; accept() first takes over what the dialog's own fields
///   show; reject() cancels the job.
/// - PrintPreview (a QPrintPreviewDialog): shows the page of a preview job; its
///   QPrintPreviewWidget child draws it. Any way of closing it ends the preview.
/// - Message (a QMessageBox): a Prompt, when no PromptHandler is set. Click one of its buttons
///   ("Ja", "Nein" for a question, "OK" otherwise; "Yes", "No" in English); reject() answers a
///   question with "Nein".
/// - SeriesQuestion (a QMessageBox): asks which occurrences of a series a moved or resized
///   occurrence's change is for. Click one of its buttons "Nur diesen Termin", "Diesen und alle
///   folgenden Termine", "Alle Termine der Serie" or "Abbrechen" (in English "Only this
///   appointment", "This and all following appointments", "All appointments of the series",
///   "Cancel"); reject() and a window left without an answer cancel the change. A
///   PromptHandler does not answer it, as it answers yes or no only.
///
/// Printing without any window: see printNextJobToPdf (<dayplex/printing.h>).
using ModalRunner = std::function<void(QDialog &dialog)>;
/// Sets the runner of the library's modal windows; see ModalRunner.
DAYPLEX_EXPORT ModalRunner setModalRunner(ModalRunner runner);

/// The object names of the modal windows (QObject::objectName) that a ModalRunner receives.
namespace ModalWindow {
inline constexpr char OptionsDialog[] = "cfrmConfigCalendar"; ///< the options dialog
inline constexpr char LayoutDialog[] = "cfrmConfigLayout";    ///< the layout dialog
inline constexpr char ColorChooser[] = "dlgColor";            ///< the colour chooser
inline constexpr char FontChooser[] = "dlgFont";              ///< the font chooser
inline constexpr char PrintDialog[] = "dlgPrint";             ///< the print dialog
inline constexpr char PrintPreview[] = "dlgPrintPreview";     ///< the print preview
inline constexpr char Message[] = "dlgMessage";               ///< a message box
inline constexpr char SeriesQuestion[] = "dlgSeriesScope";    ///< the scope of a series change
} // namespace ModalWindow

} // namespace Dayplex

#endif

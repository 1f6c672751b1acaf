#ifndef DAYPLEX_MODAL_H
#define DAYPLEX_MODAL_H

#include <dayplex/dayplex_export.h>

#include <QString>
#include <functional>

class QDialog;

namespace Dayplex {

// A modal question or message of the views, such as the question before a dragged
// appointment is changed.
struct Prompt
{
    enum class Kind { Question, Information, Warning };
    Kind kind = Kind::Information;
    QString title;
    QString text;
    bool defaultYes = true; // for a question: the button that Enter chooses
};

// For hosts that answer the views' questions and run their option dialogs themselves, and for
// their tests, which must not block on a window. The handler returns the answer to a question
// (true for "Ja"); an empty handler restores the message box. Returns the handler in force before.
using PromptHandler = std::function<bool(const Prompt &)>;
DAYPLEX_EXPORT PromptHandler setPromptHandler(PromptHandler handler);

// Runs an option dialog modally; it must return once the dialog is hidden again. An empty
// runner restores QDialog::exec. Returns the runner in force before.
using ModalRunner = std::function<void(QDialog &dialog)>;
DAYPLEX_EXPORT ModalRunner setModalRunner(ModalRunner runner);

} // namespace Dayplex

#endif

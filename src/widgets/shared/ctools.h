#ifndef DAYPLEX_CTOOLS_H
#define DAYPLEX_CTOOLS_H

#include "shared/toolbox.h"

#include <dayplex/modal.h>

class QWidget;

namespace Dayplex {

// The toolbox of the controls and dialogs: the logic's operations plus widget helpers, the busy
// pointer and the prompts. Every modal question goes through one replaceable prompt handler, so
// that tests answer it without a window.
class cTools : public cToolbox
{
public:
    using PromptHandler = Dayplex::PromptHandler;

    cTools() = default;
    // A copy starts idle: the busy pointer belongs to the object that showed it.
    cTools(const cTools &) {}
    cTools &operator=(const cTools &) { return *this; }

    static QString GetTag(const QWidget *control);
    static void EnableContainer(QWidget *frame, bool enable);

    // Busy pointer: true shows it until false is written.
    void WaitCursor(bool busy);
    bool isWaitCursor() const { return m_waitCursor; }
    // True when the user asked to stop a running operation (Escape pressed meanwhile).
    bool AbortRequested();

    static bool Confirm(const QString &message, bool defaultYes = true);
    // An empty title is replaced by the application's name.
    static void Message(const QString &message, Prompt::Kind kind = Prompt::Kind::Information,
                        const QString &title = QString());

    // Replaces the handler that answers every question and message; an empty handler restores
    // the default, a QMessageBox run through the modal runner. Returns the handler in force
    // before.
    static PromptHandler setPromptHandler(PromptHandler handler);

    ~cTools();

private:
    bool m_waitCursor = false;
    bool m_cursorShown = false; // whether this object pushed the override cursor
};

} // namespace Dayplex

#endif

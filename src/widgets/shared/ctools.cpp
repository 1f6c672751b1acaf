#include "shared/ctools.h"

#include "shared/modalrunner.h"
#include "shared/uitext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace Dayplex {

namespace {

// Records Escape key presses application-wide, so that a long loop can poll for a cancel
// request. Installed on first use and kept for the life of the application; it only reads.
class EscapeWatch : public QObject
{
public:
    using QObject::QObject;
    bool pressed = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            pressed = true;
        return QObject::eventFilter(watched, event);
    }
};

QPointer<EscapeWatch> g_escapeWatch;

EscapeWatch *escapeWatch()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return nullptr;
    if (!g_escapeWatch) {
        g_escapeWatch = new EscapeWatch(app);
        app->installEventFilter(g_escapeWatch);
    }
    return g_escapeWatch;
}

bool showMessageBox(const Prompt &prompt)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return false;
    QMessageBox box(QApplication::activeWindow());
    box.setObjectName(QLatin1String(ModalWindow::Message));
    box.setWindowTitle(prompt.title);
    box.setText(prompt.text);
    if (prompt.kind == Prompt::Kind::Question) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(uiText("Dayplex::cTools", "Ja"));
        box.button(QMessageBox::No)->setText(uiText("Dayplex::cTools", "Nein"));
        box.setDefaultButton(prompt.defaultYes ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        runModal(box);
        // A box closed without a button, by a runner, is not a yes.
        return box.clickedButton() == box.button(QMessageBox::Yes);
    }
    box.setIcon(prompt.kind == Prompt::Kind::Warning ? QMessageBox::Warning
                                                     : QMessageBox::Information);
    box.setStandardButtons(QMessageBox::Ok);
    // Set here rather than when shown, so that a runner finds it too.
    box.setDefaultButton(QMessageBox::Ok);
    runModal(box);
    return true;
}

cTools::PromptHandler &promptHandlerSlot()
{
    static cTools::PromptHandler handler;
    return handler;
}

bool ask(Prompt prompt)
{
    // Messages that name their own title keep it.
    if (prompt.title.isEmpty())
        prompt.title = QCoreApplication::applicationName();
    if (prompt.title.isEmpty())
        prompt.title = QStringLiteral("Dayplex");
    // A copy, so that a handler may replace itself while it runs.
    const cTools::PromptHandler handler = promptHandlerSlot();
    return handler ? handler(prompt) : showMessageBox(prompt);
}

} // namespace

QString cTools::GetTag(const QWidget *control)
{
    if (!control)
        return QString();
    const QVariant tag = control->property("tag");
    return tag.isValid() ? tag.toString() : QString();
}

void cTools::EnableContainer(QWidget *frame, bool enable)
{
    if (!frame)
        return;
    frame->setEnabled(enable);
    const QList<QWidget *> children = frame->findChildren<QWidget *>();
    for (QWidget *child : children)
        child->setEnabled(enable);
}

// One override cursor per object however often true is written; an Escape pressed before the
// busy phase starts does not cancel it.
void cTools::WaitCursor(bool busy)
{
    if (busy == m_waitCursor)
        return;
    m_waitCursor = busy;
    if (busy) {
        if (qGuiApp) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            m_cursorShown = true;
        }
        if (EscapeWatch *watch = escapeWatch())
            watch->pressed = false;
    } else if (m_cursorShown) {
        m_cursorShown = false;
        if (qGuiApp)
            QGuiApplication::restoreOverrideCursor();
    }
}

// Lets pending events through, then reports and forgets an Escape pressed since the last call.
bool cTools::AbortRequested()
{
    const QPointer<EscapeWatch> watch = escapeWatch();
    if (!watch)
        return false;
    QCoreApplication::processEvents();
    if (!watch)
        return false;
    const bool pressed = watch->pressed;
    watch->pressed = false;
    return pressed;
}

cTools::~cTools()
{
    if (m_cursorShown && qGuiApp)
        QGuiApplication::restoreOverrideCursor();
}

bool cTools::Confirm(const QString &message, bool defaultYes)
{
    Prompt prompt;
    prompt.kind = Prompt::Kind::Question;
    prompt.text = message;
    prompt.defaultYes = defaultYes;
    return ask(prompt);
}

void cTools::Message(const QString &message, Prompt::Kind kind, const QString &title)
{
    Prompt prompt;
    prompt.kind = kind;
    prompt.text = message;
    prompt.title = title;
    ask(prompt);
}

cTools::PromptHandler cTools::setPromptHandler(PromptHandler handler)
{
    PromptHandler previous = std::move(promptHandlerSlot());
    promptHandlerSlot() = std::move(handler);
    return previous;
}

PromptHandler setPromptHandler(PromptHandler handler)
{
    return cTools::setPromptHandler(std::move(handler));
}

} // namespace Dayplex

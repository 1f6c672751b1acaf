// Linked into every test program: a modal window would wait for a hand that never comes, so
// the first one shown ends the program at once, naming the window. Tests answer modal windows
// through the seams of <dayplex/modal.h> (setPromptHandler, setModalRunner) instead.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace {

class ModalWatchdog : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            const auto *window = static_cast<QWidget *>(watched);
            if (window->isWindow() && window->isModal())
                qFatal("A test opened a modal window: %s \"%s\", titled \"%s\". Answer it through "
                       "Dayplex::setModalRunner or Dayplex::setPromptHandler.",
                       window->metaObject()->className(), qPrintable(window->objectName()),
                       qPrintable(window->windowTitle()));
        }
        return QObject::eventFilter(watched, event);
    }
};

void installModalWatchdog()
{
    QCoreApplication *app = QCoreApplication::instance();
    app->installEventFilter(new ModalWatchdog(app));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installModalWatchdog)

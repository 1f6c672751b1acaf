// cCommonCalendar::Show, the options dialog host, kept apart from the print driver.
#include "dialogs/ccommoncalendar.h"

#include "dialogs/cfrmconfigcalendar.h"
#include "dialogs/modaldialog.h"

#include <dayplex/error.h>

#include <QApplication>
#include <QPointer>

namespace Dayplex {

namespace {

cCommonCalendar::OptionsDialogFactory &optionsFactorySlot()
{
    static cCommonCalendar::OptionsDialogFactory factory;
    return factory;
}

} // namespace

/*!
    Runs the calendar options dialog on \a strContainerStringOptions: the dialog loads the
    default options first and the given string over them, so that missing keys show their
    defaults. The dialog is owned by the application's active window and runs modally through
    runModal; \a presentation is passed on to its layout dialogs. Returns the edited options
    string, or "" when the user pressed Abbrechen (also after changing values). Leaves no dialog
    behind.

    Throws Dayplex::Error, before anything is shown, without a QApplication or when the text is
    not an options string.
*/
QString cCommonCalendar::Show(const QString &strContainerStringOptions,
                              Presentation presentation)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        throw Error(InvalidArgument,
                    QStringLiteral("Der Optionsdialog braucht eine QApplication."));

    QWidget *owner = QApplication::activeWindow();
    const OptionsDialogFactory factory = optionsFactorySlot();
    std::unique_ptr<cfrmConfigCalendar> form =
        factory ? factory(owner) : std::make_unique<cfrmConfigCalendar>(owner);
    if (!form)
        return QString();
    form->setPresentation(presentation);
    form->setOptions(GetDefaultOptions());
    form->setOptions(strContainerStringOptions);

    const QPointer<cfrmConfigCalendar> alive(form.get());
    runModal(*form);
    if (!alive) {
        // Its owner deleted it while it ran; there is nothing to read and nothing to free.
        (void)form.release();
        return QString();
    }
    return form->Cancel() ? QString() : form->Options();
}

cCommonCalendar::OptionsDialogFactory
cCommonCalendar::setOptionsDialogFactory(OptionsDialogFactory factory)
{
    OptionsDialogFactory previous = std::move(optionsFactorySlot());
    optionsFactorySlot() = std::move(factory);
    return previous;
}

} // namespace Dayplex

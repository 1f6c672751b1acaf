#ifndef DAYPLEX_CCOMMONCALENDAR_H
#define DAYPLEX_CCOMMONCALENDAR_H

#include <dayplex/presentation.h>
#include <dayplex/series.h>

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QObject;
class QPainter;
class QRect;
class QWidget;

namespace Dayplex {

class cContainer;
class cfrmConfigCalendar;
struct TerminEintrag;

// The service object each view owns: default options, and (as they land) the print job
// driver, the options dialog host and the change confirmation.
class cCommonCalendar
{
public:
    QString GetDefaultOptions() const;
    QString GetDefaultLayoutOptions() const;

    // Runs one print job of a view, which it calls back by name only: the property
    // ForPrinting and the methods PrintAnsicht and Scroll. Returns an empty variant.
    QVariant PrintCalendar(QObject *control, bool blnPrintPreview, const cContainer &layout);

    // A document whose pages the view lays out itself (the modern print): how many pages the
    // area inside the margins takes for the number of pages the user asked, and the drawing of
    // page n of m there.
    struct PrintedDocument
    {
        std::function<qint32(QPainter &painter, const QRect &area, qint32 pagesAsked)> pageCount;
        std::function<void(QPainter &painter, const QRect &area, qint32 page, qint32 pages)> paintPage;
    };
    // Runs one print job of such a document; set up as PrintCalendar, in print mode throughout.
    QVariant PrintDocument(QObject *control, bool blnPrintPreview, const cContainer &layout,
                           const PrintedDocument &document);

    // After a move or resize: asks whether the appointment keeps its new times, when the
    // view's ConfirmChanges is on, and either commits them into the confirmed times (true) or
    // puts the confirmed times back (false). False at once when the times did not change.
    // The view is called by name: Repaint and ConfirmChanges.
    bool ConfirmDateChange(TerminEintrag &entry, QObject *control);
    // The same for any appointment record, given its text and its four times.
    bool ConfirmDateChange(const QString &text, double &start, double &end, double &startOrig,
                           double &endOrig, QObject *control);

    // Runs the calendar options dialog modally (through runModal) on an options string and
    // returns the edited string, or "" when the user cancelled. The view's presentation
    // chooses how its layout dialogs name fields and fonts.
    QString Show(const QString &strContainerStringOptions,
                 Presentation presentation = Presentation::Classic);

    // A view's ShowOptionsDialog: Show on the view's options in its presentation; confirmed,
    // the options are applied, the view asks for its days again and raises OptionsChanged.
    // Returns "".
    template<typename View>
    QString ShowOptionsOf(View &view)
    {
        const QString edited = Show(view.Options(), view.presentation());
        if (!edited.isEmpty()) {
            view.setOptions(edited);
            view.Refresh();
            Q_EMIT view.OptionsChanged();
        }
        return QString();
    }

    // Runs a view's print job and puts its screen state back afterwards, also when the job
    // fails, whose error then goes on. Returns the job's result.
    template<typename Job, typename Restore>
    static QVariant PrintAndRestore(Job job, Restore restoreScreen)
    {
        QVariant result;
        try {
            result = job();
        } catch (...) {
            restoreScreen();
            throw;
        }
        restoreScreen();
        return result;
    }

    // Makes the options dialog Show runs; an empty factory restores the plain dialog. Returns
    // the factory in force before.
    using OptionsDialogFactory = std::function<std::unique_ptr<cfrmConfigCalendar>(QWidget *parent)>;
    static OptionsDialogFactory setOptionsDialogFactory(OptionsDialogFactory factory);
};

} // namespace Dayplex

#endif

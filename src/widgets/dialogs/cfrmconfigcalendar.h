#ifndef DAYPLEX_CFRMCONFIGCALENDAR_H
#define DAYPLEX_CFRMCONFIGCALENDAR_H

#include "shared/ccontainer.h"

#include <dayplex/dates.h>
#include <dayplex/presentation.h>

#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QPushButton;
class QTableWidget;

namespace Dayplex {

class cfrmConfigLayout;

// The calendar options dialog: edits a complete options string. Every value lives in the
// dialog's container, so keys it does not show (a layout never opened, keys of the host) pass
// through unchanged. The five layout buttons open the layout dialog, made by a replaceable
// factory and run through runModal.
//
// The grid ssArbeitszeit has 9 rows and 14 columns: two heading rows, then Montag to Sonntag;
// column 0 the weekday, column 1 "Frei", then the working time and five pauses (from, to).
// Control arrays carry the index after an underscore ("cmdAnsicht_5").
class cfrmConfigCalendar : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(QString Options READ Options WRITE setOptions)
    Q_PROPERTY(bool Cancel READ Cancel)

public:
    using LayoutDialogFactory = std::function<std::unique_ptr<cfrmConfigLayout>(QWidget *parent)>;

    static constexpr int kRows = 9;
    static constexpr int kColumns = 14;
    static constexpr int kFirstDayRow = 2; // Montag
    static constexpr int kLastRow = kRows - 1; // Sonntag

    explicit cfrmConfigCalendar(QWidget *parent = nullptr);
    ~cfrmConfigCalendar() override;

    QString Options();
    void setOptions(const QString &options);
    bool Cancel() const { return m_cancel; }

    // The presentation the layout dialogs open in (see cfrmConfigLayout); Classic until set.
    Presentation presentation() const { return m_presentation; }
    void setPresentation(Presentation presentation) { m_presentation = presentation; }

    // The time as short German time text; midnight (no time set) gives "".
    static QString format_zeit(Date time);
    // The time of day of a cell text ("8:30", "08:30:15", "04.03.2024 08:30"); 0 for a text
    // that is no time, which shows as an empty cell again.
    static Date parseTimeCell(const QString &text);
    // The weekday number (1 = Sunday) of a grid row, 0 for the heading rows.
    static int weekdayOfRow(int row);
    // The key a grid cell edits, "" for cells without one.
    static QString keyOfCell(int row, int column);

    // Replaces the factory of the layout dialog; an empty one restores the plain dialog.
    // Returns the factory in force before.
    static LayoutDialogFactory setLayoutDialogFactory(LayoutDialogFactory factory);

    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void loadControls();
    void cmdAnsicht(int index);
    void copyRowDown();

    cContainer m_container;
    bool m_cancel = false;
    Presentation m_presentation = Presentation::Classic;

    QTableWidget *ssArbeitszeit = nullptr;
    QPushButton *cmdZeileNachUntenKopieren = nullptr;
    QCheckBox *chkFeiertage = nullptr;
    QCheckBox *chkConfirmChanges = nullptr;
    QCheckBox *chkTerminUeberschneidungen[4] = {};
};

} // namespace Dayplex

#endif

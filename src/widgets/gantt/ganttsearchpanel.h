#ifndef DAYPLEX_GANTTSEARCHPANEL_H
#define DAYPLEX_GANTTSEARCHPANEL_H

#include "gantt/freeslotsearch.h"

#include <dayplex/dates.h>

#include <QGroupBox>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;

namespace Dayplex {

// The search panel "frmTerminSuchen" above the chart: length, daily window, start day, the
// weekend switch, the two search buttons, the proposal and its "Neu" button. It holds the
// values only; the view connects the buttons.
class GanttSearchPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit GanttSearchPanel(QWidget *parent);

    // Numeric value of the days text: its leading number, 0 when it has none.
    double days() const;
    Date length() const;
    Date windowFrom() const;
    Date windowTo() const;
    void setWindow(Date from, Date to);
    Date searchFrom() const;
    // Sets "Suchen ab" without reporting it as the user's change.
    void setSearchFrom(Date day);
    bool weekends() const;
    // The proposal text ("Von: ...\r\nBis: ...", or "") and whether "Neu" may be pressed.
    void showProposal(const QString &text, bool canCreate);
    // The state a fresh opening starts from: no days, one hour, searching from `day`.
    void reset(Date day);
    // The search the fields ask for.
    FreeSlotQuery query() const;

    QLineEdit *txtTage = nullptr;
    QTimeEdit *dtpTimeStunden = nullptr;
    QTimeEdit *dtpTimeVon = nullptr;
    QTimeEdit *dtpTimeBis = nullptr;
    QDateEdit *dtpDayAb = nullptr;
    QCheckBox *chkWochenende = nullptr;
    QPushButton *cmdAuto[2] = {nullptr, nullptr}; // 0 backward, 1 forward
    QLabel *lblVorschlag = nullptr;
    QPushButton *cmdNeu = nullptr;
    QPushButton *cmdClose = nullptr;

Q_SIGNALS:
    void searchFromEdited(); // "Suchen ab" changed by the user
    void daysFocused();      // the days text got the focus

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateTimePickers();

    bool m_settingSearchFrom = false;
};

} // namespace Dayplex

#endif

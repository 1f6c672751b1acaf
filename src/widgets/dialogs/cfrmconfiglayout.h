#ifndef DAYPLEX_CFRMCONFIGLAYOUT_H
#define DAYPLEX_CFRMCONFIGLAYOUT_H

#include "shared/ccontainer.h"

#include <dayplex/presentation.h>

#include <QDialog>
#include <QLabel>

class QComboBox;
class QDateTimeEdit;
class QGroupBox;
class QLineEdit;
class QCheckBox;
class QPushButton;
class QToolButton;

namespace Dayplex {

// A colour label: shows a background colour as its own background and, where it has one, a
// text colour as its text colour. Both are kept as Windows colour values, so that a system
// colour survives a load and store unchanged. A click, or Space or Enter while it has the
// keyboard, asks for a new colour.
class cColorLabel : public QLabel
{
    Q_OBJECT

public:
    explicit cColorLabel(const QString &caption, QWidget *parent = nullptr);

    qint32 backColor() const { return m_back; }
    void setBackColor(qint32 colour);
    qint32 foreColor() const { return m_fore; }
    void setForeColor(qint32 colour);

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyColours();

    qint32 m_back = 0xFFFFFF;
    qint32 m_fore = 0;
    bool m_hasForeColor = false;
};

// The layout options dialog: edits one layout string. It does not know the keys: every
// control that edits a value carries its key in the dynamic property "tag", and wert moves the
// values between the controls and the dialog's container by the control's kind. Keys without
// a control pass through unchanged.
//
// Control arrays carry the index after an underscore in their object name ("lblColor_8",
// "cmdSchritfarbe_8", "txtNum_4").
//
// The font and colour choosers run through the modal runner (<dayplex/modal.h>), so that tests
// and hosts answer them without a window.
//
// In the modern presentation the field list and the font are shown in plain words beside their
// tagged controls, which are hidden and still hold what is stored (see shared/plainwords.h).
class cfrmConfigLayout : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(QString wert READ wert WRITE setWert)
    Q_PROPERTY(bool Druckausgabe READ Druckausgabe WRITE setDruckausgabe)
    Q_PROPERTY(bool Gantt READ Gantt WRITE setGantt)
    Q_PROPERTY(bool Cancel READ Cancel)

public:
    explicit cfrmConfigLayout(QWidget *parent = nullptr);
    ~cfrmConfigLayout() override;

    QString wert();
    void setWert(const QString &strContainerString);

    bool Druckausgabe() const { return m_druckausgabe; }
    void setDruckausgabe(bool bln);
    bool Gantt() const { return m_gantt; }
    void setGantt(bool blnGantt);

    bool Cancel() const { return m_cancel; }

    // Classic shows the field keys and the font string as stored; Modern shows the fields by
    // name, offers them in a menu, and names the font drawn. Classic until set.
    Presentation presentation() const { return m_presentation; }
    void setPresentation(Presentation presentation);

    // The whole layout on OK, the close box and Escape count as Abbrechen.
    void accept() override;
    void reject() override;

private:
    void buildControls();
    void chooseBackColor(cColorLabel *label);
    void chooseForeColor(cColorLabel *label);
    void chooseFont();
    void toggleField(const QString &key, bool on);
    void showPlainWords();
    void loadControl(QWidget *control, const QString &tag);
    void storeControl(QWidget *control, const QString &tag);

    cContainer m_container;
    bool m_cancel = false;
    bool m_druckausgabe = false;
    bool m_gantt = false;
    Presentation m_presentation = Presentation::Classic;

    QDateTimeEdit *dtpStartzeit = nullptr;
    QDateTimeEdit *dtpEndzeit = nullptr;
    QComboBox *cboAufloesung = nullptr;
    QLineEdit *txtAnzahlTage = nullptr;
    QGroupBox *frmHoehe = nullptr;
    QCheckBox *chkOptimierteZeilenhoehe = nullptr;
    QLineEdit *txtAusgabefelder = nullptr;
    QLabel *lblAusgabefelder = nullptr;
    QLineEdit *txtFeldnamen = nullptr;
    QToolButton *cmdFeldwahl = nullptr;
    QLabel *lblFont = nullptr;
    QLabel *lblSchriftAnzeige = nullptr;
    QGroupBox *frameDruckausgabe = nullptr;
    cColorLabel *lblColor[11] = {};
    QPushButton *cmdSchritfarbe[11] = {};
};

} // namespace Dayplex

#endif

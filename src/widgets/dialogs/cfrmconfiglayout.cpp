#include "dialogs/cfrmconfiglayout.h"

#include "dialogs/modaldialog.h"
#include "shared/cdc.h"
#include "shared/ctools.h"
#include "shared/fontstring.h"
#include "shared/logging.h"
#include "shared/plainwords.h"
#include "shared/uitext.h"

#include <dayplex/error.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFontDialog>
#include <QFontInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <optional>
#include <cmath>

namespace Dayplex {

namespace {

using Kind = cContainer::Kind;

// Nine digits always fit a Long, so a typed number can never overflow its reader.
constexpr int kMaxDigits = 9;

QColor windowsToQColor(qint32 colour)
{
    return cDC::toQColor(colour);
}

qint32 qColorToWindows(const QColor &colour)
{
    return qint32(colour.red() | (colour.green() << 8) | (colour.blue() << 16));
}

// Names a chooser and the key its answer goes to, runs it through the modal runner and tells
// whether it was confirmed.
bool runChooser(QDialog &chooser, const char *name, const QString &key)
{
    chooser.setObjectName(QLatin1String(name));
    chooser.setProperty("tag", key);
    runModal(chooser);
    return chooser.result() == QDialog::Accepted;
}

// Nothing when the chooser was cancelled.
std::optional<QColor> runColorChooser(QWidget *parent, const QColor &initial, const QString &key)
{
    QColorDialog chooser(parent);
    chooser.setCurrentColor(initial);
    if (!runChooser(chooser, ModalWindow::ColorChooser, key) || !chooser.selectedColor().isValid())
        return std::nullopt;
    return chooser.selectedColor();
}

std::optional<QFont> runFontChooser(QWidget *parent, const QFont &initial, const QString &key)
{
    QFontDialog chooser(parent);
    chooser.setCurrentFont(initial);
    if (!runChooser(chooser, ModalWindow::FontChooser, key))
        return std::nullopt;
    return chooser.selectedFont();
}

// A chooser that fails leaves the value as it was; the user may simply try again.
template<typename F>
void choosing(const char *what, F f)
{
    try {
        f();
    } catch (const std::exception &e) {
        qCWarning(lcDayplexModal, "%s: %s", what, e.what());
    } catch (...) {
        qCWarning(lcDayplexModal, "%s failed", what);
    }
}

// The key of the text colour that belongs to a background colour key: "rgbBackTermine" gives
// "rgbFontTermine".
QString foreColorKey(const QString &backKey)
{
    return QStringLiteral("rgbFont") + backKey.mid(7);
}

void setTag(QWidget *control, const char *key)
{
    control->setProperty("tag", QString::fromLatin1(key));
}

QLineEdit *digitBox(const QString &name, const char *key, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    setTag(box, key);
    // Refuses every character that does not belong in a whole number, also when pasted.
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    box->setMaxLength(kMaxDigits);
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    return box;
}

QDateTimeEdit *timePicker(const QString &name, const char *key, QWidget *parent)
{
    auto *picker = new QDateTimeEdit(parent);
    picker->setObjectName(name);
    setTag(picker, key);
    picker->setDisplayFormat(QStringLiteral("HH:mm"));
    picker->setTime(QTime(0, 0));
    return picker;
}

QCheckBox *checkBox(const QString &name, const QString &caption, const char *key, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    setTag(box, key);
    return box;
}

} // namespace

cColorLabel::cColorLabel(const QString &caption, QWidget *parent)
    : QLabel(caption, parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    setMargin(2);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    applyColours();
}

void cColorLabel::setBackColor(qint32 colour)
{
    m_back = colour;
    applyColours();
}

void cColorLabel::setForeColor(qint32 colour)
{
    m_fore = colour;
    m_hasForeColor = true;
    applyColours();
}

void cColorLabel::applyColours()
{
    QPalette pal = palette();
    const QColor back = windowsToQColor(m_back);
    pal.setColor(QPalette::Window, back);
    // A label without a text colour of its own keeps its caption readable on any background.
    const int luma = (299 * back.red() + 587 * back.green() + 114 * back.blue()) / 1000;
    const QColor fore = m_hasForeColor ? windowsToQColor(m_fore)
                        : luma < 128   ? QColor(Qt::white)
                                       : QColor(Qt::black);
    pal.setColor(QPalette::WindowText, fore);
    // A disabled label keeps its colour but shows its caption greyed, so that the state is seen.
    pal.setColor(QPalette::Disabled, QPalette::WindowText,
                 QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
    setPalette(pal);
}

void cColorLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        event->accept();
        Q_EMIT clicked();
        return;
    }
    QLabel::mousePressEvent(event);
}

void cColorLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        Q_EMIT clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void cColorLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    // Only while it has the keyboard, so that the dialog at rest looks as it always did. Drawn
    // here rather than by the style, some of which show no focus on a label.
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 2));
    painter.drawRect(contentsRect().adjusted(2, 2, -2, -2));
}

void cColorLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

cfrmConfigLayout::cfrmConfigLayout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QLatin1String(ModalWindow::LayoutDialog));
    setWindowTitle(uiText("Dayplex::cfrmConfigLayout", "Optionen für Kalenderansicht"));
    setWindowIcon(optionsIcon());
    buildControls();
}

cfrmConfigLayout::~cfrmConfigLayout() = default;

void cfrmConfigLayout::buildControls()
{
    // General settings, without a frame of their own.
    auto *general = new QFormLayout;
    general->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    dtpStartzeit = timePicker(QStringLiteral("dtpStartzeit"), "timeStartzeit", this);
    dtpEndzeit = timePicker(QStringLiteral("dtpEndzeit"), "timeEndZeit", this);
    general->addRow(uiText("Dayplex::cfrmConfigLayout", "Startzeit"), dtpStartzeit);
    general->addRow(uiText("Dayplex::cfrmConfigLayout", "Endzeit"), dtpEndzeit);

    cboAufloesung = new QComboBox(this);
    cboAufloesung->setObjectName(QStringLiteral("cboAufloesung"));
    setTag(cboAufloesung, "strAufloesung");
    // The layout stores the German text of the raster, whatever the list shows.
    for (const char *raster : {QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "5 Minuten"), QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "6 Minuten"), QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "10 Minuten"),
                               QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "15 Minuten"), QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "30 Minuten"), QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "60 Minuten")})
        cboAufloesung->addItem(uiText("Dayplex::cfrmConfigLayout", raster), QString::fromUtf8(raster));
    general->addRow(uiText("Dayplex::cfrmConfigLayout", "Zeitliche Auflösung"), cboAufloesung);
    // The three short fields share one width, so that their right edges line up.
    const QList<QWidget *> shortFields{dtpStartzeit, dtpEndzeit, cboAufloesung};
    int shortWidth = 0;
    for (const QWidget *field : shortFields)
        shortWidth = std::max(shortWidth, field->sizeHint().width());
    for (QWidget *field : shortFields)
        field->setMinimumWidth(shortWidth);

    txtAusgabefelder = new QLineEdit(this);
    txtAusgabefelder->setObjectName(QStringLiteral("txtAusgabefelder"));
    setTag(txtAusgabefelder, "strAusgabefelder");
    txtAusgabefelder->setMinimumWidth(
        fontMetrics().horizontalAdvance(QStringLiteral("AKT_Merkmale, AKT_Notiz, AD_Name")) + 16);
    // The plain field names, typed or chosen from the menu, write the keys into the tagged box.
    txtFeldnamen = new QLineEdit(this);
    txtFeldnamen->setObjectName(QStringLiteral("txtFeldnamen"));
    txtFeldnamen->setHidden(true);
    txtFeldnamen->setMinimumWidth(
        fontMetrics().horizontalAdvance(QStringLiteral("Teilnehmer, Betreff/Notiz, Name")) + 16);
    connect(txtFeldnamen, &QLineEdit::textEdited, this,
            [this](const QString &names) { txtAusgabefelder->setText(fieldKeysOf(names)); });
    cmdFeldwahl = new QToolButton(this);
    cmdFeldwahl->setObjectName(QStringLiteral("cmdFeldwahl"));
    cmdFeldwahl->setText(uiText("Dayplex::cfrmConfigLayout", "Felder"));
    cmdFeldwahl->setPopupMode(QToolButton::InstantPopup);
    cmdFeldwahl->setHidden(true);
    auto *fieldMenu = new QMenu(cmdFeldwahl);
    fieldMenu->setObjectName(QStringLiteral("mnuFeldwahl"));
    for (const QString &key : offeredFieldKeys()) {
        QAction *action = fieldMenu->addAction(plainFieldName(key));
        action->setCheckable(true);
        action->setData(key);
        connect(action, &QAction::triggered, this,
                [this, key](bool checked) { toggleField(key, checked); });
    }
    connect(fieldMenu, &QMenu::aboutToShow, this, [this, fieldMenu] {
        const QStringList chosen = fieldKeys(txtAusgabefelder->text());
        for (QAction *action : fieldMenu->actions())
            action->setChecked(chosen.contains(action->data().toString()));
    });
    cmdFeldwahl->setMenu(fieldMenu);
    auto *fields = new QHBoxLayout;
    fields->addWidget(txtAusgabefelder, 1);
    fields->addWidget(txtFeldnamen, 1);
    fields->addWidget(cmdFeldwahl);
    general->addRow(uiText("Dayplex::cfrmConfigLayout", "Ausgabefelder"), fields);
    lblAusgabefelder = qobject_cast<QLabel *>(general->labelForField(fields));

    txtAnzahlTage = digitBox(QStringLiteral("txtAnzahlTage"), "lngAnzahlTage", this);
    // The row's two labels stand on either side of the field.
    txtAnzahlTage->setAccessibleName(uiText("Dayplex::cfrmConfigLayout", "Beim Öffnen Tage anzeigen"));
    auto *days = new QHBoxLayout;
    days->addWidget(txtAnzahlTage);
    days->addWidget(new QLabel(uiText("Dayplex::cfrmConfigLayout", "Tage anzeigen"), this));
    days->addStretch();
    general->addRow(uiText("Dayplex::cfrmConfigLayout", "Beim Öffnen"), days);

    frmHoehe = new QGroupBox(uiText("Dayplex::cfrmConfigLayout", "Mindesthöhe in Zeilen"), this);
    frmHoehe->setObjectName(QStringLiteral("frmHoehe"));
    auto *heights = new QFormLayout(frmHoehe);
    heights->addRow(uiText("Dayplex::cfrmConfigLayout", "Anzeigebereich Tagestermine"),
                    digitBox(QStringLiteral("Text2"), "lngHoeheTagestermin", frmHoehe));
    heights->addRow(uiText("Dayplex::cfrmConfigLayout", "Terminzelle"),
                    digitBox(QStringLiteral("Text1"), "lngHoeheTerminzelle", frmHoehe));

    chkOptimierteZeilenhoehe = checkBox(QStringLiteral("chkOptimierteZeilenhoehe"),
                                        uiText("Dayplex::cfrmConfigLayout", "Optimierte Zeilenhöhe"),
                                        "blnOptimierteZeilenhoehe", this);
    auto *chkErledigte = checkBox(QStringLiteral("chkErledigteDurchstreichen"),
                                  uiText("Dayplex::cfrmConfigLayout", "Erledigte Termine durchstreichen"),
                                  "blnErledigteDurchstreichen", this);

    lblFont = new QLabel(this);
    lblFont->setObjectName(QStringLiteral("lblFont"));
    setTag(lblFont, "strFont");
    lblFont->setTextFormat(Qt::PlainText);
    lblFont->setFrameShape(QFrame::Panel);
    lblFont->setFrameShadow(QFrame::Sunken);
    lblFont->setMargin(2);
    lblFont->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *cmdFont = new QPushButton(uiText("Dayplex::cfrmConfigLayout", "Schriftart..."), this);
    cmdFont->setObjectName(QStringLiteral("cmdFont"));
    connect(cmdFont, &QPushButton::clicked, this, [this] { chooseFont(); });
    lblSchriftAnzeige = new QLabel(this);
    lblSchriftAnzeige->setObjectName(QStringLiteral("lblSchriftAnzeige"));
    lblSchriftAnzeige->setTextFormat(Qt::PlainText);
    lblSchriftAnzeige->setFrameShape(QFrame::Panel);
    lblSchriftAnzeige->setFrameShadow(QFrame::Sunken);
    lblSchriftAnzeige->setMargin(2);
    lblSchriftAnzeige->setHidden(true);
    auto *fontRow = new QHBoxLayout;
    fontRow->addWidget(lblFont, 1);
    fontRow->addWidget(lblSchriftAnzeige, 1);
    fontRow->addWidget(cmdFont);

    auto *left = new QVBoxLayout;
    left->addLayout(general);
    left->addWidget(frmHoehe);
    left->addWidget(chkOptimierteZeilenhoehe);
    left->addWidget(chkErledigte);
    left->addLayout(fontRow);
    left->addStretch();

    // Colours: two columns of labels, each with its text-colour button where it has one.
    auto *frameFarben = new QGroupBox(uiText("Dayplex::cfrmConfigLayout", "Farben"), this);
    frameFarben->setObjectName(QStringLiteral("frameFarben"));
    auto *colours = new QGridLayout(frameFarben);
    colours->addWidget(checkBox(QStringLiteral("Check2"),
                                uiText("Dayplex::cfrmConfigLayout", "individuelle Terminfarben verwenden"),
                                "blnIndividuelleTerminfarben", frameFarben),
                       0, 0, 1, 5);
    struct ColourLabel
    {
        int index;
        const char *caption;
        const char *key;
        bool textColour;
    };
    static const ColourLabel kColourLabels[] = {
        {0, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "Freizeit..."), "rgbFreizeit", false},
        {1, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "Arbeitszeit..."), "rgbArbeitszeit", false},
        {2, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "Markiert..."), "rgbBackMarkiert", true},
        {3, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "Überschrift..."), "rgbBackUeberschrift", true},
        {5, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "Feiertage..."), "rgbBackFeiertag", true},
        {6, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "Tagestermine..."), "rgbBackTagesTermine", true},
        {7, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "Termine..."), "rgbBackTermine", true},
        // Two lines, broken after the hyphen: on one line it would read "Monatsübersicht- kopf".
        {8, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "Monatsübersicht-\nkopf..."), "rgbBackMonatsuebersichtkopf", true},
        {9, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "Kopfzeilen..."), "rgbBackKopfzeilen", true},
        {10, QT_TRANSLATE_NOOP("Dayplex::cfrmConfigLayout", "Zeitbalken..."), "rgbZeitbalken", false},
    };
    // Every swatch as large as the widest caption line and as high as two lines, so that the
    // grid stays even.
    int captionWidth = 0;
    for (const ColourLabel &entry : kColourLabels)
        for (const QString &line : uiText("Dayplex::cfrmConfigLayout", entry.caption).split(QLatin1Char('\n')))
            captionWidth = std::max(captionWidth, fontMetrics().horizontalAdvance(line));
    const int labelWidth = captionWidth + 28;
    const int labelHeight = 2 * fontMetrics().lineSpacing() + 10;
    int slot = 0;
    for (const ColourLabel &entry : kColourLabels) {
        const int row = 1 + slot % 5;
        const int column = slot < 5 ? 0 : 3;
        ++slot;
        auto *label = new cColorLabel(uiText("Dayplex::cfrmConfigLayout", entry.caption), frameFarben);
        label->setObjectName(QStringLiteral("lblColor_%1").arg(entry.index));
        // Screen readers read "Farbe Markiert", "Schriftfarbe Markiert": every button
        // caption ends in "...", and the text buttons all say "Schrift...".
        const QString what = label->text().remove(QStringLiteral("-\n")).remove(QStringLiteral("..."));
        label->setAccessibleName(uiText("Dayplex::cfrmConfigLayout", "Farbe %1").arg(what));
        label->setProperty("index", entry.index);
        setTag(label, entry.key);
        label->setMinimumSize(labelWidth, labelHeight);
        lblColor[entry.index] = label;
        colours->addWidget(label, row, column);
        connect(label, &cColorLabel::clicked, this, [this, label] { chooseBackColor(label); });
        if (!entry.textColour)
            continue;
        auto *button = new QPushButton(uiText("Dayplex::cfrmConfigLayout", "Schrift..."), frameFarben);
        button->setObjectName(QStringLiteral("cmdSchritfarbe_%1").arg(entry.index));
        button->setAccessibleName(uiText("Dayplex::cfrmConfigLayout", "Schriftfarbe %1").arg(what));
        button->setProperty("index", entry.index);
        cmdSchritfarbe[entry.index] = button;
        colours->addWidget(button, row, column + 1);
        connect(button, &QPushButton::clicked, this, [this, label] { chooseForeColor(label); });
    }
    colours->setColumnMinimumWidth(2, 12);
    colours->setColumnStretch(0, 1);
    colours->setColumnStretch(3, 1);
    colours->setRowStretch(6, 1);

    // Page settings, only for print layouts.
    frameDruckausgabe = new QGroupBox(uiText("Dayplex::cfrmConfigLayout", "Druckausgabe"), this);
    frameDruckausgabe->setObjectName(QStringLiteral("frameDruckausgabe"));
    auto *print = new QGridLayout(frameDruckausgabe);
    print->addWidget(checkBox(QStringLiteral("Check1"), uiText("Dayplex::cfrmConfigLayout", "Querformat"),
                              "blnQuerformat", frameDruckausgabe),
                     0, 0, 1, 3);

    auto pairFrame = [this](const QString &name, const QString &caption,
                            const QVector<std::pair<QString, std::pair<int, const char *>>> &boxes,
                            int columns) {
        auto *frame = new QGroupBox(caption, frameDruckausgabe);
        frame->setObjectName(name);
        auto *grid = new QGridLayout(frame);
        for (int i = 0; i < boxes.size(); ++i) {
            const auto &[text, box] = boxes.at(i);
            auto *edit = digitBox(QStringLiteral("txtNum_%1").arg(box.first), box.second, frame);
            edit->setProperty("index", box.first);
            auto *label = new QLabel(text, frame);
            label->setBuddy(edit);
            // Pairs side by side are kept apart by an empty column.
            grid->addWidget(label, i / columns, 3 * (i % columns));
            grid->addWidget(edit, i / columns, 3 * (i % columns) + 1);
        }
        if (columns > 1)
            grid->setColumnMinimumWidth(2, 12);
        grid->setRowStretch(grid->rowCount(), 1);
        return frame;
    };
    print->addWidget(pairFrame(QStringLiteral("frameRaender"), uiText("Dayplex::cfrmConfigLayout", "Ränder in mm"),
                               {{uiText("Dayplex::cfrmConfigLayout", "Links"), {4, "lngRandLinks"}},
                                {uiText("Dayplex::cfrmConfigLayout", "Rechts"), {5, "lngRandRechts"}},
                                {uiText("Dayplex::cfrmConfigLayout", "Oben"), {6, "lngRandOben"}},
                                {uiText("Dayplex::cfrmConfigLayout", "Unten"), {7, "lngRandUnten"}}},
                               2),
                     1, 0);
    print->addWidget(pairFrame(QStringLiteral("frameAbstand"),
                               uiText("Dayplex::cfrmConfigLayout", "Abstand voneinander in mm"),
                               {{uiText("Dayplex::cfrmConfigLayout", "Horizontal"), {1, "lngAbstandHorizontal"}},
                                {uiText("Dayplex::cfrmConfigLayout", "Vertikal"), {3, "lngAbstandVertikal"}}},
                               1),
                     1, 1);
    print->addWidget(pairFrame(QStringLiteral("frameAnsichten"),
                               uiText("Dayplex::cfrmConfigLayout", "Anzahl Ansichten pro Seite"),
                               {{uiText("Dayplex::cfrmConfigLayout", "Nebeneinander"),
                                 {0, "lngAnzahlAnsichtenNebeneinander"}},
                                {uiText("Dayplex::cfrmConfigLayout", "Übereinander"),
                                 {2, "lngAnzahlAnsichtenUebereinander"}}},
                               1),
                     1, 2);

    auto *cmdOK = new QPushButton(uiText("Dayplex::cfrmConfigLayout", "OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto *cmdCancel = new QPushButton(uiText("Dayplex::cfrmConfigLayout", "Abbrechen"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOK, &QPushButton::clicked, this, &cfrmConfigLayout::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &cfrmConfigLayout::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(frameFarben, 1);

    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(frameDruckausgabe);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetMinimumSize);
}

/*!
    Loads a layout string: it is merged into the dialog's container, then every tagged control
    shows the value the container holds under its tag. A value that the control cannot show
    (a text where a colour, flag or time belongs) leaves that control as it was, so that the
    defaults loaded before stay in view. Throws Dayplex::Error, changing nothing, for a text
    that is not a container string.
*/
void cfrmConfigLayout::setWert(const QString &strContainerString)
{
    m_container.setContainerString(strContainerString);
    const QList<QWidget *> controls = findChildren<QWidget *>();
    for (QWidget *control : controls) {
        const QString tag = cTools::GetTag(control);
        if (tag.isEmpty())
            continue;
        try {
            loadControl(control, tag);
        } catch (const Error &) {
            warnCaught(lcOptions(), QStringLiteral("layout value %1 not shown").arg(tag));
        }
    }
    showPlainWords();
}

void cfrmConfigLayout::loadControl(QWidget *control, const QString &tag)
{
    if (auto *picker = qobject_cast<QDateTimeEdit *>(control)) {
        const QTime time = toQTime(m_container.doubleValue(tag));
        if (time.isValid())
            picker->setTime(time);
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        // A raster the list does not offer falls back to the first entry.
        combo->setCurrentIndex(0);
        const int found = combo->findData(m_container.textValue(tag), Qt::UserRole,
                                          Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found >= 0)
            combo->setCurrentIndex(found);
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        edit->setText(m_container.textValue(tag));
        edit->setCursorPosition(0); // a long field list shows its beginning
    } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
        check->setChecked(m_container.boolValue(tag));
    } else if (auto *colour = qobject_cast<cColorLabel *>(control)) {
        if (!cTools::StartsWith(tag, QStringLiteral("RGB")))
            return;
        colour->setBackColor(m_container.longValue(tag));
        if (cTools::StartsWith(tag, QStringLiteral("RGBBACK")))
            colour->setForeColor(m_container.longValue(foreColorKey(tag)));
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        if (!cTools::StartsWith(tag, QStringLiteral("RGB")))
            label->setText(m_container.textValue(tag));
    }
}

/*!
    Stores every tagged control under its tag, enabled or not, and returns the container
    string. Numbers typed into text boxes are stored as their text ("20"); keys of the loaded
    string without a control pass through unchanged.
*/
QString cfrmConfigLayout::wert()
{
    const QList<QWidget *> controls = findChildren<QWidget *>();
    for (QWidget *control : controls) {
        const QString tag = cTools::GetTag(control);
        if (!tag.isEmpty())
            storeControl(control, tag);
    }
    return m_container.ContainerString();
}

void cfrmConfigLayout::storeControl(QWidget *control, const QString &tag)
{
    if (auto *picker = qobject_cast<QDateTimeEdit *>(control)) {
        m_container.setValue(tag, toTimeOfDay(picker->time()), Kind::Date);
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        m_container.setValue(tag, combo->currentData().toString(), Kind::Text);
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        m_container.setValue(tag, edit->text(), Kind::Text);
    } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
        m_container.setValue(tag, check->isChecked(), Kind::Boolean);
    } else if (auto *colour = qobject_cast<cColorLabel *>(control)) {
        if (!cTools::StartsWith(tag, QStringLiteral("RGB")))
            return;
        m_container.setValue(tag, colour->backColor(), Kind::Long);
        if (cTools::StartsWith(tag, QStringLiteral("RGBBACK")))
            m_container.setValue(foreColorKey(tag), colour->foreColor(), Kind::Long);
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        if (!cTools::StartsWith(tag, QStringLiteral("RGB")))
            m_container.setValue(tag, label->text(), Kind::Text);
    }
}

/*!
    True for a print layout: the page settings, the end time and the colours of the month
    overview heading and the header rows are enabled, the number of days shown on opening is
    not.
*/
void cfrmConfigLayout::setDruckausgabe(bool bln)
{
    m_druckausgabe = bln;
    cTools::EnableContainer(frameDruckausgabe, bln);
    dtpEndzeit->setEnabled(bln);
    for (int i : {8, 9}) {
        lblColor[i]->setEnabled(bln);
        cmdSchritfarbe[i]->setEnabled(bln);
    }
    txtAnzahlTage->setEnabled(!bln);
}

/*!
    True for a layout of the Gantt view: the times, the working-time colours and the minimum
    heights are disabled, the optimal row height is enabled. Set after Druckausgabe: the print
    colours 8 and 9 are switched off only when that left them on.
*/
void cfrmConfigLayout::setGantt(bool blnGantt)
{
    m_gantt = blnGantt;
    dtpStartzeit->setEnabled(!blnGantt);
    dtpEndzeit->setEnabled(!blnGantt);
    lblColor[0]->setEnabled(!blnGantt);
    lblColor[1]->setEnabled(!blnGantt);
    frmHoehe->setEnabled(!blnGantt);
    chkOptimierteZeilenhoehe->setEnabled(blnGantt);
    if (lblColor[8]->isEnabled()) {
        for (int i : {8, 9}) {
            lblColor[i]->setEnabled(!blnGantt);
            cmdSchritfarbe[i]->setEnabled(!blnGantt);
        }
    }
}

/*!
    Modern shows the field list by the names of its fields, with a menu to choose them, and the
    font by the family actually drawn; what is stored does not change by being shown.
*/
void cfrmConfigLayout::setPresentation(Presentation presentation)
{
    m_presentation = presentation;
    const bool plain = presentation == Presentation::Modern;
    txtAusgabefelder->setHidden(plain);
    lblFont->setHidden(plain);
    txtFeldnamen->setHidden(!plain);
    cmdFeldwahl->setHidden(!plain);
    lblSchriftAnzeige->setHidden(!plain);
    lblAusgabefelder->setText(plain ? uiText("Dayplex::cfrmConfigLayout", "Im Termin anzeigen")
                                    : uiText("Dayplex::cfrmConfigLayout", "Ausgabefelder"));
    txtFeldnamen->setAccessibleName(lblAusgabefelder->text());
    showPlainWords();
}

void cfrmConfigLayout::showPlainWords()
{
    if (m_presentation != Presentation::Modern)
        return;
    txtFeldnamen->setText(plainFieldList(txtAusgabefelder->text()));
    txtFeldnamen->setCursorPosition(0);
    const QFont font = fontFromString(lblFont->text());
    const QString shown =
        plainFontText(lblFont->text(), QFontInfo(font).family(), font.pointSizeF());
    // The font drawn instead goes on a line of its own, so that the column keeps its width.
    lblSchriftAnzeige->setText(QString(shown).replace(QStringLiteral(" ("), QStringLiteral("\n(")));
    lblSchriftAnzeige->setAccessibleName(
        uiText("Dayplex::cfrmConfigLayout", "Schriftart %1").arg(shown));
}

void cfrmConfigLayout::toggleField(const QString &key, bool on)
{
    QStringList keys = fieldKeys(txtAusgabefelder->text());
    keys.removeAll(key);
    if (on)
        keys.append(key);
    txtAusgabefelder->setText(keys.join(QStringLiteral(", ")));
    showPlainWords();
}

void cfrmConfigLayout::accept()
{
    QDialog::accept();
}

void cfrmConfigLayout::reject()
{
    m_cancel = true;
    QDialog::reject();
}

void cfrmConfigLayout::chooseBackColor(cColorLabel *label)
{
    choosing("colour chooser", [&] {
        const QString key = cTools::GetTag(label);
        if (const auto chosen = runColorChooser(this, windowsToQColor(label->backColor()), key))
            label->setBackColor(qColorToWindows(*chosen));
    });
}

void cfrmConfigLayout::chooseForeColor(cColorLabel *label)
{
    choosing("colour chooser", [&] {
        const QString key = foreColorKey(cTools::GetTag(label));
        if (const auto chosen = runColorChooser(this, windowsToQColor(label->foreColor()), key))
            label->setForeColor(qColorToWindows(*chosen));
    });
}

void cfrmConfigLayout::chooseFont()
{
    choosing("font chooser", [&] {
        const auto chosen =
            runFontChooser(this, fontFromString(lblFont->text()), cTools::GetTag(lblFont));
        if (!chosen)
            return;
        const QString family = chosen->family().trimmed();
        const double size = chosen->pointSizeF();
        // A family with a comma could not be split off again; a pixel-sized font has no points.
        if (family.isEmpty() || family.contains(QLatin1Char(',')) || !(size > 0))
            return;
        lblFont->setText(family + QStringLiteral(", ") + QString::number(size)
                         + QStringLiteral(" Punkt"));
        showPlainWords();
    });
}

} // namespace Dayplex

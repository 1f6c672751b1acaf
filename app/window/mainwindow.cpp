#include "mainwindow.h"

#include "appointmentdialog.h"
#include "calendarexchange.h"
#include "filterdialog.h"
#include "icalendar.h"
#include "overlaps.h"
#include "printlayouts.h"
#include "seriesscope.h"

#include <dayplex/dayplex.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <cmath>

// The icons live in the static core library, whose resources are not registered by themselves.
static void loadIcons()
{
    Q_INIT_RESOURCE(terminplaner);
}

namespace Terminplaner {

namespace {

const int kDayCounts[] = {1, 5, 7, 14};
constexpr int kMondayFirst = 2; // weekday numbers count from Sunday = 1

QString readOnlyNote()
{
    return MainWindow::tr("Die Datenbank ist schreibgeschützt: Termine können angesehen und "
                          "gedruckt, aber nicht geändert werden.");
}

QString notSavedFormBack()
{
    return MainWindow::tr("Der Termin wurde nicht gespeichert. Das Formular wird mit Ihren Eingaben wieder "
                          "geöffnet.");
}

QString changeNotSavedFormBack()
{
    return MainWindow::tr("Die Änderung wurde nicht gespeichert. Das Formular wird mit Ihren Eingaben wieder "
                          "geöffnet.");
}

QString optionsNotSaved()
{
    return MainWindow::tr("Die Optionen gelten bis zum Beenden des Programms, wurden aber nicht "
                          "gespeichert.");
}

bool isMidnight(Dayplex::Date value)
{
    return std::abs(value - std::round(value)) < Dayplex::kOneSecond;
}

QString dayText(Dayplex::Date value)
{
    return QLocale().toString(Dayplex::toQDate(value), QStringLiteral("ddd, dd.MM.yyyy"));
}

// Opening, moving and resizing an appointment, the same in both views.
template <typename View>
void connectAppointmentChanges(MainWindow *window, View *view)
{
    QObject::connect(view, &View::ShowDate, window, &MainWindow::openAppointment);
    QObject::connect(view, &View::deleteRequested, window, &MainWindow::deleteAppointment);
    QObject::connect(view, &View::contextMenuAboutToShow, window, &MainWindow::addMenuEntries);
    QObject::connect(view, &View::DateChanged, window, [window](const QString &dsn, double start, double end) {
        window->moveAppointment(dsn, start, end);
    });
    QObject::connect(view, &View::seriesDateChanged, window,
                     [window](const QString &dsn, Dayplex::SeriesScope scope, double start, double end) {
                         window->moveAppointment(dsn, start, end, scope);
                     });
}

} // namespace

MainWindow::MainWindow(Database &db, QWidget *parent)
    : QMainWindow(parent), m_db(db), m_bridge(db), m_history(db)
{
    loadIcons();
    setObjectName(QStringLiteral("frmTerminplaner"));
    setWindowTitle(tr("Terminplaner – %1").arg(QFileInfo(db.path()).fileName()));
    m_runDialog = [](QDialog &dialog) { return dialog.exec(); };
    m_message = [this](const QString &title, const QString &text) {
        QMessageBox::warning(this, title, text);
    };
    m_ask = [this](const QString &title, const QString &text) {
        QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, this);
        QPushButton *yes = box.addButton(tr("Ja"), QMessageBox::YesRole);
        box.setDefaultButton(box.addButton(tr("Nein"), QMessageBox::NoRole));
        box.exec();
        return box.clickedButton() == yes;
    };
    m_askScope = [this](const QString &title, const QString &text, bool offerOnlyThis) {
        return askSeriesScope(this, title, text, offerOnlyThis);
    };
    m_askOverlap = [this](const QString &title, const QString &text) {
        QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, this);
        QPushButton *save = box.addButton(tr("Trotzdem speichern"), QMessageBox::AcceptRole);
        QPushButton *search = box.addButton(tr("Freien Termin suchen"), QMessageBox::ActionRole);
        box.setDefaultButton(box.addButton(tr("Abbrechen"), QMessageBox::RejectRole));
        box.exec();
        return box.clickedButton() == save     ? OverlapAnswer::SaveAnyway
               : box.clickedButton() == search ? OverlapAnswer::FindFreeSlot
                                               : OverlapAnswer::Cancel;
    };
    m_history.confirmOverwrite = [this](const QString &title, const QString &text) { return m_ask(title, text); };
    m_history.failed = [this](const QString &title, const QString &text) { m_message(title, text); };
    m_history.changed = [this](const QString &status) {
        reloadViews();
        if (!status.isEmpty())
            statusBar()->showMessage(status, 5000);
    };

    m_rangeLabel = new QLabel(this);
    m_databaseLabel = new QLabel(this);
    m_databaseLabel->setText(db.isReadOnly()
                                 ? tr("Datenbank: %1 (schreibgeschützt, Bearbeiten ausgeschaltet)")
                                       .arg(QDir::toNativeSeparators(db.path()))
                                 : tr("Datenbank: %1").arg(QDir::toNativeSeparators(db.path())));
    statusBar()->addWidget(m_rangeLabel, 1);
    statusBar()->addPermanentWidget(m_databaseLabel);

    createViews();
    createActions();

    // The views change their range on their own (scroll bars, context menu); the status bar
    // follows without a notification from them.
    auto *statusTimer = new QTimer(this);
    connect(statusTimer, &QTimer::timeout, this, &MainWindow::updateStatus);
    statusTimer->start(300);

    // Changes of other desks arrive in bursts; one refresh shows a burst.
    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(20);
    connect(m_refreshTimer, &QTimer::timeout, this, &MainWindow::refreshForOtherDesks);
    m_reconnectTimer = new QTimer(this);
    m_reconnectTimer->setInterval(1000);
    connect(m_reconnectTimer, &QTimer::timeout, this, &MainWindow::tryReconnect);
    m_db.listenForChanges([this](const ChangeNotice &notice) { otherDeskChanged(notice); });

    resize(1280, 800);
    setMinimumSize(800, 500);
    if (db.isReadOnly())
        statusBar()->showMessage(readOnlyNote(), 15000);

    const Dayplex::Date today = Dayplex::currentDate();
    guarded(tr("Start"), [&] {
        double last = 0;
        m_calendar->SetDisplayedRange(today, &last, true, true);
        m_calendar->Repaint();
        double ganttLast = 0;
        m_gantt->SetDisplayedRange(today, &ganttLast, true, true);
    });
    updateStatus();
}

MainWindow::~MainWindow() = default;

void MainWindow::createViews()
{
    m_stack = new QStackedWidget(this);
    m_calendar = new Dayplex::ucAgenda(m_stack);
    m_calendar->setObjectName(QStringLiteral("ucAgenda"));
    m_gantt = new Dayplex::ctlGantt(m_stack);
    m_gantt->setObjectName(QStringLiteral("ctlGantt"));
    m_stack->addWidget(m_calendar);
    m_stack->addWidget(m_gantt);
    setCentralWidget(m_stack);

    QStringList warnings;
    try {
        m_bridge.repairStoredOptions();
    } catch (const DatabaseError &error) {
        qWarning("terminplaner: repaired options kept for the session: %s", qPrintable(error.message()));
    }
    guarded(tr("Optionen laden"), [&] {
        warnings << HostBridge::restoreOptions(*m_calendar, m_bridge.calendarOptions())
                 << HostBridge::restoreOptions(*m_gantt, m_bridge.ganttOptions());
    });
    warnings.removeAll(QString());
    // Shown once the window is up, not from inside the constructor.
    if (!warnings.isEmpty())
        QTimer::singleShot(0, this, [this, warnings] { m_message(tr("Optionen"), warnings.join(QLatin1Char('\n'))); });

    m_calendar->setAlignOnWeekday(kMondayFirst);
    m_gantt->setAlignOnWeekday(kMondayFirst);
    // Ellipses, "+n" for hidden all-day entries and readable colours; on paper no word cut,
    // a crowded week's appointments listed over as many sheets as they need, and the resource
    // view over as many readable pages as its days need.
    m_calendar->setPresentation(Dayplex::Presentation::Modern);
    m_gantt->setPresentation(Dayplex::Presentation::Modern);
    m_gantt->setPrintPresentation(Dayplex::Presentation::Modern);
    m_calendar->setPrintPresentation(Dayplex::Presentation::Modern);
    // One print dialog for both views: day sheets, week sheets or the resource view, over a
    // period the user chooses; it starts with the view on the screen.
    m_calendar->offerPrintChoice(true, m_gantt);
    connectCalendar();
    connectGantt();

    // The views leave the wheel to the host.
    auto *wheel = new Dayplex::ctlIntellimouse(this);
    wheel->setObjectName(QStringLiteral("ctlIntellimouse"));
    wheel->setHwnd(winId());
    connect(wheel, &Dayplex::ctlIntellimouse::Wheel, this, &MainWindow::wheelTurned);

    m_calendar->Enabled = true;
    m_gantt->Enabled = true;
}

void MainWindow::connectCalendar()
{
    using Dayplex::ucAgenda;
    connect(m_calendar, &ucAgenda::NeedDates, this,
            [this](double first, double last, const QString &fields) {
                const bool ok = guarded(tr("Termine laden"), [&] {
                    noteSkipped(m_bridge.fillCalendar(*m_calendar, first, last, fields));
                });
                if (!ok)
                    m_calendar->Clear();
            });
    connect(m_calendar, &ucAgenda::NewDate, this, [this](double start, double end, bool allDay) {
        const QList<int> filter = m_bridge.participantFilter();
        newAppointment(start, end, allDay, filter.size() == 1 ? filter : QList<int>());
    });
    connect(m_calendar, &ucAgenda::newAppointmentRequested, this, [this](double start, double end, bool allDay) {
        const QList<int> filter = m_bridge.participantFilter();
        newAppointment(start, end, allDay, filter.size() == 1 ? filter : QList<int>());
    });
    connectAppointmentChanges(this, m_calendar);
    connect(m_calendar, &ucAgenda::ChangeFilter, this, &MainWindow::chooseParticipants);
    connect(m_calendar, &ucAgenda::OptionsChanged, this, [this] {
        guarded(tr("Optionen speichern"), [&] { m_bridge.setCalendarOptions(m_calendar->Options()); },
                optionsNotSaved());
    });
    connect(m_calendar, &ucAgenda::ShowImGantt, this, [this](double ab) {
        showGantt(m_calendar->FirstDay(), m_calendar->GetAnzahlTage(), ab);
    });
}

void MainWindow::connectGantt()
{
    using Dayplex::ctlGantt;
    connect(m_gantt, &ctlGantt::NeedDates, this,
            [this](double first, double last, const QString &fields) {
                const bool ok = guarded(tr("Termine laden"), [&] {
                    noteSkipped(m_bridge.fillGantt(*m_gantt, first, last, fields));
                });
                if (!ok)
                    m_gantt->Clear();
            });
    connect(m_gantt, &ctlGantt::NewDate, this, [this](double start, double end, const QString &keys) {
        newAppointment(start, end, false, HostBridge::participantIds(keys));
    });
    connect(m_gantt, &ctlGantt::newAppointmentRequested, this, [this](double start, double end, const QString &keys) {
        newAppointment(start, end, false, HostBridge::participantIds(keys));
    });
    connectAppointmentChanges(this, m_gantt);
    connect(m_gantt, &ctlGantt::ChangeFilter, this, &MainWindow::chooseParticipants);
    connect(m_gantt, &ctlGantt::OptionsChanged, this, [this] {
        guarded(tr("Optionen speichern"), [&] { m_bridge.setGanttOptions(m_gantt->Options()); },
                optionsNotSaved());
    });
    connect(m_gantt, &ctlGantt::ShowImCalendar, this, [this] { showCalendar(m_gantt->FirstDay()); });
}

void MainWindow::createActions()
{
    QStyle *s = style();
    auto icon = [](const char *theme, const QIcon &fallback) {
        return QIcon::fromTheme(QString::fromLatin1(theme), fallback);
    };
    // The desktop's icon theme first; without one, the program's own drawings.
    auto ownIcon = [&icon](const char *theme) {
        return icon(theme, QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(theme))));
    };

    auto *print = new QAction(ownIcon("document-print"), tr("&Drucken…"), this);
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, [this] { this->print(false); });
    auto *preview = new QAction(ownIcon("document-print-preview"), tr("Druck&vorschau…"), this);
    connect(preview, &QAction::triggered, this, [this] { this->print(true); });
    auto *exportIcs = new QAction(icon("document-export", QIcon()), tr("iCalendar e&xportieren…"), this);
    exportIcs->setObjectName(QStringLiteral("mnuICalendarExport"));
    connect(exportIcs, &QAction::triggered, this, &MainWindow::exportCalendar);
    auto *importIcs = new QAction(icon("document-import", QIcon()), tr("iCalendar &importieren…"), this);
    importIcs->setObjectName(QStringLiteral("mnuICalendarImport"));
    connect(importIcs, &QAction::triggered, this, &MainWindow::importCalendar);
    auto *quit = new QAction(tr("&Beenden"), this);
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    m_calendarAction = new QAction(ownIcon("view-calendar-week"), tr("&Kalender"), this);
    m_calendarAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    m_ganttAction = new QAction(ownIcon("view-calendar-timeline"), tr("&Gantt-Ansicht"), this);
    m_ganttAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_2));
    auto *views = new QActionGroup(this);
    for (QAction *a : {m_calendarAction, m_ganttAction}) {
        a->setCheckable(true);
        views->addAction(a);
    }
    m_calendarAction->setChecked(true);
    connect(m_calendarAction, &QAction::triggered, this, [this] {
        if (m_view != View::Calendar)
            showCalendar(m_gantt->FirstDay());
    });
    connect(m_ganttAction, &QAction::triggered, this, [this] {
        if (m_view != View::Gantt)
            showGantt(m_calendar->FirstDay(), m_calendar->GetAnzahlTage());
    });

    auto *days = new QActionGroup(this);
    for (int n : kDayCounts) {
        auto *a = new QAction(n == 1 ? tr("1 Tag") : tr("%1 Tage").arg(n), this);
        a->setCheckable(true);
        a->setData(n);
        a->setToolTip(n == 1 ? tr("Einen Tag anzeigen") : tr("%1 Tage anzeigen").arg(n));
        days->addAction(a);
        connect(a, &QAction::triggered, this, [this, n] { setDayCount(n); });
        m_dayActions.append(a);
    }

    auto *today = new QAction(ownIcon("go-jump-today"), tr("&Heute"), this);
    today->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(today, &QAction::triggered, this, &MainWindow::goToday);
    auto *back = new QAction(icon("go-previous", s->standardIcon(QStyle::SP_ArrowBack)), tr("&Zurück"), this);
    // Not Alt with the arrows: those move the selected appointment in the calendar.
    back->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    back->setToolTip(tr("Vorheriger Zeitraum"));
    connect(back, &QAction::triggered, this, [this] { page(-1); });
    auto *forward = new QAction(icon("go-next", s->standardIcon(QStyle::SP_ArrowForward)), tr("&Vor"), this);
    forward->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    forward->setToolTip(tr("Nächster Zeitraum"));
    connect(forward, &QAction::triggered, this, [this] { page(1); });
    auto *reload = new QAction(icon("view-refresh", s->standardIcon(QStyle::SP_BrowserReload)),
                               tr("&Aktualisieren"), this);
    reload->setShortcut(QKeySequence::Refresh);
    connect(reload, &QAction::triggered, this, &MainWindow::reloadViews);

    auto *create = new QAction(icon("appointment-new", QIcon()), tr("&Neuer Termin…"), this);
    create->setObjectName(QStringLiteral("mnuNeuerTermin"));
    create->setShortcut(QKeySequence::New);
    connect(create, &QAction::triggered, this, &MainWindow::newAppointmentHere);
    QUndoStack &steps = m_history.stack();
    auto *undo = new QAction(icon("edit-undo", QIcon()), tr("Rückgängig"), this);
    undo->setObjectName(QStringLiteral("mnuRueckgaengig"));
    undo->setShortcut(QKeySequence::Undo);
    auto *redo = new QAction(icon("edit-redo", QIcon()), tr("Wiederholen"), this);
    redo->setObjectName(QStringLiteral("mnuWiederholen"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    const auto follow = [&steps, undo, redo] {
        undo->setEnabled(steps.canUndo());
        undo->setText(steps.canUndo() ? tr("Rückgängig: %1").arg(steps.undoText()) : tr("Rückgängig"));
        redo->setEnabled(steps.canRedo());
        redo->setText(steps.canRedo() ? tr("Wiederholen: %1").arg(steps.redoText()) : tr("Wiederholen"));
    };
    follow();
    connect(&steps, &QUndoStack::indexChanged, this, follow);
    connect(&steps, &QUndoStack::cleanChanged, this, follow);
    connect(undo, &QAction::triggered, &steps, &QUndoStack::undo);
    connect(redo, &QAction::triggered, &steps, &QUndoStack::redo);

    auto *participants = new QAction(tr("&Teilnehmer auswählen…"), this);
    connect(participants, &QAction::triggered, this, &MainWindow::chooseParticipants);
    auto *options = new QAction(ownIcon("configure"), tr("&Optionen…"), this);
    connect(options, &QAction::triggered, this, &MainWindow::showOptions);
    auto *about = new QAction(tr("Ü&ber Terminplaner"), this);
    connect(about, &QAction::triggered, this, [this] {
        QMessageBox::about(this, tr("Über Terminplaner"),
                           tr("<b>Terminplaner</b> %1<p>Beispielanwendung der Terminbibliothek "
                              "Dayplex: Kalender und Gantt-Ansicht auf SQLite oder PostgreSQL.</p>")
                               .arg(QApplication::applicationVersion()));
    });

    QMenu *file = menuBar()->addMenu(tr("&Datei"));
    file->addAction(print);
    file->addAction(preview);
    file->addSeparator();
    file->addAction(exportIcs);
    file->addAction(importIcs);
    file->addSeparator();
    file->addAction(quit);

    QMenu *edit = menuBar()->addMenu(tr("&Bearbeiten"));
    edit->setObjectName(QStringLiteral("mnuBearbeiten"));
    edit->addAction(create);
    edit->addSeparator();
    edit->addAction(undo);
    edit->addAction(redo);

    QMenu *view = menuBar()->addMenu(tr("&Ansicht"));
    view->addAction(m_calendarAction);
    view->addAction(m_ganttAction);
    view->addSeparator();
    view->addActions(m_dayActions);
    view->addSeparator();
    view->addAction(today);
    view->addAction(back);
    view->addAction(forward);
    view->addSeparator();
    view->addAction(reload);

    QMenu *extras = menuBar()->addMenu(tr("E&xtras"));
    extras->addAction(participants);
    extras->addAction(options);

    QMenu *help = menuBar()->addMenu(tr("&Hilfe"));
    help->addAction(about);

    QToolBar *bar = m_toolBar = addToolBar(tr("Werkzeugleiste"));
    bar->setObjectName(QStringLiteral("tbHaupt"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addAction(m_calendarAction);
    bar->addAction(m_ganttAction);
    bar->addSeparator();
    bar->addAction(back);
    bar->addAction(today);
    bar->addAction(forward);
    bar->addSeparator();
    for (QAction *a : m_dayActions)
        bar->addAction(a);
    bar->addSeparator();
    bar->addAction(print);
    bar->addAction(preview);
    bar->addAction(options);
}

bool MainWindow::guarded(const QString &title, const std::function<void()> &work,
                         const QString &consequence)
{
    QString text;
    try {
        work();
        return true;
    } catch (const Dayplex::Error &error) {
        text = error.message();
    } catch (const DatabaseError &error) {
        if (m_db.connectionLost()) {
            // Loads during an outage only show in the status bar; a save the user asked for
            // is always told, so that nobody takes a form that comes back for a saved one.
            const bool known = m_offline;
            connectionFailed();
            if (known && consequence.isEmpty())
                return false;
        }
        text = error.message();
    } catch (const std::exception &error) {
        text = QString::fromUtf8(error.what());
    }
    if (!consequence.isEmpty())
        text += QStringLiteral("\n\n") + consequence;
    m_message(title, text);
    return false;
}

// While the server stays away the status bar says so, and a timer tries to reach it again.
void MainWindow::connectionFailed()
{
    statusBar()->showMessage(tr("Keine Verbindung zum Datenbankserver – neuer Versuch läuft …"));
    if (m_offline)
        return;
    m_offline = true;
    m_reconnectTimer->start();
}

void MainWindow::tryReconnect()
{
    if (!m_db.reconnect())
        return;
    m_offline = false;
    m_reconnectTimer->stop();
    statusBar()->showMessage(tr("Die Verbindung zum Datenbankserver ist wiederhergestellt."), 10000);
    reloadViews();
}

void MainWindow::otherDeskChanged(const ChangeNotice &notice)
{
    const auto shows = [&notice](double first, double last) {
        return notice.firstDay <= std::floor(last) && notice.lastDay >= std::floor(first);
    };
    bool calendar = true;
    bool gantt = true;
    try {
        calendar = shows(m_calendar->FirstDay(), m_calendar->LastDay());
        gantt = shows(m_gantt->FirstDay(), m_gantt->LastDay());
    } catch (const std::exception &error) {
        qWarning("terminplaner: range of the views unknown: %s", error.what());
    }
    m_calendarStale |= calendar;
    m_ganttStale |= gantt;
    // Only a change of the days on the screen makes this desk paint anew.
    if (!(m_view == View::Calendar ? calendar : gantt))
        return;
    m_pendingNotices.append(notice);
    if (!m_refreshTimer->isActive())
        m_refreshTimer->start();
}

void MainWindow::refreshForOtherDesks()
{
    // Not under a drag: the view would lose the appointment the mouse holds.
    if (QApplication::mouseButtons() != Qt::NoButton) {
        m_refreshTimer->start(100);
        return;
    }
    m_refreshTimer->setInterval(20);
    // The hidden view keeps its mark and asks again when it is shown.
    if (m_view == View::Calendar && m_calendarStale)
        refreshCalendar();
    else if (m_view == View::Gantt && m_ganttStale)
        refreshGantt();
    const QList<ChangeNotice> shown = std::exchange(m_pendingNotices, {});
    updateStatus();
    if (m_refreshed)
        for (const ChangeNotice &notice : shown)
            m_refreshed(notice);
}

QString MainWindow::describe(const Appointment &a) const
{
    const QString when =
        a.allDay ? (std::floor(a.end) > std::floor(a.start) ? tr("%1 bis %2, ganztägig").arg(dayText(a.start), dayText(a.end))
                                                             : tr("%1, ganztägig").arg(dayText(a.start)))
                 : tr("%1 %2–%3").arg(dayText(a.start),
                                      QLocale().toString(Dayplex::toQTime(a.start), QStringLiteral("HH:mm")),
                                      QLocale().toString(Dayplex::toQTime(a.end), QStringLiteral("HH:mm")));
    QString who;
    try {
        if (const std::optional<Participant> p = m_db.participant(a.participantId))
            who = tr(", %1").arg(p->name);
    } catch (const DatabaseError &error) {
        qWarning("terminplaner: participant unknown: %s", qPrintable(error.message()));
    }
    return tr("„%1“, %2%3").arg(a.text, when, who);
}

void MainWindow::noteSkipped(const FillResult &result)
{
    if (result.skipped > 0)
        statusBar()->showMessage(tr("Termine, die nicht angezeigt werden konnten: %1").arg(result.skipped), 10000);
}

void MainWindow::showCalendar(Dayplex::Date firstDay)
{
    guarded(tr("Kalender"), [&] {
        // The calendar keeps its own day count (at most 14) and starts on the same day.
        m_calendar->SetDisplayedRange(firstDay, nullptr, false, true);
        m_calendar->Repaint();
    });
    m_view = View::Calendar;
    m_stack->setCurrentWidget(m_calendar);
    m_calendarAction->setChecked(true);
    if (m_calendarStale)
        refreshCalendar();
    updateStatus();
}

void MainWindow::showGantt(Dayplex::Date firstDay, int days, Dayplex::Date ab)
{
    m_view = View::Gantt;
    m_stack->setCurrentWidget(m_gantt);
    m_ganttAction->setChecked(true);
    guarded(tr("Gantt-Ansicht"), [&] {
        double last = std::floor(firstDay) + std::max(days, 1) - 1;
        m_gantt->SetDisplayedRange(firstDay, &last, false, true);
        if (m_ganttStale)
            refreshGantt();
        m_gantt->Repaint();
        if (ab > 0)
            m_gantt->FreienTerminSuchen(ab);
    });
    updateStatus();
}

void MainWindow::setDayCount(int days)
{
    guarded(tr("Ansicht"), [&] {
        if (m_view == View::Calendar) {
            const double first = m_calendar->CurrentDate();
            double last = std::floor(first) + days - 1;
            m_calendar->SetDisplayedRange(first, &last, false, true);
            m_calendar->Repaint();
        } else {
            const double first = m_gantt->FirstDay();
            double last = std::floor(first) + days - 1;
            m_gantt->SetDisplayedRange(first, &last, false, true);
            m_gantt->Repaint();
        }
    });
    updateStatus();
}

void MainWindow::goToday()
{
    guarded(tr("Heute"), [&] {
        const double today = Dayplex::currentDate();
        if (m_view == View::Calendar) {
            m_calendar->SetDisplayedRange(today, nullptr, false, true);
            m_calendar->Repaint();
        } else {
            m_gantt->SetDisplayedRange(today, nullptr, false, true);
            m_gantt->Repaint();
        }
    });
    updateStatus();
}

void MainWindow::page(int direction)
{
    guarded(tr("Blättern"), [&] {
        if (m_view == View::Calendar)
            m_calendar->Scroll(direction * 999);
        else
            m_gantt->Scroll(direction * 999);
    });
    updateStatus();
}

void MainWindow::reloadViews()
{
    // The view on screen now; the hidden one when it comes back.
    if (m_view == View::Calendar) {
        refreshCalendar();
        m_ganttStale = true;
    } else {
        refreshGantt();
        m_calendarStale = true;
    }
    updateStatus();
}

// Asks again for the shown range; what the user selected and where the rows are scrolled to
// stay as they were, as long as the selected appointment is still there.
void MainWindow::refreshCalendar()
{
    m_calendarStale = false;
    guarded(tr("Termine laden"), [&] {
        const QString selected = m_calendar->SelectedDate();
        const double selectionStart = m_calendar->SelectionStart();
        const double selectionEnd = m_calendar->SelectionEnd();
        const double firstTime = m_calendar->FirstTime();
        {
            // One paint at the end instead of one per step.
            m_calendar->setUpdatesEnabled(false);
            const auto enable = qScopeGuard([this] { m_calendar->setUpdatesEnabled(true); });
            m_calendar->Refresh();
            m_calendar->setFirstTime(firstTime);
            m_calendar->setSelectionStart(selectionStart);
            m_calendar->setSelectionEnd(selectionEnd);
            if (!selected.isEmpty() && m_calendar->TerminDSN().split(QLatin1Char('|')).contains(selected))
                m_calendar->setSelectedDate(selected);
        }
        m_calendar->Repaint();
    });
}

void MainWindow::refreshGantt()
{
    m_ganttStale = false;
    guarded(tr("Termine laden"), [&] {
        const QString selected = m_gantt->SelectedDate();
        m_gantt->Refresh();
        if (!selected.isEmpty())
            m_gantt->setSelectedDate(selected);
    });
}

void MainWindow::print(bool preview)
{
    guarded(preview ? tr("Druckvorschau") : tr("Drucken"), [&] {
        // The preview command needs no printer choice first.
        if (preview)
            Dayplex::previewNextJob();
        // The calendar's dialog offers the resource view too, and starts with the view shown.
        m_calendar->PrintCalendar(preview);
    });
    updateStatus();
}

QString MainWindow::chooseCalendarFile(bool save)
{
    QFileDialog dialog(this, save ? tr("iCalendar exportieren") : tr("iCalendar importieren"),
                       QString(), tr("iCalendar-Dateien (*.ics);;Alle Dateien (*)"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("ics"));
    if (m_runDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

void MainWindow::exportCalendar()
{
    const QString path = chooseCalendarFile(true);
    if (path.isEmpty())
        return;
    guarded(tr("iCalendar exportieren"), [&] {
        const bool calendar = m_view == View::Calendar;
        const double first = calendar ? m_calendar->FirstDay() : m_gantt->FirstDay();
        const double last = calendar ? m_calendar->LastDay() : m_gantt->LastDay();
        const ExchangeResult result = exportICalendar(m_db, path, first, last, m_bridge.participantFilter());
        statusBar()->showMessage(result.report, 10000);
    });
}

void MainWindow::importCalendar()
{
    const QString path = chooseCalendarFile(false);
    if (path.isEmpty())
        return;
    // A large file shows how far it is and can be stopped; the window keeps painting, but
    // takes no other work until the file is in.
    QProgressDialog progress(tr("„%1“ wird gelesen …").arg(QFileInfo(path).fileName()), tr("Abbrechen"), 0, 1, this);
    progress.setObjectName(QStringLiteral("dlgImportFortschritt"));
    progress.setWindowTitle(tr("iCalendar importieren"));
    progress.setMinimumDuration(400);
    const QList<QWidget *> busy{centralWidget(), menuBar(), m_toolBar};
    for (QWidget *w : busy)
        w->setEnabled(false);
    const auto enable = qScopeGuard([&busy] {
        for (QWidget *w : busy)
            w->setEnabled(true);
    });
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    const auto step = [&](int done, int total) {
        progress.setMaximum(std::max(total, 1));
        progress.setValue(std::min(done, progress.maximum()));
        if (sinceEvents.elapsed() >= 30) {
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
        return !progress.wasCanceled();
    };
    guarded(tr("iCalendar importieren"), [&] {
        // Events that name nobody of the team belong to whoever the view shows first.
        const QList<int> shown = m_bridge.participantFilter();
        if (shown.isEmpty())
            throw DatabaseError(tr("Die Datenbank hat keine Teilnehmer."));
        try {
            const ExchangeResult result = importICalendar(m_db, path, shown.first(), step, [&](const ICalendarImport &read) {
                progress.hide();
                return importClearOfOverlaps(QFileInfo(path).fileName(), read);
            });
            statusBar()->showMessage(result.report, 15000);
        } catch (const ICalendarCancelled &) {
            statusBar()->showMessage(tr("Import abgebrochen; es wurde nichts gespeichert."), 10000);
        }
    });
    progress.reset();
    reloadViews();
}

void MainWindow::showOptions()
{
    // The view stores nothing itself: a confirmed dialog raises OptionsChanged.
    guarded(tr("Optionen"), [&] {
        if (m_view == View::Calendar)
            m_calendar->ShowOptionsDialog();
        else
            m_gantt->ShowOptionsDialog();
    });
}

void MainWindow::chooseParticipants()
{
    QVector<Participant> participants;
    QList<int> chosen;
    if (!guarded(tr("Teilnehmer"), [&] {
            participants = m_db.participants();
            chosen = m_bridge.participantFilter();
        }))
        return;
    FilterDialog dialog(participants, chosen, this);
    if (m_runDialog(dialog) != QDialog::Accepted)
        return;
    guarded(tr("Teilnehmer"), [&] { m_bridge.setParticipantFilter(dialog.chosen()); },
            tr("Die Auswahl der Teilnehmer gilt bis zum Beenden des Programms, wurde aber nicht "
               "gespeichert."));
    reloadViews();
}

void MainWindow::newAppointment(Dayplex::Date start, Dayplex::Date end, bool allDay,
                                const QList<int> &participantIds)
{
    if (m_db.isReadOnly()) {
        statusBar()->showMessage(readOnlyNote(), 10000);
        return;
    }
    QVector<Participant> participants;
    if (!guarded(tr("Neuer Termin"), [&] { participants = m_db.participants(); }))
        return;
    Appointment a;
    // A selection in the all-day band arrives as two midnights with the flag false.
    a.allDay = allDay || (isMidnight(start) && isMidnight(end));
    a.start = start;
    a.end = end;
    if (!a.allDay && a.end <= a.start)
        a.end = a.start + 1.0 / 24.0;
    a.backColor = windowsFromColor(QColor(198, 224, 255));

    AppointmentDialog dialog(participants, this);
    dialog.setAppointment(a, participantIds, false);
    // After a failed save the form comes back with what was typed, until it is saved or
    // cancelled: a locked or full database must not cost the user the input.
    while (m_runDialog(dialog) == AppointmentDialog::Saved) {
        const Appointment result = dialog.appointment();
        if (const OverlapAnswer answer = clearOfOverlaps(result, dialog.participantIds(), tr("Neuer Termin"), notSavedFormBack());
            answer != OverlapAnswer::SaveAnyway) {
            if (answer == OverlapAnswer::FindFreeSlot)
                return;
            continue;
        }
        const bool saved = guarded(
            tr("Neuer Termin"),
            [&] {
                m_history.record(tr("Termin anlegen"), 0,
                                 [&] { return m_db.saveAppointment(result, dialog.participantIds()).first(); });
            },
            tr("Der Termin wurde nicht gespeichert. Das Formular wird mit Ihren Eingaben wieder "
               "geöffnet."));
        reloadViews();
        if (saved) {
            statusBar()->showMessage(tr("Termin „%1“ gespeichert.").arg(result.text), 5000);
            return;
        }
    }
}

void MainWindow::openAppointment(const QString &dsn)
{
    const qint64 id = HostBridge::appointmentId(dsn);
    if (id == 0)
        return; // holidays and other entries the views make themselves
    std::optional<Appointment> stored;
    QVector<Participant> participants;
    if (!guarded(tr("Termin"), [&] {
            stored = m_db.appointment(id);
            participants = m_db.participants();
        }))
        return;
    if (!stored) {
        m_message(tr("Termin"), tr("Der Termin ist nicht mehr vorhanden. Die Ansicht wird neu geladen."));
        reloadViews();
        return;
    }
    // An occurrence opens with its own times and its series' rule.
    if (const Dayplex::Date occurrence = HostBridge::recurrenceStart(dsn); occurrence != 0) {
        Appointment shown = *stored;
        shown.start = occurrence;
        shown.end = occurrence + (stored->end - stored->start);
        editOccurrence(*stored, occurrence, shown, participants);
        return;
    }
    if (stored->seriesId != 0) {
        std::optional<Appointment> series;
        if (!guarded(tr("Termin"), [&] { series = m_db.appointment(stored->seriesId); }))
            return;
        if (series) {
            Appointment shown = *stored;
            shown.rrule = series->rrule;
            editOccurrence(*series, stored->recurrenceStart, shown, participants);
            return;
        }
    }

    AppointmentDialog dialog(participants, this);
    dialog.setAppointment(*stored, stored->allParticipants(), true);
    dialog.setViewOnly(m_db.isReadOnly());
    for (;;) {
        const int outcome = m_runDialog(dialog);
        if (outcome == AppointmentDialog::Saved) {
            Appointment result = dialog.appointment();
            // Only a new time or new participants can make an overlap the user has not seen.
            const bool sameSlot = result.start == stored->start && result.end == stored->end
                                  && result.allDay == stored->allDay
                                  && dialog.participantIds() == stored->allParticipants();
            if (const OverlapAnswer answer = sameSlot ? OverlapAnswer::SaveAnyway
                                                      : clearOfOverlaps(result, dialog.participantIds(),
                                                                        tr("Termin speichern"), changeNotSavedFormBack());
                answer != OverlapAnswer::SaveAnyway) {
                if (answer == OverlapAnswer::FindFreeSlot)
                    return;
                continue;
            }
            const QString title = tr("Termin speichern");
            const QString consequence = tr("Die Änderung wurde nicht gespeichert. Das Formular wird "
                                           "mit Ihren Eingaben wieder geöffnet.");
            std::optional<ConflictError> conflict;
            bool saved = guarded(title, [&] {
                try {
                    m_history.record(tr("Termin bearbeiten"), id,
                                     [&] { return m_db.saveAppointment(result, dialog.participantIds()).first(); });
                } catch (const ConflictError &error) {
                    conflict = error;
                }
            }, consequence);
            if (saved && conflict) {
                // Another desk wrote first: its version is shown, the user decides whose stays.
                const QString question =
                    conflict->current()
                        ? tr("%1\n\nDort gespeichert: %2\nIhre Änderung: %3\n\nSoll Ihre Änderung trotzdem "
                             "gespeichert werden? Bei „Nein“ bleibt, was der andere Arbeitsplatz gespeichert hat.")
                              .arg(conflict->message(), describe(*conflict->current()), describe(result))
                        : tr("%1\n\nIhre Fassung: %2\n\nSoll der Termin mit Ihren Angaben neu angelegt werden?")
                              .arg(conflict->message(), describe(result));
                saved = false;
                if (m_ask(title, question)) {
                    if (conflict->current()) {
                        result.version = conflict->current()->version;
                    } else {
                        result.id = 0;
                        result.version = 0;
                    }
                    saved = guarded(title, [&] {
                        m_history.record(result.id == 0 ? tr("Termin anlegen") : tr("Termin bearbeiten"), result.id,
                                         [&] { return m_db.saveAppointment(result, dialog.participantIds()).first(); });
                    }, consequence);
                    if (!saved) {
                        reloadViews();
                        continue;
                    }
                }
                reloadViews();
                return;
            }
            reloadViews();
            if (saved)
                return;
        } else if (outcome == AppointmentDialog::Deleted) {
            if (guarded(tr("Termin löschen"),
                        [&] {
                            m_history.record(tr("Termin löschen"), id, [&] {
                                m_db.deleteAppointment(id);
                                return qint64(0);
                            });
                        },
                        tr("Der Termin wurde nicht gelöscht.")))
                statusBar()->showMessage(tr("Termin „%1“ gelöscht.").arg(stored->text), 5000);
            reloadViews();
            return;
        } else {
            return;
        }
    }
}

void MainWindow::editOccurrence(const Appointment &series, Dayplex::Date occurrence, Appointment shown,
                                const QVector<Participant> &participants)
{
    AppointmentDialog dialog(participants, this);
    dialog.setAppointment(shown, shown.allParticipants(), true);
    dialog.setViewOnly(m_db.isReadOnly());
    // The scope question asks before a deletion; a yes/no question first would ask twice.
    dialog.confirmDelete = nullptr;
    for (;;) {
        const int outcome = m_runDialog(dialog);
        if (outcome != AppointmentDialog::Saved && outcome != AppointmentDialog::Deleted)
            return;
        const bool deleting = outcome == AppointmentDialog::Deleted;
        const Appointment result = dialog.appointment();
        const bool sameSlot = result.start == shown.start && result.end == shown.end && result.allDay == shown.allDay
                              && result.rrule == series.rrule && dialog.participantIds() == shown.allParticipants();
        if (const OverlapAnswer answer = deleting || sameSlot
                                             ? OverlapAnswer::SaveAnyway
                                             : clearOfOverlaps(result, dialog.participantIds(), tr("Serientermin speichern"),
                                                               changeNotSavedFormBack());
            answer != OverlapAnswer::SaveAnyway) {
            if (answer == OverlapAnswer::FindFreeSlot)
                return;
            continue;
        }
        const bool ruleChanged = !deleting && result.rrule != series.rrule;
        // A new rule is a rule for several occurrences, never for this one alone.
        const QString title = deleting ? tr("Serientermin löschen") : tr("Serientermin speichern");
        const QString question =
            deleting ? tr("„%1“ ist ein Serientermin. Welche Termine sollen gelöscht werden?").arg(shown.text)
                     : tr("„%1“ ist ein Serientermin. Für welche Termine gilt die Änderung?").arg(shown.text);
        const std::optional<Dayplex::SeriesScope> scope = m_askScope(title, question, !ruleChanged);
        if (!scope)
            continue; // back to the form, with what was typed
        const bool done = guarded(title, [&] {
            m_history.record(deleting ? tr("Serientermin löschen") : tr("Serientermin ändern"), series.id, [&] {
                if (!deleting)
                    return m_db.changeOccurrence(series.id, occurrence, result, *scope, series.version,
                                                 ruleChanged ? std::optional<QString>(result.rrule) : std::nullopt);
                m_db.deleteOccurrence(series.id, occurrence, *scope, series.version);
                return qint64(0);
            });
        }, deleting ? tr("Es wurde nichts gelöscht.")
                    : tr("Die Änderung wurde nicht gespeichert. Das Formular wird mit Ihren Eingaben "
                         "wieder geöffnet."));
        reloadViews();
        if (done) {
            statusBar()->showMessage(deleting ? tr("Serientermin „%1“ gelöscht.").arg(shown.text)
                                              : tr("Serientermin „%1“ gespeichert.").arg(result.text),
                                     5000);
            return;
        }
        if (deleting)
            return;
    }
}

void MainWindow::newAppointmentHere()
{
    Dayplex::Date start = 0, end = 0;
    if (m_view == View::Calendar && m_calendar->SelectionStart() > 0) {
        start = m_calendar->SelectionStart();
        end = std::max(m_calendar->SelectionEnd(), start + m_calendar->TimeRaster());
    } else {
        start = std::ceil(Dayplex::currentDateTime() * 24.0 - 1e-6) / 24.0;
        end = start + 1.0 / 24.0;
    }
    const QList<int> filter = m_bridge.participantFilter();
    newAppointment(start, end, false, filter.size() == 1 ? filter : QList<int>());
}

std::optional<MainWindow::Target> MainWindow::target(const QString &dsn, const QString &title)
{
    const qint64 id = HostBridge::appointmentId(dsn);
    if (id == 0 || m_db.isReadOnly())
        return std::nullopt;
    std::optional<Appointment> stored;
    if (!guarded(title, [&] { stored = m_db.appointment(id); }))
        return std::nullopt;
    if (!stored) {
        m_message(title, tr("Der Termin ist nicht mehr vorhanden. Die Ansicht wird neu geladen."));
        reloadViews();
        return std::nullopt;
    }
    Target t{*stored, 0, HostBridge::recurrenceStart(dsn)};
    if (t.occurrence != 0) {
        t.seriesId = id;
        t.row.start = t.occurrence;
        t.row.end = t.occurrence + (stored->end - stored->start);
    } else if (stored->isOccurrence()) {
        t.seriesId = stored->seriesId;
        t.occurrence = stored->recurrenceStart;
    }
    return t;
}

void MainWindow::deleteAppointment(const QString &dsn)
{
    const std::optional<Target> t = target(dsn, tr("Termin löschen"));
    if (!t)
        return;
    const QString title = t->seriesId != 0 ? tr("Serientermin löschen") : tr("Termin löschen");
    bool done = false;
    if (t->seriesId != 0) {
        // The same question as in the form.
        const std::optional<Dayplex::SeriesScope> scope = m_askScope(
            title, tr("„%1“ ist ein Serientermin. Welche Termine sollen gelöscht werden?").arg(t->row.text), true);
        if (!scope)
            return;
        done = guarded(title, [&] {
            m_history.record(title, t->seriesId, [&] {
                m_db.deleteOccurrence(t->seriesId, t->occurrence, *scope);
                return qint64(0);
            });
        }, tr("Es wurde nichts gelöscht."));
    } else {
        if (!m_ask(title, tr("Den Termin „%1“ wirklich löschen?").arg(t->row.text)))
            return;
        done = guarded(title, [&] {
            m_history.record(title, t->row.id, [&] {
                m_db.deleteAppointment(t->row.id);
                return qint64(0);
            });
        }, tr("Der Termin wurde nicht gelöscht."));
    }
    reloadViews();
    if (done)
        statusBar()->showMessage(tr("Termin „%1“ gelöscht. Rückgängig mit Strg+Z.").arg(t->row.text), 5000);
}

void MainWindow::toggleDone(const QString &dsn)
{
    const QString title = tr("Erledigt");
    std::optional<Target> t = target(dsn, title);
    if (!t)
        return;
    Appointment changed = t->row;
    changed.done = !changed.done;
    const QObject *view = m_view == View::Calendar ? static_cast<QObject *>(m_calendar) : m_gantt;
    const bool written = guarded(title, [&] {
        m_history.record(changed.done ? tr("Als erledigt markieren") : tr("Als nicht erledigt markieren"),
                         t->row.id, [&] {
            // An occurrence is done alone, never its whole series.
            if (HostBridge::recurrenceStart(dsn) != 0)
                return m_db.changeOccurrence(t->seriesId, t->occurrence, changed, Dayplex::SeriesScope::OnlyThis,
                                             m_bridge.shownVersion(view, t->seriesId));
            changed.version = m_bridge.shownVersion(view, changed.id);
            return m_db.saveAppointment(changed, changed.allParticipants()).first();
        });
    }, tr("Der Termin bleibt, wie er war."));
    reloadViews();
    if (written)
        statusBar()->showMessage(changed.done ? tr("„%1“ ist erledigt.").arg(changed.text)
                                              : tr("„%1“ ist nicht mehr erledigt.").arg(changed.text),
                                 5000);
}

std::optional<bool> MainWindow::overlapCheck() const
{
    const bool calendar = m_view == View::Calendar;
    QString options;
    try {
        options = calendar ? m_calendar->Options() : m_gantt->Options();
    } catch (const std::exception &error) {
        qWarning("terminplaner: options unknown, no overlap check: %s", error.what());
        return std::nullopt;
    }
    const auto flag = [&options](const char *key) {
        const QString value = entryValue(options, QLatin1String(key));
        return !value.isEmpty() && value != QLatin1String("0");
    };
    if (!flag(calendar ? "blnUeberschneidenCalendar" : "blnUeberschneidenGantt"))
        return std::nullopt;
    return flag("blnUeberschneidenFeiertage");
}

QVector<Appointment> MainWindow::overlapsOf(const Appointment &planned, const QList<int> &participants,
                                            bool holidays) const
{
    const Dayplex::Date firstDay = std::floor(planned.start), lastDay = std::floor(std::max(planned.start, planned.end));
    QVector<Appointment> booked = m_db.appointmentsInDays(firstDay, lastDay, participants);
    if (holidays)
        for (int year = Dayplex::toQDate(firstDay).year(); year <= Dayplex::toQDate(lastDay).year(); ++year)
            booked += germanHolidays(year);
    return findOverlaps(planned, participants, booked);
}

MainWindow::OverlapAnswer MainWindow::askAboutOverlaps(const QString &subject, const QStringList &lines,
                                                       const Appointment &planned, const QList<int> &participants)
{
    const QString text = tr("„%1“ überschneidet sich mit:\n%2\n\nTrotzdem speichern?").arg(subject, lines.join('\n'));
    const OverlapAnswer answer = m_askOverlap(tr("Terminüberschneidung"), text);
    if (answer == OverlapAnswer::FindFreeSlot) {
        // The search for these participants and this length, from the planned day on; their
        // rows must be there to be searched.
        QList<int> shown = m_bridge.participantFilter();
        const qsizetype before = shown.size();
        for (int id : participants)
            if (!shown.contains(id))
                shown.append(id);
        if (shown.size() != before) {
            guarded(tr("Teilnehmer"), [&] { m_bridge.setParticipantFilter(shown); });
            m_ganttStale = m_calendarStale = true;
        }
        showGantt(std::floor(planned.start), 7);
        QStringList rows;
        for (int id : participants)
            rows.append(HostBridge::participantKey(id));
        guarded(tr("Freien Termin suchen"), [&] {
            m_gantt->findFreeSlot(std::floor(planned.start), rows, planned.allDay ? 0 : planned.end - planned.start);
        });
    }
    return answer;
}

MainWindow::OverlapAnswer MainWindow::clearOfOverlaps(const Appointment &planned, const QList<int> &participants,
                                                      const QString &title, const QString &consequence)
{
    const std::optional<bool> holidays = overlapCheck();
    if (!holidays)
        return OverlapAnswer::SaveAnyway;
    QVector<Appointment> found;
    // A failing read fails as the write would: the same message, and nothing written.
    if (!guarded(title, [&] { found = overlapsOf(planned, participants, *holidays); }, consequence))
        return OverlapAnswer::Cancel;
    if (found.isEmpty())
        return OverlapAnswer::SaveAnyway;
    QStringList lines;
    for (const Appointment &a : std::as_const(found))
        lines.append(QStringLiteral("• ") + describe(a));
    return askAboutOverlaps(planned.text, lines, planned, participants);
}

bool MainWindow::importClearOfOverlaps(const QString &fileName, const ICalendarImport &read)
{
    const std::optional<bool> holidays = overlapCheck();
    if (!holidays)
        return true;
    constexpr int kNamed = 10;
    QStringList lines;
    int more = 0;
    const Appointment *first = nullptr;
    for (const Appointment &a : read.appointments) {
        // A series would be checked occurrence by occurrence for ever; notes never conflict.
        if (a.note || a.isSeries())
            continue;
        for (const Appointment &b : overlapsOf(a, a.allParticipants(), *holidays)) {
            // The same event, brought again by an earlier import of the file.
            if (!b.uid.isEmpty() && b.uid == a.uid)
                continue;
            if (!first)
                first = &a;
            if (lines.size() < kNamed)
                lines.append(tr("• „%1“ mit %2").arg(a.text, describe(b)));
            else
                ++more;
        }
    }
    if (!first)
        return true;
    if (more > 0)
        lines.append(tr("… und %1 weitere").arg(more));
    return askAboutOverlaps(fileName, lines, *first, first->allParticipants()) == OverlapAnswer::SaveAnyway;
}

void MainWindow::addMenuEntries(QMenu *menu, const QString &dsn)
{
    if (HostBridge::appointmentId(dsn) == 0 || m_db.isReadOnly())
        return;
    bool done = false;
    try {
        if (const std::optional<Appointment> stored = m_db.appointment(HostBridge::appointmentId(dsn)))
            done = stored->done;
    } catch (const DatabaseError &error) {
        qWarning("terminplaner: done state unknown: %s", qPrintable(error.message()));
    }
    menu->addSeparator();
    QAction *remove = menu->addAction(tr("Löschen"), this, [this, dsn] { deleteAppointment(dsn); });
    remove->setObjectName(QStringLiteral("mnuTerminLoeschen"));
    QAction *finished = menu->addAction(tr("Erledigt"), this, [this, dsn] { toggleDone(dsn); });
    finished->setObjectName(QStringLiteral("mnuTerminErledigt"));
    finished->setCheckable(true);
    finished->setChecked(done);
}

void MainWindow::moveAppointment(const QString &dsn, Dayplex::Date start, Dayplex::Date end,
                                 Dayplex::SeriesScope scope)
{
    // A drag comes from the view on screen, filled with the rows it shows.
    const QObject *view = m_view == View::Calendar ? static_cast<QObject *>(m_calendar) : m_gantt;
    const QString title = tr("Termin verschieben");
    const QString consequence = tr("Die Termine werden neu geladen; die alte Zeit bleibt bestehen.");
    // The undo step says whether the box moved or changed its length.
    QString step = title;
    bool resized = false;
    const qint64 id = HostBridge::appointmentId(dsn);
    try {
        if (std::optional<Appointment> planned = m_db.appointment(id)) {
            resized = std::abs((planned->end - planned->start) - (end - start)) > Dayplex::kOneSecond / 2;
            if (resized)
                step = tr("Terminlänge ändern");
            planned->start = start;
            planned->end = end;
            if (clearOfOverlaps(*planned, planned->allParticipants(), title, consequence) != OverlapAnswer::SaveAnyway) {
                reloadViews();
                return;
            }
        }
    } catch (const DatabaseError &error) {
        qWarning("terminplaner: length before the change and overlaps unknown: %s", qPrintable(error.message()));
    }
    const auto write = [&](bool force) {
        m_history.record(step, id, [&] { return m_bridge.applyDateChange(view, dsn, start, end, force, scope); });
    };
    std::optional<ConflictError> conflict;
    bool saved = guarded(title, [&] {
        try {
            write(false);
        } catch (const ConflictError &error) {
            conflict = error;
        }
    }, consequence);
    if (saved && conflict) {
        saved = false;
        if (!conflict->current()) {
            m_message(title, conflict->message() + QStringLiteral("\n\n") + tr("Die Verschiebung wurde nicht gespeichert."));
        } else {
            Appointment mine = *conflict->current();
            mine.start = start;
            mine.end = end;
            const QString question =
                tr("%1\n\nDort gespeichert: %2\nIhre Verschiebung: %3\n\nSoll Ihre Verschiebung trotzdem "
                   "gespeichert werden? Bei „Nein“ bleibt, was der andere Arbeitsplatz gespeichert hat.")
                    .arg(conflict->message(), describe(*conflict->current()), describe(mine));
            if (m_ask(title, question))
                saved = guarded(title, [&] { write(true); }, consequence);
        }
    }
    const auto time = [](Dayplex::Date value) { return QLocale().toString(Dayplex::toQTime(value), QStringLiteral("HH:mm")); };
    if (saved)
        statusBar()->showMessage(resized ? tr("Terminlänge geändert: %1 %2–%3.").arg(dayText(start), time(start), time(end))
                                         : tr("Termin verschoben auf %1 %2.").arg(dayText(start), time(start)),
                                 5000);
    // Also after a failure: the view shows the dragged times until it reloads.
    reloadViews();
}

void MainWindow::wheelTurned(qint32 key, qint32 delta, qint32 x, qint32 y)
{
    constexpr qint32 kControlKey = 8; // the key-state flag of the platform's wheel message
    if (delta == 0 || !m_stack->rect().contains(m_stack->mapFromGlobal(QPoint(x, y))))
        return;
    const int notches = delta > 0 ? std::max(1, delta / 120) : std::min(-1, delta / 120);
    guarded(tr("Blättern"), [&] {
        if (m_view == View::Gantt || (key & kControlKey)) {
            for (int i = 0; i < std::abs(notches); ++i) {
                if (m_view == View::Gantt)
                    m_gantt->Scroll(notches > 0 ? -1 : 1);
                else
                    m_calendar->Scroll(notches > 0 ? -1 : 1);
            }
            return;
        }
        // Three rows per notch, as text views scroll three lines; the day's rows end at 23:59.
        const double raster = m_calendar->TimeRaster();
        const double first = m_calendar->FirstTime() - notches * 3 * raster;
        m_calendar->setFirstTime(std::clamp(first, 0.0, std::max(0.0, 1.0 - raster)));
        m_calendar->Repaint();
    });
    updateStatus();
}

void MainWindow::updateStatus()
{
    double first = 0, last = 0;
    int count = 0;
    try {
        if (m_view == View::Calendar) {
            first = m_calendar->FirstDay();
            last = m_calendar->LastDay();
            const QString keys = m_calendar->TerminDSN();
            count = keys.count(QLatin1Char('|'));
        } else {
            first = m_gantt->FirstDay();
            last = m_gantt->LastDay();
            count = -1;
        }
    } catch (const std::exception &) {
        return;
    }
    const int days = int(std::lround(last - first)) + 1;
    QString text = days == 1 ? dayText(first) : tr("%1 bis %2").arg(dayText(first), dayText(last));
    text = (m_view == View::Calendar ? tr("Kalender") : tr("Gantt-Ansicht")) + QStringLiteral(" · ") + text;
    if (count >= 0)
        text += QStringLiteral(" · ") + (count == 1 ? tr("1 Termin") : tr("%1 Termine").arg(count));
    if (text != m_lastStatus) {
        m_lastStatus = text;
        m_rangeLabel->setText(text);
    }
    for (QAction *a : m_dayActions)
        a->setChecked(a->data().toInt() == days);
}

} // namespace Terminplaner

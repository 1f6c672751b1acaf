#ifndef TERMINPLANER_MAINWINDOW_H
#define TERMINPLANER_MAINWINDOW_H

#include "edithistory.h"
#include "hostbridge.h"

#include <dayplex/dates.h>
#include <dayplex/series.h>

#include <QMainWindow>
#include <functional>
#include <optional>

class QAction;
class QActionGroup;
class QDialog;
class QLabel;
class QMenu;
class QStackedWidget;
class QTimer;
class QToolBar;

namespace Dayplex {
class ucAgenda;
class ctlGantt;
}

namespace Terminplaner {

struct ICalendarImport;

// The planner window: the calendar and the Gantt view on one stack, menus, toolbar and
// status bar, and the host's answers to every event of the two views.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    enum class View { Calendar, Gantt };

    explicit MainWindow(Database &db, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Seams: how a dialog runs (exec() by default) and where messages go (a message box).
    using DialogRunner = std::function<int(QDialog &dialog)>;
    using MessageSink = std::function<void(const QString &title, const QString &text)>;
    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }
    void setMessageSink(MessageSink sink) { m_message = std::move(sink); }
    // A yes/no question of the host's own (a conflict with another desk); true for "Ja".
    using QuestionHandler = std::function<bool(const QString &title, const QString &text)>;
    void setQuestionHandler(QuestionHandler handler) { m_ask = std::move(handler); }
    // Which occurrences of a series a change in the form or a deletion is for ("Nur diesen
    // Termin" only when offered); nothing for "Abbrechen".
    using ScopeHandler = std::function<std::optional<Dayplex::SeriesScope>(
        const QString &title, const QString &text, bool offerOnlyThis)>;
    void setScopeHandler(ScopeHandler handler) { m_askScope = std::move(handler); }
    // What the user answers to a warning that an appointment runs into booked time.
    enum class OverlapAnswer { SaveAnyway, FindFreeSlot, Cancel };
    using OverlapHandler = std::function<OverlapAnswer(const QString &title, const QString &text)>;
    void setOverlapHandler(OverlapHandler handler) { m_askOverlap = std::move(handler); }
    // Called after the views showed a change of another desk, for measurements.
    using RefreshObserver = std::function<void(const ChangeNotice &notice)>;
    void setRefreshObserver(RefreshObserver observer) { m_refreshed = std::move(observer); }

    Dayplex::ucAgenda *calendar() const { return m_calendar; }
    Dayplex::ctlGantt *gantt() const { return m_gantt; }
    View currentView() const { return m_view; }
    HostBridge &bridge() { return m_bridge; }

    void showCalendar(Dayplex::Date firstDay);
    // A search start ab > 0 opens the Gantt view's free-slot search there.
    void showGantt(Dayplex::Date firstDay, int days, Dayplex::Date ab = 0);
    void setDayCount(int days);
    void goToday();
    void page(int direction);
    void reloadViews();
    void print(bool preview);
    // The shown days of the shown participants to an .ics file, and an .ics file into the
    // database; the file is chosen in a file dialog that runs through the dialog runner.
    void exportCalendar();
    void importCalendar();
    void showOptions();
    void chooseParticipants();
    void newAppointment(Dayplex::Date start, Dayplex::Date end, bool allDay,
                        const QList<int> &participantIds);
    // Strg+N: a new appointment for the calendar's selected time, else the next full hour.
    void newAppointmentHere();
    void openAppointment(const QString &dsn);
    // Entf and "Löschen": asks (an occurrence of a series which ones), deletes, keeps the undo step.
    void deleteAppointment(const QString &dsn);
    // "Erledigt" of the context menu; an occurrence of a series alone.
    void toggleDone(const QString &dsn);
    // The host's entries of a view's context menu over the appointment dsn: Löschen, Erledigt.
    void addMenuEntries(QMenu *menu, const QString &dsn);
    EditHistory &history() { return m_history; }
    // A moved or resized appointment; scope is the user's answer for an occurrence of a series.
    void moveAppointment(const QString &dsn, Dayplex::Date start, Dayplex::Date end,
                         Dayplex::SeriesScope scope = Dayplex::SeriesScope::OnlyThis);
    // Wheel turns reported by the wheel control: time rows in the calendar, days with Ctrl
    // held and in the Gantt view.
    void wheelTurned(qint32 key, qint32 delta, qint32 x, qint32 y);
    // Another desk saved a change on the days of notice: the views that show those days ask
    // again for their range, keeping selection and scroll position.
    void otherDeskChanged(const ChangeNotice &notice);

private:
    void createViews();
    void createActions();
    void connectCalendar();
    void connectGantt();
    // The stored row of dsn and, for an occurrence, its series' id and the occurrence's start.
    struct Target
    {
        Appointment row;
        qint64 seriesId = 0;
        Dayplex::Date occurrence = 0;
    };
    std::optional<Target> target(const QString &dsn, const QString &title);
    // SaveAnyway when planned may be written for participants: the shown view's options do not
    // ask for a check, nothing is booked then, or the user says so. "Freien Termin suchen"
    // opens the Gantt view's search from planned's day.
    // A failing read is told as the write's failure (title, consequence) and answers Cancel.
    // Whether overlaps are checked in the shown view, and holidays with them; nothing when not.
    std::optional<bool> overlapCheck() const;
    QVector<Appointment> overlapsOf(const Appointment &planned, const QList<int> &participants, bool holidays) const;
    OverlapAnswer askAboutOverlaps(const QString &subject, const QStringList &lines, const Appointment &planned,
                                   const QList<int> &participants);
    // Before an import is written: true when nothing it brings overlaps, or the user saves anyway.
    bool importClearOfOverlaps(const QString &fileName, const ICalendarImport &read);
    OverlapAnswer clearOfOverlaps(const Appointment &planned, const QList<int> &participants, const QString &title,
                                  const QString &consequence);
    void updateStatus();
    // Runs work at a boundary to the library or the database; failures become a message.
    bool guarded(const QString &title, const std::function<void()> &work,
                 const QString &consequence = QString());
    void noteSkipped(const FillResult &result);
    QString chooseCalendarFile(bool save);
    void refreshForOtherDesks();
    void refreshCalendar();
    void refreshGantt();
    void connectionFailed();
    void tryReconnect();
    QString describe(const Appointment &appointment) const;
    // The form of one occurrence: saving or deleting asks which occurrences it is for.
    void editOccurrence(const Appointment &series, Dayplex::Date occurrence, Appointment shown,
                        const QVector<Participant> &participants);

    Database &m_db;
    HostBridge m_bridge;
    EditHistory m_history;
    View m_view = View::Calendar;
    QStackedWidget *m_stack = nullptr;
    Dayplex::ucAgenda *m_calendar = nullptr;
    Dayplex::ctlGantt *m_gantt = nullptr;
    QLabel *m_rangeLabel = nullptr;
    QLabel *m_databaseLabel = nullptr;
    QToolBar *m_toolBar = nullptr;
    QAction *m_calendarAction = nullptr;
    QAction *m_ganttAction = nullptr;
    QList<QAction *> m_dayActions;
    QString m_lastStatus;
    DialogRunner m_runDialog;
    MessageSink m_message;
    QuestionHandler m_ask;
    ScopeHandler m_askScope;
    OverlapHandler m_askOverlap;
    RefreshObserver m_refreshed;
    // Changes of other desks not shown yet: whether each view must ask again, and the notices.
    bool m_calendarStale = false;
    bool m_ganttStale = false;
    QList<ChangeNotice> m_pendingNotices;
    QTimer *m_refreshTimer = nullptr;
    QTimer *m_reconnectTimer = nullptr;
    bool m_offline = false;
};

} // namespace Terminplaner

#endif

// Soak run of both views: a random host (up to 20,000 appointments) answers NeedDates, and a
// random user clicks, drags, types, scrolls and picks menu commands while the host changes
// ranges, options and data, refreshing even from inside NeedDates. After every step the
// invariants a host relies on are checked; the first violation ends the run with exit code 1.
//
// Usage: soak_views [SECONDS [SEED]]   (defaults: 180 seconds, a seed from the clock)
#include "calendar/ucagenda_p.h"
#include "dialogs/cprintdialog.h"
#include "dialogs/cprintpreview.h"
#include "dialogs/modaldialog.h"
#include "gantt/ctlgantt_p.h"
#include "shared/ctools.h"
#include "../tests/support/pickableactions.h"

#include <dayplex/dayplex.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>

using namespace Dayplex;

namespace {

constexpr double kHour = 1.0 / 24;
constexpr double kMinute = 1.0 / 1440;

class Random
{
public:
    explicit Random(quint64 seed)
        : m_engine(seed)
    {
    }
    int between(int low, int high) // both included
    {
        return std::uniform_int_distribution<int>(low, high)(m_engine);
    }
    double real(double low, double high)
    {
        return std::uniform_real_distribution<double>(low, high)(m_engine);
    }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_engine); }
    template<typename T>
    const T &pick(const QVector<T> &items)
    {
        return items.at(between(0, int(items.size()) - 1));
    }

private:
    std::mt19937_64 m_engine;
};

struct Appointment
{
    QString dsn;
    QString memo;
    QString row; // the Gantt participant
    double start = 0;
    double end = 0;
    bool allDay = false;
    bool readOnly = false;
    bool done = false;
    qint32 back = 0xFFFFFF;
};

QString randomText(Random &rng)
{
    static const QVector<QString> words = {
        QStringLiteral("Besprechung"), QStringLiteral("Kundentermin Müller"),
        QStringLiteral("Straße"), QStringLiteral("Übergabe"), QStringLiteral("a"),
        QStringLiteral("Zeile 1\nZeile 2"), QString(), QStringLiteral("&&|;\t"),
        QStringLiteral("€ ß Ä Ö Ü"), QStringLiteral("sehr langer Text ").repeated(20)};
    return rng.pick(words);
}

class Soak : public QObject
{
public:
    Soak(quint64 seed, qint64 seconds)
        : m_rng(seed), m_seed(seed), m_seconds(seconds)
    {
    }

    int run();

private:
    // Host
    void newData();
    void fillCalendar(double first, double last);
    void fillGantt(double first, double last);
    void onDateChanged(const char *view, const QString &dsn, double start, double end);

    // User and host actions
    void step();
    void gesture(QWidget *surface);
    void keys(QWidget *target);
    void wheel(QWidget *surface);
    void menuCommand(QWidget *view, QWidget *surface);
    void rangeChange();
    void optionsChange();
    void apiPoke();
    void closePopups();

    void check();
    void violation(const QString &what);
    template<typename F>
    void tolerate(F f); // a Dayplex::Error of a random call is an answer, not a fault

    Random m_rng;
    const quint64 m_seed;
    const qint64 m_seconds;
    std::unique_ptr<ucAgenda> m_agenda;
    std::unique_ptr<ctlGantt> m_gantt;
    QVector<Appointment> m_data;
    QVector<QString> m_rows;
    qint32 m_calendarExpected = 0;
    qint32 m_ganttDatesExpected = 0;
    qint32 m_ganttRowsExpected = 0;
    qint64 m_step = 0;
    QString m_lastAction;
    QString m_violation;

    // Figures for the closing line.
    qint64 m_gestures = 0, m_menuCommands = 0, m_needDates = 0, m_dateChanges = 0,
           m_errors = 0, m_maxStore = 0;
};

void Soak::violation(const QString &what)
{
    if (m_violation.isEmpty())
        m_violation = what;
}

template<typename F>
void Soak::tolerate(F f)
{
    try {
        f();
    } catch (const Error &) {
        ++m_errors;
    }
}

void Soak::newData()
{
    static const QVector<int> sizes = {0, 1, 10, 100, 500, 2000, 5000, 20000};
    const int count = m_rng.pick(sizes);
    // Dense sets stay small, so that one day holds at most a few thousand appointments.
    const int span = count > 2000 ? m_rng.between(60, 365) : m_rng.between(1, 60);
    const double base = toDate(QDate(2024, 3, 4)) - m_rng.between(0, 30);
    m_rows.clear();
    const int rows = m_rng.between(0, 200);
    for (int r = 0; r < rows; ++r)
        m_rows.append(QStringLiteral("M%1").arg(r));
    m_data.clear();
    m_data.reserve(count);
    for (int i = 0; i < count; ++i) {
        Appointment a;
        // Duplicate keys happen in real data.
        a.dsn = m_rng.chance(0.02) ? QStringLiteral("DUP") : QStringLiteral("A%1").arg(i);
        a.memo = randomText(m_rng);
        a.row = m_rows.isEmpty() || m_rng.chance(0.02) ? QStringLiteral("nowhere")
                                                       : m_rng.pick(m_rows);
        const double day = base + m_rng.between(0, span);
        a.allDay = m_rng.chance(0.15);
        if (a.allDay) {
            a.start = day;
            a.end = day + m_rng.between(0, 3);
        } else {
            a.start = day + m_rng.between(0, 24 * 12 - 1) * 5 * kMinute;
            // Now and then an end before the start, as hosts deliver them.
            const double length = m_rng.between(1, 72 * 12) * 5 * kMinute;
            a.end = a.start + (m_rng.chance(0.02) ? -kHour : length);
        }
        a.readOnly = m_rng.chance(0.05);
        a.done = m_rng.chance(0.1);
        a.back = m_rng.between(0, 0xFFFFFF);
        m_data.append(a);
    }
}

void Soak::fillCalendar(double first, double last)
{
    ++m_needDates;
    const int mode = m_rng.between(0, 9);
    if (mode == 0)
        m_agenda->Refresh(); // from inside NeedDates, before the data
    const double pad = m_rng.between(0, 2);
    m_agenda->SetFilledRange(first - pad, last + pad);
    m_calendarExpected = ucAgendaPrivate::get(m_agenda.get())->core.data.store.count();
    for (const Appointment &a : std::as_const(m_data)) {
        if (a.end < first - pad || a.start >= last + pad + 1)
            continue;
        m_agenda->AddDate(a.dsn, a.memo, a.start, a.end, a.allDay, 0, a.done, a.back, a.readOnly);
        ++m_calendarExpected;
    }
    if (mode == 1)
        m_agenda->Refresh();
    if (mode == 2) {
        double lastDay = 0;
        const double firstDay = first + m_rng.between(-3, 3);
        m_agenda->SetDisplayedRange(firstDay, &lastDay, m_rng.chance(0.5), true);
    }
}

void Soak::fillGantt(double first, double last)
{
    ++m_needDates;
    const int mode = m_rng.between(0, 9);
    if (mode == 0)
        m_gantt->Refresh();
    m_gantt->SetFilledRange(first, last);
    ctlGanttPrivate *d = ctlGanttPrivate::get(m_gantt.get());
    m_ganttRowsExpected = d->core.model.rowCount();
    m_ganttDatesExpected = d->core.model.dateCount();
    for (const QString &row : std::as_const(m_rows)) {
        m_gantt->AddMerkmal(QStringLiteral("Teilnehmer ") + row, row);
        ++m_ganttRowsExpected;
    }
    for (const Appointment &a : std::as_const(m_data)) {
        if (a.end < first || a.start >= last + 1)
            continue;
        m_gantt->AddDate(a.dsn, a.memo, a.start, a.end, a.allDay, 0, a.done, a.back, a.readOnly,
                         a.row, m_rng.chance(0.05));
        ++m_ganttDatesExpected;
    }
    if (mode == 1)
        m_gantt->Refresh();
}

void Soak::onDateChanged(const char *view, const QString &dsn, double start, double end)
{
    ++m_dateChanges;
    if (!(start <= end))
        violation(QStringLiteral("%1: DateChanged for '%2' starts after its end (%3 > %4)")
                      .arg(QLatin1String(view), dsn)
                      .arg(start, 0, 'f', 6)
                      .arg(end, 0, 'f', 6));
    // The host stores the move, and sometimes reloads at once.
    for (Appointment &a : m_data) {
        if (a.dsn == dsn) {
            a.start = start;
            a.end = end;
            break;
        }
    }
}

void Soak::closePopups()
{
    for (int guard = 0; guard < 10; ++guard) {
        QWidget *popup = QApplication::activePopupWidget();
        if (!popup)
            break;
        popup->close();
    }
}

void Soak::gesture(QWidget *surface)
{
    ++m_gestures;
    const QSize size = surface->size();
    if (size.isEmpty())
        return;
    auto point = [&] {
        // Mostly inside, now and then just outside the surface.
        return QPoint(m_rng.between(-20, size.width() + 20),
                      m_rng.between(-20, size.height() + 20));
    };
    static const QVector<Qt::MouseButton> buttons = {Qt::LeftButton, Qt::LeftButton,
                                                     Qt::LeftButton, Qt::RightButton,
                                                     Qt::MiddleButton};
    const Qt::MouseButton button = m_rng.pick(buttons);
    Qt::KeyboardModifiers modifiers;
    if (m_rng.chance(0.1))
        modifiers |= Qt::ShiftModifier;
    if (m_rng.chance(0.1))
        modifiers |= Qt::ControlModifier;
    QPoint at = point();
    if (m_rng.chance(0.15)) {
        QTest::mouseDClick(surface, button, modifiers, at);
        return;
    }
    QTest::mousePress(surface, button, modifiers, at);
    const int moves = m_rng.between(0, 8);
    for (int i = 0; i < moves; ++i) {
        at += QPoint(m_rng.between(-60, 60), m_rng.between(-60, 60));
        QTest::mouseMove(surface, at);
        if (m_rng.chance(0.2))
            QTest::qWait(m_rng.between(0, 60)); // lets the auto-scroll timer run
    }
    // Now and then the release never comes (focus lost, window closed under the mouse).
    if (!m_rng.chance(0.03))
        QTest::mouseRelease(surface, button, modifiers, at);
}

void Soak::keys(QWidget *target)
{
    static const QVector<Qt::Key> keyList = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                                             Qt::Key_Down, Qt::Key_Escape, Qt::Key_Return,
                                             Qt::Key_Delete, Qt::Key_PageUp, Qt::Key_PageDown,
                                             Qt::Key_Home, Qt::Key_End, Qt::Key_Space,
                                             Qt::Key_A, Qt::Key_F4};
    const int count = m_rng.between(1, 6);
    for (int i = 0; i < count; ++i) {
        Qt::KeyboardModifiers modifiers;
        if (m_rng.chance(0.15))
            modifiers |= Qt::ShiftModifier;
        if (m_rng.chance(0.1))
            modifiers |= Qt::ControlModifier;
        QTest::keyClick(target, m_rng.pick(keyList), modifiers);
    }
}

void Soak::wheel(QWidget *surface)
{
    const QPointF at(m_rng.between(0, qMax(1, surface->width())),
                     m_rng.between(0, qMax(1, surface->height())));
    const int delta = m_rng.pick(QVector<int>{120, -120, 360, -360, 40, -7, 1200});
    QWheelEvent event(at, surface->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      m_rng.chance(0.2) ? Qt::ControlModifier : Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(surface, &event);
}

void Soak::menuCommand(QWidget *view, QWidget *surface)
{
    // Opened the way a user opens it: a right click on the picture.
    QMenu *menu = nullptr;
    for (int attempt = 0; attempt < 4 && !menu; ++attempt) {
        const QPoint at(m_rng.between(0, qMax(1, surface->width() - 1)),
                        m_rng.between(0, qMax(1, surface->height() - 1)));
        QTest::mouseClick(surface, Qt::RightButton, Qt::NoModifier, at);
        menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    }
    if (!menu) {
        // Where the click hit no region, open it as the press would.
        menu = view->findChild<QMenu *>(QStringLiteral("mnuPopUp"));
        if (!menu)
            return;
        menu->popup(view->mapToGlobal(QPoint(10, 10)));
    }
    QVector<QAction *> actions;
    Dayplex::Testing::collectPickableActions(menu, actions);
    if (actions.isEmpty()) {
        closePopups();
        return;
    }
    ++m_menuCommands;
    QAction *action = m_rng.pick(actions);
    m_lastAction += QStringLiteral(" [menu %1]").arg(action->objectName());
    const QRect where = menu->actionGeometry(action);
    if (action->parent() == menu && menu->isVisible() && !where.isEmpty())
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, where.center());
    else
        action->trigger();
    // A drop-down the command opened gets a random click before it goes.
    if (QWidget *popup = QApplication::activePopupWidget(); popup && m_rng.chance(0.5)) {
        QTest::mouseClick(popup, Qt::LeftButton, Qt::NoModifier,
                          QPoint(m_rng.between(0, qMax(1, popup->width() - 1)),
                                 m_rng.between(0, qMax(1, popup->height() - 1))));
    }
    closePopups();
}

void Soak::rangeChange()
{
    const double base = toDate(QDate(2024, 3, 4)) + m_rng.between(-40, 40);
    const bool byDefault = m_rng.chance(0.3), align = m_rng.chance(0.7);
    switch (m_rng.between(0, 7)) {
    case 0: {
        double last = base + m_rng.between(-2, 20);
        tolerate([&] { m_agenda->SetDisplayedRange(base, &last, byDefault, align); });
        break;
    }
    case 1:
        tolerate([&] { m_agenda->Scroll(m_rng.pick(QVector<int>{1, -1, 7, -7, 0, 3})); });
        break;
    case 2:
        tolerate([&] { m_agenda->Refresh(); });
        break;
    case 3: {
        double last = base + m_rng.between(-2, 120);
        tolerate([&] { m_gantt->SetDisplayedRange(base, &last, byDefault, align); });
        break;
    }
    case 4:
        tolerate([&] { m_gantt->Scroll(m_rng.pick(QVector<int>{1, -1, 7, -7, 0, 999})); });
        break;
    case 5:
        tolerate([&] { m_gantt->Refresh(); });
        break;
    case 6:
        tolerate([&] { m_agenda->setAlignOnWeekday(m_rng.between(0, 7)); });
        tolerate([&] { m_gantt->setAlignOnWeekday(m_rng.between(0, 7)); });
        break;
    default:
        m_agenda->Enabled = m_rng.chance(0.9);
        m_gantt->Enabled = m_rng.chance(0.9);
        break;
    }
}

void Soak::optionsChange()
{
    using Kind = cContainer::Kind;
    static const QVector<int> minutes = {5, 6, 10, 15, 30, 60};
    switch (m_rng.between(0, 4)) {
    case 0: {
        cContainer options;
        options.setContainerString(m_agenda->Options());
        cContainer screen;
        screen.setContainerString(options.textValue(QStringLiteral("strLayoutScreenCalendar")));
        screen.setValue(QStringLiteral("strAufloesung"),
                        QStringLiteral("%1 Minuten").arg(m_rng.pick(minutes)), Kind::Text);
        screen.setValue(QStringLiteral("timeStartZeit"), m_rng.between(0, 20) * kHour, Kind::Date);
        screen.setValue(QStringLiteral("lngHoeheTerminzelle"), m_rng.between(1, 6), Kind::Integer);
        screen.setValue(QStringLiteral("lngHoeheTagestermin"), m_rng.between(1, 5), Kind::Integer);
        screen.setValue(QStringLiteral("lngAnzahlTage"), m_rng.between(1, 14), Kind::Integer);
        cContainer change;
        change.setValue(QStringLiteral("strLayoutScreenCalendar"), screen.ContainerString(),
                        Kind::Text);
        change.setValue(QStringLiteral("blnGermanLegalHolidays"), m_rng.chance(0.7), Kind::Boolean);
        change.setValue(QStringLiteral("blnConfirmChanges"), m_rng.chance(0.5), Kind::Boolean);
        tolerate([&] { m_agenda->setOptions(change.ContainerString()); });
        break;
    }
    case 1: {
        cContainer change;
        change.setValue(QStringLiteral("blnGermanLegalHolidays"), m_rng.chance(0.7), Kind::Boolean);
        change.setValue(QStringLiteral("blnConfirmChanges"), m_rng.chance(0.5), Kind::Boolean);
        tolerate([&] { m_gantt->setOptions(change.ContainerString()); });
        tolerate([&] { m_gantt->setOptimaleZeilenhoehe(m_rng.chance(0.5)); });
        break;
    }
    case 2:
        // The host's duty after a raster change: SetDisplayedRange rebuilds the cell matrix.
        tolerate([&] { m_agenda->setTimeRaster(m_rng.pick(minutes) * kMinute); });
        tolerate([&] { m_agenda->Refresh(); });
        break;
    case 3:
        tolerate([&] { m_agenda->ShowOptionsDialog(); });
        break;
    default:
        tolerate([&] { m_gantt->ShowOptionsDialog(); });
        break;
    }
}

void Soak::apiPoke()
{
    const double day = toDate(QDate(2024, 3, 4)) + m_rng.between(-10, 20);
    const double at = day + m_rng.between(0, 287) * 5 * kMinute;
    switch (m_rng.between(0, 9)) {
    case 0:
        if (!m_data.isEmpty())
            tolerate([&] { m_agenda->setSelectedDate(m_rng.pick(m_data).dsn); });
        break;
    case 1:
        tolerate([&] { m_agenda->SelectedDateMove(at, m_rng.between(0, 3)); });
        break;
    case 2:
        tolerate([&] { m_agenda->PrintCalendar(m_rng.chance(0.5)); });
        break;
    case 3:
        if (!m_data.isEmpty())
            tolerate([&] { m_gantt->setSelectedDate(m_rng.pick(m_data).dsn); });
        break;
    case 4:
        tolerate([&] { m_gantt->SelectedDateMove(at, m_rng.between(0, 3)); });
        break;
    case 5:
        tolerate([&] { m_gantt->FreienTerminSuchen(at); });
        break;
    case 6:
        tolerate([&] { m_gantt->PrintGantt(m_rng.chance(0.5)); });
        break;
    case 7: {
        const double end = at + m_rng.between(1, 48) * 30 * kMinute;
        tolerate([&] { m_gantt->TerminVorSchlagEintragen(at, end); });
        break;
    }
    case 8: {
        QWidget *view = m_rng.chance(0.5) ? static_cast<QWidget *>(m_agenda.get()) : m_gantt.get();
        view->resize(m_rng.between(0, 1400), m_rng.between(0, 1000));
        break;
    }
    default:
        QTest::qWait(m_rng.between(1, 80));
        break;
    }
}

void Soak::step()
{
    QWidget *calendarSurface = m_agenda->findChild<QWidget *>(QStringLiteral("pic"));
    QWidget *ganttSurface = m_gantt->findChild<QWidget *>(QStringLiteral("calpic"));
    if (!calendarSurface)
        calendarSurface = m_agenda.get();
    if (!ganttSurface)
        ganttSurface = m_gantt.get();

    const int action = m_rng.between(0, 99);
    m_lastAction = QStringLiteral("action %1").arg(action);
    if (action < 28)
        gesture(calendarSurface);
    else if (action < 46)
        gesture(ganttSurface);
    else if (action < 54)
        keys(m_rng.chance(0.5) ? calendarSurface : ganttSurface);
    else if (action < 58)
        wheel(m_rng.chance(0.5) ? calendarSurface : ganttSurface);
    else if (action < 64)
        menuCommand(m_agenda.get(), calendarSurface);
    else if (action < 70)
        menuCommand(m_gantt.get(), ganttSurface);
    else if (action < 80)
        rangeChange();
    else if (action < 83) {
        newData();
        tolerate([&] { m_agenda->Refresh(); });
        tolerate([&] { m_gantt->Refresh(); });
    } else if (action < 88)
        optionsChange();
    else
        apiPoke();
    closePopups();
    QCoreApplication::processEvents();
}

void Soak::check()
{
    ucAgendaPrivate *a = ucAgendaPrivate::get(m_agenda.get());
    const qint32 stored = a->core.data.store.count();
    m_maxStore = qMax<qint64>(m_maxStore, stored);
    if (stored != m_calendarExpected)
        violation(QStringLiteral("calendar holds %1 appointments, the host delivered %2")
                      .arg(stored).arg(m_calendarExpected));
    const double first = m_agenda->FirstDay(), last = m_agenda->LastDay();
    if (!isValidDate(first) || !isValidDate(last) || !(first <= last) || last - first > 13)
        violation(QStringLiteral("calendar shows %1 .. %2").arg(first).arg(last));
    if (a->core.selection.index < 0 || a->core.selection.index > stored)
        violation(QStringLiteral("calendar selects entry %1 of %2").arg(a->core.selection.index).arg(stored));
    const QString selected = m_agenda->SelectedDate();
    if (!selected.isEmpty() && (a->core.selection.index < 1 || a->core.data.store.at(a->core.selection.index).dsn != selected))
        violation(QStringLiteral("calendar: SelectedDate '%1' is not the selected entry")
                      .arg(selected));
    if (m_agenda->SelectionStart() == 0 && m_agenda->SelectionEnd() != 0)
        violation(QStringLiteral("calendar: a selection end without a start"));
    if (a->core.gesture.state() == CalendarGesture::Idle && m_agenda->SelectionStart() > 0
        && !(m_agenda->SelectionStart() <= m_agenda->SelectionEnd()))
        violation(QStringLiteral("calendar: the time selection ends before it starts"));
    if (!(m_agenda->TimeRaster() >= kMinute - 1e-9 && m_agenda->TimeRaster() <= 1))
        violation(QStringLiteral("calendar: raster %1").arg(m_agenda->TimeRaster()));

    ctlGanttPrivate *g = ctlGanttPrivate::get(m_gantt.get());
    m_maxStore = qMax<qint64>(m_maxStore, g->core.model.dateCount());
    if (g->core.model.dateCount() != m_ganttDatesExpected || g->core.model.rowCount() != m_ganttRowsExpected)
        violation(QStringLiteral("Gantt holds %1 bars in %2 rows, the host delivered %3 in %4")
                      .arg(g->core.model.dateCount()).arg(g->core.model.rowCount())
                      .arg(m_ganttDatesExpected).arg(m_ganttRowsExpected));
    const double gFirst = m_gantt->FirstDay(), gLast = m_gantt->LastDay();
    if (!isValidDate(gFirst) || !isValidDate(gLast) || !(cTools::DateOnly(gFirst) <= gLast)
        || gLast - gFirst > 101)
        violation(QStringLiteral("Gantt shows %1 .. %2").arg(gFirst).arg(gLast));
    m_gantt->isSelectedReadOnly();
}

int Soak::run()
{
    // Nothing may wait for a user: every modal window is answered at random.
    setModalRunner([this](QDialog &dialog) {
        const char *button = m_rng.chance(0.5) ? "cmdOK" : "cmdCancel";
        if (auto *b = dialog.findChild<QPushButton *>(QLatin1String(button)))
            b->click();
        else
            dialog.reject();
    });
    cPrintDialog::setHandler([this](cPrintDialog &) { return m_rng.chance(0.3); });
    cPrintPreview::setHandler([](cPrintPreview &preview) { preview.page(); });
    cTools::setPromptHandler([this](const Prompt &) { return m_rng.chance(0.5); });

    m_agenda = std::make_unique<ucAgenda>();
    m_gantt = std::make_unique<ctlGantt>();
    connect(m_agenda.get(), &ucAgenda::NeedDates, this,
            [this](double first, double last, const QString &) { fillCalendar(first, last); });
    connect(m_gantt.get(), &ctlGantt::NeedDates, this,
            [this](double first, double last, const QString &) { fillGantt(first, last); });
    connect(m_agenda.get(), &ucAgenda::DateChanged, this,
            [this](const QString &dsn, double s, double e) {
                onDateChanged("calendar", dsn, s, e);
            });
    connect(m_gantt.get(), &ctlGantt::DateChanged, this,
            [this](const QString &dsn, double s, double e) { onDateChanged("Gantt", dsn, s, e); });
    // A host that reloads when the user asks for a new appointment or another filter.
    connect(m_agenda.get(), &ucAgenda::NewDate, this, [this] {
        if (m_rng.chance(0.5))
            tolerate([&] { m_agenda->Refresh(); });
    });
    connect(m_gantt.get(), &ctlGantt::ChangeFilter, this, [this] {
        if (!m_rows.isEmpty())
            m_rows.removeLast();
        tolerate([&] { m_gantt->Refresh(); });
    });

    newData();
    m_agenda->resize(900, 700);
    m_gantt->resize(1000, 500);
    m_agenda->show();
    m_gantt->show();
    m_agenda->Enabled = true;
    m_gantt->Enabled = true;
    m_agenda->setAlignOnWeekday(2);
    double last = 0;
    m_agenda->SetDisplayedRange(toDate(QDate(2024, 3, 4)), &last, true, true);
    last = 0;
    m_gantt->SetDisplayedRange(toDate(QDate(2024, 3, 4)), &last, true, true);

    std::printf("soak: seed %llu, %lld seconds\n", static_cast<unsigned long long>(m_seed),
                static_cast<long long>(m_seconds));
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    qint64 nextReport = 30000;
    while (clock.elapsed() < m_seconds * 1000) {
        ++m_step;
        step();
        check();
        if (!m_violation.isEmpty()) {
            std::printf("soak: VIOLATION at step %lld (seed %llu, %s): %s\n",
                        static_cast<long long>(m_step), static_cast<unsigned long long>(m_seed),
                        qPrintable(m_lastAction), qPrintable(m_violation));
            return 1;
        }
        if (clock.elapsed() > nextReport) {
            std::printf("soak: %lld s, %lld steps, largest store %lld\n",
                        static_cast<long long>(clock.elapsed() / 1000),
                        static_cast<long long>(m_step), static_cast<long long>(m_maxStore));
            std::fflush(stdout);
            nextReport += 30000;
        }
    }
    std::printf("soak: passed: %lld steps in %lld s, %lld gestures, %lld menu commands, "
                "%lld NeedDates, %lld DateChanged, %lld refused calls, largest store %lld\n",
                static_cast<long long>(m_step), static_cast<long long>(clock.elapsed() / 1000),
                static_cast<long long>(m_gestures), static_cast<long long>(m_menuCommands),
                static_cast<long long>(m_needDates), static_cast<long long>(m_dateChanges),
                static_cast<long long>(m_errors), static_cast<long long>(m_maxStore));
    return 0;
}

// Qt's warnings about odd sizes would drown the report; fatal messages still end the run.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const qint64 seconds = args.size() > 1 ? args.at(1).toLongLong() : 180;
    const quint64 seed = args.size() > 2 ? args.at(2).toULongLong()
                                         : quint64(QDateTime::currentMSecsSinceEpoch());
    Soak soak(seed, seconds > 0 ? seconds : 180);
    return soak.run();
}

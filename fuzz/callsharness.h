#ifndef DAYPLEX_FUZZ_CALLSHARNESS_H
#define DAYPLEX_FUZZ_CALLSHARNESS_H

// Runs one program of public calls on both views, interleaved with what a user and a window
// system do to them, and with host handlers that call back into a view from its events.
// Shared by the fuzzer and the regression test, so that a kept program runs exactly as found.
// Header-only, like the options harness.
//
// One statement a line, tokens separated by blanks; a line starting with # is a comment.
//   a|g m|get|put <dispid> <args...>   a call by dispatch id on the calendar (a) or Gantt (g)
//   on a|g <event id>                  the lines after it that start with > are the host's
//   > <statement>                      handler of that event, run each time it is raised
//   size a|g <w> <h>     paint a|g     target a|g <child object name>   (default: the picture)
//   press|release|click|dclick a|g <x> <y> [l|r|m] [s|c|a]    move a|g <x> <y> [s|c|a]
//   wheel a|g <x> <y> <delta> [s|c]    key a|g <key code or name> [s|c|a]
//   bar a|g HScroll|VScroll <value>    menu <n> (picks the n-th command of the open menu)
//   tick a|g (fires the view's running timers once)    wait <ms>    answer yes|no
// A wait delivers what is pending without sleeping: no timer of the views runs within the
// longest wait (the calendar's auto scroll takes 100 ms; tick fires it).
// Arguments: a number (also nan, inf, -inf, 1e308), i<n> a whole number, t / f, _ (nothing),
// "text (to the end of the token, "" is empty), *<n><c> the letter c n times, P a painter on a
// page, P0 no painter, and in a handler $<k> or $<k>+<number>: the event's k-th argument.

#include "dialogs/cprintdialog.h"
#include "dialogs/cprintpreview.h"
#include "shared/clock.h"
#include "shared/ctools.h"
#include "../tests/support/pickableactions.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/dates.h>
#include <dayplex/dispatch.h>
#include <dayplex/error.h>
#include <dayplex/modal.h>
#include <dayplex/ucagenda.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QCursor>
#include <QDateTimeEdit>
#include <QDialog>
#include <QHash>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <memory>
#include <utility>

namespace DayplexFuzz {

using namespace Dayplex;

// What a program may spend: statements (handler lines included), of them paints, resizes and
// user input, handler nesting, the size of a text and of a view. Beyond them a run would only
// measure the host's patience.
constexpr int kMaxStatements = 1000;
constexpr int kMaxUserStatements = 60;
constexpr int kMaxHandlerDepth = 3;
constexpr int kMaxTextLength = 100000;
constexpr int kMaxViewSize = 1600;

// Fresh views are built for one program and go with it, as a host would start; kept views are
// built once and brought back to rest after every program, which saves building, showing and
// destroying two windows per program under the sanitizers (the fuzzer). A program runs the
// same on either; a view that does not come back to rest is built anew.
enum class Views { Fresh, Kept };

// Where the pointer waits between programs: off every window.
inline const QPoint kRestingPointer(-1000, -1000);
constexpr int kRestingWidth = 480;
constexpr int kRestingHeight = 320;
// The part of a drawing surface a paint after a statement exposes.
inline constexpr QSize kPaintedCorner(64, 48);

// What a new view shows that a program may change through the views' own members.
struct AgendaRest
{
    QString options;
    double timeRaster = 0;
    double firstDay = 0;
    double lastDay = 0;
    double firstTime = 0;
    qint32 dayInfoHeight = 0;
    qint32 minDateHeight = 0;
    bool confirmChanges = false;
};

// The search panel's fields: a program may type into them or search from them while the
// panel is closed, and the next search starts from what they hold.
struct PanelFields
{
    QString days;
    QVector<QDateTime> pickers; // in the order findChildren gives them
    bool weekends = false;
};

struct GanttRest
{
    QString options;
    double startDate = 0;
    double endDate = 0;
    PanelFields panel;
};

inline PanelFields fieldsOf(ctlGantt &g)
{
    PanelFields fields;
    if (auto *days = g.findChild<QLineEdit *>(QStringLiteral("txtTage")))
        fields.days = days->text();
    for (const QDateTimeEdit *picker : g.findChildren<QDateTimeEdit *>())
        fields.pickers << picker->dateTime();
    if (auto *weekends = g.findChild<QCheckBox *>(QStringLiteral("chkWochenende")))
        fields.weekends = weekends->isChecked();
    return fields;
}

// Typed back as a user would; the start day goes elsewhere first, so that its edit tells the
// view to search afresh.
inline void restoreFields(ctlGantt &g, const PanelFields &fields)
{
    if (auto *days = g.findChild<QLineEdit *>(QStringLiteral("txtTage")))
        days->setText(fields.days);
    const QList<QDateTimeEdit *> pickers = g.findChildren<QDateTimeEdit *>();
    for (int i = 0; i < pickers.size() && i < fields.pickers.size(); ++i) {
        pickers.at(i)->setDateTime(fields.pickers.at(i).addDays(1));
        pickers.at(i)->setDateTime(fields.pickers.at(i));
    }
    if (auto *weekends = g.findChild<QCheckBox *>(QStringLiteral("chkWochenende")))
        weekends->setChecked(fields.weekends);
}

inline AgendaRest restOf(ucAgenda &a)
{
    return AgendaRest{a.Options(), a.TimeRaster(), a.FirstDay(), a.LastDay(), a.FirstTime(),
                      a.DayInfoHeight(), a.MinDateHeight(), a.ConfirmChanges()};
}

inline GanttRest restOf(ctlGantt &g)
{
    return GanttRest{g.Options(), g.mStartDate, g.mEndDate, fieldsOf(g)};
}

// Puts back what a program changed through the members; the host's handlers are gone by then,
// so that nothing of this reaches them.
inline void bringToRest(ucAgenda &a, const AgendaRest &rest)
{
    a.Enabled = false;
    a.ForPrinting = false;
    a.StopAutoScroll();
    if (auto *picker = a.findChild<QWidget *>(QStringLiteral("ccrpDtp")))
        picker->hide();
    a.DrawDragDrop(0, 0, 0, 0);
    a.MousePointer(0);
    a.setPresentation(Presentation::Classic);
    a.setPrintPresentation(Presentation::Classic);
    a.SetFilledRange(0, 0);
    a.Clear();
    a.setAlignOnWeekday(0);
    // Parsing the options is a tenth of a program; most programs leave them as they were.
    if (a.Options() != rest.options)
        a.setOptions(rest.options);
    a.setTimeRaster(rest.timeRaster);
    // Another range first, so that cell colours set for the days go with them.
    double lastDay = rest.lastDay + 14;
    a.SetDisplayedRange(rest.firstDay + 14, &lastDay, false, true);
    lastDay = rest.lastDay;
    a.SetDisplayedRange(rest.firstDay, &lastDay, false, true);
    a.setDayInfoHeight(rest.dayInfoHeight);
    a.setMinDateHeight(rest.minDateHeight);
    a.setFirstTime(rest.firstTime);
    a.setConfirmChanges(rest.confirmChanges);
    a.setSelectionStart(0);
}

inline void bringToRest(ctlGantt &g, const GanttRest &rest)
{
    g.Enabled = false;
    g.ForPrinting = false;
    auto *panel = g.findChild<QWidget *>(QStringLiteral("frmTerminSuchen"));
    if (auto *close = g.findChild<QAbstractButton *>(QStringLiteral("cmdClose")); close && panel && panel->isVisibleTo(&g))
        close->click();
    if (auto *picker = g.findChild<QWidget *>(QStringLiteral("ccrpDtp")))
        picker->hide();
    g.MousePointer(0);
    g.setPresentation(Presentation::Classic);
    g.setPrintPresentation(Presentation::Classic);
    g.SetFilledRange(0, 0);
    g.Clear();
    g.setAlignOnWeekday(0);
    if (g.Options() != rest.options)
        g.setOptions(rest.options);
    g.setOptimaleZeilenhoehe(false);
    g.mStartDate = rest.startDate;
    g.mEndDate = rest.endDate;
    restoreFields(g, rest.panel);
    // A new view knows no moment under the mouse: the pointer leaves over the left edge,
    // left of any name column, where the chart names none.
    if (auto *chart = g.findChild<QWidget *>(QStringLiteral("calpic"))) {
        QMouseEvent leave(QEvent::MouseMove, QPointF(-1, -1), chart->mapToGlobal(QPointF(-1, -1)),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(chart, &leave);
    }
}

// How a view and its children look from outside: its properties, and every child's kind,
// name, place, visibility, focus, pointer and value. Equal for a view at rest and a new one.
inline QString signatureOf(QWidget &view)
{
    QStringList parts;
    const QMetaObject *meta = view.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        parts << QString::fromLatin1(meta->property(i).name()) + QLatin1Char('=')
                     + meta->property(i).read(&view).toString();
    if (auto *a = qobject_cast<ucAgenda *>(&view))
        parts << QString::number(int(a->presentation())) + QString::number(int(a->printPresentation()));
    if (auto *g = qobject_cast<ctlGantt *>(&view))
        parts << QString::number(int(g->presentation())) + QString::number(int(g->printPresentation()));
    const QList<QWidget *> children = view.findChildren<QWidget *>();
    for (QWidget *w : children) {
        // A hidden child is laid out and filled again when it shows.
        if (!w->isVisibleTo(&view))
            continue;
        QString part = QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ')
                       + w->objectName() + QLatin1Char(' ');
        const QRect r = w->geometry();
        part += QStringLiteral("%1,%2 %3x%4 e%5 f%6 c%7")
                    .arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())
                    .arg(w->isEnabled()).arg(w->hasFocus())
                    .arg(w->testAttribute(Qt::WA_SetCursor) ? int(w->cursor().shape()) : -1);
        if (auto *slider = qobject_cast<QAbstractSlider *>(w))
            part += QStringLiteral(" %1 %2..%3/%4").arg(slider->value()).arg(slider->minimum())
                        .arg(slider->maximum()).arg(slider->pageStep());
        if (auto *label = qobject_cast<QLabel *>(w))
            part += QLatin1Char(' ') + label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            part += QLatin1Char(' ') + button->text() + QString::number(button->isChecked());
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            part += QLatin1Char(' ') + edit->text();
        if (auto *calendar = qobject_cast<QCalendarWidget *>(w))
            part += QLatin1Char(' ') + calendar->selectedDate().toString(Qt::ISODate)
                    + QString::number(calendar->monthShown());
        parts << part;
    }
    return parts.join(QLatin1Char('\n'));
}

// A hidden view keeps its children where a program's size left them until it shows again: the
// resize is delivered now, as a new view at rest had it.
inline void restingSize(QWidget &view)
{
    view.resize(kRestingWidth, kRestingHeight);
    if (!view.testAttribute(Qt::WA_PendingResizeEvent))
        return;
    QResizeEvent resize(view.size(), view.size());
    QApplication::sendEvent(&view, &resize);
    view.setAttribute(Qt::WA_PendingResizeEvent, false);
}

// A new view is shown and hidden once, so that its window exists: a view that never had one
// is laid out anew for every picture, which costs a quarter of a program.
inline void showOnce(QWidget &view)
{
    view.resize(kRestingWidth, kRestingHeight);
    view.show();
    QCoreApplication::processEvents();
    view.hide();
    QCoreApplication::processEvents();
}

// The fuzzer's two views, built on first use and kept from one program to the next.
class KeptViews
{
public:
    ucAgenda *agenda()
    {
        if (!m_agenda) {
            m_agenda = new ucAgenda;
            m_agendaRest = restOf(*m_agenda);
            m_agendaSignature = firstSignature(*m_agenda);
        }
        return m_agenda;
    }

    ctlGantt *gantt()
    {
        if (!m_gantt) {
            m_gantt = new ctlGantt;
            m_ganttRest = restOf(*m_gantt);
            m_ganttSignature = firstSignature(*m_gantt);
        }
        return m_gantt;
    }

    const AgendaRest &agendaRest() const { return m_agendaRest; }
    const GanttRest &ganttRest() const { return m_ganttRest; }

    // After a program: a view that does not look as it did new is built anew for the next one.
    void keepIfAtRest()
    {
        if (m_agenda && signatureOf(*m_agenda) != m_agendaSignature)
            delete m_agenda.data();
        if (m_gantt && signatureOf(*m_gantt) != m_ganttSignature)
            delete m_gantt.data();
    }

private:
    static QString firstSignature(QWidget &view)
    {
        showOnce(view);
        return signatureOf(view);
    }

    QPointer<ucAgenda> m_agenda;
    QPointer<ctlGantt> m_gantt;
    AgendaRest m_agendaRest;
    GanttRest m_ganttRest;
    QString m_agendaSignature;
    QString m_ganttSignature;
};

inline KeptViews &keptViews()
{
    // Never destroyed, like the fuzzer's application.
    static KeptViews *const views = new KeptViews;
    return *views;
}

struct Statement
{
    QStringList tokens;
};

class CallProgram
{
public:
    explicit CallProgram(const QByteArray &source, bool record = false)
        : m_record(record || tracing())
    {
        const QList<QByteArray> lines = source.split('\n');
        QVector<Statement> *handler = nullptr;
        for (const QByteArray &raw : lines) {
            const QString line = QString::fromUtf8(raw).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            if (line.startsWith(QLatin1Char('>'))) {
                const QStringList tokens = split(line.mid(1));
                if (handler && !tokens.isEmpty())
                    handler->append(Statement{tokens});
                continue;
            }
            const QStringList tokens = split(line);
            if (tokens.size() == 3 && tokens.at(0) == QLatin1String("on")) {
                m_handlers.append(Handler{tokens.at(1), number(tokens.at(2)), {}});
                handler = &m_handlers.last().body;
                continue;
            }
            handler = nullptr;
            m_main.append(Statement{tokens});
        }
    }

    // Empty when the views kept every promise; otherwise the first broken one.
    QString run(Views views)
    {
        setCurrentDateTimeForTesting(toDate(QDate(2026, 12, 7)) + 7.0 / 24);
        const ModalRunner runner = setModalRunner([this](QDialog &dialog) { answer(dialog); });
        const cPrintDialog::Handler print = cPrintDialog::setHandler(cPrintDialog::cancel());
        const cPrintPreview::Handler preview =
            cPrintPreview::setHandler([](cPrintPreview &p) { p.page(); });
        const PromptHandler prompt = setPromptHandler([this](const Prompt &) { return m_yes; });
        startFromRest();

        {
            // Only the views the program names take part; fresh ones are built for it alone.
            const bool a = names(QStringLiteral("a")), g = names(QStringLiteral("g"));
            std::unique_ptr<ucAgenda> freshAgenda;
            std::unique_ptr<ctlGantt> freshGantt;
            if (views == Views::Fresh) {
                freshAgenda.reset(a ? new ucAgenda : nullptr);
                freshGantt.reset(g ? new ctlGantt : nullptr);
                m_agenda = freshAgenda.get();
                m_gantt = freshGantt.get();
                if (m_agenda) {
                    showOnce(*m_agenda);
                    m_agendaRest = restOf(*m_agenda);
                }
                if (m_gantt) {
                    showOnce(*m_gantt);
                    m_ganttRest = restOf(*m_gantt);
                }
            } else {
                m_agenda = a ? keptViews().agenda() : nullptr;
                m_gantt = g ? keptViews().gantt() : nullptr;
                m_agendaRest = keptViews().agendaRest();
                m_ganttRest = keptViews().ganttRest();
            }
            auto context = std::make_unique<QObject>();
            for (const Handler &h : std::as_const(m_handlers))
                connectHandler(h, *context);
            QVector<QWidget *> named;
            if (m_agenda)
                named << m_agenda;
            if (m_gantt)
                named << m_gantt;
            // The views are never shown: a window paints its scroll bars and frames anew and
            // flushes them, which cost most of a program. Their drawing surfaces paint after
            // every statement instead, and where the program asks, also inside a handler.
            for (QWidget *view : std::as_const(named))
                view->setGeometry(view == m_agenda ? 0 : 2 * kMaxViewSize, 0, kRestingWidth, kRestingHeight);
            if (m_agenda)
                m_target[0] = m_agenda->findChild<QWidget *>(QStringLiteral("pic"));
            if (m_gantt)
                m_target[1] = m_gantt->findChild<QWidget *>(QStringLiteral("calpic"));
            m_surface[0] = m_target[0];
            m_surface[1] = m_target[1];
            paintSurfaces();
            for (const Statement &s : std::as_const(m_main)) {
                if (!m_problem.isEmpty() || m_budget <= 0)
                    break;
                execute(s, {});
                if (m_problem.isEmpty())
                    checkViews();
                paintSurfaces();
            }
            closePopups();
            if (m_problem.isEmpty()) {
                try {
                    if (m_agenda)
                        note(m_agenda->paintToImage(QSize(300, 200)));
                    if (m_gantt)
                        note(m_gantt->paintToImage(QSize(300, 200)));
                } catch (...) {
                    m_problem = QStringLiteral("a paint after the program threw");
                }
            }
            // Part of every program, fresh or kept, so that a fault on the way back to rest
            // replays in a fresh process as well.
            comeToRest(context, named);
            if (views == Views::Kept && m_problem.isEmpty())
                keptViews().keepIfAtRest();
            m_agenda = nullptr;
            m_gantt = nullptr;
        }
        setPromptHandler(prompt);
        cPrintPreview::setHandler(preview);
        cPrintDialog::setHandler(print);
        setModalRunner(runner);
        return m_problem;
    }

    // What the program showed: every answer, refusal and final picture, for comparing runs.
    quint64 fingerprint() const { return m_fingerprint; }

private:
    // What every program finds outside the views: no button held, the pointer off the windows,
    // no help file named.
    static void startFromRest()
    {
        QTestPrivate::qtestMouseButtons = Qt::NoButton;
        QCursor::setPos(kRestingPointer);
        qApp->setProperty("helpFile", QVariant());
    }

    // The end of every program: buttons let go, pop-ups closed, the handlers gone, the views
    // back at rest and without focus, and every event the program left delivered.
    void comeToRest(std::unique_ptr<QObject> &context, const QVector<QWidget *> &named)
    {
        const QString problem = m_problem;
        guard(QStringLiteral("coming to rest"), [&] {
            letGoOfHeldButtons();
            closePopups();
            context.reset();
            for (QWidget *view : named) {
                restingSize(*view);
                if (QWidget *focus = view->focusWidget())
                    focus->clearFocus();
                if (auto *a = qobject_cast<ucAgenda *>(view))
                    bringToRest(*a, m_agendaRest);
                else if (auto *g = qobject_cast<ctlGantt *>(view))
                    bringToRest(*g, m_ganttRest);
            }
            QCursor::setPos(kRestingPointer);
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
        if (!problem.isEmpty())
            m_problem = problem;
    }

    void noteGesture(const QString &op, QWidget *at, Qt::MouseButton b, QPoint point)
    {
        for (HeldButton &held : m_held) {
            if (held.at == at)
                held.point = point;
        }
        if (op == QLatin1String("move"))
            return;
        m_held.erase(std::remove_if(m_held.begin(), m_held.end(),
                                    [&](const HeldButton &held) { return held.at == at && held.button == b; }),
                     m_held.end());
        // QTest's double click on a widget is the second press only: its button stays down.
        if (op == QLatin1String("press") || op == QLatin1String("dclick"))
            m_held.append(HeldButton{at, b, point});
    }

    // Every held button goes up where it went down, as the window system would deliver it to
    // the widget that grabbed the pointer.
    void letGoOfHeldButtons()
    {
        const QVector<HeldButton> held = std::exchange(m_held, {});
        for (const HeldButton &h : held) {
            if (!h.at)
                continue;
            if (QTestPrivate::qtestMouseButtons.testFlag(h.button)) {
                QTest::mouseRelease(h.at, h.button, {}, h.point);
                continue;
            }
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(h.point), h.at->mapToGlobal(QPointF(h.point)),
                                h.button, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(h.at, &release);
        }
        QTestPrivate::qtestMouseButtons = Qt::NoButton;
    }

    // Answers and pictures count towards the fingerprint only while recording.
    bool recording() const { return m_record; }

    void note(const QImage &image)
    {
        if (m_record)
            m_fingerprint = qHashBits(image.constBits(), size_t(image.sizeInBytes()), m_fingerprint);
    }

    struct Handler
    {
        QString view;
        double event;
        QVector<Statement> body;
    };

    // Whether a statement or handler of the program names the view.
    bool names(const QString &view) const
    {
        const auto in = [&view](const Statement &st) {
            return st.tokens.value(0) == view || st.tokens.value(1) == view;
        };
        for (const Statement &st : m_main)
            if (in(st))
                return true;
        for (const Handler &h : m_handlers) {
            if (h.view == view || std::any_of(h.body.begin(), h.body.end(), in))
                return true;
        }
        return false;
    }

    static QStringList split(const QString &line)
    {
        return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }

    static double number(const QString &token)
    {
        const QString t = token.toLower();
        if (t == QLatin1String("nan"))
            return std::numeric_limits<double>::quiet_NaN();
        if (t == QLatin1String("inf"))
            return std::numeric_limits<double>::infinity();
        if (t == QLatin1String("-inf"))
            return -std::numeric_limits<double>::infinity();
        bool ok = false;
        // Dispatch ids are written as the type libraries list them, in hex.
        if (t.startsWith(QLatin1String("0x")) || t.startsWith(QLatin1String("-0x"))) {
            const qint64 hex = t.startsWith(QLatin1Char('-')) ? -t.mid(3).toLongLong(&ok, 16)
                                                              : t.mid(2).toLongLong(&ok, 16);
            return ok ? double(hex) : 0;
        }
        const double value = token.toDouble(&ok);
        return ok ? value : 0;
    }

    static int whole(const QString &token, int low, int high)
    {
        const double value = number(token);
        return std::isfinite(value) ? int(std::clamp(value, double(low), double(high))) : 0;
    }

    QWidget *view(const QString &name) const
    {
        if (name == QLatin1String("a"))
            return m_agenda;
        if (name == QLatin1String("g"))
            return m_gantt;
        return nullptr;
    }

    QVariant argument(const QString &token, const QVariantList &event)
    {
        if (token == QLatin1String("_"))
            return QVariant();
        if (token == QLatin1String("t") || token == QLatin1String("f"))
            return token == QLatin1String("t");
        if (token == QLatin1String("P"))
            return QVariant::fromValue(m_page.painter());
        if (token == QLatin1String("P0"))
            return QVariant::fromValue(static_cast<QPainter *>(nullptr));
        if (token.startsWith(QLatin1Char('"')))
            return token.mid(1) == QLatin1String("\"") ? QString() : token.mid(1);
        if (token.startsWith(QLatin1Char('*')) && token.size() >= 3) {
            const int n = whole(token.mid(1, token.size() - 2), 0, kMaxTextLength);
            return QString(n, token.back());
        }
        if (token.startsWith(QLatin1Char('i')))
            return whole(token.mid(1), std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        if (token.startsWith(QLatin1Char('$'))) {
            const int plus = token.indexOf(QLatin1Char('+'));
            const int k = whole(token.mid(1, plus < 0 ? -1 : plus - 1), 0, 99);
            const QVariant value = k >= 1 && k <= event.size() ? event.at(k - 1) : QVariant();
            if (plus < 0)
                return value;
            return value.toDouble() + number(token.mid(plus + 1));
        }
        return number(token);
    }

    void connectHandler(const Handler &h, QObject &context)
    {
        QWidget *target = view(h.view);
        if (!target || !std::isfinite(h.event) || std::fabs(h.event) > 1e6)
            return;
        const QVector<Statement> body = h.body;
        try {
            Dispatch::connectEvent(target, qint32(h.event), &context,
                                   [this, body](const QVariantList &args) {
                                       if (m_depth >= kMaxHandlerDepth)
                                           return;
                                       ++m_depth;
                                       for (const Statement &s : body) {
                                           if (!m_problem.isEmpty() || m_budget <= 0)
                                               break;
                                           execute(s, args);
                                       }
                                       --m_depth;
                                   });
        } catch (const Error &) {
            // An event the view does not have: the host's mistake, refused.
        }
    }

    // A call by dispatch id; Dayplex::Error is the defined answer to bad input.
    void call(QWidget *target, const QStringList &t, const QVariantList &event)
    {
        const QString &kind = t.at(1);
        const Dispatch::Call how = kind == QLatin1String("get")   ? Dispatch::Call::PropertyGet
                                   : kind == QLatin1String("put") ? Dispatch::Call::PropertyPut
                                                                  : Dispatch::Call::Method;
        const double id = number(t.at(2));
        if (!std::isfinite(id) || std::fabs(id) > 4294967295.0)
            return;
        QVariantList args;
        for (int i = 3; i < t.size(); ++i)
            args.append(argument(t.at(i), event));
        guard(QStringLiteral("call %1").arg(t.mid(0, 3).join(QLatin1Char(' '))), [&] {
            try {
                const QVariant result = Dispatch::invoke(target, qint32(quint32(qint64(id))), how, args);
                if (recording())
                    trace(QStringLiteral("= ") + result.toString().left(200));
            } catch (const Error &e) {
                if (recording())
                    trace(QStringLiteral("refused: ") + e.message());
            }
        });
    }

    // Anything but Dayplex::Error from a call, and anything at all out of an event, is a fault.
    template<typename Work>
    void guard(const QString &what, Work &&work)
    {
        try {
            work();
        } catch (const std::exception &e) {
            m_problem = what + QStringLiteral(": ") + QString::fromUtf8(e.what());
        } catch (...) {
            m_problem = what + QStringLiteral(": an exception that is no std::exception");
        }
    }

    static Qt::KeyboardModifiers modifiers(const QStringList &t, int from)
    {
        Qt::KeyboardModifiers m;
        for (int i = from; i < t.size(); ++i) {
            if (t.at(i) == QLatin1String("s"))
                m |= Qt::ShiftModifier;
            else if (t.at(i) == QLatin1String("c"))
                m |= Qt::ControlModifier;
            else if (t.at(i) == QLatin1String("a"))
                m |= Qt::AltModifier;
        }
        return m;
    }

    static Qt::MouseButton button(const QStringList &t, int at)
    {
        if (t.size() > at && t.at(at) == QLatin1String("r"))
            return Qt::RightButton;
        if (t.size() > at && t.at(at) == QLatin1String("m"))
            return Qt::MiddleButton;
        return Qt::LeftButton;
    }

    static int keyOf(const QString &token)
    {
        static const QHash<QString, int> names = {
            {QStringLiteral("esc"), Qt::Key_Escape}, {QStringLiteral("enter"), Qt::Key_Return},
            {QStringLiteral("up"), Qt::Key_Up},       {QStringLiteral("down"), Qt::Key_Down},
            {QStringLiteral("left"), Qt::Key_Left},   {QStringLiteral("right"), Qt::Key_Right},
            {QStringLiteral("pgup"), Qt::Key_PageUp}, {QStringLiteral("pgdn"), Qt::Key_PageDown},
            {QStringLiteral("del"), Qt::Key_Delete},  {QStringLiteral("tab"), Qt::Key_Tab},
            {QStringLiteral("home"), Qt::Key_Home},   {QStringLiteral("end"), Qt::Key_End},
        };
        if (const auto named = names.constFind(token); named != names.constEnd())
            return *named;
        if (token.size() == 1)
            return token.at(0).toUpper().unicode();
        return whole(token, 0, 0x01ffffff);
    }

    // DAYPLEX_FUZZ_TRACE=1 prints every statement and answer, for looking into a finding.
    static bool tracing()
    {
        static const bool on = qEnvironmentVariableIsSet("DAYPLEX_FUZZ_TRACE");
        return on;
    }

    void trace(const QString &line)
    {
        m_fingerprint = qHash(line, m_fingerprint);
        if (tracing())
            std::fprintf(stderr, "%s\n", qPrintable(line.left(300)));
    }

    void execute(const Statement &s, const QVariantList &event)
    {
        --m_budget;
        const QStringList &t = s.tokens;
        if (t.isEmpty())
            return;
        if (recording())
            trace(QString(m_depth * 2, QLatin1Char(' ')) + t.join(QLatin1Char(' ')));
        const QString &op = t.at(0);
        if (op == QLatin1String("menu") && t.size() >= 2) {
            if (--m_userBudget >= 0)
                pickFromMenu(whole(t.at(1), 0, 1000));
            return;
        }
        if (op == QLatin1String("wait") && t.size() >= 2 && --m_userBudget >= 0) {
            guard(QStringLiteral("wait"), [] {
                QCoreApplication::processEvents();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            });
            return;
        }
        if (op == QLatin1String("answer") && t.size() >= 2) {
            m_yes = t.at(1) == QLatin1String("yes");
            return;
        }
        if (t.size() < 2)
            return;
        if (QWidget *callee = view(op)) {
            if (t.size() >= 3)
                call(callee, t, event);
            return;
        }
        QWidget *target = view(t.at(1));
        if (!target || --m_userBudget < 0)
            return;
        const int index = target == m_agenda ? 0 : 1;
        QWidget *at = m_target[index] ? m_target[index].data() : target;
        const auto point = [&](int i) {
            return QPoint(t.size() > i ? whole(t.at(i), -100000, 100000) : 0,
                          t.size() > i + 1 ? whole(t.at(i + 1), -100000, 100000) : 0);
        };
        const QString what = t.join(QLatin1Char(' '));
        if (QStringList{QStringLiteral("press"), QStringLiteral("release"), QStringLiteral("click"),
                        QStringLiteral("dclick"), QStringLiteral("move")}.contains(op))
            noteGesture(op, at, button(t, 4), point(2));
        if (op == QLatin1String("size") && t.size() >= 4) {
            guard(what, [&] { target->resize(whole(t.at(2), 0, kMaxViewSize), whole(t.at(3), 0, kMaxViewSize)); });
        } else if (op == QLatin1String("paint")) {
            paintInto(m_surface[index]);
        } else if (op == QLatin1String("target") && t.size() >= 3) {
            QWidget *child = target->findChild<QWidget *>(t.at(2));
            m_target[index] = child ? child : target;
        } else if (op == QLatin1String("press")) {
            guard(what, [&] { QTest::mousePress(at, button(t, 4), modifiers(t, 5), point(2)); });
        } else if (op == QLatin1String("release")) {
            guard(what, [&] { QTest::mouseRelease(at, button(t, 4), modifiers(t, 5), point(2)); });
        } else if (op == QLatin1String("click")) {
            guard(what, [&] { QTest::mouseClick(at, button(t, 4), modifiers(t, 5), point(2)); });
        } else if (op == QLatin1String("dclick")) {
            guard(what, [&] { QTest::mouseDClick(at, button(t, 4), modifiers(t, 5), point(2)); });
        } else if (op == QLatin1String("move")) {
            guard(what, [&] {
                // Without a button QTest moves the pointer over a window; no view has one.
                if (QTestPrivate::qtestMouseButtons != Qt::NoButton) {
                    QTest::mouseMove(at, point(2));
                    return;
                }
                QMouseEvent move(QEvent::MouseMove, QPointF(point(2)), at->mapToGlobal(QPointF(point(2))),
                                 Qt::NoButton, Qt::NoButton, modifiers(t, 4));
                QApplication::sendEvent(at, &move);
            });
        } else if (op == QLatin1String("wheel") && t.size() >= 5) {
            const QPointF p(point(2));
            QWheelEvent wheel(p, at->mapToGlobal(p), QPoint(), QPoint(0, whole(t.at(4), std::numeric_limits<int>::min(), std::numeric_limits<int>::max())),
                              Qt::NoButton, modifiers(t, 5), Qt::NoScrollPhase, false);
            guard(what, [&] { QApplication::sendEvent(at, &wheel); });
        } else if (op == QLatin1String("key") && t.size() >= 3) {
            // Sent as events, not through QTest::keyClick, which asserts on key codes it has no
            // character for; a platform may deliver any code.
            guard(what, [&] {
                const int key = keyOf(t.at(2));
                QKeyEvent press(QEvent::KeyPress, key, modifiers(t, 3));
                QApplication::sendEvent(at, &press);
                QKeyEvent release(QEvent::KeyRelease, key, modifiers(t, 3));
                QApplication::sendEvent(at, &release);
            });
        } else if (op == QLatin1String("bar") && t.size() >= 4) {
            if (auto *bar = target->findChild<QScrollBar *>(t.at(2)))
                guard(what, [&] { bar->setValue(whole(t.at(3), -1000000, 1000000)); });
        } else if (op == QLatin1String("tick")) {
            const QList<QTimer *> timers = target->findChildren<QTimer *>();
            for (const QPointer<QTimer> timer : timers)
                if (timer && timer->isActive())
                    guard(what, [&] { QMetaObject::invokeMethod(timer, "timeout"); });
        }
    }

    void pickFromMenu(int n)
    {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        QVector<QAction *> actions;
        Dayplex::Testing::collectPickableActions(menu, actions);
        if (actions.isEmpty()) {
            closePopups();
            return;
        }
        QPointer<QAction> action = actions.at(n % actions.size());
        if (recording())
            trace(QStringLiteral("picks ") + action->objectName());
        closePopups();
        if (action)
            guard(QStringLiteral("menu %1").arg(action->objectName()), [&] { action->trigger(); });
    }

    static void closePopups()
    {
        for (int i = 0; i < 8; ++i) {
            QWidget *popup = QApplication::activePopupWidget();
            if (!popup)
                return;
            popup->close();
        }
    }

    // The options dialog answers OK or Abbrechen as the program says; every other dialog goes.
    void answer(QDialog &dialog)
    {
        const char *name = m_yes ? "cmdOK" : "cmdCancel";
        if (auto *b = dialog.findChild<QPushButton *>(QLatin1String(name)))
            b->click();
        else
            dialog.reject();
    }

    // A widget painted as its window would paint it when only its corner is exposed: the view
    // still works out its whole scene; the calendar draws only the corner, the resource view
    // its whole picture and copies the corner out, into one small canvas for every paint.
    void paintInto(QWidget *widget)
    {
        if (!widget || widget->width() <= 0 || widget->height() <= 0 || !m_problem.isEmpty())
            return;
        static QImage canvas(kPaintedCorner, QImage::Format_RGB32);
        guard(QStringLiteral("painting"),
              [&] { widget->render(&canvas, QPoint(), QRegion(QRect(QPoint(0, 0), kPaintedCorner))); });
    }

    void paintSurfaces()
    {
        for (int i = 0; i < 2; ++i)
            paintInto(m_surface[i]);
    }

    void checkViews()
    {
        guard(QStringLiteral("reading the range"), [&] {
            if (m_agenda) {
                const double first = m_agenda->FirstDay(), last = m_agenda->LastDay();
                if (!isValidDate(first) || !isValidDate(last) || first > last)
                    m_problem = QStringLiteral("calendar shows %1 .. %2").arg(first).arg(last);
            }
            if (m_gantt && (!isValidDate(m_gantt->FirstDay()) || !isValidDate(m_gantt->LastDay())))
                m_problem = QStringLiteral("Gantt shows %1 .. %2").arg(m_gantt->FirstDay()).arg(m_gantt->LastDay());
        });
    }

    // A page for PrintAnsicht, as a print driver hands it over, made on first use: most
    // programs print nothing, and a page is the largest allocation of a program.
    struct Page
    {
        QImage image;
        std::unique_ptr<QPainter> p;
        QPainter *painter()
        {
            if (!p) {
                image = QImage(800, 600, QImage::Format_RGB32);
                p = std::make_unique<QPainter>(&image);
            }
            return p.get();
        }
    };

    QVector<Statement> m_main;
    QVector<Handler> m_handlers;
    ucAgenda *m_agenda = nullptr;
    ctlGantt *m_gantt = nullptr;
    QPointer<QWidget> m_target[2];
    QPointer<QWidget> m_surface[2]; // the drawing surfaces, whatever the program targets
    AgendaRest m_agendaRest;
    GanttRest m_ganttRest;
    // A button pressed and not yet let go, where it went down and where the pointer last was
    // over that widget. A press on the other view does not let go of it: that view would stay
    // in its drag into the next program.
    struct HeldButton
    {
        QPointer<QWidget> at;
        Qt::MouseButton button;
        QPoint point;
    };
    QVector<HeldButton> m_held;
    bool m_record = false;
    quint64 m_fingerprint = 0;
    Page m_page;
    QString m_problem;
    int m_budget = kMaxStatements;
    int m_userBudget = kMaxUserStatements;
    int m_depth = 0;
    bool m_yes = true;
};

// Runs a program on fresh views, as the regression test does.
inline QString runCallProgram(const QByteArray &source)
{
    return CallProgram(source).run(Views::Fresh);
}

// A run with the fingerprint of what the program showed (0 unless recorded).
struct CallRun
{
    QString problem;
    quint64 fingerprint = 0;
};

inline CallRun runCallProgram(const QByteArray &source, Views views, bool record)
{
    CallProgram program(source, record);
    CallRun run;
    run.problem = program.run(views);
    run.fingerprint = program.fingerprint();
    return run;
}

} // namespace DayplexFuzz

#endif

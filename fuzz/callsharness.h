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

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QHash>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
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
constexpr int kMaxWaitMs = 30;

struct Statement
{
    QStringList tokens;
};

class CallProgram
{
public:
    explicit CallProgram(const QByteArray &source)
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
    QString run()
    {
        setCurrentDateTimeForTesting(toDate(QDate(2026, 12, 7)) + 7.0 / 24);
        const ModalRunner runner = setModalRunner([this](QDialog &dialog) { answer(dialog); });
        const cPrintDialog::Handler print = cPrintDialog::setHandler(cPrintDialog::cancel());
        const cPrintPreview::Handler preview =
            cPrintPreview::setHandler([](cPrintPreview &p) { p.page(); });
        const PromptHandler prompt = setPromptHandler([this](const Prompt &) { return m_yes; });

        {
            // Only the views the program names: each costs a window under the sanitizers.
            std::unique_ptr<ucAgenda> agenda(names(QStringLiteral("a")) ? new ucAgenda : nullptr);
            std::unique_ptr<ctlGantt> gantt(names(QStringLiteral("g")) ? new ctlGantt : nullptr);
            m_agenda = agenda.get();
            m_gantt = gantt.get();
            QObject context;
            for (const Handler &h : std::as_const(m_handlers))
                connectHandler(h, context);
            QVector<QWidget *> views;
            if (agenda)
                views << agenda.get();
            if (gantt)
                views << gantt.get();
            for (QWidget *view : std::as_const(views)) {
                view->resize(480, 320);
                view->show();
            }
            // Paints and hit regions need windows the platform has exposed; the offscreen
            // platform does it on the first round of events, which saves qWait's sleeps.
            QCoreApplication::processEvents();
            for (QWidget *view : std::as_const(views)) {
                if (!view->windowHandle()->isExposed() && !QTest::qWaitForWindowExposed(view, 1000))
                    m_problem = QStringLiteral("a view was never exposed");
            }
            if (agenda)
                m_target[0] = agenda->findChild<QWidget *>(QStringLiteral("pic"));
            if (gantt)
                m_target[1] = gantt->findChild<QWidget *>(QStringLiteral("calpic"));
            for (const Statement &s : std::as_const(m_main)) {
                if (!m_problem.isEmpty() || m_budget <= 0)
                    break;
                execute(s, {});
                if (m_problem.isEmpty())
                    checkViews();
            }
            closePopups();
            if (m_problem.isEmpty()) {
                try {
                    if (agenda)
                        agenda->paintToImage(QSize(300, 200));
                    if (gantt)
                        gantt->paintToImage(QSize(300, 200));
                } catch (...) {
                    m_problem = QStringLiteral("a paint after the program threw");
                }
            }
            m_agenda = nullptr;
            m_gantt = nullptr;
        }
        setPromptHandler(prompt);
        cPrintPreview::setHandler(preview);
        cPrintDialog::setHandler(print);
        setModalRunner(runner);
        return m_problem;
    }

private:
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
                trace(QStringLiteral("= ") + result.toString().left(200));
            } catch (const Error &e) {
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
    static void trace(const QString &line)
    {
        static const bool on = qEnvironmentVariableIsSet("DAYPLEX_FUZZ_TRACE");
        if (on)
            std::fprintf(stderr, "%s\n", qPrintable(line.left(300)));
    }

    void execute(const Statement &s, const QVariantList &event)
    {
        --m_budget;
        const QStringList &t = s.tokens;
        if (t.isEmpty())
            return;
        trace(QString(m_depth * 2, QLatin1Char(' ')) + t.join(QLatin1Char(' ')));
        const QString &op = t.at(0);
        if (op == QLatin1String("menu") && t.size() >= 2) {
            if (--m_userBudget >= 0)
                pickFromMenu(whole(t.at(1), 0, 1000));
            return;
        }
        if (op == QLatin1String("wait") && t.size() >= 2 && --m_userBudget >= 0) {
            guard(QStringLiteral("wait"), [&] { QTest::qWait(whole(t.at(1), 0, kMaxWaitMs)); });
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
        if (op == QLatin1String("size") && t.size() >= 4) {
            guard(what, [&] { target->resize(whole(t.at(2), 0, kMaxViewSize), whole(t.at(3), 0, kMaxViewSize)); });
        } else if (op == QLatin1String("paint")) {
            guard(what, [&] { target->repaint(); });
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
            guard(what, [&] { QTest::mouseMove(at, point(2)); });
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

    // A page for PrintAnsicht, as a print driver hands it over.
    struct Page
    {
        QImage image{800, 600, QImage::Format_RGB32};
        std::unique_ptr<QPainter> p;
        QPainter *painter()
        {
            if (!p)
                p = std::make_unique<QPainter>(&image);
            return p.get();
        }
    };

    QVector<Statement> m_main;
    QVector<Handler> m_handlers;
    ucAgenda *m_agenda = nullptr;
    ctlGantt *m_gantt = nullptr;
    QPointer<QWidget> m_target[2];
    Page m_page;
    QString m_problem;
    int m_budget = kMaxStatements;
    int m_userBudget = kMaxUserStatements;
    int m_depth = 0;
    bool m_yes = true;
};

inline QString runCallProgram(const QByteArray &source)
{
    return CallProgram(source).run();
}

} // namespace DayplexFuzz

#endif

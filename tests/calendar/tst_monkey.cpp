// Random mouse, key and wheel input on a shown calendar must never break its basic promises.
#include "calendar/ucagenda_p.h"
#include "shared/ctools.h"

#include <dayplex/ucagenda.h>

#include <QApplication>
#include <QMenu>
#include <QWheelEvent>
#include <QtTest>

#include <random>

using namespace Dayplex;

class tst_Monkey : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { cTools::setPromptHandler({}); }

    // Presses, drags, keys and wheel turns keep the range ordered, never lose or invent
    // appointments outside a delivery, and report only ordered changed times.
    void randomInputKeepsInvariants_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::newRow("seed 1") << 1u;
        QTest::newRow("seed 2") << 2u;
        QTest::newRow("seed 3") << 3u;
    }
    void randomInputKeepsInvariants()
    {
        QFETCH(unsigned, seed);
        std::mt19937 rng(seed);
        const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

        ucAgenda agenda;
        ucAgendaPrivate *d = ucAgendaPrivate::get(&agenda);
        qint32 expectedCount = 0;
        int deliveries = 0, changes = 0, dsn = 0;
        QObject::connect(&agenda, &ucAgenda::NeedDates, &agenda, [&](double from, double to, const QString &) {
            agenda.SetFilledRange(from, to);
            const double days = std::max(1.0, to - from + 1);
            for (int i = 0; i < 60; ++i) {
                const double day = std::floor(from + days * pick(0, 999) / 1000.0);
                const bool allDay = pick(0, 5) == 0;
                const double start = allDay ? day : day + pick(0, 287) / 288.0;
                const double end = allDay ? day + pick(0, 2) : start + pick(1, 36) / 288.0;
                ++dsn;
                agenda.AddDate(QString::number(dsn), QStringLiteral("Termin %1").arg(dsn), start, end, allDay, 0,
                               false, 0xC0E0FF, pick(0, 4) == 0);
            }
            expectedCount = d->data.store.count();
            ++deliveries;
        });
        QObject::connect(&agenda, &ucAgenda::DateChanged, &agenda, [&](const QString &, double from, double to) {
            ++changes;
            QVERIFY2(from <= to, qPrintable(QStringLiteral("DateChanged %1 > %2").arg(from).arg(to)));
        });
        cTools::setPromptHandler([&](const Prompt &) { return pick(0, 1) == 1; });

        agenda.Enabled = true;
        const double first = toDate(QDate(2024, 3, 4));
        double last = first + 6;
        agenda.SetDisplayedRange(first, &last, false, false);
        agenda.resize(900, 700);
        agenda.show();
        QVERIFY(QTest::qWaitForWindowExposed(&agenda));
        QWidget *pic = agenda.findChild<QWidget *>(QStringLiteral("pic"));
        QVERIFY(pic);
        expectedCount = d->data.store.count();

        const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp,
                                Qt::Key_PageDown, Qt::Key_Escape};
        Qt::MouseButton held = Qt::NoButton;
        const auto randomPoint = [&] { return QPoint(pick(0, pic->width() - 1), pick(0, pic->height() - 1)); };
        for (int step = 0; step < 1500; ++step) {
            const int action = pick(0, 9);
            if (action <= 2 && held == Qt::NoButton) {
                held = buttons[pick(0, 3)];
                QTest::mousePress(pic, held, Qt::NoModifier, randomPoint());
            } else if (action <= 5) {
                QTest::mouseMove(pic, randomPoint());
            } else if (action <= 7 && held != Qt::NoButton) {
                QTest::mouseRelease(pic, held, Qt::NoModifier, randomPoint());
                held = Qt::NoButton;
            } else if (action == 8) {
                QTest::keyClick(pic, keys[pick(0, 6)]);
            } else {
                const QPoint at = randomPoint();
                QWheelEvent wheel(at, pic->mapToGlobal(at), QPoint(), QPoint(0, pick(0, 1) ? 120 : -120), Qt::NoButton,
                                  Qt::NoModifier, Qt::NoScrollPhase, false);
                QCoreApplication::sendEvent(pic, &wheel);
            }
            // A right click may open the context menu; it must not stay in the way.
            while (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("seed %1 step %2").arg(seed).arg(step)));
            const QString where = QStringLiteral("seed %1 step %2").arg(seed).arg(step);
            QVERIFY2(agenda.FirstDay() <= agenda.LastDay(), qPrintable(where));
            const qint32 days = agenda.GetAnzahlTage();
            QVERIFY2(days >= 1 && days <= 14, qPrintable(where + QStringLiteral(" days %1").arg(days)));
            QVERIFY2(d->data.store.count() == expectedCount,
                     qPrintable(where + QStringLiteral(" count %1, expected %2").arg(d->data.store.count()).arg(expectedCount)));
        }
        if (held != Qt::NoButton)
            QTest::mouseRelease(pic, held, Qt::NoModifier, randomPoint());
        qDebug() << "deliveries" << deliveries << "changes" << changes;
    }
};

QTEST_MAIN(tst_Monkey)
#include "tst_monkey.moc"

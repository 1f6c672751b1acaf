// The calendar's context menu on a real control shown offscreen.
#include "calendar/calendarmenu.h"
#include "calendar/ucagenda_p.h"

#include <QMenu>
#include <QtTest>
#include "support/testing.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

bool same(Date a, Date b) { return std::abs(a - b) < 1e-7; }

const Date kMonday = day(2024, 3, 4);

// The week of 4 March 2024 with a host that delivers "A" (Monday 09:00), "W" (Wednesday
// 09:15-10:45) and the read-only "R" (Thursday), shown offscreen.
struct Calendar
{
    ucAgenda agenda;
    ucAgendaPrivate *d = ucAgendaPrivate::get(&agenda);
    CalendarMenu *menu = d->menu.get();
    QWidget *pic = agenda.findChild<QWidget *>(QStringLiteral("pic"));

    explicit Calendar(int days = 7, qint32 align = 0)
    {
        QObject::connect(&agenda, &ucAgenda::NeedDates, &agenda, [this](double from, double to, const QString &) {
            agenda.SetFilledRange(from, to);
            agenda.AddDate("A", "Termin", kMonday + hm(9, 0), kMonday + hm(10, 30), false, 0, false, 0, false);
            agenda.AddDate("W", "Termin", kMonday + 2 + hm(9, 15), kMonday + 2 + hm(10, 45), false, 0, false, 0, false);
            agenda.AddDate("R", "Termin", kMonday + 3 + hm(13, 0), kMonday + 3 + hm(14, 0), false, 0, false, 0, true);
        });
        agenda.Enabled = true;
        agenda.setAlignOnWeekday(align);
        double last = kMonday + days - 1;
        agenda.SetDisplayedRange(kMonday, &last, false, false);
        agenda.resize(1000, 700);
        agenda.show();
    }

    void select(const QString &situation)
    {
        if (situation == QLatin1String("time")) {
            agenda.setSelectionStart(kMonday + 3 + hm(10, 0));
            agenda.setSelectionEnd(kMonday + 3 + hm(11, 0));
        } else if (situation == QLatin1String("writable")) {
            agenda.setSelectedDate(QStringLiteral("W"));
        } else if (situation == QLatin1String("readonly")) {
            // SelectedDate skips read-only records; the index can still name one.
            for (qint32 i = 1; i <= d->data.store.count(); ++i)
                if (d->data.store.at(i).dsn == QLatin1String("R"))
                    d->selection.index = i;
        }
    }

    QAction *entry(const QString &name) const { return menu->popUp()->findChild<QAction *>(name); }
    QAction *days(int index) const
    {
        return menu->popUp()->findChildren<QAction *>(QStringLiteral("mnuAnsichtTage")).value(index);
    }

    // Triggered as an enabled entry would be, so that the handlers' own tests count.
    void trigger(const QString &name)
    {
        entry(name)->setEnabled(true);
        entry(name)->trigger();
    }
};

} // namespace

class tst_ContextMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Catches a missing, renamed, reordered or miscaptioned entry.
    void entries()
    {
        Calendar c;
        QMenu *popUp = c.agenda.findChild<QMenu *>(QStringLiteral("mnuPopUp"));
        QVERIFY(popUp);
        QCOMPARE(popUp->title(), QStringLiteral("PopUp"));
        QStringList shown;
        for (const QAction *a : popUp->actions())
            shown << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + QLatin1Char('=') + a->text());
        QCOMPARE(shown, (QStringList{"mnuToday=Heute", "mnuDatum=Datum...", "mnuGantt=>> Gantt",
                                     "mnuFreienTerminSuchen=Freien Termin suchen", "-", "mnuNeu=Neu...",
                                     "mnuAnzeigen=Anzeigen", "mnuVerschieben=Verschieben", "-",
                                     "mnuMerkmale=Teilnehmer...", "-", "mnuAnsichtTage=1 Tag",
                                     "mnuAnsichtTage=2 Tage", "mnuAnsichtTage=5 Tage", "mnuAnsichtTage=7 Tage",
                                     "mnuAnsichtTage=14 Tage", "-", "mnuOptions=Optionen...",
                                     "mnuDrucken=Drucken..."}));
        QCOMPARE(popUp->defaultAction(), c.entry(QStringLiteral("mnuAnzeigen")));
    }

    // Catches enabled states that ignore the selection or read-only appointments, and a
    // tick on the wrong day count or a stale one.
    void statesAndTicks_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("enabled"); // of Neu, Anzeigen, Verschieben
        QTest::addColumn<QString>("ticked");
        QTest::newRow("time range, five days") << "time" << 5 << "Neu..." << "5 Tage";
        QTest::newRow("writable appointment, seven days") << "writable" << 7 << "Anzeigen,Verschieben" << "7 Tage";
        QTest::newRow("read-only appointment, fourteen days") << "readonly" << 14 << "Anzeigen" << "14 Tage";
    }
    void statesAndTicks()
    {
        QFETCH(QString, situation);
        QFETCH(int, days);
        QFETCH(QString, enabled);
        QFETCH(QString, ticked);
        Calendar c(days);
        c.select(situation);
        c.days(0)->setChecked(true);
        c.menu->prepare();
        const QList<QAction *> guarded{c.entry(QStringLiteral("mnuNeu")), c.entry(QStringLiteral("mnuAnzeigen")),
                                       c.entry(QStringLiteral("mnuVerschieben"))};
        QStringList on, checked;
        for (QAction *a : c.menu->popUp()->actions()) {
            if (a->isChecked())
                checked << a->text();
            if (!guarded.contains(a))
                QVERIFY2(a->isEnabled(), qPrintable(a->text()));
            else if (a->isEnabled())
                on << a->text();
        }
        QCOMPARE(on.join(QLatin1Char(',')), enabled);
        QCOMPARE(checked.join(QLatin1Char(',')), ticked);
    }

    // Catches commands that raise the wrong event, date or key, or an event with nothing to act on.
    void hostEvents_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("event"); // "" for none
        QTest::addColumn<QVariant>("argument");
        QTest::newRow(">> Gantt: date value 0") << "mnuGantt" << "writable" << "ShowImGantt" << QVariant(0.0);
        QTest::newRow("free slot from the appointment") << "mnuFreienTerminSuchen" << "writable" << "ShowImGantt"
                                                        << QVariant(kMonday + 2 + hm(9, 15));
        QTest::newRow("Anzeigen names the appointment") << "mnuAnzeigen" << "writable" << "ShowDate"
                                                        << QVariant(QStringLiteral("W"));
        QTest::newRow("Teilnehmer asks for the filter") << "mnuMerkmale" << "none" << "ChangeFilter" << QVariant();
    }
    void hostEvents()
    {
        QFETCH(QString, entry);
        QFETCH(QString, situation);
        QFETCH(QString, event);
        QFETCH(QVariant, argument);
        Calendar c;
        c.select(situation);
        QSignalSpy gantt(&c.agenda, &ucAgenda::ShowImGantt);
        QSignalSpy show(&c.agenda, &ucAgenda::ShowDate);
        QSignalSpy filter(&c.agenda, &ucAgenda::ChangeFilter);
        c.trigger(entry);
        QCOMPARE(gantt.size(), int(event == QLatin1String("ShowImGantt")));
        QCOMPARE(show.size(), int(event == QLatin1String("ShowDate")));
        QCOMPARE(filter.size(), int(event == QLatin1String("ChangeFilter")));
        if (!gantt.isEmpty())
            QVERIFY(same(gantt.at(0).at(0).toDouble(), argument.toDouble()));
        if (!show.isEmpty())
            QCOMPARE(show.at(0).at(0), argument);
    }

};

QTEST_MAIN(tst_ContextMenu)
#include "tst_contextmenu.moc"

// The calendar's context menu and date picker on a real control shown offscreen. Set
// DAYPLEX_PICTURES to a folder to keep pictures of the open menu and drop-down.
#include "calendar/calendarmenu.h"
#include "calendar/datepicker.h"
#include "calendar/ucagenda_p.h"
#include "dialogs/cprintdialog.h"
#include "dialogs/modaldialog.h"
#include "shared/clock.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QDialog>
#include <QMenu>
#include <QToolButton>
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
        } else if (situation == QLatin1String("holiday")) {
            for (qint32 i = 1; i <= d->data.store.count(); ++i)
                if (d->data.store.at(i).blnfeiertag)
                    agenda.setSelectedDate(d->data.store.at(i).dsn);
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
    DatePickerDropDown *dropDown() const { return menu->picker()->dropDown(); }

    // Picks a day as a user does with the keyboard: onto the day, then Enter.
    bool pick(QDate dayToPick)
    {
        QCalendarWidget *month = dropDown()->monthOf(dayToPick);
        if (!month || !dropDown()->isVisible())
            return false;
        month->setSelectedDate(dayToPick);
        QTest::keyClick(month->findChild<QAbstractItemView *>(), Qt::Key_Return);
        return true;
    }

    QPoint centreOf(qint32 type) const
    {
        for (const HitRegion &r : d->scene.hits.all())
            if (r.lngTyp == type && r.lngPrio > 0)
                return QPoint(r.lngLeft + r.lngWidth / 2, r.lngTop + r.lngHeight / 2);
        return QPoint(-1, -1);
    }
};

} // namespace

class tst_ContextMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { setCurrentDateTimeForTesting(0); }

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

    // Catches enabled states that ignore the selection, read-only appointments or holidays, and a
    // tick on the wrong day count or a stale one.
    void statesAndTicks_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("enabled"); // of Neu, Anzeigen, Verschieben
        QTest::addColumn<QString>("ticked");
        QTest::newRow("nothing selected, one day") << "none" << 1 << "" << "1 Tag";
        QTest::newRow("time range, five days") << "time" << 5 << "Neu..." << "5 Tage";
        QTest::newRow("writable appointment, seven days") << "writable" << 7 << "Anzeigen,Verschieben" << "7 Tage";
        QTest::newRow("read-only appointment, fourteen days") << "readonly" << 14 << "Anzeigen" << "14 Tage";
        QTest::newRow("holiday is not selectable, three days unticked") << "holiday" << 3 << "" << "";
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

    // Catches a wrong end for selections that reach the day's last slot, a set all-day flag, and
    // an event without a selection.
    void newDate_data()
    {
        QTest::addColumn<Date>("start");
        QTest::addColumn<Date>("lastSlot");
        QTest::addColumn<Date>("end"); // 0: no event
        QTest::newRow("whole day from the all-day band") << kMonday << kMonday + hm(23, 30) << kMonday;
        QTest::newRow("slots 10:00 and 10:30") << kMonday + hm(10, 0) << kMonday + hm(10, 30) << kMonday + hm(11, 0);
        QTest::newRow("22:00 to the last slot") << kMonday + hm(22, 0) << kMonday + hm(23, 30) << kMonday;
        QTest::newRow("three whole days") << kMonday << kMonday + 2 + hm(23, 30) << kMonday + 2;
        QTest::newRow("nothing selected") << 0.0 << 0.0 << 0.0;
    }
    void newDate()
    {
        QFETCH(Date, start);
        QFETCH(Date, lastSlot);
        QFETCH(Date, end);
        Calendar c;
        c.d->selection.start = start;
        c.d->selection.endSlot = lastSlot;
        QSignalSpy spy(&c.agenda, &ucAgenda::NewDate);
        c.trigger(QStringLiteral("mnuNeu"));
        QCOMPARE(spy.size(), end == 0 ? 0 : 1);
        if (end != 0) {
            QVERIFY(same(spy.at(0).at(0).toDouble(), start));
            QVERIFY(same(spy.at(0).at(1).toDouble(), end));
            QCOMPARE(spy.at(0).at(2).toBool(), false);
        }
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
        QTest::newRow("free slot from the time selection") << "mnuFreienTerminSuchen" << "time" << "ShowImGantt"
                                                           << QVariant(kMonday + 3 + hm(10, 0));
        QTest::newRow("free slot from the first day") << "mnuFreienTerminSuchen" << "none" << "ShowImGantt"
                                                      << QVariant(kMonday);
        QTest::newRow("Anzeigen names the appointment") << "mnuAnzeigen" << "writable" << "ShowDate"
                                                        << QVariant(QStringLiteral("W"));
        QTest::newRow("Anzeigen without selection is silent") << "mnuAnzeigen" << "none" << "" << QVariant();
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

    // Catches a day count or "Heute" that starts at the wrong day, ignores the align weekday,
    // reads the real clock, or selects less than the whole day.
    void rangeCommands_data()
    {
        QTest::addColumn<int>("entry"); // index of a day count, -1 for "Heute" at 2024-03-13 15:20
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("align");
        QTest::addColumn<Date>("first");
        QTest::addColumn<int>("count");
        QTest::newRow("7 Tage from a Wednesday appointment") << 3 << "writable" << 0 << kMonday + 2 << 7;
        QTest::newRow("7 Tage from Wednesday, aligned on Monday") << 3 << "writable" << 2 << kMonday << 7;
        QTest::newRow("1 Tag without selection") << 0 << "none" << 0 << kMonday << 1;
        QTest::newRow("14 Tage from a Thursday time selection") << 4 << "time" << 0 << kMonday + 3 << 14;
        QTest::newRow("Heute keeps five days") << -1 << "writable" << 0 << day(2024, 3, 13) << 5;
        QTest::newRow("Heute aligned on Monday") << -1 << "none" << 2 << day(2024, 3, 11) << 5;
    }
    void rangeCommands()
    {
        QFETCH(int, entry);
        QFETCH(QString, situation);
        QFETCH(int, align);
        QFETCH(Date, first);
        QFETCH(int, count);
        setCurrentDateTimeForTesting(day(2024, 3, 13) + hm(15, 20));
        Calendar c(entry < 0 ? 5 : 7, align);
        c.select(situation);
        (entry < 0 ? c.entry(QStringLiteral("mnuToday")) : c.days(entry))->trigger();
        QCOMPARE(c.agenda.FirstDay(), first);
        QCOMPARE(c.agenda.GetAnzahlTage(), count);
        if (entry < 0) {
            QCOMPARE(c.agenda.SelectionStart(), day(2024, 3, 13));
            QVERIFY(same(c.agenda.SelectionEnd(), day(2024, 3, 14)));
        }
    }

    // Catches a drop-down that does not open from code or a header click, opens away from the
    // calendar or in move mode, and a pick that misses the day or its whole-day selection.
    void jumpWithThePicker_data()
    {
        QTest::addColumn<bool>("byHeader");
        QTest::addColumn<QDate>("picked");
        QTest::addColumn<int>("pages"); // pages turned before picking
        QTest::addColumn<int>("align");
        QTest::addColumn<Date>("first");
        QTest::newRow("later day of the month") << false << QDate(2024, 3, 20) << 0 << 0 << day(2024, 3, 20);
        QTest::newRow("day in a later month") << false << QDate(2024, 5, 8) << 0 << 0 << day(2024, 5, 8);
        QTest::newRow("day on the next page") << false << QDate(2024, 10, 1) << 1 << 0 << day(2024, 10, 1);
        QTest::newRow("aligned on Monday") << false << QDate(2024, 3, 20) << 0 << 2 << day(2024, 3, 18);
        QTest::newRow("opened by a day header") << true << QDate(2024, 3, 21) << 0 << 0 << day(2024, 3, 21);
    }
    void jumpWithThePicker()
    {
        QFETCH(bool, byHeader);
        QFETCH(QDate, picked);
        QFETCH(int, pages);
        QFETCH(int, align);
        QFETCH(Date, first);
        Calendar c(7, align);
        QVERIFY(QTest::qWaitForWindowExposed(&c.agenda));
        c.menu->picker()->setTag(CalendarMenu::kMoveTag);
        if (byHeader)
            QTest::mouseClick(c.pic, Qt::LeftButton, {}, c.centreOf(tageszellekopf));
        else
            c.entry(QStringLiteral("mnuDatum"))->trigger();
        DatePickerDropDown *dropDown = c.dropDown();
        QVERIFY(dropDown->isVisible());
        QCOMPARE(c.menu->picker()->Tag(), QString());
        // The offscreen screen is narrower than 1000 pixels: two months across, three down.
        QCOMPARE(dropDown->months().size(), 6);
        QCOMPARE(dropDown->firstMonth(), QDate(2024, 3, 1));
        QCOMPARE(dropDown->months().first()->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
        QVERIFY((dropDown->pos() - c.agenda.mapToGlobal(QPoint(0, 0))).manhattanLength() <= 4);
        for (int i = 0; i < pages; ++i)
            dropDown->findChild<QToolButton *>(QStringLiteral("cmdVor"))->click();
        QVERIFY(c.pick(picked));
        QVERIFY(!dropDown->isVisible());
        QCOMPARE(c.agenda.FirstDay(), first);
        QCOMPARE(c.agenda.GetAnzahlTage(), 7);
        QCOMPARE(c.agenda.SelectionStart(), toDate(picked));
        QVERIFY(same(c.agenda.SelectionEnd(), toDate(picked) + 1));
    }

    // Catches a move that loses the time of day, moves without confirmation or without a writable
    // appointment, or forgets to show the picked day.
    void moveWithThePicker_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("readOnlyMeanwhile");
        QTest::addColumn<int>("changed");
        QTest::newRow("confirmed: 09:15 on the picked day") << true << false << 1;
        QTest::newRow("refused: stays, the view still jumps") << false << false << 0;
        QTest::newRow("read-only selected when picking") << true << true << 0;
    }
    void moveWithThePicker()
    {
        QFETCH(bool, yes);
        QFETCH(bool, readOnlyMeanwhile);
        QFETCH(int, changed);
        Calendar c;
        PromptAnswers prompts(yes);
        QSignalSpy spy(&c.agenda, &ucAgenda::DateChanged);
        c.select(QStringLiteral("writable"));
        c.menu->prepare();
        c.entry(QStringLiteral("mnuVerschieben"))->trigger();
        QCOMPARE(c.menu->picker()->Tag(), QStringLiteral("VERSCHIEBEN"));
        if (readOnlyMeanwhile)
            c.select(QStringLiteral("readonly"));
        QVERIFY(c.pick(QDate(2024, 3, 15)));
        QCOMPARE(prompts.texts().size(), readOnlyMeanwhile ? 0 : 1);
        QCOMPARE(spy.size(), changed);
        if (changed) {
            QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("W"));
            QVERIFY(same(spy.at(0).at(1).toDouble(), day(2024, 3, 15) + hm(9, 15)));
            QVERIFY(same(spy.at(0).at(2).toDouble(), day(2024, 3, 15) + hm(10, 45)));
        }
        QCOMPARE(c.agenda.FirstDay(), day(2024, 3, 15));
        QVERIFY(prompts.texts(false).isEmpty());
    }

    // Catches a right click that blocks in a modal menu, changes the state or opens nothing, the
    // closing menu taking the drop-down it opened with it, and Escape picking a day.
    void rightClickOpensTheMenu_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("time cell") << int(zeitzelle);
        QTest::newRow("appointment box") << int(termineintrag);
        QTest::newRow("day header") << int(tageszellekopf);
    }
    void rightClickOpensTheMenu()
    {
        QFETCH(int, type);
        Calendar c;
        QVERIFY(QTest::qWaitForWindowExposed(&c.agenda));
        const QPoint at = c.centreOf(type);
        QVERIFY(at.x() >= 0);
        QTest::mousePress(c.pic, Qt::RightButton, {}, at);
        QMenu *popUp = c.menu->popUp();
        QVERIFY(popUp->isVisible());
        QVERIFY((popUp->pos() - c.pic->mapToGlobal(at)).manhattanLength() <= 2);
        QVERIFY(c.days(3)->isChecked());
        QCOMPARE(qint32(c.d->gesture.state()), 0);
        QCOMPARE(c.agenda.SelectionStart(), 0.0);
        const QString pictures = qEnvironmentVariable("DAYPLEX_PICTURES");
        if (!pictures.isEmpty())
            popUp->grab().save(pictures + QStringLiteral("/contextmenu.png"));

        popUp->setActiveAction(c.entry(QStringLiteral("mnuDatum")));
        QTest::keyClick(popUp, Qt::Key_Return);
        QVERIFY(!popUp->isVisible());
        QVERIFY(c.dropDown()->isVisible());
        if (!pictures.isEmpty())
            c.dropDown()->grab().save(pictures + QStringLiteral("/datepicker.png"));
        QSignalSpy change(c.menu->picker(), &DatePicker::Change);
        QTest::keyClick(c.dropDown()->months().first(), Qt::Key_Escape);
        QVERIFY(!c.dropDown()->isVisible());
        QCOMPARE(change.size(), 0);
    }

    // Catches printing as a preview, and a print or options error that escapes the menu (the
    // options dialog may not be there yet: then its error is the message).
    void errorsBecomeMessages_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("Drucken... with a failing print dialog") << "mnuDrucken";
        QTest::newRow("Optionen... cancelled or not yet available") << "mnuOptions";
    }
    void errorsBecomeMessages()
    {
        QFETCH(QString, entry);
        Calendar c;
        PromptAnswers prompts;
        QList<bool> previews;
        int dialogs = 0;
        const cPrintDialog::Handler printHandler = cPrintDialog::setHandler([&](cPrintDialog &dialog) -> bool {
            previews << dialog.Preview();
            throw std::runtime_error("Drucker nicht erreichbar");
        });
        const ModalRunner runner = setModalRunner([&dialogs](QDialog &dialog) {
            ++dialogs;
            dialog.reject();
        });
        QSignalSpy spy(&c.agenda, &ucAgenda::OptionsChanged);
        c.entry(entry)->trigger();
        cPrintDialog::setHandler(printHandler);
        setModalRunner(runner);
        QCOMPARE(dialogs + prompts.texts(false).size(), 1);
        QCOMPARE(spy.size(), 0);
        if (entry == QLatin1String("mnuDrucken")) {
            QCOMPARE(previews, QList<bool>{false});
            QVERIFY(prompts.texts(false).first().contains(QStringLiteral("Drucker nicht erreichbar")));
        }
        QCOMPARE(c.agenda.FirstDay(), kMonday);
    }
};

QTEST_MAIN(tst_ContextMenu)
#include "tst_contextmenu.moc"

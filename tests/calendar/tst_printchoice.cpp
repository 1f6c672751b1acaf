// What the print dialog's choice of sheet and period prints, read back from the PDF as a
// person reads it, and what it refuses.
#include "dialogs/cprintdialog.h"
#include "dialogs/cprintpreview.h"
#include "shared/clock.h"
#include "shared/ctools.h"
#include "shared/modalrunner.h"
#include "support/agendaweek.h"

#include <dayplex/ctlgantt.h>

#include <QComboBox>
#include <QDateEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QSpinBox>
#include <QStackedWidget>
#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kNow = day(2026, 12, 5) + hm(10, 15);

// The text of each page of a PDF, as pdftotext reads it.
QStringList pdfPages(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    for (QString &page : pages)
        page = page.simplified();
    return pages;
}

// Whether the page shows every text of a list separated by "|".
bool showsAll(const QString &page, const QString &texts)
{
    const QStringList all = texts.split(QLatin1Char('|'));
    return std::all_of(all.cbegin(), all.cend(), [&page](const QString &text) { return page.contains(text); });
}

// Answers the print dialog with a choice and a PDF file, or the preview.
cPrintDialog::Handler choose(const QString &pdf, PrintSheet sheet, Date first, Date last, bool preview = false)
{
    return [=](cPrintDialog &dialog) {
        dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog.printer()->setOutputFileName(pdf);
        dialog.setPreview(preview);
        dialog.setChoice({sheet, first, last});
        return true;
    };
}

// The Qt print dialog, told to print into the PDF file; null for any other window.
QPrintDialog *printingTo(QDialog &dialog, const QString &pdf)
{
    auto *print = qobject_cast<QPrintDialog *>(&dialog);
    if (print) {
        print->printer()->setOutputFormat(QPrinter::PdfFormat);
        print->printer()->setOutputFileName(pdf);
    }
    return print;
}

// A resource view of a team, the first of whom has a meeting every day.
struct TeamChart
{
    ctlGantt chart;
    QStringList names;
    explicit TeamChart(int people = 2)
    {
        names << QStringLiteral("Anna Becker") << QStringLiteral("Ben Wolf");
        for (int n = 3; n <= people; ++n)
            names << QStringLiteral("Mitarbeiter %1").arg(n);
        QObject::connect(&chart, &ctlGantt::NeedDates, &chart, [this](double from, double to) {
            chart.SetFilledRange(from, to);
            for (int n = 0; n < names.size(); ++n)
                chart.AddMerkmal(names.at(n), QStringLiteral("P%1").arg(n + 1));
            for (Date d = std::floor(from); d <= to; ++d)
                chart.AddDate(QStringLiteral("A%1").arg(d), QStringLiteral("Besprechung"), d + hm(9, 0),
                              d + hm(10, 0), false, 0, false, 0xC0E0FF, false, QStringLiteral("P1"), false);
        });
        chart.Enabled = true;
        chart.setAlignOnWeekday(2);
        double last = AgendaWeek::monday() + 6;
        chart.SetDisplayedRange(AgendaWeek::monday(), &last, false, true);
    }
};

} // namespace

class tst_PrintChoice : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        setCurrentDateTimeForTesting(kNow);
        m_messages.clear();
        cTools::setPromptHandler([this](const Prompt &prompt) {
            m_messages << prompt.text;
            return true;
        });
    }
    void cleanup()
    {
        cPrintDialog::setHandler({});
        cTools::setPromptHandler({});
        setModalRunner({});
        setCurrentDateTimeForTesting(0);
    }

    // Catches a choice that prints another sheet or period than asked, loses a day or a week of
    // it, drops the title, the period or the page number of a page, or leaves either view on
    // the printed period afterwards.
    void chosenSheets_data()
    {
        QTest::addColumn<int>("sheet");
        QTest::addColumn<int>("from"); // days after Monday 25 March 2024
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("modern");
        QTest::addColumn<QStringList>("pageTitles"); // the texts of each sheet's title, by "|"
        QTest::addColumn<QString>("onEveryPage");
        QTest::addColumn<int>("people"); // of the resource view
        const int day = int(PrintSheet::Day), week = int(PrintSheet::Week), resource = int(PrintSheet::Resource);
        QTest::newRow("day sheets Monday to Wednesday")
            << day << 0 << 2 << true
            << QStringList{"Montag|25. März 2024", "Dienstag|26. März 2024", "Mittwoch|27. März 2024"}
            << "Tagesplan" << 2;
        QTest::newRow("one day sheet, classic") << day << 1 << 1 << false
                                                << QStringList{"Dienstag|26. März 2024"} << "Tagesplan" << 2;
        QTest::newRow("week sheets from a Wednesday over the next Wednesday")
            << week << 2 << 9 << true
            << QStringList{"25. März 2024|31. März 2024|13. Woche", "1. April 2024|7. April 2024|14. Woche"}
            << "Wochenplan" << 2;
        QTest::newRow("week sheets, classic")
            << week << 0 << 6 << false << QStringList{"25. März 2024|31. März 2024"} << "Wochenplan" << 2;
        QTest::newRow("resource view of 14 days")
            << resource << 0 << 13 << true << QStringList{"Ressourcenansicht"}
            << "Montag, 25. März 2024 – Sonntag, 7. April 2024" << 2;
        QTest::newRow("resource view of one day")
            << resource << 3 << 3 << true << QStringList{"Ressourcenansicht"} << "Donnerstag, 28. März 2024 Stand" << 2;
        QTest::newRow("resource view of a team taller than a page")
            << resource << 0 << 2 << true << QStringList{"Ressourcenansicht"}
            << "Montag, 25. März 2024 – Mittwoch, 27. März 2024" << 60;
    }
    void chosenSheets()
    {
        QFETCH(int, sheet);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, modern);
        QFETCH(QStringList, pageTitles);
        QFETCH(QString, onEveryPage);
        QFETCH(int, people);
        AgendaWeek week(1, AgendaWeek::monday() + 4);
        TeamChart team(people);
        const Presentation presentation = modern ? Presentation::Modern : Presentation::Classic;
        week.agenda.setPrintPresentation(presentation);
        team.chart.setPrintPresentation(presentation);
        week.agenda.offerPrintChoice(true, &team.chart);
        const QString pdf = m_dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
        const Date monday = AgendaWeek::monday();
        cPrintDialog::setHandler(choose(pdf, PrintSheet(sheet), monday + from, monday + to));
        week.agenda.PrintCalendar(false);

        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
        // For a person to look at, beside the pictures.
        if (qEnvironmentVariableIsSet("DAYPLEX_PICTURES"))
            QFile::copy(pdf, qEnvironmentVariable("DAYPLEX_PICTURES") + QLatin1Char('/') + QFileInfo(pdf).fileName());
        const QStringList pages = pdfPages(pdf);
        QVERIFY(pages.size() >= pageTitles.size());
        // Sheets whose list goes on over a further page follow their own.
        int next = 0;
        for (int n = 0; n < pages.size(); ++n) {
            const QString &page = pages.at(n);
            QVERIFY2(page.contains(onEveryPage), qPrintable(page));
            QVERIFY2(page.contains(QLatin1String("Stand: 05.12.2026 10:15")), qPrintable(page));
            if (modern)
                QVERIFY2(page.contains(QStringLiteral("Seite %1 von %2").arg(n + 1).arg(pages.size())),
                         qPrintable(page));
            if (next < pageTitles.size() && showsAll(page, pageTitles.at(next)))
                ++next;
        }
        QCOMPARE(next, pageTitles.size());
        // Every person is on the pages of the resource view, each page names whom it shows.
        if (PrintSheet(sheet) == PrintSheet::Resource) {
            const QString all = pages.join(QLatin1Char(' ')) + QLatin1Char(' ');
            for (const QString &name : team.names)
                QVERIFY2(all.contains(name + QLatin1Char(' ')), qPrintable(name));
            for (const QString &page : pages)
                QVERIFY(page.contains(QLatin1String("Anna Becker")) || page.contains(QLatin1String("Mitarbeiter")));
        }
        QCOMPARE(week.agenda.FirstDay(), monday + 4);
        QCOMPARE(week.agenda.LastDay(), monday + 4);
        QCOMPARE(team.chart.mStartDate, monday);
        QCOMPARE(team.chart.mEndDate, monday + 6);
    }

    // Catches a preview that shows only the first of the pages the choice prints.
    void previewShowsEveryPage()
    {
        AgendaWeek week;
        week.agenda.setPrintPresentation(Presentation::Modern);
        week.agenda.offerPrintChoice(true);
        const Date monday = AgendaWeek::monday();
        cPrintDialog::setHandler(choose(m_dir.filePath(QStringLiteral("preview.pdf")), PrintSheet::Day, monday + 1,
                                        monday + 3, true));
        int shown = 0;
        cPrintPreview::setHandler([&shown](cPrintPreview &preview) { shown = preview.pageCount(); });
        week.agenda.PrintCalendar(false);
        cPrintPreview::setHandler({});
        QCOMPARE(shown, 3);
    }

    // Catches a period that cannot be printed reaching the printer, or refused without a
    // reason the user understands.
    void badPeriod_data()
    {
        QTest::addColumn<int>("sheet");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("linked");
        QTest::addColumn<QString>("told");
        QTest::newRow("end before start") << int(PrintSheet::Week) << 5 << 4 << true
                                          << "Der Zeitraum endet vor seinem Beginn.";
        QTest::newRow("32 day sheets") << int(PrintSheet::Day) << 0 << 31 << true
                                       << "Tagespläne werden für höchstens 31 Tage gedruckt.";
        QTest::newRow("more than a year of the resource view")
            << int(PrintSheet::Resource) << 0 << 366 << true << "länger als ein Jahr";
        QTest::newRow("no day") << int(PrintSheet::Day) << -50000 << 0 << true
                                << "den ersten und den letzten Tag";
        QTest::newRow("resource view the host did not hand over")
            << int(PrintSheet::Resource) << 0 << 6 << false << "keine Ressourcenansicht";
    }
    void badPeriod()
    {
        QFETCH(int, sheet);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, linked);
        QFETCH(QString, told);
        AgendaWeek week;
        TeamChart team;
        week.agenda.setPrintPresentation(Presentation::Modern);
        week.agenda.offerPrintChoice(true, linked ? &team.chart : nullptr);
        const QString pdf = m_dir.filePath(QStringLiteral("refused.pdf"));
        cPrintDialog::setHandler(choose(pdf, PrintSheet(sheet), AgendaWeek::monday() + from,
                                        AgendaWeek::monday() + to));
        week.agenda.PrintCalendar(false);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().contains(told), qPrintable(m_messages.first()));
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(week.agenda.FirstDay(), AgendaWeek::monday());
        QCOMPARE(week.agenda.LastDay(), AgendaWeek::monday() + 6);
    }

    // Catches a choice shown where the host did not offer it (the classic tab asks for the
    // number of pages), a sheet offered that cannot be printed, a dialog that starts on another
    // sheet or period than the one on the screen, and fields whose answer does not reach the job.
    void dialogTab_data()
    {
        QTest::addColumn<bool>("offered");
        QTest::addColumn<bool>("linked");
        QTest::addColumn<bool>("resourceShown"); // instead of the calendar, in one window
        QTest::addColumn<QStringList>("sheets"); // empty: no choice
        QTest::addColumn<QString>("startsWith");
        const QStringList all{"Tagesplan", "Wochenplan", "Ressourcenansicht"};
        QTest::newRow("not offered") << false << false << false << QStringList() << QString();
        QTest::newRow("calendar alone") << true << false << false << all.mid(0, 2)
                                        << "Wochenplan 2024-03-25 2024-03-31";
        QTest::newRow("with the resource view")
            << true << true << false << all << "Wochenplan 2024-03-25 2024-03-31";
        QTest::newRow("the resource view shown")
            << true << true << true << all << "Ressourcenansicht 2024-03-25 2024-03-31";
    }
    void dialogTab()
    {
        QFETCH(bool, offered);
        QFETCH(bool, linked);
        QFETCH(bool, resourceShown);
        AgendaWeek week;
        TeamChart team;
        QStackedWidget window;
        window.addWidget(&week.agenda);
        window.addWidget(&team.chart);
        window.setCurrentWidget(resourceShown ? static_cast<QWidget *>(&team.chart) : &week.agenda);
        const auto ownViews = qScopeGuard([&] {
            week.agenda.setParent(nullptr);
            team.chart.setParent(nullptr);
        });
        week.agenda.setPrintPresentation(Presentation::Modern);
        week.agenda.offerPrintChoice(offered, linked ? &team.chart : nullptr);
        const QString pdf = m_dir.filePath(QStringLiteral("tab-%1.pdf").arg(QTest::currentDataTag()));
        QStringList shown;
        QString started;
        setModalRunner([&](QDialog &dialog) {
            QPrintDialog *print = printingTo(dialog, pdf);
            if (!print)
                return dialog.reject();
            QCOMPARE(print->findChild<QSpinBox *>("txtPageCount") != nullptr, !offered);
            if (auto *sheet = print->findChild<QComboBox *>("cboSheet")) {
                for (int i = 0; i < sheet->count(); ++i)
                    shown << sheet->itemText(i);
                auto *from = print->findChild<QDateEdit *>("dtpFrom");
                auto *to = print->findChild<QDateEdit *>("dtpTo");
                started = QStringLiteral("%1 %2 %3").arg(sheet->currentText(), from->date().toString(Qt::ISODate),
                                                            to->date().toString(Qt::ISODate));
                sheet->setCurrentIndex(0);
                from->setDate(QDate(2024, 3, 26));
                to->setDate(QDate(2024, 3, 27));
            }
            print->done(QDialog::Accepted);
        });
        week.agenda.PrintCalendar(false);
        QTEST(shown, "sheets");
        const QStringList pages = pdfPages(pdf);
        if (!offered) {
            QCOMPARE(pages.size(), 1);
            QVERIFY(pages.first().contains(QLatin1String("Wochenplan")));
            return;
        }
        QTEST(started, "startsWith");
        QCOMPARE(pages.size(), 2);
        QVERIFY(showsAll(pages.at(0), QStringLiteral("Dienstag|26. März 2024|Tagesplan")));
        QVERIFY(showsAll(pages.at(1), QStringLiteral("Mittwoch|27. März 2024|Tagesplan")));
    }

    // Catches a dialog that closes on a period it cannot print, so that the user has to
    // start over, or one that keeps a good period from printing.
    void dialogStaysOpenOnABadPeriod()
    {
        AgendaWeek week;
        week.agenda.offerPrintChoice(true);
        const QString pdf = m_dir.filePath(QStringLiteral("second-try.pdf"));
        bool openAfterRefusal = false;
        setModalRunner([&](QDialog &dialog) {
            QPrintDialog *print = printingTo(dialog, pdf);
            QVERIFY(print);
            auto *to = print->findChild<QDateEdit *>("dtpTo");
            to->setDate(QDate(2024, 3, 20));
            print->accept();
            openAfterRefusal = print->result() != QDialog::Accepted;
            to->setDate(QDate(2024, 3, 26));
            print->done(QDialog::Accepted);
        });
        week.agenda.PrintCalendar(false);
        QVERIFY(openAfterRefusal);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().contains(QLatin1String("endet vor seinem Beginn")), qPrintable(m_messages.first()));
        QCOMPARE(pdfPages(pdf).size(), 1);
    }

    // Catches an all-day entry the modern band counts as hidden ("+n") whose top still shows
    // below the band's last row: on the one-day sheet of a day with two all-day entries, the
    // band's strip below its first row holds no letter.
    void bandDrawsNoHiddenEntry()
    {
        AgendaWeek week(1, AgendaWeek::monday() + 1);
        week.agenda.setPrintPresentation(Presentation::Modern);
        QImage page(1200, 900, QImage::Format_RGB32);
        page.fill(Qt::white);
        week.agenda.ForPrinting = true;
        {
            QPainter painter(&page);
            painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
            week.agenda.PrintAnsicht(&painter, 20, 20, 1160, 845);
        }
        week.agenda.ForPrinting = false;
        const GridGeometry &g = week.d->core.scene.grid.geo;
        const int bandTop = g.lngOben + g.lngKopfhoehe;
        const int bandBottom = bandTop + g.lngTagesterminHoehe;
        const int firstRowBottom = bandTop + g.lngZeilenhoehe;
        QVERIFY2(bandBottom - firstRowBottom > 2 && bandBottom - firstRowBottom < g.lngZeilenhoehe - 2,
                 "the band shows no part of a second row");
        // The "+1" marker sits at the column's right end.
        const int left = week.d->core.scene.grid.columnLeft(0) + 2;
        const int right = left + g.lngSpaltenBreite * 3 / 4;
        int letterPixels = 0;
        for (int y = firstRowBottom + 1; y < bandBottom - 1; ++y)
            for (int x = left; x < right; ++x)
                letterPixels += qGray(page.pixel(x, y)) < 96;
        keepPicture(page.copy(0, 0, 1200, bandBottom + 40), QStringLiteral("modern-band-one-day"));
        QCOMPARE(letterPixels, 0);
    }

private:
    QTemporaryDir m_dir;
    QStringList m_messages;
};

DAYPLEX_TEST_MAIN(tst_PrintChoice)
#include "tst_printchoice.moc"

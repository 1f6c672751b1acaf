#include "shared/ctools.h"
#include "shared/modalrunner.h"

#include <dayplex/error.h>

#include <QtTest>
#include <QtWidgets>

#include <cmath>
#include <limits>
#include "support/testing.h"
#include "support/testmain.h"

using namespace Dayplex;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMs = 1.0 / 86400000.0;
constexpr double kMonday = 45355.0; // 2024-03-04

Date at(double day, int hour, int minute = 0) { return day + toTimeOfDay(QTime(hour, minute)); }

} // namespace

class tst_cTools : public QObject
{
    Q_OBJECT

private slots:
    // Catches closed intervals, a missing whole-day reading and rounding noise at the borders.
    void intervalsOverlap_data()
    {
        QTest::addColumn<double>("from1");
        QTest::addColumn<double>("to1");
        QTest::addColumn<double>("from2");
        QTest::addColumn<double>("to2");
        QTest::addColumn<bool>("expected");
        const double mon = kMonday;
        const double tue = kMonday + 1.0;
        const double wed = kMonday + 2.0;
        const double noise = 3e-10; // about 0.03 ms
        QTest::newRow("meeting ending at 10 leaves 10 free")
            << at(mon, 9) << at(mon, 10) << at(mon, 10) << at(mon, 11) << false;
        QTest::newRow("touching with noise")
            << at(mon, 9) << at(mon, 10) + noise << at(mon, 10) << at(mon, 11) << false;
        QTest::newRow("second inside first")
            << at(mon, 9) << at(mon, 12) << at(mon, 10) << at(mon, 11) << true;
        QTest::newRow("first whole days reach to the end of the last")
            << mon << tue << at(tue, 10) << at(tue, 11) << true;
        QTest::newRow("first whole days end before the next day")
            << mon << tue << wed << at(wed, 1) << false;
        QTest::newRow("first whole days with noisy midnights")
            << mon - noise << tue + noise << at(tue, 23) << at(tue, 23, 30) << true;
        QTest::newRow("first from midnight to the same midnight is that day")
            << tue << tue << at(tue, 23) << at(tue, 23, 30) << true;
        QTest::newRow("first timed from midnight is not extended")
            << tue << at(tue, 8) << at(tue, 9) << at(tue, 10) << false;
        QTest::newRow("second on one midnight covers that day")
            << at(tue, 10) << at(tue, 11) << tue << tue << true;
        QTest::newRow("second midnight to midnight stays half-open")
            << at(tue, 10) << at(tue, 11) << mon << tue << false;
        QTest::newRow("moment at the end of the first")
            << at(mon, 9) << at(mon, 10) << at(mon, 10) << at(mon, 10) << false;
        QTest::newRow("first ends before it starts")
            << at(mon, 11) << at(mon, 9) << at(mon, 9, 30) << at(mon, 10) << false;
    }
    void intervalsOverlap()
    {
        QFETCH(double, from1);
        QFETCH(double, to1);
        QFETCH(double, from2);
        QFETCH(double, to2);
        QTEST(cTools::IntervalsOverlap(from1, to1, from2, to2), "expected");
    }

    // Catches exact double comparison where a millisecond of noise must count as equal,
    // fmod-style raster checks that fail on noisy or negative moments, an unknown operator
    // silently answering false, and a division by zero or endless result for a useless raster.
    void tolerantComparisons_data()
    {
        QTest::addColumn<double>("a");
        QTest::addColumn<QString>("op"); // "on raster" asks IsOnRaster, all others DateCompare
        QTest::addColumn<double>("b");
        QTest::addColumn<int>("expected"); // 1, 0, or the error negated
        const double t = at(kMonday, 10);
        const double noisy = t + 0.4 * kMs;
        const double later = t + 2 * kMs;
        const double quarter = 1.0 / 96.0;
        const int refused = -int(InvalidArgument);
        QTest::newRow("= with noise") << t << "=" << noisy << 1;
        QTest::newRow("= 2 ms apart") << t << "=" << later << 0;
        QTest::newRow("< with noise") << t << "<" << noisy << 0;
        QTest::newRow("< 2 ms apart") << t << "<" << later << 1;
        QTest::newRow(">= with noise below") << t << ">=" << noisy << 1;
        QTest::newRow(">= clearly less") << t << ">=" << later << 0;
        QTest::newRow("blanks around the operator") << t << " = " << noisy << 1;
        QTest::newRow("NaN =") << kNaN << "=" << kNaN << 0;
        for (const char *op : {"", "==", "!=", "=<", "LIKE"})
            QTest::addRow("unknown operator '%s'", op) << 1.0 << op << 1.0 << refused;
        const QString onRaster = QStringLiteral("on raster");
        QTest::newRow("10:00 on quarter hours") << t << onRaster << quarter << 1;
        QTest::newRow("10:05 off quarter hours") << at(kMonday, 10, 5) << onRaster << quarter << 0;
        QTest::newRow("noise below 10:00") << t - 0.3 * kMs << onRaster << quarter << 1;
        QTest::newRow("2 ms after 10:00") << later << onRaster << quarter << 0;
        QTest::newRow("NaN moment") << kNaN << onRaster << quarter << 0;
        QTest::newRow("raster zero") << kMonday << onRaster << 0.0 << refused;
        QTest::newRow("raster NaN") << kMonday << onRaster << kNaN << refused;
    }
    void tolerantComparisons()
    {
        QFETCH(double, a);
        QFETCH(QString, op);
        QFETCH(double, b);
        bool answer = false;
        const int number = Dayplex::Testing::errorNumber([&] {
            answer = op == QLatin1String("on raster") ? cTools::IsOnRaster(a, b)
                                                     : cTools::DateCompare(a, op, b);
        });
        QTEST(number ? -number : int(answer), "expected");
    }

    // Catches truncation instead of rounding, and a missed roll-over to the next day.
    void normalizeDate_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        const double ten = toDate(QDate(2024, 3, 4)) + toTimeOfDay(QTime(10, 0));
        QTest::newRow("noise above 10:00") << ten + 0.3 * kMs << ten;
        QTest::newRow("noise below 10:00") << ten - 0.3 * kMs << ten;
        QTest::newRow("0.7 ms goes up a millisecond")
            << kMonday + 0.7 * kMs << kMonday + toTimeOfDay(QTime(0, 0, 0, 1));
        QTest::newRow("noise below midnight rolls over") << kMonday + 1.0 - 1e-11 << kMonday + 1.0;
    }
    void normalizeDate()
    {
        QFETCH(double, value);
        QFETCH(double, expected);
        // Exact comparisons: QCOMPARE's relative tolerance spans milliseconds at today's dates.
        const Date normal = cTools::NormalizeDate(value);
        QVERIFY2(normal == expected, qPrintable(QString::number(normal, 'g', 17)));
        QVERIFY(cTools::NormalizeDate(normal) == normal);
        QVERIFY(std::isnan(cTools::NormalizeDate(kNaN)));
    }

    // Catches English button texts, a default button that ignores the caller's choice, a wrong
    // icon or title, and a message box that bypasses the modal runner.
    void defaultMessageBox()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Praxisplaner"));
        // Answers each box as the user who presses Enter: with its default button.
        QStringList seen;
        const ModalRunner previous = setModalRunner([&](QDialog &dialog) {
            auto *box = qobject_cast<QMessageBox *>(&dialog);
            QVERIFY(box);
            QCOMPARE(box->objectName(), QLatin1String(ModalWindow::Message));
            QStringList buttons;
            for (QAbstractButton *b : box->buttons())
                buttons << b->text().remove(QLatin1Char('&'));
            buttons.sort();
            seen << QStringLiteral("%1 %2 %3").arg(box->windowTitle()).arg(box->icon()).arg(
                buttons.join(QLatin1Char('/')));
            box->defaultButton()->click();
        });
        const QString text = QStringLiteral("Termin löschen?");
        const bool yes = cTools::Confirm(text, true);
        const bool no = cTools::Confirm(text, false);
        cTools::Message(text, Prompt::Kind::Warning);
        setModalRunner(previous);
        QVERIFY(yes && !no);
        const QString question =
            QStringLiteral("Praxisplaner %1 Ja/Nein").arg(QMessageBox::Question);
        const QString warning = QStringLiteral("Praxisplaner %1 OK").arg(QMessageBox::Warning);
        QCOMPARE(seen, (QStringList{question, question, warning}));
    }
};

DAYPLEX_TEST_MAIN(tst_cTools)
#include "tst_ctools.moc"

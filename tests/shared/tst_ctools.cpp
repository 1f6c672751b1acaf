#include "shared/ctools.h"
#include "shared/modalrunner.h"

#include <dayplex/error.h>

#include <QtTest>
#include <QtWidgets>

#include <cmath>
#include <limits>

using namespace Dayplex;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMs = 1.0 / 86400000.0;
constexpr double kMonday = 45355.0; // 2024-03-04

Date at(double day, int hour, int minute = 0) { return day + toTimeOfDay(QTime(hour, minute)); }

// 1 or 0 for the answer of a call, or its error number negated.
template <class F> int outcome(F call)
{
    try {
        return call() ? 1 : 0;
    } catch (const Error &e) {
        return -e.number();
    }
}

} // namespace

class tst_cTools : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        cTools::setPromptHandler({});
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }

    // Catches truncation toward zero, which breaks dates before 1899-12-30, and NaN crashes.
    void dateAndTimeParts_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("date");
        QTest::addColumn<double>("time");
        QTest::newRow("Monday noon") << kMonday + 0.5 << kMonday << 0.5;
        QTest::newRow("midnight") << kMonday << kMonday << 0.0;
        QTest::newRow("-1.25 is 28 Dec 18:00") << -1.25 << -2.0 << 0.75;
        QTest::newRow("-0.5") << -0.5 << -1.0 << 0.5;
    }
    void dateAndTimeParts()
    {
        QFETCH(double, value);
        QFETCH(double, date);
        QFETCH(double, time);
        QCOMPARE(cTools::DateOnly(value), date);
        QCOMPARE(cTools::TimeOnly(value), time);
        QVERIFY(std::isnan(cTools::DateOnly(kNaN)));
        QVERIFY(std::isnan(cTools::TimeOnly(kNaN)));
        QCOMPARE(cTools::DateOnly(kInf), kInf);
        QCOMPARE(cTools::TimeOnly(-kInf), -kInf);
    }

    // Catches showing 00:00 at midnight or dropping the time otherwise.
    void formatDateText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("morning") << at(kMonday, 10, 5) << "04.03.2024 10:05";
        QTest::newRow("midnight shows the date only") << kMonday << "04.03.2024";
        QTest::newRow("evening") << at(kMonday, 23, 59) << "04.03.2024 23:59";
        QTest::newRow("single-digit day and month")
            << toDate(QDate(2024, 1, 5)) + toTimeOfDay(QTime(7, 3)) << "05.01.2024 07:03";
        QTest::newRow("noise below midnight is midnight")
            << kMonday + 1.0 - 1e-11 << "05.03.2024";
        QTest::newRow("NaN") << kNaN << "";
        QTest::newRow("beyond 9999") << kMaxDate + 3.0 << "";
    }
    void formatDateText()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(cTools::FormatDateText(value), expected);
    }

    // Catches a US week count instead of ISO weeks at year boundaries.
    void weekOfYear_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("week");
        QTest::newRow("2024-03-04") << QDate(2024, 3, 4) << 10;
        QTest::newRow("2024-12-30 is week 1 of 2025") << QDate(2024, 12, 30) << 1;
        QTest::newRow("2021-01-03 is week 53 of 2020") << QDate(2021, 1, 3) << 53;
        QTest::newRow("2026-01-01 Thursday") << QDate(2026, 1, 1) << 1;
        QTest::newRow("2027-01-01 Friday") << QDate(2027, 1, 1) << 53;
    }
    void weekOfYear()
    {
        QFETCH(QDate, date);
        QFETCH(int, week);
        QCOMPARE(cTools::WeekOfYear(toDate(date) + 0.75), week);
        QCOMPARE(cTools::WeekOfYear(kNaN), 0);
        QCOMPARE(cTools::WeekOfYear(-1e300), 0);
    }

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
        QTest::newRow("the same, second first")
            << at(mon, 10) << at(mon, 11) << at(mon, 9) << at(mon, 10) << false;
        QTest::newRow("touching with noise")
            << at(mon, 9) << at(mon, 10) + noise << at(mon, 10) << at(mon, 11) << false;
        QTest::newRow("one minute shared")
            << at(mon, 9) << at(mon, 10, 1) << at(mon, 10) << at(mon, 11) << true;
        QTest::newRow("second inside first")
            << at(mon, 9) << at(mon, 12) << at(mon, 10) << at(mon, 11) << true;
        QTest::newRow("first inside second")
            << at(mon, 10) << at(mon, 11) << at(mon, 9) << at(mon, 12) << true;
        QTest::newRow("identical") << at(mon, 9) << at(mon, 10) << at(mon, 9) << at(mon, 10) << true;
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
        QTest::newRow("second on one midnight, other day")
            << at(mon, 10) << at(mon, 11) << tue << tue << false;
        QTest::newRow("second midnight to midnight stays half-open")
            << at(tue, 10) << at(tue, 11) << mon << tue << false;
        QTest::newRow("moment inside the first")
            << at(mon, 9) << at(mon, 10) << at(mon, 9, 30) << at(mon, 9, 30) << true;
        QTest::newRow("moment at the start of the first")
            << at(mon, 9) << at(mon, 10) << at(mon, 9) << at(mon, 9) << true;
        QTest::newRow("moment at the end of the first")
            << at(mon, 9) << at(mon, 10) << at(mon, 10) << at(mon, 10) << false;
        QTest::newRow("first a moment inside the second")
            << at(mon, 9, 30) << at(mon, 9, 30) << at(mon, 9) << at(mon, 10) << true;
        QTest::newRow("two equal moments")
            << at(mon, 9) << at(mon, 9) << at(mon, 9) << at(mon, 9) << true;
        QTest::newRow("two different moments")
            << at(mon, 9) << at(mon, 9) << at(mon, 10) << at(mon, 10) << false;
        QTest::newRow("first ends before it starts")
            << at(mon, 11) << at(mon, 9) << at(mon, 9, 30) << at(mon, 10) << false;
        QTest::newRow("NaN") << kNaN << at(mon, 10) << at(mon, 9) << at(mon, 9) << false;
    }
    void intervalsOverlap()
    {
        QFETCH(double, from1);
        QFETCH(double, to1);
        QFETCH(double, from2);
        QFETCH(double, to2);
        QFETCH(bool, expected);
        QCOMPARE(cTools::IntervalsOverlap(from1, to1, from2, to2), expected);
    }

    // Catches excluded limits and limits that rounding noise pushes out.
    void dateInRange_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<double>("d");
        QTest::addColumn<bool>("expected");
        const double from = at(kMonday, 9);
        const double to = at(kMonday, 17);
        QTest::newRow("inside") << from << to << at(kMonday, 12) << true;
        QTest::newRow("at the start") << from << to << from << true;
        QTest::newRow("at the end") << from << to << to << true;
        QTest::newRow("noise before the start") << from << to << from - 0.3 * kMs << true;
        QTest::newRow("noise after the end") << from << to << to + 0.3 * kMs << true;
        QTest::newRow("2 ms before the start") << from << to << from - 2 * kMs << false;
        QTest::newRow("2 ms after the end") << from << to << to + 2 * kMs << false;
        QTest::newRow("reversed limits") << to << from << at(kMonday, 12) << false;
        QTest::newRow("NaN") << from << to << kNaN << false;
    }
    void dateInRange()
    {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(double, d);
        QFETCH(bool, expected);
        QCOMPARE(cTools::DateInRange(from, to, d), expected);
    }

    // Catches exact double comparison where a millisecond of noise must count as equal, and an
    // unknown operator silently answering false.
    void dateCompare_data()
    {
        QTest::addColumn<double>("a");
        QTest::addColumn<QString>("op");
        QTest::addColumn<double>("b");
        QTest::addColumn<int>("expected"); // 1, 0, or the error negated
        const double t = at(kMonday, 10);
        const double noisy = t + 0.4 * kMs;
        const double later = t + 2 * kMs;
        QTest::newRow("= with noise") << t << "=" << noisy << 1;
        QTest::newRow("= 2 ms apart") << t << "=" << later << 0;
        QTest::newRow("< with noise") << t << "<" << noisy << 0;
        QTest::newRow("< 2 ms apart") << t << "<" << later << 1;
        QTest::newRow("> with noise") << noisy << ">" << t << 0;
        QTest::newRow("> 2 ms apart") << later << ">" << t << 1;
        QTest::newRow(">= with noise below") << t << ">=" << noisy << 1;
        QTest::newRow(">= clearly less") << t << ">=" << later << 0;
        QTest::newRow("<= with noise above") << noisy << "<=" << t << 1;
        QTest::newRow("<= clearly greater") << later << "<=" << t << 0;
        QTest::newRow("<> with noise") << t << "<>" << noisy << 0;
        QTest::newRow("<> 2 ms apart") << t << "<>" << later << 1;
        QTest::newRow("blanks around the operator") << t << " = " << noisy << 1;
        QTest::newRow("NaN =") << kNaN << "=" << kNaN << 0;
        QTest::newRow("NaN <>") << kNaN << "<>" << t << 0;
        for (const char *op : {"", "==", "!=", "=<", "LIKE"})
            QTest::addRow("unknown operator '%s'", op) << 1.0 << op << 1.0 << -int(InvalidArgument);
    }
    void dateCompare()
    {
        QFETCH(double, a);
        QFETCH(QString, op);
        QFETCH(double, b);
        QFETCH(int, expected);
        QCOMPARE(outcome([&] { return cTools::DateCompare(a, op, b); }), expected);
    }

    // Catches fmod-style checks that fail on noisy or negative moments, and a division by zero or
    // endless result for a useless raster.
    void isOnRaster_data()
    {
        QTest::addColumn<double>("moment");
        QTest::addColumn<double>("raster");
        QTest::addColumn<int>("expected"); // 1, 0, or the error negated
        const double quarter = 1.0 / 96.0;
        const double fiveMinutes = 5 * kOneMinute;
        QTest::newRow("10:00 on quarter hours") << at(kMonday, 10) << quarter << 1;
        QTest::newRow("10:05 off quarter hours") << at(kMonday, 10, 5) << quarter << 0;
        QTest::newRow("10:05 on five minutes") << at(kMonday, 10, 5) << fiveMinutes << 1;
        QTest::newRow("sum of 40 quarter steps") << [&] {
            double v = kMonday;
            for (int i = 0; i < 40; ++i)
                v += quarter;
            return v;
        }() << quarter << 1;
        QTest::newRow("noise below 10:00") << at(kMonday, 10) - 0.3 * kMs << quarter << 1;
        QTest::newRow("2 ms after 10:00") << at(kMonday, 10) + 2 * kMs << quarter << 0;
        QTest::newRow("before day zero") << -1.25 << quarter << 1;
        QTest::newRow("midnight on days") << kMonday << 1.0 << 1;
        QTest::newRow("noon off days") << kMonday + 0.5 << 1.0 << 0;
        QTest::newRow("NaN moment") << kNaN << quarter << 0;
        QTest::newRow("infinite moment") << kInf << quarter << 0;
        const int refused = -int(InvalidArgument);
        QTest::newRow("raster zero") << kMonday << 0.0 << refused;
        QTest::newRow("raster negative") << kMonday << -quarter << refused;
        QTest::newRow("raster NaN") << kMonday << kNaN << refused;
        QTest::newRow("raster +infinity") << kMonday << kInf << refused;
        QTest::newRow("raster -infinity") << kMonday << -kInf << refused;
    }
    void isOnRaster()
    {
        QFETCH(double, moment);
        QFETCH(double, raster);
        QFETCH(int, expected);
        QCOMPARE(outcome([&] { return cTools::IsOnRaster(moment, raster); }), expected);
    }

    // Catches a Monday-first weekday mapping.
    void isDayOff_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("off");
        QTest::newRow("Monday") << QDate(2024, 3, 4) << false;
        QTest::newRow("Friday") << QDate(2024, 3, 8) << false;
        QTest::newRow("Saturday") << QDate(2024, 3, 9) << true;
        QTest::newRow("Sunday") << QDate(2024, 3, 10) << true;
        QTest::newRow("Sunday before day zero") << QDate(1899, 12, 24) << true;
    }
    void isDayOff()
    {
        QFETCH(QDate, date);
        QFETCH(bool, off);
        QCOMPARE(cTools::IsDayOff(toDate(date) + 0.9), off);
        QVERIFY(!cTools::IsDayOff(kNaN));
    }

    // Catches counting shared edges or empty rectangles as intersections.
    void rectsIntersect_data()
    {
        QTest::addColumn<QVector<int>>("r"); // l1 t1 r1 b1 l2 t2 r2 b2
        QTest::addColumn<bool>("expected");
        QTest::newRow("overlapping") << QVector<int>{0, 0, 10, 10, 5, 5, 15, 15} << true;
        QTest::newRow("shared vertical edge") << QVector<int>{0, 0, 10, 10, 10, 0, 20, 10} << false;
        QTest::newRow("shared horizontal edge")
            << QVector<int>{0, 0, 10, 10, 0, 10, 10, 20} << false;
        QTest::newRow("shared corner") << QVector<int>{0, 0, 10, 10, 10, 10, 20, 20} << false;
        QTest::newRow("contained") << QVector<int>{0, 0, 10, 10, 2, 2, 3, 3} << true;
        QTest::newRow("one pixel overlap") << QVector<int>{0, 0, 10, 10, 9, 9, 20, 20} << true;
        QTest::newRow("apart") << QVector<int>{0, 0, 10, 10, 20, 0, 30, 10} << false;
        QTest::newRow("negative coordinates")
            << QVector<int>{-20, -20, -5, -5, -10, -10, 0, 0} << true;
        QTest::newRow("empty first inside second") << QVector<int>{5, 5, 5, 8, 0, 0, 10, 10} << false;
        QTest::newRow("empty second inside first") << QVector<int>{0, 0, 10, 10, 2, 4, 8, 4} << false;
        QTest::newRow("inverted first") << QVector<int>{10, 10, 0, 0, 2, 2, 8, 8} << false;
    }
    void rectsIntersect()
    {
        QFETCH(QVector<int>, r);
        QFETCH(bool, expected);
        QCOMPARE(cTools::RectsIntersect(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7]), expected);
        QCOMPARE(cTools::RectsIntersect(r[4], r[5], r[6], r[7], r[0], r[1], r[2], r[3]), expected);
    }

    // Catches unsigned or unmasked halves.
    void words_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<int>("hi");
        QTest::addColumn<int>("lo");
        QTest::newRow("0x12345678") << qint32(0x12345678) << 0x1234 << 0x5678;
        QTest::newRow("-1") << qint32(-1) << -1 << -1;
        QTest::newRow("0xFFFF0001") << qint32(0xFFFF0001u) << -1 << 1;
        QTest::newRow("0x00008000") << qint32(0x00008000) << 0 << -32768;
        QTest::newRow("0x80000000") << qint32(0x80000000u) << -32768 << 0;
        QTest::newRow("mouse position -5, 300") << qint32((300 << 16) | 0xFFFB) << 300 << -5;
    }
    void words()
    {
        QFETCH(qint32, value);
        QFETCH(int, hi);
        QFETCH(int, lo);
        QCOMPARE(int(cTools::HiWord(value)), hi);
        QCOMPARE(int(cTools::LoWord(value)), lo);
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
        QTest::newRow("before day zero") << -1.25 - 1e-11 << -1.25;
        QTest::newRow("clean value unchanged") << ten << ten;
        QTest::newRow("+infinity unchanged") << kInf << kInf;
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

    // Catches raster sums that drift away from the converted wall-clock time.
    void normalizedStepsMatchConvertedTimes()
    {
        const Date step = 5 * kOneMinute;
        Date moment = kMonday;
        for (int i = 1; i <= 288; ++i) {
            moment += step;
            const QDateTime wall(QDate(2024, 3, 4), QTime(0, 0).addSecs(i * 300), Qt::LocalTime);
            const Date expected = i == 288 ? kMonday + 1.0 : toDate(wall);
            QVERIFY2(cTools::NormalizeDate(moment) == expected, qPrintable(QString::number(i)));
        }
    }

    // Catches a non-text tag or a crash on a missing control.
    void getTag_data()
    {
        QTest::addColumn<QVariant>("tag");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unset") << QVariant() << "";
        QTest::newRow("text") << QVariant(QStringLiteral("rgbBackTermine")) << "rgbBackTermine";
        QTest::newRow("number") << QVariant(42) << "42";
    }
    void getTag()
    {
        QFETCH(QVariant, tag);
        QFETCH(QString, expected);
        QWidget control;
        if (tag.isValid())
            control.setProperty("tag", tag);
        QCOMPARE(cTools::GetTag(&control), expected);
        QCOMPARE(cTools::GetTag(nullptr), QString());
    }

    // Catches a case-sensitive prefix test.
    void startsWith_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<bool>("expected");
        QTest::newRow("upper-case prefix") << "rgbBackTermine" << "RGBBACK" << true;
        QTest::newRow("short prefix") << "rgbBackTermine" << "RGB" << true;
        QTest::newRow("whole text") << "rgbBack" << "RGBBACK" << true;
        QTest::newRow("umlaut case") << "Ärzte" << "äR" << true;
        QTest::newRow("longer than the text") << "rgb" << "rgbBack" << false;
        QTest::newRow("inside, not at the start") << "rgbBackTermine" << "Back" << false;
        QTest::newRow("empty prefix") << "rgb" << "" << true;
        QTest::newRow("empty text") << "" << "r" << false;
    }
    void startsWith()
    {
        QFETCH(QString, text);
        QFETCH(QString, prefix);
        QFETCH(bool, expected);
        QCOMPARE(cTools::StartsWith(text, prefix), expected);
    }

    // Catches enabling only the frame or only its direct children.
    void enableContainer()
    {
        QWidget frame;
        auto *group = new QGroupBox(&frame);
        auto *edit = new QLineEdit(group);
        auto *button = new QPushButton(&frame);

        cTools::EnableContainer(&frame, false);
        QVERIFY(!frame.isEnabled());
        // Disabled in their own right, not just through the frame.
        QVERIFY(!group->isEnabledTo(&frame));
        QVERIFY(!edit->isEnabledTo(group));
        QVERIFY(!button->isEnabledTo(&frame));

        cTools::EnableContainer(&frame, true);
        QVERIFY(frame.isEnabled());
        QVERIFY(group->isEnabled());
        QVERIFY(edit->isEnabled());
        QVERIFY(button->isEnabled());

        cTools::EnableContainer(nullptr, false);
    }

    // Catches removing every trailing delimiter or one that is not there.
    void trimTrailingDelimiter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one trailing") << "a;b;" << ";" << "a;b";
        QTest::newRow("only one of two") << "a;b;;" << ";" << "a;b;";
        QTest::newRow("none trailing") << "a;b" << ";" << "a;b";
        QTest::newRow("only the delimiter") << ";" << ";" << "";
        QTest::newRow("empty text") << "" << ";" << "";
        QTest::newRow("empty delimiter") << "a;" << "" << "a;";
        QTest::newRow("two-character delimiter") << "a, b, " << ", " << "a, b";
        QTest::newRow("half a two-character delimiter") << "a, b," << ", " << "a, b,";
    }
    void trimTrailingDelimiter()
    {
        QFETCH(QString, text);
        QFETCH(QString, delimiter);
        QFETCH(QString, expected);
        cTools::TrimTrailingDelimiter(text, delimiter);
        QCOMPARE(text, expected);
    }

    // Catches trimmed pieces, a 0-based index and out-of-range reads.
    void getToken_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        const QString font = QStringLiteral("MS Sans Serif, 8pt");
        QTest::newRow("font name") << font << "," << 1 << "MS Sans Serif";
        QTest::newRow("font size keeps its blank") << font << "," << 2 << " 8pt";
        QTest::newRow("beyond the last") << font << "," << 3 << "";
        QTest::newRow("index 0") << font << "," << 0 << "";
        QTest::newRow("negative index") << font << "," << -1 << "";
        QTest::newRow("empty piece in the middle") << "a;;c" << ";" << 2 << "";
        QTest::newRow("after an empty piece") << "a;;c" << ";" << 3 << "c";
        QTest::newRow("trailing empty piece") << "a;" << ";" << 2 << "";
        QTest::newRow("no delimiter in the text") << "abc" << ";" << 1 << "abc";
        QTest::newRow("empty delimiter, first") << "abc" << "" << 1 << "abc";
        QTest::newRow("empty delimiter, second") << "abc" << "" << 2 << "";
        QTest::newRow("two-character delimiter") << "a||b||c" << "||" << 3 << "c";
    }
    void getToken()
    {
        QFETCH(QString, text);
        QFETCH(QString, delimiter);
        QFETCH(int, index);
        QFETCH(QString, expected);
        QCOMPARE(cTools::GetToken(text, delimiter, index), expected);
    }

    // Catches letting through other keys or swallowing backspace.
    void filterNumericKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("0") << int('0') << int('0');
        QTest::newRow("9") << int('9') << int('9');
        QTest::newRow("backspace") << 8 << 8;
        QTest::newRow("slash before 0") << int('/') << 0;
        QTest::newRow("colon after 9") << int(':') << 0;
        QTest::newRow("letter") << int('a') << 0;
        QTest::newRow("escape") << 27 << 0;
        QTest::newRow("negative") << -1 << 0;
        QTest::newRow("largest") << 32767 << 0;
    }
    void filterNumericKey()
    {
        QFETCH(int, key);
        QFETCH(int, expected);
        qint16 code = qint16(key);
        cTools::FilterNumericKey(code);
        QCOMPARE(int(code), expected);
    }

    // Catches truncation and integer overflow for large sizes.
    void mmToPixel_data()
    {
        QTest::addColumn<qint32>("mm");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<qint32>("pixels");
        QTest::newRow("10 mm at 96 dpi rounds up") << 10 << 96 << 38;
        QTest::newRow("25 mm at 96 dpi rounds down") << 25 << 96 << 94;
        QTest::newRow("1 mm at 600 dpi") << 1 << 600 << 24;
        QTest::newRow("negative") << -10 << 96 << -38;
        QTest::newRow("no resolution") << 100 << 0 << 0;
        QTest::newRow("clamped high") << std::numeric_limits<qint32>::max() << 2400
                                      << std::numeric_limits<qint32>::max();
        QTest::newRow("clamped low") << std::numeric_limits<qint32>::min() << 2400
                                     << std::numeric_limits<qint32>::min();
    }
    void mmToPixel()
    {
        QFETCH(qint32, mm);
        QFETCH(int, dpi);
        QFETCH(qint32, pixels);
        QCOMPARE(cTools::MmToPixelX(mm, dpi), pixels);
        QCOMPARE(cTools::MmToPixelY(mm, dpi), pixels);
    }

    // Catches a busy pointer that stacks, leaks or undoes someone else's cursor.
    void waitCursor_data()
    {
        QTest::addColumn<bool>("foreignCursor"); // someone else's override underneath
        QTest::addColumn<int>("busyCalls");
        QTest::newRow("once") << false << 1;
        QTest::newRow("three times true") << false << 3;
        QTest::newRow("on top of another cursor") << true << 2;
    }
    void waitCursor()
    {
        QFETCH(bool, foreignCursor);
        QFETCH(int, busyCalls);
        if (foreignCursor)
            QGuiApplication::setOverrideCursor(Qt::CrossCursor);
        const auto shape = [] {
            const QCursor *c = QGuiApplication::overrideCursor();
            return c ? int(c->shape()) : -1;
        };
        const int idle = shape();

        cTools tools;
        for (int i = 0; i < busyCalls; ++i)
            tools.WaitCursor(true);
        QVERIFY(tools.isWaitCursor());
        QCOMPARE(shape(), int(Qt::WaitCursor));
        tools.WaitCursor(false);
        QVERIFY(!tools.isWaitCursor());
        QCOMPARE(shape(), idle);
        tools.WaitCursor(false);
        QCOMPARE(shape(), idle);

        {
            cTools busy;
            busy.WaitCursor(true);
            const cTools copy(busy);
            QVERIFY(!copy.isWaitCursor());
        }
        QCOMPARE(shape(), idle); // the destructor restored it, the copy did not pop twice
    }

    // Catches an Escape that is missed, reported twice, or carried over from before.
    void abortRequested_data()
    {
        QTest::addColumn<bool>("beforeBusy"); // key pressed before the busy phase
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("expected");
        QTest::newRow("Escape while busy") << false << int(Qt::Key_Escape) << true;
        QTest::newRow("other key while busy") << false << int(Qt::Key_A) << false;
        QTest::newRow("Escape before the busy phase") << true << int(Qt::Key_Escape) << false;
    }
    void abortRequested()
    {
        QFETCH(bool, beforeBusy);
        QFETCH(int, key);
        QFETCH(bool, expected);
        QWidget target;
        cTools tools;
        QVERIFY(!tools.AbortRequested());
        const auto press = [&] {
            QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(&target, &event);
        };
        if (beforeBusy)
            press();
        tools.WaitCursor(true);
        if (!beforeBusy)
            press();
        QCOMPARE(tools.AbortRequested(), expected);
        QVERIFY(!tools.AbortRequested()); // reported once only
        tools.WaitCursor(false);
    }

    // Catches prompts that do not reach the handler with kind, text, title and default.
    void promptHandler_data()
    {
        QTest::addColumn<int>("call"); // 0 Confirm, 1 Message
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("defaultYes");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("appName"); // the title of every prompt
        const int question = int(Prompt::Kind::Question);
        QTest::newRow("confirm, default yes, answered yes") << 0 << question << true << true << "Praxisplaner";
        QTest::newRow("confirm, default no, answered no") << 0 << question << false << false << "Praxisplaner";
        QTest::newRow("confirm, default no, answered yes") << 0 << question << false << true << "Termine";
        QTest::newRow("information") << 1 << int(Prompt::Kind::Information) << true << true << "Praxisplaner";
        QTest::newRow("warning") << 1 << int(Prompt::Kind::Warning) << true << true << "Termine";
    }
    void promptHandler()
    {
        QFETCH(int, call);
        QFETCH(int, kind);
        QFETCH(bool, defaultYes);
        QFETCH(bool, answer);
        QFETCH(QString, appName);
        const QString oldName = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(appName);

        QList<Prompt> seen;
        cTools::setPromptHandler([&](const Prompt &p) { return seen << p, answer; });
        const QString text = QStringLiteral("Termin löschen?");
        if (call == 0)
            QCOMPARE(cTools::Confirm(text, defaultYes), answer);
        else
            cTools::Message(text, Prompt::Kind(kind));
        QCoreApplication::setApplicationName(oldName);

        QCOMPARE(seen.size(), 1);
        QCOMPARE(int(seen[0].kind), kind);
        QCOMPARE(seen[0].text, text);
        QCOMPARE(seen[0].title, appName);
        if (call == 0)
            QCOMPARE(seen[0].defaultYes, defaultYes);
    }

    // Catches a handler swap that loses the previous one or cannot restore the default.
    void setPromptHandlerReturnsPrevious()
    {
        QString last;
        cTools::PromptHandler first = [&](const Prompt &) { last = "first"; return true; };
        cTools::PromptHandler second = [&](const Prompt &) { last = "second"; return false; };

        QVERIFY(!cTools::setPromptHandler(first));
        cTools::PromptHandler previous = cTools::setPromptHandler(second);
        QVERIFY(previous);
        previous(Prompt());
        QCOMPARE(last, QStringLiteral("first"));
        QVERIFY(!cTools::Confirm(QStringLiteral("?")));
        QCOMPARE(last, QStringLiteral("second"));

        previous = cTools::setPromptHandler({});
        previous(Prompt());
        QCOMPARE(last, QStringLiteral("second"));
        QVERIFY(!cTools::setPromptHandler({})); // the default is in force again
    }

    // Catches English button texts, a default button that ignores the caller's choice, a wrong
    // icon, and a message box that bypasses the modal runner.
    void defaultMessageBox_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("defaultYes");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("icon");
        const int question = int(Prompt::Kind::Question);
        const QStringList jaNein{QStringLiteral("Ja"), QStringLiteral("Nein")};
        QTest::newRow("question, default Ja") << question << true << jaNein << int(QMessageBox::Question);
        QTest::newRow("question, default Nein") << question << false << jaNein << int(QMessageBox::Question);
        QTest::newRow("warning") << int(Prompt::Kind::Warning) << true << QStringList{"OK"}
                                 << int(QMessageBox::Warning);
    }
    void defaultMessageBox()
    {
        QFETCH(int, kind);
        QFETCH(bool, defaultYes);
        QFETCH(QStringList, buttons);
        QFETCH(int, icon);
        QCoreApplication::setApplicationName(QStringLiteral("Praxisplaner"));
        // Answers the box as the user who presses Enter: with its default button.
        QStringList seen;
        QString title;
        int shownIcon = -1;
        const ModalRunner previous = setModalRunner([&](QDialog &dialog) {
            auto *box = qobject_cast<QMessageBox *>(&dialog);
            QVERIFY(box);
            QCOMPARE(box->objectName(), QLatin1String(ModalWindow::Message));
            title = box->windowTitle();
            shownIcon = int(box->icon());
            for (QAbstractButton *b : box->buttons())
                seen << b->text().remove(QLatin1Char('&'));
            seen.sort();
            box->defaultButton()->click();
        });
        const QString text = QStringLiteral("Termin löschen?");
        bool answer = true;
        if (kind == int(Prompt::Kind::Question))
            answer = cTools::Confirm(text, defaultYes);
        else
            cTools::Message(text, Prompt::Kind(kind));
        setModalRunner(previous);
        QCOMPARE(seen, buttons);
        QCOMPARE(title, QStringLiteral("Praxisplaner"));
        QCOMPARE(shownIcon, icon);
        QCOMPARE(answer, defaultYes);
    }
};

QTEST_MAIN(tst_cTools)
#include "tst_ctools.moc"

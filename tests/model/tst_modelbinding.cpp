// The binding of an item model to the views: what a view shows and asks after a change of the
// model, the moves it writes back, and a model kept valid throughout (QAbstractItemModelTester).
#include "support/seriesanswers.h"
#include "support/testing.h"
#include "support/testmain.h"

#include <dayplex/ctlgantt.h>
#include <dayplex/modelbinding.h>
#include <dayplex/ucagenda.h>

#include <QAbstractItemModelTester>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTest>

#include <functional>

using namespace Dayplex;
using namespace Dayplex::Testing;

namespace {

const Date kMonday = day(2024, 3, 25);

QDateTime at(Date moment)
{
    return toQDateTime(moment);
}

// An appointment model whose writes of new times can be refused.
class Appointments : public QStandardItemModel
{
public:
    Appointments() : QStandardItemModel(0, 9) {}

    void add(const QString &key, Date start, Date end, const QVariant &participants = {},
             int row = -1, bool series = false)
    {
        row = row < 0 ? rowCount() : row;
        insertRow(row);
        const QVariantList values{key, QStringLiteral("Termin ") + key, at(start), at(end), false,
                                  false, false, participants, series};
        for (int column = 0; column < values.size(); ++column)
            setData(index(row, column), values.at(column));
    }
    int rowOf(const QString &key) const { return findItems(key).value(0)->row(); }
    QDateTime start(const QString &key) const { return data(index(rowOf(key), 2)).toDateTime(); }

    bool setData(const QModelIndex &at, const QVariant &value, int role = Qt::EditRole) override
    {
        const bool times = at.column() == 2 || at.column() == 3;
        return !(refuseTimes && times) && QStandardItemModel::setData(at, value, role);
    }
    bool refuseTimes = false;
};

using Change = std::function<void(Appointments &)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class tst_ModelBinding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modelChanges_data();
    void modelChanges();
    void moveWrittenBack_data();
    void moveWrittenBack();
    void moveInASortedProxy();
    void qtValuesAsClassic();
};

void tst_ModelBinding::modelChanges_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<int>("asks");
    QTest::addColumn<QString>("shown");

    const auto moveStart = [](const char *key, Date start) {
        return Change([=](Appointments &m) {
            m.setData(m.index(m.rowOf(QLatin1String(key)), 2), at(start));
        });
    };
    // The week shows A (Monday) and the long L; N is next week.
    QTest::newRow("a shown row's subject changes")
        << Change([](Appointments &m) { m.setData(m.index(m.rowOf("A"), 1), "Neu"); }) << 1
        << "A|L|";
    QTest::newRow("a row of next week moves within next week")
        << moveStart("N", kMonday + 8.5) << 0 << "A|L|";
    QTest::newRow("a row of next week moves into the week")
        << moveStart("N", kMonday + 6.5) << 1 << "N|A|L|";
    QTest::newRow("a shown row moves out of the week") << moveStart("A", kMonday + 7.5) << 1 << "L|";
    QTest::newRow("a row without a start gets one in the week") << moveStart("X", kMonday + 2.4) << 1
                                                                 << "A|X|L|";
    QTest::newRow("a row is inserted on Sunday evening, before the others")
        << Change([](Appointments &m) { m.add("S", kMonday + 6.9, kMonday + 6.95, {}, 0); }) << 1
        << "S|A|L|";
    QTest::newRow("a row is inserted at midnight after the week")
        << Change([](Appointments &m) { m.add("M", kMonday + 7, kMonday + 7.1); }) << 1 << "A|L|";
    QTest::newRow("a row is inserted a second after the week")
        << Change([](Appointments &m) { m.add("M", kMonday + 7 + kOneSecond, kMonday + 7.1); }) << 0
        << "A|L|";
    QTest::newRow("a shown row is removed")
        << Change([](Appointments &m) { m.removeRow(m.rowOf("A")); }) << 1 << "L|";
    // Row numbers move up: the index must change the row that is now where A was not.
    QTest::newRow("the first row goes, then a shown one moves out")
        << Change([](Appointments &m) {
               m.removeRow(0);
               m.setData(m.index(m.rowOf("L"), 3), at(kMonday - 1));
           })
        << 1 << "A|";
    QTest::newRow("a row of next week is removed")
        << Change([](Appointments &m) { m.removeRow(m.rowOf("N")); }) << 0 << "A|L|";
    QTest::newRow("two shown rows change in one turn of the event loop")
        << Change([](Appointments &m) {
               m.setData(m.index(m.rowOf("A"), 1), "Neu");
               m.setData(m.index(m.rowOf("L"), 1), "Neu");
           })
        << 1 << "A|L|";
    QTest::newRow("the model is emptied") << Change([](Appointments &m) { m.setRowCount(0); }) << 1
                                          << "";
    QTest::newRow("the model is sorted by key")
        << Change([](Appointments &m) { m.sort(0, Qt::DescendingOrder); }) << 1 << "L|A|";
}

// A change of the model shows in the view when, and only when, it touches the shown days, and
// the view asks for its days once however many rows changed.
void tst_ModelBinding::modelChanges()
{
    QFETCH(Change, change);
    QFETCH(int, asks);
    QFETCH(QString, shown);

    Appointments model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.add("N", kMonday + 7.4, kMonday + 7.5);
    model.add("A", kMonday + 0.375, kMonday + 0.4375);
    model.add("X", 0, 0);
    model.setData(model.index(2, 2), QVariant());
    model.add("L", kMonday - 60, kMonday + 40);
    ucAgenda agenda;
    agenda.setAlignOnWeekday(2);
    ModelBinding binding(&agenda);
    binding.setModel(&model);
    double last = kMonday + 6;
    agenda.SetDisplayedRange(kMonday, &last, false, true);
    QCOMPARE(agenda.TerminDSN(), QStringLiteral("A|L|"));

    QSignalSpy asked(&agenda, &ucAgenda::NeedDates);
    change(model);
    QCoreApplication::processEvents();
    QCOMPARE(asked.count(), asks);
    QCOMPARE(agenda.TerminDSN(), shown);
}

void tst_ModelBinding::moveWrittenBack_data()
{
    QTest::addColumn<bool>("agreed");
    QTest::addColumn<bool>("modelRefuses");
    QTest::addColumn<QString>("seriesAnswer"); // empty: not an occurrence of a series
    QTest::addColumn<bool>("moved");

    QTest::newRow("agreed and written") << true << false << QString() << true;
    QTest::newRow("agreed, the model refuses") << true << true << QString() << false;
    QTest::newRow("the question refused") << false << false << QString() << false;
    QTest::newRow("an occurrence, only this one") << true << false << "Nur diesen Termin" << true;
    QTest::newRow("an occurrence, the whole series is the host's")
        << true << false << "Alle Termine der Serie" << false;
}

// A move the user agreed to reaches the model; a refused question or a refused write leaves the
// model and the bars where they were. The resource view's rows come from a second model, and a
// meeting is a bar in each of its participants' rows.
void tst_ModelBinding::moveWrittenBack()
{
    QFETCH(bool, agreed);
    QFETCH(bool, modelRefuses);
    QFETCH(QString, seriesAnswer);
    QFETCH(bool, moved);

    Appointments model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.add("M", kMonday + 0.375, kMonday + 0.4375, QStringList{"p1", "p2"}, -1,
              !seriesAnswer.isEmpty());
    model.refuseTimes = modelRefuses;
    QStandardItemModel people(0, 2);
    for (const char *key : {"p2", "p1"})
        people.appendRow({new QStandardItem(key), new QStandardItem(QStringLiteral("Name ") + key)});

    ctlGantt gantt;
    ModelBinding binding(&gantt);
    binding.setParticipantModel(&people);
    binding.setModel(&model);
    double last = kMonday + 6;
    gantt.SetDisplayedRange(kMonday, &last, false, false);
    QSignalSpy refused(&binding, &ModelBinding::changeRefused);
    QSignalSpy seriesRequests(&binding, &ModelBinding::seriesChangeRequested);
    PromptAnswers answers(agreed);
    SeriesAnswers scope(seriesAnswer);
    if (modelRefuses)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused the new times"));

    const Date tuesday = kMonday + 1 + 0.375;
    gantt.setSelectedDate("M");
    gantt.SelectedDateMove(tuesday, 0);
    QCoreApplication::processEvents();

    const Date now = moved ? tuesday : kMonday + 0.375;
    QCOMPARE(model.start("M"), at(now));
    QCOMPARE(refused.count(), modelRefuses ? 1 : 0);
    QCOMPARE(seriesRequests.count(), seriesAnswer == "Alle Termine der Serie" ? 1 : 0);
    for (const char *row : {"p1", "p2"}) {
        QVERIFY2(!gantt.isTerminFreiMerkmal(now, now + 0.01, row), row);
        QVERIFY2(gantt.isTerminFreiMerkmal(now == tuesday ? kMonday + 0.375 : tuesday,
                                           (now == tuesday ? kMonday + 0.375 : tuesday) + 0.01, row),
                 row);
    }
    QCOMPARE(gantt.SelectedDate(), QStringLiteral("M")); // a reload keeps the selection
    QCOMPARE(gantt.appointmentDetails("M").participants, QStringList({"Name p1", "Name p2"}));
}

// Writing the start moves the row in a proxy sorted by start; the end must follow that row,
// not go to the row that took its place.
void tst_ModelBinding::moveInASortedProxy()
{
    Appointments model;
    model.add("A", kMonday + 0.375, kMonday + 0.4375);
    model.add("B", kMonday + 1.375, kMonday + 1.4375);
    QSortFilterProxyModel sorted;
    sorted.setSourceModel(&model);
    sorted.setSortRole(Qt::EditRole);
    sorted.sort(2);
    QAbstractItemModelTester tester(&sorted, QAbstractItemModelTester::FailureReportingMode::QtTest);
    ucAgenda agenda;
    agenda.setConfirmChanges(false);
    ModelBinding binding(&agenda);
    binding.setModel(&sorted);
    double last = kMonday + 6;
    agenda.SetDisplayedRange(kMonday, &last, false, false);

    agenda.setSelectedDate("A");
    agenda.SelectedDateMove(kMonday + 2.375, zeitzelle);
    QCoreApplication::processEvents();
    QCOMPARE(model.start("A"), at(kMonday + 2.375));
    QCOMPARE(model.data(model.index(model.rowOf("A"), 3)).toDateTime(), at(kMonday + 2.4375));
    QCOMPARE(model.data(model.index(model.rowOf("B"), 3)).toDateTime(), at(kMonday + 1.4375));
    QCOMPARE(agenda.TerminDSN(), QStringLiteral("B|A|"));
}

// AddDate with QDateTime and QColor draws what the classic one draws with automation dates and
// Windows colour values (red in the low byte), and refuses a start that is no date.
void tst_ModelBinding::qtValuesAsClassic()
{
    ucAgenda classic;
    ucAgenda qt;
    classic.AddDate("A", "Termin", kMonday + 0.375, kMonday + 0.5, false, 0x0000FF, false,
                    0xFFA040, false);
    qt.AddDate("A", "Termin", at(kMonday + 0.375), at(kMonday + 0.5), false, QColor(255, 0, 0),
               false, QColor(0x40, 0xA0, 0xFF));
    for (ucAgenda *agenda : {&classic, &qt}) {
        double last = kMonday + 6;
        agenda->SetDisplayedRange(kMonday, &last, false, false);
    }
    QCOMPARE(qt.paintToImage(QSize(800, 600)), classic.paintToImage(QSize(800, 600)));
    QCOMPARE(errorNumber([&] { qt.AddDate("B", "x", QDateTime(), at(kMonday), false); }),
             int(InvalidArgument));
}

DAYPLEX_TEST_MAIN(tst_ModelBinding)
#include "tst_modelbinding.moc"

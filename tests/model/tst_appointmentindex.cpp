// The index of a model's rows by time answers as a plain scan of every row would, through
// changes, inserts and removals that renumber the rows.
#include "model/appointmentindex.h"
#include "support/testmain.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Dayplex;
using Span = AppointmentIndex::Span;

namespace {

QVector<int> scan(const QVector<Span> &spans, Date first, Date last)
{
    QVector<int> rows;
    for (int row = 0; row < spans.size(); ++row)
        if (spans.at(row).overlaps(first, last))
            rows.append(row);
    return rows;
}

} // namespace

class tst_AppointmentIndex : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersAsAScan_data();
    void answersAsAScan();
};

void tst_AppointmentIndex::answersAsAScan_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<double>("longest");
    QTest::newRow("hours and days") << 1u << 2.0;
    QTest::newRow("up to two years, every length class") << 2u << 800.0;
    QTest::newRow("minutes") << 3u << 0.01;
}

// Mixed lengths put rows in every class; a row whose class changes, a removed row and an
// inserted one must leave no stale entry and no wrong row number behind.
void tst_AppointmentIndex::answersAsAScan()
{
    QFETCH(quint32, seed);
    QFETCH(double, longest);
    QRandomGenerator random(seed);
    const auto spanOf = [&] {
        if (random.bounded(20) == 0)
            return Span{}; // a row without a start
        const Date from = random.bounded(1000.0);
        return Span{from, from + random.bounded(longest)};
    };
    QVector<Span> plain;
    for (int i = 0; i < 400; ++i)
        plain.append(spanOf());
    AppointmentIndex index;
    index.reset(plain);
    for (int step = 0; step < 600; ++step) {
        const int row = int(random.bounded(quint32(plain.size())));
        switch (random.bounded(3)) {
        case 0: {
            const Span span = spanOf();
            plain[row] = span;
            index.setSpan(row, span);
            break;
        }
        case 1: {
            const QVector<Span> spans{spanOf(), spanOf()};
            plain.insert(row, spans.at(1));
            plain.insert(row, spans.at(0));
            index.insertRows(row, spans);
            break;
        }
        default: {
            const int last = std::min(int(plain.size()) - 1, row + int(random.bounded(3)));
            plain.remove(row, last - row + 1);
            index.removeRows(row, last);
        }
        }
        const Date first = random.bounded(1000.0);
        const Date last = first + random.bounded(8.0);
        QCOMPARE(index.rowsIn(first, last), scan(plain, first, last));
    }
    QCOMPARE(index.rowCount(), int(plain.size()));
}

DAYPLEX_TEST_MAIN(tst_AppointmentIndex)
#include "tst_appointmentindex.moc"

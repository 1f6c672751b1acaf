// The per-row busy index of the free-slot search against the plain rule: every appointment of
// the row that is not a mere note, asked with IntervalsOverlap up to its occupied end.
#include "gantt/ganttmodel.h"
#include "shared/alldayend.h"
#include "shared/toolbox.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <limits>
#include "support/testmain.h"

using namespace Dayplex;

namespace {

const Date kDay = toDate(QDate(2024, 3, 4));
const QStringList kRows{QStringLiteral("R1"), QStringLiteral("R2"), QStringLiteral("{1}")};

bool plainRowFree(const GanttModel &model, const QString &rowDsn, Date start, Date end)
{
    for (qint32 i = 1; i <= model.dateCount(); ++i) {
        const GanttEintrag &e = model.date(i);
        if (e.merkmaldsn == rowDsn && !e.blnhinweis
            && cToolbox::IntervalsOverlap(start, end, e.von, occupiedEnd(e.bis, e.btagestermin)))
            return false;
    }
    return true;
}

// Times that meet the edge cases of the overlap rule: whole midnights, shared ends, values a
// hair apart (inside and outside the toolbox's tolerance for equal moments), quarter hours.
Date randomTime(QRandomGenerator &random)
{
    const Date base = kDay + random.bounded(6) + random.bounded(96) / 96.0;
    switch (random.bounded(6)) {
    case 0: return std::floor(base);
    case 1: return base + (random.bounded(2) ? 1 : -1) * 0.5 / 86400000.0;
    case 2: return base + (random.bounded(2) ? 1 : -1) * 5.0 / 86400000.0;
    default: return base;
    }
}

// Intervals: ordinary, moments, midnight to midnight, reversed.
QPair<Date, Date> randomInterval(QRandomGenerator &random)
{
    const Date from = randomTime(random);
    switch (random.bounded(5)) {
    case 0: return {from, from};
    case 1: return {std::floor(from), std::floor(from) + random.bounded(3)};
    case 2: return {from, from - random.bounded(8) / 24.0};
    default: return {from, from + random.bounded(1, 40) / 24.0};
    }
}

} // namespace

class tst_RowBusyIndex : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersEqualThePlainRule_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 40; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }

    // Catches an index that drops or invents a blocking appointment near the edges of the rule.
    void answersEqualThePlainRule()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        GanttModel model;
        const int count = random.bounded(1, 120);
        for (int i = 0; i < count; ++i) {
            const auto interval = randomInterval(random);
            model.addDate(QString::number(i), QString(), interval.first, interval.second, random.bounded(3) == 0, 0,
                          false, 0, false, kRows.at(random.bounded(kRows.size())), random.bounded(5) == 0, false);
        }
        // Moved records, with values no delivery could bring.
        const Date strange[] = {std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, -HUGE_VAL};
        for (int k = 0; k < 2; ++k) {
            GanttEintrag &e = model.date(1 + random.bounded(model.dateCount()));
            (random.bounded(2) ? e.von : e.bis) = strange[random.bounded(3)];
        }
        for (int q = 0; q < 400; ++q) {
            const auto slot = randomInterval(random);
            const QString &row = kRows.at(random.bounded(kRows.size()));
            QVERIFY2(model.isRowFree(row, slot.first, slot.second) == plainRowFree(model, row, slot.first, slot.second),
                     qPrintable(QStringLiteral("%1 %2..%3").arg(row).arg(slot.first, 0, 'f', 12).arg(slot.second, 0, 'f', 12)));
        }
        QVERIFY(model.isRowFree(QStringLiteral("R1"), qQNaN(), kDay));
    }

};

DAYPLEX_TEST_MAIN(tst_RowBusyIndex)
#include "tst_rowbusyindex.moc"

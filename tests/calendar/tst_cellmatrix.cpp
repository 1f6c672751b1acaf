#include "calendar/calendargrid.h"
#include "calendar/cellmatrix.h"
#include "shared/ccontainer.h"

#include <dayplex/error.h>

#include <QRandomGenerator>
#include <QtTest>
#include "support/testmain.h"

using namespace Dayplex;

namespace {

constexpr double kMonday = 45355.0; // 2024-03-04
constexpr qint32 kFree = 0x00C0C0C0;
constexpr qint32 kWork = 0x00FFFFFF;

// The rule the bit matrix implements, spelt out: a segment takes the lowest sub-column that
// is free in all its rows, one segment per day; each cell maps its taken sub-columns to keys.
struct Model
{
    int rows;
    QVector<QMap<int, QString>> cells;

    Model(int days, int rows) : rows(rows), cells(days * rows) {}
    QMap<int, QString> &at(int column, int row) { return cells[column * rows + row]; }

    int place(int column, int zv, int zb, const QString &dsn)
    {
        int k = 1;
        for (int r = zv; r <= zb; ++r)
            if (at(column, r).contains(k))
                ++k, r = zv - 1;
        for (int r = zv; r <= zb; ++r)
            at(column, r)[k] = dsn;
        return k;
    }
    void placeDays(int tv, int tb, int zv, int zb, const QString &dsn)
    {
        for (int t = tv; t <= tb; ++t)
            place(t, t == tv ? zv : 0, t == tb ? zb : rows - 1, dsn);
    }
    QString marks(int column, int row)
    {
        const QMap<int, QString> &cell = at(column, row);
        QString text(cell.isEmpty() ? 0 : cell.lastKey(), QLatin1Char(' '));
        for (int k : cell.keys())
            text[k - 1] = QLatin1Char('*');
        return text;
    }
    // Free sub-columns read as the empty key, up to the last taken one (at least one).
    QStringList keys(int column, int row)
    {
        QStringList list;
        for (int k = 1; k <= std::max(1, int(marks(column, row).size())); ++k)
            list << at(column, row).value(k);
        return list;
    }
    int widest(int column, int from, int to)
    {
        int widest = 0;
        for (int r = from; r <= to; ++r)
            widest = std::max(widest, int(marks(column, r).trimmed().size()));
        return widest;
    }
};

// "W" for working time, "F" for free, per row of one column.
QString colourRow(const CellMatrix &matrix, int column)
{
    QString text;
    for (int r = 0; r < matrix.rows(); ++r)
        text += matrix.colour(column, r) == kWork ? QLatin1Char('W')
            : matrix.colour(column, r) == kFree   ? QLatin1Char('F')
                                                  : QLatin1Char('?');
    return text;
}

// Rows from..to of 48 half hours as W, the rest F.
QString workRows(std::initializer_list<std::pair<int, int>> ranges)
{
    QString text(48, QLatin1Char('F'));
    for (const auto &range : ranges)
        for (int r = range.first; r <= range.second; ++r)
            text[r] = QLatin1Char('W');
    return text;
}

} // namespace

class tst_CellMatrix : public QObject
{
    Q_OBJECT

private slots:
    // Catches bit bookkeeping that goes wrong across 64-bit words or while the sub-columns
    // grow, and multi-day intervals placed as one block instead of one segment per day,
    // against the text model on random calls.
    void matchesTextModel()
    {
        const QStringList keys{"", "a", "b", "c", "d", "e", "f", "g", "h"};
        int highest = 0;
        for (quint32 seed = 1; seed <= 40; ++seed) {
            QRandomGenerator random(seed);
            const int days = 1 + int(random.bounded(4));
            const int rows = 1 + int(random.bounded(seed % 2 ? 6 : 40));
            CellMatrix matrix;
            matrix.rebuild(days, rows);
            Model model(days, rows);
            matrix.clearOccupancy();
            const int calls = 50 + int(random.bounded(350));
            for (int i = 0; i < calls; ++i) {
                const QString &key = keys[int(random.bounded(keys.size()))];
                const int tv = int(random.bounded(days));
                int zv = int(random.bounded(rows));
                int zb = int(random.bounded(rows));
                if (random.bounded(3) == 0) {
                    const int tb = tv + int(random.bounded(days - tv));
                    if (tv == tb && zv > zb)
                        std::swap(zv, zb);
                    matrix.zellenBelegungEintragen(tv, tb, zv, zb, key);
                    model.placeDays(tv, tb, zv, zb, key);
                } else {
                    if (zv > zb)
                        std::swap(zv, zb);
                    const int k = matrix.spaltenBelegen(tv, zv, zb, key);
                    QCOMPARE(k, model.place(tv, zv, zb, key));
                    highest = std::max(highest, k);
                }
            }
            for (int c = 0; c < days; ++c) {
                for (int r = 0; r < rows; ++r) {
                    const QStringList cellKeys = model.keys(c, r);
                    QCOMPARE(matrix.belegung(c, r), model.marks(c, r));
                    for (int k = 1; k <= cellKeys.size() + 1; ++k)
                        QCOMPARE(matrix.dsnAt(c, r, k), cellKeys.value(k - 1));
                    for (const QString &key : keys)
                        QCOMPARE(matrix.firstSubColumnOf(c, r, key), int(cellKeys.indexOf(key)) + 1);
                    const int to = r + int(random.bounded(rows - r));
                    QCOMPARE(matrix.sharedSubColumns(c, r, to), model.widest(c, r, to));
                }
            }
        }
        QVERIFY2(highest > 130, "the random calls must reach a third word of sub-columns");
    }

    // Catches pauses that lose against working time, the wrong weekday's keys, and end rows
    // that include the row starting at the end time.
    void workingTimes_data()
    {
        // Options as "key=hours" pairs; the grid shows Monday and Tuesday, 30-minute rows.
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("monday");
        QTest::addColumn<QString>("tuesday");
        const QString allFree(48, QLatin1Char('F'));
        QTest::newRow("work with a pause")
            << "timeArbeitsZeitVon2=8,timeArbeitsZeitBis2=18,timePause1Von2=12,timePause1Bis2=13"
            << workRows({{16, 23}, {26, 35}}) << allFree;
        QTest::newRow("end before start") << "timeArbeitsZeitVon2=18,timeArbeitsZeitBis2=8"
                                          << allFree << allFree;
        QTest::newRow("each weekday its own keys, case-insensitive")
            << "TIMEARBEITSZEITVON3=7.5,timearbeitszeitbis3=9,timeArbeitsZeitVon2=10,"
               "timeArbeitsZeitBis2=11"
            << workRows({{20, 21}}) << workRows({{15, 17}});
        QTest::newRow("fifth pause counts, a sixth does not")
            << "timeArbeitsZeitVon2=8,timeArbeitsZeitBis2=12,timePause5Von2=9,timePause5Bis2=10,"
               "timePause6Von2=11,timePause6Bis2=12"
            << workRows({{16, 17}, {20, 23}}) << allFree;
        QTest::newRow("end off the raster keeps its row")
            << "timeArbeitsZeitVon2=8.25,timeArbeitsZeitBis2=9.25" << workRows({{16, 18}})
            << allFree;
    }
    void workingTimes()
    {
        QFETCH(QString, options);
        QFETCH(QString, monday);
        QFETCH(QString, tuesday);
        cContainer container;
        for (const QString &pair : options.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QStringList parts = pair.split(QLatin1Char('='));
            container.setValue(parts[0], parts[1].toDouble() / 24.0, cContainer::Kind::Date);
        }
        cContainer layout;
        layout.setValue(QStringLiteral("rgbFreizeit"), kFree);
        layout.setValue(QStringLiteral("rgbArbeitszeit"), kWork);
        CalendarGrid grid;
        grid.firstDay = kMonday;
        grid.lastDay = kMonday + 1;
        grid.setRaster(30 * kOneMinute);
        CellMatrix matrix;
        matrix.rebuild(2, grid.lastRow + 1);
        applyWorkingTimes(matrix, grid, container, layout);
        QCOMPARE(colourRow(matrix, 0), monday);
        QCOMPARE(colourRow(matrix, 1), tuesday);
    }
};

DAYPLEX_TEST_MAIN(tst_CellMatrix)

#include "tst_cellmatrix.moc"

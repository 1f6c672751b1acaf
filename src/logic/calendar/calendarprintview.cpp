#include "calendar/calendarprintview.h"

#include "shared/cdc.h"
#include "shared/drawconstants.h"
#include "shared/toolbox.h"
#include "shared/germanformat.h"
#include "shared/rounding.h"

#include <QFont>
#include <cmath>

namespace Dayplex {

namespace {

Date firstOfMonth(Date date)
{
    const QDate d = toQDate(date);
    return toDate(QDate(d.year(), d.month(), 1));
}

Date firstOfNextMonth(Date date)
{
    const QDate d = toQDate(date);
    return toDate(QDate(d.year(), d.month(), 1).addMonths(1));
}

// Monday = 1 ... Sunday = 7, the order of the overview's columns.
int mondayFirst(Date date)
{
    return (weekdayNumber(date) + 5) % 7 + 1;
}

void paintMonthOverview(cDC &dc, const CalendarStyle &style, Date monthDate, qint32 x, qint32 y,
                        qint32 w, qint32 h, Date markFrom, Date markTo)
{
    const qint32 cellWidth = roundedUnclamped(w / 8.0);
    const qint32 cellHeight = roundedUnclamped(h / 9.0);
    const QFont *font = dc.Font();
    QFont plain = font ? *font : QFont();
    plain.setBold(false);
    dc.setFont(&plain);
    dc.UpdateFont();

    dc.setTextColor(style.rgbFontMonatsuebersichtkopf);
    dc.FillRect(x, y, w, 2 * cellHeight, style.rgbBackMonatsuebersichtkopf,
                formatGermanDate(monthDate, QStringLiteral("mmmm yyyy")));
    const Date first = firstOfMonth(monthDate);
    const QVector<QStringList> rows = monthOverviewRows(monthDate);
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const QString &text = rows[r][c];
            bool marked = false;
            if (r > 0 && c > 0 && !text.isEmpty()) {
                const Date day = first + text.toInt() - 1;
                marked = markFrom <= day && day <= markTo;
            }
            dc.setTextColor(marked ? style.rgbFontMarkiert : style.rgbFontKopfzeilen);
            dc.FillRect(x + c * cellWidth, y + (r + 2) * cellHeight, cellWidth, cellHeight,
                        marked ? style.rgbBackMarkiert : style.rgbBackKopfzeilen, text);
        }
    }
    dc.setFont(font);
    dc.UpdateFont();
}

// The title lines' font: double-size lines at `factor` times the printer font, whatever unit
// it was given in.
QFont titleFont(const QFont &base, bool doubleSize, double factor)
{
    QFont font = base;
    if (!doubleSize)
        return font;
    const qreal size = base.pointSizeF() > 0 ? std::nearbyint(base.pointSizeF()) : 0;
    if (size > 0)
        font.setPointSizeF(factor * size);
    else
        font.setPixelSize(qRound(factor * base.pixelSize()));
    return font;
}

void paintTitleBlock(cDC &dc, const CalendarStyle &style, qint32 x, qint32 y, qint32 w, qint32 h,
                     Date firstDay, Date lastDay, Date now)
{
    const QFont *font = dc.Font();
    const QFont base = font ? *font : QFont();
    QFont line = base;
    dc.setFont(&line);
    const QVector<TitleLine> lines = titleLines(firstDay, lastDay, now);
    const auto lineHeight = [&](const TitleLine &title, double factor) {
        line = titleFont(base, title.doubleSize, factor);
        dc.UpdateFont();
        return roundedUnclamped(1.25 * dc.textHeight(QStringLiteral("Wy")));
    };
    // Every line is kept, the "Stand:" line last of all: where the band cannot hold the large
    // lines in double size (the day's sheet has three), they become as much smaller as needed.
    double factor = 2.0;
    for (; factor > 1.0; factor -= 0.1) {
        qint32 total = 0;
        for (const TitleLine &title : lines)
            total += lineHeight(title, factor);
        if (total <= h)
            break;
    }
    const qint32 bottom = y + h;
    for (const TitleLine &title : lines) {
        const qint32 height = lineHeight(title, factor);
        // A line the band cannot hold whole would show only the tops of its letters.
        if (y + height > bottom)
            break;
        dc.setTextColor(style.rgbFontKopfzeilen);
        dc.FillRect(x, y, w, height, style.rgbBackKopfzeilen, title.text, kAlignCentreTop);
        y += height;
    }
    dc.setFont(font);
    dc.UpdateFont();
}

} // namespace

QVector<TitleLine> titleLines(Date firstDay, Date lastDay, Date now)
{
    QVector<TitleLine> lines;
    const QString week = QString::number(cToolbox::WeekOfYear(firstDay)) + QStringLiteral(". Woche");
    // As on the week's sheet, the sheet's name is in normal size: so it fits above the grid.
    if (firstDay == lastDay) {
        lines = {{formatGermanDate(firstDay, QStringLiteral("dddd")), true},
                 {formatGermanDate(firstDay, QStringLiteral("d. mmmm yyyy")), true},
                 {week, true},
                 {QStringLiteral("Tagesplan"), false}};
    } else {
        lines = {{formatGermanDate(firstDay, QStringLiteral("d. mmmm yyyy")), true},
                 {formatGermanDate(lastDay, QStringLiteral("d. mmmm yyyy")), true}};
        if (weekdayNumber(firstDay) == 2 && lastDay - firstDay + 1 <= 7)
            lines += {{week, false}, {QStringLiteral("Wochenplan"), false}};
    }
    lines.append({QStringLiteral("Stand: ") + formatGermanDate(now, QStringLiteral("Short Date"))
                      + QLatin1Char(' ') + formatGermanDate(now, QStringLiteral("Short Time")),
                  false});
    return lines;
}

QVector<QStringList> monthOverviewRows(Date monthDate)
{
    QVector<QStringList> rows;
    rows.append({QStringLiteral("Wo")});
    for (int n = 2; n <= 8; ++n) // Monday to Sunday
        rows[0].append(germanWeekdayShortName(n == 8 ? 1 : n));

    const Date first = firstOfMonth(monthDate);
    const Date end = firstOfNextMonth(monthDate);
    QStringList row;
    for (Date day = first; day < end; day += 1) {
        const int column = mondayFirst(day);
        if (row.isEmpty()) {
            row.append(QString::number(cToolbox::WeekOfYear(day)));
            for (int c = 1; c < column; ++c)
                row.append(QString());
        }
        row.append(formatGermanDate(day, QStringLiteral("dd")));
        if (column == 7) {
            rows.append(row);
            row.clear();
        }
    }
    if (!row.isEmpty()) {
        while (row.size() < 8)
            row.append(QString());
        rows.append(row);
    }
    return rows;
}

void paintPrintHeader(cDC &dc, const CalendarStyle &style, qint32 x, qint32 y, qint32 width,
                      qint32 bandHeight, qint32 overviewWidth, Date firstDay, Date lastDay,
                      Date now)
{
    dc.FillRect(x, y, width, bandHeight, style.rgbBackKopfzeilen);
    paintMonthOverview(dc, style, firstDay, x, y, overviewWidth, bandHeight, firstDay, lastDay);
    paintMonthOverview(dc, style, firstOfNextMonth(firstDay), x + width - overviewWidth, y,
                       overviewWidth, bandHeight, firstDay, lastDay);
    paintTitleBlock(dc, style, x + overviewWidth, y, width - 2 * overviewWidth, bandHeight,
                    firstDay, lastDay, now);
}

} // namespace Dayplex

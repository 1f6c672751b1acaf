#include "calendar/calendarprintlist.h"

#include "shared/cdc.h"
#include "shared/germanformat.h"
#include "shared/toolbox.h"
#include "shared/uitext.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace Dayplex {

namespace {

// A text laid out in a width as the surface's ellipsis mode lays it out: its height and its
// widest line.
struct Wrapped
{
    qreal height = 0;
    qreal widest = 0;
    qint32 lines = 0;
};

Wrapped wrap(const QFont &font, QPaintDevice *device, const QString &text, qint32 width)
{
    Wrapped wrapped;
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font, device);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            wrapped.height += line.height();
            wrapped.widest = std::max(wrapped.widest, line.naturalTextWidth());
            ++wrapped.lines;
        }
        layout.endLayout();
    }
    return wrapped;
}

QString oneLine(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// One thing of the list where it goes: a day's name or an appointment, its column and line.
struct Placed
{
    qint32 column = 0;
    qint32 line = 0;
    qint32 lines = 1;
    bool heading = false;
    QString when;
    QString text;
};

struct Flow
{
    QVector<Placed> items;
    qint32 columns = 1;
    qint32 columnWidth = 0;
    qint32 gap = 0;
    qint32 whenWidth = 0;
    qint32 lineHeight = 0;
    qint32 linesPerColumn = 0;
};

// The measures of the list in a width and a number of columns, and its things in order, each
// with the lines it takes; not yet placed.
Flow measure(const cDC &dc, const QVector<ListedDay> &days, qint32 width, qint32 columns)
{
    Flow f;
    QPainter *painter = dc.painter();
    if (days.isEmpty() || !painter)
        return f;
    const QFontMetrics fm = painter->fontMetrics();
    f.gap = fm.horizontalAdvance(QStringLiteral("MM"));
    f.columns = std::clamp(columns, 1, 4);
    f.columnWidth = (width - (f.columns - 1) * f.gap) / f.columns;
    f.whenWidth = fm.horizontalAdvance(QStringLiteral("00:00\u201300:00  "));
    f.lineHeight = fm.lineSpacing();
    for (const ListedDay &day : days) {
        f.items.append({0, 0, 1, true, QString(), dayHeaderText(day.day, false)});
        for (const ListedAppointment &a : day.appointments) {
            const qint32 lines = std::max(
                wrap(painter->font(), painter->device(), a.text, f.columnWidth - f.whenWidth).lines, 1);
            f.items.append({0, 0, lines, false, a.when, a.text});
        }
    }
    return f;
}

// The days down the columns, no appointment split between two, a day's name never alone at
// a column's foot; the columns as short as that allows.
Flow flow(const cDC &dc, const QVector<ListedDay> &days, qint32 width, qint32 columns)
{
    Flow f = measure(dc, days, width, columns);
    QVector<Placed> items = f.items;
    qint32 total = 0;
    for (const Placed &item : items)
        total += item.lines;
    for (qint32 capacity = (total + f.columns - 1) / f.columns;; ++capacity) {
        qint32 column = 0, line = 0;
        for (int i = 0; i < items.size(); ++i) {
            Placed &item = items[i];
            const qint32 needed = item.lines + (item.heading && i + 1 < items.size() ? items[i + 1].lines : 0);
            if (line > 0 && line + needed > capacity) {
                ++column;
                line = 0;
            }
            item.column = column;
            item.line = line;
            line += item.lines;
        }
        if (column < f.columns || capacity >= total) {
            f.linesPerColumn = capacity;
            break;
        }
    }
    f.items = items;
    return f;
}

} // namespace

bool showsWhole(const QFont &font, QPaintDevice *device, const SceneBox &box, qint32 line)
{
    if (box.text.isEmpty())
        return true;
    const QRect inside = box.textRect.isNull() ? box.rect.adjusted(line + 1, line + 1, -line - 1, -line - 1)
                                               : box.textRect.adjusted(1, 1, -1, -1);
    if (inside.isEmpty())
        return false;
    QString text = box.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (box.allDay)
        return QFontMetrics(font, device).horizontalAdvance(oneLine(text)) <= inside.width();
    const Wrapped wrapped = wrap(font, device, text, inside.width());
    return wrapped.widest <= inside.width() && wrapped.height <= inside.height();
}

QVector<ListedDay> crowdedDays(const CalendarScene &scene, const AppointmentStore &store,
                               const std::function<bool(const SceneBox &)> &fits)
{
    const CalendarGrid &grid = scene.grid;
    const qint32 dayCount = grid.dayCount();
    QVector<bool> crowded(dayCount, false);
    const auto mark = [&](qint32 column) {
        if (column >= 0 && column < dayCount)
            crowded[column] = true;
    };
    const qint32 firstLeft = grid.columnLeft(0);
    const qint32 columnWidth = std::max(grid.geo.lngSpaltenBreite, 1);
    QVector<qint32> cut; // the records of the boxes that are not whole, and those the band hides
    for (const SceneAppointment &a : scene.appointments) {
        if (!a.box.rect.isEmpty() && fits(a.box))
            continue;
        cut.append(a.index);
        if (!a.allDay) {
            mark(a.column);
            continue;
        }
        // An all-day entry counts for the first day of it on the sheet.
        const qint32 left = std::max(a.box.rect.left(), firstLeft);
        mark((left - firstLeft) / columnWidth);
    }
    for (const BandOverflow &overflow : scene.overflows) {
        mark(overflow.column);
        cut += overflow.hidden;
    }

    QVector<ListedDay> days;
    QVector<qint32> listedAllDay;
    for (qint32 column = 0; column < dayCount; ++column) {
        if (!crowded[column])
            continue;
        ListedDay listed;
        listed.day = grid.firstDay + column;
        for (qint32 i = 1; i <= store.count(); ++i) {
            const TerminEintrag &e = store.at(i);
            qint32 from = 0, to = 0, row1 = 0, row2 = 0;
            if (!e.btagestermin || listedAllDay.contains(i) || !cut.contains(i)
                || !grid.terminIndices(e.dateStart, effectiveEnd(e), from, to, row1, row2, 1)
                || column < from || column > to)
                continue;
            listedAllDay.append(i);
            listed.appointments.append({uiText("Dayplex::ucAgenda", "ganztägig"), oneLine(e.memo)});
        }
        QVector<const TerminEintrag *> timed;
        for (const SceneAppointment &a : scene.appointments) {
            if (!a.allDay && a.column == column && cut.contains(a.index))
                timed.append(&store.at(a.index));
        }
        std::stable_sort(timed.begin(), timed.end(), [](const TerminEintrag *a, const TerminEintrag *b) {
            return a->dateStart < b->dateStart;
        });
        for (const TerminEintrag *e : timed) {
            const Date end = effectiveEnd(*e);
            const QString from = cToolbox::DateOnly(e->dateStart) == listed.day ? germanShortTime(e->dateStart)
                                                                               : QStringLiteral("00:00");
            const QString to = cToolbox::DateOnly(end) == listed.day ? germanShortTime(end) : QStringLiteral("24:00");
            listed.appointments.append({from + QChar(0x2013) + to, oneLine(e->memo)});
        }
        days.append(listed);
    }
    return days;
}

qint32 listBlockHeight(const cDC &dc, const QVector<ListedDay> &days, qint32 width,
                       qint32 columns)
{
    if (days.isEmpty())
        return 0;
    const Flow f = flow(dc, days, width, columns);
    // A line's gap above the list and below it.
    return (f.linesPerColumn + 1) * f.lineHeight + f.lineHeight / 2;
}

void paintListBlock(cDC &dc, const QRect &block, const QVector<ListedDay> &days,
                    qint32 columns)
{
    const Flow f = flow(dc, days, block.width(), columns);
    if (f.items.isEmpty())
        return;
    dc.FillRect(block.left(), block.top() + f.lineHeight / 2, block.width(), dc.lineWidth(), kBlack);
    const qint32 top = block.top() + f.lineHeight;
    const QFont *font = dc.Font();
    QFont bold = font ? *font : QFont();
    bold.setBold(true);
    dc.setTextColor(kBlack);
    for (const Placed &item : f.items) {
        const qint32 x = block.left() + item.column * (f.columnWidth + f.gap);
        const qint32 y = top + item.line * f.lineHeight;
        if (item.heading) {
            dc.setFont(&bold);
            dc.UpdateFont();
            dc.Text(item.text, x, y, f.columnWidth, f.lineHeight, false, false);
            dc.setFont(font);
            dc.UpdateFont();
            continue;
        }
        dc.Text(item.when, x, y, f.whenWidth, f.lineHeight, false, false);
        // Laid out line by line, the text's lines may be a little taller than the list's.
        dc.Text(item.text, x + f.whenWidth, y, f.columnWidth - f.whenWidth, (item.lines + 1) * f.lineHeight - 1,
                true, false);
    }
}

bool wordsFit(const cDC &dc, const QVector<ListedDay> &days, qint32 width, qint32 columns)
{
    QPainter *painter = dc.painter();
    if (days.isEmpty() || !painter)
        return true;
    const QFontMetrics fm = painter->fontMetrics();
    const qint32 gap = fm.horizontalAdvance(QStringLiteral("MM"));
    columns = std::clamp(columns, 1, 4);
    const qint32 textWidth = (width - (columns - 1) * gap) / columns
        - fm.horizontalAdvance(QStringLiteral("00:00\u201300:00  "));
    for (const ListedDay &day : days) {
        for (const ListedAppointment &a : day.appointments) {
            for (const QString &word : a.text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                if (fm.horizontalAdvance(word) > textWidth)
                    return false;
            }
        }
    }
    return true;
}

QVector<QVector<ListedDay>> listBlocks(const cDC &dc, const QVector<ListedDay> &days, qint32 width,
                                       qint32 columns, qint32 firstHeight, qint32 laterHeight)
{
    QVector<QVector<ListedDay>> blocks(1);
    const Flow f = measure(dc, days, width, columns);
    if (f.items.isEmpty())
        return blocks;
    // The lines a column holds in a block that high, as listBlockHeight measures it; a later
    // block holds at least a day's name and one line, so that every block takes something.
    const auto capacity = [&f](qint32 height) {
        return (height - f.lineHeight / 2) / std::max(f.lineHeight, 1) - 1;
    };
    qint32 lines = capacity(firstHeight);
    const qint32 later = std::max(capacity(laterHeight), 2);
    qint32 column = 0, line = 0;
    qint32 item = 0;
    bool named = false; // the day's name stands in the block
    for (const ListedDay &day : days) {
        ++item; // the day's name
        named = false;
        for (const ListedAppointment &a : day.appointments) {
            const qint32 needed = f.items.at(item++).lines;
            // The day's name goes with its first appointment of the block, into the next
            // column or the next block; an appointment longer than a whole column of a later
            // block stands at the top of one and is cut.
            while (line + needed + (named ? 0 : 1) > lines && !(line == 0 && lines >= later)) {
                line = 0;
                if (++column < f.columns)
                    continue;
                column = 0;
                lines = later;
                named = false;
                blocks.append(QVector<ListedDay>());
            }
            if (!named) {
                blocks.last().append(ListedDay{day.day, {}});
                ++line;
                named = true;
            }
            blocks.last().last().appointments.append(a);
            line += needed;
        }
    }
    return blocks;
}

} // namespace Dayplex

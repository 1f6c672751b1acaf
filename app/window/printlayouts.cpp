#include "printlayouts.h"

#include <QVector>

#include <optional>

namespace Terminplaner {

namespace {

const QString kHeader = QStringLiteral("cContainer 1\n");

struct Entry
{
    QString key;
    QChar kind;
    QString value;
};

// The entries of a container string; nothing when the text is not one.
std::optional<QVector<Entry>> parse(const QString &text)
{
    if (!text.startsWith(kHeader))
        return std::nullopt;
    QVector<Entry> entries;
    qsizetype at = kHeader.size();
    while (at < text.size()) {
        const qsizetype colon = text.indexOf(QLatin1Char(':'), at);
        if (colon < 0 || colon + 1 >= text.size())
            return std::nullopt;
        Entry entry{text.mid(at, colon - at), text.at(colon + 1), QString()};
        const qsizetype equals = text.indexOf(QLatin1Char('='), colon);
        if (equals < 0)
            return std::nullopt;
        qsizetype end = 0;
        if (entry.kind == QLatin1Char('s')) {
            // A text carries its length, so that it may hold line feeds and whole containers.
            bool ok = false;
            const qsizetype length = text.mid(colon + 2, equals - colon - 2).toLongLong(&ok);
            end = equals + 1 + length;
            if (!ok || length < 0 || end >= text.size() || text.at(end) != QLatin1Char('\n'))
                return std::nullopt;
        } else {
            end = text.indexOf(QLatin1Char('\n'), equals);
            if (end < 0)
                return std::nullopt;
        }
        entry.value = text.mid(equals + 1, end - equals - 1);
        entries.append(entry);
        at = end + 1;
    }
    return entries;
}

QString write(const QVector<Entry> &entries)
{
    QString text = kHeader;
    for (const Entry &e : entries) {
        text += e.key + QLatin1Char(':') + e.kind;
        if (e.kind == QLatin1Char('s'))
            text += QString::number(e.value.size());
        text += QLatin1Char('=') + e.value + QLatin1Char('\n');
    }
    return text;
}

QString withEntries(QString layout, const QVector<Entry> &entries)
{
    for (const Entry &e : entries)
        layout = setEntry(layout, e.key, e.kind, e.value);
    return layout;
}

QString withLayout(const QString &options, const QString &layoutKey, const QVector<Entry> &entries)
{
    return setEntry(options, layoutKey, QLatin1Char('s'),
                    withEntries(entryValue(options, layoutKey), entries));
}

// Every box as long as its appointment: the library's four rows at least would draw a
// half-hour meeting two hours tall and push its neighbours aside.
const Entry kTrueLength{QStringLiteral("lngHoeheTerminzelle"), QLatin1Char('i'), QStringLiteral("1")};
const QString kScreenKey = QStringLiteral("strLayoutScreenCalendar");
const QString kDayKey = QStringLiteral("strLayoutDruckTag");
const QString kWeekKey = QStringLiteral("strLayoutDruckWoche");

// Quarter-hour rows from 08:00 to 18:00 in 9 points: on A4 the grid then takes more than four
// fifths of the view. Every height of the sheet grows with the font (the header band is nine
// lines), so half-hour rows in any font leave a third of the page or more to the all-day band.
const QVector<Entry> kSheetLayout = {
    {QStringLiteral("strFont"), QLatin1Char('s'), QStringLiteral("DejaVu Sans, 9 Punkt")},
    {QStringLiteral("strAufloesung"), QLatin1Char('s'), QStringLiteral("15 Minuten")},
    {QStringLiteral("timeStartZeit"), QLatin1Char('d'), QStringLiteral("0.3333333333333333")},
    {QStringLiteral("timeEndZeit"), QLatin1Char('d'), QStringLiteral("0.75")},
    kTrueLength,
};

const QVector<Entry> kGanttLayout = {
    {QStringLiteral("strFont"), QLatin1Char('s'), QStringLiteral("DejaVu Sans, 8 Punkt")},
    {QStringLiteral("blnQuerformat"), QLatin1Char('b'), QStringLiteral("-1")},
    {QStringLiteral("blnOptimiertezeilenhoehe"), QLatin1Char('b'), QStringLiteral("-1")},
    // Two lines a row at least, so that a team of ten still fits on the page before stretching.
    {QStringLiteral("lngHoeheTerminzelle"), QLatin1Char('i'), QStringLiteral("2")},
};

} // namespace

QString setEntry(const QString &container, const QString &key, QChar kind, const QString &value)
{
    std::optional<QVector<Entry>> entries = parse(container);
    if (!entries)
        return container;
    for (Entry &e : *entries) {
        if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
            e.kind = kind;
            e.value = value;
            return write(*entries);
        }
    }
    entries->append({key, kind, value});
    return write(*entries);
}

QString entryValue(const QString &container, const QString &key)
{
    const std::optional<QVector<Entry>> entries = parse(container);
    if (entries) {
        for (const Entry &e : *entries) {
            if (e.key.compare(key, Qt::CaseInsensitive) == 0)
                return e.value;
        }
    }
    return QString();
}

QString shippedCalendarOptions(const QString &defaults)
{
    if (!parse(defaults))
        return defaults;
    return withLayout(withLayout(withLayout(defaults, kWeekKey, kSheetLayout), kDayKey, kSheetLayout), kScreenKey,
                      {kTrueLength});
}

QString trueLengthCalendarOptions(const QString &stored)
{
    QString options = stored;
    for (const auto &[key, shipped] : {std::pair{kScreenKey, 4}, std::pair{kDayKey, 2}, std::pair{kWeekKey, 2}}) {
        const QString layout = entryValue(options, key);
        if (entryValue(layout, kTrueLength.key) == QString::number(shipped))
            options = withLayout(options, key, {kTrueLength});
    }
    return options;
}

QString shippedGanttOptions(const QString &defaults)
{
    if (!parse(defaults))
        return defaults;
    return withLayout(defaults, QStringLiteral("strLayoutDruckGantt"), kGanttLayout);
}

} // namespace Terminplaner

#include "icalendartext.h"

#include "icalendar.h"
#include "icalendar_p.h"

#include <QDate>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QStringDecoder>

Q_DECLARE_LOGGING_CATEGORY(lcICalendar)

namespace Terminplaner::ICal {

const char kLineProperty[] = "X-TERMINPLANER-LINE";
const char kBadTimeProperty[] = "X-TERMINPLANER-BAD-TIME";

namespace {

// Windows-1252 differs from ISO-8859-1 only here; 0 marks the five unassigned bytes, which
// are kept as their Latin-1 control characters.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

QByteArray fromWindows1252(const QByteArray &data)
{
    QString text;
    text.reserve(data.size());
    for (char c : data) {
        const uchar byte = uchar(c);
        const char16_t high = byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : 0;
        text.append(QChar(high ? high : char16_t(byte)));
    }
    return text.toUtf8();
}

bool isUtf8(const QByteArray &data)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = decoder.decode(data);
    return !decoder.hasError();
}

bool startsWithName(const QByteArray &line, const char *name)
{
    const qsizetype n = qstrlen(name);
    return line.size() >= n && qstrnicmp(line.constData(), name, n) == 0;
}

// A time property's value that is no date or date-time as written; libical would roll a
// thirteenth month over or read "T10300Z" as some other time. Empty when all is well.
QByteArray badTime(const QByteArray &line)
{
    static const char *const kinds[] = {"DTSTART", "DTEND", "RECURRENCE-ID", "EXDATE", "RDATE"};
    const qsizetype nameEnd = line.indexOf(';') >= 0 && line.indexOf(';') < line.indexOf(':') ? line.indexOf(';')
                                                                                               : line.indexOf(':');
    if (nameEnd <= 0
        || std::none_of(std::begin(kinds), std::end(kinds), [&](const char *k) { return line.left(nameEnd).toUpper() == k; }))
        return {};
    qsizetype colon = -1;
    bool quoted = false;
    for (qsizetype i = nameEnd; i < line.size() && colon < 0; ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            colon = i;
    }
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})(T(\\d{2})(\\d{2})(\\d{2})Z?)?$"));
    for (const QByteArray &value : line.mid(colon + 1).split(',')) {
        for (const QByteArray &part : value.split('/')) {
            if (part.trimmed().isEmpty() || part.trimmed().startsWith('P') || part.trimmed().startsWith("+P")
                || part.trimmed().startsWith("-P"))
                continue;
            const QRegularExpressionMatch m = pattern.match(QString::fromLatin1(part.trimmed()));
            const bool ok = m.hasMatch()
                            && QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()).isValid()
                            && (m.captured(4).isEmpty() || (m.captured(5).toInt() < 24 && m.captured(6).toInt() < 60
                                                            && m.captured(7).toInt() <= 60));
            if (!ok)
                return part.trimmed();
        }
    }
    return {};
}

} // namespace

PreparedText prepareText(const QByteArray &data)
{
    QByteArray body = data.startsWith("\xEF\xBB\xBF") ? data.mid(3) : data;
    // Logical lines with the file's line each began on; a fold is a line break followed by a
    // space or tab, joined before any decoding.
    QList<std::pair<QByteArray, int>> lines;
    int lineNumber = 0;
    for (QByteArray line : body.split('\n')) {
        ++lineNumber;
        if (line.endsWith('\r'))
            line.chop(1);
        if ((line.startsWith(' ') || line.startsWith('\t')) && !lines.isEmpty())
            lines.last().first += line.mid(1);
        else if (!line.trimmed().isEmpty())
            lines.append({line, lineNumber});
    }
    if (lines.isEmpty())
        refuse(QStringLiteral("Sie ist leer."));
    const bool bare = startsWithName(lines.first().first, "BEGIN:VEVENT");
    if (!bare && lines.first().first.trimmed().toUpper() != "BEGIN:VCALENDAR")
        refuse(QStringLiteral("Sie beginnt nicht mit „BEGIN:VCALENDAR“."));
    if (lines.last().first.trimmed().toUpper() != (bare ? "END:VEVENT" : "END:VCALENDAR"))
        refuse(QStringLiteral("Sie endet nicht mit „END:VCALENDAR“; vermutlich ist sie unvollständig."));

    QByteArray joined;
    joined.reserve(body.size() + body.size() / 8);
    if (bare)
        joined += "BEGIN:VCALENDAR\nVERSION:2.0\n";
    bool leftovers = false;
    int depthInEvent = 0;
    for (const auto &[line, number] : lines) {
        if (startsWithName(line, "X-LIC-ERROR")) {
            leftovers = true;
            continue;
        }
        joined += line;
        joined += '\n';
        if (startsWithName(line, "BEGIN:VEVENT")) {
            depthInEvent = 1;
            joined += QByteArray(kLineProperty) + ':' + QByteArray::number(number) + '\n';
        } else if (depthInEvent > 0 && startsWithName(line, "BEGIN:")) {
            ++depthInEvent;
        } else if (depthInEvent > 0 && startsWithName(line, "END:")) {
            --depthInEvent;
        } else if (depthInEvent == 1) {
            // Only the text tells a time that is none; libical reads it as some other time.
            const QByteArray bad = badTime(line);
            if (!bad.isEmpty())
                joined += QByteArray(kBadTimeProperty) + ':' + bad + '\n';
        }
    }
    if (bare)
        joined += "END:VCALENDAR\n";
    if (leftovers)
        qCWarning(lcICalendar) << "X-LIC-ERROR lines of an earlier reading left out";

    PreparedText prepared;
    prepared.windows1252 = !isUtf8(joined);
    prepared.utf8 = prepared.windows1252 ? fromWindows1252(joined) : joined;
    if (prepared.windows1252)
        qCWarning(lcICalendar) << "calendar file is no valid UTF-8; read as Windows-1252";
    return prepared;
}

} // namespace Terminplaner::ICal

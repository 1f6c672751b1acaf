#include "ccontainer.h"

#include <dayplex/error.h>

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>

namespace Dayplex {

namespace {

constexpr QStringView kHeader = u"cContainer ";
constexpr int kFormatVersion = 1;

enum class Parsed { Ok, Bad, Range };

// A value on its way between kinds; integers stay exact until they must become doubles.
struct Scalar
{
    enum Type { Bool, Int, Real, Text } type = Bool;
    bool b = false;
    qint64 i = 0;
    double d = 0.0;
    QString s;
};

QString quoted(QStringView text)
{
    // Keep messages readable when the offending text is a whole options string.
    if (text.size() > 40)
        return u'\'' + text.left(40).toString() + QStringLiteral("...'");
    return u'\'' + text.toString() + u'\'';
}

bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case '\n': case '\r': case '\v': case '\f': case 0x85: case 0x2028: case 0x2029:
        return true;
    default:
        return false;
    }
}

// Empty when the key is usable, otherwise what is wrong with it.
QString keyDefect(QStringView key)
{
    if (key.isEmpty())
        return QStringLiteral("empty key");
    for (QChar c : key) {
        if (isLineBreak(c))
            return QStringLiteral("line break in key");
        if (c == u':' || c == u'=')
            return QStringLiteral("'%1' in key %2").arg(c).arg(quoted(key));
    }
    return {};
}

void checkKey(const QString &key)
{
    const QString defect = keyDefect(key);
    if (!defect.isEmpty())
        throw Error(InvalidArgument, QStringLiteral("Invalid key: %1.").arg(defect));
}

// Copies plain ASCII into buf; numbers never need more than a few dozen characters.
qsizetype toAscii(QStringView s, char (&buf)[64])
{
    if (s.isEmpty() || s.size() >= qsizetype(sizeof buf))
        return -1;
    for (qsizetype n = 0; n < s.size(); ++n) {
        const char16_t u = s[n].unicode();
        if (u > 127)
            return -1;
        buf[n] = char(u);
    }
    return s.size();
}

// Strict decimal integer: optional '-', digits only.
Parsed parseInteger(QStringView s, qint64 &out)
{
    char buf[64];
    const qsizetype len = toAscii(s, buf);
    if (len <= 0 || buf[0] == '+')
        return Parsed::Bad;
    for (qsizetype n = buf[0] == '-' ? 1 : 0; n < len; ++n)
        if (buf[n] < '0' || buf[n] > '9')
            return Parsed::Bad;
    const auto r = std::from_chars(buf, buf + len, out);
    if (r.ptr != buf + len)
        return Parsed::Bad;
    if (r.ec == std::errc::result_out_of_range)
        return Parsed::Range;
    return r.ec == std::errc() ? Parsed::Ok : Parsed::Bad;
}

// Locale-independent, so that a German decimal comma in the environment changes nothing.
Parsed parseReal(QStringView s, double &out)
{
    char buf[64];
    const qsizetype len = toAscii(s, buf);
    if (len <= 0 || buf[0] == '+')
        return Parsed::Bad;
    const auto r = std::from_chars(buf, buf + len, out, std::chars_format::general);
    if (r.ptr != buf + len)
        return Parsed::Bad;
    if (r.ec == std::errc::result_out_of_range)
        return Parsed::Range;
    return r.ec == std::errc() ? Parsed::Ok : Parsed::Bad;
}

QString realText(double d)
{
    return QString::number(d, 'g', QLocale::FloatingPointShortest);
}

// Number held in a text value: a plain number, or one of the words a Boolean is written as.
double textNumber(const QString &text, const QString &key)
{
    QStringView t = QStringView(text).trimmed();
    if (t.isEmpty())
        return 0.0;
    if (t.compare(u"True", Qt::CaseInsensitive) == 0
        || t.compare(u"Wahr", Qt::CaseInsensitive) == 0)
        return -1.0;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0
        || t.compare(u"Falsch", Qt::CaseInsensitive) == 0)
        return 0.0;
    if (t.startsWith(u'+'))
        t = t.mid(1);
    double d = 0.0;
    const Parsed p = parseReal(t, d);
    if (p == Parsed::Range)
        throw Error(Overflow, QStringLiteral("The text %1 of '%2' is out of the range of a number.")
                                  .arg(quoted(text), key));
    if (p != Parsed::Ok || !std::isfinite(d))
        throw Error(TypeMismatch, QStringLiteral("The text %1 of '%2' is not a number.")
                                      .arg(quoted(text), key));
    return d;
}

bool toBool(const Scalar &v, const QString &key)
{
    switch (v.type) {
    case Scalar::Bool: return v.b;
    case Scalar::Int: return v.i != 0;
    case Scalar::Real: return v.d != 0.0;
    case Scalar::Text: return textNumber(v.s, key) != 0.0;
    }
    return false;
}

double toReal(const Scalar &v, const QString &key)
{
    switch (v.type) {
    case Scalar::Bool: return v.b ? -1.0 : 0.0;
    case Scalar::Int: return double(v.i);
    case Scalar::Real: return v.d;
    case Scalar::Text: return textNumber(v.s, key);
    }
    return 0.0;
}

qint64 toWhole(const Scalar &v, qint64 low, qint64 high, const QString &key)
{
    qint64 whole = 0;
    if (v.type == Scalar::Int) {
        whole = v.i;
    } else {
        // Half to even, as the hosts' own integer conversion does.
        const double r = std::nearbyint(toReal(v, key));
        if (r < double(low) || r > double(high))
            throw Error(Overflow, QStringLiteral("The value of '%1' (%2) is outside %3 to %4.")
                                      .arg(key, realText(r)).arg(low).arg(high));
        whole = qint64(r);
    }
    if (whole < low || whole > high)
        throw Error(Overflow, QStringLiteral("The value of '%1' (%2) is outside %3 to %4.")
                                  .arg(key).arg(whole).arg(low).arg(high));
    return whole;
}

QString toText(const Scalar &v)
{
    switch (v.type) {
    case Scalar::Bool: return v.b ? QStringLiteral("True") : QStringLiteral("False");
    case Scalar::Int: return QString::number(v.i);
    case Scalar::Real: return realText(v.d);
    case Scalar::Text: return v.s;
    }
    return {};
}

Scalar fromStored(cContainer::Kind kind, const QVariant &value)
{
    Scalar s;
    switch (kind) {
    case cContainer::Kind::Boolean: s.type = Scalar::Bool; s.b = value.toBool(); break;
    case cContainer::Kind::Integer:
    case cContainer::Kind::Long: s.type = Scalar::Int; s.i = value.toInt(); break;
    case cContainer::Kind::Double:
    case cContainer::Kind::Date: s.type = Scalar::Real; s.d = value.toDouble(); break;
    case cContainer::Kind::Text: s.type = Scalar::Text; s.s = value.toString(); break;
    }
    return s;
}

Scalar fromVariant(const QVariant &value, const QString &key)
{
    Scalar s;
    switch (value.metaType().id()) {
    case QMetaType::Bool: s.type = Scalar::Bool; s.b = value.toBool(); return s;
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Int: case QMetaType::UInt:
    case QMetaType::Long: case QMetaType::LongLong:
        s.type = Scalar::Int;
        s.i = value.toLongLong();
        return s;
    case QMetaType::ULong: case QMetaType::ULongLong: {
        const qulonglong u = value.toULongLong();
        if (u > qulonglong(std::numeric_limits<qint64>::max()))
            throw Error(Overflow, QStringLiteral("The value for '%1' is too large.").arg(key));
        s.type = Scalar::Int;
        s.i = qint64(u);
        return s;
    }
    case QMetaType::Float: case QMetaType::Double:
        s.type = Scalar::Real;
        s.d = value.toDouble();
        if (!std::isfinite(s.d))
            throw Error(InvalidArgument,
                        QStringLiteral("NaN or infinity cannot be stored under '%1'.").arg(key));
        return s;
    case QMetaType::QString: s.type = Scalar::Text; s.s = value.toString(); return s;
    default:
        break;
    }
    if (!value.isValid())
        throw Error(TypeMismatch, QStringLiteral("No value given for '%1'.").arg(key));
    throw Error(TypeMismatch, QStringLiteral("A value of type %1 cannot be stored under '%2'.")
                                  .arg(QString::fromLatin1(value.typeName()), key));
}

QVariant convert(const Scalar &v, cContainer::Kind kind, const QString &key)
{
    switch (kind) {
    case cContainer::Kind::Boolean: return QVariant(toBool(v, key));
    case cContainer::Kind::Integer:
        return QVariant::fromValue(short(toWhole(v, std::numeric_limits<qint16>::min(),
                                                 std::numeric_limits<qint16>::max(), key)));
    case cContainer::Kind::Long:
        return QVariant(int(toWhole(v, std::numeric_limits<qint32>::min(),
                                    std::numeric_limits<qint32>::max(), key)));
    case cContainer::Kind::Double:
    case cContainer::Kind::Date: return QVariant(toReal(v, key));
    case cContainer::Kind::Text: return QVariant(toText(v));
    }
    return {};
}

char kindLetter(cContainer::Kind kind)
{
    switch (kind) {
    case cContainer::Kind::Boolean: return 'b';
    case cContainer::Kind::Integer: return 'i';
    case cContainer::Kind::Long: return 'l';
    case cContainer::Kind::Double: return 'f';
    case cContainer::Kind::Date: return 'd';
    case cContainer::Kind::Text: return 's';
    }
    return '?';
}

void appendInteger(QString &out, qint64 value)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(QLatin1StringView(buf, r.ptr - buf));
}

[[noreturn]] void malformed(const QString &what, int entry, qsizetype position)
{
    const QString where = entry == 0 ? QStringLiteral("header line")
                                     : QStringLiteral("entry %1").arg(entry);
    throw Error(InvalidArgument,
                QStringLiteral("Not a valid container string: %1 (%2, character %3).")
                    .arg(what, where)
                    .arg(position + 1));
}

} // namespace

int cContainer::indexOf(const QString &key) const
{
    if (m_entries.isEmpty())
        return -1;
    return m_index.value(key.toCaseFolded(), -1);
}

const cContainer::Entry *cContainer::find(const QString &key) const
{
    const int i = indexOf(key);
    return i < 0 ? nullptr : &m_entries[i];
}

void cContainer::store(const QString &key, Kind kind, QVariant value)
{
    // The string form has no negative zero, so it is never stored either: what is read back
    // after a round trip equals what was written.
    if ((kind == Kind::Double || kind == Kind::Date) && value.toDouble() == 0.0)
        value = QVariant(0.0);
    const QString folded = key.toCaseFolded();
    const auto it = m_index.constFind(folded);
    if (it != m_index.constEnd()) {
        Entry &e = m_entries[it.value()];
        e.kind = kind;
        e.value = std::move(value);
        return;
    }
    m_entries.append(Entry{key, kind, std::move(value)});
    m_index.insert(folded, int(m_entries.size() - 1));
}

QString cContainer::ContainerString() const
{
    qsizetype size = kHeader.size() + 2;
    for (const Entry &e : m_entries)
        size += e.key.size() + 32
                + (e.kind == Kind::Text ? e.value.toString().size() : qsizetype(0));
    QString out;
    out.reserve(size);
    out.append(kHeader);
    appendInteger(out, kFormatVersion);
    out.append(u'\n');
    for (const Entry &e : m_entries) {
        out.append(e.key);
        out.append(u':');
        out.append(QLatin1Char(kindLetter(e.kind)));
        switch (e.kind) {
        case Kind::Boolean:
            out.append(e.value.toBool() ? u"=-1" : u"=0");
            break;
        case Kind::Integer:
        case Kind::Long:
            out.append(u'=');
            appendInteger(out, e.value.toInt());
            break;
        case Kind::Double:
        case Kind::Date:
            out.append(u'=');
            out.append(realText(e.value.toDouble()));
            break;
        case Kind::Text: {
            const QString text = e.value.toString();
            appendInteger(out, text.size());
            out.append(u'=');
            out.append(text);
            break;
        }
        }
        out.append(u'\n');
    }
    return out;
}

QVector<cContainer::Entry> cContainer::parse(QStringView text)
{
    const QChar *p = text.data();
    const qsizetype n = text.size();

    // Header: "cContainer <version>\n".
    if (!text.startsWith(kHeader))
        malformed(QStringLiteral("it does not start with \"cContainer \""), 0, 0);
    qsizetype pos = kHeader.size();
    qsizetype eol = text.indexOf(u'\n', pos);
    const QStringView versionText = text.mid(pos, (eol < 0 ? n : eol) - pos);
    qint64 version = 0;
    const Parsed pv = parseInteger(versionText, version);
    if (pv == Parsed::Bad || version < 0)
        malformed(QStringLiteral("no version number after \"cContainer \""), 0, pos);
    if (pv == Parsed::Range || version != kFormatVersion)
        malformed(QStringLiteral("unsupported format version %1").arg(quoted(versionText)), 0,
                  pos);
    if (eol < 0)
        malformed(QStringLiteral("the header line is not ended by a line break"), 0, n);
    pos = eol + 1;

    QVector<Entry> entries;
    int entry = 0;
    while (pos < n) {
        ++entry;
        const qsizetype start = pos;
        qsizetype colon = pos;
        while (colon < n && p[colon] != u':' && p[colon] != u'\n' && p[colon] != u'=')
            ++colon;
        if (colon == n || p[colon] != u':')
            malformed(QStringLiteral("no ':' after the key"), entry, colon);
        const QStringView key = text.mid(start, colon - start);
        const QString keyProblem = keyDefect(key);
        if (!keyProblem.isEmpty())
            malformed(keyProblem, entry, start);
        pos = colon + 1;
        if (pos >= n)
            malformed(QStringLiteral("the kind letter is missing"), entry, pos);
        const QChar letter = p[pos++];

        if (letter == u's') {
            // Length in UTF-16 units; compared as 64 bits against what is left, never added.
            const qsizetype digits = pos;
            qint64 length = 0;
            bool tooLong = false;
            while (pos < n && p[pos] >= u'0' && p[pos] <= u'9') {
                if (length > (std::numeric_limits<qint64>::max() - 9) / 10)
                    tooLong = true;
                else
                    length = length * 10 + (p[pos].unicode() - '0');
                ++pos;
            }
            if (pos == digits)
                malformed(QStringLiteral("the text length is missing"), entry, pos);
            if (pos >= n || p[pos] != u'=')
                malformed(QStringLiteral("no '=' after the text length"), entry, pos);
            ++pos;
            const qint64 left = n - pos;
            if (tooLong || length > left)
                malformed(QStringLiteral("the text length %1 reaches beyond the end")
                              .arg(text.mid(digits, qMin<qsizetype>(pos - 1 - digits, 30))),
                          entry, digits);
            if (length == left || p[pos + length] != u'\n')
                malformed(QStringLiteral("the text is not followed by a line break"), entry,
                          pos + length);
            entries.append(Entry{key.toString(), Kind::Text,
                                 QVariant(text.mid(pos, length).toString())});
            pos += length + 1;
            continue;
        }

        Kind kind;
        switch (letter.unicode()) {
        case 'b': kind = Kind::Boolean; break;
        case 'i': kind = Kind::Integer; break;
        case 'l': kind = Kind::Long; break;
        case 'f': kind = Kind::Double; break;
        case 'd': kind = Kind::Date; break;
        default:
            malformed(QStringLiteral("unknown kind letter '%1'").arg(letter), entry, pos - 1);
        }
        if (pos >= n || p[pos] != u'=')
            malformed(QStringLiteral("no '=' after the kind letter"), entry, pos);
        ++pos;
        eol = text.indexOf(u'\n', pos);
        if (eol < 0)
            malformed(QStringLiteral("the value is not ended by a line break"), entry, n);
        const QStringView value = text.mid(pos, eol - pos);
        QVariant stored;
        if (kind == Kind::Boolean) {
            if (value == u"-1")
                stored = QVariant(true);
            else if (value == u"0")
                stored = QVariant(false);
            else
                malformed(QStringLiteral("Boolean value %1 is neither -1 nor 0").arg(quoted(value)),
                          entry, pos);
        } else if (kind == Kind::Integer || kind == Kind::Long) {
            qint64 v = 0;
            const Parsed pi = parseInteger(value, v);
            if (pi == Parsed::Bad)
                malformed(QStringLiteral("bad number %1").arg(quoted(value)), entry, pos);
            const qint64 low = kind == Kind::Integer ? std::numeric_limits<qint16>::min()
                                                     : std::numeric_limits<qint32>::min();
            const qint64 high = kind == Kind::Integer ? std::numeric_limits<qint16>::max()
                                                      : std::numeric_limits<qint32>::max();
            if (pi == Parsed::Range || v < low || v > high)
                malformed(QStringLiteral("%1 is out of range for %2")
                              .arg(quoted(value), kind == Kind::Integer ? QStringLiteral("Integer")
                                                                         : QStringLiteral("Long")),
                          entry, pos);
            stored = kind == Kind::Integer ? QVariant::fromValue(short(v)) : QVariant(int(v));
        } else {
            double v = 0.0;
            const Parsed pr = parseReal(value, v);
            if (pr == Parsed::Bad)
                malformed(QStringLiteral("bad number %1").arg(quoted(value)), entry, pos);
            if (pr == Parsed::Range)
                malformed(QStringLiteral("%1 is out of range for a double").arg(quoted(value)),
                          entry, pos);
            if (!std::isfinite(v))
                malformed(QStringLiteral("NaN or infinity is not allowed"), entry, pos);
            stored = QVariant(v);
        }
        entries.append(Entry{key.toString(), kind, std::move(stored)});
        pos = eol + 1;
    }
    return entries;
}

void cContainer::setContainerString(const QString &text)
{
    if (text.isEmpty())
        return;
    // Everything is checked before the first key changes.
    QVector<Entry> parsed = parse(text);
    for (Entry &e : parsed)
        store(e.key, e.kind, std::move(e.value));
}

QVariant cContainer::Value(const QString &key) const
{
    const Entry *e = find(key);
    return e ? e->value : QVariant();
}

QVariant cContainer::ValueDefault(const QString &key, const QVariant &defaultValue) const
{
    const Entry *e = find(key);
    return e ? e->value : defaultValue;
}

void cContainer::setValue(const QString &key, const QVariant &value)
{
    checkKey(key);
    Kind kind;
    switch (value.metaType().id()) {
    case QMetaType::Bool: kind = Kind::Boolean; break;
    case QMetaType::Short: kind = Kind::Integer; break;
    case QMetaType::Int: kind = Kind::Long; break;
    case QMetaType::Double: kind = Kind::Double; break;
    case QMetaType::QString: kind = Kind::Text; break;
    default:
        if (!value.isValid())
            throw Error(TypeMismatch, QStringLiteral("No value given for '%1'.").arg(key));
        throw Error(TypeMismatch,
                    QStringLiteral("A value of type %1 cannot be stored under '%2' without a kind.")
                        .arg(QString::fromLatin1(value.typeName()), key));
    }
    if (kind == Kind::Double && !std::isfinite(value.toDouble()))
        throw Error(InvalidArgument,
                    QStringLiteral("NaN or infinity cannot be stored under '%1'.").arg(key));
    store(key, kind, value);
}

void cContainer::setValue(const QString &key, const QVariant &value, Kind kind)
{
    checkKey(key);
    store(key, kind, convert(fromVariant(value, key), kind, key));
}

bool cContainer::contains(const QString &key) const
{
    return indexOf(key) >= 0;
}

cContainer::Kind cContainer::kind(const QString &key) const
{
    const Entry *e = find(key);
    if (!e)
        throw Error(InvalidArgument,
                    QStringLiteral("There is no value with the key '%1'.").arg(key));
    return e->kind;
}

QStringList cContainer::keys() const
{
    QStringList list;
    list.reserve(m_entries.size());
    for (const Entry &e : m_entries)
        list.append(e.key);
    return list;
}

void cContainer::clear()
{
    m_entries.clear();
    m_index.clear();
}

bool cContainer::boolValue(const QString &key) const
{
    const Entry *e = find(key);
    return e ? toBool(fromStored(e->kind, e->value), key) : false;
}

qint32 cContainer::longValue(const QString &key) const
{
    const Entry *e = find(key);
    if (!e)
        return 0;
    return qint32(toWhole(fromStored(e->kind, e->value), std::numeric_limits<qint32>::min(),
                          std::numeric_limits<qint32>::max(), key));
}

double cContainer::doubleValue(const QString &key) const
{
    const Entry *e = find(key);
    return e ? toReal(fromStored(e->kind, e->value), key) : 0.0;
}

QString cContainer::textValue(const QString &key) const
{
    const Entry *e = find(key);
    return e ? toText(fromStored(e->kind, e->value)) : QString();
}

} // namespace Dayplex

#include "shared/boxinsides.h"

#include "shared/cdc.h"
#include "shared/stringhash.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace Dayplex {

namespace {

// A margin around the box catches what the text paints outside it: a glyph reaching over
// the edge is not cut off when the text's advances fit its box.
constexpr qint32 kMargin = 3;

} // namespace

void BoxInsides::drawInPlace(cDC &dc, qint32 left, qint32 top, const Key &key)
{
    if (key.width <= 0 || key.height <= 0) {
        // A box without area draws nothing: many in a crowded column.
        dc.setTextColor(key.fore);
        dc.setBackcolor(key.back);
        return;
    }
    const QFont *font = dc.Font();
    QFont changed;
    const bool restyle = (font ? font->strikeOut() : false) != key.struck;
    if (restyle) {
        changed = font ? *font : QFont();
        changed.setStrikeOut(key.struck);
        dc.setFont(&changed);
        dc.UpdateFont();
    }
    dc.setTextColor(key.fore);
    dc.fillFramed(left, top, key.width, key.height, key.frame, key.line, key.back);
    const qint32 width = key.width - 2 * key.line, height = key.height - 2 * key.line;
    const qint32 x = left + key.line, y = top + key.line;
    dc.Text(key.text, x + key.inset, y + key.inset, width - 2 * key.inset,
            height - 2 * key.inset, !key.centred, key.centred);
    if (restyle) {
        dc.setFont(font);
        dc.UpdateFont();
    }
}

bool BoxInsides::Key::operator==(const Key &other) const
{
    return width == other.width && height == other.height && frame == other.frame
           && line == other.line && back == other.back
           && fore == other.fore && struck == other.struck && inset == other.inset
           && centred == other.centred && text == other.text;
}

size_t BoxInsides::KeyHash::operator()(const Key &key) const noexcept
{
    size_t hash = StringHash()(key.text);
    for (const qint32 value : {key.width, key.height, key.frame, key.line, key.back, key.fore, qint32(key.struck),
                               key.inset, qint32(key.centred)})
        hash = (hash ^ quint32(value)) * 1099511628211ull;
    return hash;
}

void BoxInsides::draw(cDC &dc, qint32 left, qint32 top, const Key &key)
{
    const QPainter *painter = dc.painter();
    const QPaintDevice *device = painter ? painter->device() : nullptr;
    const bool keepable = device && device->devType() == QInternal::Image
                          && device->devicePixelRatioF() == 1 && dc.Font() && key.width > 0
                          && key.height > 0;
    const QImage *inside = keepable ? kept(key, *dc.Font(), dc.ellipsis()) : nullptr;
    if (!inside) {
        drawInPlace(dc, left, top, key);
        return;
    }
    dc.bmp(*inside, left, top, key.width, key.height);
    dc.setTextColor(key.fore);
    dc.setBackcolor(key.back);
}

const QImage *BoxInsides::kept(const Key &key, const QFont &font, bool ellipsis)
{
    if (font != m_font || ellipsis != m_ellipsis) {
        m_entries.clear();
        m_font = font;
        m_ellipsis = ellipsis;
    }
    // An inside is kept from its second picture on: a picture painted once costs no more
    // than drawing in place.
    const auto found = m_entries.find(key);
    if (found == m_entries.end()) {
        m_entries.emplace(key, Entry());
        return nullptr;
    }
    Entry &entry = found->second;
    if (entry.image.isNull() && !entry.spills)
        entry = paint(key);
    entry.unused = 0;
    return entry.spills ? nullptr : &entry.image;
}

BoxInsides::Entry BoxInsides::paint(const Key &key) const
{
    const qint32 width = key.width + 2 * kMargin;
    const qint32 height = key.height + 2 * kMargin;
    Entry entry;
    entry.image = QImage(width, height, QImage::Format_RGB32);
    {
        cDC dc;
        dc.Initialize(static_cast<QPaintDevice *>(&entry.image), width, height, false);
        QFont font = m_font;
        dc.setFont(&font);
        dc.UpdateFont();
        dc.setEllipsis(m_ellipsis);
        dc.FillRect(0, 0, width, height, key.back);
        drawInPlace(dc, kMargin, kMargin, key);
    }
    // Any pixel of the margin that is not the back colour is text outside the box.
    const QRgb back = entry.image.pixel(0, 0);
    const auto otherThanBack = [back](const QRgb *from, const QRgb *to) {
        return std::any_of(from, to, [back](QRgb pixel) { return pixel != back; });
    };
    for (int y = 0; y < height && !entry.spills; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(entry.image.constScanLine(y));
        const bool besideBox = y >= kMargin && y < kMargin + key.height;
        entry.spills = besideBox ? otherThanBack(line, line + kMargin)
                                       || otherThanBack(line + kMargin + key.width, line + width)
                                 : otherThanBack(line, line + width);
    }
    const QRect box(kMargin, kMargin, key.width, key.height);
    entry.image = entry.image.copy(box);
    return entry;
}

void BoxInsides::sweep()
{
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (++it->second.unused > kKeptPictures)
            it = m_entries.erase(it);
        else
            ++it;
    }
}

} // namespace Dayplex

#include "gantt/ganttbarcache.h"

#include "gantt/ganttmodel.h"
#include "shared/cdc.h"


namespace Dayplex {

bool GanttBarCache::Key::operator==(const Key &other) const
{
    return width == other.width && height == other.height && back == other.back
           && fore == other.fore && struck == other.struck && text == other.text;
}

size_t qHash(const GanttBarCache::Key &key, size_t seed)
{
    size_t hash = GanttKeyHash()(key.text, seed);
    for (const qint32 value : {key.width, key.height, key.back, key.fore, qint32(key.struck)})
        hash = (hash ^ quint32(value)) * 1099511628211ull;
    return hash;
}

const QImage *GanttBarCache::inside(const Key &key, const QFont &font, bool ellipsis)
{
    if (font != m_font || ellipsis != m_ellipsis) {
        m_entries.clear();
        m_font = font;
        m_ellipsis = ellipsis;
    }
    // An inside is kept from its second picture on: a picture painted once costs no more
    // than drawing in place.
    auto found = m_entries.find(key);
    if (found == m_entries.end()) {
        m_entries.insert(key, Entry());
        return nullptr;
    }
    if (found->image.isNull() && !found->spills)
        *found = paint(key);
    found->unused = 0;
    return found->spills ? nullptr : &found->image;
}

GanttBarCache::Entry GanttBarCache::paint(const Key &key) const
{
    // A margin around the box catches what the text paints outside it: a glyph reaching over
    // the edge is not cut off when the text's advances fit the box.
    const qint32 width = key.width + 2 * kMargin;
    const qint32 height = key.height + 2 * kMargin;
    Entry entry;
    entry.image = QImage(width, height, QImage::Format_RGB32);
    {
        cDC dc;
        dc.Initialize(static_cast<QPaintDevice *>(&entry.image), width, height, false);
        QFont shown = m_font;
        if (key.struck)
            shown.setStrikeOut(true);
        dc.setFont(&shown);
        dc.UpdateFont();
        dc.setEllipsis(m_ellipsis);
        dc.FillRect(0, 0, width, height, key.back);
        dc.setTextColor(key.fore);
        dc.Text(QLatin1Char(' ') + key.text, kMargin, kMargin, key.width, key.height, true, false);
    }
    const QRgb back = entry.image.pixel(0, 0);
    const QRect box(kMargin, kMargin, key.width, key.height);
    for (int y = 0; y < height && !entry.spills; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(entry.image.constScanLine(y));
        for (int x = 0; x < width && !entry.spills; ++x)
            entry.spills = line[x] != back && !box.contains(x, y);
    }
    return entry;
}

QRect GanttBarCache::source(const QImage &inside)
{
    return inside.rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
}

void GanttBarCache::sweep()
{
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (++it->unused > kKeptPictures)
            it = m_entries.erase(it);
        else
            ++it;
    }
}

} // namespace Dayplex

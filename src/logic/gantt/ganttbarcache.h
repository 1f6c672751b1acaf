#ifndef DAYPLEX_GANTTBARCACHE_H
#define DAYPLEX_GANTTBARCACHE_H

#include <QFont>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QString>

namespace Dayplex {

// The insides of bars (their fill and text), painted once and drawn again while they look the
// same, so that a bar that only moves is not laid out again. A view keeps one for the pictures
// it paints into images; what a picture did not use is dropped after it.
class GanttBarCache
{
public:
    struct Key
    {
        QString text;
        qint32 width = 0;
        qint32 height = 0;
        qint32 back = 0;
        qint32 fore = 0;
        bool struck = false;
        bool operator==(const Key &other) const;
    };

    // The inside as cDC paints it into a box of that size: the fill, then the text wrapped at
    // words, in the font (struck through when asked), cut off with "…" when ellipsis is on;
    // source() is the part to draw. None when the text paints outside the box, which only
    // drawing it in place shows as it is.
    const QImage *inside(const Key &key, const QFont &font, bool ellipsis);
    static QRect source(const QImage &inside);
    // Drops the insides the pictures since the last sweep did not use.
    void sweep();

private:
    static constexpr qint32 kMargin = 3;
    struct Entry
    {
        QImage image;
        bool spills = false;
        bool used = true;
    };
    Entry paint(const Key &key) const;

    QHash<Key, Entry> m_entries;
    QFont m_font;
    bool m_ellipsis = false;
};

size_t qHash(const GanttBarCache::Key &key, size_t seed = 0);

} // namespace Dayplex

#endif

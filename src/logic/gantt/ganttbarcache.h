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
// it paints into images; what the last few pictures did not use is dropped.
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
    // source() is the part to draw. None the first time it is asked for, and none when the
    // text paints outside the box, which only drawing it in place shows as it is.
    const QImage *inside(const Key &key, const QFont &font, bool ellipsis);
    static QRect source(const QImage &inside);
    // Ends a picture: drops the insides the last kKeptPictures pictures did not use.
    void sweep();

private:
    static constexpr qint32 kMargin = 3;
    // Going back and forth between two days keeps both.
    static constexpr int kKeptPictures = 3;
    struct Entry
    {
        QImage image; // null until the second picture that shows it
        bool spills = false;
        int unused = 0; // pictures since it was last drawn
    };
    Entry paint(const Key &key) const;

    QHash<Key, Entry> m_entries;
    QFont m_font;
    bool m_ellipsis = false;
};

size_t qHash(const GanttBarCache::Key &key, size_t seed = 0);

} // namespace Dayplex

#endif

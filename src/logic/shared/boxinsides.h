#ifndef DAYPLEX_BOXINSIDES_H
#define DAYPLEX_BOXINSIDES_H

#include <QFont>
#include <QImage>
#include <QString>

#include <unordered_map>

namespace Dayplex {

class cDC;

// The appointment boxes of both views (frame, fill and text), painted once and drawn again
// while they look the same, so that a box that only moves is not laid out again.
// A view keeps one for the pictures it paints into images; what the last few pictures did not
// use is dropped.
class BoxInsides
{
public:
    // A box of width x height: a frame of line pixels in frame, filled in back inside, and the
    // text in fore inset pixels inside the fill on every side: wrapped at words, or one
    // centred line; with the font's strike-through as given.
    struct Key
    {
        QString text;
        qint32 width = 0;
        qint32 height = 0;
        qint32 frame = 0;
        qint32 line = 1;
        qint32 back = 0;
        qint32 fore = 0;
        bool struck = false;
        qint32 inset = 0;
        bool centred = false;
        bool operator==(const Key &other) const;
    };

    // Paints the box at (left, top) of the surface as cDC paints it in place, which it does
    // itself on a surface other than an image of one device pixel a pixel (a printer, a HiDPI
    // picture, where a glyph's edge falls on other device pixels), the first time a box is
    // asked for, and where the text paints outside the box. Text and back colour of the
    // surface are the key's afterwards.
    void draw(cDC &dc, qint32 left, qint32 top, const Key &key);
    // The same, always in place.
    static void drawInPlace(cDC &dc, qint32 left, qint32 top, const Key &key);
    // Ends a picture: drops the boxes the last kKeptPictures pictures did not use.
    void sweep();

private:
    // Going back and forth between two views keeps both.
    static constexpr int kKeptPictures = 3;
    struct Entry
    {
        QImage image; // null until the second picture that shows it
        bool spills = false;
        int unused = 0; // pictures since it was last drawn
    };
    struct KeyHash
    {
        size_t operator()(const Key &key) const noexcept;
    };
    const QImage *kept(const Key &key, const QFont &font, bool ellipsis);
    Entry paint(const Key &key) const;

    std::unordered_map<Key, Entry, KeyHash> m_entries;
    QFont m_font;
    bool m_ellipsis = false;
};

} // namespace Dayplex

#endif

#ifndef DAYPLEX_STRINGHASH_H
#define DAYPLEX_STRINGHASH_H

#include <QStringView>

#include <cstddef>

namespace Dayplex {

// FNV-1a over the UTF-16 units, for the short keys a paint looks up once per appointment:
// QHash's string hashing costs more than the rest of such a lookup.
struct StringHash
{
    size_t operator()(QStringView key, size_t seed = 0) const noexcept
    {
        size_t hash = 14695981039346656037ull ^ seed;
        for (const QChar c : key) {
            hash ^= c.unicode();
            hash *= 1099511628211ull;
        }
        return hash;
    }
};

} // namespace Dayplex

#endif

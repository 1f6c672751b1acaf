#include "shared/leadingnumber.h"

#include <QString>

namespace Dayplex {

double leadingNumber(QStringView text)
{
    qsizetype pos = 0;
    while (pos < text.size() && (text[pos] == QLatin1Char(' ') || text[pos] == QLatin1Char('\t')))
        ++pos;
    const qsizetype start = pos;
    if (pos < text.size() && (text[pos] == QLatin1Char('-') || text[pos] == QLatin1Char('+')))
        ++pos;
    bool seenDigit = false;
    bool seenPoint = false;
    // A bounded run of digits: longer numbers are not raster or font sizes and would only
    // overflow into infinity.
    while (pos < text.size() && pos - start < 32) {
        const QChar c = text[pos];
        if (c.isDigit() && c.unicode() < 128) {
            seenDigit = true;
        } else if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        ++pos;
    }
    if (!seenDigit)
        return 0.0;
    bool ok = false;
    const double value = text.mid(start, pos - start).toString().toDouble(&ok);
    return ok ? value : 0.0;
}

} // namespace Dayplex

#include "shared/fontstring.h"

#include "shared/toolbox.h"
#include "shared/leadingnumber.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace Dayplex {

namespace {
constexpr double kDefaultPointSize = 8;
constexpr double kLargestPointSize = 200;
} // namespace

QFont fontFromString(const QString &fontString)
{
    const QString name = cToolbox::GetToken(fontString, QStringLiteral(","), 1).trimmed();
    double size = leadingNumber(cToolbox::GetToken(fontString, QStringLiteral(","), 2));
    if (!(size >= 1 && size <= kLargestPointSize))
        size = kDefaultPointSize;

    QFont font = qGuiApp ? QFontDatabase::systemFont(QFontDatabase::GeneralFont) : QFont();
    if (!name.isEmpty() && name.compare(QStringLiteral("MS Sans Serif"), Qt::CaseInsensitive) != 0)
        font.setFamilies({name});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(size);
    return font;
}

} // namespace Dayplex

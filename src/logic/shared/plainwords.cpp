#include "shared/plainwords.h"

#include "shared/leadingnumber.h"
#include "shared/toolbox.h"
#include "shared/uitext.h"

#include <QLocale>

namespace Dayplex {

namespace {

struct Field
{
    const char *key;
    const char *name;
};

// The first three are the default list; none of the names may hold a comma, which separates
// the fields.
constexpr Field kFields[] = {
    {"AKT_Merkmale", QT_TRANSLATE_NOOP("Dayplex::plainwords", "Teilnehmer")},
    {"AKT_Notiz", QT_TRANSLATE_NOOP("Dayplex::plainwords", "Betreff/Notiz")},
    {"AD_Name", QT_TRANSLATE_NOOP("Dayplex::plainwords", "Name")},
    {"AD_Vorname", QT_TRANSLATE_NOOP("Dayplex::plainwords", "Vorname")},
    {"AD_Firma", QT_TRANSLATE_NOOP("Dayplex::plainwords", "Firma")},
    {"AKT_Ort", QT_TRANSLATE_NOOP("Dayplex::plainwords", "Ort")},
};

QStringList pieces(const QString &list)
{
    QStringList result;
    for (const QString &piece : list.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (!piece.trimmed().isEmpty())
            result.append(piece.trimmed());
    return result;
}

QString pointText(double size)
{
    const QLocale locale(uiLanguage() == UiLanguage::German ? QLocale::German : QLocale::English);
    return locale.toString(size, 'g', 4);
}

} // namespace

QStringList offeredFieldKeys()
{
    QStringList keys;
    for (const Field &field : kFields)
        keys.append(QLatin1String(field.key));
    return keys;
}

QString plainFieldName(const QString &key)
{
    for (const Field &field : kFields)
        if (key.compare(QLatin1String(field.key), Qt::CaseInsensitive) == 0)
            return uiText("Dayplex::plainwords", field.name);
    return key;
}

QString plainFieldList(const QString &fieldKeys)
{
    QStringList names;
    for (const QString &key : pieces(fieldKeys))
        names.append(plainFieldName(key));
    return names.join(QStringLiteral(", "));
}

QStringList fieldKeys(const QString &list)
{
    QStringList keys;
    for (const QString &piece : pieces(list)) {
        QString key = piece;
        for (const Field &field : kFields) {
            if (piece.compare(uiText("Dayplex::plainwords", field.name), Qt::CaseInsensitive) == 0
                || piece.compare(QLatin1String(field.key), Qt::CaseInsensitive) == 0) {
                key = QLatin1String(field.key);
                break;
            }
        }
        keys.append(key);
    }
    return keys;
}

QString fieldKeysOf(const QString &plainList)
{
    return fieldKeys(plainList).join(QStringLiteral(", "));
}

QString plainFontText(const QString &fontString, const QString &familyShown, double sizeShown)
{
    const QString shown =
        uiText("Dayplex::plainwords", "%1, %2 pt").arg(familyShown, pointText(sizeShown));
    const QString named = cToolbox::GetToken(fontString, QStringLiteral(","), 1).trimmed();
    const double size = leadingNumber(cToolbox::GetToken(fontString, QStringLiteral(","), 2));
    if (named.isEmpty()
        || (named.compare(familyShown, Qt::CaseInsensitive) == 0 && size == sizeShown))
        return shown;
    const QString stored =
        size > 0 ? uiText("Dayplex::plainwords", "%1, %2 pt").arg(named, pointText(size)) : named;
    return uiText("Dayplex::plainwords", "%1 (angezeigt als %2)").arg(stored, shown);
}

} // namespace Dayplex

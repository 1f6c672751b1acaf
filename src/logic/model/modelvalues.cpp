#include "model/modelvalues.h"

#include "shared/ccontainer.h"
#include "shared/defaultoptions.h"

#include <QBrush>

#include <array>

namespace Dayplex {

std::optional<Date> dateFromModel(const QVariant &value)
{
    Date moment = 0;
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        moment = toDate(value.toDateTime());
        break;
    case QMetaType::QDate:
        moment = toDate(value.toDate());
        break;
    case QMetaType::QString: {
        QString text = value.toString();
        // SQLite's own date functions write a space between date and time.
        if (text.size() > 10 && text.at(10) == QLatin1Char(' '))
            text[10] = QLatin1Char('T');
        const QDateTime parsed = QDateTime::fromString(text, Qt::ISODateWithMs);
        if (!parsed.isValid())
            return std::nullopt;
        moment = toDate(parsed);
        break;
    }
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
        moment = value.toDouble();
        break;
    default:
        return std::nullopt;
    }
    if (!isValidDate(moment))
        return std::nullopt;
    return moment;
}

QVariant dateForModel(Date moment, const QVariant &previous)
{
    switch (previous.typeId()) {
    case QMetaType::QString:
        return toQDateTime(moment).toString(Qt::ISODate);
    case QMetaType::Double:
        return moment;
    default:
        return toQDateTime(moment);
    }
}

std::optional<qint32> colourFromModel(const QVariant &value)
{
    QColor colour;
    switch (value.typeId()) {
    case QMetaType::QColor:
        colour = value.value<QColor>();
        break;
    case QMetaType::QBrush:
        colour = value.value<QBrush>().color();
        break;
    case QMetaType::QString:
        colour = QColor::fromString(value.toString());
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        colour = QColor::fromRgb(QRgb(value.toLongLong() & 0xFFFFFF));
        break;
    default:
        return std::nullopt;
    }
    if (!colour.isValid())
        return std::nullopt;
    return qint32(colour.red() | colour.green() << 8 | colour.blue() << 16);
}

qint32 plainAppointmentColour(bool background, bool allDay)
{
    static const std::array<qint32, 4> colours = [] {
        cContainer layout;
        layout.setContainerString(defaultLayoutString());
        const auto colour = [&layout](const char *key) { return layout.longValue(QLatin1String(key)); };
        return std::array<qint32, 4>{colour("rgbFontTermine"), colour("rgbBackTermine"),
                                     colour("rgbFontTagestermine"), colour("rgbBackTagestermine")};
    }();
    return colours[size_t((allDay ? 2 : 0) + (background ? 1 : 0))];
}

qint32 appointmentColour(const QColor &colour, bool background, bool allDay)
{
    return colour.isValid() ? *colourFromModel(colour) : plainAppointmentColour(background, allDay);
}

QStringList keysFromModel(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    return value.toString().split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

} // namespace Dayplex

#include "shared/cursors.h"

#include "shared/leadingnumber.h"

#include <dayplex/error.h>

#include <QPixmap>
#include <QWidget>
#include <cmath>
#include <iterator>
#include <limits>

// The resources of the static library are not registered by themselves; this registers them
// the first time a cursor is loaded. Q_INIT_RESOURCE must be used outside any namespace.
static void initDayplexResources()
{
    Q_INIT_RESOURCE(dayplex);
}

namespace Dayplex {

namespace {

const NamedCursor kNamedCursors[] = {
    {"CURMOVE", ":/dayplex/cursors/curmove.png", QPoint(17, 11)},
    {"SIZEN", ":/dayplex/cursors/sizen.png", QPoint(15, 0)},
    {"SIZES", ":/dayplex/cursors/sizes.png", QPoint(15, 31)},
    {"SPLITTERNS", ":/dayplex/cursors/splitterns.png", QPoint(15, 15)},
};

bool isNumeric(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

} // namespace

const NamedCursor *findNamedCursor(const QString &name)
{
    for (const NamedCursor &cursor : kNamedCursors) {
        if (name.compare(QLatin1String(cursor.name), Qt::CaseInsensitive) == 0)
            return &cursor;
    }
    return nullptr;
}

QCursor loadNamedCursor(const QString &name)
{
    static const bool registered = (initDayplexResources(), true);
    Q_UNUSED(registered);
    const NamedCursor *cursor = findNamedCursor(name);
    if (!cursor)
        throw Error(InvalidArgument,
                    QStringLiteral("MousePointer: keine Cursor-Ressource namens \"%1\".").arg(name));
    const QPixmap picture(QLatin1String(cursor->resource));
    if (picture.isNull())
        throw Error(InvalidArgument,
                    QStringLiteral("MousePointer: die Cursor-Ressource \"%1\" ist nicht lesbar.")
                        .arg(QLatin1String(cursor->name)));
    return QCursor(picture, cursor->hotSpot.x(), cursor->hotSpot.y());
}

std::optional<qint32> cursorNumber(const QVariant &value)
{
    const QString text = value.toString();
    if (text == QLatin1String("0"))
        return 0;
    // A number keeps its value (1e20 is not 1); a text counts by the number it starts with.
    const double number = isNumeric(value) ? value.toDouble() : leadingNumber(text);
    if (!std::isfinite(number))
        return std::numeric_limits<qint32>::max(); // no standard cursor has such a number
    const double rounded = std::nearbyint(number);
    if (rounded == 0)
        return std::nullopt;
    if (rounded > std::numeric_limits<qint32>::max() || rounded < std::numeric_limits<qint32>::min())
        return std::numeric_limits<qint32>::max();
    return qint32(rounded);
}

std::optional<Qt::CursorShape> standardCursorShape(qint32 number)
{
    // The standard pointers of the Windows form runtime, by number. 4 (a small square, the
    // "icon" pointer) has no Qt counterpart; the arrow is the nearest.
    static const Qt::CursorShape shapes[] = {
        Qt::ArrowCursor,     // 1 arrow
        Qt::CrossCursor,     // 2 cross
        Qt::IBeamCursor,     // 3 I-beam
        Qt::ArrowCursor,     // 4 icon
        Qt::SizeAllCursor,   // 5 size
        Qt::SizeBDiagCursor, // 6 size NE-SW
        Qt::SizeVerCursor,   // 7 size N-S
        Qt::SizeFDiagCursor, // 8 size NW-SE
        Qt::SizeHorCursor,   // 9 size W-E
        Qt::UpArrowCursor,   // 10 up arrow
        Qt::WaitCursor,      // 11 hourglass
        Qt::ForbiddenCursor, // 12 no drop
        Qt::BusyCursor,      // 13 arrow and hourglass
        Qt::WhatsThisCursor, // 14 arrow and question mark
        Qt::SizeAllCursor,   // 15 size all
    };
    if (number < 1 || number > qint32(std::size(shapes)))
        return std::nullopt;
    return shapes[number - 1];
}

void SurfacePointer::set(QWidget &surface, const QVariant &value)
{
    if (const std::optional<qint32> number = cursorNumber(value)) {
        if (*number == 0) {
            surface.unsetCursor();
        } else if (*number == 99) {
            surface.setCursor(m_custom);
        } else if (const std::optional<Qt::CursorShape> shape = standardCursorShape(*number)) {
            surface.setCursor(*shape);
        } else {
            throw Error(InvalidArgument, QStringLiteral("MousePointer: %1 ist kein Mauszeiger.").arg(*number));
        }
        m_last = value;
        return;
    }
    const QString name = value.toString();
    if (name != m_last.toString()) {
        const QCursor cursor = loadNamedCursor(name);
        m_custom = cursor;
        surface.setCursor(cursor);
    }
    m_last = value;
}

} // namespace Dayplex

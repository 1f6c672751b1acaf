#ifndef DAYPLEX_CURSORS_H
#define DAYPLEX_CURSORS_H

#include <QCursor>
#include <QPoint>
#include <QString>
#include <QVariant>

#include <optional>

class QWidget;

namespace Dayplex {

// One of the library's own cursors: a 32 x 32 picture in the resources and its hot spot.
struct NamedCursor
{
    const char *name;     // resource name, matched without regard to case
    const char *resource; // Qt resource path of the picture
    QPoint hotSpot;
};

// The named cursor of that name ("curMove" finds "CURMOVE"), or nullptr.
const NamedCursor *findNamedCursor(const QString &name);

// Loads a named cursor from the resources; throws Dayplex::Error (invalid argument) when no
// cursor of that name exists or its picture cannot be read.
QCursor loadNamedCursor(const QString &name);

// The whole number a mouse pointer value stands for, or nothing when it names a cursor. The
// text "0" and every value whose number (the number its text starts with) rounds to a value
// other than 0 count as numbers.
std::optional<qint32> cursorNumber(const QVariant &value);

// The Qt shape of a standard cursor number (1 arrow ... 15 size all); nothing for 0 (the
// default), 99 (the custom cursor) and numbers that have no standard cursor.
std::optional<Qt::CursorShape> standardCursorShape(qint32 number);

// The mouse pointer of a view's drawing surface, as the view's MousePointer sets it. A number
// (or the text "0") is a standard pointer: 0 the default, 1 to 15 the standard shapes, 99 the
// custom cursor last loaded; other numbers throw Dayplex::Error (invalid argument). Any other
// value names one of the library's cursors; it is loaded only when it differs from the value
// given last, so that a mouse move over the same zone costs nothing. An unknown name throws
// and leaves pointer and cache as they were.
class SurfacePointer
{
public:
    void set(QWidget &surface, const QVariant &value);

private:
    QVariant m_last;
    QCursor m_custom; // pointer number 99
};

} // namespace Dayplex

#endif

#ifndef DAYPLEX_DISPATCH_H
#define DAYPLEX_DISPATCH_H

#include <dayplex/dayplex_export.h>

#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVector>
#include <functional>

namespace Dayplex {

// Late binding by the fixed dispatch identifiers of the controls' interfaces, for hosts that
// bind by identifier or by name: the tables map names to identifiers and back, and invoke()
// calls a member with a list of arguments, writing in/out arguments back into the list.
class DAYPLEX_EXPORT Dispatch
{
public:
    enum class Kind { Method, PropertyGet, PropertyPut, PropertyGetPut, Event };
    enum class Call { Method, PropertyGet, PropertyPut };

    struct Member
    {
        qint32 dispid;
        QString name;
        Kind kind;
    };

    // "_ucAgenda", "__ucAgenda", "_ctlGantt", "__ctlGantt", "_ctlIntellimouse",
    // "__ctlIntellimouse". An unknown interface throws Dayplex::Error.
    static QVector<Member> members(const QString &interfaceName);
    static QStringList interfaceNames();

    // Names are matched without regard to letter case, as automation does. An unknown name or
    // identifier throws Dayplex::Error (438).
    static qint32 dispatchId(const QString &interfaceName, const QString &memberName);
    static QString memberName(const QString &interfaceName, qint32 dispid);

    // The default and the event interface of a control object, from its class info.
    static QString interfaceOf(const QObject *control);
    static QString eventInterfaceOf(const QObject *control);

    // Calls a member of the control's default interface. Trailing optional arguments may be
    // left out. A property put takes the value as its last argument (after any index). In/out
    // arguments are written back into args. Errors of the member propagate unchanged; a wrong
    // argument count or kind throws Dayplex::Error (450, 13).
    static QVariant invoke(QObject *control, qint32 dispid, Call call, QVariantList &args);
    static QVariant invoke(QObject *control, const QString &memberName, Call call,
                           QVariantList &args);

    // Delivers the control's event with the given identifier of its event interface to the
    // handler, with the event's parameters as a list. The connection lives as long as both
    // the control and the context object.
    static QMetaObject::Connection connectEvent(QObject *control, qint32 dispid,
                                                QObject *context,
                                                std::function<void(const QVariantList &)> handler);
};

} // namespace Dayplex

#endif

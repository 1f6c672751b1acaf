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

/// Late binding by the fixed dispatch identifiers of the controls' interfaces, for hosts that
/// bind by identifier or by name: the tables map names to identifiers and back, and invoke()
/// calls a member with a list of arguments, writing in/out arguments back into the list.
class DAYPLEX_EXPORT Dispatch
{
public:
    /// What a member of an interface is.
    enum class Kind {
        Method,         ///< a method
        PropertyGet,    ///< a read-only property
        PropertyPut,    ///< a write-only property
        PropertyGetPut, ///< a property that can be read and written
        Event,          ///< an event of an event interface
    };
    /// How invoke() calls a member.
    enum class Call {
        Method,      ///< call a method
        PropertyGet, ///< read a property
        PropertyPut, ///< write a property
    };

    /// One member of an interface.
    struct Member
    {
        qint32 dispid; ///< its fixed dispatch identifier
        QString name;  ///< its name, as the interface spells it
        Kind kind;     ///< what it is
    };

    /// The members of an interface: "_ucAgenda", "__ucAgenda", "_ctlGantt", "__ctlGantt",
    /// "_ctlIntellimouse", "__ctlIntellimouse". An unknown interface throws Dayplex::Error.
    static QVector<Member> members(const QString &interfaceName);
    /// The names of the six interfaces that members() knows.
    static QStringList interfaceNames();

    /// The dispatch identifier of a member. Names are matched without regard to letter case,
    /// as automation does. An unknown name throws Dayplex::Error (438).
    static qint32 dispatchId(const QString &interfaceName, const QString &memberName);
    /// The name of the member with a dispatch identifier; an unknown identifier throws
    /// Dayplex::Error (438).
    static QString memberName(const QString &interfaceName, qint32 dispid);

    /// The default interface of a control object, from its class info ("_ucAgenda", ...).
    static QString interfaceOf(const QObject *control);
    /// The event interface of a control object, from its class info ("__ucAgenda", ...).
    static QString eventInterfaceOf(const QObject *control);

    /// Calls a member of the control's default interface. Trailing optional arguments may be
    /// left out. A property put takes the value as its last argument (after any index). In/out
    /// arguments are written back into args. Errors of the member propagate unchanged; a wrong
    /// argument count or kind throws Dayplex::Error (450, 13).
    static QVariant invoke(QObject *control, qint32 dispid, Call call, QVariantList &args);
    /// Calls a member by name, as invoke() by dispatch identifier does.
    static QVariant invoke(QObject *control, const QString &memberName, Call call,
                           QVariantList &args);

    /// Delivers the control's event with the given identifier of its event interface to the
    /// handler, with the event's parameters as a list. The connection lives as long as both
    /// the control and the context object.
    static QMetaObject::Connection connectEvent(QObject *control, qint32 dispid,
                                                QObject *context,
                                                std::function<void(const QVariantList &)> handler);
};

} // namespace Dayplex

#endif
